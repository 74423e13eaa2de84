#include "../db/platform_fixture.h"
#include "cashbook/cash_book_totals.h"
#include "db/db_error.h"
#include "lists/panel_queries.h"

#include <QDate>

using namespace kelvarn;
using namespace kelvarn::test;

class CashBookTotalsTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        queries = std::make_unique<PanelQueries>(*ctx);
    }

    void row(const QDateTime& date, const char* description, double incomeTaxable, double incomeOther,
             double expenseTaxable, double expenseOther) {
        db->session->execute(
            QStringLiteral("INSERT INTO tbl_hlavnikniha (id, datum, doklad, popis, prijem_danovy, "
                           "prijem_nedanovy, vydaj_danovy, vydaj_nedanovy) "
                           "VALUES (?, ?, 'X', ?, ?, ?, ?, ?)"),
            {++rowId, date, QString::fromUtf8(description), incomeTaxable, incomeOther, expenseTaxable,
             expenseOther});
    }

    struct Doc {
        const char* number;
        int type;
        const char* vatBasis; // podklad_dph
        QVariant claimed;     // datum_uplatneni_plneni
        double base5, vat5, base19, vat19, base0;
        const char* open; // pohledavka_zavazek
        double remaining;
    };
    void document(const Doc& d) {
        db->session->execute(
            QStringLiteral(
                "INSERT INTO tbl_doklad (id, cislo_dokladu, doklad_typ, podklad_dph, datum_uplatneni_plneni, "
                "celkem_bez_dph_5, celkem_dph_5, celkem_bez_dph_19, celkem_dph_19, celkem_bez_dph_0, "
                "pohledavka_zavazek, zbyva_uhradit) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {++documentId, QLatin1String(d.number), d.type,
             d.vatBasis ? QVariant(QLatin1String(d.vatBasis)) : QVariant(), d.claimed, d.base5, d.vat5,
             d.base19, d.vat19, d.base0, d.open ? QVariant(QLatin1String(d.open)) : QVariant(), d.remaining});
    }

    static QDateTime day(int y, int m, int d, int hour = 0) {
        return QDateTime(QDate(y, m, d), QTime(hour, 0));
    }

    std::unique_ptr<PanelQueries> queries;
    int rowId = 0;
    int documentId = 0;
};
KELVARN_ON_ALL_PLATFORMS(CashBookTotalsTest);

TEST_P(CashBookTotalsTest, CashBookStripSumsTheRowsTheListShows) {
    PanelQuery& list = queries->query(QStringLiteral("FormHlavniKniha"));
    EXPECT_EQ(cashBookTotals(*ctx, list), (CashBookTotals{0, 0, 0, 0, 0}));

    row(day(2025, 1, 10), "Alfa", 1000.10, 210.02, 0, 0);
    row(day(2025, 6, 30), "Beta", 0, 0, 2500, 100);
    row(day(2025, 7, 1), "Alfa 2", 300, 0, 0, 10.5);
    struct Case {
        const char* name;
        const char* filter;
        CashBookTotals expected;
    };
    const Case cases[] = {
        {"no filter", "", {1300.10, 210.02, 2500, 110.5, -1100.38}},
        {"by description", "popis LIKE 'Alfa%'", {1300.10, 210.02, 0, 10.5, 1499.62}},
        {"by date, converted for the platform", "datum >= '1.7.2025'", {300, 0, 0, 10.5, 289.5}},
        {"nothing matches", "popis = 'nic'", {0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        list.filterCondition = QLatin1String(c.filter);
        const CashBookTotals t = cashBookTotals(*ctx, list);
        EXPECT_DOUBLE_EQ(t.incomeTaxable, c.expected.incomeTaxable);
        EXPECT_DOUBLE_EQ(t.incomeNonTaxable, c.expected.incomeNonTaxable);
        EXPECT_DOUBLE_EQ(t.expenseTaxable, c.expected.expenseTaxable);
        EXPECT_DOUBLE_EQ(t.expenseNonTaxable, c.expected.expenseNonTaxable);
        EXPECT_DOUBLE_EQ(t.balance, c.expected.balance);
    }
    list.filterCondition = QStringLiteral("no_such_column = 1");
    EXPECT_THROW(cashBookTotals(*ctx, list), DbError);
}

TEST_P(CashBookTotalsTest, VatStripsSumEachListPerRateSlot) {
    const QVariant claimed = day(2025, 3, 1);
    // Output list: issued, receipt vouchers, received deposits; input list the rest.
    document({"FAV-2025-00001", 1, "Ano", claimed, 100, 12, 1000, 210, 5, nullptr, 0});
    document({"PPD-2025-00001", 3, "ANO", claimed, 10, 1.2, 0, 0, 0, nullptr, 0});
    document({"ZLP-2025-00001", 2, "Ano", claimed, 0, 0, 50, 10.5, 0, nullptr, 0});
    document({"FAP-2025-00001", 2, "Ano", claimed, 200, 24, 400, 84, 7, nullptr, 0});
    document({"ZLV-2025-00001", 1, "Ano", claimed, 0, 0, 20, 4.2, 0, nullptr, 0});
    document({"VPD-2025-00001", 4, "ano", claimed, 0, 0, 100, 21, 0, nullptr, 0});
    document({"FAV-2025-00002", 1, "Ne", claimed, 999, 999, 999, 999, 999, nullptr, 0});     // no VAT basis
    document({"FAV-2025-00003", 1, "Ano", QVariant(), 999, 999, 999, 999, 999, nullptr, 0}); // not claimed

    PanelQuery& input = queries->query(QStringLiteral("FormDPHvstup"));
    PanelQuery& output = queries->query(QStringLiteral("FormDPHvystup"));
    EXPECT_EQ(vatTotals(*ctx, output), (VatTotals{110, 13.2, 1050, 220.5, 5}));
    EXPECT_EQ(vatTotals(*ctx, input), (VatTotals{200, 24, 520, 109.2, 7}));
    input.filterCondition = QStringLiteral("doklad_typ = 4");
    EXPECT_EQ(vatTotals(*ctx, input), (VatTotals{0, 0, 100, 21, 0}));
}

// The overview counts the calendar year of "today": from its first moment up to,
// and including, the last day (whatever the time on it).
TEST_P(CashBookTotalsTest, BusinessOverviewCountsOpenItemsAndTheCurrentYear) {
    // Open payables and receivables, by the flag in any letter case.
    document({"FAP-2024-00001", 2, nullptr, QVariant(), 0, 0, 0, 0, 0, "Ano", 100});
    document({"FAP-2024-00002", 2, nullptr, QVariant(), 0, 0, 0, 0, 0, "ANO", 50.25});
    document({"FAP-2024-00003", 2, nullptr, QVariant(), 0, 0, 0, 0, 0, "Ne", 1000});
    document({"FAP-2024-00004", 2, nullptr, QVariant(), 0, 0, 0, 0, 0, nullptr, 1000});
    document({"FAV-2024-00001", 1, nullptr, QVariant(), 0, 0, 0, 0, 0, "ano", 300});
    // VAT claimed around the year boundary of 2025.
    document({"FAV-2024-00002", 1, "Ano", day(2024, 12, 31, 23), 0, 1000, 0, 1000, 0, nullptr, 0});
    document({"FAV-2025-00001", 1, "Ano", day(2025, 1, 1), 0, 10, 0, 210, 0, nullptr, 0});
    document({"FAV-2025-00002", 1, "Ano", day(2025, 12, 31, 18), 0, 0, 0, 21, 0, nullptr, 0});
    document({"FAV-2026-00001", 1, "Ano", day(2026, 1, 1), 0, 1000, 0, 1000, 0, nullptr, 0});
    document({"FAP-2025-00001", 2, "Ano", day(2025, 6, 1), 0, 5, 0, 42, 0, nullptr, 0});
    // Cash book of 2025 and its neighbours; non-taxable amounts never count.
    row(day(2024, 12, 31), "loni", 9999, 0, 0, 0);
    row(day(2025, 1, 1), "první den", 1000, 500, 0, 0);
    row(day(2025, 12, 31, 12), "poslední den", 200, 0, 300.5, 77);
    row(day(2026, 1, 1), "příští rok", 0, 0, 8888, 0);

    const BusinessOverview o = businessOverview(
        *ctx, queries->query(QStringLiteral("FormDPHvstup")), queries->query(QStringLiteral("FormDPHvystup")),
        queries->query(QStringLiteral("FormHlavniKniha")), QDate(2025, 6, 15));
    EXPECT_DOUBLE_EQ(o.payables, 150.25);
    EXPECT_DOUBLE_EQ(o.receivables, 300);
    EXPECT_DOUBLE_EQ(o.vat, (10 + 210 + 21) - (5 + 42));
    EXPECT_DOUBLE_EQ(o.taxBase, 1200 - 300.5);

    // A year with more expense than income gives a negative base; an empty one 0.
    const BusinessOverview next = businessOverview(
        *ctx, queries->query(QStringLiteral("FormDPHvstup")), queries->query(QStringLiteral("FormDPHvystup")),
        queries->query(QStringLiteral("FormHlavniKniha")), QDate(2026, 1, 1));
    EXPECT_DOUBLE_EQ(next.vat, 2000);
    EXPECT_DOUBLE_EQ(next.taxBase, -8888);
    const BusinessOverview empty = businessOverview(
        *ctx, queries->query(QStringLiteral("FormDPHvstup")), queries->query(QStringLiteral("FormDPHvystup")),
        queries->query(QStringLiteral("FormHlavniKniha")), QDate(2030, 5, 5));
    EXPECT_DOUBLE_EQ(empty.vat, 0);
    EXPECT_DOUBLE_EQ(empty.taxBase, 0);
}
