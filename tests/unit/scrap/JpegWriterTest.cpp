#include "services/scrap/JpegWriter.h"

#include "core/QorvError.h"
#include "tests/unit/scrap/JpegDecode.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

void grey(int y, unsigned char* rgb, int width) {
    for (int x = 0; x < width * 3; ++x) {
        rgb[x] = static_cast<unsigned char>(y * 10 + 40);
    }
}

// A failure inside the library comes back as a QorvError, and the writer works afterwards.
TEST(JpegWriter, LibraryErrorsComeBackAsFailures) {
    try {
        JpegWriter::encode(70000, 1, 90, [](int, unsigned char*) {});
        FAIL() << "a picture wider than JPEG allows was encoded";
    } catch (const QorvError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("65500"))) << e.message().toStdString();
    }
    EXPECT_THROW(JpegWriter::encode(0, 5, 90, [](int, unsigned char*) {}), QorvError);
    EXPECT_THROW(JpegWriter::encode(5, -1, 90, [](int, unsigned char*) {}), QorvError);
    const QByteArray jpeg = JpegWriter::encode(4, 4, 90, [](int y, unsigned char* rgb) { grey(y, rgb, 4); });
    EXPECT_TRUE(decodeJpeg(jpeg).ok);
}

TEST(JpegWriter, RowSourceFailureAbandonsThePicture) {
    const auto failing = [](int y, unsigned char* rgb) {
        if (y == 3) {
            throw QorvError(QStringLiteral("row 3"));
        }
        grey(y, rgb, 8);
    };
    EXPECT_THROW(JpegWriter::encode(8, 8, 90, failing), QorvError);
    EXPECT_TRUE(
        decodeJpeg(JpegWriter::encode(8, 8, 90, [](int y, unsigned char* rgb) { grey(y, rgb, 8); })).ok);
}

// Pictures larger than the first output block make the output grow; quality steers the size.
TEST(JpegWriter, WritesBaselineRgbOfAnySizeAtTheGivenQuality) {
    const int width = 600, height = 400;
    const auto noise = [](int y, unsigned char* rgb) {
        unsigned state = 12345u + unsigned(y) * 7919u;
        for (int i = 0; i < width * 3; ++i) {
            state = state * 1103515245u + 12345u;
            rgb[i] = static_cast<unsigned char>(state >> 24);
        }
    };
    const QByteArray best = JpegWriter::encode(width, height, 100, noise);
    const QByteArray good = JpegWriter::encode(width, height, 90, noise);
    EXPECT_GT(best.size(), 64 * 1024);
    EXPECT_GT(best.size(), good.size());
    const DecodedJpeg decoded = decodeJpeg(best);
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.width, width);
    EXPECT_EQ(decoded.height, height);
    EXPECT_EQ(decoded.components, 3);
    EXPECT_FALSE(decoded.progressive);
    EXPECT_TRUE(best.startsWith("\xFF\xD8"));
    EXPECT_TRUE(best.endsWith("\xFF\xD9"));
}

TEST(JpegWriter, SaveReplacesThroughATemporaryFile) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("out.jpg"));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("previous");
    old.close();
    JpegWriter::save(target, QByteArray("new bytes"));
    QFile written(target);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("new bytes"));
    EXPECT_THROW(JpegWriter::save(dir.filePath(QStringLiteral("no/such/dir/x.jpg")), QByteArray("x")),
                 QorvError);
    EXPECT_THROW(JpegWriter::save(dir.path(), QByteArray("x")), QorvError);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("out.jpg")});
}

} // namespace
