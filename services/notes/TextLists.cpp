#include "services/notes/TextLists.h"

#include "bridge/ContentCalls.h"
#include "core/CodePage.h"
#include "core/CommandText.h"
#include "core/NativePath.h"
#include "services/notes/NarrowTextFile.h"

#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>

namespace {

const QString kListMarker = QStringLiteral("TxtList");

QString contentFolder(const QString& appFolder, const QString& relative) {
    return appFolder + QLatin1Char('\\') + relative;
}

} // namespace

TextLists::TextLists(FlashPlayer& player, const Environment& environment, DebugOutput& debug)
    : player_(player), environment_(environment), debug_(debug) {}

QString TextLists::appFolder() const {
    return QFileInfo(environment_.executablePath()).absolutePath();
}

QStringList TextLists::textEntries(const QString& folder) {
    QStringList names;
    if (folder.contains(QChar(0))) {
        return names; // no folder has such a name
    }
    QDirIterator it(nativepath::toNative(folder),
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        // The target file systems ignore case, so "*.txt" finds "b.TXT" too.
        if (name.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive)) {
            names << name;
        }
    }
    // A Linux directory lists in no useful order; this is the order an NTFS folder gives.
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return names;
}

QString TextLists::listText(const QStringList& entries) {
    QString text = QStringLiteral("&name=");
    for (const QString& entry : entries) {
        const qsizetype dot = entry.lastIndexOf(QLatin1Char('.'));
        text += (dot < 0 ? entry : entry.left(dot)) + QLatin1Char(',');
    }
    // Drops the last "," or, for an empty list, the "=".
    text.chop(1);
    return text + QLatin1Char('&');
}

QString TextLists::listFileName(const QString& appFolder, const QString& folderText,
                                const QString& nameText) {
    QString name = contentFolder(appFolder, folderText) + QLatin1Char('\\') + kListMarker + nameText;
    return name.replace(QStringLiteral("\\\\\\"), QStringLiteral("\\"));
}

void TextLists::searchList(const QString& parameters) {
    QString result;
    for (const QString& name : textEntries(contentFolder(appFolder(), parameters))) {
        result += name + commandtext::kSeparator;
    }
    contentcalls::setResultList(player_, result);
}

void TextLists::TxtListSaveToFile(const QString& parameters) {
    // Without a separator the application folder itself is listed and the whole parameter text names
    // the list file.
    const commandtext::Split split = commandtext::splitAtFirst(parameters);
    const QString folderText = codepage::roundTrip(split.found ? split.before : QString());
    const QString nameText = codepage::roundTrip(split.found ? split.after : parameters);

    const QString app = appFolder();
    QStringList entries = textEntries(contentFolder(app, folderText));
    // Leaves out this list file and earlier ones.
    entries.removeIf([](const QString& name) { return name.contains(kListMarker); });

    const QString file = nativepath::toNative(listFileName(app, folderText, nameText));
    QString error;
    if (!narrowtextfile::replace(file, narrowtextfile::textModeBytes(listText(entries)), &error)) {
        debug_.line(QStringLiteral("[TextLists::TxtListSaveToFile] cannot write %1: %2").arg(file, error));
    }
}

void TextLists::InputParameter() {
    contentcalls::setInputParameter(player_, environment_.arguments().value(0));
}
