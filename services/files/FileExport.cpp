#include "services/files/FileExport.h"

#include "core/CommandText.h"
#include "core/Dialogs.h"
#include "core/Environment.h"
#include "core/NativePath.h"
#include "core/Shell.h"
#include "services/files/FileTypeFilters.h"
#include "services/files/SafeCopy.h"

#include <QDir>
#include <QFileInfo>

FileExport::FileExport(Environment& environment, Dialogs& dialogs, Shell& shell,
                       SaveDialogState& fileSaveDialog, SaveDialogState* imgSaveDialog,
                       CopyProgress* progress)
    : environment_(environment), dialogs_(dialogs), shell_(shell), fileSaveDialog_(fileSaveDialog),
      imgSaveDialog_(imgSaveDialog), progress_(progress) {}

SaveDialogState FileExport::initialFileSaveDialog() {
    return {QStringLiteral("fileSaveDialog"), QStringLiteral("PDF 파일|*.pdf"), QString()};
}

SaveDialogState FileExport::initialImgSaveDialog() {
    return {QStringLiteral("imgSaveDialog"), QStringLiteral("ImageFile|*.jpg,*.bmp"), QString()};
}

QString FileExport::savedMessage(const QString& name) {
    return name + QStringLiteral(" 파일이 저장되었습니다.");
}

QString FileExport::failedMessage(const QString& name) {
    return name + QStringLiteral(" 파일 저장 실패\n경로를 확인해 주세요.");
}

QStringList FileExport::splitCopyList(const QString& parameters) {
    QStringList items;
    QString item;
    QChar quote;
    for (const QChar c : parameters) {
        if (!quote.isNull()) {
            item += c;
            if (c == quote) {
                quote = QChar();
            }
        } else if (c == QLatin1Char(';') || c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (!item.isEmpty()) {
                items << item;
            }
            item.clear();
        } else {
            if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                quote = c;
            }
            item += c;
        }
    }
    if (!item.isEmpty()) {
        items << item;
    }
    return items;
}

QString FileExport::applicationFolder() const {
    return QFileInfo(environment_.executablePath()).absolutePath() + QLatin1Char('/');
}

QString FileExport::pageImageFolder() const {
    const QString base = QFileInfo(environment_.executablePath()).completeBaseName();
    return applicationFolder() + base + QStringLiteral("_page_img\\contents\\");
}

QString FileExport::sourcePath(const QString& base, const QString& relative) const {
    if (relative.contains(QChar(u'\0')) || base.size() + relative.size() > kMaxPathLength) {
        return QString();
    }
    const QString native = nativepath::toNative(base + relative);
    const QString root = QDir::cleanPath(applicationFolder());
    const QString clean = QDir::cleanPath(native);
    if (!clean.startsWith(root + QLatin1Char('/')) && !(root == QLatin1String("/") && clean.size() > 1)) {
        return QString();
    }
    return native;
}

bool FileExport::copy(const QString& source, const QString& target, bool writableByOwner) {
    if (source.isEmpty()) {
        return false;
    }
    return SafeCopy::copy(source, target,
                          writableByOwner ? SafeCopy::Permissions::WritableByOwner
                                          : SafeCopy::Permissions::FromSource,
                          progress_);
}

void FileExport::imgcopy(const QString& parameters) {
    if (!imgSaveDialog_) {
        return;
    }
    imgSaveDialog_->fileName = parameters;
    const std::optional<QString> target = dialogs_.saveFile(*imgSaveDialog_);
    if (!target) {
        return;
    }
    copy(sourcePath(pageImageFolder(), parameters), *target, false);
}

void FileExport::doccopy(const QString& parameters) {
    if (const std::optional<QString> filter = filetypes::shortFilter(parameters)) {
        fileSaveDialog_.filter = *filter;
    }
    fileSaveDialog_.fileName = filetypes::fileNamePart(parameters);
    const std::optional<QString> target = dialogs_.saveFile(fileSaveDialog_);
    if (!target) {
        return;
    }
    copy(sourcePath(applicationFolder(), parameters), *target, false);
}

void FileExport::copyfile(const QString& parameters) {
    const QString name = filetypes::fileNamePart(parameters);
    fileSaveDialog_.filter = filetypes::fullFilter(parameters);
    fileSaveDialog_.fileName = name;
    const std::optional<QString> target = dialogs_.saveFile(fileSaveDialog_);
    if (!target) {
        return;
    }
    const bool copied = copy(sourcePath(applicationFolder(), parameters), *target, false);
    dialogs_.showMessage(copied ? savedMessage(name) : failedMessage(name));
}

void FileExport::copyfileModal(const QString& parameters) {
    // Without a separator the whole text names the file, directly in the application folder.
    const commandtext::Split split = commandtext::splitAtFirst(parameters);
    const QString folder = split.found ? split.before : QString();
    const QString name = split.found ? split.after : parameters;

    switch (dialogs_.runOrSave()) {
    case Dialogs::RunOrSave::Open: {
        const QString file = sourcePath(applicationFolder(), folder + name);
        if (!file.isEmpty()) {
            shell_.open(QStringLiteral("open"), file, QString(), QString());
        }
        return;
    }
    case Dialogs::RunOrSave::Save: {
        fileSaveDialog_.filter = filetypes::fullFilter(name);
        fileSaveDialog_.fileName = filetypes::fileNamePart(name);
        const QString source = sourcePath(applicationFolder(), folder + QLatin1Char('\\') + name);
        const std::optional<QString> target = dialogs_.saveFile(fileSaveDialog_);
        if (!target) {
            return;
        }
        const bool copied = copy(source, *target, true);
        dialogs_.showMessage(copied ? savedMessage(name) : failedMessage(name));
        return;
    }
    case Dialogs::RunOrSave::Cancel:
        return;
    }
}

void FileExport::copyfilesDialog(const QString& parameters) {
    const QStringList items = splitCopyList(parameters);
    const std::optional<QString> folder = dialogs_.chooseFolder();
    if (!folder) {
        return;
    }
    for (const QString& item : items) {
        const QString name = filetypes::fileNamePart(item);
        if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) {
            break;
        }
        if (!copy(sourcePath(applicationFolder(), item), *folder + QLatin1Char('/') + name, false)) {
            break;
        }
    }
    shell_.open(QStringLiteral("open"), *folder, QString(), QString());
}
