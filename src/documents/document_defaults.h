#pragma once

#include "documents/document_kinds.h"

#include <QDate>

namespace kelvarn {

class Dataset;
class EntrepreneurNow;
class Prompts;
struct AppState;

// Where the defaults of a new document come from: the values read when the
// database was opened, the entrepreneur row as it is now, and today.
struct DefaultsSource {
    const AppState& state;
    const EntrepreneurNow& entrepreneur;
    QDate today;
    Prompts& prompts;
};

// The values a new document of the type receives before the user types anything:
// the rates, the entrepreneur's own data, type, dates, payment method, signature,
// rate of exchange and (issued and received) the first kind's values. An own value
// longer than the document's column is left out and named in one warning, so that
// the document never carries a cut address.
void fillNewDocument(Dataset& document, DocumentType type, const DefaultsSource& source);

// Applies the values of the kind chosen at `index` to an issued or received
// document being entered. Returns false (nothing changed) when the row is not new.
bool applyKind(Dataset& document, DocumentType type, int index, const DefaultsSource& source);

} // namespace kelvarn
