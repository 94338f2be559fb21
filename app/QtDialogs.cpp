#include "app/QtDialogs.h"

#include "services/files/FileDownloadFormUnit.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

namespace {

int execBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
            QMessageBox::StandardButtons buttons, const char* objectName) {
    QMessageBox box(icon, caption, text, buttons, parent);
    box.setObjectName(QString::fromLatin1(objectName));
    return box.exec();
}

QString applicationTitle() {
    return QApplication::applicationName();
}

} // namespace

QStringList QtDialogs::qtNameFilters(const QString& filter) {
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns =
            parts[i + 1].split(QRegularExpression(QStringLiteral("[;,]")), Qt::SkipEmptyParts);
        result << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
    }
    if (result.isEmpty()) {
        result << QStringLiteral("* (*)");
    }
    return result;
}

std::optional<QString> QtDialogs::saveFile(SaveDialogState& dialog) {
    QFileDialog fd(window_);
    fd.setObjectName(dialog.objectName);
    fd.setAcceptMode(QFileDialog::AcceptSave);
    fd.setFileMode(QFileDialog::AnyFile);
    fd.setOption(QFileDialog::DontUseNativeDialog);
    fd.setOption(QFileDialog::DontConfirmOverwrite);
    fd.setNameFilters(qtNameFilters(dialog.filter));
    const QFileInfo preset(dialog.fileName);
    if (preset.isAbsolute()) {
        fd.setDirectory(preset.absolutePath());
    }
    fd.selectFile(preset.isAbsolute() ? preset.fileName() : dialog.fileName);
    if (fd.exec() != QDialog::Accepted || fd.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    dialog.fileName = fd.selectedFiles().constFirst();
    return dialog.fileName;
}

std::optional<QString> QtDialogs::chooseFolder() {
    QFileDialog fd(window_);
    fd.setObjectName(QStringLiteral("FolderDialog1"));
    fd.setFileMode(QFileDialog::Directory);
    fd.setOption(QFileDialog::ShowDirsOnly);
    fd.setOption(QFileDialog::DontUseNativeDialog);
    if (fd.exec() != QDialog::Accepted || fd.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return fd.selectedFiles().constFirst();
}

void QtDialogs::showMessage(const QString& text) {
    execBox(window_, QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, "ShowMessage");
}

void QtDialogs::information(const QString& text) {
    execBox(window_, QMessageBox::Information, applicationTitle(), text, QMessageBox::Ok, "InformationBox");
}

void QtDialogs::error(const QString& text) {
    execBox(window_, QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok, "ErrorDialog");
}

bool QtDialogs::askYesNo(const QString& text) {
    return execBox(window_, QMessageBox::Information, applicationTitle(), text,
                   QMessageBox::Yes | QMessageBox::No, "QuestionBox") == QMessageBox::Yes;
}

void QtDialogs::errorBox(const QString& caption, const QString& message) {
    execBox(window_, QMessageBox::Critical, caption, message, QMessageBox::Ok, "ErrorBox");
}

Dialogs::RunOrSave QtDialogs::runOrSave() {
    TFileDownloadForm prompt(window_);
    switch (prompt.exec()) {
    case TFileDownloadForm::OpenResult:
        return RunOrSave::Open;
    case TFileDownloadForm::SaveResult:
        return RunOrSave::Save;
    default:
        return RunOrSave::Cancel;
    }
}
