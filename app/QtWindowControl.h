#pragma once

#include "core/Clock.h"
#include "core/WindowControl.h"

#include <QPointer>
#include <QWidget>

// WindowControl for a top-level Qt widget. Outer sizes include the frame the window manager adds; before
// the window is shown (or without a window manager) there is none.
class QtWindowControl : public WindowControl {
public:
    explicit QtWindowControl(QWidget* window) : window_(window) {}

    State windowState() const override;
    void setWindowState(State state) override;
    void setCaption(const QString& caption) override;
    QSize outerSize() const override;
    void setOuterGeometry(const QRect& geometry) override;
    QSize screenSize() const override;
    void requestClose() override;
    void bringToFront() override;

private:
    QPointer<QWidget> window_;
};

// Waits in a local event loop, so the windows keep painting and commands keep arriving (they queue).
class QtClock : public Clock {
public:
    void wait(int milliseconds) override;
};
