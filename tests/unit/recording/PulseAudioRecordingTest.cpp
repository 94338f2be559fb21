#include "platform/linux/PulseAudioCapture.h"

#include "bridge/ContentCalls.h"
#include "core/QorvError.h"
#include "services/recording/QORVViewerControl.h"
#include "unit/fakes/FakeFlashPlayer.h"
#include "unit/fakes/FakePlatform.h"
#include "unit/recording/Mp3Inspection.h"
#include "unit/recording/RecordingTestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <pulse/simple.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

// The real capture path against the private sound server that scripts/test-env.sh starts: its default
// source hears whatever is played into its default sink.

namespace {

using recordingtest::processEventsUntil;
using recordingtest::readFile;

// Plays a sine tone into the default sink, returning when the server has taken the last of it (writes
// are paced by the sound clock); false when the server refuses.
bool playTone(double hz, double seconds) {
    pa_sample_spec spec{};
    spec.format = PA_SAMPLE_S16NE;
    spec.rate = 8000;
    spec.channels = 1;
    // A short playback buffer, so that the server takes the tone as fast as it plays it.
    pa_buffer_attr attributes{};
    attributes.maxlength = attributes.prebuf = attributes.minreq = attributes.fragsize = UINT32_MAX;
    attributes.tlength = static_cast<uint32_t>(pa_usec_to_bytes(100000, &spec));
    int error = 0;
    pa_simple* out = pa_simple_new(nullptr, "qorv-tests", PA_STREAM_PLAYBACK, nullptr, "tone", &spec, nullptr,
                                   &attributes, &error);
    if (out == nullptr) {
        return false;
    }
    std::vector<std::int16_t> tone(static_cast<std::size_t>(seconds * spec.rate));
    for (std::size_t i = 0; i < tone.size(); ++i) {
        tone[i] = static_cast<std::int16_t>(12000.0 * std::sin(2.0 * std::numbers::pi * hz * i / spec.rate));
    }
    const bool ok = pa_simple_write(out, tone.data(), tone.size() * sizeof(std::int16_t), &error) >= 0;
    pa_simple_free(out);
    return ok;
}

class RealRecordingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        env.temp = dir.path() + QLatin1Char('/');
        QORVViewerControl::RecordCounter = 1;
    }
    QTemporaryDir dir;
    FakeEnvironment env;
    CapturingDebugOutput debug;
    FakeFlashPlayer player;
};

TEST_F(RealRecordingTest, RecordsTheTonePlayedIntoTheDefaultSinkAsConstantBitRateMono8kHzMp3) {
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER")) {
        GTEST_SKIP() << "no test sound server: run the tests through scripts/test.sh, or source "
                        "scripts/test-env.sh and call start_test_env first";
    }
    PulseAudioCapture capture;
    QORVViewerControl control(env, debug, capture);
    control.StartRecording();
    ASSERT_TRUE(playTone(880.0, 1.0));
    control.StopRecording(player);
    ASSERT_TRUE(processEventsUntil([&] { return !player.calls.isEmpty(); }))
        << debug.lines.join('\n').toStdString();

    const QString path = dir.path() + QStringLiteral("//micrec1.mp3");
    EXPECT_EQ(
        player.calls,
        QStringList({QStringLiteral("CallFunction(%1)").arg(contentcalls::onRecordCompleteRequest(path))}));
    const QByteArray bytes = readFile(path);
    const auto stream = mp3inspection::parseFrames(bytes);
    ASSERT_TRUE(stream.error.isEmpty()) << stream.error.toStdString();
    EXPECT_TRUE(stream.layer3);
    EXPECT_TRUE(stream.mono);
    EXPECT_EQ(stream.sampleRate, 8000);
    EXPECT_EQ(stream.bitRatesKbps.size(), 1);

    int rate = 0;
    const auto pcm = mp3inspection::decode(bytes, rate);
    EXPECT_EQ(rate, 8000);
    // A loaded machine may starve the sound server; half a second of sound is enough to find the tone.
    EXPECT_GE(pcm.size(), 4000u);
    EXPECT_NEAR(mp3inspection::dominantFrequency(pcm, rate), 880.0, 10.0);
}

TEST_F(RealRecordingTest, UnreachableSoundServerFailsTheStartAndTheStopMakesNoCall) {
    PulseAudioCapture capture(QStringLiteral("unix:") + dir.path() + QStringLiteral("/no-server"));
    QORVViewerControl control(env, debug, capture);
    try {
        control.StartRecording();
        FAIL() << "the start must fail";
    } catch (const QorvError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("The sound-capture device cannot be opened: ")))
            << e.message().toStdString();
    }
    EXPECT_FALSE(control.Recording());
    control.StopRecording(player);
    QCoreApplication::processEvents();
    EXPECT_TRUE(player.calls.isEmpty());
    EXPECT_EQ(QORVViewerControl::RecordCounter, 1);
}

} // namespace
