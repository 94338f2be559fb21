#include "services/notes/NarrowTextFile.h"

#include "core/CodePage.h"

#include <QSaveFile>

namespace narrowtextfile {

QByteArray textModeBytes(const QString& text) {
    // LF is a single byte that never occurs inside a double-byte character of the code page, so the
    // bytes can be expanded after the conversion.
    return codepage::toNarrow(text).replace("\n", "\r\n");
}

bool replace(const QString& nativePath, const QByteArray& bytes, QString* error) {
    // The file system would cut the name at a NUL and replace a different file.
    if (nativePath.contains(QChar(0))) {
        if (error) {
            *error = QStringLiteral("the file name holds a NUL character");
        }
        return false;
    }
    QSaveFile file(nativePath);
    // Without this fallback a folder that only allows rewriting the file in place fails instead of
    // risking a half-written note.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) {
            *error = file.errorString();
        }
        return false;
    }
    // Leaving without commit() discards the temporary file.
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        if (error) {
            *error = file.errorString();
        }
        return false;
    }
    return true;
}

} // namespace narrowtextfile
