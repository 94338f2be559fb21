#pragma once

#include <QString>
#include <QStringList>

class CopyProgress;
class Dialogs;
class Environment;
class Shell;
struct SaveDialogState;

// The commands that copy files of the book out to a place the reader chooses, and the open-or-save
// prompt that precedes one of them. Each method takes the parameter text of its command. One instance
// per window: it works with that window's dialogs and save dialog states, which the window owns and
// which keep their filter and file name from one command to the next. Sources must lie inside the
// application folder; anything else is a failed copy.
class FileExport {
public:
    // imgSaveDialog may be null for windows without the image copy command; progress may be null.
    FileExport(Environment& environment, Dialogs& dialogs, Shell& shell, SaveDialogState& fileSaveDialog,
               SaveDialogState* imgSaveDialog, CopyProgress* progress = nullptr);

    void imgcopy(const QString& parameters);
    void doccopy(const QString& parameters);
    void copyfile(const QString& parameters);
    void copyfileModal(const QString& parameters);
    void copyfilesDialog(const QString& parameters);

    // The states a window starts its two save dialogs with.
    static SaveDialogState initialFileSaveDialog();
    static SaveDialogState initialImgSaveDialog();

    // The relative paths of a copy list: ";" and line breaks separate, empty items are dropped, a
    // quoted stretch (quotes kept) may hold separators.
    static QStringList splitCopyList(const QString& parameters);

    // Longer paths cannot be opened on any system the viewer runs on; they are refused before any look-up.
    static constexpr qsizetype kMaxPathLength = 4096;

    static QString savedMessage(const QString& name);
    static QString failedMessage(const QString& name);

private:
    QString applicationFolder() const;
    QString pageImageFolder() const;
    // The native path of relative below base, or empty when it leaves the application folder.
    QString sourcePath(const QString& base, const QString& relative) const;
    bool copy(const QString& source, const QString& target, bool writableByOwner);

    Environment& environment_;
    Dialogs& dialogs_;
    Shell& shell_;
    SaveDialogState& fileSaveDialog_;
    SaveDialogState* imgSaveDialog_;
    CopyProgress* progress_;
};
