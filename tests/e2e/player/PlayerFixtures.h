#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// Small movies that exercise the player from inside, written with the project's SWF writer.
namespace playerfixtures {

inline constexpr int kBurst = 1000;
inline constexpr int kBigArgumentSize = 50 * 1024;

QString koreanArgument();
QString bigArgument();

// Frame 1 sends, in this order: "korean" with koreanArgument(), "empty" with "", "big" with bigArgument(),
// kBurst times "burst" with the numbers 0.., "flashvar" with the variable fv, "firstPage" with
// BOOKLOAD_FIRSTPAGE, then "ready". It sets __funcRoot.appPath to "/books/app/" and publishes the
// functions of the content-call catalogue; each sends "call:<name>" with its arguments joined by "|" and
// returns that text. From then on it counts frames in "counter" and, whenever one of the watched
// variables changes, sends "watch:<name>" with its new value.
std::vector<std::uint8_t> talkingMovie(const QStringList& watched = {QStringLiteral("reply")});

// A white 400 x 300 stage with a red square at (50, 50)-(150, 150) and a device-font text field over
// (0, 200)-(400, 280) holding text; sends "ready" from its second frame.
std::vector<std::uint8_t> drawingMovie(const QString& text);

// Loads each URL with loadVariablesNum into _level0 in frame 1, then watches the named variables.
std::vector<std::uint8_t> loadingMovie(const QStringList& urls, const QStringList& watched);

// Sends "start", then count times "big" with a text of size characters, then "done".
std::vector<std::uint8_t> burstMovie(int count, int size);

// Sends "ready" from its first frame and does nothing else.
std::vector<std::uint8_t> quietMovie();

void save(const std::vector<std::uint8_t>& movie, const QString& path);

} // namespace playerfixtures
