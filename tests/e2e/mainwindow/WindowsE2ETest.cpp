#include "app/QORVViewerMainFormUnit.h"
#include "core/DebugOutput.h"
#include "examples/BookBuilder.h"
#include "platform/linux/LinuxEnvironment.h"
#include "player/RufflePlayer.h"
#include "popup/QORVViewerChildFormunit.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

namespace {

class LoggingDebugOutput : public DebugOutput {
public:
    void line(const QString& text) override {
        lines << text;
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    }
    bool hasLine(const QString& line) const { return lines.contains(line); }
    QStringList lines;
};

QString mainLine(const QString& command, const QString& args) {
    return "[TPlayerForm::FlashPlayerFSCommand] COMMAND: " + command + "   ARGS: " + args;
}

// Runs handle on the next modal dialog of type T once it shows.
template <typename T> void onNextModal(std::function<void(T*)> handle) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, handle] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            handle(dialog);
        }
    });
    timer->start(20);
}

// A click at a point of the movie's stage, shown whole ("showAll") in the player.
void clickStage(RufflePlayer* player, QSize stage, QPointF at) {
    const double scale =
        std::min(player->width() / double(stage.width()), player->height() / double(stage.height()));
    const QPointF offset((player->width() - stage.width() * scale) / 2,
                         (player->height() - stage.height() * scale) / 2);
    const QPoint point = (offset + at * scale).toPoint();
    QWidget* target = player->view()->focusProxy() ? player->view()->focusProxy() : player->view();
    QTest::mouseMove(target, point);
    QTest::qWait(50);
    QTest::mousePress(target, Qt::LeftButton, {}, point);
    QTest::qWait(50);
    QTest::mouseRelease(target, Qt::LeftButton, {}, point);
}

} // namespace

// The demo book's file page, driven as a reader would: a click on the movie's button, the real save
// dialog, the result message; then the run-or-save prompt.
TEST(WindowsE2E, DemoBookSavesAFileThroughTheSaveDialog) {
    QTemporaryDir out;
    LinuxEnvironment environment(QStringLiteral(QORV_BUILD_DIR "/QORVViewer"), {});
    LoggingDebugOutput debug;
    TPlayerForm form(environment, debug);
    auto* player = qobject_cast<RufflePlayer*>(form.flashPlayerWidget());
    bool started = false;
    QObject::connect(player, &RufflePlayer::movieStarted, [&] { started = true; });
    form.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return started; }, 60000)) << "the demo book did not start";
    QTest::qWait(1000); // its first frame draws the buttons
    const QSize stage(960, 600);

    clickStage(player, stage, {114 + 50, 3 + 15}); // the "파일" tab
    QTest::qWait(500);
    QString filter;
    const QString target = out.path() + "/saved guide.pdf";
    onNextModal<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->objectName(), "fileSaveDialog");
        filter = dialog->selectedNameFilter();
        dialog->selectFile(target);
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    QString message;
    bool messageSeen = false;
    QTimer::singleShot(0, [&] {
        onNextModal<QMessageBox>([&](QMessageBox* box) {
            message = box->text();
            messageSeen = true;
            box->button(QMessageBox::Ok)->click();
        });
    });
    clickStage(player, stage, {20 + 150, 88 + 20}); // "문서 저장 (function_copyfile)"
    ASSERT_TRUE(QTest::qWaitFor([&] { return messageSeen; }, 30000)) << "no result message";
    EXPECT_TRUE(debug.hasLine(mainLine("QORV", "function_copyfile@@@docs/guide.pdf")));
    EXPECT_EQ(filter, "PDF 파일 (*.pdf)");
    EXPECT_EQ(message, "guide.pdf 파일이 저장되었습니다.");
    QFile saved(target);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().startsWith("%PDF-1.4"));

    QStringList buttons;
    bool promptSeen = false;
    onNextModal<QDialog>([&](QDialog* prompt) {
        if (prompt->objectName() != "FileDownloadForm") {
            return;
        }
        for (const char* name : {"OpenButton", "SaveButton", "AbortButton"}) {
            if (auto* b = prompt->findChild<QPushButton*>(name)) {
                buttons << b->text();
            }
        }
        promptSeen = true;
        prompt->findChild<QPushButton*>("AbortButton")->click();
    });
    clickStage(player, stage, {340 + 150, 88 + 20}); // "열기 또는 저장 (copyfileModal)"
    ASSERT_TRUE(QTest::qWaitFor([&] { return promptSeen; }, 30000)) << "no prompt";
    EXPECT_EQ(buttons, QStringList({"열기", "저장", "취소"}));
    form.hide();
}

// A movie opens a pop-up at half the screen height; the pop-up's movie reports a page; closing the
// pop-up tells the main movie, which echoes the call back.
TEST(WindowsE2E, PopUpReportsItsPageToTheMainMovieWhenItCloses) {
    QTemporaryDir dir;
    bookbuilder::Book main;
    main.firstFrameScript.append(bookbuilder::echoCallback("goPageLink_QORV", "pageLink", 2));
    main.firstFrameScript.fscommand("function", "PopUpForm@@@popup.swf@@@@@@50@@@Quiz");
    main.firstFrameScript.fscommand("ready", "");
    main.pages.push_back({"main", "main", {}, {}, {}});
    swf::SwfWriter::writeFile((dir.path() + "/QORVViewer.swf").toStdString(), bookbuilder::build(main));
    bookbuilder::Book popup;
    popup.firstFrameScript.fscommand("QORV", "function_current_page@@@7");
    popup.pages.push_back({"popup", "popup", {}, {}, {}});
    swf::SwfWriter::writeFile((dir.path() + "/popup.swf").toStdString(), bookbuilder::build(popup));

    LinuxEnvironment environment(dir.path() + "/QORVViewer", {});
    LoggingDebugOutput debug;
    TPlayerForm form(environment, debug);
    form.show();
    const QString pageLine =
        "[TChildForm::ShockwaveFlash1FSCommand] COMMAND: QORV   ARGS: function_current_page@@@7";
    ASSERT_TRUE(QTest::qWaitFor([&] { return debug.hasLine(pageLine); }, 60000)) << "the pop-up never spoke";

    const QList<TChildForm*> popups = form.findChildren<TChildForm*>();
    ASSERT_EQ(popups.size(), 1);
    TChildForm* child = popups.first();
    EXPECT_EQ(child->windowTitle(), "Quiz");
    EXPECT_EQ(child->ScalePercent, 50);
    EXPECT_EQ(child->frameGeometry().height(), form.screen()->geometry().height() / 2);
    EXPECT_EQ(child->CurrentPage(), "7");

    child->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return debug.hasLine(mainLine("goPageLink_QORV", "7|false")); }, 30000))
        << "the main movie was not told the page";
    EXPECT_TRUE(form.findChildren<TChildForm*>().isEmpty() ||
                !form.findChildren<TChildForm*>().first()->isVisible());
    form.hide();
}
