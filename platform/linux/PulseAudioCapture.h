#pragma once

#include "services/recording/AudioCapture.h"

#include <QString>

// Sound capture from the sound server's default source through its simple blocking interface. The server
// is the one the environment names (PULSE_SERVER) unless one is given.
class PulseAudioCapture : public AudioCapture {
public:
    explicit PulseAudioCapture(QString server = QString());
    std::unique_ptr<AudioInput> openDefaultInput(int sampleRate, int channels) override;

private:
    QString server_;
};
