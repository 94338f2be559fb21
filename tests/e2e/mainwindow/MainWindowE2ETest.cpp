#include "PlayerFixtures.h"
#include "app/QORVViewerMainFormUnit.h"
#include "core/DebugOutput.h"
#include "platform/linux/LinuxEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

// Keeps the lines and passes them on to standard error, where a reader of the test log sees them.
class RecordingDebugOutput : public DebugOutput {
public:
    void line(const QString& text) override {
        lines << text;
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    }
    bool has(const QString& part) const {
        return std::any_of(lines.begin(), lines.end(), [&](const QString& l) { return l.contains(part); });
    }
    QStringList lines;
};

struct FixtureBook {
    QTemporaryDir dir;
    FixtureBook(const QByteArray& pageVars) {
        playerfixtures::save(playerfixtures::drawingMovie(QStringLiteral("창")),
                             dir.path() + "/QORVViewer.swf");
        QDir(dir.path()).mkpath("QORVViewer_Page_img");
        QFile f(dir.path() + "/QORVViewer_Page_img/Page_var.txt");
        f.open(QIODevice::WriteOnly);
        f.write(pageVars);
    }
    QString exe() const { return dir.path() + "/QORVViewer"; }
};

// Answers the next modal message box with the given button once it shows, and keeps its text.
void answerNextBox(QMessageBox::StandardButton button, QString* text) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, button, text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            return;
        }
        *text = box->text();
        timer->stop();
        timer->deleteLater();
        box->button(button)->click();
    });
    timer->start(20);
}

} // namespace

TEST(MainWindowE2E, OpensTheBookAndAsksBeforeClosing) {
    FixtureBook book("&title=E2E %26 Book&\r\n&width=700&\r\n&height=500&\r\n");
    LinuxEnvironment environment(book.exe(), {});
    RecordingDebugOutput debug;
    TPlayerForm form(environment, debug);
    form.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return debug.has("COMMAND: ready"); }, 60000))
        << "the movie never spoke";

    EXPECT_EQ(form.windowTitle(), "E2E & Book");
    EXPECT_EQ(form.frameGeometry().size(), QSize(700, 500));
    EXPECT_EQ(debug.lines.filter("[TPlayerForm::FlashPlayerFSCommand] COMMAND: ready   ARGS: ").size(), 1);

    // The stage (400 x 300, shown whole) fills the player's height: the red square lies left of centre.
    QWidget* player = form.flashPlayerWidget();
    const double scale = std::min(player->width() / 400.0, player->height() / 300.0);
    const int offsetX = static_cast<int>((player->width() - 400 * scale) / 2);
    const int offsetY = static_cast<int>((player->height() - 300 * scale) / 2);
    QColor inSquare;
    QColor outside;
    // The canvas shows the frame a moment after the movie has run it: wait for the picture.
    (void)QTest::qWaitFor(
        [&] {
            const QPoint origin = player->mapToGlobal(QPoint(0, 0));
            const QImage shot = QGuiApplication::primaryScreen()
                                    ->grabWindow(0, origin.x(), origin.y(), player->width(), player->height())
                                    .toImage();
            inSquare = shot.pixelColor(offsetX + static_cast<int>(100 * scale),
                                       offsetY + static_cast<int>(100 * scale));
            outside = shot.pixelColor(offsetX + static_cast<int>(300 * scale),
                                      offsetY + static_cast<int>(100 * scale));
            return inSquare.red() > 200 && inSquare.green() < 60;
        },
        15000);
    EXPECT_GT(inSquare.red(), 200);
    EXPECT_LT(inSquare.green(), 60);
    EXPECT_GT(outside.green(), 200);

    QString question;
    answerNextBox(QMessageBox::No, &question);
    form.close();
    EXPECT_EQ(question, QStringLiteral("종료하시겠습니까?"));
    EXPECT_TRUE(form.isVisible());

    answerNextBox(QMessageBox::Yes, &question);
    form.close();
    EXPECT_FALSE(form.isVisible());
}

TEST(MainWindowE2E, ABookWithoutPageVariablesOpensMaximisedWithTheFirstPage) {
    QTemporaryDir dir;
    playerfixtures::save(playerfixtures::talkingMovie(), dir.path() + "/story.swf");
    LinuxEnvironment environment(dir.path() + "/QORVViewer", {"-p", dir.path() + "/story.swf"});
    RecordingDebugOutput debug;
    TPlayerForm form(environment, debug);
    form.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return debug.has("COMMAND: ready"); }, 60000));
    EXPECT_EQ(form.windowTitle(), "story");
    EXPECT_TRUE(form.isMaximized());
    // "-p" as the first argument also asks for the first page: the rest of it, the empty text.
    EXPECT_TRUE(debug.lines.contains("[TPlayerForm::FlashPlayerFSCommand] COMMAND: firstPage   ARGS: "));
}

TEST(MainWindowE2E, TheProgramStartsFromTheCommandLineAndLogsTheMovie) {
    FixtureBook book("&title=Smoke&\r\n&width=640&\r\n&height=480&\r\n");
    QProcess viewer;
    viewer.setProgram(QStringLiteral(QORV_VIEWER_EXE));
    viewer.setArguments({"-p", book.dir.path() + "/QORVViewer.swf"});
    viewer.setProcessChannelMode(QProcess::SeparateChannels);
    viewer.start();
    ASSERT_TRUE(viewer.waitForStarted(10000));
    QByteArray log;
    const bool spoke = QTest::qWaitFor(
        [&] {
            viewer.waitForReadyRead(100);
            log += viewer.readAllStandardError();
            return log.contains("[TPlayerForm::FlashPlayerFSCommand] COMMAND: ready   ARGS: ");
        },
        60000);
    viewer.kill();
    viewer.waitForFinished(5000);
    EXPECT_TRUE(spoke) << log.toStdString();
}
