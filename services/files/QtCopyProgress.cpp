#include "services/files/QtCopyProgress.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace {
constexpr int kSteps = 1000; // the dialog counts in int: show thousandths of the file, not bytes
} // namespace

QtCopyProgress::QtCopyProgress(QWidget* window, int showAfterMs)
    : window_(window), showAfterMs_(showAfterMs) {}

QtCopyProgress::~QtCopyProgress() = default;

void QtCopyProgress::begin(const QString& fileName, qint64 totalBytes) {
    total_ = totalBytes;
    dialog_ = std::make_unique<QProgressDialog>(fileName, QString(), 0, kSteps, window_);
    dialog_->setObjectName(QStringLiteral("CopyProgress"));
    dialog_->setWindowTitle(QCoreApplication::applicationName());
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setCancelButton(nullptr);
    dialog_->setMinimumDuration(showAfterMs_);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setValue(0);
}

bool QtCopyProgress::advance(qint64 copiedBytes) {
    if (!dialog_) {
        return true;
    }
    const int step =
        total_ > 0 ? static_cast<int>(qMin<qint64>(kSteps, copiedBytes * kSteps / total_)) : kSteps;
    dialog_->setValue(step);
    // The dialog only pumps events once it is visible; keep painting before that, but take no input.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return true;
}

void QtCopyProgress::end() {
    dialog_.reset();
}
