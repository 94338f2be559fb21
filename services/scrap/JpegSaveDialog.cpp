#include "services/scrap/JpegSaveDialog.h"

#include "core/Dialogs.h"

std::optional<QString> JpegSaveDialog::ask(Dialogs& dialogs, SaveDialogState& fileSaveDialog) {
    fileSaveDialog.filter = QStringLiteral("JPG 파일|*.jpg");
    fileSaveDialog.fileName = QStringLiteral("ScrapImage.jpg");
    const std::optional<QString> chosen = dialogs.saveFile(fileSaveDialog);
    if (!chosen) {
        return std::nullopt;
    }
    return withJpegExtension(*chosen);
}

QString JpegSaveDialog::withJpegExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : name.mid(dot).toLower();
    if (extension == QLatin1String(".jpg") || extension == QLatin1String(".jpeg")) {
        return name;
    }
    return name + QStringLiteral(".jpg");
}
