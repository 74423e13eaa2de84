#include "../db/platform_fixture.h"
#include "core/formatting.h"
#include "lists/panel_queries.h"

#include <algorithm>
#include <memory>

using namespace kelvarn;
using namespace kelvarn::test;

namespace {

// Partners with the names and towns of a Czech trader's address book, typed in no
// particular order and letter case.
const std::vector<std::pair<const char*, const char*>> kPartners = {
    {"Zahradnictví Kos", "Železná Ruda"},
    {"autoservis Dub", "Jihlava"},
    {"Čalounictví Mráz", "Černošice"},
    {"Šindelář s.r.o.", "Brno"},
    {"Hradecká pila", "Chrudim"},
    {"Chrudimská pekárna", "Hradec Králové"},
    {"Cukrárna Lípa", "Cheb"},
};

class CzechOrderDb : public PlatformTest {
  protected:
    void SetUp() override {
        LocaleConventions::setCurrent(LocaleConventions::czech());
        PlatformTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        partnersList = std::make_unique<Dataset>(*db->session, QStringLiteral("ADOFormPartneri"));
        for (const auto& [name, town] : kPartners)
            insertRow(QStringLiteral("tbl_partner"),
                      {{"nazev_firmy", QString::fromUtf8(name)}, {"mesto", QString::fromUtf8(town)}});
        queries = std::make_unique<PanelQueries>(*ctx);
        queries->init(
            [this](const QString& name) { return name == partners().name() ? &partners() : nullptr; });
    }

    qint64 insertRow(const QString& table, const std::vector<std::pair<QString, QVariant>>& values) {
        auto ds = dataset(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE id=0"));
        ds->open();
        ds->append();
        for (const auto& [column, value] : values)
            ds->setValue(column, value);
        EXPECT_TRUE(ds->post());
        return ds->asInteger(QStringLiteral("id"));
    }

    static QStringList column(const Dataset& ds, const QString& name) {
        QStringList values;
        for (int r = 0; r < ds.recordCount(); ++r)
            values << ds.textAt(r, ds.columnIndex(name));
        return values;
    }

    Dataset& partners() { return *partnersList; }

    static QStringList reversed(QStringList list) {
        std::reverse(list.begin(), list.end());
        return list;
    }

    const QString list = QStringLiteral("FormPartneriSeznam");
    std::unique_ptr<PanelQueries> queries;
    std::unique_ptr<Dataset> partnersList;
};
KELVARN_ON_ALL_PLATFORMS(CzechOrderDb);

} // namespace

// Case ignored, "ch" after "h", accented capitals in their own place after the plain
// letter: the order of a Czech dictionary.
TEST_P(CzechOrderDb, ListsAndSortsOrderTextTheCzechWay) {
    const QStringList names = {"autoservis Dub",     "Cukrárna Lípa",   "Čalounictví Mráz", "Hradecká pila",
                               "Chrudimská pekárna", "Šindelář s.r.o.", "Zahradnictví Kos"};
    const QStringList towns = {"Brno",    "Černošice", "Hradec Králové", "Cheb",
                               "Chrudim", "Jihlava",   "Železná Ruda"};
    // SQLite and Firebird get our collation; MariaDB's tables are utf8mb4_czech_ci.
    const QString collation = GetParam() == DbPlatform::Jet        ? CzechOrder::kSqliteCollation
                              : GetParam() == DbPlatform::Firebird ? CzechOrder::kFirebirdCollation
                                                                   : QString();
    EXPECT_EQ(db->session->textCollation(), collation);
    partners().open();
    EXPECT_EQ(column(partners(), QStringLiteral("nazev_firmy")), names) << "start order by name";

    struct Case {
        QString column;
        bool descending;
        QStringList expected;
    };
    for (const Case& c : {Case{"mesto", false, towns}, Case{"mesto", true, reversed(towns)},
                          Case{"nazev_firmy", true, reversed(names)}}) {
        ASSERT_TRUE(queries->sortPanel(list, partners(), c.column, c.descending));
        EXPECT_EQ(column(partners(), c.column), c.expected) << partners().sql().toStdString();
        queries->refreshPanel(list, [this](const QString&) { return &partners(); });
        EXPECT_EQ(column(partners(), c.column), c.expected) << "a refresh keeps the order";
    }
}

// Numbers and dates are no text: 9 before 10, January before February.
TEST_P(CzechOrderDb, NumbersAndDatesKeepTheirOwnOrder) {
    Dataset cashBook(*db->session, QStringLiteral("ADOFormHlavniKniha"));
    const struct {
        const char* day;
        double amount;
    } rows[] = {{"10.1.2026", 100}, {"2.2.2026", 9}, {"9.1.2026", 10}};
    for (const auto& r : rows)
        insertRow(QStringLiteral("tbl_hlavnikniha"), {{"datum", QString::fromUtf8(r.day)},
                                                      {"prijem_danovy", r.amount},
                                                      {"popis", QStringLiteral("řádek")}});
    queries->init([&](const QString& name) { return name == cashBook.name() ? &cashBook : nullptr; });
    const QString book = QStringLiteral("FormHlavniKniha");
    ASSERT_TRUE(queries->sortPanel(book, cashBook, QStringLiteral("prijem_danovy"), false));
    EXPECT_EQ(column(cashBook, QStringLiteral("prijem_danovy")), (QStringList{"9", "10", "100"}));
    ASSERT_TRUE(queries->sortPanel(book, cashBook, QStringLiteral("datum"), false));
    EXPECT_EQ(column(cashBook, QStringLiteral("datum")), (QStringList{"9.1.2026", "10.1.2026", "2.2.2026"}));
    ASSERT_TRUE(queries->sortPanel(list, partners(), QStringLiteral("id"), true));
    QStringList ids = column(partners(), QStringLiteral("id"));
    for (int i = 1; i < ids.size(); ++i)
        EXPECT_GT(ids[i - 1].toLongLong(), ids[i].toLongLong());
}

// Filters still compare as before the ordering changed.
TEST_P(CzechOrderDb, FilterComparisonsKeepWorking) {
    const struct {
        const char* condition;
        QStringList names;
    } cases[] = {
        {"mesto = 'Brno'", {"Šindelář s.r.o."}},
        {"nazev_firmy LIKE 'Č%'", {"Čalounictví Mráz"}},
        {"mesto LIKE 'Ch%'", {"Hradecká pila", "Cukrárna Lípa"}},
        {"mesto IN ('Jihlava', 'Cheb')", {"autoservis Dub", "Cukrárna Lípa"}},
    };
    for (const auto& c : cases) {
        queries->query(list).filterCondition = QString::fromUtf8(c.condition);
        queries->refreshPanel(list, [this](const QString&) { return &partners(); });
        QStringList got = column(partners(), QStringLiteral("nazev_firmy"));
        QStringList want = c.names;
        std::sort(got.begin(), got.end());
        std::sort(want.begin(), want.end());
        EXPECT_EQ(got, want) << c.condition;
    }
}
