#pragma once

#include <QRect>
#include <QSize>
#include <QString>

// What the command logic does to a window: state, caption, outer geometry, closing, raising. Sizes and
// positions are the window's outer ones (frame and caption bar included), as the books' page variables
// give them.
class WindowControl {
public:
    enum class State { Normal, Minimized, Maximized };

    virtual ~WindowControl() = default;
    virtual State windowState() const = 0;
    virtual void setWindowState(State state) = 0;
    virtual void setCaption(const QString& caption) = 0;
    // Outer size of the window at this moment.
    virtual QSize outerSize() const = 0;
    virtual void setOuterGeometry(const QRect& geometry) = 0;
    // The whole screen the window is on, in pixels.
    virtual QSize screenSize() const = 0;
    // A close request, as the close box makes it: the window asks its quit question.
    virtual void requestClose() = 0;
    // Topmost, back among the ordinary windows (so it ends up on top of them), then the foreground.
    virtual void bringToFront() = 0;
};
