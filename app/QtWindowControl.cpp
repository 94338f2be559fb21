#include "app/QtWindowControl.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

WindowControl::State QtWindowControl::windowState() const {
    if (!window_) {
        return State::Normal;
    }
    const Qt::WindowStates s = window_->windowState();
    if (s & Qt::WindowMinimized) {
        return State::Minimized;
    }
    if (s & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        return State::Maximized;
    }
    return State::Normal;
}

void QtWindowControl::setWindowState(State state) {
    if (!window_) {
        return;
    }
    Qt::WindowStates s = window_->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == State::Minimized) {
        s |= Qt::WindowMinimized;
    } else if (state == State::Maximized) {
        s |= Qt::WindowMaximized;
    }
    window_->setWindowState(s);
}

void QtWindowControl::setCaption(const QString& caption) {
    if (window_) {
        window_->setWindowTitle(caption);
    }
}

QSize QtWindowControl::outerSize() const {
    return window_ ? window_->frameGeometry().size() : QSize();
}

void QtWindowControl::setOuterGeometry(const QRect& geometry) {
    if (!window_) {
        return;
    }
    const QSize frame = window_->frameGeometry().size() - window_->geometry().size();
    window_->resize(std::max(1, geometry.width() - frame.width()),
                    std::max(1, geometry.height() - frame.height()));
    window_->move(geometry.topLeft());
}

QSize QtWindowControl::screenSize() const {
    const QScreen* screen = window_ ? window_->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

void QtWindowControl::requestClose() {
    if (window_) {
        window_->close();
    }
}

void QtWindowControl::bringToFront() {
    if (!window_) {
        return;
    }
    const bool visible = window_->isVisible();
    window_->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    window_->show();
    window_->setWindowFlag(Qt::WindowStaysOnTopHint, false);
    if (visible) {
        window_->show();
    }
    window_->raise();
    window_->activateWindow();
}

void QtClock::wait(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}
