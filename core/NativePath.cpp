#include "core/NativePath.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

constexpr qsizetype kMaxPathLength = 4096;

// The entry of dir whose name equals name without regard to case; the exact name when none does.
QString matchCase(const QString& dir, const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) {
        return name;
    }
    const QString exact = dir.isEmpty() ? name : dir + QLatin1Char('/') + name;
    if (QFileInfo::exists(exact)) {
        return name;
    }
    QDir d(dir.isEmpty() ? QStringLiteral(".") : dir);
    const QStringList entries =
        d.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            return entry;
        }
    }
    return name;
}

} // namespace

namespace nativepath {

// The same code serves every OS: "/" is a separator everywhere, and on a file system that ignores case
// the name as written already exists, so the case-insensitive look-up is never needed there.
QString toNative(const QString& path) {
    QStringList parts = QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'));
    QString dir; // the folder the next component is looked up in ("" for the current folder)
    bool missing = false;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        QString& part = parts[i];
        if (i == 0 && part.isEmpty()) {
            dir = QStringLiteral("/");
            continue;
        }
        if (part.isEmpty() || missing) {
            continue; // a doubled separator stays doubled; below a missing component nothing is looked up
        }
        part = matchCase(dir, part);
        const QString full =
            dir.isEmpty() ? part
                          : (dir.endsWith(QLatin1Char('/')) ? dir + part : dir + QLatin1Char('/') + part);
        // Once a component is missing nothing below it can be found: keep the rest as written. A path longer
        // than any file system takes cannot exist either, so hostile input with many components costs
        // linear time.
        missing = full.size() > kMaxPathLength || !QFileInfo::exists(full);
        dir = full;
    }
    return parts.join(QLatin1Char('/'));
}

} // namespace nativepath
