#pragma once

#include "bridge/FlashPlayer.h"
#include "core/Dialogs.h"
#include "core/Drives.h"

#include <QString>

// The reader's notes: writes a note where the movie names it or into the notes folder on the first
// removable drive, and tells the movie where that folder is. Answers only through the reply variables.
class TextNotes {
public:
    TextNotes(FlashPlayer& player, Dialogs& dialogs, Drives& drives);

    // parameters: note "@@@" folder "@@@" file name; answers "saveSuccess".
    void LocalSaveText(const QString& parameters);
    // parameters: note "@@@" file name inside the notes folder; answers "saveSuccess".
    void saveTextFile(const QString& parameters);
    // Answers "loadTxt" with the notes folder and "loadSuccess"; reads nothing.
    void loadTextFile();

    // Note text and path (content form) of a "function_LocalSaveText" parameter text, both as they survive
    // the code page. The path is empty when the parameters name neither a folder nor a file.
    struct LocalTarget {
        QString note;
        QString path;
    };
    static LocalTarget localTarget(const QString& parameters);

private:
    FlashPlayer& player_;
    Dialogs& dialogs_;
    Drives& drives_;
};
