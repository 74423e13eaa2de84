#pragma once

#include <QDate>

namespace kelvarn {

class DbContext;
struct PanelQuery;

// The sums under the cash book, over the rows the list shows (its fixed and filter
// conditions), each rounded to cents.
struct CashBookTotals {
    double incomeTaxable = 0;
    double incomeNonTaxable = 0;
    double expenseTaxable = 0;
    double expenseNonTaxable = 0;
    double balance = 0; // all income minus all expense

    bool operator==(const CashBookTotals&) const = default;
};

// The sums under a VAT list, per rate slot (reduced "5", basic "19", zero "0").
struct VatTotals {
    double reducedBase = 0;
    double reducedVat = 0;
    double basicBase = 0;
    double basicVat = 0;
    double zeroBase = 0;

    bool operator==(const VatTotals&) const = default;
};

// "Informace o hospodaření": open payables and receivables, and for the calendar year
// of `today` the VAT to pay (output minus input) and the income-tax base (taxable
// income minus taxable expense of the cash book).
struct BusinessOverview {
    double payables = 0;
    double receivables = 0;
    double vat = 0;
    double taxBase = 0;

    bool operator==(const BusinessOverview&) const = default;
};

// Each figure is one aggregate statement composed for the platform; no list is read
// row by row. Database errors (a user filter the database rejects) throw DbError.
CashBookTotals cashBookTotals(DbContext& db, const PanelQuery& cashBook);
VatTotals vatTotals(DbContext& db, const PanelQuery& vatList);
// The VAT lists give their fixed conditions (their user filters do not apply), the
// cash book its fixed condition.
BusinessOverview businessOverview(DbContext& db, const PanelQuery& inputVat, const PanelQuery& outputVat,
                                  const PanelQuery& cashBook, const QDate& today);

} // namespace kelvarn
