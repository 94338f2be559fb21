#include "app/IniFile.h"

#include "core/CodePage.h"

#include <QFile>
#include <QStringList>

IniFile::IniFile(const QString& nativePath) {
    QFile file(nativePath);
    if (file.open(QIODevice::ReadOnly) && file.size() <= kMaxFileSize) {
        parse(file.read(kMaxFileSize));
    }
}

IniFile IniFile::fromBytes(const QByteArray& bytes) {
    IniFile ini;
    ini.parse(bytes);
    return ini;
}

void IniFile::parse(const QByteArray& bytes) {
    static const QByteArray bom("\xEF\xBB\xBF");
    const QString text =
        bytes.startsWith(bom) ? QString::fromUtf8(bytes.mid(bom.size())) : codepage::fromNarrow(bytes);
    Section* current = nullptr;
    bool currentIsDuplicate = false;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) {
            continue;
        }
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            const QString name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            current = nullptr;
            currentIsDuplicate = false;
            for (Section& s : sections_) {
                if (s.name.compare(name, Qt::CaseInsensitive) == 0) {
                    currentIsDuplicate = true; // only the first section of a name is ever read
                    break;
                }
            }
            if (!currentIsDuplicate) {
                sections_.push_back({name, {}});
                current = &sections_.back();
            }
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (current == nullptr || equals < 0) {
            continue;
        }
        const QString key = line.left(equals).trimmed();
        QString value = line.mid(equals + 1).trimmed();
        if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
            value.back() == value.front()) {
            value = value.mid(1, value.size() - 2);
        }
        current->entries.push_back({key, value.left(kMaxValueLength)});
    }
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const {
    for (const Section& s : sections_) {
        if (s.name.compare(section, Qt::CaseInsensitive) != 0) {
            continue;
        }
        for (const Entry& e : s.entries) {
            if (e.key.compare(key, Qt::CaseInsensitive) == 0) {
                return e.value;
            }
        }
        return defaultValue;
    }
    return defaultValue;
}
