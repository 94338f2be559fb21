#include "app/BookOpening.h"
#include "app/QORVViewerMainFormUnit.h"
#include "bridge/MainDispatch.h"
#include "core/DebugOutput.h"
#include "core/Environment.h"
#include "core/QorvError.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QMessageBox>
#include <QStyle>

namespace {

// The icon file beside the executable (its path with ".ico"); the default icon when there is none or it
// cannot be read.
QIcon applicationIcon(const QString& executablePath, DebugOutput& debug) {
    const QString iconPath = bookopening::changeExtension(executablePath, QStringLiteral(".ico"));
    if (QFileInfo::exists(iconPath)) {
        const QIcon icon(iconPath);
        if (!icon.isNull() && !icon.availableSizes().isEmpty()) {
            return icon;
        }
        debug.line(QStringLiteral("The icon file %1 cannot be read; the default icon is used").arg(iconPath));
    }
    return QApplication::style()->standardIcon(QStyle::SP_DesktopIcon);
}

void showStartupFailure(const QString& message) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(),
                    MainDispatch::errorBoxText(message), QMessageBox::Ok);
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.exec();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const std::unique_ptr<DebugOutput> debug = platform::makeDebugOutput();
    const std::unique_ptr<Environment> environment = platform::makeEnvironment();
    try {
        QApplication::setWindowIcon(applicationIcon(environment->executablePath(), *debug));
        TPlayerForm PlayerForm(*environment, *debug);
        PlayerForm.show();
        QApplication::exec();
    } catch (const QorvError& e) {
        showStartupFailure(e.message());
    } catch (const std::exception& e) {
        showStartupFailure(QString::fromUtf8(e.what()));
    } catch (...) {
        showStartupFailure(QString());
    }
    return 0;
}
