#include "app/BookOpening.h"

#include "app/QORVTxtParserUnit.h"
#include "core/Conversions.h"
#include "core/NativePath.h"
#include "core/QorvError.h"

#include <QDir>
#include <memory>

namespace bookopening {

namespace {

qsizetype fileNameStart(const QString& path) {
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1;
}

QString folderWithSeparator(const QString& path) {
    return path.left(fileNameStart(path));
}

} // namespace

CommandLine parseCommandLine(const QString& executablePath, const QStringList& arguments) {
    CommandLine line{executablePath, std::nullopt};
    if (arguments.size() >= 2 && arguments[0] == QLatin1String("-p")) {
        const QString& movie = arguments[1];
        // An absolute path names the movie itself; a relative one lies beside the executable.
        line.startPath = QDir::isAbsolutePath(movie) ? movie : folderWithSeparator(executablePath) + movie;
    }
    if (!arguments.isEmpty() && arguments[0].contains(QLatin1String("-p"))) {
        line.firstPage = arguments[0].mid(2);
    }
    return line;
}

QString changeExtension(const QString& path, const QString& ext) {
    const qsizetype nameStart = fileNameStart(path);
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return (dot >= nameStart ? path.left(dot) : path) + ext;
}

QString bookName(const QString& startPath) {
    const QString name = startPath.mid(fileNameStart(startPath));
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 ? name.left(dot) : name;
}

QString pageVariableFile(const QString& startPath) {
    return folderWithSeparator(startPath) + bookName(startPath) + QStringLiteral("_Page_img\\Page_var.txt");
}

void OpenBook(const QString& startPath, WindowControl& window, FlashPlayer& player) {
    std::optional<QorvError> failure;
    {
        auto parser = std::make_unique<QORVTxtParser>();
        if (parser->LoadFile(pageVariableFile(startPath)) == -1) {
            const QString name = bookName(startPath);
            window.setCaption(name == QLatin1String("launcher") ? QStringLiteral("QORV EBook Viewer") : name);
            window.setWindowState(WindowControl::State::Maximized);
        } else {
            window.setCaption(parser->GetValue(QStringLiteral("title"))
                                  .replace(QStringLiteral("%26"), QStringLiteral("&")));
            const QString widthText = parser->GetValue(QStringLiteral("width"));
            const QString heightText = parser->GetValue(QStringLiteral("height"));
            try {
                // The tests run in this order and stop at the first that holds: the height text is only
                // converted when the width is at least 1.
                if (widthText.isEmpty() || heightText.isEmpty() || conversions::toIntOrThrow(widthText) < 1 ||
                    conversions::toIntOrThrow(heightText) < 1) {
                    window.setWindowState(WindowControl::State::Maximized);
                } else {
                    const QSize screen = window.screenSize();
                    const QSize current = window.outerSize();
                    const int width = screen.width() < current.width() ? screen.width()
                                                                       : conversions::toIntOrThrow(widthText);
                    const int height = screen.height() < current.height()
                                           ? screen.height()
                                           : conversions::toIntOrThrow(heightText);
                    const int top = (screen.height() - height) / 2;
                    const int left = (screen.width() - width) / 2;
                    window.setOuterGeometry(QRect(left, top, width, height));
                }
            } catch (const QorvError& e) {
                // A typo in the page variables must not leave the reader with an empty window.
                window.setWindowState(WindowControl::State::Maximized);
                failure = e;
            }
        }
    }
    player.Movie(nativepath::toNative(changeExtension(startPath, QStringLiteral(".swf"))));
    if (failure) {
        throw *failure;
    }
}

} // namespace bookopening
