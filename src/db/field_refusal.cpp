#include "db/field_refusal.h"

namespace kelvarn {

qsizetype characterCount(const QString& text) {
    qsizetype n = text.size();
    for (const QChar ch : text)
        if (ch.isLowSurrogate())
            --n;
    return n;
}

QString tooLongText(const QString& field, int size, qsizetype given) {
    const QString chars = size == 1   ? QStringLiteral("znak")
                          : size <= 4 ? QStringLiteral("znaky")
                                      : QStringLiteral("znaků");
    return QStringLiteral("Text je příliš dlouhý: pole „%1“ pojme nejvýše %2 %3, zadáno %4.")
        .arg(field)
        .arg(size)
        .arg(chars)
        .arg(given);
}

std::optional<QString> textTooLong(const DatasetColumn& column, const QString& caption, const QString& typed) {
    if (column.type != ColumnType::Text || column.size <= 0)
        return std::nullopt;
    const qsizetype given = characterCount(typed);
    if (given <= column.size)
        return std::nullopt;
    return tooLongText(caption.isEmpty() ? column.name : caption, column.size, given);
}

QString fieldRefusalText(const DatasetColumn& column, const QString& caption, const QString& typed,
                         const QString& refusal) {
    if (std::optional<QString> tooLong = textTooLong(column, caption, typed))
        return *tooLong;
    return (caption.isEmpty() ? column.name : caption) + QStringLiteral(": ") + refusal;
}

} // namespace kelvarn
