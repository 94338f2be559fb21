#pragma once

#include "bridge/FlashPlayer.h"
#include "core/WindowControl.h"

#include <QString>
#include <QStringList>
#include <optional>

// Which book the command line asks for, and opening it in the main window: title, size and position from
// the book's page-variable file, then the movie.
namespace bookopening {

struct CommandLine {
    QString startPath;                // the executable's path, or the movie named after "-p"
    std::optional<QString> firstPage; // from a first argument containing "-p"
};

CommandLine parseCommandLine(const QString& executablePath, const QStringList& arguments);

// The start path with its extension replaced by ext (appended when it has none).
QString changeExtension(const QString& path, const QString& ext);
// The start path's file name without extension.
QString bookName(const QString& startPath);
QString pageVariableFile(const QString& startPath);

// Sets caption, state, size and position, then the player's movie. A "width" or "height" that is not a
// number still opens the book maximised with its movie, and then fails with the conversion message.
void OpenBook(const QString& startPath, WindowControl& window, FlashPlayer& player);

} // namespace bookopening
