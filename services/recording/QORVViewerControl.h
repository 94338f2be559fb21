#pragma once

#include <QString>
#include <memory>
#include <vector>

class AudioCapture;
class DebugOutput;
class Environment;
class FlashPlayer;
class QObject;

// Records the reader's voice into numbered MP3 files in the temporary folder and tells the content of the
// window that stopped a recording where its file is. The main window owns the one controller; pop-up
// windows borrow it, so all windows drive one recorder.
//
// Capture and encoding run on a worker thread per recording; everything else, including the call into
// the content, happens on the thread that created the controller (the user-interface thread). The content
// is told a path only once the file is complete and in place.
class QORVViewerControl {
public:
    QORVViewerControl(Environment& environment, DebugOutput& debug, AudioCapture& capture);
    // Stops a recording in progress and closes its file without telling any content; waits at most a
    // moment for the workers.
    ~QORVViewerControl();
    QORVViewerControl(const QORVViewerControl&) = delete;
    QORVViewerControl& operator=(const QORVViewerControl&) = delete;

    // Throws QorvError when a recording runs ("Component is Busy") or when the capture device, the
    // encoder or the file cannot be opened; nothing changes then.
    void StartRecording();
    // Returns at once. When the file is complete, "onRecordComplete" with its path is called in player,
    // on this controller's thread. Does nothing when no recording runs.
    void StopRecording(FlashPlayer& player);
    // A window whose player is going away calls this: a completion still due to it is dropped.
    void forgetPlayer(FlashPlayer& player);

    // Path of the recording last started.
    const QString& RecordPath() const { return recordPath_; }
    // A recording was started and has not been stopped.
    bool Recording() const { return recording_; }

    // Numbers the recordings of this process: micrec1.mp3, micrec2.mp3, ... Touched only on the
    // user-interface thread.
    static int RecordCounter;

    static constexpr int SampleRate = 8000;
    static constexpr int Channels = 1;

private:
    struct Session;

    void launch(std::unique_ptr<Session> session);
    void workerFinished(Session* session, bool written);
    void completeIfReady(Session* session);
    void remove(Session* session);

    Environment& environment_;
    DebugOutput& debug_;
    AudioCapture& capture_;
    QString recordPath_;
    bool recording_ = false;
    Session* current_ = nullptr;
    // The recording in progress and those whose worker is still closing the file.
    std::vector<std::unique_ptr<Session>> sessions_;
    // Queued calls from the workers land here, on the user-interface thread; deleting it drops them.
    std::unique_ptr<QObject> receiver_;
};
