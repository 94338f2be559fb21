#include "player/PlayerProtocol.h"
#include "bridge/ContentCalls.h"

#include <gtest/gtest.h>

using namespace playerprotocol;

TEST(PlayerProtocol, VariableNamesBecomeAbsolute) {
    const struct {
        const char* name;
        const char* absolute;
        bool travelsInUrl;
    } cases[] = {
        {"x", "_level0.x", true},
        {"_root.x", "_level0.x", true},
        {"_root.__funcRoot.appPath", "_level0.__funcRoot.appPath", false},
        {"a.b", "_level0.a.b", false},
        {"_root", "_level0", false},
        {"_level0.y", "_level0.y", true},
        {"_level3.y", "_level3.y", false},
        {"_global.g", "_global.g", false},
        {"/clip:v", "/clip:v", false},
        {"_rootless", "_level0._rootless", true},
        {"_levelx", "_level0._levelx", true},
        {"", "_level0.", false},
    };
    for (const auto& c : cases) {
        const QString name = QString::fromUtf8(c.name);
        EXPECT_EQ(absoluteVariableName(name), QString::fromUtf8(c.absolute)) << c.name;
        EXPECT_EQ(isRootVariable(absoluteVariableName(name)), c.travelsInUrl) << c.name;
    }
    EXPECT_EQ(absoluteVariableName(QStringLiteral("변수명")), QStringLiteral("_level0.변수명"));
}

TEST(PlayerProtocol, ScaleModesIgnoreCaseAndFallBackToShowAll) {
    const struct {
        const char* given;
        const char* mode;
    } cases[] = {
        {"showAll", "showAll"}, {"noscale", "noScale"}, {"EXACTFIT", "exactFit"}, {"NoBorder", "noBorder"},
        {"", "showAll"},        {"zoom", "showAll"},    {" noScale ", "noScale"}, {"noScaleX", "showAll"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ruffleScaleMode(QString::fromUtf8(c.given)), QString::fromUtf8(c.mode)) << c.given;
    }
}

TEST(PlayerProtocol, RequestsOfTheContentCallsKeepTheirArgumentsIntact) {
    const QString awkward = QStringLiteral("a&b<c>\"d' 한글 &amp; </str");
    const struct {
        QString request;
        QString name;
        QStringList arguments;
    } cases[] = {
        {contentcalls::onRecordCompleteRequest(QStringLiteral("/tmp/rec 1.mp3")),
         QStringLiteral("onRecordComplete"),
         {QStringLiteral("/tmp/rec 1.mp3")}},
        {contentcalls::otherBookRequest(awkward, QStringLiteral("12")),
         QStringLiteral("otherBook_QORV"),
         {QStringLiteral("a&b<c>\"d' 한글 & </str"), QStringLiteral("12"), QStringLiteral("false")}},
        {contentcalls::goPageLinkRequest(QString()),
         QStringLiteral("goPageLink_QORV"),
         {QString(), QStringLiteral("false")}},
        {contentcalls::goPageLinkRequest(QStringLiteral("<string>")),
         QStringLiteral("goPageLink_QORV"),
         {QStringLiteral("<string>"), QStringLiteral("false")}},
    };
    for (const auto& c : cases) {
        const InvokeRequest parsed = parseInvokeRequest(c.request);
        EXPECT_EQ(parsed.name, c.name) << c.request.toStdString();
        EXPECT_EQ(parsed.arguments, c.arguments) << c.request.toStdString();
    }
}

TEST(PlayerProtocol, MalformedRequestsGiveWhatCanBeRead) {
    const struct {
        const char* request;
        const char* name;
        QStringList arguments;
    } cases[] = {
        {"", "", {}},
        {"garbage", "", {}},
        {"<invoke name='f'><arguments></arguments></invoke>", "f", {}},
        {"<invoke returntype=\"xml\" name=\"f&amp;g\"><arguments><string>&#54620;&#x26;&bogus;</string>",
         "f&g",
         {QStringLiteral("한&&bogus;")}},
        {"<invoke name=\"f\"><arguments><string>open to the end</arguments></invoke>",
         "f",
         {"open to the end"}},
        {"<invoke name=\"f\"><arguments><string>&#0;&#xD800;&#99999999;</string></arguments></invoke>",
         "f",
         {"&#0;&#xD800;&#99999999;"}},
    };
    for (const auto& c : cases) {
        const InvokeRequest parsed = parseInvokeRequest(QString::fromUtf8(c.request));
        EXPECT_EQ(parsed.name, QString::fromUtf8(c.name)) << c.request;
        EXPECT_EQ(parsed.arguments, c.arguments) << c.request;
    }
}
