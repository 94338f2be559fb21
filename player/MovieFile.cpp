#include "player/MovieFile.h"

#include <QFile>
#include <zlib.h>

namespace {

constexpr qsizetype headerSize = 8;
// Enough of the body to hold the frame header and the first tags, where the background colour sits.
constexpr qsizetype prefixSize = 64 * 1024;

// Inflates the whole stream to prove it intact but keeps only the first prefixSize bytes.
bool inflatePrefix(const QByteArray& compressed, QByteArray& prefix) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) {
        return false;
    }
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.constData()));
    z.avail_in = static_cast<uInt>(compressed.size());
    QByteArray chunk(256 * 1024, Qt::Uninitialized);
    int status = Z_OK;
    while (status == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(chunk.data());
        z.avail_out = static_cast<uInt>(chunk.size());
        status = inflate(&z, Z_NO_FLUSH);
        const qsizetype produced = chunk.size() - static_cast<qsizetype>(z.avail_out);
        if (prefix.size() < prefixSize) {
            prefix.append(chunk.constData(), std::min(produced, prefixSize - prefix.size()));
        }
        if (status == Z_BUF_ERROR || (status == Z_OK && produced == 0 && z.avail_in == 0)) {
            break;
        }
    }
    inflateEnd(&z);
    return status == Z_STREAM_END;
}

quint32 readU16(const QByteArray& b, qsizetype at) {
    return static_cast<quint8>(b[at]) | (static_cast<quint32>(static_cast<quint8>(b[at + 1])) << 8);
}

quint32 readU32(const QByteArray& b, qsizetype at) {
    return readU16(b, at) | (readU16(b, at + 2) << 16);
}

// body is the movie after its 8-byte header: frame rectangle, rate, count, then tags.
QString findBackground(const QByteArray& body) {
    if (body.isEmpty()) {
        return {};
    }
    const int bits = static_cast<quint8>(body[0]) >> 3;
    qsizetype at = (5 + 4 * bits + 7) / 8 + 4;
    while (at + 2 <= body.size()) {
        const quint32 codeAndLength = readU16(body, at);
        at += 2;
        const quint32 code = codeAndLength >> 6;
        qsizetype length = codeAndLength & 0x3f;
        if (length == 0x3f) {
            if (at + 4 > body.size()) {
                break;
            }
            length = readU32(body, at);
            at += 4;
        }
        if (code == 0) {
            break;
        }
        if (code == 9 && length >= 3 && at + 3 <= body.size()) {
            return QStringLiteral("#%1%2%3")
                .arg(static_cast<quint8>(body[at]), 2, 16, QLatin1Char('0'))
                .arg(static_cast<quint8>(body[at + 1]), 2, 16, QLatin1Char('0'))
                .arg(static_cast<quint8>(body[at + 2]), 2, 16, QLatin1Char('0'));
        }
        at += length;
    }
    return {};
}

} // namespace

MovieFileInfo inspectMovieData(const QByteArray& data) {
    MovieFileInfo info;
    if (data.size() < headerSize + 1) {
        info.problem = QStringLiteral("the file is too short to be a Flash movie");
        return info;
    }
    const QByteArray signature = data.left(3);
    if (signature == "FWS") {
        info.backgroundColor = findBackground(data.mid(headerSize, prefixSize));
    } else if (signature == "CWS") {
        QByteArray prefix;
        if (!inflatePrefix(data.mid(headerSize), prefix)) {
            info.problem = QStringLiteral("the compressed movie is damaged");
            return info;
        }
        info.backgroundColor = findBackground(prefix);
    } else if (signature != "ZWS") {
        info.problem = QStringLiteral("the file is not a Flash movie");
    }
    return info;
}

MovieFileInfo inspectMovieFile(const QString& nativePath) {
    QFile file(nativePath);
    if (!file.exists()) {
        return {QStringLiteral("the movie does not exist"), {}};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return {QStringLiteral("the movie cannot be read: ") + file.errorString(), {}};
    }
    return inspectMovieData(file.readAll());
}
