#include "services/recording/QORVViewerControl.h"

#include "bridge/ContentCalls.h"
#include "core/DebugOutput.h"
#include "core/Environment.h"
#include "core/QorvError.h"
#include "services/recording/AudioCapture.h"
#include "services/recording/Mp3Encoder.h"

#include <QDir>
#include <QMetaObject>
#include <QObject>
#include <QSaveFile>

#include <array>
#include <atomic>
#include <chrono>
#include <future>
#include <limits>
#include <mutex>
#include <system_error>
#include <thread>

int QORVViewerControl::RecordCounter = 1;

namespace {

// 20 ms of sound per read: a stop is noticed within that time even by a device that cannot be
// interrupted, and the worker wakes only 50 times a second.
constexpr std::size_t kChunkSamples = QORVViewerControl::SampleRate / 50;

// How long closing the window waits for the workers before leaving them behind.
constexpr std::chrono::milliseconds kShutdownWait{2000};

bool writeAll(QSaveFile& file, const QByteArray& bytes) {
    return bytes.isEmpty() || file.write(bytes) == bytes.size();
}

} // namespace

// One recording: its device, encoder and file, and the worker that moves sound from one to the other.
struct QORVViewerControl::Session {
    explicit Session(const QString& filePath) : path(filePath), file(filePath) {}
    // The worker has ended or is about to: it has reported, or the controller waited for it.
    ~Session() {
        if (worker.joinable()) {
            worker.join();
        }
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Worker thread: capture and encode until asked to stop or the device fails, then flush the encoder
    // and put the file in place. True when a file holding captured sound was put in place.
    bool record() {
        std::array<std::int16_t, kChunkSamples> pcm{};
        QByteArray mp3;
        bool captured = false;
        bool ok = true;
        // At least one read, so that a stop straight after the start still leaves a short recording.
        do {
            if (!input->read(pcm)) {
                break;
            }
            captured = true;
            ok = encoder->encode(pcm, mp3) && writeAll(file, mp3);
        } while (ok && !stopRequested.load(std::memory_order_acquire));
        ok = ok && captured && encoder->flush(mp3) && writeAll(file, mp3);
        if (!ok) {
            file.cancelWriting();
        }
        return file.commit() && ok;
    }

    const QString path;
    std::unique_ptr<AudioInput> input;
    std::unique_ptr<Mp3Encoder> encoder;
    QSaveFile file;
    std::atomic<bool> stopRequested{false};
    std::thread worker;
    std::promise<void> done;
    std::future<void> doneFuture = done.get_future();

    std::mutex receiverMutex;
    QObject* receiver = nullptr; // guarded by receiverMutex; null once nobody listens

    // User-interface thread only.
    bool finished = false;
    bool written = false;
    bool stopped = false;
    FlashPlayer* player = nullptr;
};

QORVViewerControl::QORVViewerControl(Environment& environment, DebugOutput& debug, AudioCapture& capture)
    : environment_(environment), debug_(debug), capture_(capture), receiver_(std::make_unique<QObject>()) {}

QORVViewerControl::~QORVViewerControl() {
    for (auto& session : sessions_) {
        {
            std::lock_guard lock(session->receiverMutex);
            session->receiver = nullptr;
        }
        session->stopRequested.store(true, std::memory_order_release);
        session->input->interrupt();
    }
    const auto deadline = std::chrono::steady_clock::now() + kShutdownWait;
    for (auto& session : sessions_) {
        if (session->doneFuture.wait_until(deadline) != std::future_status::ready) {
            // A device that hangs must not hang the closing window. The worker still uses its session,
            // so the session is left to it; it tells nobody when it ends.
            debug_.line(QStringLiteral("Recording did not end in time: ") + session->path);
            session->worker.detach();
            static_cast<void>(session.release());
        }
    }
}

void QORVViewerControl::StartRecording() {
    if (recording_) {
        throw QorvError(QStringLiteral("Component is Busy"));
    }
    const QString path = environment_.tempFolder() + QDir::separator() + QStringLiteral("micrec") +
                         QString::number(RecordCounter) + QStringLiteral(".mp3");

    auto session = std::make_unique<Session>(path);
    session->input = capture_.openDefaultInput(SampleRate, Channels);
    if (!session->input) {
        throw QorvError(QStringLiteral("The sound-capture device cannot be opened."));
    }
    session->encoder = std::make_unique<Mp3Encoder>(SampleRate);
    if (!session->file.open(QIODevice::WriteOnly)) {
        throw QorvError(QStringLiteral("The recording file %1 cannot be created: %2")
                            .arg(path, session->file.errorString()));
    }
    launch(std::move(session));

    debug_.line(path);
    recordPath_ = path;
    RecordCounter = RecordCounter == std::numeric_limits<int>::max() ? 1 : RecordCounter + 1;
    recording_ = true;
}

void QORVViewerControl::launch(std::unique_ptr<Session> session) {
    Session* s = session.get();
    s->receiver = receiver_.get();
    try {
        s->worker = std::thread([this, s] {
            const bool written = s->record();
            {
                std::lock_guard lock(s->receiverMutex);
                if (s->receiver != nullptr) {
                    QMetaObject::invokeMethod(
                        s->receiver, [this, s, written] { workerFinished(s, written); },
                        Qt::QueuedConnection);
                }
            }
            s->done.set_value();
        });
    } catch (const std::system_error& e) {
        throw QorvError(
            QStringLiteral("The recording cannot be started: %1").arg(QString::fromLocal8Bit(e.what())));
    }
    sessions_.push_back(std::move(session));
    current_ = s;
}

void QORVViewerControl::StopRecording(FlashPlayer& player) {
    if (!recording_) {
        return;
    }
    Session* s = current_;
    recording_ = false;
    current_ = nullptr;
    s->stopped = true;
    s->player = &player;
    s->stopRequested.store(true, std::memory_order_release);
    s->input->interrupt();
    if (s->finished) {
        // The device ended before the stop and the file is already in place; answer like any other stop,
        // after the command has returned.
        QMetaObject::invokeMethod(
            receiver_.get(), [this, s] { completeIfReady(s); }, Qt::QueuedConnection);
    }
}

void QORVViewerControl::forgetPlayer(FlashPlayer& player) {
    for (auto& session : sessions_) {
        if (session->player == &player) {
            session->player = nullptr;
        }
    }
}

void QORVViewerControl::workerFinished(Session* session, bool written) {
    session->finished = true;
    session->written = written;
    completeIfReady(session);
}

void QORVViewerControl::completeIfReady(Session* session) {
    if (!session->finished || !session->stopped) {
        return;
    }
    const QString path = session->path;
    const bool written = session->written;
    FlashPlayer* player = session->player;
    // Gone before the call: the player may run an event loop in which anything can happen.
    remove(session);
    if (!written) {
        debug_.line(QStringLiteral("Recording failed, nothing was written: ") + path);
    } else if (player != nullptr) {
        contentcalls::onRecordComplete(*player, path);
    }
}

void QORVViewerControl::remove(Session* session) {
    std::erase_if(sessions_, [session](const std::unique_ptr<Session>& s) { return s.get() == session; });
}
