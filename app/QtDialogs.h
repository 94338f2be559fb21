#pragma once

#include "core/Dialogs.h"

#include <QPointer>
#include <QWidget>

// The dialogs and boxes of one window, as Qt widgets parented to that window. File dialogs are Qt's own
// (not the desktop's), so that they look the same everywhere and tests can find them by object name.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* window) : window_(window) {}

    std::optional<QString> saveFile(SaveDialogState& dialog) override;
    std::optional<QString> chooseFolder() override;
    void showMessage(const QString& text) override;
    void information(const QString& text) override;
    void error(const QString& text) override;
    bool askYesNo(const QString& text) override;
    void errorBox(const QString& caption, const QString& message) override;
    RunOrSave runOrSave() override;

    // "PDF 파일|*.pdf" -> "PDF 파일 (*.pdf)", one Qt filter per display name and pattern list.
    static QStringList qtNameFilters(const QString& filter);

private:
    QPointer<QWidget> window_;
};
