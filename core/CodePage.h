#pragma once

#include <QByteArray>
#include <QString>

// The narrow code page of the books' data files (notes, list files, page variables): code page 949.
// Characters the code page lacks become '?', as the Windows conversion functions do; bytes that are not a
// valid code page 949 sequence decode to '?' as well. This is the only place that converts.
namespace codepage {

QByteArray toNarrow(const QString& text);
QString fromNarrow(const QByteArray& bytes);
inline QString fromNarrow(const char* data, qsizetype size) {
    return fromNarrow(QByteArray(data, size));
}

// Text through the code page and back: what survives a narrow file, shell or debug call.
inline QString roundTrip(const QString& text) {
    return fromNarrow(toNarrow(text));
}

} // namespace codepage
