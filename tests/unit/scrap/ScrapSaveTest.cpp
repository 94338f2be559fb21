#include "services/scrap/ScrapSave.h"
#include "services/scrap/JpegSaveDialog.h"

#include "core/QorvError.h"
#include "tests/unit/fakes/FakeDialogs.h"
#include "tests/unit/fakes/FakePlatform.h"
#include "tests/unit/scrap/JpegDecode.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// A scrap with its window's dialog state and scripted dialogs, saving into a private folder.
class ScrapFixture : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    // The painted picture as "RRGGBB" per pixel, row by row.
    static QStringList pixels(ScrapSave& scrap) {
        const QByteArray rgb = scrap.rgbPixels();
        QStringList out;
        for (qsizetype i = 0; i + 2 < rgb.size(); i += 3) {
            out << QString::asprintf("%02X%02X%02X", uchar(rgb[i]), uchar(rgb[i + 1]), uchar(rgb[i + 2]));
        }
        return out;
    }

    QStringList filesWritten() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir;
    CapturingDebugOutput debug;
    FakeDialogs dialogs;
    SaveDialogState fileSaveDialog{QStringLiteral("fileSaveDialog"), QStringLiteral("PDF 파일|*.pdf"),
                                   QStringLiteral("old.pdf")};
    ScrapSave scrap{debug};
};

TEST_F(ScrapFixture, SmallPictureRoundTripsThroughTheFile) {
    // Six colours in a 3 x 2 grid of 16-pixel squares, one encoder block each, so the encoder keeps them
    // nearly exact and a pixel out of place shows at once at a square's edge.
    const uint colours[6] = {0xC81E1E, 0x1EC81E, 0x1E1EC8, 0xE6B432, 0x7828A0, 0x101010};
    const int side = 16, width = 3 * side, height = 2 * side;
    auto colourAt = [&](int x, int y) { return colours[(y / side) * 3 + x / side]; };
    QString data = QStringLiteral("0");
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            data += QStringLiteral(",%1").arg(colourAt(x, y), 6, 16, QLatin1Char('0'));
        }
    }
    scrap.Start(QStringLiteral("%1,%2").arg(width).arg(height));
    scrap.Data(data);
    dialogs.saveAnswers.push_back(path(QStringLiteral("page")));
    scrap.End(QString(), dialogs, fileSaveDialog);

    const DecodedJpeg jpeg = decodeJpegFile(path(QStringLiteral("page.jpg")));
    ASSERT_TRUE(jpeg.ok);
    ASSERT_EQ(jpeg.width, width);
    ASSERT_EQ(jpeg.height, height);
    EXPECT_EQ(jpeg.components, 3);
    EXPECT_FALSE(jpeg.progressive);
    int wrong = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint want = colourAt(x, y);
            const int expected[3] = {int(want >> 16), int((want >> 8) & 0xFF), int(want & 0xFF)};
            for (int channel = 0; channel < 3; ++channel) {
                if (std::abs(jpeg.pixel(x, y)[channel] - expected[channel]) > 8 && wrong++ < 5) {
                    ADD_FAILURE() << "pixel (" << x << "," << y << ") channel " << channel << ": "
                                  << int(jpeg.pixel(x, y)[channel]) << " instead of " << expected[channel];
                }
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

struct PaintCase {
    const char* name;
    const char* start;
    QStringList chunks;
    QStringList pixels;
};

TEST_F(ScrapFixture, PaintsEachItemAtItsOwnPosition) {
    const PaintCase cases[] = {
        {"first data pixel at the origin, last one kept",
         "2,2",
         {"x,FF0000,00FF00,0000FF,123456"},
         {"FF0000", "00FF00", "0000FF", "123456"}},
        {"missing items stay white", "3,1", {"x,FF0000"}, {"FF0000", "FFFFFF", "FFFFFF"}},
        {"no data at all is white", "2,1", {}, {"FFFFFF", "FFFFFF"}},
        {"items past the picture are dropped", "1,1", {"x,111111,222222"}, {"111111"}},
        {"other lengths are black",
         "4,1",
         {"x,12345,,1234567,abcdef"},
         {"000000", "000000", "000000", "ABCDEF"}},
        {"six characters after trimming", "2,1", {"x,\" 00ff00 \",\"\t0A0B0C\""}, {"00FF00", "0A0B0C"}},
        {"quoted doubled quotes are not a colour", "1,1", {"x,\"ab\"\"c\""}, {"000000"}},
        {"leading field of every chunk dropped",
         "3,1",
         {"head,AA0000", "more,00BB00", "tail,0000CC"},
         {"AA0000", "00BB00", "0000CC"}},
        {"chunk without comma runs into the last item",
         "2,1",
         {"h,AA00", "00", "h,00BB00"},
         {"AA0000", "00BB00"}},
        {"first chunk without comma is a pixel", "2,1", {"CC0000", "h,00DD00"}, {"CC0000", "00DD00"}},
        {"blanks separate items", "3,1", {"h, 112233 \r\n445566\t778899"}, {"112233", "445566", "778899"}},
        {"trailing comma is a last empty item", "3,1", {"h,ABCDEF,"}, {"ABCDEF", "000000", "FFFFFF"}},
        {"NUL at the edge of six is trimmed",
         "2,1",
         {QString::fromUtf16(u"h,\0ABCDE,FFFFFF", 15)},
         {"000000", "FFFFFF"}},
        {"non-Latin text is black",
         "2,1",
         {"h,가,\xEC\x95\x84"
          "bc"},
         {"000000", "000000"}},
    };
    for (const PaintCase& c : cases) {
        ScrapSave fresh(debug);
        fresh.Start(QString::fromUtf8(c.start));
        for (const QString& chunk : c.chunks) {
            fresh.Data(chunk);
        }
        EXPECT_EQ(pixels(fresh), c.pixels) << c.name;
    }
}

TEST_F(ScrapFixture, StartClearsEarlierPixelsAndLaterEndsRepeatThePicture) {
    scrap.Data(QStringLiteral("h,FF00FF"));
    scrap.Start(QStringLiteral("1,1"));
    EXPECT_EQ(scrap.pixelTextSize(), 0);
    scrap.Data(QStringLiteral("h,ABCDEF"));
    for (const QString& name : {QStringLiteral("one"), QStringLiteral("two")}) {
        dialogs.saveAnswers.push_back(path(name));
        scrap.End(QString(), dialogs, fileSaveDialog);
    }
    QFile one(path(QStringLiteral("one.jpg"))), two(path(QStringLiteral("two.jpg")));
    ASSERT_TRUE(one.open(QIODevice::ReadOnly));
    ASSERT_TRUE(two.open(QIODevice::ReadOnly));
    EXPECT_EQ(one.readAll(), two.readAll());
}

TEST_F(ScrapFixture, DebugLineForEveryTenThousandthPixel) {
    scrap.Start(QStringLiteral("25000,1"));
    QString chunk = QStringLiteral("h");
    for (int i = 0; i < 25000; ++i) {
        chunk += QStringLiteral(",00FF00");
    }
    scrap.Data(chunk);
    scrap.encodeJpeg();
    EXPECT_EQ(debug.lines, QStringList({"0", "10000", "20000"}));
}

struct StartCase {
    const char* parameters;
    bool fails;
    int width;
    int height;
};

TEST(ScrapStart, SetsTheSizeOrFailsKeepingWhatWasSet) {
    const StartCase cases[] = {
        {"640,480", false, 640, 480},
        {" 640 , 480 ,7", false, 640, 480},
        {"\"12\",\"34\"", false, 12, 34},
        {"+5,-3", false, 5, -3},
        {"", true, 0, 0},
        {"640", true, 640, 0},
        {"abc,480", true, 0, 0},
        {"640,4x", true, 640, 0},
        {"640,,480", true, 640, 0},
        {"0x10,1", true, 0, 0},
        {"$10,1", true, 0, 0},
        {"2147483647,-2147483648", false, 2147483647, -2147483647 - 1},
        {"2147483648,1", true, 0, 0},
        {"99999999999999999999999,1", true, 0, 0},
    };
    CapturingDebugOutput debug;
    for (const StartCase& c : cases) {
        ScrapSave scrap(debug);
        scrap.Start(QStringLiteral("7,9"));
        scrap.Data(QStringLiteral("h,FFFFFF"));
        bool failed = false;
        try {
            scrap.Start(QString::fromUtf8(c.parameters));
        } catch (const QorvError& e) {
            failed = true;
            EXPECT_FALSE(e.message().isEmpty());
        }
        EXPECT_EQ(failed, c.fails) << c.parameters;
        EXPECT_EQ(scrap.width(), c.width) << c.parameters;
        EXPECT_EQ(scrap.height(), c.height) << c.parameters;
        EXPECT_EQ(scrap.pixelTextSize(), 0) << c.parameters;
    }
}

// Everything that makes a picture impossible ends the command before the reader is asked anything.
TEST_F(ScrapFixture, BadPicturesFailBeforeTheDialogAndWriteNothing) {
    struct Case {
        const char* name;
        const char* start; // nullptr: no start since the window was made
        const char* data;
    };
    const Case cases[] = {
        {"no start", nullptr, "h,FF0000"},
        {"no start and no data", nullptr, nullptr},
        {"zero width", "0,10", "h,FF0000"},
        {"zero height", "10,0", nullptr},
        {"negative width", "-5,10", "h,FF0000"},
        {"negative height", "10,-1", nullptr},
        {"both negative", "-2147483648,-2147483648", nullptr},
        {"over 100 megapixels", "10001,10000", nullptr},
        {"wider than JPEG allows", "70000,1", nullptr},
        {"huge", "2147483647,2147483647", nullptr},
        {"bad hex in the picture", "2,1", "h,GG0000,00FF00"},
        {"bad hex past the picture", "1,1", "h,000000,12345z"},
        {"six non-Latin characters", "1,1", "h,가나다라마바"},
        {"NUL inside six characters", "1,1", nullptr},
    };
    for (const Case& c : cases) {
        ScrapSave fresh(debug);
        if (c.start) {
            fresh.Start(QString::fromUtf8(c.start));
        }
        if (c.data) {
            fresh.Data(QString::fromUtf8(c.data));
        } else if (std::string_view(c.name) == "NUL inside six characters") {
            fresh.Data(QString::fromUtf16(u"h,12\0"
                                          u"456",
                                          9));
        }
        dialogs.saveAnswers.push_back(path(QStringLiteral("bad")));
        EXPECT_THROW(fresh.End(QString(), dialogs, fileSaveDialog), QorvError) << c.name;
        EXPECT_TRUE(dialogs.shown.isEmpty()) << c.name;
        dialogs.saveAnswers.clear();
    }
    EXPECT_TRUE(filesWritten().isEmpty());
}

TEST_F(ScrapFixture, PixelTextBeyondTheLimitFailsTheEndUntilTheNextStart) {
    ScrapSave small(debug, 20);
    small.Start(QStringLiteral("2,1"));
    small.Data(QStringLiteral("h,FF0000,00FF00"));
    small.Data(QStringLiteral("h,0000FF,0000FF"));
    EXPECT_THROW(small.encodeJpeg(), QorvError);
    small.Start(QStringLiteral("2,1"));
    small.Data(QStringLiteral("h,FF0000,00FF00"));
    EXPECT_NO_THROW(small.encodeJpeg());
}

TEST(JpegSaveName, AppendsJpgUnlessTheExtensionIsJpgOrJpeg) {
    const std::pair<const char*, const char*> cases[] = {
        {"page.JPG", "page.JPG"},       {"page.jpeg", "page.jpeg"},
        {"shot.JPEG", "shot.JPEG"},     {"page.Jpg", "page.Jpg"},
        {"page", "page.jpg"},           {"page.png", "page.png.jpg"},
        {"photo.PNG", "photo.PNG.jpg"}, {"page.jpg.bak", "page.jpg.bak.jpg"},
        {"page.", "page..jpg"},         {"/tmp/my.jpg/page", "/tmp/my.jpg/page.jpg"},
        {"/tmp/.jpg", "/tmp/.jpg"},
    };
    for (const auto& [chosen, saved] : cases) {
        EXPECT_EQ(JpegSaveDialog::withJpegExtension(QString::fromUtf8(chosen)), QString::fromUtf8(saved))
            << chosen;
    }
}

TEST_F(ScrapFixture, EndSetsTheSharedDialogAndWritesUnderTheRuledName) {
    scrap.Start(QStringLiteral("1,1"));
    scrap.Data(QStringLiteral("h,FF0000"));
    dialogs.saveAnswers.push_back(path(QStringLiteral("page.png")));
    scrap.End(QString(), dialogs, fileSaveDialog);
    EXPECT_EQ(dialogs.shown,
              QStringList{QStringLiteral("saveFile(fileSaveDialog|JPG 파일|*.jpg|ScrapImage.jpg)")});
    EXPECT_EQ(fileSaveDialog.filter, QStringLiteral("JPG 파일|*.jpg"));
    EXPECT_EQ(filesWritten(), QStringList{QStringLiteral("page.png.jpg")});
}

TEST_F(ScrapFixture, CancelWritesNothing) {
    scrap.Start(QStringLiteral("1,1"));
    scrap.Data(QStringLiteral("h,FF0000"));
    scrap.End(QString(), dialogs, fileSaveDialog); // no scripted answer: cancelled
    EXPECT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(fileSaveDialog.filter, QStringLiteral("JPG 파일|*.jpg"));
    EXPECT_EQ(fileSaveDialog.fileName, QStringLiteral("ScrapImage.jpg"));
    EXPECT_TRUE(filesWritten().isEmpty());
}

TEST_F(ScrapFixture, ReplacesAnExistingFileAndReportsAnUnwritableOne) {
    scrap.Start(QStringLiteral("1,1"));
    scrap.Data(QStringLiteral("h,FF0000"));
    QFile old(path(QStringLiteral("page.jpg")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents");
    old.close();
    dialogs.saveAnswers.push_back(path(QStringLiteral("page.jpg")));
    scrap.End(QString(), dialogs, fileSaveDialog);
    EXPECT_TRUE(decodeJpegFile(path(QStringLiteral("page.jpg"))).ok);

    dialogs.saveAnswers.push_back(path(QStringLiteral("missing/folder/page.jpg")));
    EXPECT_THROW(scrap.End(QString(), dialogs, fileSaveDialog), QorvError);
    EXPECT_EQ(filesWritten(), QStringList{QStringLiteral("page.jpg")});
}

// Whatever the movie sends, a command ends normally or with a QorvError.
TEST_F(ScrapFixture, SurvivesHostileText) {
    const QString hostile[] = {
        QString(),
        QString::fromUtf16(u"\0\0\0,\0", 5),
        QString::fromUtf16(u"\xDC00\xD800,\xDFFF", 4),
        QStringLiteral("\"\"\"\"\"\"\"\"\""),
        QStringLiteral(",,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,"),
        QStringLiteral("..\\..\\..\\windows,FFFFFF"),
        QString(100000, QLatin1Char('F')),
        QStringLiteral("1e99999,-0,+,-"),
    };
    for (const QString& text : hostile) {
        ScrapSave fresh(debug);
        try {
            fresh.Start(text);
        } catch (const QorvError&) {
        }
        fresh.Start(QStringLiteral("4,4"));
        fresh.Data(text);
        fresh.Data(text);
        try {
            fresh.encodeJpeg();
        } catch (const QorvError&) {
        }
    }
}

} // namespace
