#include "player/ServedFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

} // namespace

// A book folder, a folder the host allowed, and files around them the movie must not reach.
TEST(ServedFiles, ServesOnlyTheBookAndAllowedFolders) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString root = temp.path();
    touch(root + "/Book/Book.swf");
    touch(root + "/Book/Book_Page_img/Page_var.txt");
    touch(root + "/Book/Sub Dir/Data.TXT");
    touch(root + "/Notes/TxtData/note.txt");
    touch(root + "/Other/secret.txt");
    touch(root + "/BookSibling/x.swf");
    QFile::link(root + "/Other", root + "/Book/escape");

    ServedFiles files;
    files.setBookFolder(root + "/Book");
    files.allowFolder(root + "/Notes");

    using S = ServedFiles::Status;
    const struct {
        QString asked;
        S status;
        QString file;
    } cases[] = {
        {root + "/Book/Book.swf", S::Served, root + "/Book/Book.swf"},
        {root + "/book/book_page_img/PAGE_VAR.TXT", S::Served, root + "/Book/Book_Page_img/Page_var.txt"},
        {root + "/Book\\Sub Dir\\data.txt", S::Served, root + "/Book/Sub Dir/Data.TXT"},
        {root + "/Book/Sub Dir/../Book.swf", S::Served, root + "/Book/Book.swf"},
        {root + "/Notes/TxtData/note.txt", S::Served, root + "/Notes/TxtData/note.txt"},
        {root + "/Book/missing.swf", S::Missing, root + "/Book/missing.swf"},
        {root + "/Book/Sub Dir", S::Missing, root + "/Book/Sub Dir"},
        {root + "/Other/secret.txt", S::Refused, root + "/Other/secret.txt"},
        {root + "/Book/..\\Other\\secret.txt", S::Refused, root + "/Other/secret.txt"},
        {root + "/Book/../../../../etc/passwd", S::Refused, "/etc/passwd"},
        {root + "/BookSibling/x.swf", S::Refused, root + "/BookSibling/x.swf"},
        {root + "/Book/escape/secret.txt", S::Refused, root + "/Book/escape/secret.txt"},
        {"/etc/passwd", S::Refused, "/etc/passwd"},
        {"", S::Refused, "/"},
        {root + "/Book/Book.swf" + QChar(0) + ".txt", S::Refused,
         root + "/Book/Book.swf" + QChar(0) + ".txt"},
    };
    for (const auto& c : cases) {
        const ServedFiles::Result result = files.resolve(c.asked);
        EXPECT_EQ(result.status, c.status) << c.asked.toStdString();
        EXPECT_EQ(result.file, c.file) << c.asked.toStdString();
    }
}

TEST(ServedFiles, ANewBookReplacesTheOldFolderButKeepsAllowedOnes) {
    QTemporaryDir temp;
    const QString root = temp.path();
    touch(root + "/A/a.swf");
    touch(root + "/B/b.swf");
    touch(root + "/Rec/r.mp3");
    ServedFiles files;
    files.allowFolder(root + "/Rec");
    files.setBookFolder(root + "/A");
    files.setBookFolder(root + "/B");
    EXPECT_EQ(files.resolve(root + "/A/a.swf").status, ServedFiles::Status::Refused);
    EXPECT_EQ(files.resolve(root + "/B/b.swf").status, ServedFiles::Status::Served);
    EXPECT_EQ(files.resolve(root + "/Rec/r.mp3").status, ServedFiles::Status::Served);
}

TEST(ServedFiles, MimeTypesTheEngineNeeds) {
    const struct {
        const char* file;
        const char* type;
    } cases[] = {
        {"x/Ruffle.WASM", "application/wasm"},
        {"a.swf", "application/x-shockwave-flash"},
        {"ruffle.js", "text/javascript"},
        {"r.mp3", "audio/mpeg"},
        {"no-extension", "application/octet-stream"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ServedFiles::mimeType(QString::fromUtf8(c.file)), QString::fromUtf8(c.type)) << c.file;
    }
}
