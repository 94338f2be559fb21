#include "popup/QORVViewerChildFormunit.h"

#include "app/INIControllerUnit.h"
#include "core/Conversions.h"
#include "core/Environment.h"
#include "player/RufflePlayer.h"
#include "services/files/QtCopyProgress.h"
#include "services/recording/QORVViewerControl.h"

#include <QApplication>
#include <QCloseEvent>
#include <QVBoxLayout>

TChildForm::TChildForm(QWidget* owner, QORVViewerControl* recorder, Environment& environment,
                       DebugOutput& debug, FlashPlayer& mainPlayer, const ServicesFactory& services)
    : QWidget(owner, Qt::Window), Recorder(recorder), environment_(environment), debug_(debug),
      mainPlayer_(mainPlayer), dialogs_(this), windowControl_(this) {
    setObjectName(QStringLiteral("ChildForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    resize(535, 366);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    BackPanel = new QWidget(this);
    BackPanel->setObjectName(QStringLiteral("BackPanel"));
    BackPanel->setAutoFillBackground(true);
    BackPanel->setBackgroundRole(QPalette::Base);
    layout->addWidget(BackPanel);
    auto* panelLayout = new QVBoxLayout(BackPanel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    ShockwaveFlash1 = new RufflePlayer(debug_, BackPanel);
    ShockwaveFlash1->setObjectName(QStringLiteral("ShockwaveFlash1"));
    panelLayout->addWidget(ShockwaveFlash1);
    ShockwaveFlash1->allowPath(environment_.tempFolder()); // the reader's recordings

    copyProgress_ = std::make_unique<QtCopyProgress>(this);
    services_ = services ? services(*this) : std::make_unique<ChildCommandHandlers>();
    dispatch_ = std::make_unique<ChildDispatch>(windowControl_, dialogs_, debug_, *services_,
                                                QApplication::applicationName());
    ShockwaveFlash1->setFSCommandHandler(
        [this](const QString& command, const QString& args) { ShockwaveFlash1FSCommand(command, args); });
    FormCreate();
}

TChildForm::~TChildForm() {
    if (Recorder) {
        Recorder->forgetPlayer(*ShockwaveFlash1);
    }
}

void TChildForm::FormCreate() {
    ShockwaveFlash1->Movie(QStringLiteral("about:blank"));
    const INIController& settings = INIController::GetInstance();
    if (settings.GetChildFormWindowState() == QLatin1String("wsMaximized")) {
        windowControl_.setWindowState(WindowControl::State::Maximized);
    } else {
        const int width = conversions::toIntOr(settings.GetChildFormWidth(), 1024) + 8;
        const int height = conversions::toIntOr(settings.GetChildFormHeight(), 700) + 32;
        windowControl_.setOuterGeometry(QRect(pos(), QSize(width, height)));
    }
    const QString border = settings.GetChildFormBorderStyle();
    if (border == QLatin1String("bsNone")) {
        setWindowFlag(Qt::FramelessWindowHint, true);
    } else if (border == QLatin1String("bsDialog")) {
        setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
    } else if (border == QLatin1String("bsSizeToolWin")) {
        setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Tool);
    }
    ShockwaveFlash1->Scale(settings.GetChildFormScale());
}

void TChildForm::FormShow() {
    environment_.setCurrentFolder(MovieFolder);
}

void TChildForm::ShockwaveFlash1FSCommand(const QString& command, const QString& args) {
    dispatch_->ShockwaveFlash1FSCommand(command, args);
}

CopyProgress* TChildForm::copyProgress() {
    return copyProgress_.get();
}

FlashPlayer& TChildForm::player() {
    return *ShockwaveFlash1;
}

QSize TChildForm::playerSize() const {
    // Before the first show the layout has not run: the player will fill the client area.
    return ShockwaveFlash1->isVisible() ? ShockwaveFlash1->size() : size();
}

void TChildForm::setCaption(const QString& caption) {
    setWindowTitle(caption);
}

void TChildForm::setMaximized() {
    windowControl_.setWindowState(WindowControl::State::Maximized);
}

void TChildForm::setNormalGeometry(const QRect& outerGeometry) {
    windowControl_.setWindowState(WindowControl::State::Normal);
    windowControl_.setOuterGeometry(outerGeometry);
}

void TChildForm::showModeless() {
    show();
}

void TChildForm::discard() {
    deleteLater();
}

void TChildForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormShow();
}

void TChildForm::closeEvent(QCloseEvent* event) {
    childClosingCalls(*dispatch_, mainPlayer_);
    ShockwaveFlash1->setFocus();
    event->accept(); // WA_DeleteOnClose frees the window
}
