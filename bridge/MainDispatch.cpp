#include "bridge/MainDispatch.h"

#include "core/CommandText.h"

MainDispatch::MainDispatch(WindowControl& window, Dialogs& dialogs, Clock& clock, DebugOutput& debug,
                           MainCommandHandlers& handlers, QString errorCaption)
    : window_(window), dialogs_(dialogs), clock_(clock), debug_(debug), handlers_(handlers),
      queue_(dialogs, std::move(errorCaption), [this](const QString& command, const QString& args) {
          debug_.line(QStringLiteral("[TPlayerForm::FlashPlayerFSCommand] COMMAND: ") + command +
                      QStringLiteral("   ARGS: ") + args);
          route(command, args);
      }) {}

void MainDispatch::FlashPlayerFSCommand(const QString& command, const QString& args) {
    queue_.submit(command, args);
}

void MainDispatch::route(const QString& command, QString args) {
    if (command == QLatin1String("RunPDF")) {
        handlers_.RunPDF(args);
        return;
    }
    args = commandtext::slashesToBackslashes(std::move(args));
    if (command == QLatin1String("function")) {
        handlers_.function(args);
        return;
    }
    if (command == QLatin1String("formcontrol")) {
        formcontrol(args);
        return;
    }
    if (command == QLatin1String("MoveSkin")) {
        skinMoviePath_ = args;
        return;
    }
    if (args == QLatin1String("function_full")) {
        window_.setWindowState(WindowControl::State::Maximized);
        return;
    }
    if (args == QLatin1String("function_close")) {
        window_.requestClose();
        return;
    }
    if (args == QLatin1String("function_forward")) {
        clock_.wait(3000);
        window_.bringToFront();
        return;
    }

    const commandtext::SubCommand sub = commandtext::subCommand(args);
    const QString& name = sub.name;
    const QString& p = sub.parameters;
    if (name == QLatin1String("function_imgcopy")) {
        handlers_.imgcopy(p);
    } else if (name == QLatin1String("function_doccopy")) {
        handlers_.doccopy(p);
    } else if (name == QLatin1String("function_copyfile")) {
        handlers_.copyfile(p);
    } else if (name == QLatin1String("function_copyfileModal")) {
        handlers_.copyfileModal(p);
    } else if (name == QLatin1String("function_copyfilesDialog")) {
        handlers_.copyfilesDialog(p);
    } else if (name == QLatin1String("function_LocalSaveText")) {
        handlers_.LocalSaveText(p);
    } else if (name == QLatin1String("function_saveTextFile")) {
        handlers_.saveTextFile(p);
    } else if (name == QLatin1String("function_loadTextFile")) {
        handlers_.loadTextFile(p);
    } else if (name == QLatin1String("function_searchList")) {
        handlers_.searchList(p);
    } else if (name == QLatin1String("function_InputParameter")) {
        handlers_.InputParameter();
    } else if (name == QLatin1String("function_TxtListSaveToFile")) {
        handlers_.TxtListSaveToFile(p);
    } else if (name == QLatin1String("function_show")) {
        handlers_.show(p);
    } else if (name == QLatin1String("function_alert")) {
        dialogs_.showMessage(p);
    } else if (name == QLatin1String("function_scrapsave_start")) {
        handlers_.scrapsaveStart(p);
    } else if (name == QLatin1String("function_scrapsave_data")) {
        handlers_.scrapsaveData(p);
    } else if (name == QLatin1String("function_scrapsave_end")) {
        handlers_.scrapsaveEnd(p);
    } else if (name == QLatin1String("function_recording_start")) {
        handlers_.recordingStart();
    } else if (name == QLatin1String("function_recording_stop")) {
        handlers_.recordingStop();
    } else if (command == QLatin1String("exec")) {
        handlers_.exec(args);
    }
}

void MainDispatch::formcontrol(const QString& value) {
    using State = WindowControl::State;
    const State state = window_.windowState();
    if (value == QLatin1String("wsMinimized")) {
        window_.setWindowState(State::Minimized);
    } else if (value == QLatin1String("wsMaximized")) {
        if (state != State::Maximized) {
            window_.setWindowState(State::Maximized);
        }
    } else if (value == QLatin1String("wsNormal")) {
        if (state != State::Normal) {
            window_.setWindowState(State::Normal);
        }
    } else if (value == QLatin1String("wmMaximized")) {
        window_.setWindowState(State::Maximized);
    } else if (value == QLatin1String("Close")) {
        window_.requestClose();
    } else if (value == QLatin1String("resize")) {
        if (state == State::Normal) {
            window_.setWindowState(State::Maximized);
        } else if (state == State::Maximized) {
            window_.setWindowState(State::Normal);
        }
    }
    // "ForceExit" and any other text: no effect.
}
