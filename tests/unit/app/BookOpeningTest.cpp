#include "app/BookOpening.h"
#include "core/QorvError.h"
#include "unit/fakes/FakeFlashPlayer.h"
#include "unit/fakes/FakeWindow.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using bookopening::parseCommandLine;

TEST(BookOpening, CommandLineForms) {
    const QString exe = "/books/QORVViewer";
    struct Case {
        QStringList args;
        QString startPath;
        std::optional<QString> firstPage;
    };
    const Case cases[] = {
        {{}, exe, std::nullopt},
        {{"-p", "story.swf"}, "/books/story.swf", QString("")},
        {{"-p12"}, exe, QString("12")},
        {{"-p12", "story.swf"}, exe, QString("12")},
        {{"-P", "story.swf"}, exe, std::nullopt},
        {{"-p", "/elsewhere/story.swf"}, "/elsewhere/story.swf", QString("")},
        {{"x-pq"}, exe, QString("pq")},
        {{"-p=a=b"}, exe, QString("=a=b")},
        {{"story.swf"}, exe, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto line = parseCommandLine(exe, c.args);
        EXPECT_EQ(line.startPath, c.startPath) << c.args.join(' ').toStdString();
        EXPECT_EQ(line.firstPage, c.firstPage) << c.args.join(' ').toStdString();
    }
}

TEST(BookOpening, PathsOfTheBook) {
    EXPECT_EQ(bookopening::pageVariableFile("/b/QORVViewer"), "/b/QORVViewer_Page_img\\Page_var.txt");
    EXPECT_EQ(bookopening::pageVariableFile("/b/story.v2.swf"), "/b/story.v2_Page_img\\Page_var.txt");
    EXPECT_EQ(bookopening::changeExtension("/b.d/QORVViewer", ".swf"), "/b.d/QORVViewer.swf");
    EXPECT_EQ(bookopening::changeExtension("/b/story.exe", ".swf"), "/b/story.swf");
}

namespace {

struct Book {
    QTemporaryDir dir;
    QString startPath(const QString& name = "QORVViewer") const { return dir.path() + "/" + name; }
    void writePageVars(const QByteArray& bytes, const QString& name = "QORVViewer") {
        QDir(dir.path()).mkpath(name + "_Page_img");
        QFile f(dir.path() + "/" + name + "_Page_img/Page_var.txt");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

} // namespace

TEST(BookOpening, TitleSizeAndPosition) {
    using S = WindowControl::State;
    struct Case {
        const char* name;
        QByteArray pageVars; // empty: no file
        QString bookName;
        QSize screen;
        QString caption;
        S state;
        QRect geometry; // checked when the state is normal
    };
    const QRect design(0, 0, 816, 639);
    const Case cases[] = {
        {"no file: book name, maximised", "", "story", {1920, 1080}, "story", S::Maximized, design},
        {"launcher gets the product name",
         "",
         "launcher",
         {1920, 1080},
         "QORV EBook Viewer",
         S::Maximized,
         design},
        {"LAUNCHER stays itself", "", "LAUNCHER", {1920, 1080}, "LAUNCHER", S::Maximized, design},
        {"centred",
         "&title=A%26B&\r\n&width=1024&\r\n&height=768&",
         "QORVViewer",
         {1920, 1080},
         "A&B",
         S::Normal,
         QRect(448, 156, 1024, 768)},
        {"width 0 maximises",
         "&title=T&&width=0&&height=768&",
         "QORVViewer",
         {1920, 1080},
         "T",
         S::Maximized,
         design},
        {"missing height maximises", "&width=1024&", "QORVViewer", {1920, 1080}, "", S::Maximized, design},
        {"wider than the screen stays wide",
         "&width=2000&&height=700&",
         "QORVViewer",
         {1920, 1080},
         "",
         S::Normal,
         QRect(-40, 190, 2000, 700)},
        {"screen smaller than the design size",
         "&width=1000&&height=700&",
         "QORVViewer",
         {640, 480},
         "",
         S::Normal,
         QRect(0, 0, 640, 480)},
    };
    for (const Case& c : cases) {
        Book book;
        if (!c.pageVars.isEmpty()) {
            book.writePageVars(c.pageVars, c.bookName);
        }
        FakeWindow window;
        window.screen = c.screen;
        FakeFlashPlayer player;
        bookopening::OpenBook(book.startPath(c.bookName), window, player);
        EXPECT_EQ(window.caption, c.caption) << c.name;
        EXPECT_EQ(window.state, c.state) << c.name;
        if (c.state == S::Normal) {
            EXPECT_EQ(window.geometry, c.geometry) << c.name;
        }
        EXPECT_EQ(player.calls, QStringList{"Movie(" + book.startPath(c.bookName) + ".swf)"}) << c.name;
    }
}

TEST(BookOpening, ABadWidthStillOpensTheBookMaximisedAndThenFails) {
    Book book;
    book.writePageVars("&title=T&&width=abc&&height=600&");
    FakeWindow window;
    FakeFlashPlayer player;
    try {
        bookopening::OpenBook(book.startPath(), window, player);
        FAIL() << "no failure";
    } catch (const QorvError& e) {
        EXPECT_EQ(e.message(), "'abc' is not a valid integer value");
    }
    EXPECT_EQ(window.caption, "T");
    EXPECT_EQ(window.state, WindowControl::State::Maximized);
    EXPECT_EQ(player.calls.size(), 1);
}

TEST(BookOpening, HeightIsNotConvertedWhenTheWidthAlreadyMaximises) {
    Book book;
    book.writePageVars("&width=-5&&height=abc&");
    FakeWindow window;
    FakeFlashPlayer player;
    EXPECT_NO_THROW(bookopening::OpenBook(book.startPath(), window, player));
    EXPECT_EQ(window.state, WindowControl::State::Maximized);
}
