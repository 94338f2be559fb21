#pragma once

#include <QString>
#include <QStringList>

// Facts about the process the logic needs: where the executable is, its command line, folders the
// system names. Paths are native.
class Environment {
public:
    virtual ~Environment() = default;
    virtual QString executablePath() const = 0;     // full path of the executable
    virtual QStringList arguments() const = 0;      // command-line arguments after the executable
    virtual QString tempFolder() const = 0;         // the temporary folder, ending with a separator
    virtual QString programFilesFolder() const = 0; // "/opt" on Linux
    virtual bool setCurrentFolder(const QString& folder) = 0;
    virtual QString currentFolder() const = 0;
};
