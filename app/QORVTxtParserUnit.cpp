#include "app/QORVTxtParserUnit.h"

#include "core/CodePage.h"
#include "core/NativePath.h"

#include <QFile>
#include <algorithm>
#include <cstring>

namespace {

// What a Windows text-mode read delivers: CR bytes dropped, the text ends at the first Ctrl-Z.
void emulateTextMode(QByteArray& bytes) {
    const qsizetype ctrlZ = bytes.indexOf('\x1a');
    if (ctrlZ >= 0) {
        bytes.truncate(ctrlZ);
    }
    bytes.removeIf([](char c) { return c == '\r'; });
}

QString decode(const char* text) {
    const size_t length = std::strlen(text);
    const bool ascii =
        std::all_of(text, text + length, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii ? QString::fromLatin1(text, static_cast<qsizetype>(length))
                 : codepage::fromNarrow(text, static_cast<qsizetype>(length));
}

} // namespace

int QORVTxtParser::LoadFile(const QString& path) {
    // The file is opened through the narrow code page: a name it cannot spell is not found.
    QFile file(nativepath::toNative(codepage::roundTrip(path)));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize) {
        return -1;
    }
    // A short read (the file shrank or vanished meanwhile) is parsed as far as it arrived.
    LoadBytes(file.read(kMaxFileSize));
    return 0;
}

void QORVTxtParser::LoadBytes(QByteArray bytes) {
    emulateTextMode(bytes);
    // The scan works in place: every '=' and '&' it passes becomes a zero byte, so a key or value is the
    // zero-terminated text from its start. QByteArray keeps a terminating zero after its last byte.
    char* buffer = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype opening = -1;
    qsizetype equals = -1;
    for (qsizetype i = 0; i < size; ++i) {
        const char c = buffer[i];
        if (c == '=') {
            equals = i;
            buffer[i] = '\0';
        } else if (c == '&' && equals < 0) {
            opening = i;
            buffer[i] = '\0';
        } else if (c == '&') {
            buffer[i] = '\0';
            const QString key = decode(buffer + (opening < 0 ? 0 : opening + 1));
            table_.try_emplace(key, decode(buffer + equals + 1));
            opening = -1;
            equals = -1;
        }
    }
}

QString QORVTxtParser::GetValue(const QString& key) {
    return table_[key];
}
