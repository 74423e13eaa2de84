#include "cashbook/cash_book_totals.h"

#include "core/money.h"
#include "db/db_context.h"
#include "lists/panel_queries.h"

#include <QSqlQuery>

#include <vector>

namespace kelvarn {

namespace {

double cents(double value) {
    return roundPlaces(value, 2);
}

// The sums of one aggregate statement as the database gives them; a sum over no
// rows is 0.
std::vector<double> sums(DbContext& db, const QString& select, const QString& filter, const QString& where,
                         int count) {
    QSqlQuery q = db.session().query(db.composeStatement(select, filter, where, {}));
    std::vector<double> values(static_cast<std::size_t>(count), 0.0);
    if (q.next())
        for (int i = 0; i < count; ++i)
            values[static_cast<std::size_t>(i)] = q.value(i).isNull() ? 0.0 : q.value(i).toDouble();
    return values;
}

// The dates of year Y as the composer converts them. The upper bound is the first
// day of the next year, so that a row stamped with a time on 31 December still counts.
QString yearCondition(const QString& column, int year) {
    return u'(' + column + QStringLiteral(" >= '1.1.") + QString::number(year) + QStringLiteral("' AND ") +
           column + QStringLiteral(" < '1.1.") + QString::number(year + 1) + QStringLiteral("')");
}

} // namespace

CashBookTotals cashBookTotals(DbContext& db, const PanelQuery& cashBook) {
    const auto s = sums(
        db,
        QStringLiteral("SELECT sum(prijem_nedanovy) As prijem_nedanovy, sum(prijem_danovy) As prijem_danovy, "
                       "sum(vydaj_nedanovy) As vydaj_nedanovy, sum(vydaj_danovy) As vydaj_danovy "
                       "FROM tbl_hlavnikniha"),
        cashBook.filterCondition, cashBook.fixedCondition, 4);
    CashBookTotals t;
    t.incomeNonTaxable = cents(s[0]);
    t.incomeTaxable = cents(s[1]);
    t.expenseNonTaxable = cents(s[2]);
    t.expenseTaxable = cents(s[3]);
    t.balance = cents((t.incomeNonTaxable + t.incomeTaxable) - (t.expenseNonTaxable + t.expenseTaxable));
    return t;
}

VatTotals vatTotals(DbContext& db, const PanelQuery& vatList) {
    const auto s =
        sums(db,
             QStringLiteral("SELECT sum(celkem_bez_dph_5) As zaklad51, sum(celkem_dph_5) As dph51, "
                            "sum(celkem_bez_dph_19) As zaklad191, sum(celkem_dph_19) As dph191, "
                            "sum(celkem_bez_dph_0) As zaklad01 FROM tbl_doklad"),
             vatList.filterCondition, vatList.fixedCondition, 5);
    return VatTotals{cents(s[0]), cents(s[1]), cents(s[2]), cents(s[3]), cents(s[4])};
}

BusinessOverview businessOverview(DbContext& db, const PanelQuery& inputVat, const PanelQuery& outputVat,
                                  const PanelQuery& cashBook, const QDate& today) {
    const QString open = QStringLiteral("SELECT sum(zbyva_uhradit) As celkem from tbl_doklad");
    const QString vat =
        QStringLiteral("SELECT sum(celkem_dph_5) As celkem, sum(celkem_dph_19) As celkem2 FROM tbl_doklad");
    const int year = today.year();
    const QString claimed = yearCondition(QStringLiteral("datum_uplatneni_plneni"), year);

    BusinessOverview o;
    o.payables = cents(sums(
        db, open, {}, QStringLiteral("((doklad_typ=2) AND (UPPER(pohledavka_zavazek) LIKE 'ANO%'))"), 1)[0]);
    o.receivables = cents(sums(
        db, open, {}, QStringLiteral("((doklad_typ=1) AND (UPPER(pohledavka_zavazek) LIKE 'ANO%'))"), 1)[0]);
    const auto input = sums(db, vat, claimed, inputVat.fixedCondition, 2);
    const auto output = sums(db, vat, claimed, outputVat.fixedCondition, 2);
    o.vat = cents(cents(output[0] + output[1]) - cents(input[0] + input[1]));
    const auto book = sums(db,
                           QStringLiteral("SELECT sum(prijem_danovy) AS celkem, sum(vydaj_danovy) AS celkem2 "
                                          "FROM tbl_hlavnikniha"),
                           yearCondition(QStringLiteral("datum"), year), cashBook.fixedCondition, 2);
    // The base is what the taxable income exceeds the taxable expense by; the cash
    // book keeps expenses as positive amounts.
    o.taxBase = cents(book[0] - book[1]);
    return o;
}

} // namespace kelvarn
