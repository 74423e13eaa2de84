#pragma once

#include <QString>

#include <vector>

namespace kelvarn {

class Dataset;
class DbContext;
class Prompts;

// What the run reads from the entrepreneur row once the database is open.
struct EntrepreneurValues {
    QString name;
    QString ico;
    double vatReduced = 0;
    double vatBasic = 0;
    double defaultItemVat = 0; // the basic rate for a VAT payer, else 0
};

// Save rules of the entrepreneur row: confirmation, post settings and time stamps
// before the write, the restart advice (message 25) after it.
void installEntrepreneurHandlers(Dataset& dataset, DbContext& db);

// Reads the current row; throws DbError when a value is unusable.
EntrepreneurValues readEntrepreneur(const Dataset& dataset);

// The two rates cannot tell reduced from basic when either is zero or both agree.
bool vatRatesUnusable(double reduced, double basic);

// A text typed into a bound field, not yet written into the row.
struct FieldEdit {
    QString column;
    QString caption;
    QString text;
};

// Writes the typed texts that differ from the row into it (starting an edit when
// needed). A text the column cannot take is reported naming the field; the row
// keeps its state. Returns the index of that edit, or -1 when all were written.
int applyFieldEdits(Dataset& dataset, const std::vector<FieldEdit>& edits, Prompts& prompts);

} // namespace kelvarn
