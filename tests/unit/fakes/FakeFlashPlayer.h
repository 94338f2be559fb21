#pragma once

#include "bridge/FlashPlayer.h"

#include <QHash>
#include <QString>
#include <QStringList>

// Records every call in order as one readable line; GetVariable answers from a table the test fills.
// inject() delivers a command the way the real player does.
class FakeFlashPlayer : public FlashPlayer {
public:
    void Movie(const QString& path) override { calls << QStringLiteral("Movie(%1)").arg(path); }
    void FlashVars(const QString& vars) override { calls << QStringLiteral("FlashVars(%1)").arg(vars); }
    void Scale(const QString& mode) override { calls << QStringLiteral("Scale(%1)").arg(mode); }
    void SetVariable(const QString& name, const QString& value) override {
        calls << QStringLiteral("SetVariable(%1,%2)").arg(name, value);
    }
    QString GetVariable(const QString& name) override {
        calls << QStringLiteral("GetVariable(%1)").arg(name);
        return variables.value(name);
    }
    QString CallFunction(const QString& request) override {
        calls << QStringLiteral("CallFunction(%1)").arg(request);
        return QString();
    }
    void Stop() override { calls << QStringLiteral("Stop()"); }
    void setFSCommandHandler(FSCommandHandler h) override { handler = std::move(h); }

    void inject(const QString& command, const QString& args) {
        if (handler) {
            handler(command, args);
        }
    }

    QStringList calls;
    QHash<QString, QString> variables;
    FSCommandHandler handler;
};
