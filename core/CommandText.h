#pragma once

#include <QString>

// The vocabulary of the commands a movie sends: an argument string is a sub-command name, then "@@@",
// then the parameter text, which may hold further "@@@" separators that each handler splits itself.
namespace commandtext {

inline const QString kSeparator = QStringLiteral("@@@");

// A text cut at the first occurrence of a separator. Without the separator, before is the whole text,
// after is empty and found is false.
struct Split {
    QString before;
    QString after;
    bool found = false;
};

Split splitAtFirst(const QString& text, const QString& separator = kSeparator);

// Sub-command name and parameter text of an argument string.
struct SubCommand {
    QString name;
    QString parameters;
};

SubCommand subCommand(const QString& args);

// Every "/" becomes "\" (the main window normalises argument strings this way).
QString slashesToBackslashes(QString text);

} // namespace commandtext
