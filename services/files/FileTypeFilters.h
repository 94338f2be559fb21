#pragma once

#include <QString>
#include <optional>

// The save dialog filters the copy commands choose by file type, and the two path helpers they are
// chosen with. Paths are in the content's form: "\" separates folders, "C:" may start a name.
namespace filetypes {

// The text after the last separator ("\", "/" or a drive colon).
QString fileNamePart(const QString& path);
// The file name part from its last "." on, dot included; empty when there is none.
QString extension(const QString& path);

// The filter of the long table used when a copy reports its result; every extension has one.
QString fullFilter(const QString& path);
// The filter of the short table used by the silent document copy; nullopt leaves the dialog as it is.
std::optional<QString> shortFilter(const QString& path);

} // namespace filetypes
