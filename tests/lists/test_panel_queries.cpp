#include "../db/platform_fixture.h"
#include "db/db_error.h"
#include "lists/panel_queries.h"

#include <map>
#include <memory>

using namespace kelvarn;
using namespace kelvarn::test;

namespace {

const QString kVatInputAccess = QStringLiteral(
    "((UPPER(podklad_dph) LIKE 'ANO') AND (datum_uplatneni_plneni IS NOT NULL) AND ((doklad_typ=2 AND "
    "cislo_dokladu NOT LIKE 'ZL%') OR (doklad_typ=4) OR (doklad_typ=1 AND cislo_dokladu LIKE 'ZL%')))");
const QString kVatOutputAccess = QStringLiteral(
    "((UPPER(podklad_dph) LIKE 'ANO') AND (datum_uplatneni_plneni IS NOT NULL) AND ((doklad_typ=1 AND "
    "cislo_dokladu NOT LIKE 'ZL%') OR (doklad_typ=3) OR (doklad_typ=2 AND cislo_dokladu LIKE 'ZL%')))");

QString onJet(QString statement) {
    return statement.replace(QStringLiteral("UPPER("), QStringLiteral("UCASE("));
}

// Statement composition alone needs no connection.
struct Offline {
    explicit Offline(const QString& platform, bool ascending) {
        state.platform = platform;
        state.ascendingOrder = ascending;
    }
    DatabaseSession session;
    AppState state;
    ScriptedPrompts prompts;
    DiagnosticLog log;
    DbContext ctx{session, state, prompts, log};
};

} // namespace

TEST(PanelQueryStart, FirstStatementOfEveryListOnJetForBothOrderSettings) {
    const QString fav = QStringLiteral("SELECT * FROM tbl_doklad WHERE ");
    struct Case {
        QString list;
        QString ascending;
        QString descending;
    };
    const std::vector<Case> cases = {
        {"FormHlavniKniha",
         "SELECT * FROM tbl_hlavnikniha  ORDER BY tbl_hlavnikniha.datum ASC, tbl_hlavnikniha.id ASC",
         "SELECT * FROM tbl_hlavnikniha  ORDER BY tbl_hlavnikniha.datum DESC, tbl_hlavnikniha.id DESC"},
        {"FormFAV-seznam", fav + "(doklad_typ=1) ORDER BY cislo_dokladu ASC",
         fav + "(doklad_typ=1) ORDER BY cislo_dokladu DESC"},
        {"FormFAP-seznam", fav + "(doklad_typ=2) ORDER BY cislo_dokladu ASC",
         fav + "(doklad_typ=2) ORDER BY cislo_dokladu DESC"},
        {"FormPPD-seznam", fav + "(doklad_typ=3) ORDER BY cislo_dokladu ASC",
         fav + "(doklad_typ=3) ORDER BY cislo_dokladu DESC"},
        {"FormVPD-seznam", fav + "(doklad_typ=4) ORDER BY cislo_dokladu ASC",
         fav + "(doklad_typ=4) ORDER BY cislo_dokladu DESC"},
        {"FormMajetek-seznam", "SELECT * FROM tbl_majetek  ORDER BY cislo",
         "SELECT * FROM tbl_majetek  ORDER BY cislo"},
        {"FormKnihaJizd", "SELECT * FROM tbl_knihajizd  ORDER BY datum ASC, id ASC",
         "SELECT * FROM tbl_knihajizd  ORDER BY datum DESC, id DESC"},
        {"FormDPHvstup", onJet(fav + kVatInputAccess + " ORDER BY cislo_dokladu ASC"),
         onJet(fav + kVatInputAccess + " ORDER BY cislo_dokladu DESC")},
        {"FormDPHvystup", onJet(fav + kVatOutputAccess + " ORDER BY cislo_dokladu ASC"),
         onJet(fav + kVatOutputAccess + " ORDER BY cislo_dokladu DESC")},
        {"FormZboziSeznam", "SELECT * FROM tbl_zbozi  ORDER BY kod_zbozi",
         "SELECT * FROM tbl_zbozi  ORDER BY kod_zbozi"},
        {"FormZakazkySeznam", "SELECT * FROM tbl_zakazka  ORDER BY datum_zaevidovani ASC, id ASC",
         "SELECT * FROM tbl_zakazka  ORDER BY datum_zaevidovani DESC, id DESC"},
        {"FormPartneriSeznam", "SELECT * FROM tbl_partner  ORDER BY nazev_firmy",
         "SELECT * FROM tbl_partner  ORDER BY nazev_firmy"},
        {"FormFiltr", "SELECT * FROM tbl_filtry WHERE (id_panel=0) ORDER BY nazev ASC, dateTS0 ASC",
         "SELECT * FROM tbl_filtry WHERE (id_panel=0) ORDER BY nazev ASC, dateTS0 ASC"},
    };
    ASSERT_EQ(PanelQueries::lists().size(), qsizetype(cases.size()));
    for (bool ascending : {true, false}) {
        Offline jet(QStringLiteral("1"), ascending);
        PanelQueries queries(jet.ctx);
        std::map<QString, std::unique_ptr<Dataset>> datasets;
        queries.init([&](const QString& name) {
            auto& ds = datasets[name];
            ds = std::make_unique<Dataset>(jet.session, name);
            return ds.get();
        });
        for (const Case& c : cases) {
            SCOPED_TRACE((c.list + (ascending ? " ASC" : " DESC")).toStdString());
            const QString expected = ascending ? c.ascending : c.descending;
            EXPECT_EQ(queries.statement(c.list), expected);
            const Dataset& ds = *datasets.at(PanelQueries::datasetOfList(c.list));
            EXPECT_EQ(ds.sql(), expected);
            EXPECT_FALSE(ds.isActive()) << "opened at the first visit of the module, not here";
            const PanelQuery& q = queries.query(c.list);
            EXPECT_TRUE(q.filterCondition.isEmpty() && q.filterName.isEmpty() && q.filterText.isEmpty());
        }
    }
}

TEST(PanelQueryStart, ServerPlatformsKeepUpperAndDebugLogsEveryStatement) {
    for (const char* code : {"4", "5"}) {
        Offline server(QLatin1String(code), false);
        server.state.debug = true;
        PanelQueries queries(server.ctx);
        queries.init({}, 7);
        EXPECT_EQ(queries.statement(QStringLiteral("FormDPHvstup")),
                  "SELECT * FROM tbl_doklad WHERE " + kVatInputAccess + " ORDER BY cislo_dokladu DESC");
        EXPECT_EQ(
            queries.statement(PanelQueries::kFilterList),
            QStringLiteral("SELECT * FROM tbl_filtry WHERE (id_panel=7) ORDER BY nazev ASC, dateTS0 ASC"));
        EXPECT_TRUE(
            server.log.text().contains(QStringLiteral("SELECT * FROM tbl_zbozi  ORDER BY kod_zbozi")));
        EXPECT_EQ(server.log.text().count(QStringLiteral("-----")), 13 + 2)
            << "init composes every list once";
    }
}

TEST(PanelQueryStart, InitBringsBackStartValuesAndSkipsModulesNotBuilt) {
    Offline jet(QStringLiteral("1"), true);
    PanelQueries queries(jet.ctx);
    PanelQuery& partners = queries.query(QStringLiteral("FormPartneriSeznam"));
    partners.orderBy = QStringLiteral("mesto DESC");
    partners.filterCondition = QStringLiteral("mesto = 'Brno'");
    partners.filterName = QStringLiteral("Brno");
    Dataset goods(jet.session, QStringLiteral("ADOFormZbozi"));
    queries.init([&](const QString& name) { return name == goods.name() ? &goods : nullptr; });
    EXPECT_EQ(queries.query(QStringLiteral("FormPartneriSeznam")),
              (PanelQuery{"SELECT * FROM tbl_partner", "", "", "nazev_firmy", "", ""}));
    EXPECT_EQ(goods.sql(), QStringLiteral("SELECT * FROM tbl_zbozi  ORDER BY kod_zbozi"));
    EXPECT_THROW(queries.query(QStringLiteral("FormFAV-detail")), std::out_of_range);
}

TEST(PanelQueryPlan, DatasetsAndKeysReopenedPerPanel) {
    using Step = PanelQueries::RefreshStep;
    const Step fav{"ADOFormFAV", "FormFAV-seznam", "cislo_dokladu"};
    const Step items{"ADOFormFAVpol", "", "id"};
    const Step assets{"ADOFormMajetek", "FormMajetek-seznam", "id"};
    const Step depreciation{"ADOFormOdpisy", "", "id"};
    const Step vatIn{"ADOFormDPHvstup", "FormDPHvstup", "cislo_dokladu"};
    const Step vatOut{"ADOFormDPHvystup", "FormDPHvystup", "cislo_dokladu"};
    const std::vector<std::pair<QString, std::vector<Step>>> cases = {
        {"FormFAV-seznam", {fav, items}},
        {"FormFAV-polozky", {fav, items}},
        {"FormHlavniKniha", {{"ADOFormHlavniKniha", "FormHlavniKniha", "id"}}},
        {"FormPodnikatel", {{"ADOFormPodnikatel", "", ""}}},
        {"FormKnihaJizd", {{"ADOFormKnihaJizd", "FormKnihaJizd", "id"}}},
        {"FormMajetek-odpisy", {assets, depreciation}},
        {"FormFAP-detail", {{"ADOFormFAP", "FormFAP-seznam", "cislo_dokladu"}}},
        {"FormPPD-seznam", {{"ADOFormPPD", "FormPPD-seznam", "cislo_dokladu"}}},
        {"FormVPD-detail", {{"ADOFormVPD", "FormVPD-seznam", "cislo_dokladu"}}},
        {"FormDPHvystup", {vatIn, vatOut}},
        {"FormDPHvstup", {vatIn, vatOut}},
        {"FormZbozi-detail", {{"ADOFormZbozi", "FormZboziSeznam", "id"}}},
        {"FormPartneriSeznam", {{"ADOFormPartneri", "FormPartneriSeznam", "id"}}},
        {"FormZakazky-detail", {{"ADOFormZakazky", "FormZakazkySeznam", "id"}}},
        {"FormZbozi-seznam", {}},
        {"", {}},
    };
    for (const auto& [panel, steps] : cases)
        EXPECT_EQ(PanelQueries::refreshPlan(panel), steps) << panel.toStdString();
}

TEST(PanelQueryPlan, OnlyListPanelsSort) {
    for (const char* panel : {"FormFAV-seznam", "FormFAP-seznam", "FormPPD-seznam", "FormVPD-seznam",
                              "FormHlavniKniha", "FormKnihaJizd", "FormMajetek-seznam", "FormDPHvstup",
                              "FormDPHvystup", "FormZboziSeznam", "FormPartneriSeznam", "FormZakazkySeznam"})
        EXPECT_TRUE(PanelQueries::isSortable(QLatin1String(panel))) << panel;
    for (const char* panel : {"FormFAV-detail", "FormFAV-polozky", "FormMajetek-odpisy", "FormPodnikatel",
                              "FormPartneri-detail", "FormFiltr", ""})
        EXPECT_FALSE(PanelQueries::isSortable(QLatin1String(panel))) << panel;
}

class PanelQueriesDb : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        queries = std::make_unique<PanelQueries>(*ctx);
    }

    Dataset* make(const QString& name) {
        auto& ds = lists[name];
        if (!ds)
            ds = std::make_unique<Dataset>(*db->session, name);
        return ds.get();
    }
    PanelQueries::DatasetLookup lookup() {
        return [this](const QString& name) {
            const auto it = lists.find(name);
            return it == lists.end() ? nullptr : it->second.get();
        };
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
    qint64 addDocument(int type, const QString& number) {
        return insertRow(QStringLiteral("tbl_doklad"), {{"doklad_typ", type}, {"cislo_dokladu", number}});
    }
    qint64 addItem(qint64 document, int line) {
        return insertRow(
            QStringLiteral("tbl_polozky"),
            {{"id_tbl_doklad", document}, {"cislo_radku", line}, {"popis", QString::number(line)}});
    }
    qint64 addPartner(const QString& name, const QString& city) {
        return insertRow(QStringLiteral("tbl_partner"), {{"nazev_firmy", name}, {"mesto", city}});
    }
    QStringList column(Dataset& ds, const QString& name) {
        QStringList values;
        for (int r = 0; r < ds.recordCount(); ++r)
            values << ds.textAt(r, ds.columnIndex(name));
        return values;
    }

    std::map<QString, std::unique_ptr<Dataset>> lists;
    std::unique_ptr<PanelQueries> queries;
};
KELVARN_ON_ALL_PLATFORMS(PanelQueriesDb);

TEST_P(PanelQueriesDb, EveryFirstStatementIsAcceptedByTheDatabase) {
    for (bool ascending : {true, false}) {
        db->state.ascendingOrder = ascending;
        for (const QString& list : PanelQueries::lists())
            make(PanelQueries::datasetOfList(list));
        queries->init(lookup(), 3);
        for (const QString& list : PanelQueries::lists()) {
            Dataset& ds = *lists.at(PanelQueries::datasetOfList(list));
            EXPECT_NO_THROW(ds.open()) << list.toStdString() << ": " << ds.sql().toStdString();
            ds.close();
        }
    }
}

TEST_P(PanelQueriesDb, VatListsHoldTheirDocumentsWithoutFilter) {
    const qint64 received = addDocument(2, QStringLiteral("FAP-1"));
    const qint64 advance = addDocument(1, QStringLiteral("ZL-1"));
    const qint64 issued = addDocument(1, QStringLiteral("FAV-1"));
    const qint64 unmarked = addDocument(3, QStringLiteral("PPD-1"));
    auto mark = dataset(QStringLiteral("SELECT * FROM tbl_doklad"));
    mark->open();
    for (qint64 id : {received, advance, issued, unmarked}) {
        ASSERT_TRUE(mark->locate(QStringLiteral("id"), id));
        mark->edit();
        mark->setValue(QStringLiteral("podklad_dph"),
                       id == unmarked ? QStringLiteral("Ne") : QStringLiteral("aNo"));
        mark->setValue(QStringLiteral("datum_uplatneni_plneni"), QDateTime(QDate(2008, 2, 1), QTime()));
        ASSERT_TRUE(mark->post());
    }
    Dataset* in = make(QStringLiteral("ADOFormDPHvstup"));
    Dataset* out = make(QStringLiteral("ADOFormDPHvystup"));
    queries->init(lookup());
    queries->refreshPanel(QStringLiteral("FormDPHvstup"), lookup());
    EXPECT_EQ(column(*in, QStringLiteral("cislo_dokladu")), (QStringList{"ZL-1", "FAP-1"}));
    EXPECT_EQ(column(*out, QStringLiteral("cislo_dokladu")), (QStringList{"FAV-1"}));
}

TEST_P(PanelQueriesDb, RefreshReturnsToTheSameDocumentAfterOtherRowsWereAdded) {
    addDocument(1, QStringLiteral("FAV-2008-0001"));
    addDocument(1, QStringLiteral("FAV-2008-0002"));
    addDocument(2, QStringLiteral("FAP-2008-0001"));
    Dataset* fav = make(QStringLiteral("ADOFormFAV"));
    queries->init(lookup());
    fav->open();
    EXPECT_EQ(column(*fav, QStringLiteral("cislo_dokladu")), (QStringList{"FAV-2008-0002", "FAV-2008-0001"}));
    fav->last();

    addDocument(1, QStringLiteral("FAV-2008-0003"));
    addDocument(1, QStringLiteral("FAV-2007-0009"));
    queries->refreshPanel(QStringLiteral("FormFAV-seznam"), lookup());
    ASSERT_TRUE(fav->isActive());
    EXPECT_EQ(fav->recordCount(), 4);
    EXPECT_EQ(fav->currentRow(), 2);
    EXPECT_EQ(fav->asString(QStringLiteral("cislo_dokladu")), QStringLiteral("FAV-2008-0001"));
}

TEST_P(PanelQueriesDb, RefreshOnTheItemGridReturnsToTheSameItemLineOfTheSameDocument) {
    const qint64 x = addDocument(1, QStringLiteral("FAV-2"));
    addDocument(1, QStringLiteral("FAV-3"));
    for (int line : {1, 2, 3, 4})
        addItem(x, line);
    Dataset* fav = make(QStringLiteral("ADOFormFAV"));
    Dataset* items = make(QStringLiteral("ADOFormFAVpol"));
    items->setTable(QStringLiteral("tbl_polozky"));
    items->setMaster(fav, QStringLiteral("id_tbl_doklad"),
                     {QStringLiteral("id_tbl_doklad"), QStringLiteral("cislo_radku"), QStringLiteral("id")});
    queries->init(lookup());
    fav->open();
    items->open();
    ASSERT_TRUE(fav->locate(QStringLiteral("id"), x));
    ASSERT_TRUE(items->locate(QStringLiteral("cislo_radku"), 3));
    const qint64 line3 = items->asInteger(QStringLiteral("id"));

    addDocument(1, QStringLiteral("FAV-1"));
    queries->refreshPanel(QStringLiteral("FormFAV-polozky"), lookup());
    EXPECT_EQ(fav->asInteger(QStringLiteral("id")), x);
    EXPECT_EQ(items->recordCount(), 4);
    EXPECT_EQ(items->asInteger(QStringLiteral("id")), line3);
}

TEST_P(PanelQueriesDb, RememberedKeyMatchesExactlyOrAsBeginning) {
    addDocument(1, QStringLiteral("FAV-1"));
    addDocument(1, QStringLiteral("FAV-10"));
    addDocument(1, QStringLiteral("FAV-09"));
    struct Case {
        KeyMatch match;
        QString start;
        bool deleteIt;
        QString landsOn;
    };
    // Descending: FAV-10, FAV-1, FAV-09.
    const std::vector<Case> cases = {
        {KeyMatch::Exact, "FAV-1", false, "FAV-1"},
        {KeyMatch::BeginsWith, "FAV-1", false, "FAV-10"},
        {KeyMatch::Exact, "FAV-09", false, "FAV-09"},
        {KeyMatch::Exact, "FAV-09", true, "FAV-10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start.toStdString() + (c.match == KeyMatch::Exact ? " exact" : " begins-with"));
        PanelQueries q(*ctx, c.match);
        Dataset fav(*db->session, QStringLiteral("ADOFormFAV"));
        q.init([&](const QString& name) { return name == fav.name() ? &fav : nullptr; });
        fav.open();
        ASSERT_TRUE(fav.locate(QStringLiteral("cislo_dokladu"), c.start));
        if (c.deleteIt)
            db->session->query(QStringLiteral("DELETE FROM tbl_doklad WHERE cislo_dokladu='FAV-09'"));
        q.refreshPanel(QStringLiteral("FormFAV-detail"),
                       [&](const QString& name) { return name == fav.name() ? &fav : nullptr; });
        EXPECT_EQ(fav.asString(QStringLiteral("cislo_dokladu")), c.landsOn);
    }
}

TEST_P(PanelQueriesDb, CashBookIdIsNotFoundByItsBeginning) {
    // With begins-with matching id 1 would find id 10..19, which a descending list shows first.
    std::vector<qint64> ids;
    for (int i = 0; i < 12; ++i)
        ids.push_back(
            insertRow(QStringLiteral("tbl_hlavnikniha"),
                      {{"datum", QDateTime(QDate(2008, 1, 1), QTime())}, {"popis", QString::number(i)}}));
    Dataset* book = make(QStringLiteral("ADOFormHlavniKniha"));
    queries->init(lookup());
    book->open();
    ASSERT_TRUE(book->locate(QStringLiteral("id"), ids.front()));
    std::vector<QString> opened;
    queries->refreshPanel(QStringLiteral("FormHlavniKniha"), lookup(), [&](Dataset& ds) {
        opened.push_back(ds.name());
        EXPECT_EQ(ds.currentRow(), 0) << "totals run before the cursor goes back";
    });
    EXPECT_EQ(opened, (std::vector<QString>{"ADOFormHlavniKniha"}));
    EXPECT_EQ(book->asInteger(QStringLiteral("id")), ids.front());
}

TEST_P(PanelQueriesDb, RefreshOfEitherVatListRereadsBoth) {
    Dataset* in = make(QStringLiteral("ADOFormDPHvstup"));
    Dataset* out = make(QStringLiteral("ADOFormDPHvystup"));
    queries->init(lookup());
    for (const char* panel : {"FormDPHvstup", "FormDPHvystup"}) {
        std::vector<QString> opened;
        queries->refreshPanel(QLatin1String(panel), lookup(),
                              [&](Dataset& ds) { opened.push_back(ds.name()); });
        EXPECT_EQ(opened, (std::vector<QString>{"ADOFormDPHvstup", "ADOFormDPHvystup"})) << panel;
        EXPECT_TRUE(in->isActive() && out->isActive());
    }
}

TEST_P(PanelQueriesDb, EntrepreneurTableIsReopened) {
    Dataset* entrepreneur = make(QStringLiteral("ADOFormPodnikatel"));
    entrepreneur->setTable(QStringLiteral("tbl_podnikatel"));
    queries->init(lookup());
    queries->refreshPanel(QStringLiteral("FormPodnikatel"), lookup());
    EXPECT_TRUE(entrepreneur->isActive());
    EXPECT_TRUE(entrepreneur->sql().isEmpty()) << "a table, not a composed list";
}

TEST_P(PanelQueriesDb, SortByTheGridColumnBothWaysAndTheOrderStays) {
    const qint64 alfa = addPartner(QStringLiteral("Alfa"), QStringLiteral("Praha"));
    addPartner(QStringLiteral("Beta"), QStringLiteral("Brno"));
    addPartner(QStringLiteral("Gama"), QStringLiteral("Olomouc"));
    Dataset* partners = make(QStringLiteral("ADOFormPartneri"));
    const QString list = QStringLiteral("FormPartneriSeznam");
    queries->init(lookup());
    partners->open();
    ASSERT_TRUE(partners->locate(QStringLiteral("id"), alfa));

    struct Case {
        bool descending;
        QString orderBy;
        QStringList cities;
    };
    for (const Case& c : {Case{true, "mesto DESC", {"Praha", "Olomouc", "Brno"}},
                          Case{false, "mesto ASC", {"Brno", "Olomouc", "Praha"}}}) {
        ASSERT_TRUE(queries->sortPanel(list, *partners, QStringLiteral("mesto"), c.descending));
        EXPECT_EQ(queries->query(list).orderBy, c.orderBy);
        EXPECT_TRUE(partners->sql().endsWith(QStringLiteral(" ORDER BY ") + c.orderBy));
        EXPECT_EQ(column(*partners, QStringLiteral("mesto")), c.cities);
        EXPECT_EQ(partners->asInteger(QStringLiteral("id")), alfa);
    }
    addPartner(QStringLiteral("Delta"), QStringLiteral("Jihlava"));
    queries->refreshPanel(QStringLiteral("FormPartneri-detail"), lookup());
    EXPECT_EQ(column(*partners, QStringLiteral("mesto")),
              (QStringList{"Brno", "Jihlava", "Olomouc", "Praha"}));

    const QString sql = partners->sql();
    EXPECT_FALSE(
        queries->sortPanel(QStringLiteral("FormPartneri-detail"), *partners, QStringLiteral("mesto"), true));
    EXPECT_EQ(partners->sql(), sql);
    EXPECT_EQ(queries->query(list).orderBy, QStringLiteral("mesto ASC"));
    queries->init(lookup());
    EXPECT_EQ(queries->query(list).orderBy, QStringLiteral("nazev_firmy")) << "a new run starts over";
}

TEST_P(PanelQueriesDb, RejectedStatementClosesTheListAndALaterGoodRefreshRecovers) {
    addDocument(1, QStringLiteral("FAV-1"));
    addDocument(1, QStringLiteral("FAV-2"));
    Dataset* fav = make(QStringLiteral("ADOFormFAV"));
    const QString list = QStringLiteral("FormFAV-seznam");
    queries->init(lookup());
    fav->open();
    ASSERT_TRUE(fav->locate(QStringLiteral("cislo_dokladu"), QStringLiteral("FAV-1")));

    queries->query(list).filterCondition = QStringLiteral("neexistujici_sloupec = 1");
    EXPECT_THROW(queries->refreshPanel(QStringLiteral("FormFAV-seznam"), lookup()), DbError);
    EXPECT_FALSE(fav->isActive());
    EXPECT_THROW(queries->refreshPanel(QStringLiteral("FormFAV-detail"), lookup()), DbError);

    queries->query(list).filterCondition.clear();
    queries->refreshPanel(QStringLiteral("FormFAV-detail"), lookup());
    ASSERT_TRUE(fav->isActive());
    EXPECT_EQ(fav->recordCount(), 2);

    EXPECT_THROW(queries->sortPanel(list, *fav, QStringLiteral("neexistujici_sloupec"), false), DbError);
    EXPECT_FALSE(fav->isActive());
    EXPECT_EQ(queries->query(list).orderBy, QStringLiteral("cislo_dokladu DESC"))
        << "the rejected order is dropped";
    queries->refreshPanel(QStringLiteral("FormFAV-seznam"), lookup());
    EXPECT_TRUE(fav->isActive());
}
