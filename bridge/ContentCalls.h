#pragma once

#include "bridge/FlashPlayer.h"

#include <QString>

// Every call the host makes into a movie, in one place: the variables it sets and reads and the
// ExternalInterface requests it sends. Argument texts go into the requests as they are, unescaped.
namespace contentcalls {

// Request texts, byte for byte.
QString onRecordCompleteRequest(const QString& recordingPath);
QString otherBookRequest(const QString& movie, const QString& page);
QString goPageLinkRequest(const QString& page);

// The first page of a book or pop-up movie, also when empty.
void setFirstPage(FlashPlayer& player, const QString& page);
// Hands a page to a movie that is being loaded: a page holding "=" is a set of player variables given
// before the movie; any other page is set as the first-page variable after it.
void loadMovieAtPage(FlashPlayer& player, const QString& moviePath, const QString& page);

void setSaveSuccess(FlashPlayer& player, bool success);
void setLoadTxt(FlashPlayer& player, const QString& notesFolder);
void setLoadSuccess(FlashPlayer& player, bool success);
void setResultList(FlashPlayer& player, const QString& list);
void setInputParameter(FlashPlayer& player, const QString& firstArgument);

QString appPath(FlashPlayer& player);
QString appName(FlashPlayer& player);

void onRecordComplete(FlashPlayer& player, const QString& recordingPath);
void otherBook(FlashPlayer& player, const QString& movie, const QString& page);
void goPageLink(FlashPlayer& player, const QString& page);

} // namespace contentcalls
