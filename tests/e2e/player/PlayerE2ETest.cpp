#include "PlayerFixtures.h"
#include "bridge/ContentCalls.h"
#include "player/RufflePlayer.h"
#include "unit/fakes/FakePlatform.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace playerfixtures;

namespace {

constexpr int kStartTimeoutMs = 60000;
constexpr int kTimeoutMs = 15000;

bool waitFor(const std::function<bool()>& done, int timeoutMs = kTimeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QTest::qWait(5);
    }
    return true;
}

// One player in a 400 x 300 window, recording every fscommand it delivers.
struct Harness {
    Harness() : player(std::make_unique<RufflePlayer>(debug)) {
        player->resize(400, 300);
        player->show();
        player->setFSCommandHandler([this](const QString& c, const QString& a) { received.append({c, a}); });
    }
    ~Harness() {
        if (::testing::Test::HasFailure()) {
            std::fprintf(stderr, "player log:\n%s\n", debug.lines.join('\n').toUtf8().constData());
        }
    }

    qsizetype find(const QString& command, qsizetype from = 0) const {
        for (qsizetype i = from; i < received.size(); ++i) {
            if (received[i].first == command) {
                return i;
            }
        }
        return -1;
    }
    bool waitForCommand(const QString& command, int timeoutMs = kTimeoutMs) {
        return waitFor([&] { return find(command) >= 0; }, timeoutMs);
    }
    bool waitForWatch(const QString& name, const QString& value) {
        return waitFor([&] {
            for (const auto& [c, a] : received) {
                if (c == QStringLiteral("watch:") + name && a == value) {
                    return true;
                }
            }
            return false;
        });
    }
    bool logged(const QString& part) const {
        for (const QString& line : debug.lines) {
            if (line.contains(part)) {
                return true;
            }
        }
        return false;
    }

    CapturingDebugOutput debug;
    std::unique_ptr<RufflePlayer> player;
    QList<QPair<QString, QString>> received;
};

QImage screenshot(QWidget& widget) {
    QScreen* screen = widget.screen() ? widget.screen() : QGuiApplication::primaryScreen();
    return screen->grabWindow(widget.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

int darkPixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom() && y < image.height(); ++y) {
        for (int x = area.left(); x <= area.right() && x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                ++count;
            }
        }
    }
    return count;
}

bool isRed(QRgb pixel) {
    return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
}

} // namespace

// The movie's fscommands reach the host intact and in order; the host's variables and calls reach the movie.
TEST(RufflePlayerE2E, MovieAndHostTalkBothWays) {
    QTemporaryDir temp;
    const QString book = temp.path() + QStringLiteral("/Book/book.swf");
    save(talkingMovie(), book);
    Harness h;
    const QString flashVar = QStringLiteral("플래시 변수 & =");
    h.player->FlashVars(QStringLiteral("fv=") + QString::fromLatin1(QUrl::toPercentEncoding(flashVar)));
    h.player->Movie(book);
    contentcalls::setFirstPage(*h.player, QStringLiteral("7"));
    ASSERT_TRUE(h.waitForCommand(QStringLiteral("ready"), kStartTimeoutMs))
        << h.debug.lines.join('\n').toStdString();

    QList<QPair<QString, QString>> expected = {
        {"korean", koreanArgument()}, {"empty", ""}, {"big", bigArgument()}};
    for (int i = 0; i < kBurst; ++i) {
        expected.append({"burst", QString::number(i)});
    }
    expected.append({{"flashvar", flashVar}, {"firstPage", "7"}, {"ready", ""}});
    ASSERT_GE(h.received.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(h.received[i].first, expected[i].first) << "command " << i;
        ASSERT_EQ(h.received[i].second, expected[i].second) << "command " << i;
    }

    const QString reply = QStringLiteral("응답 & <x> \"1\"");
    h.player->SetVariable(QStringLiteral("reply"), reply);
    EXPECT_TRUE(h.waitForWatch(QStringLiteral("reply"), reply));
    EXPECT_EQ(contentcalls::appPath(*h.player), QStringLiteral("/books/app/"));
    EXPECT_EQ(h.player->GetVariable(QStringLiteral("_root.reply")), reply);
    EXPECT_EQ(h.player->GetVariable(QStringLiteral("no_such_variable")), QString());

    const QString awkward = QStringLiteral("책 & <1> \"따옴표\"");
    const struct {
        QString request;
        QString command;
        QString joined;
    } calls[] = {
        {contentcalls::onRecordCompleteRequest(QStringLiteral("/tmp/녹음 & <1>.mp3")),
         "call:onRecordComplete", QStringLiteral("/tmp/녹음 & <1>.mp3")},
        {contentcalls::otherBookRequest(awkward, QStringLiteral("12")), "call:otherBook_QORV",
         awkward + QStringLiteral("|12|false")},
        // An empty text argument reaches the movie as null, as ExternalInterface always did.
        {contentcalls::goPageLinkRequest(QString()), "call:goPageLink_QORV", QStringLiteral("null|false")},
    };
    for (const auto& c : calls) {
        const qsizetype before = h.received.size();
        const QString answer = h.player->CallFunction(c.request);
        EXPECT_EQ(answer,
                  QStringLiteral("<string>") + c.joined.toHtmlEscaped() + QStringLiteral("</string>"));
        ASSERT_TRUE(waitFor([&] { return h.find(c.command, before) >= 0; })) << c.command.toStdString();
        EXPECT_EQ(h.received[h.find(c.command, before)].second, c.joined);
    }

    // Stop freezes the movie: its frame counter no longer moves.
    const QString running = h.player->GetVariable(QStringLiteral("counter"));
    ASSERT_TRUE(waitFor([&] { return h.player->GetVariable(QStringLiteral("counter")) != running; }));
    h.player->Stop();
    const QString stopped = h.player->GetVariable(QStringLiteral("counter"));
    QTest::qWait(300); // about 18 frames at the movie's rate
    EXPECT_EQ(h.player->GetVariable(QStringLiteral("counter")), stopped);
}

// A screenshot shows the movie's shape, and Korean text in a device font draws glyphs.
TEST(RufflePlayerE2E, DrawsShapesAndKoreanDeviceText) {
    QTemporaryDir temp;
    save(drawingMovie(QStringLiteral("한글 테스트")), temp.path() + QStringLiteral("/korean.swf"));
    save(drawingMovie(QString()), temp.path() + QStringLiteral("/empty.swf"));
    Harness h;
    const QRect textArea(0, 200, 400, 80);
    auto drawn = [&](const QString& movie) {
        h.received.clear();
        h.player->Movie(temp.path() + QLatin1Char('/') + movie);
        EXPECT_TRUE(h.waitForCommand(QStringLiteral("ready"), kStartTimeoutMs))
            << h.debug.lines.join('\n').toStdString();
        QImage shot;
        EXPECT_TRUE(waitFor([&] {
            shot = screenshot(*h.player);
            return isRed(shot.pixel(100, 100)) && qGray(shot.pixel(10, 10)) > 240;
        })) << movie.toStdString();
        // The text is drawn in the same frame as the square, but give the compositor one more paint.
        QTest::qWait(100);
        shot = screenshot(*h.player);
        const QString keep = qEnvironmentVariable("QORV_E2E_SHOTS");
        if (!keep.isEmpty()) {
            shot.save(keep + QLatin1Char('/') + movie + QStringLiteral(".png"));
        }
        return shot;
    };
    const int korean = darkPixels(drawn(QStringLiteral("korean.swf")), textArea);
    const int empty = darkPixels(drawn(QStringLiteral("empty.swf")), textArea);
    EXPECT_GT(korean, 300);
    EXPECT_LT(empty, 20);
}

// Variables set between Movie and the book's first frame are not lost: with the movie they reach frame 1,
// later ones are applied as soon as the book runs, in order; a read in between waits for the book.
TEST(RufflePlayerE2E, VariablesSetBeforeTheBookRunsAreKept) {
    QTemporaryDir temp;
    save(quietMovie(), temp.path() + QStringLiteral("/quiet.swf"));
    save(talkingMovie(), temp.path() + QStringLiteral("/talk.swf"));
    Harness h;
    h.player->setAnswerTimeout(kStartTimeoutMs);
    h.player->Movie(temp.path() + QStringLiteral("/quiet.swf"));
    ASSERT_TRUE(h.waitForCommand(QStringLiteral("ready"), kStartTimeoutMs));

    h.received.clear();
    h.player->Movie(temp.path() + QStringLiteral("/talk.swf"));
    contentcalls::setFirstPage(*h.player, QStringLiteral("p.3"));
    QCoreApplication::processEvents(); // the movie is on its way; what follows comes after it
    h.player->SetVariable(QStringLiteral("reply"), QStringLiteral("first"));
    h.player->SetVariable(QStringLiteral("_root.reply"), QStringLiteral("late"));
    EXPECT_EQ(h.player->GetVariable(QStringLiteral("reply")), QStringLiteral("late"));
    ASSERT_TRUE(h.waitForCommand(QStringLiteral("ready")));
    const qsizetype firstPage = h.find(QStringLiteral("firstPage"));
    EXPECT_EQ(h.received[firstPage].second, QStringLiteral("p.3"));
    EXPECT_TRUE(h.waitForWatch(QStringLiteral("reply"), QStringLiteral("late")));
}

// The scale mode given before the movie decides how a 400 x 300 stage fills an 800 x 600 player.
TEST(RufflePlayerE2E, ScaleModes) {
    QTemporaryDir temp;
    const QString movie = temp.path() + QStringLiteral("/square.swf");
    save(drawingMovie(QString()), movie);
    Harness h;
    h.player->resize(800, 600);
    const struct {
        const char* mode;
        QPoint red;   // inside the square as this mode places it
        QPoint white; // outside it
    } cases[] = {
        {"showAll", {120, 120}, {320, 320}}, // doubled: the square covers (100, 100)-(300, 300)
        {"NOSCALE", {300, 250}, {120, 120}}, // centred as it is: (250, 200)-(350, 300)
        {"anything", {120, 120}, {320, 320}},
    };
    for (const auto& c : cases) {
        h.received.clear();
        h.player->Scale(QString::fromUtf8(c.mode));
        h.player->Movie(movie);
        ASSERT_TRUE(h.waitForCommand(QStringLiteral("ready"), kStartTimeoutMs)) << c.mode;
        QImage shot;
        EXPECT_TRUE(waitFor([&] {
            shot = screenshot(*h.player);
            return isRed(shot.pixel(c.red)) && qGray(shot.pixel(c.white)) > 240;
        })) << c.mode;
    }
}

// Missing and damaged movies are reported, the player goes on; the movie reaches only its own folder and
// the folders the host allowed, with any case and with backslashes.
TEST(RufflePlayerE2E, ProblemsAreReportedAndForeignFilesRefused) {
    QTemporaryDir temp;
    const QString root = temp.path();
    Harness h;
    QSignalSpy problems(h.player.get(), &RufflePlayer::problemShown);

    h.player->Movie(root + QStringLiteral("/none.swf"));
    EXPECT_EQ(problems.size(), 1);
    EXPECT_TRUE(h.logged(QStringLiteral("does not exist")));
    QFile corrupt(root + QStringLiteral("/corrupt.swf"));
    ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly));
    corrupt.write(QByteArray("CWS\x08\x40\0\0\0garbage that does not inflate", 38));
    corrupt.close();
    h.player->Movie(corrupt.fileName());
    EXPECT_EQ(problems.size(), 2);
    EXPECT_TRUE(h.logged(QStringLiteral("damaged")));
    EXPECT_EQ(h.player->GetVariable(QStringLiteral("x")), QString());

    auto write = [](const QString& path, const QByteArray& data) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    };
    write(root + QStringLiteral("/Book/sub/data.txt"), "loaded=ok");
    write(root + QStringLiteral("/Notes/n.txt"), QStringLiteral("note=메모").toUtf8());
    write(root + QStringLiteral("/Outside/o.txt"), "outside=leaked");
    write(root + QStringLiteral("/Hidden/h.txt"), "hidden=leaked");
    h.player->allowPath(root + QStringLiteral("/Notes"));
    const QStringList urls = {QStringLiteral("SUB\\Data.TXT"), root + QStringLiteral("/Notes/n.txt"),
                              QStringLiteral("../Outside/o.txt"), root + QStringLiteral("/Hidden/h.txt")};
    save(loadingMovie(urls, {"loaded", "note", "outside", "hidden"}),
         root + QStringLiteral("/Book/book.swf"));
    h.player->Movie(root + QStringLiteral("/Book/book.swf"));
    ASSERT_TRUE(h.waitForCommand(QStringLiteral("ready"), kStartTimeoutMs))
        << h.debug.lines.join('\n').toStdString();
    EXPECT_TRUE(h.waitForWatch(QStringLiteral("loaded"), QStringLiteral("ok")));
    EXPECT_TRUE(h.waitForWatch(QStringLiteral("note"), QStringLiteral("메모")));
    EXPECT_TRUE(waitFor([&] { return h.logged(root + QStringLiteral("/Hidden/h.txt")); }));
    EXPECT_TRUE(waitFor([&] { return h.logged(root + QStringLiteral("/Outside/o.txt")); }));
    EXPECT_TRUE(h.logged(QStringLiteral("refused")));
    EXPECT_EQ(h.find(QStringLiteral("watch:outside")), -1);
    EXPECT_EQ(h.find(QStringLiteral("watch:hidden")), -1);
}

// Two windows play at once, each with its own movie, commands and folders.
TEST(RufflePlayerE2E, SeveralPlayersAtOnce) {
    QTemporaryDir temp;
    save(talkingMovie(), temp.path() + QStringLiteral("/A/a.swf"));
    save(quietMovie(), temp.path() + QStringLiteral("/B/b.swf"));
    Harness a;
    Harness b;
    a.player->Movie(temp.path() + QStringLiteral("/A/a.swf"));
    b.player->Movie(temp.path() + QStringLiteral("/B/b.swf"));
    ASSERT_TRUE(a.waitForCommand(QStringLiteral("ready"), kStartTimeoutMs));
    ASSERT_TRUE(b.waitForCommand(QStringLiteral("ready"), kStartTimeoutMs));
    EXPECT_EQ(b.received.size(), 1);
    b.player->SetVariable(QStringLiteral("only_b"), QStringLiteral("b"));
    EXPECT_EQ(b.player->GetVariable(QStringLiteral("only_b")), QStringLiteral("b"));
    EXPECT_EQ(a.player->GetVariable(QStringLiteral("only_b")), QString());
}

// Without its files the player says so in the log and the window, and every call stays harmless.
TEST(RufflePlayerE2E, MissingPlayerFilesAreReported) {
    QTemporaryDir empty;
    const QByteArray saved = qgetenv("QORV_RUFFLE_DIR");
    qputenv("QORV_RUFFLE_DIR", empty.path().toUtf8());
    Harness h;
    qputenv("QORV_RUFFLE_DIR", saved);
    EXPECT_TRUE(h.logged(QStringLiteral("missing")));
    h.player->Movie(empty.path() + QStringLiteral("/book.swf"));
    h.player->SetVariable(QStringLiteral("x"), QStringLiteral("1"));
    h.player->setAnswerTimeout(200);
    EXPECT_EQ(h.player->GetVariable(QStringLiteral("x")), QString());
    h.player->Stop();
}
