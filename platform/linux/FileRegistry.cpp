#include "platform/linux/FileRegistry.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringConverter>
#include <QStringDecoder>

namespace {

constexpr qint64 kMaxFileSize = 1024 * 1024;

QString hiveName(Registry::Hive hive) {
    return hive == Registry::Hive::CurrentUser ? QStringLiteral("HKEY_CURRENT_USER")
                                               : QStringLiteral("HKEY_CLASSES_ROOT");
}

// "HKCU\a\b\" and "hkey_current_user\A\B" are the same key.
QString normalisedKey(QString key) {
    key = key.trimmed();
    while (key.endsWith(QLatin1Char('\\'))) {
        key.chop(1);
    }
    const qsizetype slash = key.indexOf(QLatin1Char('\\'));
    QString hive = slash < 0 ? key : key.left(slash);
    const QString rest = slash < 0 ? QString() : key.mid(slash);
    if (hive.compare(QLatin1String("HKCU"), Qt::CaseInsensitive) == 0) {
        hive = QStringLiteral("HKEY_CURRENT_USER");
    } else if (hive.compare(QLatin1String("HKCR"), Qt::CaseInsensitive) == 0) {
        hive = QStringLiteral("HKEY_CLASSES_ROOT");
    }
    return (hive + rest).toCaseFolded();
}

QString unquoted(const QString& value) {
    if (value.size() < 2 || !value.startsWith(QLatin1Char('"')) || !value.endsWith(QLatin1Char('"'))) {
        return value;
    }
    QString text;
    const QString inner = value.mid(1, value.size() - 2);
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner.at(i) == QLatin1Char('\\') && i + 1 < inner.size()) {
            ++i;
        }
        text += inner.at(i);
    }
    return text;
}

QString readText(const QString& path) {
    QFile file(path);
    if (file.size() > kMaxFileSize || !file.open(QIODevice::ReadOnly)) {
        return QString();
    }
    const QByteArray bytes = file.readAll();
    const auto encoding = QStringConverter::encodingForData(bytes);
    QStringDecoder decoder(encoding.value_or(QStringConverter::Utf8));
    return decoder(bytes);
}

} // namespace

FileRegistry::FileRegistry(QString path) : path_(std::move(path)) {}

QString FileRegistry::defaultPath() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty()) {
        config = QDir::homePath() + QStringLiteral("/.config");
    }
    return config + QStringLiteral("/qorv/registry.ini");
}

std::optional<QString> FileRegistry::defaultValue(Hive hive, const QString& key) {
    const QString wanted = normalisedKey(hiveName(hive) + QLatin1Char('\\') + key);
    bool inKey = false;
    std::optional<QString> found;
    const QStringList lines = readText(path_).split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (const QString& raw : lines) {
        QString line = raw.trimmed();
        if (line.startsWith(QChar(0xFEFF))) {
            line.remove(0, 1);
        }
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inKey = normalisedKey(line.mid(1, line.size() - 2)) == wanted;
            if (inKey && !found) {
                found = QString();
            }
            continue;
        }
        if (inKey && line.startsWith(QLatin1Char('@'))) {
            const QString rest = line.mid(1).trimmed();
            if (rest.startsWith(QLatin1Char('='))) {
                found = unquoted(rest.mid(1).trimmed());
                return found;
            }
        }
    }
    return found;
}
