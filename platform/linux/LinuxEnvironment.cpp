#include "platform/linux/LinuxEnvironment.h"

#include <QCoreApplication>
#include <QDir>

LinuxEnvironment::LinuxEnvironment(QString executablePath, QStringList arguments)
    : executablePath_(std::move(executablePath)), arguments_(std::move(arguments)) {}

LinuxEnvironment LinuxEnvironment::fromApplication() {
    QStringList args = QCoreApplication::arguments();
    if (!args.isEmpty()) {
        args.removeFirst();
    }
    return LinuxEnvironment(QCoreApplication::applicationFilePath(), args);
}

QString LinuxEnvironment::tempFolder() const {
    QString folder = QDir::tempPath();
    if (!folder.endsWith(QLatin1Char('/'))) {
        folder += QLatin1Char('/');
    }
    return folder;
}

QString LinuxEnvironment::programFilesFolder() const {
    return QStringLiteral("/opt");
}

bool LinuxEnvironment::setCurrentFolder(const QString& folder) {
    return QDir::setCurrent(folder);
}

QString LinuxEnvironment::currentFolder() const {
    return QDir::currentPath();
}
