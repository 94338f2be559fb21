#pragma once

#include <QString>
#include <optional>

class Dialogs;
struct SaveDialogState;

// Asks the reader where to save a JPEG picture, through the window's shared save dialog. The dialog keeps
// the JPEG filter and default name afterwards, as the other commands that share it expect.
class JpegSaveDialog {
public:
    // Sets filter and name, shows the dialog; the chosen path with the JPEG extension rule applied, or
    // nullopt when the reader cancels.
    static std::optional<QString> ask(Dialogs& dialogs, SaveDialogState& fileSaveDialog);

    // ".jpg" is appended unless the name's extension (from its last dot), lower-cased, is ".jpg" or ".jpeg".
    static QString withJpegExtension(const QString& name);
};
