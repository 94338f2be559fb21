#pragma once

#include <QString>
#include <map>

// Reads a book's page-variable file (Page_var.txt): records "&key=value&" in code page 949 text, read the
// way a text-mode C stream reads it on Windows (CR bytes dropped, a Ctrl-Z byte ends the text). The first
// value of a key wins; nothing is trimmed or decoded.
class QORVTxtParser {
public:
    // 0 when the file was read (also when it held no record), -1 when it cannot be opened.
    int LoadFile(const QString& path);
    // The value stored for key, or the empty text.
    QString GetValue(const QString& key);

    // Parses file bytes as LoadFile does after reading them.
    void LoadBytes(QByteArray bytes);

    // Files larger than this are refused as unreadable rather than held in memory.
    static constexpr qint64 kMaxFileSize = qint64(256) * 1024 * 1024;

private:
    std::map<QString, QString> table_;
};
