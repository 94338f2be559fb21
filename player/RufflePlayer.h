#pragma once

#include "bridge/FlashPlayer.h"
#include "player/ServedFiles.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QWidget>
#include <deque>
#include <utility>

class DebugOutput;
class PlayerPageHost;
class QEventLoop;
class QWebEnginePage;
class QWebEngineView;

// The Flash player of a window: Ruffle running in a web view. The page glue and the Ruffle files are found
// in the "ruffle" folder next to the executable (or where QORV_RUFFLE_DIR points). Movies start through a
// small bootstrap movie that lends the host its SetVariable and GetVariable. Calls into the movie go to the
// page in the order they were made; fscommands come back in the order the movie sent them.
class RufflePlayer : public QWidget, public FlashPlayer {
    Q_OBJECT
public:
    explicit RufflePlayer(DebugOutput& debug, QWidget* parent = nullptr);
    ~RufflePlayer() override;

    void Movie(const QString& path) override;
    void FlashVars(const QString& vars) override;
    void Scale(const QString& mode) override;
    void SetVariable(const QString& name, const QString& value) override;
    QString GetVariable(const QString& name) override;
    QString CallFunction(const QString& request) override;
    void Stop() override;
    void setFSCommandHandler(FSCommandHandler handler) override;

    // Lets the movie load files below folder (the recordings' temporary folder, the notes folder).
    void allowPath(const QString& folder);

    // How long GetVariable and CallFunction wait for the movie before they give the empty text.
    void setAnswerTimeout(int milliseconds) { answerTimeout_ = milliseconds; }

    static QString filesFolder();
    QWebEngineView* view() const { return view_; }

signals:
    // The movie given to Movie has replaced the bootstrap movie; its first frame runs next.
    void movieStarted();
    // A problem shown in the window instead of a movie.
    void problemShown(const QString& text);

private:
    struct DeviceFonts {
        QStringList sources; // file URLs
        QStringList folders;
        QJsonObject defaults; // Ruffle's defaultFonts
    };
    static DeviceFonts koreanFonts();

    void loadPage();
    void post(const QJsonArray& operation);
    void flush();
    QString ask(QJsonArray operation);
    void receiveCommands(const QJsonArray& commandsAndArgs);
    void showProblem(const QString& text);
    bool filesPresent();

    DebugOutput& debug_;
    QWebEngineView* view_;
    QWebEnginePage* page_;
    PlayerPageHost* host_;
    ServedFiles files_;
    DeviceFonts fonts_;
    QString hostName_;
    QString filesFolder_;
    bool filesMissing_ = false;
    bool pageReady_ = false;
    int restarts_ = 0;
    bool flushQueued_ = false;
    QJsonArray outbox_;

    QString flashVars_;
    QString scale_ = QStringLiteral("showAll");

    int answerTimeout_ = 5000;
    int lastQuestion_ = 0;
    QHash<int, QEventLoop*> waiting_;
    QHash<int, QString> answers_;

    FSCommandHandler handler_;
    std::deque<std::pair<QString, QString>> commands_;
    bool delivering_ = false;
};
