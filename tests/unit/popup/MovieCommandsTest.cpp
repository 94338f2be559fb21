#include "popup/MovieCommands.h"
#include "core/QorvError.h"
#include "unit/fakes/FakeFlashPlayer.h"
#include "unit/fakes/FakePlatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class FakePopup : public PopupWindow {
public:
    FlashPlayer& player() override { return flash; }
    QSize playerSize() const override { return size; }
    void setCaption(const QString& c) override { log << "caption(" + c + ")"; }
    void setScalePercent(int p) override { log << QString("scale(%1)").arg(p); }
    void setMovieFolder(const QString& f) override { log << "folder(" + f + ")"; }
    void setMaximized() override { log << "maximized"; }
    void setNormalGeometry(const QRect& g) override {
        log << QString("geometry(%1,%2,%3,%4)").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
    }
    void showModeless() override { log << "show"; }
    void discard() override { log << "discard"; }

    FakeFlashPlayer flash;
    QSize size{1032, 732};
    QStringList log;
};

class FakeHost : public PopupHost {
public:
    PopupWindow& createPopup() override {
        popups.push_back(std::make_unique<FakePopup>());
        return *popups.back();
    }
    QSize screenSize() const override { return {1920, 1080}; }
    FrameMetrics frameMetrics() const override { return frame; }
    void captureForm() override { ++captures; }

    std::vector<std::unique_ptr<FakePopup>> popups;
    FrameMetrics frame{4, 4, 23};
    int captures = 0;
};

struct Rig {
    QTemporaryDir dir;
    FakeFlashPlayer main;
    FakeEnvironment env;
    FakeHost host;
    QString skin;
    MovieCommands commands{main, env, host, [this] { return skin; }};

    Rig() { env.exePath = dir.path() + "/QORVViewer"; }
    void touch(const QString& relative) {
        const QString path = dir.path() + "/" + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        f.open(QIODevice::WriteOnly);
    }
    FakePopup& popup() { return *host.popups.back(); }
};

} // namespace

TEST(MovieCommands, PopUpFormFieldGrammar) {
    struct Case {
        QString rest, movie, page, scale, title;
    };
    const Case cases[] = {
        {"p.swf", "p.swf", "", "100", ""},
        {"p.swf@@@5", "p.swf", "", "100", ""},
        {"p.swf@@@5@@@50", "p.swf", "5", "100", ""},
        {"p.swf@@@5@@@50@@@Quiz", "p.swf", "5", "50", "Quiz"},
        {"p.swf@@@5@@@50@@@Quiz@@@more", "p.swf", "5", "50", "Quiz@@@more"},
        {"sub/p.swf@@@@@@@@@", "sub\\p.swf", "", "", ""},
        {"", "", "", "100", ""},
    };
    for (const Case& c : cases) {
        const auto f = MovieCommands::parsePopUpForm(c.rest);
        EXPECT_EQ(f.movie, c.movie) << c.rest.toStdString();
        EXPECT_EQ(f.page, c.page) << c.rest.toStdString();
        EXPECT_EQ(f.scale, c.scale) << c.rest.toStdString();
        EXPECT_EQ(f.title, c.title) << c.rest.toStdString();
    }
    const auto load = MovieCommands::parseLoadForm("q.swf@@@3@@@ignored");
    EXPECT_EQ(load.movie, "q.swf");
    EXPECT_EQ(load.page, "3");
    EXPECT_EQ(MovieCommands::parseLoadForm("q.swf@@@a=1").page, "a=1");
}

TEST(MovieCommands, PopUpOpensTheMovieWithItsFields) {
    struct Case {
        QString args;
        QStringList popupLog;
        QStringList playerCalls;
    };
    const QList<Case> cases = {
        {"PopUpForm@@@p.swf",
         {"caption()", "scale(100)", "folder(*)", "maximized", "show"},
         {"Movie(*p.swf)", "SetVariable(_root.BOOKLOAD_FIRSTPAGE,)"}},
        // Half the screen height: 540 high player, width kept in proportion, plus the frame.
        {"PopUpForm@@@p.swf@@@5@@@50@@@Quiz",
         {"caption(Quiz)", "scale(50)", "folder(*)", "geometry(575,254,769,571)", "show"},
         {"Movie(*p.swf)", "SetVariable(_root.BOOKLOAD_FIRSTPAGE,5)"}},
        {"PopUpForm@@@p.swf@@@a=1&b=2@@@0@@@T",
         {"caption(T)", "scale(0)", "folder(*)", "geometry(440,158,1040,763)", "show"},
         {"FlashVars(a=1&b=2)", "Movie(*p.swf)"}},
        {"PopUpForm@@@p.swf@@@1@@@1x@@@T",
         {"caption(T)", "scale(100)", "folder(*)", "maximized", "show"},
         {"*", "*"}},
        {"PopUpForm@@@p.swf@@@1@@@-20@@@T",
         {"caption(T)", "scale(100)", "folder(*)", "maximized", "show"},
         {"*", "*"}},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.touch("p.swf");
        rig.commands.function(c.args);
        ASSERT_EQ(rig.host.popups.size(), 1u) << c.args.toStdString();
        const QStringList& log = rig.popup().log;
        ASSERT_EQ(log.size(), c.popupLog.size())
            << c.args.toStdString() << ": " << log.join(' ').toStdString();
        for (qsizetype i = 0; i < log.size(); ++i) {
            if (c.popupLog[i] != "folder(*)") {
                EXPECT_EQ(log[i], c.popupLog[i]) << c.args.toStdString();
            }
        }
        EXPECT_EQ(log[2], "folder(" + rig.dir.path() + "/)");
        const QStringList& calls = rig.popup().flash.calls;
        ASSERT_EQ(calls.size(), c.playerCalls.size()) << c.args.toStdString();
        for (qsizetype i = 0; i < calls.size(); ++i) {
            const QString expected = QString(c.playerCalls[i]).replace("*", rig.dir.path() + "/");
            if (c.playerCalls[i] != "*") {
                EXPECT_EQ(calls[i], expected) << c.args.toStdString();
            }
        }
        EXPECT_EQ(rig.env.current, rig.dir.path());
    }
}

TEST(MovieCommands, AScaleTooLargeDiscardsThePopUpAndFails) {
    Rig rig;
    EXPECT_THROW(rig.commands.function("PopUpForm@@@p.swf@@@1@@@99999999999@@@T"), QorvError);
    ASSERT_EQ(rig.host.popups.size(), 1u);
    EXPECT_EQ(rig.popup().log.last(), "discard");
    EXPECT_TRUE(rig.popup().flash.calls.isEmpty());
}

TEST(MovieCommands, CandidatesAreTriedInOrder) {
    Rig rig;
    rig.main.variables["_root.__funcRoot.appPath"] = "file://" + rig.dir.path() + "/app/";
    rig.main.variables["_root.__funcRoot.appName"] = "Book";
    rig.env.args = QStringList{rig.dir.path() + "/books/story.swf"};
    rig.skin = "skin\\blue.swf";
    const QString d = rig.dir.path();
    const QStringList expected = {
        d + "/m.swf",
        d + "/app/Book_Page_img\\contents\\m.swf",
        d + "/skin\\blue_Page_img\\contents\\m.swf",
        d + "/books\\m.swf",
        d + "/books\\story_Page_img\\contents\\m.swf",
        d + "/QORVViewer_Page_img\\contents\\m.swf",
    };
    EXPECT_EQ(rig.commands.popUpCandidates("m.swf"), expected);
    EXPECT_EQ(rig.main.calls, QStringList({"GetVariable(_root.__funcRoot.appPath)",
                                           "GetVariable(_root.__funcRoot.appName)"}));

    // Each candidate wins when it is the first that exists; with none, the last is used.
    const QStringList files = {"app/Book_Page_img/contents/m.swf", "skin/blue_Page_img/contents/m.swf",
                               "books/m.swf", "books/story_Page_img/contents/m.swf"};
    for (qsizetype i = files.size() - 1; i >= 0; --i) {
        rig.touch(files[i]);
        rig.main.calls.clear();
        rig.commands.function("PopUpForm@@@m.swf");
        EXPECT_EQ(rig.popup().flash.calls.first(), "Movie(" + d + "/" + files[i] + ")");
    }
    rig.commands.function("PopUpForm@@@nowhere.swf");
    EXPECT_EQ(rig.popup().flash.calls.first(), "Movie(" + d + "/QORVViewer_Page_img/contents/nowhere.swf)");
}

TEST(MovieCommands, LoadFormReplacesTheMainMovie) {
    Rig rig;
    rig.touch("q.swf");
    rig.commands.function("LoadForm@@@q.swf@@@3");
    EXPECT_EQ(rig.main.calls, QStringList({"Stop()", "Movie(" + rig.dir.path() + "/q.swf)",
                                           "SetVariable(_root.BOOKLOAD_FIRSTPAGE,3)"}));
    EXPECT_EQ(rig.env.current, rig.dir.path());
    EXPECT_TRUE(rig.host.popups.empty());
}

TEST(MovieCommands, OtherSubCommandsAndCapture) {
    Rig rig;
    for (const QString args : {"popupform@@@p.swf", "PopUpForm", "", "@@@", "Unknown@@@x"}) {
        rig.commands.function(args);
    }
    EXPECT_TRUE(rig.host.popups.empty());
    EXPECT_TRUE(rig.main.calls.isEmpty());
    rig.commands.function("CaptureForm@@@");
    EXPECT_EQ(rig.host.captures, 1);
}

TEST(MovieCommands, GeometryNeverOverflows) {
    const FrameMetrics frame{4, 4, 23};
    const QRect zeroHeight = MovieCommands::popupGeometry({100, 0}, 50, {1920, 1080}, frame);
    EXPECT_GE(zeroHeight.width(), 0);
    const QRect huge = MovieCommands::popupGeometry({1024, 700}, 2147483647, {1920, 1080}, frame);
    EXPECT_EQ(huge.height(), std::numeric_limits<int>::max());
}
