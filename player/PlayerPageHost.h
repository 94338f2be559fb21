#pragma once

#include <QJsonArray>
#include <QObject>
#include <QString>

// The object the player page sees through the web channel as "host". It only turns the page's calls into
// signals; RufflePlayer decides what they mean.
class PlayerPageHost : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

public slots:
    void pageReady() { emit ready(); }
    // command, args, command, args, ... in the order the movie sent them.
    void fsCommands(const QJsonArray& commandsAndArgs) { emit commands(commandsAndArgs); }
    void reply(int id, const QString& value) { emit answered(id, value); }
    void movieStarted() { emit started(); }
    void message(const QString& text) { emit log(text); }

signals:
    void ready();
    void commands(const QJsonArray& commandsAndArgs);
    void answered(int id, const QString& value);
    void started();
    void log(const QString& text);
};
