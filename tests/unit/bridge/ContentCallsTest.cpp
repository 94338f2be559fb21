#include "bridge/ContentCalls.h"
#include "unit/fakes/FakeFlashPlayer.h"

#include <gtest/gtest.h>

TEST(ContentCalls, RequestTextsAreExact) {
    EXPECT_EQ(
        contentcalls::goPageLinkRequest("7"),
        QStringLiteral("<invoke name=\"goPageLink_QORV\" returntype=\"xml\"><arguments><string>7</string>"
                       "<string>false</string></arguments></invoke>"));
    EXPECT_EQ(
        contentcalls::otherBookRequest("b.swf", "3"),
        QStringLiteral("<invoke name=\"otherBook_QORV\" returntype=\"xml\"><arguments><string>b.swf</string>"
                       "<string>3</string><string>false</string></arguments></invoke>"));
    // Argument texts are not escaped.
    EXPECT_EQ(contentcalls::onRecordCompleteRequest("/tmp/a&b<c>.mp3"),
              QStringLiteral("<invoke name=\"onRecordComplete\" returntype=\"xml\"><arguments><string>"
                             "/tmp/a&b<c>.mp3</string></arguments></invoke>"));
}

TEST(ContentCalls, PageWithEqualsGoesAsFlashVarsBeforeTheMovie) {
    FakeFlashPlayer p1;
    contentcalls::loadMovieAtPage(p1, "m.swf", "chapter=3");
    EXPECT_EQ(p1.calls, QStringList({"FlashVars(chapter=3)", "Movie(m.swf)"}));
    FakeFlashPlayer p2;
    contentcalls::loadMovieAtPage(p2, "m.swf", "");
    EXPECT_EQ(p2.calls, QStringList({"Movie(m.swf)", "SetVariable(_root.BOOKLOAD_FIRSTPAGE,)"}));
}
