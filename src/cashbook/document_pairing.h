#pragma once

#include <QString>

#include <optional>

namespace kelvarn {

class DbContext;

// The document a cash-book row is paired with.
struct PairedDocument {
    QString id;
    QString number;        // its cislo_dokladu
    bool bySymbol = false; // found by its variable symbol, not by its number
};

// The one document whose number is `typed`, else the one whose variable symbol is;
// nothing when neither lookup finds exactly one (none, or several). Any document
// type may be found: whether a payment changes it is the settlement's decision.
std::optional<PairedDocument> findDocumentToPair(DbContext& db, const QString& typed);

// The id of the one document numbered `number`; "" when there is none or several.
QString documentIdByNumber(DbContext& db, const QString& number);

} // namespace kelvarn
