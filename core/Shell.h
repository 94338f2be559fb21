#pragma once

#include <QString>

// Opening documents and programs outside the viewer. Result codes follow the Windows shell: a value
// above 32 is success, 2 is "file not found", other small values are other failures.
class Shell {
public:
    static constexpr int kFileNotFound = 2;
    static constexpr int kNoAssociation = 31;
    static constexpr int kSuccess = 42;

    virtual ~Shell() = default;
    // Opens file with verb ("open"), handing it parameters; workingFolder may be empty. file, parameters
    // and workingFolder are in the content's form (backslash separators); the shell makes them native.
    // Never waits for the started program.
    virtual int open(const QString& verb, const QString& file, const QString& parameters,
                     const QString& workingFolder) = 0;
    // The program associated with file, written to program; returns a result code as open does.
    virtual int findExecutable(const QString& file, QString& program) = 0;
};
