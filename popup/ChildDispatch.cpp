#include "popup/ChildDispatch.h"

#include "bridge/ContentCalls.h"
#include "core/CommandText.h"

ChildDispatch::ChildDispatch(WindowControl& window, Dialogs& dialogs, DebugOutput& debug,
                             ChildCommandHandlers& handlers, QString errorCaption)
    : window_(window), dialogs_(dialogs), debug_(debug), handlers_(handlers),
      queue_(dialogs, std::move(errorCaption), [this](const QString& command, const QString& args) {
          debug_.line(QStringLiteral("[TChildForm::ShockwaveFlash1FSCommand] COMMAND: ") + command +
                      QStringLiteral("   ARGS: ") + args);
          route(command, args);
      }) {}

void ChildDispatch::ShockwaveFlash1FSCommand(const QString& command, const QString& args) {
    queue_.submit(command, args);
}

void ChildDispatch::route(const QString& command, const QString& args) {
    using State = WindowControl::State;
    if (command == QLatin1String("formcontrol")) {
        if (args == QLatin1String("wsMinimized")) {
            window_.setWindowState(State::Minimized);
        } else if (args == QLatin1String("wsMaximized") || args == QLatin1String("wmMaximized")) {
            window_.setWindowState(State::Maximized);
        } else if (args == QLatin1String("Close")) {
            window_.requestClose();
        }
        return;
    }
    const commandtext::SubCommand sub = commandtext::subCommand(args);
    const QString& name = sub.name;
    if (name == QLatin1String("function_close")) {
        window_.requestClose();
    } else if (name == QLatin1String("function_alert")) {
        dialogs_.showMessage(sub.parameters);
    } else if (name == QLatin1String("function_recording_start")) {
        handlers_.recordingStart();
    } else if (name == QLatin1String("function_recording_stop")) {
        handlers_.recordingStop();
    } else if (name == QLatin1String("function_current_page")) {
        CurrentPage = sub.parameters;
    } else if (name == QLatin1String("function_reload_flash")) {
        ReloadMoviePath = sub.parameters;
    } else if (name == QLatin1String("function_copyfile")) {
        handlers_.copyfile(sub.parameters);
    } else if (name == QLatin1String("function_copyfileModal")) {
        handlers_.copyfileModal(sub.parameters);
    } else {
        handlers_.shellOpen(args);
    }
}

void childClosingCalls(const ChildDispatch& state, FlashPlayer& mainPlayer) {
    if (!state.ReloadMoviePath.isEmpty()) {
        contentcalls::otherBook(mainPlayer, state.ReloadMoviePath, state.CurrentPage);
    } else if (state.CurrentPage != QLatin1String("0")) {
        contentcalls::goPageLink(mainPlayer, state.CurrentPage);
    }
}
