#pragma once

#include <QByteArray>
#include <QString>

// A first look at a movie file before it is handed to the player, so that a missing, unreadable or
// damaged movie is reported in plain words instead of an empty window. It also finds the movie's
// background colour, which the stage must take over from the bootstrap movie.
struct MovieFileInfo {
    QString problem;         // empty when the movie looks playable
    QString backgroundColor; // "#rrggbb", or empty when the movie names none
};

MovieFileInfo inspectMovieFile(const QString& nativePath);
MovieFileInfo inspectMovieData(const QByteArray& data);
