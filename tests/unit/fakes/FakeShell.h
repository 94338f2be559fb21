#pragma once

#include "core/Shell.h"

#include <QStringList>
#include <deque>

// Records every call as one line ("open(verb|file|parameters|folder)", "findExecutable(file)") and
// answers from scripted queues; without a scripted answer open succeeds and findExecutable finds none.
class FakeShell : public Shell {
public:
    int open(const QString& verb, const QString& file, const QString& parameters,
             const QString& workingFolder) override {
        calls << QStringLiteral("open(%1|%2|%3|%4)").arg(verb, file, parameters, workingFolder);
        if (openAnswers.empty()) {
            return kSuccess;
        }
        const int answer = openAnswers.front();
        openAnswers.pop_front();
        return answer;
    }
    int findExecutable(const QString& file, QString& program) override {
        calls << QStringLiteral("findExecutable(%1)").arg(file);
        if (findAnswers.empty()) {
            program.clear();
            return kNoAssociation;
        }
        const auto answer = findAnswers.front();
        findAnswers.pop_front();
        program = answer.second;
        return answer.first;
    }

    QStringList calls;
    std::deque<int> openAnswers;
    std::deque<std::pair<int, QString>> findAnswers; // result code, program
};
