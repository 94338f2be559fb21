#pragma once

#include <QByteArray>
#include <cstdint>
#include <span>

struct lame_global_struct;

// Constant-bit-rate MP3 encoding of 16-bit mono speech with LAME. The encoder picks the bit rate for the
// sample rate; frames carry no bit reservoir and the stream no tag, so every frame stands alone.
// Not thread-safe: one thread at a time.
class Mp3Encoder {
public:
    // Throws QorvError when the encoder refuses the format.
    explicit Mp3Encoder(int sampleRate);
    ~Mp3Encoder();
    Mp3Encoder(const Mp3Encoder&) = delete;
    Mp3Encoder& operator=(const Mp3Encoder&) = delete;

    // Replace out with the MP3 bytes that the samples completed; false on an encoder failure.
    bool encode(std::span<const std::int16_t> samples, QByteArray& out);
    // Replace out with the rest of the stream; call once, after the last encode.
    bool flush(QByteArray& out);

    int bitRateKbps() const;
    int sampleRate() const;

private:
    lame_global_struct* lame_ = nullptr;
};
