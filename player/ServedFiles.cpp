#include "player/ServedFiles.h"

#include "core/NativePath.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>

namespace {

QString cleanFolder(const QString& folder) {
    if (folder.isEmpty()) {
        return {};
    }
    return QDir::cleanPath(QDir(nativepath::toNative(folder)).absolutePath());
}

bool under(const QString& path, const QString& root) {
    if (root.isEmpty()) {
        return false;
    }
    if (root == QLatin1String("/")) {
        return true;
    }
    return path == root || path.startsWith(root + QLatin1Char('/'));
}

} // namespace

void ServedFiles::setBookFolder(const QString& folder) {
    bookFolder_ = cleanFolder(folder);
}

void ServedFiles::allowFolder(const QString& folder) {
    const QString clean = cleanFolder(folder);
    if (!clean.isEmpty() && !allowed_.contains(clean)) {
        allowed_ << clean;
    }
}

bool ServedFiles::inside(const QString& path, bool canonical) const {
    QStringList roots = allowed_;
    roots << bookFolder_;
    for (const QString& root : std::as_const(roots)) {
        const QString r = canonical ? QFileInfo(root).canonicalFilePath() : root;
        if (under(path, r)) {
            return true;
        }
    }
    return false;
}

ServedFiles::Result ServedFiles::resolve(const QString& urlPath) const {
    Result result;
    result.file = urlPath;
    if (urlPath.contains(QChar(0))) {
        return result;
    }
    QString path = QString(urlPath).replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!path.startsWith(QLatin1Char('/'))) {
        path.prepend(QLatin1Char('/'));
    }
    // ".." is settled before any look-up, so "..\..\" cannot climb out of an allowed folder.
    path = QDir::cleanPath(path);
    // Above the root there is only the root.
    while (path.startsWith(QLatin1String("/../")) || path == QLatin1String("/..")) {
        path = path.size() == 3 ? QStringLiteral("/") : path.mid(3);
    }
    result.file = path;
    // The case look-up may only change the spelling, so the folder test holds for both forms.
    const QString native = nativepath::toNative(path);
    if (!inside(path, false) && !inside(native, false)) {
        return result;
    }
    result.file = native;
    const QFileInfo info(native);
    if (!info.exists() || info.isDir()) {
        result.status = Status::Missing;
        return result;
    }
    // A link inside an allowed folder must not lead out of it.
    if (!inside(info.canonicalFilePath(), true)) {
        return result;
    }
    result.status = Status::Served;
    return result;
}

QString ServedFiles::mimeType(const QString& file) {
    static const QHash<QString, QString> known = {
        {QStringLiteral("swf"), QStringLiteral("application/x-shockwave-flash")},
        {QStringLiteral("wasm"), QStringLiteral("application/wasm")},
        {QStringLiteral("js"), QStringLiteral("text/javascript")},
        {QStringLiteral("html"), QStringLiteral("text/html")},
        {QStringLiteral("htm"), QStringLiteral("text/html")},
        {QStringLiteral("xml"), QStringLiteral("text/xml")},
        {QStringLiteral("txt"), QStringLiteral("text/plain")},
        {QStringLiteral("mp3"), QStringLiteral("audio/mpeg")},
        {QStringLiteral("jpg"), QStringLiteral("image/jpeg")},
        {QStringLiteral("jpeg"), QStringLiteral("image/jpeg")},
        {QStringLiteral("png"), QStringLiteral("image/png")},
        {QStringLiteral("gif"), QStringLiteral("image/gif")},
        {QStringLiteral("flv"), QStringLiteral("video/x-flv")},
    };
    const QString suffix = QFileInfo(file).suffix().toLower();
    const auto it = known.constFind(suffix);
    if (it != known.constEnd()) {
        return *it;
    }
    // Content-sniffing a movie's data files is pointless; only the name is looked at.
    const QMimeType type = QMimeDatabase().mimeTypeForFile(file, QMimeDatabase::MatchExtension);
    return type.isValid() && !type.isDefault() ? type.name() : QStringLiteral("application/octet-stream");
}
