#include "core/CodePage.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace {

// One iconv conversion, replacing every input unit it cannot convert by '?' and going on after it.
// unitSize is the number of bytes one input unit takes (2 for UTF-16, 1 for code page bytes).
QByteArray convert(const char* from, const char* to, const char* in, size_t inLeft, size_t unitSize,
                   const QByteArray& replacement) {
    QByteArray out;
    if (inLeft == 0) {
        return out;
    }
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return out;
    }
    out.resize(static_cast<qsizetype>(inLeft * 2 + 16));
    char* inPtr = const_cast<char*>(in);
    size_t written = 0;
    while (inLeft > 0) {
        char* outPtr = out.data() + written;
        size_t outLeft = static_cast<size_t>(out.size()) - written;
        const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        written = static_cast<size_t>(outPtr - out.data());
        if (rc != static_cast<size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // EILSEQ or EINVAL (a truncated sequence at the end): one replacement for one input unit.
        size_t skip = unitSize;
        if (unitSize == 2 && inLeft >= 4) {
            // A valid surrogate pair that the code page lacks is one character: one '?'.
            const auto hi = static_cast<unsigned char>(inPtr[1]) << 8 | static_cast<unsigned char>(inPtr[0]);
            const auto lo = static_cast<unsigned char>(inPtr[3]) << 8 | static_cast<unsigned char>(inPtr[2]);
            if (hi >= 0xD800 && hi <= 0xDBFF && lo >= 0xDC00 && lo <= 0xDFFF) {
                skip = 4;
            }
        }
        skip = std::min(skip, inLeft);
        inPtr += skip;
        inLeft -= skip;
        if (out.size() - static_cast<qsizetype>(written) < replacement.size() + 8) {
            out.resize(out.size() * 2 + replacement.size());
        }
        memcpy(out.data() + written, replacement.constData(), static_cast<size_t>(replacement.size()));
        written += static_cast<size_t>(replacement.size());
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    out.resize(static_cast<qsizetype>(written));
    return out;
}

} // namespace

namespace codepage {

QByteArray toNarrow(const QString& text) {
    return convert("UTF-16LE", "CP949", reinterpret_cast<const char*>(text.utf16()),
                   static_cast<size_t>(text.size()) * 2, 2, QByteArray("?"));
}

QString fromNarrow(const QByteArray& bytes) {
    const QByteArray utf16 = convert("CP949", "UTF-16LE", bytes.constData(),
                                     static_cast<size_t>(bytes.size()), 1, QByteArray("?\0", 2));
    return QString(reinterpret_cast<const QChar*>(utf16.constData()), utf16.size() / 2);
}

} // namespace codepage
