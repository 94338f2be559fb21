#include "player/MovieFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A movie body: a 1-bit-field frame rectangle, rate and count, then the given tags and an end tag.
QByteArray body(const QByteArray& tags) {
    QByteArray b;
    b.append(char(0x08)).append(char(0)); // RECT with 1-bit fields, padded to two bytes
    b.append(char(0)).append(char(12));   // frame rate
    b.append(char(1)).append(char(0));    // frame count
    b.append(tags);
    b.append(char(0)).append(char(0));
    return b;
}

QByteArray tag(int code, const QByteArray& data) {
    QByteArray t;
    const int head = (code << 6) | int(data.size());
    t.append(char(head & 0xff)).append(char(head >> 8)).append(data);
    return t;
}

QByteArray movie(const char* signature, const QByteArray& body) {
    QByteArray header(signature);
    header.append(char(8));
    const quint32 length = quint32(8 + body.size());
    for (int i = 0; i < 4; ++i) {
        header.append(char((length >> (8 * i)) & 0xff));
    }
    if (QByteArray(signature) == "CWS") {
        return header + qCompress(body).mid(4); // a zlib stream without Qt's length prefix
    }
    return header + body;
}

const QByteArray red = tag(9, QByteArray("\xff\x10\x00", 3));

} // namespace

TEST(MovieFile, TellsPlayableMoviesFromBrokenOnes) {
    const QByteArray compressed = movie("CWS", body(tag(1, {}) + red));
    const struct {
        const char* what;
        QByteArray data;
        bool playable;
        const char* background;
    } cases[] = {
        {"plain", movie("FWS", body(red)), true, "#ff1000"},
        {"compressed", compressed, true, "#ff1000"},
        {"no background", movie("FWS", body(tag(1, {}))), true, ""},
        {"lzma is taken on trust", QByteArray("ZWS\x0a\0\0\0\0\0\0\0\0\0", 14), true, ""},
        {"empty", QByteArray(), false, ""},
        {"text file", QByteArray("<html>not a movie</html>"), false, ""},
        {"truncated compressed", compressed.left(compressed.size() - 6), false, ""},
        {"corrupt compressed", compressed.left(10) + QByteArray(40, 'x'), false, ""},
        {"tag longer than the file", movie("FWS", body(QByteArray("\x3f\x02\xff\xff\xff\x7f", 6))), true, ""},
    };
    for (const auto& c : cases) {
        const MovieFileInfo info = inspectMovieData(c.data);
        EXPECT_EQ(info.problem.isEmpty(), c.playable) << c.what << ": " << info.problem.toStdString();
        EXPECT_EQ(info.backgroundColor, QString::fromUtf8(c.background)) << c.what;
    }
}

TEST(MovieFile, MissingFileIsAProblem) {
    QTemporaryDir temp;
    EXPECT_FALSE(inspectMovieFile(temp.path() + "/none.swf").problem.isEmpty());
    EXPECT_FALSE(inspectMovieFile(temp.path()).problem.isEmpty());
}
