#pragma once

#include "core/Shell.h"

#include <QStringList>
#include <functional>

// The folders the desktop keeps its file associations and programs in, after the XDG base directory
// rules. Tests point them at a temporary tree.
struct XdgDirs {
    QString configHome;
    QStringList configDirs;
    QString dataHome;
    QStringList dataDirs;
    QStringList path; // where programs named without a folder are looked for

    static XdgDirs fromEnvironment();
};

// Which program the desktop opens a file type with: mimeapps.list defaults first, then added
// associations, then any desktop entry that declares the type; parent types count too.
class DesktopAssociations {
public:
    explicit DesktopAssociations(XdgDirs dirs) : dirs_(std::move(dirs)) {}

    // The program (full path) for a native file, or empty when the desktop knows none.
    QString programFor(const QString& nativeFile) const;
    // The program for a MIME type, or empty.
    QString programForType(const QString& mimeType) const;
    // A program name or path resolved to an executable file, or empty.
    QString resolveProgram(const QString& program) const;

    const XdgDirs& dirs() const { return dirs_; }

private:
    QString programOfEntry(const QString& desktopId) const;
    QString entryPath(const QString& desktopId) const;

    XdgDirs dirs_;
};

// Documents and programs opened the Linux way. A program (an ELF file or a script with "#!") is started
// directly with its parameters; a document or folder goes to the desktop's handler (xdg-open, or the
// associated program when xdg-open is missing). Nothing waits for the started program. Paths arrive in
// the content's form and become native here.
class LinuxShell : public Shell {
public:
    // Starts program detached; true when it started.
    using Launcher = std::function<bool(const QString& program, const QStringList& arguments,
                                        const QString& workingFolder)>;
    // What the Windows shell answers when a program could not be started.
    static constexpr int kAccessDenied = 5;
    // Longer paths cannot exist; they are refused (or left as they are) before any look-up.
    static constexpr qsizetype kMaxPathLength = 4096;

    explicit LinuxShell(XdgDirs dirs = XdgDirs::fromEnvironment(), Launcher launcher = {});

    int open(const QString& verb, const QString& file, const QString& parameters,
             const QString& workingFolder) override;
    int findExecutable(const QString& file, QString& program) override;

    // A parameter text split into arguments the way a Windows program splits its command line.
    static QStringList splitCommandLine(const QString& parameters);
    // True for a file the system can run itself: executable, and ELF or a "#!" script.
    static bool isProgram(const QString& nativeFile);

private:
    QString nativeFile(const QString& file, const QString& workingFolder) const;
    QStringList nativeArguments(const QString& parameters, const QString& workingFolder) const;

    DesktopAssociations associations_;
    Launcher launcher_;
};
