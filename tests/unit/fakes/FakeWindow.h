#pragma once

#include "core/WindowControl.h"

#include <QStringList>

// A window that records what was done to it and keeps state, caption and geometry.
class FakeWindow : public WindowControl {
public:
    State windowState() const override { return state; }
    void setWindowState(State s) override {
        state = s;
        actions << QStringLiteral("state(%1)").arg(stateName(s));
    }
    void setCaption(const QString& c) override { caption = c; }
    QSize outerSize() const override { return geometry.size(); }
    void setOuterGeometry(const QRect& g) override { geometry = g; }
    QSize screenSize() const override { return screen; }
    void requestClose() override { actions << QStringLiteral("close"); }
    void bringToFront() override { actions << QStringLiteral("front"); }

    static QString stateName(State s) {
        switch (s) {
        case State::Normal:
            return QStringLiteral("normal");
        case State::Minimized:
            return QStringLiteral("minimized");
        case State::Maximized:
            return QStringLiteral("maximized");
        }
        return QString();
    }

    State state = State::Normal;
    QString caption;
    QRect geometry{0, 0, 816, 639}; // 800 x 600 client area with a frame and caption bar
    QSize screen{1920, 1080};
    QStringList actions;
};
