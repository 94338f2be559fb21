#include "platform/linux/LinuxShell.h"

#include "core/NativePath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace {

QStringList envList(const char* name, const QStringList& fallback) {
    const QString value = qEnvironmentVariable(name);
    const QStringList list = value.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return list.isEmpty() ? fallback : list;
}

QString envPath(const char* name, const QString& fallback) {
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

// The groups of an ini-style file (mimeapps.list, desktop entries): group -> key -> value.
using Groups = QHash<QString, QHash<QString, QString>>;

Groups readGroups(const QString& path) {
    Groups groups;
    QFile file(path);
    if (file.size() > 1024 * 1024 || !file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return groups;
    }
    QString group;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            group = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && !groups[group].contains(line.left(eq).trimmed())) {
            groups[group].insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
        }
    }
    return groups;
}

QStringList entryList(const QString& value) {
    return value.split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

// The first word of a desktop entry's Exec line, quotes and escapes removed.
QString execProgram(const QString& exec) {
    QString word;
    bool inQuotes = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (inQuotes && c == QLatin1Char('\\') && i + 1 < exec.size()) {
            word += exec.at(++i);
        } else if (c == QLatin1Char('"')) {
            inQuotes = !inQuotes;
        } else if (!inQuotes && (c == QLatin1Char(' ') || c == QLatin1Char('\t'))) {
            if (!word.isEmpty()) {
                break;
            }
        } else {
            word += c;
        }
    }
    return word;
}

QString stripQuotes(const QString& text) {
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"'))) {
        return text.mid(1, text.size() - 2);
    }
    return text;
}

bool startDetached(const QString& program, const QStringList& arguments, const QString& workingFolder) {
    return QProcess::startDetached(program, arguments, workingFolder);
}

} // namespace

XdgDirs XdgDirs::fromEnvironment() {
    XdgDirs dirs;
    const QString home = QDir::homePath();
    dirs.configHome = envPath("XDG_CONFIG_HOME", home + QStringLiteral("/.config"));
    dirs.configDirs = envList("XDG_CONFIG_DIRS", {QStringLiteral("/etc/xdg")});
    dirs.dataHome = envPath("XDG_DATA_HOME", home + QStringLiteral("/.local/share"));
    dirs.dataDirs =
        envList("XDG_DATA_DIRS", {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")});
    dirs.path = envList(
        "PATH", {QStringLiteral("/usr/local/bin"), QStringLiteral("/usr/bin"), QStringLiteral("/bin")});
    return dirs;
}

QString DesktopAssociations::resolveProgram(const QString& program) const {
    if (program.isEmpty()) {
        return QString();
    }
    if (program.contains(QLatin1Char('/'))) {
        const QFileInfo info(program);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(program, dirs_.path);
}

QString DesktopAssociations::entryPath(const QString& desktopId) const {
    if (desktopId.contains(QLatin1Char('/')) || desktopId.startsWith(QLatin1Char('.'))) {
        return QString();
    }
    QStringList roots{dirs_.dataHome};
    roots << dirs_.dataDirs;
    for (const QString& root : roots) {
        const QString path = root + QStringLiteral("/applications/") + desktopId;
        if (QFileInfo(path).isFile()) {
            return path;
        }
    }
    return QString();
}

QString DesktopAssociations::programOfEntry(const QString& desktopId) const {
    const QString path = entryPath(desktopId);
    if (path.isEmpty()) {
        return QString();
    }
    const QHash<QString, QString> entry = readGroups(path).value(QStringLiteral("Desktop Entry"));
    if (entry.value(QStringLiteral("Hidden")) == QLatin1String("true")) {
        return QString();
    }
    return resolveProgram(execProgram(entry.value(QStringLiteral("Exec"))));
}

QString DesktopAssociations::programForType(const QString& mimeType) const {
    QStringList lists;
    for (const QString& dir : QStringList{dirs_.configHome} + dirs_.configDirs) {
        lists << dir + QStringLiteral("/mimeapps.list");
    }
    for (const QString& dir : QStringList{dirs_.dataHome} + dirs_.dataDirs) {
        lists << dir + QStringLiteral("/applications/mimeapps.list");
    }
    QList<Groups> parsed;
    for (const QString& list : lists) {
        parsed << readGroups(list);
    }
    for (const char* group : {"Default Applications", "Added Associations"}) {
        for (const Groups& groups : parsed) {
            for (const QString& id : entryList(groups.value(QLatin1String(group)).value(mimeType))) {
                const QString program = programOfEntry(id);
                if (!program.isEmpty()) {
                    return program;
                }
            }
        }
    }
    for (const QString& root : QStringList{dirs_.dataHome} + dirs_.dataDirs) {
        const QStringList ids = QDir(root + QStringLiteral("/applications"))
                                    .entryList({QStringLiteral("*.desktop")}, QDir::Files, QDir::Name);
        for (const QString& id : ids) {
            const QHash<QString, QString> entry = readGroups(root + QStringLiteral("/applications/") + id)
                                                      .value(QStringLiteral("Desktop Entry"));
            if (entryList(entry.value(QStringLiteral("MimeType"))).contains(mimeType)) {
                const QString program = programOfEntry(id);
                if (!program.isEmpty()) {
                    return program;
                }
            }
        }
    }
    return QString();
}

QString DesktopAssociations::programFor(const QString& nativeFile) const {
    const QMimeDatabase db;
    const QMimeType type = db.mimeTypeForFile(nativeFile);
    QStringList types{type.name()};
    types << type.allAncestors();
    for (const QString& name : types) {
        if (name == QLatin1String("application/octet-stream")) {
            continue; // every file is one; an association for it says nothing about this file
        }
        const QString program = programForType(name);
        if (!program.isEmpty()) {
            return program;
        }
    }
    return QString();
}

LinuxShell::LinuxShell(XdgDirs dirs, Launcher launcher)
    : associations_(std::move(dirs)), launcher_(launcher ? std::move(launcher) : Launcher(startDetached)) {}

QStringList LinuxShell::splitCommandLine(const QString& parameters) {
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool inQuotes = false;
    const qsizetype n = parameters.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = parameters.at(i);
        if (c == QLatin1Char('\\')) {
            qsizetype slashes = 0;
            while (i < n && parameters.at(i) == QLatin1Char('\\')) {
                ++slashes;
                ++i;
            }
            inArgument = true;
            if (i < n && parameters.at(i) == QLatin1Char('"')) {
                // 2n backslashes and a quote: n backslashes, the quote toggles; 2n+1: n and a literal quote.
                current += QString(slashes / 2, QLatin1Char('\\'));
                if (slashes % 2 == 1) {
                    current += QLatin1Char('"');
                } else {
                    --i; // let the quote be handled below
                }
            } else {
                current += QString(slashes, QLatin1Char('\\'));
                --i;
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            inArgument = true;
            if (inQuotes && i + 1 < n && parameters.at(i + 1) == QLatin1Char('"')) {
                current += QLatin1Char('"'); // a doubled quote inside quotes is one literal quote
                ++i;
            } else {
                inQuotes = !inQuotes;
            }
            continue;
        }
        if (!inQuotes && (c == QLatin1Char(' ') || c == QLatin1Char('\t'))) {
            if (inArgument) {
                arguments << current;
                current.clear();
                inArgument = false;
            }
            continue;
        }
        current += c;
        inArgument = true;
    }
    if (inArgument) {
        arguments << current;
    }
    return arguments;
}

bool LinuxShell::isProgram(const QString& nativeFile) {
    const QFileInfo info(nativeFile);
    if (!info.isFile() || !info.isExecutable()) {
        return false;
    }
    // Files on FAT and NTFS media are all marked executable: only a real program counts.
    QFile file(nativeFile);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray head = file.read(4);
    return head == QByteArrayLiteral("\x7f"
                                     "ELF") ||
           head.startsWith("#!");
}

QString LinuxShell::nativeFile(const QString& file, const QString& workingFolder) const {
    const QString name = stripQuotes(file);
    if (name.isEmpty() || name.size() > kMaxPathLength || name.contains(QChar(u'\0'))) {
        return QString();
    }
    QString native = nativepath::toNative(name);
    if (!QFileInfo::exists(native) && !workingFolder.isEmpty() && QFileInfo(native).isRelative()) {
        const QString inFolder = nativepath::toNative(workingFolder + QLatin1Char('\\') + name);
        if (QFileInfo::exists(inFolder)) {
            return inFolder;
        }
    }
    if (!QFileInfo::exists(native) && !native.contains(QLatin1Char('/'))) {
        // A bare program name is looked for along the search path, as the Windows shell does.
        const QString found = associations_.resolveProgram(native);
        if (!found.isEmpty()) {
            native = found;
        }
    }
    return QFileInfo::exists(native) ? QFileInfo(native).absoluteFilePath() : QString();
}

// Arguments that name an existing file in the content's form are handed over as native paths; all
// others (switches, texts, names of files yet to be made) go unchanged.
QStringList LinuxShell::nativeArguments(const QString& parameters, const QString& workingFolder) const {
    QStringList arguments = splitCommandLine(parameters);
    for (QString& argument : arguments) {
        if (!argument.contains(QLatin1Char('\\')) || argument.size() > kMaxPathLength ||
            argument.contains(QChar(u'\0'))) {
            continue;
        }
        QString native = nativepath::toNative(argument);
        if (!QFileInfo::exists(native) && QFileInfo(native).isRelative() && !workingFolder.isEmpty()) {
            native = nativepath::toNative(workingFolder + QLatin1Char('/') + argument);
        }
        if (QFileInfo::exists(native)) {
            argument = QFileInfo(native).absoluteFilePath();
        }
    }
    return arguments;
}

int LinuxShell::open(const QString& verb, const QString& file, const QString& parameters,
                     const QString& workingFolder) {
    if (!verb.isEmpty() && verb != QLatin1String("open")) {
        return kNoAssociation;
    }
    QString folder = workingFolder.isEmpty() || workingFolder.size() > kMaxPathLength ||
                             workingFolder.contains(QChar(u'\0'))
                         ? QString()
                         : nativepath::toNative(workingFolder);
    if (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
        folder.clear();
    }
    const QString native = nativeFile(file, folder);
    if (native.isEmpty()) {
        return kFileNotFound;
    }
    if (isProgram(native)) {
        return launcher_(native, nativeArguments(parameters, folder), folder) ? kSuccess : kAccessDenied;
    }
    const QString handler =
        QStandardPaths::findExecutable(QStringLiteral("xdg-open"), associations_.dirs().path);
    if (QFileInfo(native).isDir()) {
        if (handler.isEmpty()) {
            return kNoAssociation;
        }
        return launcher_(handler, {native}, folder) ? kSuccess : kNoAssociation;
    }
    const QString program = associations_.programFor(native);
    if (program.isEmpty()) {
        return kNoAssociation;
    }
    return launcher_(handler.isEmpty() ? program : handler, {native}, folder) ? kSuccess : kNoAssociation;
}

int LinuxShell::findExecutable(const QString& file, QString& program) {
    program.clear();
    const QString native = nativeFile(file, QString());
    if (native.isEmpty()) {
        return kFileNotFound;
    }
    if (isProgram(native)) {
        program = native;
        return kSuccess;
    }
    if (QFileInfo(native).isDir()) {
        return kNoAssociation;
    }
    program = associations_.programFor(native);
    return program.isEmpty() ? kNoAssociation : kSuccess;
}
