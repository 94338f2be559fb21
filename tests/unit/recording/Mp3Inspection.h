#pragma once

// Reads an MP3 file the way a strict player would: frame by frame from the first byte to the last, and
// decodes it with LAME's decoder to look at the sound.

#include <QByteArray>
#include <QSet>
#include <QString>

#include <lame/lame.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace mp3inspection {

struct Stream {
    QString error; // empty when every byte belongs to a well-formed frame
    int frames = 0;
    int sampleRate = 0;
    bool mono = false;
    bool layer3 = false;
    QSet<int> bitRatesKbps;
};

// MPEG-1, -2 and -2.5 layer III headers only; anything else is reported as an error.
inline Stream parseFrames(const QByteArray& bytes) {
    static const int rates[4][3] = {
        {11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};
    static const int kbpsV1[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    static const int kbpsV2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
    Stream s;
    s.layer3 = true;
    s.mono = true;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    qsizetype at = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at < 4) {
            s.error = QStringLiteral("truncated header at %1").arg(at);
            return s;
        }
        const std::uint32_t h = (std::uint32_t(p[at]) << 24) | (std::uint32_t(p[at + 1]) << 16) |
                                (std::uint32_t(p[at + 2]) << 8) | p[at + 3];
        const int version = (h >> 19) & 3, layer = (h >> 17) & 3, bitIndex = (h >> 12) & 15;
        const int rateIndex = (h >> 10) & 3, padding = (h >> 9) & 1, mode = (h >> 6) & 3;
        if ((h >> 21) != 0x7FF || version == 1 || rateIndex == 3 || bitIndex == 0 || bitIndex == 15) {
            s.error = QStringLiteral("no frame header at byte %1").arg(at);
            return s;
        }
        s.layer3 = s.layer3 && layer == 1;
        s.mono = s.mono && mode == 3;
        const int rate = rates[version][rateIndex];
        if (s.frames > 0 && rate != s.sampleRate) {
            s.error = QStringLiteral("sample rate changes at byte %1").arg(at);
            return s;
        }
        s.sampleRate = rate;
        const int kbps = version == 3 ? kbpsV1[bitIndex] : kbpsV2[bitIndex];
        s.bitRatesKbps.insert(kbps);
        const int size = (version == 3 ? 144 : 72) * kbps * 1000 / rate + padding;
        if (at + size > bytes.size()) {
            s.error = QStringLiteral("last frame cut short at byte %1").arg(at);
            return s;
        }
        at += size;
        ++s.frames;
    }
    if (s.frames == 0) {
        s.error = QStringLiteral("no frames");
    }
    return s;
}

// All samples of the first channel, and the rate the decoder found; fed in small pieces as a player
// reading a file would.
inline std::vector<std::int16_t> decode(const QByteArray& bytes, int& sampleRate) {
    std::vector<std::int16_t> out;
    hip_t hip = hip_decode_init();
    std::vector<short> left(1152), right(1152);
    mp3data_struct info{};
    sampleRate = 0;
    QByteArray piece;
    for (qsizetype at = 0; at < bytes.size(); at += 512) {
        piece = bytes.mid(at, 512);
        auto* data = reinterpret_cast<unsigned char*>(piece.data());
        int n = hip_decode1_headers(hip, data, static_cast<size_t>(piece.size()), left.data(), right.data(),
                                    &info);
        while (n > 0) {
            out.insert(out.end(), left.begin(), left.begin() + n);
            n = hip_decode1_headers(hip, data, 0, left.data(), right.data(), &info);
        }
        if (info.header_parsed != 0) {
            sampleRate = info.samplerate;
        }
        if (n < 0) {
            break;
        }
    }
    hip_decode_exit(hip);
    return out;
}

// The frequency with the most energy between 50 Hz and just under half the sample rate, in 5 Hz steps.
inline double dominantFrequency(const std::vector<std::int16_t>& samples, int sampleRate) {
    double best = 0, bestPower = -1;
    for (double f = 50; f < sampleRate / 2.0 - 50; f += 5) {
        const double w = 2.0 * std::cos(2.0 * std::numbers::pi * f / sampleRate);
        double s1 = 0, s2 = 0;
        for (const std::int16_t x : samples) {
            const double s0 = x + w * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        const double power = s1 * s1 + s2 * s2 - w * s1 * s2;
        if (power > bestPower) {
            bestPower = power;
            best = f;
        }
    }
    return best;
}

} // namespace mp3inspection
