#include "app/MainServices.h"

#include "core/Shell.h"
#include "services/recording/QORVViewerControl.h"

MainServices::MainServices(const MainServiceParts& parts)
    : parts_(parts), notes_(parts.player, parts.dialogs, parts.drives),
      lists_(parts.player, parts.environment, parts.debug),
      movies_(parts.player, parts.environment, parts.popups, parts.skinMoviePath) {}

void MainServices::recordingStart() {
    parts_.recorder.StartRecording();
}

void MainServices::recordingStop() {
    parts_.recorder.StopRecording(parts_.player);
}

ChildServices::ChildServices(FlashPlayer& popupPlayer, QORVViewerControl& recorder, Shell& shell)
    : player_(popupPlayer), recorder_(recorder), shell_(shell) {}

void ChildServices::recordingStart() {
    recorder_.StartRecording();
}

void ChildServices::recordingStop() {
    recorder_.StopRecording(player_);
}

void ChildServices::shellOpen(const QString& args) {
    shell_.open(QStringLiteral("open"), args, QString(), QString());
}
