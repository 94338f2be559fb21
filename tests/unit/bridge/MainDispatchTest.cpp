#include "bridge/MainDispatch.h"
#include "core/QorvError.h"
#include "unit/fakes/FakeDialogs.h"
#include "unit/fakes/FakePlatform.h"
#include "unit/fakes/FakeWindow.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Records which handler row a command reached and with what text.
class RecordingHandlers : public MainCommandHandlers {
public:
    void RunPDF(const QString& a) override { calls << "RunPDF(" + a + ")"; }
    void function(const QString& a) override { calls << "function(" + a + ")"; }
    void imgcopy(const QString& p) override { calls << "imgcopy(" + p + ")"; }
    void doccopy(const QString& p) override { calls << "doccopy(" + p + ")"; }
    void copyfile(const QString& p) override { calls << "copyfile(" + p + ")"; }
    void copyfileModal(const QString& p) override { calls << "copyfileModal(" + p + ")"; }
    void copyfilesDialog(const QString& p) override { calls << "copyfilesDialog(" + p + ")"; }
    void LocalSaveText(const QString& p) override { calls << "LocalSaveText(" + p + ")"; }
    void saveTextFile(const QString& p) override { calls << "saveTextFile(" + p + ")"; }
    void loadTextFile(const QString& p) override { calls << "loadTextFile(" + p + ")"; }
    void searchList(const QString& p) override { calls << "searchList(" + p + ")"; }
    void InputParameter() override { calls << "InputParameter()"; }
    void TxtListSaveToFile(const QString& p) override { calls << "TxtListSaveToFile(" + p + ")"; }
    void show(const QString& p) override { calls << "show(" + p + ")"; }
    void scrapsaveStart(const QString& p) override { calls << "scrapsaveStart(" + p + ")"; }
    void scrapsaveData(const QString& p) override { calls << "scrapsaveData(" + p + ")"; }
    void scrapsaveEnd(const QString& p) override {
        calls << "scrapsaveEnd(" + p + ")";
        if (onScrapEnd) {
            onScrapEnd();
        }
    }
    void recordingStart() override { calls << "recordingStart()"; }
    void recordingStop() override { calls << "recordingStop()"; }
    void exec(const QString& a) override { calls << "exec(" + a + ")"; }

    QStringList calls;
    std::function<void()> onScrapEnd;
};

struct Rig {
    FakeWindow window;
    FakeDialogs dialogs;
    InstantClock clock;
    CapturingDebugOutput debug;
    RecordingHandlers handlers;
    MainDispatch dispatch{window, dialogs, clock, debug, handlers, "QORVViewer"};

    // Everything observable, in one list: handler calls, window actions, boxes shown.
    QStringList effects() const { return handlers.calls + window.actions + dialogs.shown; }
};

} // namespace

TEST(MainDispatch, EachCommandReachesItsRowWithTheRightText) {
    struct Case {
        QString command, args;
        QStringList effects;
    };
    const QList<Case> cases = {
        {"RunPDF", "page=3@@@docs/a.pdf", {"RunPDF(page=3@@@docs/a.pdf)"}},
        {"function", "PopUpForm@@@a/b.swf", {"function(PopUpForm@@@a\\b.swf)"}},
        {"function", "a/b", {"function(a\\b)"}},
        {"MoveSkin", "skin/s.swf", {}},
        {"x", "function_full", {"state(maximized)"}},
        {"x", "function_full@@@", {}},
        {"x", "function_close", {"close"}},
        {"x", "function_forward", {"front"}},
        {"x", "function_imgcopy@@@p/1.jpg", {"imgcopy(p\\1.jpg)"}},
        {"x", "function_doccopy@@@d.hwp", {"doccopy(d.hwp)"}},
        {"x", "function_copyfile@@@a@@@b", {"copyfile(a@@@b)"}},
        {"x", "function_copyfileModal@@@data/@@@a.pdf", {"copyfileModal(data\\@@@a.pdf)"}},
        {"x", "function_copyfilesDialog@@@a;b", {"copyfilesDialog(a;b)"}},
        {"x", "function_LocalSaveText@@@n@@@f@@@x", {"LocalSaveText(n@@@f@@@x)"}},
        {"x", "function_saveTextFile@@@see/page@@@n.txt", {"saveTextFile(see\\page@@@n.txt)"}},
        {"x", "function_loadTextFile", {"loadTextFile()"}},
        {"x", "function_searchList@@@notes/2012", {"searchList(notes\\2012)"}},
        {"x", "function_InputParameter@@@ignored", {"InputParameter()"}},
        {"x", "function_TxtListSaveToFile@@@a@@@b", {"TxtListSaveToFile(a@@@b)"}},
        {"x", "function_show@@@player.exe@@@movie.wmv", {"show(player.exe@@@movie.wmv)"}},
        {"x", "function_alert@@@see/page", {"showMessage(see\\page)"}},
        {"x", "function_scrapsave_start@@@2,1", {"scrapsaveStart(2,1)"}},
        {"x", "function_scrapsave_data@@@0,FF0000", {"scrapsaveData(0,FF0000)"}},
        {"x", "function_scrapsave_end", {"scrapsaveEnd()"}},
        {"x", "function_recording_start", {"recordingStart()"}},
        {"x", "function_recording_stop@@@x", {"recordingStop()"}},
        {"exec", "tool.exe@@@/s@@@a.txt", {"exec(tool.exe@@@\\s@@@a.txt)"}},
        // Sub-command rows come before "exec".
        {"exec", "function_alert@@@hi", {"showMessage(hi)"}},
        // Other capitalisation is not recognised; only the argument string can still match a row.
        {"Function", "PopUpForm@@@a", {}},
        {"FormControl", "wsMinimized", {}},
        {"FUNCTION", "function_full", {"state(maximized)"}},
        {"exec", "", {"exec()"}},
        {"", "", {}},
        {"unknown", "@@@x", {}},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.dispatch.FlashPlayerFSCommand(c.command, c.args);
        EXPECT_EQ(rig.effects(), c.effects) << c.command.toStdString() << " / " << c.args.toStdString();
        ASSERT_EQ(rig.debug.lines.size(), 1);
        EXPECT_EQ(rig.debug.lines[0],
                  "[TPlayerForm::FlashPlayerFSCommand] COMMAND: " + c.command + "   ARGS: " + c.args);
    }
}

TEST(MainDispatch, FormControlValues) {
    using S = WindowControl::State;
    struct Case {
        S before;
        QString value;
        S after;
        int stateChanges;
    };
    const Case cases[] = {
        {S::Normal, "wsMinimized", S::Minimized, 1},    {S::Minimized, "wsMinimized", S::Minimized, 1},
        {S::Normal, "wsMaximized", S::Maximized, 1},    {S::Maximized, "wsMaximized", S::Maximized, 0},
        {S::Maximized, "wsNormal", S::Normal, 1},       {S::Normal, "wsNormal", S::Normal, 0},
        {S::Maximized, "wmMaximized", S::Maximized, 1}, {S::Normal, "resize", S::Maximized, 1},
        {S::Maximized, "resize", S::Normal, 1},         {S::Minimized, "resize", S::Minimized, 0},
        {S::Normal, "ForceExit", S::Normal, 0},         {S::Normal, "wsmaximized", S::Normal, 0},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.window.state = c.before;
        rig.dispatch.FlashPlayerFSCommand("formcontrol", c.value);
        EXPECT_EQ(rig.window.state, c.after) << c.value.toStdString();
        EXPECT_EQ(rig.window.actions.size(), c.stateChanges) << c.value.toStdString();
    }
    Rig rig;
    rig.dispatch.FlashPlayerFSCommand("formcontrol", "Close");
    EXPECT_EQ(rig.window.actions, QStringList{"close"});
}

TEST(MainDispatch, ForwardWaitsThreeSecondsThenBringsTheWindowForward) {
    Rig rig;
    rig.dispatch.FlashPlayerFSCommand("x", "function_forward");
    EXPECT_EQ(rig.clock.waited, QList<int>{3000});
    EXPECT_EQ(rig.window.actions, QStringList{"front"});
}

TEST(MainDispatch, MoveSkinKeepsThePathWithBackslashes) {
    Rig rig;
    rig.dispatch.FlashPlayerFSCommand("MoveSkin", "skins/blue.swf");
    EXPECT_EQ(rig.dispatch.SkinMoviePath(), "skins\\blue.swf");
}

TEST(MainDispatch, AFailureShowsTheErrorBoxAndTheNextCommandRuns) {
    Rig rig;
    rig.handlers.onScrapEnd = [] { throw QorvError("Division by zero"); };
    rig.dispatch.FlashPlayerFSCommand("x", "function_scrapsave_end");
    rig.dispatch.FlashPlayerFSCommand("x", "function_full");
    EXPECT_EQ(rig.dialogs.shown, QStringList{"errorBox(QORVViewer|Division by zero.)"});
    EXPECT_EQ(rig.window.state, WindowControl::State::Maximized);
}

TEST(MainDispatch, ErrorBoxTextGetsAFullStopAfterCharactersAboveIt) {
    const std::pair<QString, QString> cases[] = {
        {"abc", "abc."}, {"abc.", "abc."}, {"abc!", "abc!"}, {"abc-", "abc-"}, {"abc/", "abc/."},
        {"2", "2."},     {"", ""},         {"끝", "끝."},    {"a ", "a "},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(MainDispatch::errorBoxText(in), out) << in.toStdString();
    }
}

TEST(MainDispatch, CommandsArrivingWhileOneWaitsRunAfterItInOrder) {
    Rig rig;
    // The scrap end "waits on a dialog"; two commands arrive meanwhile.
    rig.handlers.onScrapEnd = [&] {
        rig.handlers.onScrapEnd = nullptr;
        rig.dispatch.FlashPlayerFSCommand("x", "function_scrapsave_start@@@1,1");
        rig.dispatch.FlashPlayerFSCommand("x", "function_InputParameter");
        rig.handlers.calls << "dialog closed";
    };
    rig.dispatch.FlashPlayerFSCommand("x", "function_scrapsave_end");
    EXPECT_EQ(rig.handlers.calls,
              QStringList({"scrapsaveEnd()", "dialog closed", "scrapsaveStart(1,1)", "InputParameter()"}));
    EXPECT_EQ(rig.debug.lines.size(), 3);
}
