#pragma once

#include <QHash>
#include <QString>
#include <QWebEngineUrlSchemeHandler>

class DebugOutput;
class QWebEngineProfile;
class ServedFiles;

// The web profile every player page lives in, and the "qorv:" scheme that serves them files. Each player
// has its own host name ("p1", "p2", ...) so that the handler knows whose folders a request may reach.
// The profile keeps nothing on disk: a book always sees its files as they are now.
class PlayerWebProfile : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    static constexpr const char* scheme = "qorv";

    // Must run before the first web engine object exists; RufflePlayer calls it, main may call it earlier.
    static void registerUrlScheme();
    static PlayerWebProfile& instance();

    QWebEngineProfile* profile() const { return profile_; }
    // The files and the log of one player; the answer is the host name its page uses.
    QString addPlayer(const ServedFiles* files, DebugOutput* debug);
    void removePlayer(const QString& host);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    PlayerWebProfile();

    struct Player {
        const ServedFiles* files;
        DebugOutput* debug;
    };
    QWebEngineProfile* profile_;
    QHash<QString, Player> players_;
    int lastId_ = 0;
};
