#pragma once

#include "core/Dialogs.h"

#include <QString>
#include <deque>
#include <functional>
#include <utility>

// Runs a window's commands one at a time, in arrival order. A command that waits (a dialog, a timer) keeps
// the event loop running, so more commands can arrive meanwhile: they queue and run after it. A failure
// inside a command is shown in the standard error box and the next command runs as usual.
class CommandQueue {
public:
    using Handler = std::function<void(const QString& command, const QString& args)>;

    CommandQueue(Dialogs& dialogs, QString errorCaption, Handler handler);

    void submit(const QString& command, const QString& args);

    // The standard error box's text: a full stop is added when the last character's code lies above the
    // full stop's.
    static QString errorBoxText(const QString& message);

private:
    void run(const QString& command, const QString& args);

    Dialogs& dialogs_;
    QString errorCaption_;
    Handler handler_;
    std::deque<std::pair<QString, QString>> pending_;
    bool busy_ = false;
};
