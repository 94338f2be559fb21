#include "services/files/DocumentOpening.h"

#include "core/CommandText.h"
#include "core/Dialogs.h"
#include "core/Environment.h"
#include "core/NativePath.h"
#include "core/Registry.h"
#include "core/Shell.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString kOpen = QStringLiteral("open");

bool succeeded(int shellResult) {
    return shellResult > 32;
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

DocumentOpening::DocumentOpening(Environment& environment, Dialogs& dialogs, Shell& shell, Registry& registry)
    : environment_(environment), dialogs_(dialogs), shell_(shell), registry_(registry) {}

QString DocumentOpening::applicationFolder() const {
    return QFileInfo(environment_.executablePath()).absolutePath();
}

std::optional<QString> DocumentOpening::findAcrobatReader() const {
    if (const auto path =
            registry_.defaultValue(Registry::Hive::CurrentUser,
                                   QStringLiteral("Software\\Adobe\\Acrobat Reader\\9.0\\InstallPath"))) {
        return *path + QStringLiteral("\\AcroRd32.exe");
    }
    if (const auto exe = registry_.defaultValue(Registry::Hive::ClassesRoot,
                                                QStringLiteral("Software\\Adobe\\Acrobat\\Exe"))) {
        return *exe;
    }
    const QString installed =
        environment_.programFilesFolder() + QStringLiteral("\\Adobe\\Reader 9.0\\Reader\\AcroRd32.exe");
    if (QFileInfo::exists(nativepath::toNative(installed))) {
        return installed;
    }
    return std::nullopt;
}

QString DocumentOpening::pageOption(const QString& viewer, const QString& openParameters) {
    static const QRegularExpression pageRule(QStringLiteral("(?:^|[&#])page=([0-9]{1,9})(?:&|$)"));
    const QRegularExpressionMatch match = pageRule.match(openParameters);
    if (!match.hasMatch()) {
        return QString();
    }
    const QString page = QString::number(match.captured(1).toLongLong());
    const QString name = QFileInfo(viewer).fileName().toLower();
    if (name == QLatin1String("evince") || name == QLatin1String("atril") ||
        name == QLatin1String("xreader")) {
        return QStringLiteral("--page-label=") + page;
    }
    if (name == QLatin1String("okular")) {
        return QStringLiteral("--page ") + page;
    }
    if (name == QLatin1String("zathura")) {
        return QStringLiteral("--page=") + page;
    }
    return QString();
}

QString DocumentOpening::quoteIfBlank(const QString& path) {
    if (path.contains(QLatin1Char(' ')) || path.contains(QLatin1Char('\t'))) {
        return quoted(path);
    }
    return path;
}

void DocumentOpening::RunPDF(const QString& args) {
    // Without a separator the whole text is taken as the PDF path, opened without open parameters.
    const commandtext::Split split = commandtext::splitAtFirst(args);
    const QString openParameters = split.found ? split.before : QString();
    const QString document = split.found ? split.after : args;
    const QString folder = applicationFolder();
    const QString pdf = folder + QLatin1Char('\\') + document;

    const std::optional<QString> reader = findAcrobatReader();
    if (!reader) {
        openWithDesktopViewer(openParameters, pdf);
        return;
    }
    const QString parameters = QStringLiteral("/A ") +
                               quoted(openParameters + QStringLiteral("=OpenActions")) + QLatin1Char(' ') +
                               quoted(pdf);
    environment_.setCurrentFolder(folder);
    if (shell_.open(kOpen, *reader, parameters, folder) == Shell::kFileNotFound) {
        dialogs_.information(QStringLiteral("아크로뱃 뷰어를 설치하셔야 보실 수 있습니다."));
    }
}

// Linux has no Acrobat Reader: books would lose every PDF link, so the desktop's PDF viewer stands in.
void DocumentOpening::openWithDesktopViewer(const QString& openParameters, const QString& pdf) {
    QString viewer;
    const int found = shell_.findExecutable(pdf, viewer);
    if (found == Shell::kFileNotFound) {
        return; // the book lacks the file: there is nothing to show, and no viewer is missing
    }
    if (!succeeded(found) || viewer.isEmpty()) {
        dialogs_.information(QStringLiteral("아크로뱃 뷰어9.0을 설치하셔야 보실 수 있습니다."));
        return;
    }
    QString parameters = pageOption(viewer, openParameters);
    if (!parameters.isEmpty()) {
        parameters += QLatin1Char(' ');
    }
    parameters += quoted(pdf);
    const QString folder = applicationFolder();
    environment_.setCurrentFolder(folder);
    if (shell_.open(kOpen, viewer, parameters, folder) == Shell::kFileNotFound) {
        dialogs_.information(QStringLiteral("아크로뱃 뷰어를 설치하셔야 보실 수 있습니다."));
    }
}

void DocumentOpening::show(const QString& parameters) {
    const commandtext::Split split = commandtext::splitAtFirst(parameters);
    const QString program = quoted(applicationFolder() + QLatin1Char('\\') + split.before);
    shell_.open(kOpen, program, quoted(split.after), QString());
}

void DocumentOpening::exec(const QString& args) {
    QString file = args;
    QString parameters;
    const commandtext::Split split = commandtext::splitAtFirst(args);
    if (split.found) {
        file = split.before;
        const commandtext::Split rest = commandtext::splitAtFirst(split.after);
        parameters = rest.before + QLatin1Char(' ') + rest.after;
    }
    environment_.setCurrentFolder(applicationFolder());
    const QString reference = QStringLiteral("file:\\\\");
    const qsizetype at = file.indexOf(reference);
    if (at >= 0) {
        file = file.mid(at + reference.size());
    }
    file.replace(QLatin1Char('|'), QLatin1Char(':'));

    if (succeeded(shell_.open(kOpen, file, parameters, QString()))) {
        return;
    }
    QString program;
    if (!succeeded(shell_.findExecutable(file, program))) {
        dialogs_.error(QStringLiteral("이 문서를 열 수 있는 프로그램이 없습니다."));
        return;
    }
    // Quoted when it holds a blank, so that the program receives the path as one argument.
    shell_.open(kOpen, program, quoteIfBlank(file), QString());
}
