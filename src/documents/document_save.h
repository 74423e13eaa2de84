#pragma once

#include "documents/document_kinds.h"

#include <QDate>

namespace kelvarn {

class Dataset;
class DbContext;
class EntrepreneurNow;
class KindSelector;

struct SaveSource {
    DbContext& db;
    const EntrepreneurNow& entrepreneur;
    // The kind chosen for a new issued or received document; null for vouchers.
    KindSelector* selector = nullptr;
    QDate today = QDate::currentDate();
};

// The BeforePost of a document of any type: dates cut to whole days and kept
// consistent, confirmation, the number of a new document drawn from its series,
// rate of exchange, slot derivation and totals (vouchers: rounding only). Returns
// false when the post must be aborted; the row keeps its state. A new document's
// number is drawn in a transaction the row's write closes, so a row that cannot be
// written gives its number back.
bool saveDocument(Dataset& document, DocumentType type, const SaveSource& source);

} // namespace kelvarn
