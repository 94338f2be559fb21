#pragma once

#include "services/files/CopyProgress.h"

#include <QElapsedTimer>
#include <QPointer>
#include <memory>

class QProgressDialog;
class QWidget;

// Copy progress as a Qt progress dialog over the window. The dialog appears only when a copy takes
// longer than a moment; until the copy ends the window keeps painting, but takes no input.
class QtCopyProgress : public CopyProgress {
public:
    explicit QtCopyProgress(QWidget* window, int showAfterMs = 500);
    ~QtCopyProgress() override;

    void begin(const QString& fileName, qint64 totalBytes) override;
    bool advance(qint64 copiedBytes) override;
    void end() override;

private:
    QPointer<QWidget> window_;
    std::unique_ptr<QProgressDialog> dialog_;
    int showAfterMs_;
    qint64 total_ = 0;
};
