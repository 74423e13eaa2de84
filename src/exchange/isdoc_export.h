#pragma once

#include "exchange/isdoc_document.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace kelvarn {

class DbContext;

// The issued document with this id as an ISDOC invoice (a negative total makes it
// a credit note): the entrepreneur's block as supplier, the partner's as customer,
// the item lines (deposit lines become the paid deposits), the recapitulation of
// the three rate slots and the payment by the document's own account and variable
// symbol. Nothing, with the reason in *why, for what the standard cannot carry as
// we hold it: no such issued document, a deposit document, a foreign currency, or
// slots that do not add up to the document's totals.
std::optional<IsdocDocument> isdocFromDocument(DbContext& db, const QString& id, QString* why);

// Writes the listed documents into the folder, one "<number>.isdoc" file each
// (atomically). Returns the messages of those that could not be written; the
// rest are written whatever happens to one of them.
QStringList exportIsdocFiles(DbContext& db, const QStringList& ids, const QString& folder, int* written);

} // namespace kelvarn
