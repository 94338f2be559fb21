#pragma once

#include "app/QtDialogs.h"
#include "app/QtWindowControl.h"
#include "core/Dialogs.h"
#include "popup/ChildDispatch.h"
#include "popup/MovieCommands.h"

#include <QWidget>
#include <functional>
#include <memory>

class CopyProgress;
class DebugOutput;
class Environment;
class FlashPlayer;
class QORVViewerControl;
class RufflePlayer;

// A pop-up window with a movie of its own. The main window owns it (it goes with the main window,
// without closing calls); closed by itself, it tells the main window's movie which page or book to show
// next and frees itself. Its size, frame and scale come from the "ChildForm" settings.
class TChildForm : public QWidget, public PopupWindow {
    Q_OBJECT
public:
    // services builds the handlers of the pop-up's commands once the window exists (they need its dialogs
    // and player).
    using ServicesFactory = std::function<std::unique_ptr<ChildCommandHandlers>(TChildForm&)>;

    TChildForm(QWidget* owner, QORVViewerControl* recorder, Environment& environment, DebugOutput& debug,
               FlashPlayer& mainPlayer, const ServicesFactory& services);
    ~TChildForm() override;

    void ShockwaveFlash1FSCommand(const QString& command, const QString& args);

    // PopupWindow
    FlashPlayer& player() override;
    QSize playerSize() const override;
    void setCaption(const QString& caption) override;
    void setScalePercent(int percent) override { ScalePercent = percent; }
    void setMovieFolder(const QString& folder) override { MovieFolder = folder; }
    void setMaximized() override;
    void setNormalGeometry(const QRect& outerGeometry) override;
    void showModeless() override;
    void discard() override;

    Dialogs& dialogs() { return dialogs_; }
    CopyProgress* copyProgress();
    RufflePlayer* flashPlayerWidget() { return ShockwaveFlash1; }
    QORVViewerControl* Recorder;

    QString MovieFolder;
    int ScalePercent = 100;
    const QString& CurrentPage() const { return dispatch_->CurrentPage; }
    const QString& ReloadMoviePath() const { return dispatch_->ReloadMoviePath; }

    SaveDialogState fileSaveDialog{QStringLiteral("fileSaveDialog"), QStringLiteral("PDF 파일|*.pdf"), {}};

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormShow();

    Environment& environment_;
    DebugOutput& debug_;
    FlashPlayer& mainPlayer_;
    QWidget* BackPanel;
    RufflePlayer* ShockwaveFlash1;
    QtDialogs dialogs_;
    QtWindowControl windowControl_;
    std::unique_ptr<CopyProgress> copyProgress_;
    std::unique_ptr<ChildCommandHandlers> services_;
    std::unique_ptr<ChildDispatch> dispatch_;
};
