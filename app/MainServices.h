#pragma once

#include "bridge/MainCommandHandlers.h"
#include "popup/ChildDispatch.h"
#include "popup/MovieCommands.h"
#include "services/notes/TextLists.h"
#include "services/notes/TextNotes.h"

#include <functional>

class DebugOutput;
class Dialogs;
class Drives;
class Environment;
class FlashPlayer;
class QORVViewerControl;
class Shell;

// What the main window's services are built from: the window's player and dialogs and the platform.
struct MainServiceParts {
    FlashPlayer& player;
    Dialogs& dialogs;
    Environment& environment;
    DebugOutput& debug;
    Drives& drives;
    Shell& shell;
    QORVViewerControl& recorder;
    PopupHost& popups;
    std::function<QString()> skinMoviePath;
};

// The main window's services behind its command rows.
class MainServices : public MainCommandHandlers {
public:
    explicit MainServices(const MainServiceParts& parts);

    void function(const QString& args) override { movies_.function(args); }
    void LocalSaveText(const QString& p) override { notes_.LocalSaveText(p); }
    void saveTextFile(const QString& p) override { notes_.saveTextFile(p); }
    void loadTextFile(const QString&) override { notes_.loadTextFile(); }
    void searchList(const QString& p) override { lists_.searchList(p); }
    void InputParameter() override { lists_.InputParameter(); }
    void TxtListSaveToFile(const QString& p) override { lists_.TxtListSaveToFile(p); }
    void recordingStart() override;
    void recordingStop() override;

private:
    MainServiceParts parts_;
    TextNotes notes_;
    TextLists lists_;
    MovieCommands movies_;
};

// A pop-up window's services: the shared recorder, the copy commands with the pop-up's own dialogs, and
// the desktop for everything else.
class ChildServices : public ChildCommandHandlers {
public:
    ChildServices(FlashPlayer& popupPlayer, QORVViewerControl& recorder, Shell& shell);

    void recordingStart() override;
    void recordingStop() override;
    void shellOpen(const QString& args) override;

private:
    FlashPlayer& player_;
    QORVViewerControl& recorder_;
    Shell& shell_;
};
