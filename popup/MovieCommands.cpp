#include "popup/MovieCommands.h"

#include "app/BookOpening.h"
#include "bridge/ContentCalls.h"
#include "core/CodePage.h"
#include "core/CommandText.h"
#include "core/Conversions.h"
#include "core/NativePath.h"

#include <QFileInfo>
#include <cmath>
#include <limits>

namespace {

const QString kContents = QStringLiteral("_Page_img\\contents\\");

qsizetype nameStart(const QString& path) {
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1;
}

// The folder of a path without its last separator ("" when there is none).
QString folderOf(const QString& path) {
    const qsizetype start = nameStart(path);
    return start > 0 ? path.left(start - 1) : QString();
}

QString withoutExtension(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot >= nameStart(path) ? path.left(dot) : path;
}

bool allDigits(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Truncation toward zero that cannot overflow: results outside the integer range are clamped and a value
// that is not a number becomes 0.
int truncated(float value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483647.0f) {
        return std::numeric_limits<int>::max();
    }
    if (value <= -2147483648.0f) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(value);
}

} // namespace

MovieCommands::MovieCommands(FlashPlayer& mainPlayer, Environment& environment, PopupHost& host,
                             std::function<QString()> skinMoviePath)
    : mainPlayer_(mainPlayer), environment_(environment), host_(host),
      skinMoviePath_(std::move(skinMoviePath)) {}

void MovieCommands::function(const QString& args) {
    const commandtext::Split split = commandtext::splitAtFirst(args);
    if (!split.found) {
        return;
    }
    const QString name = codepage::roundTrip(split.before);
    const QString rest = codepage::roundTrip(split.after);
    if (name == QLatin1String("CaptureForm")) {
        host_.captureForm();
    } else if (name == QLatin1String("PopUpForm")) {
        popUpForm(rest);
    } else if (name == QLatin1String("LoadForm")) {
        loadForm(rest);
    }
}

MovieCommands::PopUpFormFields MovieCommands::parsePopUpForm(const QString& rest) {
    PopUpFormFields fields;
    const commandtext::Split movie = commandtext::splitAtFirst(rest);
    fields.movie = commandtext::slashesToBackslashes(movie.before);
    const commandtext::Split page = commandtext::splitAtFirst(movie.after);
    if (page.found) {
        fields.page = page.before;
        const commandtext::Split scale = commandtext::splitAtFirst(page.after);
        if (scale.found) {
            fields.scale = scale.before;
            fields.title = scale.after;
        }
    }
    return fields;
}

MovieCommands::LoadFormFields MovieCommands::parseLoadForm(const QString& rest) {
    const commandtext::Split movie = commandtext::splitAtFirst(rest);
    return {commandtext::slashesToBackslashes(movie.before), commandtext::splitAtFirst(movie.after).before};
}

QRect MovieCommands::popupGeometry(QSize playerSize, int scalePercent, QSize screen,
                                   const FrameMetrics& frame) {
    float w = static_cast<float>(playerSize.width());
    float h = static_cast<float>(playerSize.height());
    if (scalePercent > 0) {
        const float scaled = static_cast<float>(qint64(screen.height()) * scalePercent) * 0.01f;
        w = scaled * (w / h);
        h = scaled;
    }
    h = h + 2.0f * static_cast<float>(frame.sizingFrameHeight) + static_cast<float>(frame.captionHeight);
    w = w + 2.0f * static_cast<float>(frame.sizingFrameWidth);
    const int left = truncated((static_cast<float>(screen.width()) - w) * 0.5f);
    const int top = truncated((static_cast<float>(screen.height()) - h) * 0.5f);
    return QRect(left, top, std::max(truncated(w), 0), std::max(truncated(h), 0));
}

QString MovieCommands::applicationFolder() const {
    const QString exe = environment_.executablePath();
    return exe.left(nameStart(exe));
}

QStringList MovieCommands::commonCandidates(const QString& movie, const QString& second) const {
    const QString app = applicationFolder();
    const QStringList arguments = environment_.arguments();
    const QString book = arguments.isEmpty() ? QString() : arguments.first();
    const QString bookFolder = folderOf(book);
    const QString skin = skinMoviePath_ ? skinMoviePath_() : QString();
    return {
        app + movie,
        second,
        app + withoutExtension(skin) + kContents + movie,
        bookFolder + QLatin1Char('\\') + movie,
        bookFolder + QLatin1Char('\\') + bookopening::bookName(book) + kContents + movie,
        app + bookopening::bookName(environment_.executablePath()) + kContents + movie,
    };
}

QStringList MovieCommands::popUpCandidates(const QString& movie) {
    QString appPath = contentcalls::appPath(mainPlayer_);
    const qsizetype scheme = appPath.indexOf(QLatin1String("file://"));
    if (scheme >= 0) {
        appPath = appPath.mid(scheme + 7);
    }
    const QString appName = contentcalls::appName(mainPlayer_);
    return commonCandidates(movie, appPath + appName + kContents + movie);
}

QStringList MovieCommands::loadCandidates(const QString& movie) const {
    return commonCandidates(movie, kContents + movie);
}

QString MovieCommands::firstExisting(const QStringList& candidates) {
    for (qsizetype i = 0; i + 1 < candidates.size(); ++i) {
        const QFileInfo info(nativepath::toNative(candidates[i]));
        if (info.isFile()) {
            return candidates[i];
        }
    }
    return candidates.last();
}

void MovieCommands::popUpForm(const QString& rest) {
    const PopUpFormFields fields = parsePopUpForm(rest);
    const QString moviePath =
        QFileInfo(nativepath::toNative(firstExisting(popUpCandidates(fields.movie)))).absoluteFilePath();
    PopupWindow& popup = host_.createPopup();
    int scalePercent = 100;
    try {
        const QString scale = allDigits(fields.scale) ? fields.scale : QStringLiteral("100");
        popup.setCaption(fields.title);
        scalePercent = conversions::toIntOrThrow(scale);
    } catch (...) {
        // A pop-up that cannot be sized is not left hidden behind the windows.
        popup.discard();
        throw;
    }
    popup.setScalePercent(scalePercent);
    contentcalls::loadMovieAtPage(popup.player(), moviePath, fields.page);
    const QString folder = QFileInfo(moviePath).path();
    popup.setMovieFolder(folder + QLatin1Char('/'));
    environment_.setCurrentFolder(folder);
    if (scalePercent == 100) {
        popup.setMaximized();
    } else {
        popup.setNormalGeometry(
            popupGeometry(popup.playerSize(), scalePercent, host_.screenSize(), host_.frameMetrics()));
    }
    popup.showModeless();
}

void MovieCommands::loadForm(const QString& rest) {
    const LoadFormFields fields = parseLoadForm(rest);
    const QString moviePath =
        QFileInfo(nativepath::toNative(firstExisting(loadCandidates(fields.movie)))).absoluteFilePath();
    mainPlayer_.Stop();
    contentcalls::loadMovieAtPage(mainPlayer_, moviePath, fields.page);
    environment_.setCurrentFolder(QFileInfo(moviePath).path());
}
