#include "app/totals_strips.h"

#include "cashbook/cash_book_totals.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "lists/panel_queries.h"

namespace kelvarn {

void TotalsStrips::show(const std::vector<Figure>& figures) {
    if (show_)
        show_(figures);
}

void TotalsStrips::refreshCashBook() {
    show(cashBookFigures(cashBookTotals(db_, queries_.query(QStringLiteral("FormHlavniKniha"))),
                         db_.state().decimalSeparator));
}

void TotalsStrips::refreshVat(bool output) {
    const QString list = output ? QStringLiteral("FormDPHvystup") : QStringLiteral("FormDPHvstup");
    show(vatFigures(vatTotals(db_, queries_.query(list)), output, db_.state().decimalSeparator));
}

void TotalsStrips::listReopened(const Dataset& dataset) {
    if (dataset.name() == QLatin1String("ADOFormHlavniKniha"))
        refreshCashBook();
    else if (dataset.name() == QLatin1String("ADOFormDPHvstup"))
        refreshVat(false);
    else if (dataset.name() == QLatin1String("ADOFormDPHvystup"))
        refreshVat(true);
}

std::vector<Figure> TotalsStrips::businessOverview(const QDate& today) {
    const BusinessOverview overview = kelvarn::businessOverview(
        db_, queries_.query(QStringLiteral("FormDPHvstup")), queries_.query(QStringLiteral("FormDPHvystup")),
        queries_.query(QStringLiteral("FormHlavniKniha")), today);
    return overviewFigures(overview, db_.state().decimalSeparator);
}

} // namespace kelvarn
