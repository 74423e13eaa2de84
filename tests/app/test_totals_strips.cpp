#include "module_datasets_fixture.h"

#include <QDate>
#include <QMap>

namespace kelvarn {
namespace {

// A small ledger: more expense than income in the cash book, one document in each
// VAT list.
class TotalsStripsTest : public test::ModuleDatasetsTest {
  protected:
    void seed() override {
        bookRow(1, "Alfa", 1000, 0);
        bookRow(2, "Beta", 0, 2500);
        vatDocument("FAV-2025-00001", 1, 210);
        vatDocument("FAP-2025-00001", 2, 42);
    }
    void SetUp() override {
        test::ModuleDatasetsTest::SetUp();
        if (HasFatalFailure())
            return;
        modules->totals().setShow([this](const std::vector<Figure>& figures) {
            for (const Figure& f : figures)
                shown[f.control] = f.text + (f.negative ? QStringLiteral(" red") : QString());
            ++shows;
        });
    }

    void bookRow(int id, const char* description, double income, double expense) {
        db->session->execute(
            QStringLiteral("INSERT INTO tbl_hlavnikniha (id, datum, doklad, popis, prijem_danovy, "
                           "vydaj_danovy) VALUES (?, ?, 'X', ?, ?, ?)"),
            {id, QDateTime(QDate(2025, 1, id), QTime(0, 0)), QLatin1String(description), income, expense});
    }
    void vatDocument(const char* number, int type, double vat) {
        db->session->execute(
            QStringLiteral("INSERT INTO tbl_doklad (cislo_dokladu, doklad_typ, podklad_dph, "
                           "datum_uplatneni_plneni, celkem_dph_19) VALUES (?, ?, 'Ano', ?, ?)"),
            {QLatin1String(number), type, QDateTime(QDate(2025, 2, 1), QTime(0, 0)), vat});
    }

    QMap<QString, QString> shown;
    int shows = 0;
};

// The strip follows the list: at the first show, after a refresh with or without a
// filter, after sorting and after a save.
TEST_F(TotalsStripsTest, CashBookStripFollowsTheListAndItsFilter) {
    controller().tabChanged(1);
    EXPECT_EQ(shown.value(QStringLiteral("Edit_prijem_danovy")), QStringLiteral("1 000,00"));
    EXPECT_EQ(shown.value(QStringLiteral("Edit_vydaj_danovy")), QStringLiteral("2 500,00"));
    EXPECT_EQ(shown.value(QStringLiteral("Edit_prijem_nedanovy")), QStringLiteral("0,00"));
    EXPECT_EQ(shown.value(QStringLiteral("Edit_zustatek")), QStringLiteral("-1 500,00 red"));

    queries->query(QStringLiteral("FormHlavniKniha")).filterCondition = QStringLiteral("popis = 'Alfa'");
    modules->refreshCurrentPanel();
    EXPECT_EQ(book().recordCount(), 1);
    EXPECT_EQ(shown.value(QStringLiteral("Edit_vydaj_danovy")), QStringLiteral("0,00"));
    EXPECT_EQ(shown.value(QStringLiteral("Edit_zustatek")), QStringLiteral("1 000,00"));

    queries->query(QStringLiteral("FormHlavniKniha")).filterCondition.clear();
    const int before = shows;
    ASSERT_TRUE(modules->sortCurrentPanel(QStringLiteral("popis"), true));
    EXPECT_GT(shows, before);
    EXPECT_EQ(shown.value(QStringLiteral("Edit_zustatek")), QStringLiteral("-1 500,00 red"));

    controller().newRecord(true);
    book().setValue(QStringLiteral("doklad"), QStringLiteral("PPD-1"));
    book().setValue(QStringLiteral("prijem_nedanovy"), 2000);
    ASSERT_TRUE(controller().saveCurrentRecord());
    EXPECT_EQ(shown.value(QStringLiteral("Edit_prijem_nedanovy")), QStringLiteral("2 000,00"));
    EXPECT_EQ(shown.value(QStringLiteral("Edit_zustatek")), QStringLiteral("500,00"));
}

TEST_F(TotalsStripsTest, VatListsShowTheirStripsAndARefreshRecomputesBoth) {
    controller().tabChanged(2);
    EXPECT_EQ(shown.value(QStringLiteral("Edit_dph192")), QStringLiteral("210,00"));
    EXPECT_EQ(shown.value(QStringLiteral("Edit_dph191")), QStringLiteral("42,00"));
    db->session->execute(QStringLiteral("UPDATE tbl_doklad SET celkem_dph_19 = celkem_dph_19 * 2"));
    modules->refreshCurrentPanel();
    EXPECT_EQ(shown.value(QStringLiteral("Edit_dph192")), QStringLiteral("420,00"));
    EXPECT_EQ(shown.value(QStringLiteral("Edit_dph191")), QStringLiteral("84,00"));
}

TEST_F(TotalsStripsTest, OverviewGivesTheFourFiguresOfTheYear) {
    QStringList texts;
    for (const Figure& f : modules->totals().businessOverview(QDate(2025, 12, 31)))
        texts << f.control + u'=' + f.text;
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Memo6=0,00"), QStringLiteral("Memo7=0,00"),
                                  QStringLiteral("Memo8=168,00"), QStringLiteral("Memo9=-1 500,00")}));
}

} // namespace
} // namespace kelvarn
