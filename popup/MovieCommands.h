#pragma once

#include "bridge/FlashPlayer.h"
#include "core/Environment.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>

// The frame a sizeable window gets around its client area.
struct FrameMetrics {
    int sizingFrameWidth = 0;
    int sizingFrameHeight = 0;
    int captionHeight = 0;
};

// What opening a movie in a new pop-up window needs of that window.
class PopupWindow {
public:
    virtual ~PopupWindow() = default;
    virtual FlashPlayer& player() = 0;
    virtual QSize playerSize() const = 0;
    virtual void setCaption(const QString& caption) = 0;
    virtual void setScalePercent(int percent) = 0;
    virtual void setMovieFolder(const QString& folder) = 0;
    virtual void setMaximized() = 0;
    virtual void setNormalGeometry(const QRect& outerGeometry) = 0;
    virtual void showModeless() = 0;
    // Gives up a pop-up that could not be set up; it is never shown.
    virtual void discard() = 0;
};

// The main window's side of the movie commands.
class PopupHost {
public:
    virtual ~PopupHost() = default;
    virtual PopupWindow& createPopup() = 0;
    virtual QSize screenSize() const = 0;
    virtual FrameMetrics frameMetrics() const = 0;
    virtual void captureForm() = 0;
};

// The main window's "function" command: "PopUpForm" opens a movie in a new pop-up window, "LoadForm"
// replaces the main window's movie, "CaptureForm" saves a picture of the main window's player. Movies are
// named by short relative paths and looked for in a fixed list of places, so the same book works started
// from the executable's folder, from a skin movie or from a book named on the command line.
class MovieCommands {
public:
    struct PopUpFormFields {
        QString movie;
        QString page;
        QString scale = QStringLiteral("100");
        QString title;
    };
    struct LoadFormFields {
        QString movie;
        QString page;
    };

    MovieCommands(FlashPlayer& mainPlayer, Environment& environment, PopupHost& host,
                  std::function<QString()> skinMoviePath);

    void function(const QString& args);

    static PopUpFormFields parsePopUpForm(const QString& rest);
    static LoadFormFields parseLoadForm(const QString& rest);
    // Outer geometry of a pop-up shown at scalePercent of the screen height (not 100), in single precision.
    static QRect popupGeometry(QSize playerSize, int scalePercent, QSize screen, const FrameMetrics& frame);

    // Candidate paths in the order they are tried; the last is used when none exists.
    QStringList popUpCandidates(const QString& movie);
    QStringList loadCandidates(const QString& movie) const;

private:
    void popUpForm(const QString& rest);
    void loadForm(const QString& rest);
    QString applicationFolder() const;
    QStringList commonCandidates(const QString& movie, const QString& second) const;
    static QString firstExisting(const QStringList& candidates);

    FlashPlayer& mainPlayer_;
    Environment& environment_;
    PopupHost& host_;
    std::function<QString()> skinMoviePath_;
};
