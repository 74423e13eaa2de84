#include "core/text_utils.h"

#include <QStringList>

namespace kelvarn {

QString pickDelimitedItem(const QString& text, const QString& delimiter, int index, const QString& marker) {
    if (delimiter.isEmpty() || !text.contains(delimiter))
        return text;
    // Taking items off the front one by one is the same as splitting and dropping
    // whatever follows the last delimiter.
    QStringList items = text.split(delimiter);
    items.removeLast();
    if (!marker.isEmpty()) {
        for (qsizetype i = items.size() - 1; i >= 0; --i)
            if ((items[i] + delimiter).contains(marker))
                return items[i];
        return {};
    }
    if (index < 0 || index >= items.size())
        return {};
    return items[index];
}

QString replaceFirst(const QString& text, const QString& what, const QString& with) {
    if (what.isEmpty())
        return text;
    const qsizetype pos = text.indexOf(what);
    if (pos < 0)
        return text;
    QString out = text;
    out.replace(pos, what.size(), with);
    return out;
}

QString replaceAllNoCase(const QString& text, const QString& what, const QString& with) {
    if (what.isEmpty())
        return text;
    QString out = text;
    out.replace(what, with, Qt::CaseInsensitive);
    return out;
}

QString escapeApostrophes(const QString& value) {
    QString out = value;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return out;
}

QString sqlQuoted(const QString& value) {
    return QLatin1Char('\'') + escapeApostrophes(value) + QLatin1Char('\'');
}

} // namespace kelvarn
