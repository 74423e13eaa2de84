#pragma once

#include "cashbook/cash_book_totals.h"

#include <QString>

#include <vector>

namespace kelvarn {

// The display text of an amount: the general number format with its digits grouped
// in threes by a space (at most five groups) and at least two decimals, e.g.
// 1234.5 -> "1 234,50" with the separator ",".
QString formatAmount(double value, const QString& decimalSeparator);

// A figure shows in red when its general-format text begins with "-".
bool isNegativeFigure(double value);

// One read-only box of a strip: the control it fills, its text and colour.
struct Figure {
    QString control;
    QString text;
    bool negative = false;

    bool operator==(const Figure&) const = default;
};

// The five boxes under the cash book: Edit_prijem_danovy, Edit_prijem_nedanovy,
// Edit_vydaj_danovy, Edit_vydaj_nedanovy, Edit_zustatek.
std::vector<Figure> cashBookFigures(const CashBookTotals& totals, const QString& decimalSeparator);
// The five boxes under a VAT list, in the order reduced base, reduced VAT, basic
// base, basic VAT, zero base: Edit_zaklad51 … Edit_zaklad01 for the input list,
// Edit_zaklad52 … Edit_zaklad02 for the output list.
std::vector<Figure> vatFigures(const VatTotals& totals, bool output, const QString& decimalSeparator);
// Memo6 (payables), Memo7 (receivables), Memo8 (VAT), Memo9 (tax base).
std::vector<Figure> overviewFigures(const BusinessOverview& overview, const QString& decimalSeparator);

} // namespace kelvarn
