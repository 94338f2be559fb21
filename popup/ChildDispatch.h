#pragma once

#include "bridge/CommandQueue.h"
#include "core/DebugOutput.h"
#include "core/Dialogs.h"
#include "core/WindowControl.h"

#include <QString>

// The services a pop-up window's commands reach. Defaults do nothing.
class ChildCommandHandlers {
public:
    virtual ~ChildCommandHandlers() = default;
    virtual void recordingStart() {}
    virtual void recordingStop() {} // tells the pop-up's own movie
    virtual void copyfile(const QString& parameters) { (void)parameters; }
    virtual void copyfileModal(const QString& parameters) { (void)parameters; }
    // Anything the pop-up does not know is handed to the desktop to open.
    virtual void shellOpen(const QString& args) { (void)args; }
};

// A pop-up window's answer to the commands of its own movie: a smaller vocabulary than the main window's,
// no "/" replacement, and everything unknown opened by the desktop. It keeps the page and the movie the
// movie last reported, which the closing calls hand to the main window's movie.
class ChildDispatch {
public:
    ChildDispatch(WindowControl& window, Dialogs& dialogs, DebugOutput& debug, ChildCommandHandlers& handlers,
                  QString errorCaption);

    void ShockwaveFlash1FSCommand(const QString& command, const QString& args);

    QString CurrentPage = QStringLiteral("0");
    QString ReloadMoviePath;

private:
    void route(const QString& command, const QString& args);

    WindowControl& window_;
    Dialogs& dialogs_;
    DebugOutput& debug_;
    ChildCommandHandlers& handlers_;
    CommandQueue queue_;
};

// What a closing pop-up tells the main window's movie: the movie to open, or else the page to go to.
class FlashPlayer;
void childClosingCalls(const ChildDispatch& state, FlashPlayer& mainPlayer);
