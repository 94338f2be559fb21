#include "services/capture/WindowCapture.h"

#include "core/DebugOutput.h"
#include "core/Dialogs.h"
#include "core/QorvError.h"
#include "services/scrap/JpegSaveDialog.h"
#include "services/scrap/JpegWriter.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstring>

namespace {

constexpr int jpegQuality = 100;

// Ends a wait once the player, one of its children or its top-level window has been painted. Watches
// the whole application because a web view paints through child widgets it creates itself.
class RepaintWatcher : public QObject {
public:
    RepaintWatcher(QWidget* player, QEventLoop& loop) : player_(player), loop_(loop) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!player_) {
            loop_.quit();
            return false;
        }
        const QEvent::Type type = event->type();
        if (type != QEvent::Paint && type != QEvent::UpdateRequest && type != QEvent::Expose) {
            return false;
        }
        QWidget* top = player_->window();
        const bool ours = (type == QEvent::Paint && watched->isWidgetType() &&
                           (watched == player_ || player_->isAncestorOf(static_cast<QWidget*>(watched)))) ||
                          (type == QEvent::UpdateRequest && watched == top) ||
                          (type == QEvent::Expose && top->windowHandle() && watched == top->windowHandle());
        if (ours) {
            // The event is handled before the loop returns, so the paint is done when the wait ends.
            loop_.quit();
        }
        return false;
    }

private:
    QPointer<QWidget> player_;
    QEventLoop& loop_;
};

} // namespace

void WindowCapture::waitForRepaint(QWidget* player, int timeoutMs) {
    if (!player) {
        return;
    }
    QEventLoop loop;
    RepaintWatcher watcher(player, loop);
    QCoreApplication::instance()->installEventFilter(&watcher);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    QCoreApplication::instance()->removeEventFilter(&watcher);
}

QImage WindowCapture::grab(QWidget* player) {
    if (!player || !player->isVisible() || player->width() <= 0 || player->height() <= 0) {
        return {};
    }
    QWidget* top = player->window();
    QScreen* screen = top->screen();
    if (!screen) {
        return {};
    }
    const QPoint origin = player->mapTo(top, QPoint(0, 0));
    const QPixmap pixmap =
        screen->grabWindow(top->winId(), origin.x(), origin.y(), player->width(), player->height());
    return pixmap.toImage();
}

void WindowCapture::capture(QWidget* player, Dialogs& dialogs, SaveDialogState& fileSaveDialog,
                            DebugOutput& debug) {
    const std::optional<QString> path = JpegSaveDialog::ask(dialogs, fileSaveDialog);
    if (!path) {
        return;
    }
    const QPointer<QWidget> guard(player);
    waitForRepaint(player);
    if (guard && guard->isVisible()) {
        // An animated player may paint before the closed dialog's area is exposed; painting the player's
        // area once more now puts its current pixels on screen ahead of the copy, which the display server
        // carries out in order after the dialog's unmapping.
        guard->repaint();
    }
    const QImage shot = guard ? grab(guard) : QImage();
    if (shot.isNull() || shot.width() <= 0 || shot.height() <= 0) {
        debug.line(QStringLiteral("Unable to Create BackBuffer Bitamp"));
        return;
    }
    const QImage rgb = shot.convertToFormat(QImage::Format_RGB888);
    const size_t rowBytes = static_cast<size_t>(rgb.width()) * 3;
    try {
        const QByteArray jpeg =
            JpegWriter::encode(rgb.width(), rgb.height(), jpegQuality, [&](int y, unsigned char* row) {
                std::memcpy(row, rgb.constScanLine(y), rowBytes);
            });
        JpegWriter::save(*path, jpeg);
    } catch (const QorvError&) {
        // The reader is told nothing when the picture cannot be saved.
    }
}
