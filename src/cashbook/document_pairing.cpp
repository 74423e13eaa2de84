#include "cashbook/document_pairing.h"

#include "cashbook/text_lookup.h"

namespace kelvarn {

namespace {

const QString kDocuments = QStringLiteral("tbl_doklad");
const QString kNumber = QStringLiteral("cislo_dokladu");

} // namespace

std::optional<PairedDocument> findDocumentToPair(DbContext& db, const QString& typed) {
    const auto byNumber = rowsWithText(db, kDocuments, QStringLiteral("id, cislo_dokladu"), kNumber, typed);
    if (byNumber.size() == 1)
        return PairedDocument{textOfValue(byNumber.front().value(0)), typed, false};
    const auto bySymbol = rowsWithText(db, kDocuments, QStringLiteral("id, cislo_dokladu, variabilni_symbol"),
                                       QStringLiteral("variabilni_symbol"), typed);
    if (bySymbol.size() == 1)
        return PairedDocument{textOfValue(bySymbol.front().value(0)), textOfValue(bySymbol.front().value(1)),
                              true};
    return std::nullopt;
}

QString documentIdByNumber(DbContext& db, const QString& number) {
    const auto rows = rowsWithText(db, kDocuments, QStringLiteral("id, cislo_dokladu"), kNumber, number);
    return rows.size() == 1 ? textOfValue(rows.front().value(0)) : QString();
}

} // namespace kelvarn
