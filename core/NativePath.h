#pragma once

#include <QString>

// Paths inside the logic keep the form the content uses: backslash separators and the content's own
// spelling of names. They become native paths here and nowhere else. On Linux a backslash becomes "/",
// and a component that does not exist with its exact case is looked up without regard to case, since the
// books were written on file systems that ignore case.
namespace nativepath {

QString toNative(const QString& path);

} // namespace nativepath
