#pragma once

#include <QString>
#include <optional>

class Dialogs;
class Environment;
class Registry;
class Shell;

// The commands that open files outside the viewer: a PDF of the book in the PDF reader at a page, a
// program of the application folder with one argument, and any file in its registered program. Nothing
// goes back to the content; the few failures the reader is told of are message boxes.
class DocumentOpening {
public:
    DocumentOpening(Environment& environment, Dialogs& dialogs, Shell& shell, Registry& registry);

    // The argument string exactly as the content sent it: open parameters "@@@" PDF path.
    void RunPDF(const QString& args);
    // The parameter text: program of the application folder "@@@" its argument.
    void show(const QString& parameters);
    // The whole argument string: file, or file "@@@" first parameter "@@@" second parameter.
    void exec(const QString& args);

    // The reader program the registry or the program-files folder names; nullopt when none does.
    std::optional<QString> findAcrobatReader() const;
    // The option that makes a known desktop PDF viewer open at the page of the open parameters
    // ("page=N"); empty when the viewer or the page is unknown.
    static QString pageOption(const QString& viewer, const QString& openParameters);

    static QString quoteIfBlank(const QString& path);

private:
    QString applicationFolder() const; // without a trailing separator
    void openWithDesktopViewer(const QString& openParameters, const QString& pdf);

    Environment& environment_;
    Dialogs& dialogs_;
    Shell& shell_;
    Registry& registry_;
};
