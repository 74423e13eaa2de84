#pragma once

#include "documents/header_totals.h"
#include "documents/item_line.h"

#include <QDate>
#include <QString>

#include <optional>

namespace kelvarn {

class Dataset;
class Prompts;

// The names of the amount columns of a header, slot by slot.
QString netColumn(int slot);   // celkem_bez_dph_0/5/19
QString vatColumn(int slot);   // celkem_dph_0/5/19
QString grossColumn(int slot); // celkem_s_dph_0/5/19

// A number or date column of the current row; nothing when empty.
std::optional<double> optionalNumber(const Dataset& ds, const QString& column);
std::optional<QDate> optionalDate(const Dataset& ds, const QString& column);
// The value differs from the one the row was read with (every filled field of a
// new row).
bool changedFromStored(const Dataset& ds, const QString& column);

HeaderFields readHeaderFields(const Dataset& ds);
// Writes the twelve amount fields and, unless leaveRemaining, zbyva_uhradit.
void writeHeaderTotals(Dataset& ds, const HeaderTotals& totals, bool leaveRemaining = false);

// All stored totals within the amount limit; the first that is not is named.
bool headerTotalsFit(const HeaderTotals& totals, Prompts& prompts);

// The caption a document or item field shows under ("Cena za jednotku").
QString documentFieldCaption(const QString& column);
// "Hodnota v poli "<caption>" <reason>" in a warning box captioned "Chybná hodnota".
void showFieldProblem(Prompts& prompts, const FieldProblem& problem);

// The entrepreneur as the current row of ADOFormPodnikatel has it at this moment
// (an empty or closed dataset reads as an entrepreneur without any values).
class EntrepreneurNow {
  public:
    explicit EntrepreneurNow(const Dataset& entrepreneur) : ds_(entrepreneur) {}
    QString text(const QString& column) const;
    // platce_dph, lower-cased, is "ano".
    bool isVatPayer() const;
    // splatnost_fa in days.
    int paymentTerm() const;

  private:
    const Dataset& ds_;
};

} // namespace kelvarn
