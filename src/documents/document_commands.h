#pragma once

#include "documents/line_summary.h"

#include <QDate>

namespace kelvarn {

class Dataset;
class DbContext;
class EntrepreneurNow;

// The item lines of a stored document summed per rate by two aggregate
// statements: the deposit lines (code beginning "#ZAL", any case) apart, the
// others grouped by rate.
LineSummary readLineSummary(DbContext& db, qint64 documentId, DocumentRates rates);

enum class Summing {
    Plain,       // "Sečíst": non-cash payment
    CashRounded, // "Zaokrouhlit": cash payment, gross total to the rounding step
};

// Fills the twelve totals and the amount still to be paid of the current issued
// document from its lines and saves it without a second question. Refused with
// message 4 while the document or a line is being edited; asks message 10 or 11
// first. Lines whose rate fits no slot of the document are named and nothing
// changes. True when the document was saved.
bool sumDocumentLines(Dataset& issued, Dataset& items, DbContext& db, const EntrepreneurNow& entrepreneur,
                      Summing mode);

// "Částka slovy": the whole units of the voucher's gross total in words, with
// "===", into poznamka. A voucher at rest is saved at once; one being entered or
// edited stays so. False (with a message) when the words do not exist or do not
// fit the column.
bool writeAmountInWords(Dataset& voucher, DbContext& db);

// The offer of a new receipt voucher for the issued invoice selected in its
// module (message 13): on Yes the voucher takes the amount still to be paid, the
// customer, currency, rate of exchange, purpose of payment and the amount in
// words, and stays unsaved. True when the voucher was filled.
bool offerReceiptVoucher(Dataset& receipt, Dataset& issued, Dataset& items, DbContext& db,
                         const QDate& today);

} // namespace kelvarn
