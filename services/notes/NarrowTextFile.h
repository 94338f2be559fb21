#pragma once

#include <QByteArray>
#include <QString>

// The books' narrow text files (notes, list files) as the Windows runtime's text mode writes them: the
// text in the code page, each LF as CR LF, nothing added. A file is replaced whole or not at all, so a
// full or missing medium never costs the reader the file that was there.
namespace narrowtextfile {

// The bytes text mode writes for text.
QByteArray textModeBytes(const QString& text);

// Writes bytes to nativePath through a temporary file in the same folder that is then renamed over the
// old file. False, with the reason in error (when given), if anything failed; the old file is untouched.
bool replace(const QString& nativePath, const QByteArray& bytes, QString* error = nullptr);

} // namespace narrowtextfile
