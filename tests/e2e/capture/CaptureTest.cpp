// The window capture on a real X display: a top-level window whose player paints known colours, scripted
// answers instead of the save dialog, and the saved JPEG read back with the JPEG library.
#include "services/capture/WindowCapture.h"

#include "PlayerFixtures.h"
#include "core/Dialogs.h"
#include "player/PlayerWebProfile.h"
#include "player/RufflePlayer.h"
#include "tests/unit/fakes/FakeDialogs.h"
#include "tests/unit/fakes/FakePlatform.h"
#include "tests/unit/scrap/JpegDecode.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QPainter>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QWidget>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Four coloured quarters; tests may change the colours to see which painting the capture shows.
class QuarterPlayer : public QWidget {
public:
    QColor colours[4] = {QColor(220, 30, 30), QColor(30, 200, 30), QColor(30, 30, 220), QColor(230, 200, 40)};

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const int w = width() / 2, h = height() / 2;
        painter.fillRect(0, 0, w, h, colours[0]);
        painter.fillRect(w, 0, width() - w, h, colours[1]);
        painter.fillRect(0, h, w, height() - h, colours[2]);
        painter.fillRect(w, h, width() - w, height() - h, colours[3]);
    }
};

// Scripted save answers, with something to do while the "dialog" is open.
class ScriptedDialogs : public FakeDialogs {
public:
    std::optional<QString> saveFile(SaveDialogState& dialog) override {
        if (whileOpen) {
            whileOpen();
        }
        return FakeDialogs::saveFile(dialog);
    }
    std::function<void()> whileOpen;
};

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Shows a window and waits until the screen shows colour at point of widget.
void showUntilScreenShows(QWidget& window, QWidget* widget, QPoint point, const QColor& colour) {
    window.show();
    const bool shown = waitUntil(
        [&] {
            const QImage screen = WindowCapture::grab(widget);
            return !screen.isNull() && std::abs(screen.pixelColor(point).red() - colour.red()) <= 8 &&
                   std::abs(screen.pixelColor(point).green() - colour.green()) <= 8 &&
                   std::abs(screen.pixelColor(point).blue() - colour.blue()) <= 8;
        },
        20000);
    ASSERT_TRUE(shown) << "the screen never showed the window";
}

// Shows a black window over the player, as a dialog would lie there, and takes it away again.
void coverBriefly(QWidget& cover, QWidget* player) {
    cover.setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
    cover.setStyleSheet(QStringLiteral("background: black"));
    cover.setGeometry(QRect(player->mapToGlobal(QPoint(-20, -20)), player->size() + QSize(40, 40)));
    showUntilScreenShows(cover, &cover, QPoint(30, 30), Qt::black);
    cover.hide();
}

bool near(const unsigned char* px, const QColor& c, int tolerance = 12) {
    return std::abs(px[0] - c.red()) <= tolerance && std::abs(px[1] - c.green()) <= tolerance &&
           std::abs(px[2] - c.blue()) <= tolerance;
}

QString describe(const unsigned char* px) {
    return QStringLiteral("(%1,%2,%3)").arg(px[0]).arg(px[1]).arg(px[2]);
}

// A window with a frame of other widgets around the player, so the player is not at the window's origin.
class CaptureFixture : public ::testing::Test {
protected:
    void SetUp() override {
        window.setObjectName(QStringLiteral("PlayerForm"));
        window.setStyleSheet(QStringLiteral("background: rgb(128,128,128)"));
        auto* layout = new QHBoxLayout(&window);
        layout->setContentsMargins(37, 23, 11, 9);
        player = new QuarterPlayer;
        player->setFixedSize(320, 240);
        layout->addWidget(player);
        window.move(40, 60);
        showUntilScreenShows(window, player, QPoint(5, 5), player->colours[0]);
    }

    void expectQuarters(const QString& file, const QColor (&colours)[4]) {
        const DecodedJpeg jpeg = decodeJpegFile(file);
        ASSERT_TRUE(jpeg.ok) << file.toStdString();
        ASSERT_EQ(jpeg.width, player->width());
        ASSERT_EQ(jpeg.height, player->height());
        const int w = jpeg.width, h = jpeg.height;
        // Corners a few pixels in show the picture is the player's area and not shifted; centres show the
        // colours.
        const QPoint points[4][2] = {{{3, 3}, {w / 4, h / 4}},
                                     {{w - 4, 3}, {3 * w / 4, h / 4}},
                                     {{3, h - 4}, {w / 4, 3 * h / 4}},
                                     {{w - 4, h - 4}, {3 * w / 4, 3 * h / 4}}};
        for (int quarter = 0; quarter < 4; ++quarter) {
            for (const QPoint& p : points[quarter]) {
                const unsigned char* px = jpeg.pixel(p.x(), p.y());
                EXPECT_TRUE(near(px, colours[quarter])) << "quarter " << quarter << " at (" << p.x() << ","
                                                        << p.y() << ") is " << describe(px).toStdString();
            }
        }
    }

    QTemporaryDir dir;
    QWidget window;
    QuarterPlayer* player = nullptr;
    ScriptedDialogs dialogs;
    CapturingDebugOutput debug;
    SaveDialogState fileSaveDialog{QStringLiteral("fileSaveDialog"), QStringLiteral("PDF 파일|*.pdf"),
                                   QString()};
};

TEST_F(CaptureFixture, SavesThePlayersAreaAsShown) {
    dialogs.saveAnswers.push_back(dir.filePath(QStringLiteral("photo.PNG")));
    WindowCapture::capture(player, dialogs, fileSaveDialog, debug);
    EXPECT_EQ(dialogs.shown,
              QStringList{QStringLiteral("saveFile(fileSaveDialog|JPG 파일|*.jpg|ScrapImage.jpg)")});
    expectQuarters(dir.filePath(QStringLiteral("photo.PNG.jpg")), player->colours);
    EXPECT_TRUE(debug.lines.isEmpty());
}

// What lay over the player while the dialog was open, or what the player showed then, must not be in the
// picture: the capture waits for the repaint.
TEST_F(CaptureFixture, WaitsForTheAreaUnderTheDialogToRepaint) {
    QWidget cover;
    dialogs.whileOpen = [&] {
        coverBriefly(cover, player);
        // The player shows new colours once it repaints.
        player->colours[0] = QColor(250, 120, 0);
        player->colours[3] = QColor(0, 180, 180);
        player->update();
    };
    dialogs.saveAnswers.push_back(dir.filePath(QStringLiteral("shot.JPEG")));
    WindowCapture::capture(player, dialogs, fileSaveDialog, debug);
    expectQuarters(dir.filePath(QStringLiteral("shot.JPEG")), player->colours);
}

TEST_F(CaptureFixture, CancelOrAFailedSaveReportsNothing) {
    WindowCapture::capture(player, dialogs, fileSaveDialog, debug); // cancelled
    dialogs.saveAnswers.push_back(dir.filePath(QStringLiteral("no/such/folder/shot")));
    WindowCapture::capture(player, dialogs, fileSaveDialog, debug);
    EXPECT_EQ(dialogs.shown.size(), 2);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_TRUE(debug.lines.isEmpty());
    EXPECT_EQ(fileSaveDialog.filter, QStringLiteral("JPG 파일|*.jpg"));
}

TEST_F(CaptureFixture, APlayerWithoutPicturesWritesTheDebugLine) {
    player->hide();
    dialogs.saveAnswers.push_back(dir.filePath(QStringLiteral("shot.jpg")));
    WindowCapture::capture(player, dialogs, fileSaveDialog, debug);
    EXPECT_EQ(debug.lines, QStringList{QStringLiteral("Unable to Create BackBuffer Bitamp")});
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

// A web view paints through its own child widgets and the GPU process: the capture must still see it.
TEST(WebCapture, SavesWhatAWebViewShows) {
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    layout->setContentsMargins(15, 15, 15, 15);
    auto* view = new QWebEngineView;
    view->setFixedSize(300, 200);
    layout->addWidget(view);
    view->setHtml(QStringLiteral(
        "<html><body style='margin:0'>"
        "<div "
        "style='position:absolute;left:0;top:0;width:150px;height:200px;background:rgb(200,20,20)'></div>"
        "<div "
        "style='position:absolute;left:150px;top:0;width:150px;height:200px;background:rgb(20,20,200)'></div>"
        "</body></html>"));
    showUntilScreenShows(window, view, QPoint(70, 100), QColor(200, 20, 20));

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    CapturingDebugOutput debug;
    SaveDialogState state{QStringLiteral("fileSaveDialog"), QString(), QString()};
    dialogs.saveAnswers.push_back(dir.filePath(QStringLiteral("web")));
    WindowCapture::capture(view, dialogs, state, debug);
    const DecodedJpeg jpeg = decodeJpegFile(dir.filePath(QStringLiteral("web.jpg")));
    ASSERT_TRUE(jpeg.ok);
    ASSERT_EQ(jpeg.width, 300);
    ASSERT_EQ(jpeg.height, 200);
    EXPECT_TRUE(near(jpeg.pixel(70, 100), QColor(200, 20, 20)))
        << describe(jpeg.pixel(70, 100)).toStdString();
    EXPECT_TRUE(near(jpeg.pixel(230, 100), QColor(20, 20, 200)))
        << describe(jpeg.pixel(230, 100)).toStdString();
}

// A movie in the real player, a white stage with a red square at (50, 50)-(150, 150), under a dialog.
TEST(RuffleCapture, SavesWhatTheMovieShows) {
    QTemporaryDir dir;
    const QString movie = dir.filePath(QStringLiteral("drawing.swf"));
    playerfixtures::save(playerfixtures::drawingMovie(QString()), movie);
    CapturingDebugOutput debug;
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    layout->setContentsMargins(21, 13, 21, 13);
    auto* player = new RufflePlayer(debug);
    player->setFixedSize(400, 300);
    layout->addWidget(player);
    player->Movie(movie);
    showUntilScreenShows(window, player, QPoint(100, 100), QColor(255, 0, 0));

    ScriptedDialogs dialogs;
    QWidget cover;
    dialogs.whileOpen = [&] { coverBriefly(cover, player); };
    SaveDialogState state{QStringLiteral("fileSaveDialog"), QString(), QString()};
    dialogs.saveAnswers.push_back(dir.filePath(QStringLiteral("movie.jpeg")));
    WindowCapture::capture(player, dialogs, state, debug);
    const DecodedJpeg jpeg = decodeJpegFile(dir.filePath(QStringLiteral("movie.jpeg")));
    ASSERT_TRUE(jpeg.ok);
    ASSERT_EQ(jpeg.width, 400);
    ASSERT_EQ(jpeg.height, 300);
    EXPECT_TRUE(near(jpeg.pixel(100, 100), QColor(255, 0, 0)))
        << describe(jpeg.pixel(100, 100)).toStdString();
    EXPECT_TRUE(near(jpeg.pixel(55, 55), QColor(255, 0, 0))) << describe(jpeg.pixel(55, 55)).toStdString();
    EXPECT_TRUE(near(jpeg.pixel(10, 10), QColor(255, 255, 255)))
        << describe(jpeg.pixel(10, 10)).toStdString();
    EXPECT_TRUE(near(jpeg.pixel(300, 100), QColor(255, 255, 255)))
        << describe(jpeg.pixel(300, 100)).toStdString();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr,
                     "no DISPLAY: the capture test needs an X server (scripts/test-env.sh starts one)\n");
        return 77;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    PlayerWebProfile::registerUrlScheme();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
