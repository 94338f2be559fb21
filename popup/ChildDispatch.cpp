#include "popup/ChildDispatch.h"

#include "bridge/ContentCalls.h"
#include "bridge/MainDispatch.h"
#include "core/CommandText.h"
#include "core/QorvError.h"

ChildDispatch::ChildDispatch(WindowControl& window, Dialogs& dialogs, DebugOutput& debug,
                             ChildCommandHandlers& handlers, QString errorCaption)
    : window_(window), dialogs_(dialogs), debug_(debug), handlers_(handlers),
      errorCaption_(std::move(errorCaption)) {}

void ChildDispatch::ShockwaveFlash1FSCommand(const QString& command, const QString& args) {
    pending_.emplace_back(command, args);
    if (busy_) {
        return; // runs after the command that is waiting now
    }
    busy_ = true;
    while (!pending_.empty()) {
        auto [nextCommand, nextArgs] = std::move(pending_.front());
        pending_.pop_front();
        handle(nextCommand, nextArgs);
    }
    busy_ = false;
}

void ChildDispatch::handle(const QString& command, const QString& args) {
    debug_.line(QStringLiteral("[TChildForm::ShockwaveFlash1FSCommand] COMMAND: ") + command +
                QStringLiteral("   ARGS: ") + args);
    try {
        route(command, args);
    } catch (const QorvError& e) {
        dialogs_.errorBox(errorCaption_, MainDispatch::errorBoxText(e.message()));
    } catch (const std::exception& e) {
        dialogs_.errorBox(errorCaption_, MainDispatch::errorBoxText(QString::fromUtf8(e.what())));
    } catch (...) {
        dialogs_.errorBox(errorCaption_, QString());
    }
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
