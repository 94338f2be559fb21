#pragma once

#include "core/Registry.h"

// The registry keys the viewer reads, kept in one small text file, since Linux has no registry. The
// file is only read, on every look-up, so an edit takes effect at once. Its format is a subset of a
// Windows .reg export:
//
//   [HKEY_CURRENT_USER\Software\Adobe\Acrobat Reader\9.0\InstallPath]
//   @="C:\\AR\\Reader"      a default value in quotes, with \\ and \" escapes, or
//   @=/opt/reader           the rest of the line as it is
//
// A section is a key (hive names in full or as HKCU and HKCR; case does not matter); "@" is its default
// value, other value lines are ignored, and a key without "@" has the empty text. Lines starting with
// ";" or "#" are comments. UTF-8, or UTF-16 with a byte-order mark as the Windows registry editor writes.
class FileRegistry : public Registry {
public:
    explicit FileRegistry(QString path = defaultPath());

    std::optional<QString> defaultValue(Hive hive, const QString& key) override;

    // $XDG_CONFIG_HOME/qorv/registry.ini, or ~/.config/qorv/registry.ini.
    static QString defaultPath();
    const QString& path() const { return path_; }

private:
    QString path_;
};
