#pragma once

#include "exchange/isdoc_document.h"

#include <QString>

namespace kelvarn {

class DbContext;

struct IsdocImportResult {
    bool ok = false;
    QString message;        // why it was refused, or what was created
    QString documentNumber; // the new received document's number
    bool partnerCreated = false;
};

// Makes the received invoice a new received document (FAP, numbered from its
// series) with the supplier as partner, matched by IČ or created. The totals of
// each rate go into the rate slots exactly (the lower non-zero rate into the
// reduced slot, the higher into the basic one) and the document keeps those rates.
// Refused with a message, nothing written: a supplier's number already received
// from that supplier, an invoice addressed to another IČ than the entrepreneur's,
// more than two non-zero rates, a document type that is no invoice or credit note.
// Partner, number and document are one unit of work.
IsdocImportResult importReceivedIsdoc(DbContext& db, const IsdocDocument& document);

} // namespace kelvarn
