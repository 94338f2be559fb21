#pragma once

#include "core/Environment.h"

// The process as Linux shows it. The executable path and arguments come from the application object
// when there is one, otherwise from what the constructor is given.
class LinuxEnvironment : public Environment {
public:
    LinuxEnvironment(QString executablePath, QStringList arguments);
    QString executablePath() const override { return executablePath_; }
    QStringList arguments() const override { return arguments_; }
    QString tempFolder() const override;
    QString programFilesFolder() const override;
    bool setCurrentFolder(const QString& folder) override;
    QString currentFolder() const override;

    // From the running QCoreApplication.
    static LinuxEnvironment fromApplication();

private:
    QString executablePath_;
    QStringList arguments_;
};
