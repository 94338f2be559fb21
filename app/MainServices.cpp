#include "app/MainServices.h"

#include "core/Drives.h"
#include "core/Shell.h"
#include "services/recording/QORVViewerControl.h"
#include "services/scrap/ScrapSave.h"

MainServices::MainServices(const MainServiceParts& parts)
    : parts_(parts), files_(parts.environment, parts.dialogs, parts.shell, parts.fileSaveDialog,
                            &parts.imgSaveDialog, parts.copyProgress),
      documents_(parts.environment, parts.dialogs, parts.shell, parts.registry),
      notes_(parts.player, parts.dialogs, parts.drives), lists_(parts.player, parts.environment, parts.debug),
      movies_(parts.player, parts.environment, parts.popups, parts.skinMoviePath) {}

void MainServices::loadTextFile(const QString&) {
    // The movie is told the notes folder so that it can read the notes there.
    if (const auto root = parts_.drives.firstRemovableRoot(); root && parts_.allowFolder) {
        parts_.allowFolder(*root + QStringLiteral("TxtData/"));
    }
    notes_.loadTextFile();
}

void MainServices::scrapsaveStart(const QString& p) {
    parts_.scrap.Start(p);
}

void MainServices::scrapsaveData(const QString& p) {
    parts_.scrap.Data(p);
}

void MainServices::scrapsaveEnd(const QString& p) {
    parts_.scrap.End(p, parts_.dialogs, parts_.fileSaveDialog);
}

void MainServices::recordingStart() {
    parts_.recorder.StartRecording();
}

void MainServices::recordingStop() {
    parts_.recorder.StopRecording(parts_.player);
}

ChildServices::ChildServices(FlashPlayer& popupPlayer, Dialogs& popupDialogs,
                             SaveDialogState& popupFileSaveDialog, CopyProgress* copyProgress,
                             Environment& environment, QORVViewerControl& recorder, Shell& shell)
    : player_(popupPlayer),
      files_(environment, popupDialogs, shell, popupFileSaveDialog, nullptr, copyProgress),
      recorder_(recorder), shell_(shell) {}

void ChildServices::recordingStart() {
    recorder_.StartRecording();
}

void ChildServices::recordingStop() {
    recorder_.StopRecording(player_);
}

void ChildServices::shellOpen(const QString& args) {
    shell_.open(QStringLiteral("open"), args, QString(), QString());
}
