#include "services/recording/QORVViewerControl.h"

#include "bridge/ContentCalls.h"
#include "core/QorvError.h"
#include "unit/fakes/FakeAudioCapture.h"
#include "unit/fakes/FakeFlashPlayer.h"
#include "unit/fakes/FakePlatform.h"
#include "unit/recording/Mp3Inspection.h"
#include "unit/recording/RecordingTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

using recordingtest::processEventsUntil;
using recordingtest::readFile;

// Looks at the recording at the moment the content is told about it: the file must already be the
// complete stream, and the call must come on the user-interface thread.
class InspectingPlayer : public FakeFlashPlayer {
public:
    QString CallFunction(const QString& request) override {
        onUiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
        const QString path =
            request.section(QStringLiteral("<string>"), 1).section(QStringLiteral("</string>"), 0, 0);
        fileAtCall = readFile(path);
        return FakeFlashPlayer::CallFunction(request);
    }
    bool onUiThread = false;
    QByteArray fileAtCall;
};

class RecordingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        env.temp = dir.path() + QLatin1Char('/');
        QORVViewerControl::RecordCounter = 1;
    }

    QString recordingPath(int n) const { return dir.path() + QStringLiteral("//micrec%1.mp3").arg(n); }
    static QString completion(const QString& path) {
        return QStringLiteral("CallFunction(%1)").arg(contentcalls::onRecordCompleteRequest(path));
    }
    // Start, let the device deliver its tone, stop in stopper and wait for the call to watched.
    void record(FlashPlayer& stopper, FakeFlashPlayer& watched) {
        const auto before = watched.calls.size();
        const int target = capture.samplesDelivered + capture.toneSamples;
        control.StartRecording();
        ASSERT_TRUE(processEventsUntil([&] { return capture.samplesDelivered >= target; }));
        control.StopRecording(stopper);
        ASSERT_TRUE(processEventsUntil([&] { return watched.calls.size() > before; }));
    }

    QTemporaryDir dir;
    FakeEnvironment env;
    CapturingDebugOutput debug;
    FakeAudioCapture capture;
    QORVViewerControl control{env, debug, capture};
    FakeFlashPlayer mainPlayer;
    FakeFlashPlayer popupPlayer;
};

TEST_F(RecordingTest, RecordingsOfARunAreNumberedFromOneAndReportedWhenComplete) {
    record(mainPlayer, mainPlayer);
    record(mainPlayer, mainPlayer);

    EXPECT_EQ(mainPlayer.calls, QStringList({completion(recordingPath(1)), completion(recordingPath(2))}));
    EXPECT_EQ(debug.lines, QStringList({recordingPath(1), recordingPath(2)}));
    EXPECT_EQ(control.RecordPath(), recordingPath(2));
    EXPECT_EQ(QORVViewerControl::RecordCounter, 3);
    EXPECT_FALSE(control.Recording());
    EXPECT_EQ(capture.opened, (QList<QPair<int, int>>{{8000, 1}, {8000, 1}}));
    for (int n : {1, 2}) {
        EXPECT_TRUE(mp3inspection::parseFrames(readFile(recordingPath(n))).error.isEmpty()) << n;
    }
}

TEST_F(RecordingTest, FileIsConstantBitRateMono8kHzMp3OfTheTone) {
    capture.toneHz = 1230;
    capture.toneSamples = 16000;
    record(mainPlayer, mainPlayer);

    const QByteArray bytes = readFile(recordingPath(1));
    const auto stream = mp3inspection::parseFrames(bytes);
    ASSERT_TRUE(stream.error.isEmpty()) << stream.error.toStdString();
    EXPECT_TRUE(stream.layer3);
    EXPECT_TRUE(stream.mono);
    EXPECT_EQ(stream.sampleRate, 8000);
    EXPECT_EQ(stream.bitRatesKbps.size(), 1);
    // 576 samples a frame at this rate: about two seconds of sound.
    EXPECT_GE(stream.frames, 16000 / 576);

    int rate = 0;
    const auto pcm = mp3inspection::decode(bytes, rate);
    EXPECT_EQ(rate, 8000);
    EXPECT_GE(pcm.size(), 15000u);
    EXPECT_NEAR(mp3inspection::dominantFrequency(pcm, rate), 1230.0, 10.0);
}

TEST_F(RecordingTest, ContentIsToldOnlyOnceTheFileIsCompleteAndOnTheUiThread) {
    InspectingPlayer player;
    control.StartRecording();
    control.StopRecording(player);
    EXPECT_TRUE(player.calls.isEmpty()) << "the stop must return before the file is closed";
    ASSERT_TRUE(processEventsUntil([&] { return !player.calls.isEmpty(); }));

    EXPECT_TRUE(player.onUiThread);
    EXPECT_EQ(player.fileAtCall, readFile(recordingPath(1)));
    const auto stream = mp3inspection::parseFrames(player.fileAtCall);
    EXPECT_TRUE(stream.error.isEmpty()) << stream.error.toStdString();
    // No half-written file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({QStringLiteral("micrec1.mp3")}));
}

TEST_F(RecordingTest, CompletionGoesToThePlayerOfTheWindowThatStopped) {
    // Started from one window's content, stopped from the other's, both ways round.
    record(popupPlayer, popupPlayer);
    EXPECT_TRUE(mainPlayer.calls.isEmpty());
    record(mainPlayer, mainPlayer);
    EXPECT_EQ(popupPlayer.calls, QStringList({completion(recordingPath(1))}));
    EXPECT_EQ(mainPlayer.calls, QStringList({completion(recordingPath(2))}));
}

TEST_F(RecordingTest, StopWithoutARunningRecordingMakesNoCall) {
    control.StopRecording(mainPlayer); // never started
    record(mainPlayer, mainPlayer);
    control.StopRecording(mainPlayer); // already stopped
    QCoreApplication::processEvents();

    EXPECT_EQ(mainPlayer.calls, QStringList({completion(recordingPath(1))}));
    EXPECT_EQ(QORVViewerControl::RecordCounter, 2);
}

TEST_F(RecordingTest, StartWhileRecordingFailsBusyAndChangesNothing) {
    control.StartRecording();
    try {
        control.StartRecording();
        FAIL() << "a second start must fail";
    } catch (const QorvError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Component is Busy"));
    }
    EXPECT_TRUE(control.Recording());
    EXPECT_EQ(control.RecordPath(), recordingPath(1));
    EXPECT_EQ(QORVViewerControl::RecordCounter, 2);
    EXPECT_EQ(debug.lines, QStringList({recordingPath(1)}));
    EXPECT_EQ(capture.opened.size(), 1);

    // The stop reports the file that was actually recorded.
    control.StopRecording(mainPlayer);
    ASSERT_TRUE(processEventsUntil([&] { return !mainPlayer.calls.isEmpty(); }));
    EXPECT_EQ(mainPlayer.calls, QStringList({completion(recordingPath(1))}));
    EXPECT_FALSE(QFile::exists(recordingPath(2)));
}

struct StartFailure {
    const char* name;
    QString openError;   // the capture device refuses
    bool missingTempDir; // the file cannot be created
    QString messagePart;
};

class RecordingStartFailureTest : public RecordingTest, public ::testing::WithParamInterface<StartFailure> {};

TEST_P(RecordingStartFailureTest, NothingBeginsAndALaterStopMakesNoCall) {
    const StartFailure& c = GetParam();
    capture.openError = c.openError;
    if (c.missingTempDir) {
        env.temp = dir.path() + QStringLiteral("/missing/");
    }
    try {
        control.StartRecording();
        FAIL() << "the start must fail";
    } catch (const QorvError& e) {
        EXPECT_TRUE(e.message().contains(c.messagePart)) << e.message().toStdString();
    }
    EXPECT_FALSE(control.Recording());
    EXPECT_TRUE(control.RecordPath().isEmpty());
    EXPECT_EQ(QORVViewerControl::RecordCounter, 1);
    EXPECT_TRUE(debug.lines.isEmpty());

    control.StopRecording(mainPlayer);
    QCoreApplication::processEvents();
    EXPECT_TRUE(mainPlayer.calls.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    // Once the cause is gone, recording works and starts at number one.
    capture.openError.clear();
    env.temp = dir.path() + QLatin1Char('/');
    record(mainPlayer, mainPlayer);
    EXPECT_EQ(mainPlayer.calls, QStringList({completion(recordingPath(1))}));
}

INSTANTIATE_TEST_SUITE_P(
    Causes, RecordingStartFailureTest,
    ::testing::Values(
        StartFailure{"NoCaptureDevice", QStringLiteral("The sound-capture device cannot be opened: x"), false,
                     QStringLiteral("sound-capture device")},
        StartFailure{"FileCannotBeCreated", QString(), true, QStringLiteral("cannot be created")}),
    [](const ::testing::TestParamInfo<StartFailure>& p) { return std::string(p.param.name); });

struct DeviceLoss {
    const char* name;
    int samplesBeforeLoss;
    bool reported; // a file with the sound before the loss is reported; with no sound at all, nothing is
};

class RecordingDeviceLossTest : public RecordingTest, public ::testing::WithParamInterface<DeviceLoss> {};

TEST_P(RecordingDeviceLossTest, TheStopReportsOnlyAFileThatHoldsSound) {
    capture.toneSamples = GetParam().samplesBeforeLoss;
    capture.failAfterTone = true;
    control.StartRecording();
    // The worker ends by itself; the recording still counts as running until the content stops it.
    QCoreApplication::processEvents();
    EXPECT_TRUE(control.Recording());
    EXPECT_THROW(control.StartRecording(), QorvError);

    control.StopRecording(mainPlayer);
    if (GetParam().reported) {
        ASSERT_TRUE(processEventsUntil([&] { return !mainPlayer.calls.isEmpty(); }));
        EXPECT_EQ(mainPlayer.calls, QStringList({completion(recordingPath(1))}));
        EXPECT_TRUE(mp3inspection::parseFrames(readFile(recordingPath(1))).error.isEmpty());
    } else {
        ASSERT_TRUE(processEventsUntil([&] { return debug.lines.size() == 2; }));
        EXPECT_TRUE(debug.lines.last().contains(recordingPath(1)));
        EXPECT_TRUE(mainPlayer.calls.isEmpty());
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RecordingDeviceLossTest,
                         ::testing::Values(DeviceLoss{"AfterSound", 4000, true},
                                           DeviceLoss{"BeforeAnySound", 0, false}),
                         [](const ::testing::TestParamInfo<DeviceLoss>& p) {
                             return std::string(p.param.name);
                         });

enum class BeforeClosing { Nothing, Stop, DeviceLost };

struct Shutdown {
    const char* name;
    BeforeClosing before;
};

class RecordingShutdownTest : public ::testing::TestWithParam<Shutdown> {};

// The main window closes while a recording runs, while a stopped one is still being closed, or after
// its device was lost and before the content stopped it.
TEST_P(RecordingShutdownTest, ClosingTheWindowKeepsACompleteFileAndTellsNobody) {
    QTemporaryDir dir;
    FakeEnvironment env;
    env.temp = dir.path() + QLatin1Char('/');
    CapturingDebugOutput debug;
    FakeAudioCapture capture;
    capture.failAfterTone = GetParam().before == BeforeClosing::DeviceLost;
    FakeFlashPlayer player;
    QORVViewerControl::RecordCounter = 1;
    {
        QORVViewerControl control(env, debug, capture);
        control.StartRecording();
        if (GetParam().before == BeforeClosing::Stop) {
            control.StopRecording(player);
        }
        if (GetParam().before == BeforeClosing::DeviceLost) {
            // Let the worker end by itself before the window closes.
            ASSERT_TRUE(processEventsUntil(
                [&] { return QFile::exists(dir.path() + QStringLiteral("/micrec1.mp3")); }));
            QCoreApplication::processEvents();
        }
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(player.calls.isEmpty());
    const auto stream = mp3inspection::parseFrames(readFile(dir.path() + QStringLiteral("//micrec1.mp3")));
    EXPECT_TRUE(stream.error.isEmpty()) << stream.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Moments, RecordingShutdownTest,
                         ::testing::Values(Shutdown{"WhileRecording", BeforeClosing::Nothing},
                                           Shutdown{"AfterStop", BeforeClosing::Stop},
                                           Shutdown{"AfterDeviceLoss", BeforeClosing::DeviceLost}),
                         [](const ::testing::TestParamInfo<Shutdown>& p) {
                             return std::string(p.param.name);
                         });

TEST_F(RecordingTest, PlayerThatWentAwayIsNotCalled) {
    control.StartRecording();
    control.StopRecording(popupPlayer);
    control.forgetPlayer(popupPlayer);
    ASSERT_TRUE(processEventsUntil([&] { return !control.Recording() && QFile::exists(recordingPath(1)); }));
    // A later recording still reaches the window that stops it.
    record(mainPlayer, mainPlayer);
    EXPECT_TRUE(popupPlayer.calls.isEmpty());
    EXPECT_EQ(mainPlayer.calls, QStringList({completion(recordingPath(2))}));
}

} // namespace
