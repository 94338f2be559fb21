#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// A read-only INI file that answers like the Windows private-profile functions do for plain keys:
// section and key names match without regard to case, blanks around names and values are trimmed, a value
// in a matching pair of double or single quotes loses them, the first of duplicate sections and keys wins,
// values are cut at 2047 characters, lines starting with ';' are comments. Bytes are code page 949, or
// UTF-8 after a UTF-8 byte-order mark.
class IniFile {
public:
    static constexpr qsizetype kMaxValueLength = 2047;
    // Settings files are small; anything larger is not read.
    static constexpr qint64 kMaxFileSize = qint64(16) * 1024 * 1024;

    IniFile() = default;
    // A missing or unreadable file gives an empty IniFile.
    explicit IniFile(const QString& nativePath);
    static IniFile fromBytes(const QByteArray& bytes);

    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;

private:
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        std::vector<Entry> entries;
    };
    void parse(const QByteArray& bytes);
    std::vector<Section> sections_;
};
