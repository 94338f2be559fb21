#include "player/RufflePlayer.h"

#include "core/DebugOutput.h"
#include "core/NativePath.h"
#include "player/MovieFile.h"
#include "player/PlayerPageHost.h"
#include "player/PlayerProtocol.h"
#include "player/PlayerWebProfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

const char* const requiredFiles[] = {"qorv-player.html", "qorv-player.js", "qorv-bootstrap.swf", "ruffle.js"};

// Passes the page's own errors (Ruffle reports its failures there) to the program's log.
class PlayerPage : public QWebEnginePage {
public:
    PlayerPage(QWebEngineProfile* profile, DebugOutput& debug, QObject* parent)
        : QWebEnginePage(profile, parent), debug_(debug) {}

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                  const QString& source) override {
        if (level == ErrorMessageLevel || qEnvironmentVariableIsSet("QORV_PLAYER_CONSOLE")) {
            debug_.line(QStringLiteral("[RufflePlayer] page: %1 (%2:%3)").arg(message, source).arg(line));
        }
    }
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        // The page never leaves the glue: a movie's getURL must not replace the player.
        return type == NavigationTypeTyped || !isMainFrame ||
               url.scheme() == QLatin1String(PlayerWebProfile::scheme);
    }

private:
    DebugOutput& debug_;
};

QString fileUrl(const QString& nativePath) {
    return QUrl::fromLocalFile(nativePath).toString(QUrl::FullyEncoded);
}

QString webChannelScript() {
    QFile file(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The first of the given font files found in the usual font folders.
QString findFont(const QStringList& names) {
    const QStringList folders = {
        QStringLiteral("/usr/share/fonts/truetype/nanum"), QStringLiteral("/usr/share/fonts/nanum"),
        QStringLiteral("/usr/local/share/fonts"), QDir::homePath() + QStringLiteral("/.local/share/fonts"),
        QDir::homePath() + QStringLiteral("/.fonts")};
    for (const QString& name : names) {
        for (const QString& folder : folders) {
            const QString path = folder + QLatin1Char('/') + name;
            if (QFileInfo::exists(path)) {
                return path;
            }
        }
    }
    return {};
}

QString htmlEscaped(const QString& text) {
    return text.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>"));
}

} // namespace

// Ruffle's own device font has no Hangul, and its option to draw device text with the browser's fonts did
// not draw Hangul here either. So Ruffle is given Korean TrueType fonts to read itself and they become its
// device fonts: the same glyphs whatever the web engine's font fallback does.
RufflePlayer::DeviceFonts RufflePlayer::koreanFonts() {
    DeviceFonts fonts;
    // One font for all three device faces: every font file is read again by each new player, and a
    // second family (a serif) doubled the time to the first frame.
    const QString sans =
        findFont({QStringLiteral("NanumGothic.ttf"), QStringLiteral("NanumBarunGothic.ttf")});
    if (sans.isEmpty()) {
        return fonts;
    }
    const QString family = QFileInfo(sans).baseName();
    fonts.sources << fileUrl(sans);
    fonts.folders << QFileInfo(sans).absolutePath();
    for (const char* face : {"sans", "serif", "typewriter"}) {
        fonts.defaults.insert(QLatin1String(face), QJsonArray{family});
    }
    return fonts;
}

RufflePlayer::RufflePlayer(DebugOutput& debug, QWidget* parent)
    : QWidget(parent), debug_(debug), host_(new PlayerPageHost(this)), filesFolder_(filesFolder()) {
    PlayerWebProfile& web = PlayerWebProfile::instance();
    hostName_ = web.addPlayer(&files_, &debug_);
    files_.allowFolder(filesFolder_);
    fonts_ = koreanFonts();
    for (const QString& folder : std::as_const(fonts_.folders)) {
        files_.allowFolder(folder);
    }

    view_ = new QWebEngineView(this);
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    page_ = new PlayerPage(web.profile(), debug_, view_);
    QWebEngineSettings* settings = page_->settings();
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, true);
    page_->setBackgroundColor(Qt::white);

    QWebEngineScript channelScript;
    channelScript.setName(QStringLiteral("qwebchannel"));
    channelScript.setSourceCode(webChannelScript());
    channelScript.setInjectionPoint(QWebEngineScript::DocumentCreation);
    channelScript.setWorldId(QWebEngineScript::MainWorld);
    page_->scripts().insert(channelScript);
    auto* channel = new QWebChannel(page_);
    channel->registerObject(QStringLiteral("host"), host_);
    page_->setWebChannel(channel);
    view_->setPage(page_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);

    connect(host_, &PlayerPageHost::ready, this, [this] {
        pageReady_ = true;
        flush();
    });
    connect(host_, &PlayerPageHost::commands, this, &RufflePlayer::receiveCommands, Qt::QueuedConnection);
    connect(host_, &PlayerPageHost::answered, this, [this](int id, const QString& value) {
        if (QEventLoop* loop = waiting_.value(id)) {
            answers_.insert(id, value);
            loop->quit();
        }
    });
    connect(host_, &PlayerPageHost::started, this, &RufflePlayer::movieStarted);
    connect(host_, &PlayerPageHost::log, this,
            [this](const QString& text) { debug_.line(QStringLiteral("[RufflePlayer] ") + text); });
    connect(page_, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus, int code) {
                // The movie is gone; a fresh page shows why and takes the next Movie. Pending calls give up
                // on their own time-out.
                pageReady_ = false;
                outbox_ = QJsonArray();
                showProblem(QStringLiteral("The player stopped unexpectedly (exit code %1).").arg(code));
                if (++restarts_ <= 3) {
                    loadPage();
                }
            });

    if (filesPresent()) {
        loadPage();
    }
}

void RufflePlayer::loadPage() {
    QUrl page;
    page.setScheme(QLatin1String(PlayerWebProfile::scheme));
    page.setHost(hostName_);
    page.setPath(filesFolder_ + QStringLiteral("/qorv-player.html"));
    page_->load(page);
}

RufflePlayer::~RufflePlayer() {
    for (QEventLoop* loop : std::as_const(waiting_)) {
        loop->quit();
    }
    PlayerWebProfile::instance().removePlayer(hostName_);
}

QString RufflePlayer::filesFolder() {
    const QString configured = qEnvironmentVariable("QORV_RUFFLE_DIR");
    if (!configured.isEmpty()) {
        return QDir::cleanPath(QDir(configured).absolutePath());
    }
    return QCoreApplication::applicationDirPath() + QStringLiteral("/ruffle");
}

bool RufflePlayer::filesPresent() {
    QStringList missing;
    for (const char* name : requiredFiles) {
        if (!QFileInfo::exists(filesFolder_ + QLatin1Char('/') + QLatin1String(name))) {
            missing << QLatin1String(name);
        }
    }
    if (missing.isEmpty()) {
        return true;
    }
    filesMissing_ = true;
    showProblem(QStringLiteral("The player's files are missing from %1: %2")
                    .arg(QDir::toNativeSeparators(filesFolder_), missing.join(QLatin1String(", "))));
    return false;
}

void RufflePlayer::showProblem(const QString& text) {
    debug_.line(QStringLiteral("[RufflePlayer] ") + text);
    if (!filesMissing_) {
        post(QJsonArray{QStringLiteral("error"), text});
    } else {
        page_->setHtml(
            QStringLiteral("<html><body style=\"font:16px sans-serif;margin:2em\"><p>%1</p></body></html>")
                .arg(htmlEscaped(text)));
    }
    emit problemShown(text);
}

void RufflePlayer::Movie(const QString& path) {
    if (path.isEmpty() || path.compare(QLatin1String("about:blank"), Qt::CaseInsensitive) == 0) {
        post(QJsonArray{QStringLiteral("blank")});
        return;
    }
    if (filesMissing_) {
        debug_.line(
            QStringLiteral("[RufflePlayer] cannot play %1: the player's files are missing").arg(path));
        return;
    }
    const QUrl asUrl(path);
    const QString scheme = asUrl.scheme().toLower();
    QString bookUrl;
    QString baseUrl;
    QString backgroundColor;
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https")) {
        bookUrl = asUrl.toString(QUrl::FullyEncoded);
        baseUrl = asUrl.resolved(QUrl(QStringLiteral("."))).toString(QUrl::FullyEncoded);
    } else {
        const QString given = scheme == QLatin1String("file") ? asUrl.toLocalFile() : path;
        const QString local = QFileInfo(nativepath::toNative(given)).absoluteFilePath();
        const MovieFileInfo info = inspectMovieFile(local);
        if (!info.problem.isEmpty()) {
            showProblem(QStringLiteral("Cannot play the movie %1: %2").arg(path, info.problem));
            return;
        }
        const QString folder = QFileInfo(local).absolutePath();
        files_.setBookFolder(folder);
        bookUrl = fileUrl(local);
        baseUrl = fileUrl(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
        backgroundColor = info.backgroundColor;
    }
    QJsonObject movie;
    movie.insert(QStringLiteral("bootstrap"), fileUrl(filesFolder_ + QStringLiteral("/qorv-bootstrap.swf")));
    movie.insert(QStringLiteral("book"), bookUrl);
    movie.insert(QStringLiteral("flashVars"), flashVars_);
    movie.insert(QStringLiteral("base"), baseUrl);
    movie.insert(QStringLiteral("scale"), scale_);
    movie.insert(QStringLiteral("backgroundColor"), backgroundColor);
    movie.insert(QStringLiteral("fontSources"), QJsonArray::fromStringList(fonts_.sources));
    movie.insert(QStringLiteral("defaultFonts"), fonts_.defaults);
    post(QJsonArray{QStringLiteral("load"), movie});
}

void RufflePlayer::FlashVars(const QString& vars) {
    flashVars_ = vars;
}

void RufflePlayer::Scale(const QString& mode) {
    scale_ = playerprotocol::ruffleScaleMode(mode);
    post(QJsonArray{QStringLiteral("scale"), scale_});
}

void RufflePlayer::SetVariable(const QString& name, const QString& value) {
    post(QJsonArray{QStringLiteral("set"), playerprotocol::absoluteVariableName(name), value});
}

QString RufflePlayer::GetVariable(const QString& name) {
    return ask(QJsonArray{QStringLiteral("get"), playerprotocol::absoluteVariableName(name)});
}

QString RufflePlayer::CallFunction(const QString& request) {
    const playerprotocol::InvokeRequest invoke = playerprotocol::parseInvokeRequest(request);
    if (invoke.name.isEmpty()) {
        debug_.line(
            QStringLiteral("[RufflePlayer] request without a function name: %1").arg(request.left(200)));
        return {};
    }
    return ask(QJsonArray{QStringLiteral("call"), invoke.name, QJsonArray::fromStringList(invoke.arguments)});
}

void RufflePlayer::Stop() {
    post(QJsonArray{QStringLiteral("stop")});
}

void RufflePlayer::setFSCommandHandler(FSCommandHandler handler) {
    handler_ = std::move(handler);
}

void RufflePlayer::allowPath(const QString& folder) {
    files_.allowFolder(folder);
}

void RufflePlayer::post(const QJsonArray& operation) {
    outbox_.append(operation);
    // Calls made in one go reach the page in one batch, so the page sees a variable set right after Movie
    // together with the movie and can hand it over before the first frame.
    if (!flushQueued_) {
        flushQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            flushQueued_ = false;
            flush();
        });
    }
}

void RufflePlayer::flush() {
    if (!pageReady_ || outbox_.isEmpty()) {
        return;
    }
    const QString batch = QString::fromUtf8(QJsonDocument(outbox_).toJson(QJsonDocument::Compact));
    outbox_ = QJsonArray();
    page_->runJavaScript(QStringLiteral("qorv.post(%1)").arg(batch));
}

QString RufflePlayer::ask(QJsonArray operation) {
    if (filesMissing_) {
        return {};
    }
    const int id = ++lastQuestion_;
    operation.insert(1, id);
    post(operation);
    flush();
    QEventLoop loop;
    waiting_.insert(id, &loop);
    QTimer::singleShot(answerTimeout_, &loop, &QEventLoop::quit);
    QPointer<RufflePlayer> self(this);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!self) {
        return {};
    }
    waiting_.remove(id);
    if (!answers_.contains(id)) {
        debug_.line(QStringLiteral("[RufflePlayer] no answer from the movie to %1 %2")
                        .arg(operation.at(0).toString(), operation.at(2).toString()));
        return {};
    }
    return answers_.take(id);
}

void RufflePlayer::receiveCommands(const QJsonArray& commandsAndArgs) {
    for (qsizetype i = 0; i + 1 < commandsAndArgs.size(); i += 2) {
        commands_.emplace_back(commandsAndArgs.at(i).toString(), commandsAndArgs.at(i + 1).toString());
    }
    // A handler that waits (a dialog, GetVariable) lets later batches arrive inside it; they join the queue
    // and are delivered after it returns, so the order never changes.
    if (delivering_) {
        return;
    }
    delivering_ = true;
    QPointer<RufflePlayer> self(this);
    while (!commands_.empty()) {
        const auto [command, args] = commands_.front();
        commands_.pop_front();
        if (!handler_) {
            continue;
        }
        const FSCommandHandler handler = handler_;
        try {
            handler(command, args);
        } catch (const std::exception& e) {
            debug_.line(QStringLiteral("[RufflePlayer] command %1 failed: %2")
                            .arg(command, QString::fromUtf8(e.what())));
        } catch (...) {
            debug_.line(QStringLiteral("[RufflePlayer] command %1 failed").arg(command));
        }
        if (!self) {
            return;
        }
    }
    delivering_ = false;
}
