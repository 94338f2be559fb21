#include "services/notes/TextNotes.h"

#include "bridge/ContentCalls.h"
#include "core/CodePage.h"
#include "core/CommandText.h"
#include "core/NativePath.h"
#include "services/notes/NarrowTextFile.h"

#include <QDir>

namespace {

const QString kNotesFolder = QStringLiteral("TxtData");

// What a "file://" address looks like once the dispatcher has turned its slashes round.
const QString kFileUrlPrefix = QStringLiteral("file:\\\\");

bool writeNote(const QString& contentPath, const QString& note) {
    return narrowtextfile::replace(nativepath::toNative(contentPath), narrowtextfile::textModeBytes(note));
}

} // namespace

TextNotes::TextNotes(FlashPlayer& player, Dialogs& dialogs, Drives& drives)
    : player_(player), dialogs_(dialogs), drives_(drives) {}

TextNotes::LocalTarget TextNotes::localTarget(const QString& parameters) {
    // The fields are cut from the text as the code page spells it; "@@@" and "\" never occur inside one of
    // its double-byte characters, so cutting the round-tripped text gives the same fields.
    const QStringList fields = codepage::roundTrip(parameters).split(commandtext::kSeparator);
    LocalTarget target{fields.value(0), QString()};
    if (fields.size() > 1) {
        QString folder = fields.at(1);
        if (folder.startsWith(kFileUrlPrefix)) {
            folder.remove(0, kFileUrlPrefix.size());
        }
        target.path = folder;
    }
    if (fields.size() > 2) {
        target.path += QLatin1Char('\\') + fields.at(2);
    }
    return target;
}

void TextNotes::LocalSaveText(const QString& parameters) {
    const LocalTarget target = localTarget(parameters);
    if (target.path.isEmpty()) {
        dialogs_.showMessage(QStringLiteral("Flash M_ARGS 확인: ") + target.note);
        contentcalls::setSaveSuccess(player_, false);
        return;
    }
    contentcalls::setSaveSuccess(player_, writeNote(target.path, target.note));
}

void TextNotes::saveTextFile(const QString& parameters) {
    // Without a separator there is no note text; the whole parameter text is taken as the file name.
    const commandtext::Split split = commandtext::splitAtFirst(parameters);
    const QString note = split.found ? split.before : QString();
    const QString fileName = split.found ? split.after : parameters;

    const std::optional<QString> root = drives_.firstRemovableRoot();
    if (!root) {
        contentcalls::setSaveSuccess(player_, false);
        return;
    }
    // An existing folder, or one that cannot be made, shows up when the note is written.
    QDir().mkdir(nativepath::toNative(*root + kNotesFolder));
    const QString path = *root + kNotesFolder + QLatin1Char('\\') + codepage::roundTrip(fileName);
    contentcalls::setSaveSuccess(player_, writeNote(path, note));
}

void TextNotes::loadTextFile() {
    const std::optional<QString> root = drives_.firstRemovableRoot();
    if (!root) {
        contentcalls::setLoadSuccess(player_, false);
        return;
    }
    contentcalls::setLoadTxt(player_, nativepath::toNative(*root + kNotesFolder) + QDir::separator());
    contentcalls::setLoadSuccess(player_, true);
}
