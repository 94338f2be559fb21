#pragma once

#include "bridge/MainCommandHandlers.h"
#include "popup/ChildDispatch.h"
#include "popup/MovieCommands.h"
#include "services/files/DocumentOpening.h"
#include "services/files/FileExport.h"
#include "services/notes/TextLists.h"
#include "services/notes/TextNotes.h"

#include <functional>

class DebugOutput;
class Dialogs;
class Drives;
class Environment;
class FlashPlayer;
class CopyProgress;
class QORVViewerControl;
class Registry;
class ScrapSave;
class Shell;
struct SaveDialogState;

// What the main window's services are built from: the window's player and dialogs and the platform.
struct MainServiceParts {
    FlashPlayer& player;
    Dialogs& dialogs;
    Environment& environment;
    DebugOutput& debug;
    Drives& drives;
    Shell& shell;
    Registry& registry;
    CopyProgress* copyProgress;
    SaveDialogState& fileSaveDialog;
    SaveDialogState& imgSaveDialog;
    ScrapSave& scrap;
    QORVViewerControl& recorder;
    PopupHost& popups;
    std::function<QString()> skinMoviePath;
    // Lets the movie load files below a folder the host tells it about.
    std::function<void(const QString& folder)> allowFolder;
};

// The main window's services behind its command rows.
class MainServices : public MainCommandHandlers {
public:
    explicit MainServices(const MainServiceParts& parts);

    void RunPDF(const QString& args) override { documents_.RunPDF(args); }
    void function(const QString& args) override { movies_.function(args); }
    void imgcopy(const QString& p) override { files_.imgcopy(p); }
    void doccopy(const QString& p) override { files_.doccopy(p); }
    void copyfile(const QString& p) override { files_.copyfile(p); }
    void copyfileModal(const QString& p) override { files_.copyfileModal(p); }
    void copyfilesDialog(const QString& p) override { files_.copyfilesDialog(p); }
    void LocalSaveText(const QString& p) override { notes_.LocalSaveText(p); }
    void saveTextFile(const QString& p) override { notes_.saveTextFile(p); }
    void loadTextFile(const QString&) override;
    void searchList(const QString& p) override { lists_.searchList(p); }
    void InputParameter() override { lists_.InputParameter(); }
    void TxtListSaveToFile(const QString& p) override { lists_.TxtListSaveToFile(p); }
    void show(const QString& p) override { documents_.show(p); }
    void scrapsaveStart(const QString& p) override;
    void scrapsaveData(const QString& p) override;
    void scrapsaveEnd(const QString& p) override;
    void recordingStart() override;
    void recordingStop() override;
    void exec(const QString& args) override { documents_.exec(args); }

private:
    MainServiceParts parts_;
    FileExport files_;
    DocumentOpening documents_;
    TextNotes notes_;
    TextLists lists_;
    MovieCommands movies_;
};

// A pop-up window's services: the shared recorder, the copy commands with the pop-up's own dialogs, and
// the desktop for everything else.
class ChildServices : public ChildCommandHandlers {
public:
    ChildServices(FlashPlayer& popupPlayer, Dialogs& popupDialogs, SaveDialogState& popupFileSaveDialog,
                  CopyProgress* copyProgress, Environment& environment, QORVViewerControl& recorder,
                  Shell& shell);

    void recordingStart() override;
    void recordingStop() override;
    void copyfile(const QString& p) override { files_.copyfile(p); }
    void copyfileModal(const QString& p) override { files_.copyfileModal(p); }
    void shellOpen(const QString& args) override;

private:
    FlashPlayer& player_;
    FileExport files_;
    QORVViewerControl& recorder_;
    Shell& shell_;
};
