#include "services/recording/Mp3Encoder.h"

#include "core/QorvError.h"

#include <lame/lame.h>

#include <limits>

namespace {

// LAME's own bound for the output of one call: 1.25 times the samples plus 7200 bytes.
qsizetype outputBound(std::size_t samples) {
    return static_cast<qsizetype>(samples + samples / 4 + 7200);
}

} // namespace

Mp3Encoder::Mp3Encoder(int sampleRate) : lame_(lame_init()) {
    if (lame_ == nullptr) {
        throw QorvError(QStringLiteral("The MP3 encoder cannot be started."));
    }
    lame_set_num_channels(lame_, 1);
    lame_set_mode(lame_, MONO);
    lame_set_in_samplerate(lame_, sampleRate);
    lame_set_out_samplerate(lame_, sampleRate);
    lame_set_VBR(lame_, vbr_off);
    lame_set_disable_reservoir(lame_, 1);
    lame_set_strict_ISO(lame_, 0);
    lame_set_bWriteVbrTag(lame_, 0);
    if (lame_init_params(lame_) < 0) {
        lame_close(lame_);
        throw QorvError(QStringLiteral("The MP3 encoder does not accept %1 Hz mono sound.").arg(sampleRate));
    }
}

Mp3Encoder::~Mp3Encoder() {
    lame_close(lame_);
}

bool Mp3Encoder::encode(std::span<const std::int16_t> samples, QByteArray& out) {
    if (samples.size() > static_cast<std::size_t>(std::numeric_limits<int>::max() / 2)) {
        return false;
    }
    out.resize(outputBound(samples.size()));
    const int n =
        lame_encode_buffer(lame_, samples.data(), nullptr, static_cast<int>(samples.size()),
                           reinterpret_cast<unsigned char*>(out.data()), static_cast<int>(out.size()));
    out.resize(n < 0 ? 0 : n);
    return n >= 0;
}

bool Mp3Encoder::flush(QByteArray& out) {
    out.resize(outputBound(0));
    const int n =
        lame_encode_flush(lame_, reinterpret_cast<unsigned char*>(out.data()), static_cast<int>(out.size()));
    out.resize(n < 0 ? 0 : n);
    return n >= 0;
}

int Mp3Encoder::bitRateKbps() const {
    return lame_get_brate(lame_);
}

int Mp3Encoder::sampleRate() const {
    return lame_get_out_samplerate(lame_);
}
