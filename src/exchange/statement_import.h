#pragma once

#include <QString>

namespace kelvarn {

class DbContext;
class StatementImportPlan;

struct StatementImportResult {
    int rowsWritten = 0;
    int documentsSettled = 0;
};

// Writes the plan into the cash book as one unit of work: every item not skipped
// becomes a row (money in as income, money out as expense; a VAT payer's payment of
// exactly a document's gross total is split into its net amount, taxable, and its
// VAT, non-taxable, as registering a document does), and a paired item settles its
// document's remaining amount by the cash book's own settlement. Refuses (DbError,
// nothing written) a plan that is refused or whose statement arrived meanwhile;
// any database failure rolls the whole statement back.
StatementImportResult importStatement(DbContext& db, const StatementImportPlan& plan);

} // namespace kelvarn
