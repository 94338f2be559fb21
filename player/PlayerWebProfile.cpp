#include "player/PlayerWebProfile.h"

#include "core/DebugOutput.h"
#include "player/ServedFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

void PlayerWebProfile::registerUrlScheme() {
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    QWebEngineUrlScheme qorv(scheme);
    qorv.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    qorv.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::CorsEnabled |
                  QWebEngineUrlScheme::ContentSecurityPolicyIgnored);
    QWebEngineUrlScheme::registerScheme(qorv);
}

PlayerWebProfile& PlayerWebProfile::instance() {
    registerUrlScheme();
    // Owned by the application object, so that it outlives every page.
    static PlayerWebProfile* self = new PlayerWebProfile();
    return *self;
}

PlayerWebProfile::PlayerWebProfile() : profile_(new QWebEngineProfile(QCoreApplication::instance())) {
    setParent(profile_);
    profile_->setHttpCacheType(QWebEngineProfile::NoCache);
    profile_->installUrlSchemeHandler(scheme, this);
}

QString PlayerWebProfile::addPlayer(const ServedFiles* files, DebugOutput* debug) {
    const QString host = QStringLiteral("p%1").arg(++lastId_);
    players_.insert(host, Player{files, debug});
    return host;
}

void PlayerWebProfile::removePlayer(const QString& host) {
    players_.remove(host);
}

void PlayerWebProfile::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl();
    const auto player = players_.constFind(url.host());
    if (player == players_.constEnd()) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    const ServedFiles::Result found = player->files->resolve(url.path(QUrl::FullyDecoded));
    if (found.status != ServedFiles::Status::Served) {
        const bool refused = found.status == ServedFiles::Status::Refused;
        player->debug->line(
            QStringLiteral("[RufflePlayer] %1: %2")
                .arg(refused ? QStringLiteral("refused") : QStringLiteral("not found"), found.file));
        job->fail(refused ? QWebEngineUrlRequestJob::RequestDenied : QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto* file = new QFile(found.file, job);
    if (!file->open(QIODevice::ReadOnly)) {
        player->debug->line(QStringLiteral("[RufflePlayer] cannot read: %1").arg(found.file));
        job->fail(QWebEngineUrlRequestJob::RequestFailed);
        return;
    }
    job->reply(ServedFiles::mimeType(found.file).toUtf8(), file);
}
