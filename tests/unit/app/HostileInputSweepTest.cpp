#include "app/MainServices.h"
#include "bridge/MainDispatch.h"
#include "core/Dialogs.h"
#include "fakes/FakeAudioCapture.h"
#include "fakes/FakeDrives.h"
#include "fakes/FakeFlashPlayer.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeWindow.h"
#include "fakes/MemoryRegistry.h"
#include "popup/MovieCommands.h"
#include "services/recording/QORVViewerControl.h"
#include "services/scrap/ScrapSave.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Dialogs that always say yes: every save goes to a new file of the output folder, every folder is the
// output folder, so that each command runs as far as it can.
class AgreeingDialogs : public Dialogs {
public:
    explicit AgreeingDialogs(QString out) : out_(std::move(out)) {}
    std::optional<QString> saveFile(SaveDialogState& dialog) override {
        dialog.fileName = out_ + QStringLiteral("/saved%1").arg(++saves_);
        return dialog.fileName;
    }
    std::optional<QString> chooseFolder() override { return out_; }
    void showMessage(const QString&) override {}
    void information(const QString&) override {}
    void error(const QString&) override {}
    bool askYesNo(const QString&) override { return true; }
    void errorBox(const QString&, const QString&) override { ++errorBoxes; }
    RunOrSave runOrSave() override { return (++prompts % 2) ? RunOrSave::Save : RunOrSave::Open; }

    int errorBoxes = 0;

private:
    QString out_;
    int saves_ = 0;
    int prompts = 0;
};

class CountingPopups : public PopupHost {
public:
    class Popup : public PopupWindow {
    public:
        FlashPlayer& player() override { return flash; }
        QSize playerSize() const override { return {1032, 732}; }
        void setCaption(const QString&) override {}
        void setScalePercent(int) override {}
        void setMovieFolder(const QString&) override {}
        void setMaximized() override {}
        void setNormalGeometry(const QRect&) override {}
        void showModeless() override {}
        void discard() override {}
        FakeFlashPlayer flash;
    };
    PopupWindow& createPopup() override {
        popups.push_back(std::make_unique<Popup>());
        return *popups.back();
    }
    QSize screenSize() const override { return {1920, 1080}; }
    FrameMetrics frameMetrics() const override { return {4, 4, 23}; }
    void captureForm() override {}
    std::vector<std::unique_ptr<Popup>> popups;
};

QStringList hostileTexts() {
    QString surrogate(QChar(0xD800));
    QString manySeparators;
    for (int i = 0; i < 10000; ++i) {
        manySeparators += "@@@";
    }
    return {
        "",
        "@@@",
        "@@@@@@@@@",
        QString(1 << 20, QLatin1Char('A')),
        QString("a") + QChar(0) + "b@@@c" + QChar(0),
        surrogate + "x@@@" + surrogate,
        "..\\..\\..\\..\\etc\\passwd",
        "../../../../../x@@@../../../y@@@../../z",
        "C:\\Windows\\system32\\cmd.exe",
        "file://C|/docs/a.hwp@@@-x@@@y",
        "\"quoted;item\";'single';\r\n;",
        "99999999999999999999",
        "-5,-5",
        "0,0",
        "2147483647,2147483647",
        "a=1&b=2",
        "%26%26=&&==",
        manySeparators,
        "p.swf@@@5@@@99999999999@@@T",
        "p.swf@@@5@@@-1@@@T",
    };
}

} // namespace

// Every command of the main window with argument strings a hostile movie might send: the program keeps
// going, reports failures in the error box, and writes only where the commands write.
TEST(HostileInputSweep, EveryMainWindowCommandSurvivesAnyArgument) {
    QTemporaryDir root;
    const QString app = root.path() + "/app";
    const QString out = root.path() + "/out";
    const QString usb = root.path() + "/usb";
    QDir().mkpath(app + "/docs");
    QDir().mkpath(out);
    QDir().mkpath(usb);
    QDir().mkpath(root.path() + "/tmp");
    const QString previousFolder = QDir::currentPath();
    QDir::setCurrent(app);

    FakeEnvironment environment;
    environment.exePath = app + "/QORVViewer";
    environment.temp = root.path() + "/tmp/";
    environment.current = app;
    environment.args = QStringList{"-p", app + "/book.swf"};
    FakeFlashPlayer player;
    AgreeingDialogs dialogs(out);
    CapturingDebugOutput debug;
    FakeDrives drives;
    drives.table = {{usb + "/", true}};
    FakeShell shell;
    MemoryRegistry registry;
    FakeAudioCapture audio;
    QORVViewerControl recorder(environment, debug, audio);
    ScrapSave scrap(debug);
    CountingPopups popups;
    SaveDialogState fileSaveDialog{"fileSaveDialog", "PDF 파일|*.pdf", {}};
    SaveDialogState imgSaveDialog{"imgSaveDialog", "ImageFile|*.jpg,*.bmp", {}};
    QString skin;
    MainServices services(MainServiceParts{player,
                                           dialogs,
                                           environment,
                                           debug,
                                           drives,
                                           shell,
                                           registry,
                                           nullptr,
                                           fileSaveDialog,
                                           imgSaveDialog,
                                           scrap,
                                           recorder,
                                           popups,
                                           [&] { return skin; },
                                           {}});
    FakeWindow window;
    InstantClock clock;
    MainDispatch dispatch(window, dialogs, clock, debug, services, "QORVViewer");

    const QStringList subCommands = {
        "function_imgcopy",        "function_doccopy",           "function_copyfile",
        "function_copyfileModal",  "function_copyfilesDialog",   "function_LocalSaveText",
        "function_saveTextFile",   "function_loadTextFile",      "function_searchList",
        "function_InputParameter", "function_TxtListSaveToFile", "function_show",
        "function_alert",          "function_scrapsave_start",   "function_scrapsave_data",
        "function_scrapsave_end",  "function_recording_start",   "function_recording_stop",
    };
    int events = 0;
    for (const QString& text : hostileTexts()) {
        const QList<std::pair<QString, QString>> commands = {
            {"RunPDF", text},
            {"function", "PopUpForm@@@" + text},
            {"function", "LoadForm@@@" + text},
            {"function", text},
            {"formcontrol", text},
            {"MoveSkin", text},
            {"exec", text},
            {text, text},
        };
        for (const auto& [command, args] : commands) {
            dispatch.FlashPlayerFSCommand(command, args);
            ++events;
        }
        for (const QString& sub : subCommands) {
            dispatch.FlashPlayerFSCommand("QORV", sub + "@@@" + text);
            ++events;
        }
    }
    QDir::setCurrent(previousFolder);

    EXPECT_EQ(debug.lines.filter("[TPlayerForm::FlashPlayerFSCommand] COMMAND: ").size(), events);
    // Nothing was written beside the folders the commands write to.
    QDirIterator it(root.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    QStringList top;
    while (it.hasNext()) {
        top << QFileInfo(it.next()).fileName();
    }
    top.sort();
    for (const QString& entry : top) {
        EXPECT_TRUE(QStringList({"app", "out", "tmp", "usb"}).contains(entry)) << entry.toStdString();
    }
}
