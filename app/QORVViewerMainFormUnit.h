#pragma once

#include "app/MainServices.h"
#include "app/QtDialogs.h"
#include "app/QtWindowControl.h"
#include "bridge/MainDispatch.h"
#include "core/DebugOutput.h"
#include "core/Dialogs.h"
#include "core/Environment.h"
#include "popup/MovieCommands.h"
#include "services/scrap/ScrapSave.h"

#include <QMainWindow>
#include <memory>
#include <optional>

class AudioCapture;
class CopyProgress;
class Drives;
class Registry;
class FlashPlayer;
class QORVViewerControl;
class RufflePlayer;
class Shell;

// The main window: the player filling the client area, the dialogs the commands use, and the services
// the book's commands reach. Its logic lives in MainDispatch and the services; this class wires them to
// Qt and handles the window's own events (creation, first show, the quit question).
class TPlayerForm : public QMainWindow, public PopupHost {
    Q_OBJECT
public:
    TPlayerForm(Environment& environment, DebugOutput& debug, QWidget* parent = nullptr);
    ~TPlayerForm() override;

    // The caption: the book title is shown through this.
    void SetName(const QString& caption);
    void OpenBook(const QString& startPath);
    void FlashPlayerFSCommand(const QString& command, const QString& args);

    FlashPlayer& flashPlayer();
    QWidget* flashPlayerWidget();
    const QString& SkinMoviePath() const { return dispatch_->SkinMoviePath(); }
    Dialogs& dialogs() { return dialogs_; }

    // PopupHost: the "function" command's side of the main window.
    PopupWindow& createPopup() override;
    QSize screenSize() const override;
    FrameMetrics frameMetrics() const override;
    void captureForm() override;

    // The dialogs keep the filter and file name they were last given.
    SaveDialogState imgSaveDialog{
        QStringLiteral("imgSaveDialog"), QStringLiteral("ImageFile|*.jpg,*.bmp"), {}};
    SaveDialogState fileSaveDialog{QStringLiteral("fileSaveDialog"), QStringLiteral("PDF 파일|*.pdf"), {}};
    SaveDialogState FileOpenDialog{QStringLiteral("FileOpenDialog"), QStringLiteral("텍스트 파일|*.txt"), {}};

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    bool FormClose();
    void centreOnScreen();

    Environment& environment_;
    DebugOutput& debug_;
    RufflePlayer* player_ = nullptr;
    QtDialogs dialogs_;
    QtWindowControl windowControl_;
    QtClock clock_;
    std::unique_ptr<Drives> drives_;
    std::unique_ptr<Shell> shell_;
    std::unique_ptr<Registry> registry_;
    std::unique_ptr<AudioCapture> audioCapture_;
    std::unique_ptr<CopyProgress> copyProgress_;

public:
    // The page-image scrap the movie sends in pieces.
    ScrapSave Scrap;
    // The one recording controller; pop-up windows borrow it.
    std::unique_ptr<QORVViewerControl> Recorder;

private:
    std::unique_ptr<MainServices> services_;
    std::unique_ptr<MainDispatch> dispatch_;
    std::optional<QString> firstPage_;
    bool shownOnce_ = false;
};
