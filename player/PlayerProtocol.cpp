#include "player/PlayerProtocol.h"

#include <QRegularExpression>

namespace {

bool startsAbsolute(const QString& name) {
    static const QRegularExpression level(QStringLiteral("^_level\\d+(\\.|$)"));
    return name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1String("_global.")) ||
           name.contains(level);
}

// Decodes the five XML entities and numeric references; anything else that looks like an entity is text.
QString decodeEntities(const QString& text) {
    if (!text.contains(QLatin1Char('&'))) {
        return text;
    }
    static const QRegularExpression entity(
        QStringLiteral("&(amp|lt|gt|quot|apos|#[0-9]{1,7}|#x[0-9a-fA-F]{1,6});"));
    QString out;
    qsizetype last = 0;
    auto it = entity.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += QStringView(text).mid(last, m.capturedStart() - last);
        const QString e = m.captured(1);
        if (e == QLatin1String("amp")) {
            out += QLatin1Char('&');
        } else if (e == QLatin1String("lt")) {
            out += QLatin1Char('<');
        } else if (e == QLatin1String("gt")) {
            out += QLatin1Char('>');
        } else if (e == QLatin1String("quot")) {
            out += QLatin1Char('"');
        } else if (e == QLatin1String("apos")) {
            out += QLatin1Char('\'');
        } else {
            bool ok = false;
            const uint code =
                e.startsWith(QLatin1String("#x")) ? e.mid(2).toUInt(&ok, 16) : e.mid(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)) {
                out += QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
            } else {
                out += m.captured(0);
            }
        }
        last = m.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

} // namespace

namespace playerprotocol {

QString absoluteVariableName(const QString& name) {
    if (name == QLatin1String("_root")) {
        return QStringLiteral("_level0");
    }
    if (name.startsWith(QLatin1String("_root."))) {
        return QStringLiteral("_level0") + name.mid(5);
    }
    if (startsAbsolute(name)) {
        return name;
    }
    return QStringLiteral("_level0.") + name;
}

bool isRootVariable(const QString& absoluteName) {
    if (!absoluteName.startsWith(QLatin1String("_level0."))) {
        return false;
    }
    const QString rest = absoluteName.mid(8);
    return !rest.isEmpty() && !rest.contains(QLatin1Char('.')) && !rest.contains(QLatin1Char(':')) &&
           !rest.contains(QLatin1Char('/'));
}

QString ruffleScaleMode(const QString& mode) {
    static const QString modes[] = {QStringLiteral("showAll"), QStringLiteral("noScale"),
                                    QStringLiteral("exactFit"), QStringLiteral("noBorder")};
    for (const QString& m : modes) {
        if (mode.trimmed().compare(m, Qt::CaseInsensitive) == 0) {
            return m;
        }
    }
    return modes[0];
}

InvokeRequest parseInvokeRequest(const QString& request) {
    InvokeRequest result;
    static const QRegularExpression nameAttribute(
        QStringLiteral("<invoke\\s[^>]*?name\\s*=\\s*(\"([^\"]*)\"|'([^']*)')"));
    const auto m = nameAttribute.match(request);
    if (m.hasMatch()) {
        result.name = decodeEntities(m.captured(2).isNull() ? m.captured(3) : m.captured(2));
    }
    const QLatin1String open("<string>");
    const QLatin1String close("</string>");
    qsizetype from = request.indexOf(QLatin1String("<arguments>"));
    from = from < 0 ? 0 : from;
    for (;;) {
        const qsizetype start = request.indexOf(open, from);
        if (start < 0) {
            break;
        }
        const qsizetype textStart = start + open.size();
        const qsizetype end = request.indexOf(close, textStart);
        if (end < 0) {
            // An unterminated argument still reaches the movie: it runs to the end of the arguments.
            qsizetype stop = request.lastIndexOf(QLatin1String("</arguments>"));
            stop = stop < textStart ? request.size() : stop;
            result.arguments << decodeEntities(request.mid(textStart, stop - textStart));
            break;
        }
        result.arguments << decodeEntities(request.mid(textStart, end - textStart));
        from = end + close.size();
    }
    return result;
}

} // namespace playerprotocol
