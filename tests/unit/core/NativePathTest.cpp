#include "core/NativePath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(NativePath, BackslashesBecomeSlashesAndCaseIsFound) {
    QTemporaryDir tmp;
    ASSERT_TRUE(QDir(tmp.path()).mkpath("Book_Page_img/Contents"));
    QFile f(tmp.path() + "/Book_Page_img/Contents/Page1.JPG");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const QString root = tmp.path();
    struct Case {
        QString in, out;
    };
    const Case cases[] = {
        {root + "\\Book_Page_img\\Contents\\Page1.JPG", root + "/Book_Page_img/Contents/Page1.JPG"},
        {root + "\\book_page_img\\contents\\page1.jpg", root + "/Book_Page_img/Contents/Page1.JPG"},
        // A missing component keeps its spelling and so does everything below it.
        {root + "\\book_page_img\\Missing\\a.JPG", root + "/Book_Page_img/Missing/a.JPG"},
        // A doubled separator stays doubled.
        {root + "\\book_page_img\\\\contents", root + "/Book_Page_img//Contents"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nativepath::toNative(c.in), c.out) << c.in.toStdString();
    }
}

TEST(NativePath, HostilePathsStayCheap) {
    // Many components: each existing prefix is looked up once, and nothing past the longest possible path.
    QString hostile;
    for (int i = 0; i < 50000; ++i) {
        hostile += "..\\";
    }
    hostile += "x";
    const QString native = nativepath::toNative(hostile);
    EXPECT_EQ(native.size(), hostile.size());
    EXPECT_TRUE(native.endsWith("../x"));
}
