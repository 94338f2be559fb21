#include "bridge/ContentCalls.h"

namespace {

QString successText(bool success) {
    return success ? QStringLiteral("success") : QStringLiteral("fail");
}

} // namespace

namespace contentcalls {

QString onRecordCompleteRequest(const QString& recordingPath) {
    return QStringLiteral("<invoke name=\"onRecordComplete\" returntype=\"xml\"><arguments><string>") +
           recordingPath + QStringLiteral("</string></arguments></invoke>");
}

QString otherBookRequest(const QString& movie, const QString& page) {
    return QStringLiteral("<invoke name=\"otherBook_QORV\" returntype=\"xml\"><arguments><string>") + movie +
           QStringLiteral("</string><string>") + page +
           QStringLiteral("</string><string>false</string></arguments></invoke>");
}

QString goPageLinkRequest(const QString& page) {
    return QStringLiteral("<invoke name=\"goPageLink_QORV\" returntype=\"xml\"><arguments><string>") + page +
           QStringLiteral("</string><string>false</string></arguments></invoke>");
}

void setFirstPage(FlashPlayer& player, const QString& page) {
    player.SetVariable(QStringLiteral("_root.BOOKLOAD_FIRSTPAGE"), page);
}

void loadMovieAtPage(FlashPlayer& player, const QString& moviePath, const QString& page) {
    if (page.contains(QLatin1Char('='))) {
        player.FlashVars(page);
        player.Movie(moviePath);
    } else {
        player.Movie(moviePath);
        setFirstPage(player, page);
    }
}

void setSaveSuccess(FlashPlayer& player, bool success) {
    player.SetVariable(QStringLiteral("saveSuccess"), successText(success));
}

void setLoadTxt(FlashPlayer& player, const QString& notesFolder) {
    player.SetVariable(QStringLiteral("loadTxt"), notesFolder);
}

void setLoadSuccess(FlashPlayer& player, bool success) {
    player.SetVariable(QStringLiteral("loadSuccess"), successText(success));
}

void setResultList(FlashPlayer& player, const QString& list) {
    player.SetVariable(QStringLiteral("resultList"), list);
}

void setInputParameter(FlashPlayer& player, const QString& firstArgument) {
    player.SetVariable(QStringLiteral("변수명"), firstArgument);
}

QString appPath(FlashPlayer& player) {
    return player.GetVariable(QStringLiteral("_root.__funcRoot.appPath"));
}

QString appName(FlashPlayer& player) {
    return player.GetVariable(QStringLiteral("_root.__funcRoot.appName"));
}

void onRecordComplete(FlashPlayer& player, const QString& recordingPath) {
    player.CallFunction(onRecordCompleteRequest(recordingPath));
}

void otherBook(FlashPlayer& player, const QString& movie, const QString& page) {
    player.CallFunction(otherBookRequest(movie, page));
}

void goPageLink(FlashPlayer& player, const QString& page) {
    player.CallFunction(goPageLinkRequest(page));
}

} // namespace contentcalls
