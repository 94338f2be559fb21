#pragma once

#include "bridge/FlashPlayer.h"
#include "core/DebugOutput.h"
#include "core/Environment.h"

#include <QString>
#include <QStringList>

// Text files below the application folder: lists them for the movie, writes list files naming them, and
// hands the movie the program's first command-line argument.
class TextLists {
public:
    TextLists(FlashPlayer& player, const Environment& environment, DebugOutput& debug);

    // parameters: a folder relative to the application folder; answers "resultList".
    void searchList(const QString& parameters);
    // parameters: folder "@@@" list-file name suffix; writes the list file, answers nothing.
    void TxtListSaveToFile(const QString& parameters);
    // Answers "변수명" with the first command-line argument.
    void InputParameter();

    // The names matching "*.txt" in folder (content form), any letter case, folders and hidden entries
    // included. Sorted by name without regard to case, so that the order is the same on every run.
    static QStringList textEntries(const QString& folder);
    // The list file's text for the entries of a folder: "&name=" + base names joined by "," + "&".
    static QString listText(const QStringList& entries);
    // Where a list file goes (content form), with every run of three backslashes collapsed to one.
    static QString listFileName(const QString& appFolder, const QString& folderText, const QString& nameText);

private:
    QString appFolder() const;

    FlashPlayer& player_;
    const Environment& environment_;
    DebugOutput& debug_;
};
