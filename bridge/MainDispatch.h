#pragma once

#include "bridge/CommandQueue.h"
#include "bridge/MainCommandHandlers.h"
#include "core/Clock.h"
#include "core/DebugOutput.h"
#include "core/Dialogs.h"
#include "core/WindowControl.h"

#include <QString>

// The main window's answer to every command its movie sends: one debug line, the argument string's "/"
// turned into "\" after the "RunPDF" test, then a fixed chain of exact comparisons that ends at the first
// match. Window commands are carried out here; the rest go to the handlers.
//
// Commands run one at a time in arrival order. A command that waits (a dialog, the wait before bringing
// the window forward) keeps the event loop running, so more commands can arrive meanwhile: they queue
// and run after it. A failure inside a command is shown in the standard error box and the next command
// is handled as usual.
class MainDispatch {
public:
    MainDispatch(WindowControl& window, Dialogs& dialogs, Clock& clock, DebugOutput& debug,
                 MainCommandHandlers& handlers, QString errorCaption);

    // The player's command event.
    void FlashPlayerFSCommand(const QString& command, const QString& args);

    // Movie path the "MoveSkin" command last gave.
    const QString& SkinMoviePath() const { return skinMoviePath_; }

    static QString errorBoxText(const QString& message) { return CommandQueue::errorBoxText(message); }

private:
    void route(const QString& command, QString args);
    void formcontrol(const QString& value);

    WindowControl& window_;
    Dialogs& dialogs_;
    Clock& clock_;
    DebugOutput& debug_;
    MainCommandHandlers& handlers_;
    QString skinMoviePath_;
    CommandQueue queue_;
};
