#pragma once

#include <cstdint>
#include <memory>
#include <span>

// One open capture stream delivering signed 16-bit samples in the machine's byte order, channels
// interleaved. It is opened on the user-interface thread and then read only by the recording's worker.
class AudioInput {
public:
    virtual ~AudioInput() = default;
    // Fills samples completely, blocking as long as the audio takes to arrive. False when the device has
    // failed or interrupt() was called; samples then hold nothing worth keeping.
    virtual bool read(std::span<std::int16_t> samples) = 0;
    // Safe from any thread: makes a blocked read return soon. A device whose reads are short anyway may
    // leave it empty.
    virtual void interrupt() {}
};

// The sound-capture device of the machine, as the recording controller sees it.
class AudioCapture {
public:
    virtual ~AudioCapture() = default;
    // Opens the default input device for the given format; throws QorvError with a message for the
    // reader when it cannot.
    virtual std::unique_ptr<AudioInput> openDefaultInput(int sampleRate, int channels) = 0;
};
