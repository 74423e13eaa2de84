#pragma once

#include "cashbook/totals_figures.h"

#include <QDate>

#include <functional>
#include <vector>

namespace kelvarn {

class Dataset;
class DbContext;
class PanelQueries;

// When the strips of sums under the cash book and the VAT lists are recomputed, and
// the overview of the entrepreneur tab: the figures go to the window through one
// callback, which sets each named box's text and colour.
class TotalsStrips {
  public:
    using Show = std::function<void(const std::vector<Figure>& figures)>;

    TotalsStrips(DbContext& db, PanelQueries& queries) : db_(db), queries_(queries) {}

    void setShow(Show show) { show_ = std::move(show); }

    // The cash-book strip over the rows the list shows (its filter included).
    void refreshCashBook();
    // The strip of the output (ADOFormDPHvystup) or input VAT list.
    void refreshVat(bool output);
    // A list was opened again (refresh, sort): its strip follows.
    void listReopened(const Dataset& dataset);

    // "  Aktualizovat": Memo6 … Memo9 for the calendar year of `today`.
    std::vector<Figure> businessOverview(const QDate& today = QDate::currentDate());

  private:
    void show(const std::vector<Figure>& figures);

    DbContext& db_;
    PanelQueries& queries_;
    Show show_;
};

} // namespace kelvarn
