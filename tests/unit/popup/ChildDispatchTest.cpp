#include "popup/ChildDispatch.h"
#include "unit/fakes/FakeDialogs.h"
#include "unit/fakes/FakeFlashPlayer.h"
#include "unit/fakes/FakePlatform.h"
#include "unit/fakes/FakeWindow.h"

#include <gtest/gtest.h>

namespace {

class RecordingChildHandlers : public ChildCommandHandlers {
public:
    void recordingStart() override { calls << "recordingStart()"; }
    void recordingStop() override { calls << "recordingStop()"; }
    void copyfile(const QString& p) override { calls << "copyfile(" + p + ")"; }
    void copyfileModal(const QString& p) override { calls << "copyfileModal(" + p + ")"; }
    void shellOpen(const QString& a) override { calls << "shellOpen(" + a + ")"; }
    QStringList calls;
};

struct Rig {
    FakeWindow window;
    FakeDialogs dialogs;
    CapturingDebugOutput debug;
    RecordingChildHandlers handlers;
    ChildDispatch dispatch{window, dialogs, debug, handlers, "QORVViewer"};
    QStringList effects() const { return handlers.calls + window.actions + dialogs.shown; }
};

} // namespace

TEST(ChildDispatch, RoutingTable) {
    struct Case {
        QString command, args;
        QStringList effects;
    };
    const QList<Case> cases = {
        {"formcontrol", "wsMinimized", {"state(minimized)"}},
        {"formcontrol", "wsMaximized", {"state(maximized)"}},
        {"formcontrol", "wmMaximized", {"state(maximized)"}},
        {"formcontrol", "Close", {"close"}},
        {"formcontrol", "wsNormal", {}},
        {"formcontrol", "resize", {}},
        {"x", "function_close@@@anything", {"close"}},
        {"x", "function_alert@@@a/b", {"showMessage(a/b)"}},
        {"x", "function_recording_start", {"recordingStart()"}},
        {"x", "function_recording_stop", {"recordingStop()"}},
        {"x", "function_copyfile@@@docs/a.pdf", {"copyfile(docs/a.pdf)"}},
        {"x", "function_copyfileModal@@@d@@@a.pdf", {"copyfileModal(d@@@a.pdf)"}},
        {"RunPDF", "doc.pdf", {"shellOpen(doc.pdf)"}},
        {"function", "PopUpForm@@@p.swf", {"shellOpen(PopUpForm@@@p.swf)"}},
        {"x", "function_full", {"shellOpen(function_full)"}},
        {"x", "function_saveTextFile@@@n@@@f", {"shellOpen(function_saveTextFile@@@n@@@f)"}},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.dispatch.ShockwaveFlash1FSCommand(c.command, c.args);
        EXPECT_EQ(rig.effects(), c.effects) << c.command.toStdString() << " / " << c.args.toStdString();
        EXPECT_EQ(rig.debug.lines, QStringList{"[TChildForm::ShockwaveFlash1FSCommand] COMMAND: " +
                                               c.command + "   ARGS: " + c.args});
    }
}

TEST(ChildDispatch, ClosingCalls) {
    struct Case {
        QStringList commands; // argument strings sent before closing
        QStringList calls;
    };
    const QString page12 =
        "<invoke name=\"goPageLink_QORV\" returntype=\"xml\"><arguments><string>12</string>"
        "<string>false</string></arguments></invoke>";
    const QString other =
        "<invoke name=\"otherBook_QORV\" returntype=\"xml\"><arguments><string>b/c.swf</string>"
        "<string>3</string><string>false</string></arguments></invoke>";
    const QList<Case> cases = {
        {{}, {}},
        {{"function_current_page@@@12"}, {"CallFunction(" + page12 + ")"}},
        {{"function_current_page@@@0"}, {}},
        {{"function_reload_flash@@@b/c.swf", "function_current_page@@@3"}, {"CallFunction(" + other + ")"}},
        {{"function_reload_flash@@@x.swf", "function_reload_flash@@@", "function_current_page@@@12"},
         {"CallFunction(" + page12 + ")"}},
    };
    for (const Case& c : cases) {
        Rig rig;
        for (const QString& args : c.commands) {
            rig.dispatch.ShockwaveFlash1FSCommand("x", args);
        }
        FakeFlashPlayer main;
        childClosingCalls(rig.dispatch, main);
        EXPECT_EQ(main.calls, c.calls) << c.commands.join(' ').toStdString();
    }
}
