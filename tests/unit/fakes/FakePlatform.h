#pragma once

#include "core/Clock.h"
#include "core/DebugOutput.h"
#include "core/Environment.h"

#include <QDir>
#include <QStringList>

class CapturingDebugOutput : public DebugOutput {
public:
    void line(const QString& text) override { lines << text; }
    QStringList lines;
};

class InstantClock : public Clock {
public:
    void wait(int milliseconds) override { waited << milliseconds; }
    QList<int> waited;
};

// An environment whose folders a test chooses (usually inside a QTemporaryDir).
class FakeEnvironment : public Environment {
public:
    QString executablePath() const override { return exePath; }
    QStringList arguments() const override { return args; }
    QString tempFolder() const override { return temp; }
    QString programFilesFolder() const override { return programFiles; }
    bool setCurrentFolder(const QString& folder) override {
        current = folder;
        return true;
    }
    QString currentFolder() const override { return current; }

    QString exePath;
    QStringList args;
    QString temp = QDir::tempPath() + QLatin1Char('/');
    QString programFiles = QStringLiteral("/opt");
    QString current;
};
