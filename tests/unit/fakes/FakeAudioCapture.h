#pragma once

#include "core/QorvError.h"
#include "services/recording/AudioCapture.h"

#include <QList>
#include <QPair>
#include <QString>

#include <atomic>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <numbers>

// A capture device for tests. It delivers toneSamples samples of a sine tone at once and then waits, like
// a silent room, until the recording is interrupted; or it reports a lost device after the tone; or it
// cannot be opened at all (openError).
class FakeAudioCapture : public AudioCapture {
public:
    class ToneInput : public AudioInput {
    public:
        ToneInput(double hz, int rate, int samples, bool failAfter, std::atomic<int>& delivered)
            : hz_(hz), rate_(rate), remaining_(samples), failAfter_(failAfter), delivered_(delivered) {}

        bool read(std::span<std::int16_t> samples) override {
            if (remaining_ > 0) {
                for (auto& s : samples) {
                    s = static_cast<std::int16_t>(12000.0 *
                                                  std::sin(2.0 * std::numbers::pi * hz_ * t_++ / rate_));
                }
                remaining_ -= static_cast<int>(samples.size());
                delivered_ += static_cast<int>(samples.size());
                return true;
            }
            if (failAfter_) {
                return false;
            }
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return interrupted_; });
            return false;
        }
        void interrupt() override {
            std::lock_guard lock(mutex_);
            interrupted_ = true;
            wake_.notify_all();
        }

    private:
        double hz_;
        int rate_;
        int remaining_;
        bool failAfter_;
        std::atomic<int>& delivered_;
        long t_ = 0;
        std::mutex mutex_;
        std::condition_variable wake_;
        bool interrupted_ = false;
    };

    std::unique_ptr<AudioInput> openDefaultInput(int sampleRate, int channels) override {
        opened << qMakePair(sampleRate, channels);
        if (!openError.isEmpty()) {
            throw QorvError(openError);
        }
        return std::make_unique<ToneInput>(toneHz, sampleRate, toneSamples, failAfterTone, samplesDelivered);
    }

    double toneHz = 700.0;
    int toneSamples = 8000;
    bool failAfterTone = false;
    QString openError;
    QList<QPair<int, int>> opened;
    std::atomic<int> samplesDelivered{0}; // by all inputs so far
};
