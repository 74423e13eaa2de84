#include "lists/filter_translation.h"

#include "core/text_utils.h"

namespace kelvarn::filter_translation {

QString oneLine(const QString& definition) {
    QString out = definition;
    out.remove(QLatin1Char('\n'));
    out.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return out;
}

QString translate(const QString& definition, const QList<CaptionEntry>& captions) {
    QString condition = definition;
    for (const CaptionEntry& entry : captions)
        condition = replaceAllNoCase(condition, entry.caption, entry.column);
    return oneLine(condition);
}

Check check(const QString& condition) {
    const qsizetype size = condition.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = condition.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A doubled quote inside the text stands for itself.
            qsizetype j = i + 1;
            for (;; ++j) {
                if (j >= size)
                    return {Fault::OpenQuote, {}};
                if (condition.at(j) != c)
                    continue;
                if (j + 1 < size && condition.at(j + 1) == c) {
                    ++j;
                    continue;
                }
                break;
            }
            i = j;
        } else if (c == QLatin1Char('[')) {
            const qsizetype close = condition.indexOf(QLatin1Char(']'), i + 1);
            return {Fault::UnknownCaption, close < 0 ? condition.mid(i) : condition.mid(i, close - i + 1)};
        } else if (c == QLatin1Char(';')) {
            return {Fault::SecondStatement, {}};
        }
    }
    return {};
}

QString faultText(const Check& check) {
    switch (check.fault) {
    case Fault::None:
        break;
    case Fault::UnknownCaption:
        return QStringLiteral("Filtr nelze použít: atribut %1 v tomto seznamu není.\r\n\r\n"
                              "Opravte prosím definici filtru; atributy seznamu nabízí pole nad definicí "
                              "(tlačítko \"Vložit atribut\").")
            .arg(check.detail);
    case Fault::OpenQuote:
        return QStringLiteral("Filtr nelze použít: v definici chybí uzavírací apostrof.\r\n\r\n"
                              "Texty a data musí být uzavřeny mezi dva apostrofy, např. 'Praha'.");
    case Fault::SecondStatement:
        return QStringLiteral("Filtr nelze použít: definice obsahuje středník.\r\n\r\n"
                              "Filtr je jedna podmínka; středník mimo apostrofy v něm být nesmí.");
    }
    return {};
}

} // namespace kelvarn::filter_translation
