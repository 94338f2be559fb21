#include "app/QORVViewerMainFormUnit.h"

#include "app/BookOpening.h"
#include "app/INIControllerUnit.h"
#include "bridge/ContentCalls.h"
#include "core/Drives.h"
#include "core/QorvError.h"
#include "core/Registry.h"
#include "core/Shell.h"
#include "platform/Platform.h"
#include "player/RufflePlayer.h"
#include "popup/QORVViewerChildFormunit.h"
#include "services/capture/WindowCapture.h"
#include "services/files/QtCopyProgress.h"
#include "services/recording/AudioCapture.h"
#include "services/recording/QORVViewerControl.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QScreen>

TPlayerForm::TPlayerForm(Environment& environment, DebugOutput& debug, QWidget* parent)
    : QMainWindow(parent), environment_(environment), debug_(debug), dialogs_(this), windowControl_(this),
      Scrap(debug) {
    setObjectName(QString()); // the main window has no component name
    SetName(QStringLiteral("PlayerForm"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));

    player_ = new RufflePlayer(debug_, this);
    player_->setObjectName(QStringLiteral("FlashPlayer"));
    setCentralWidget(player_);
    player_->allowPath(environment_.tempFolder()); // the reader's recordings
    resize(800, 600);

    drives_ = platform::makeDrives();
    shell_ = platform::makeShell();
    registry_ = platform::makeRegistry();
    audioCapture_ = platform::makeAudioCapture();
    copyProgress_ = std::make_unique<QtCopyProgress>(this);
    Recorder = std::make_unique<QORVViewerControl>(environment_, debug_, *audioCapture_);
    services_ = std::make_unique<MainServices>(MainServiceParts{
        *player_, dialogs_, environment_, debug_, *drives_, *shell_, *registry_, copyProgress_.get(),
        fileSaveDialog, imgSaveDialog, Scrap, *Recorder, *this, [this] { return SkinMoviePath(); },
        [this](const QString& folder) { player_->allowPath(folder); }});
    dispatch_ = std::make_unique<MainDispatch>(windowControl_, dialogs_, clock_, debug_, *services_,
                                               QFileInfo(environment_.executablePath()).completeBaseName());
    player_->setFSCommandHandler(
        [this](const QString& command, const QString& args) { FlashPlayerFSCommand(command, args); });

    try {
        FormCreate();
    } catch (const QorvError& e) {
        dialogs_.errorBox(QApplication::applicationName(), MainDispatch::errorBoxText(e.message()));
    } catch (const std::exception& e) {
        dialogs_.errorBox(QApplication::applicationName(),
                          MainDispatch::errorBoxText(QString::fromUtf8(e.what())));
    }
}

TPlayerForm::~TPlayerForm() {
    // Pop-ups go first, without their closing calls; they borrow the recorder and the services.
    for (TChildForm* popup : findChildren<TChildForm*>(QString(), Qt::FindDirectChildrenOnly)) {
        delete popup;
    }
}

void TPlayerForm::SetName(const QString& caption) {
    setWindowTitle(caption);
}

FlashPlayer& TPlayerForm::flashPlayer() {
    return *player_;
}

QWidget* TPlayerForm::flashPlayerWidget() {
    return player_;
}

void TPlayerForm::FormCreate() {
    INIController& settings = INIController::GetInstance();
    settings.LoadSettings(INIController::SettingsPathFor(environment_.executablePath()));
    if (settings.GetMainFormBorderStyle() == QLatin1String("bsNone")) {
        setWindowFlag(Qt::FramelessWindowHint, true);
    }
    const bookopening::CommandLine line =
        bookopening::parseCommandLine(environment_.executablePath(), environment_.arguments());
    firstPage_ = line.firstPage;
    OpenBook(line.startPath);
}

void TPlayerForm::OpenBook(const QString& startPath) {
    bookopening::OpenBook(startPath, windowControl_, *player_);
}

void TPlayerForm::FormShow() {
    if (firstPage_) {
        contentcalls::setFirstPage(*player_, *firstPage_);
    }
}

void TPlayerForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
        centreOnScreen();
    }
}

// On the first show the window is centred on the screen again, and kept from lying beyond the desktop's
// left and top edges.
void TPlayerForm::centreOnScreen() {
    if (windowControl_.windowState() != WindowControl::State::Normal || !screen()) {
        return;
    }
    const QRect desktop = screen()->availableGeometry();
    const QSize screenSize = screen()->geometry().size();
    const QSize outer = frameGeometry().size();
    const int left = std::max(desktop.left(), (screenSize.width() - outer.width()) / 2);
    const int top = std::max(desktop.top(), (screenSize.height() - outer.height()) / 2);
    move(left, top);
}

void TPlayerForm::FlashPlayerFSCommand(const QString& command, const QString& args) {
    dispatch_->FlashPlayerFSCommand(command, args);
}

bool TPlayerForm::FormClose() {
    return dialogs_.askYesNo(QStringLiteral("종료하시겠습니까?"));
}

void TPlayerForm::closeEvent(QCloseEvent* event) {
    if (!FormClose()) {
        event->ignore();
        return;
    }
    event->accept();
    QApplication::quit();
}

PopupWindow& TPlayerForm::createPopup() {
    auto* popup =
        new TChildForm(this, Recorder.get(), environment_, debug_, *player_, [this](TChildForm& form) {
            return std::make_unique<ChildServices>(form.player(), form.dialogs(), form.fileSaveDialog,
                                                   form.copyProgress(), environment_, *Recorder, *shell_);
        });
    return *popup;
}

QSize TPlayerForm::screenSize() const {
    return windowControl_.screenSize();
}

// The frame the window manager gives a sizeable window, read off the main window's own frame.
FrameMetrics TPlayerForm::frameMetrics() const {
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const int side = std::max(0, inner.left() - outer.left());
    const int bottom = std::max(0, outer.bottom() - inner.bottom());
    const int top = std::max(0, inner.top() - outer.top());
    return FrameMetrics{side, bottom, std::max(0, top - bottom)};
}

void TPlayerForm::captureForm() {}
