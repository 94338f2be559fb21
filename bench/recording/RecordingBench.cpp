// Prints how much processor time a recording costs and how soon after a stop the content hears of the
// finished file. Run: build/bench/recording/recording_bench (with PULSE_SERVER set for the real device).

#include "bridge/FlashPlayer.h"
#include "core/DebugOutput.h"
#include "core/Environment.h"
#include "platform/linux/PulseAudioCapture.h"
#include "services/recording/AudioCapture.h"
#include "services/recording/Mp3Encoder.h"
#include "services/recording/QORVViewerControl.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <numbers>
#include <random>
#include <thread>
#include <vector>

namespace {

double cpuSeconds(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// Speech stand-in: two tones and some noise.
std::vector<std::int16_t> voice(std::size_t samples, std::size_t offset) {
    static std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 800.0);
    std::vector<std::int16_t> out(samples);
    for (std::size_t i = 0; i < samples; ++i) {
        const double t = static_cast<double>(offset + i) / QORVViewerControl::SampleRate;
        out[i] =
            static_cast<std::int16_t>(6000.0 * std::sin(2 * std::numbers::pi * 220 * t) +
                                      3000.0 * std::sin(2 * std::numbers::pi * 1100 * t) + noise(random));
    }
    return out;
}

// A device that delivers sound at the pace of the sound clock, as a microphone does.
class PacedInput : public AudioInput {
public:
    bool read(std::span<std::int16_t> samples) override {
        const auto due = start_ + std::chrono::microseconds((delivered_ + samples.size()) * 1000000 /
                                                            QORVViewerControl::SampleRate);
        std::unique_lock lock(mutex_);
        if (wake_.wait_until(lock, due, [this] { return interrupted_; })) {
            return false;
        }
        const auto sound = voice(samples.size(), delivered_);
        std::copy(sound.begin(), sound.end(), samples.begin());
        delivered_ += samples.size();
        return true;
    }
    void interrupt() override {
        std::lock_guard lock(mutex_);
        interrupted_ = true;
        wake_.notify_all();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::size_t delivered_ = 0;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool interrupted_ = false;
};

class PacedCapture : public AudioCapture {
public:
    std::unique_ptr<AudioInput> openDefaultInput(int, int) override { return std::make_unique<PacedInput>(); }
};

// Someone speaking into the sound server: voice played into the default sink, whose monitor the test
// server records from. It also keeps that sink running like a real device; idle, it hands out sound in
// blocks of seconds. Its own processor time is kept so that it can be left out of the figures.
class Speaker {
public:
    Speaker() {
        pa_sample_spec spec{};
        spec.format = PA_SAMPLE_S16NE;
        spec.rate = QORVViewerControl::SampleRate;
        spec.channels = 1;
        pa_buffer_attr attributes{};
        attributes.maxlength = attributes.prebuf = attributes.minreq = attributes.fragsize = UINT32_MAX;
        attributes.tlength = static_cast<uint32_t>(pa_usec_to_bytes(100000, &spec));
        int error = 0;
        stream_ = pa_simple_new(nullptr, "recording-bench", PA_STREAM_PLAYBACK, nullptr, "voice", &spec,
                                nullptr, &attributes, &error);
        if (stream_ != nullptr) {
            thread_ = std::thread([this] { speak(); });
        }
    }
    ~Speaker() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        if (stream_ != nullptr) {
            pa_simple_free(stream_);
        }
    }
    bool speaking() const { return stream_ != nullptr; }
    double cpuSeconds() const { return cpu_.load(); }

private:
    void speak() {
        std::size_t offset = 0;
        while (!stop_) {
            const auto sound = voice(160, offset);
            offset += sound.size();
            int error = 0;
            if (pa_simple_write(stream_, sound.data(), sound.size() * sizeof(std::int16_t), &error) < 0) {
                break;
            }
            cpu_ = ::cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        }
    }

    pa_simple* stream_ = nullptr;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<double> cpu_{0.0};
};

class TimingPlayer : public FlashPlayer {
public:
    void Movie(const QString&) override {}
    void FlashVars(const QString&) override {}
    void Scale(const QString&) override {}
    void SetVariable(const QString&, const QString&) override {}
    QString GetVariable(const QString&) override { return QString(); }
    QString CallFunction(const QString&) override {
        called = true;
        sinceStop = timer.nsecsElapsed() / 1e6;
        return QString();
    }
    void Stop() override {}
    void setFSCommandHandler(FSCommandHandler) override {}

    QElapsedTimer timer;
    bool called = false;
    double sinceStop = 0;
};

class TempEnvironment : public Environment {
public:
    explicit TempEnvironment(QString folder) : folder_(std::move(folder)) {}
    QString executablePath() const override { return QString(); }
    QStringList arguments() const override { return {}; }
    QString tempFolder() const override { return folder_; }
    QString programFilesFolder() const override { return QString(); }
    bool setCurrentFolder(const QString&) override { return false; }
    QString currentFolder() const override { return QString(); }

private:
    QString folder_;
};

class SilentDebug : public DebugOutput {
public:
    void line(const QString&) override {}
};

void runEventLoopFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void encoderAlone() {
    constexpr int seconds = 120;
    Mp3Encoder encoder(QORVViewerControl::SampleRate);
    const auto sound = voice(static_cast<std::size_t>(seconds) * QORVViewerControl::SampleRate, 0);
    QByteArray mp3;
    qint64 bytes = 0;
    const double before = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    for (std::size_t at = 0; at < sound.size(); at += 160) {
        encoder.encode(std::span(sound).subspan(at, 160), mp3);
        bytes += mp3.size();
    }
    encoder.flush(mp3);
    bytes += mp3.size();
    const double cpu = cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - before;
    std::printf("encoder alone: %d s of 8000 Hz mono in %.1f ms CPU = %.2f %% of one core while recording; "
                "%d kbps, %lld bytes\n",
                seconds, cpu * 1000, cpu / seconds * 100, encoder.bitRateKbps(),
                static_cast<long long>(bytes));
}

void recordWith(const char* name, AudioCapture& capture, const Speaker* speaker = nullptr) {
    QTemporaryDir dir;
    TempEnvironment env(dir.path() + QLatin1Char('/'));
    SilentDebug debug;
    QORVViewerControl control(env, debug, capture);
    TimingPlayer player;

    // Processor share: everything the process does during a five-second recording (capture, encoder,
    // file writes, the idle event loop), against the wall clock.
    constexpr int recordMs = 5000;
    const double speakerBefore = speaker != nullptr ? speaker->cpuSeconds() : 0.0;
    const double cpuBefore = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    QElapsedTimer wall;
    wall.start();
    control.StartRecording();
    runEventLoopFor(recordMs);
    const double speakerCpu = speaker != nullptr ? speaker->cpuSeconds() - speakerBefore : 0.0;
    const double cpu = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpuBefore - speakerCpu;
    const double elapsed = wall.nsecsElapsed() / 1e9;
    player.timer.start();
    control.StopRecording(player);
    while (!player.called) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    // A constant bit rate gives the length of the sound from the size of the file.
    const qint64 bytes = QFileInfo(control.RecordPath()).size();
    const double soundSeconds =
        static_cast<double>(bytes) * 8 / (Mp3Encoder(QORVViewerControl::SampleRate).bitRateKbps() * 1000.0);
    std::printf("%s: recording process used %.1f ms CPU in %.2f s = %.2f %% of one core; "
                "file %lld bytes = %.2f s of sound\n",
                name, cpu * 1000, elapsed, cpu / elapsed * 100, static_cast<long long>(bytes), soundSeconds);

    // Stop to call, and the start itself, over short recordings.
    std::vector<double> stops, starts;
    for (int i = 0; i < 20; ++i) {
        TimingPlayer p;
        QElapsedTimer startTimer;
        startTimer.start();
        control.StartRecording();
        starts.push_back(startTimer.nsecsElapsed() / 1e6);
        runEventLoopFor(300);
        p.timer.start();
        control.StopRecording(p);
        while (!p.called) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        }
        stops.push_back(p.sinceStop);
    }
    std::sort(stops.begin(), stops.end());
    std::sort(starts.begin(), starts.end());
    std::printf(
        "%s: stop to onRecordComplete over %zu recordings: min %.1f ms, median %.1f ms, max %.1f ms\n", name,
        stops.size(), stops.front(), stops[stops.size() / 2], stops.back());
    std::printf("%s: StartRecording (opening device, encoder and file): median %.2f ms, max %.2f ms\n", name,
                starts[starts.size() / 2], starts.back());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    encoderAlone();
    PacedCapture paced;
    recordWith("paced tone device", paced);
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER")) {
        std::printf("sound server: PULSE_SERVER is not set, real capture not measured "
                    "(source scripts/test-env.sh; start_test_env)\n");
    } else {
        try {
            PulseAudioCapture pulse;
            Speaker speaker;
            if (!speaker.speaking()) {
                std::printf(
                    "sound server: cannot play into the default sink; its monitor may deliver late\n");
            }
            // The sink wakes from idle in blocks of its longest latency; let it settle as a device would.
            runEventLoopFor(1000);
            recordWith("sound server", pulse, &speaker);
        } catch (const std::exception& e) {
            std::printf("sound server: %s\n", e.what());
        }
    }
    return 0;
}
