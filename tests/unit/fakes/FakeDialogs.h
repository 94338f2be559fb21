#pragma once

#include "core/Dialogs.h"

#include <QStringList>
#include <deque>

// Scripted answers, and a record of what was shown ("saveFile(filter|name)", "showMessage(text)", ...).
// A dialog without a scripted answer is cancelled; a question without one is answered Yes.
class FakeDialogs : public Dialogs {
public:
    std::optional<QString> saveFile(SaveDialogState& dialog) override {
        shown << QStringLiteral("saveFile(%1|%2|%3)").arg(dialog.objectName, dialog.filter, dialog.fileName);
        if (saveAnswers.empty() || !saveAnswers.front().has_value()) {
            if (!saveAnswers.empty()) {
                saveAnswers.pop_front();
            }
            return std::nullopt;
        }
        dialog.fileName = *saveAnswers.front();
        saveAnswers.pop_front();
        return dialog.fileName;
    }
    std::optional<QString> chooseFolder() override {
        shown << QStringLiteral("chooseFolder()");
        if (folderAnswers.empty() || !folderAnswers.front().has_value()) {
            if (!folderAnswers.empty()) {
                folderAnswers.pop_front();
            }
            return std::nullopt;
        }
        const QString folder = *folderAnswers.front();
        folderAnswers.pop_front();
        return folder;
    }
    void showMessage(const QString& text) override { shown << QStringLiteral("showMessage(%1)").arg(text); }
    void information(const QString& text) override { shown << QStringLiteral("information(%1)").arg(text); }
    void error(const QString& text) override { shown << QStringLiteral("error(%1)").arg(text); }
    bool askYesNo(const QString& text) override {
        shown << QStringLiteral("askYesNo(%1)").arg(text);
        if (yesNoAnswers.empty()) {
            return true;
        }
        const bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }
    void errorBox(const QString& caption, const QString& message) override {
        shown << QStringLiteral("errorBox(%1|%2)").arg(caption, message);
    }
    RunOrSave runOrSave() override {
        shown << QStringLiteral("runOrSave()");
        if (runOrSaveAnswers.empty()) {
            return RunOrSave::Cancel;
        }
        const RunOrSave answer = runOrSaveAnswers.front();
        runOrSaveAnswers.pop_front();
        return answer;
    }

    QStringList shown;
    std::deque<std::optional<QString>> saveAnswers;
    std::deque<std::optional<QString>> folderAnswers;
    std::deque<bool> yesNoAnswers;
    std::deque<RunOrSave> runOrSaveAnswers;
};
