#include "core/CommandText.h"

namespace commandtext {

Split splitAtFirst(const QString& text, const QString& separator) {
    const qsizetype at = text.indexOf(separator);
    if (at < 0) {
        return {text, QString(), false};
    }
    return {text.left(at), text.mid(at + separator.size()), true};
}

SubCommand subCommand(const QString& args) {
    const Split split = splitAtFirst(args);
    return {split.before, split.after};
}

QString slashesToBackslashes(QString text) {
    return text.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

} // namespace commandtext
