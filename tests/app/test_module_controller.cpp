#include "app/module_controller.h"
#include "core/diagnostic_log.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "db/db_error.h"
#include "support/db/test_databases.h"
#include "support/scripted_prompts.h"

#include <QMap>
#include <QSqlQuery>
#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace kelvarn {
namespace {

using test::ScriptedPrompts;

const QString kNoFilter = QStringLiteral("Není aplikován žádný filtr. Jsou zobrazeny všechny záznamy.");

// Records what the controller did to the panels.
class FakeModuleView : public ModuleView {
  public:
    void setContainerVisible(const QString& container, bool visible) override {
        containers[container] = visible;
    }
    void setFocus(const FocusTarget& target) override { focus = target; }
    QString focusedControl() const override { return focused; }
    QList<Dataset::Bookmark> selectedRows(const QString& grid) const override {
        return selection.value(grid);
    }
    void setGridReadOnly(const QString& grid, bool readOnly) override {
        readOnlyCalls << grid + (readOnly ? QStringLiteral(":ro") : QStringLiteral(":rw"));
    }
    void setRecordCount(int count, bool filtered) override {
        recordCount = count;
        red = filtered;
    }
    void setStatusText(const QString& text) override { statusTexts << text; }

    QStringList visibleContainers() const {
        QStringList out;
        for (auto it = containers.begin(); it != containers.end(); ++it)
            if (it.value())
                out << it.key();
        return out;
    }

    QMap<QString, bool> containers;
    FocusTarget focus;
    QString focused;
    QMap<QString, QList<Dataset::Bookmark>> selection;
    QStringList readOnlyCalls;
    int recordCount = -1;
    bool red = false;
    QStringList statusTexts;
};

FocusTarget field(const char* column) {
    return FocusTarget::field(QLatin1String(column));
}
FocusTarget named(const char* control) {
    return FocusTarget::named(QLatin1String(control));
}

class ModuleControllerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db = test::createTestDatabase(DbPlatform::Jet, true);
        ASSERT_TRUE(db);
        DatabaseSession& s = *db->session;
        for (int i = 1; i <= 4; ++i)
            s.execute(QStringLiteral("INSERT INTO tbl_doklad (id, cislo_dokladu) VALUES (%1, 'FAV-2026-%1')")
                          .arg(i));
        s.execute(QStringLiteral("INSERT INTO tbl_doklad (id, cislo_dokladu) VALUES (10, 'FAV-2026-10')"));
        s.execute(QStringLiteral("INSERT INTO tbl_doklad (id, cislo_dokladu) VALUES (20, 'FAP-2026-1')"));
        s.execute(QStringLiteral("INSERT INTO tbl_doklad (id, cislo_dokladu) VALUES (30, 'PPD-2026-1')"));
        for (int i = 1; i <= 3; ++i)
            s.execute(QStringLiteral(
                          "INSERT INTO tbl_polozky (id_tbl_doklad, cislo_radku, popis) VALUES (1, %1, 'x')")
                          .arg(i));
        s.execute(
            QStringLiteral("INSERT INTO tbl_hlavnikniha (id, popis, prijem_danovy, prijem_nedanovy, "
                           "vydaj_danovy, vydaj_nedanovy, id_tbl_doklad) VALUES (1, 'a', 100, 5, 0, 0, 1)"));
        s.execute(
            QStringLiteral("INSERT INTO tbl_hlavnikniha (id, popis, prijem_danovy, prijem_nedanovy, "
                           "vydaj_danovy, vydaj_nedanovy, id_tbl_doklad) VALUES (2, 'b', 0, 0, 30, 7, 20)"));
        s.execute(QStringLiteral("INSERT INTO tbl_hlavnikniha (id, popis, prijem_danovy, id_tbl_doklad) "
                                 "VALUES (3, 'c', 1, NULL)"));
        s.execute(QStringLiteral("INSERT INTO tbl_majetek (id, typ, nazev) VALUES (1, 'HM', 'stroj')"));
        s.execute(QStringLiteral("INSERT INTO tbl_odpisy (id_tbl_majetek, rok) VALUES (1, '2025')"));
        s.execute(QStringLiteral("INSERT INTO tbl_odpisy (id_tbl_majetek, rok) VALUES (1, '2026')"));
        s.execute(QStringLiteral("INSERT INTO tbl_knihajizd (odkud, kam) VALUES ('A', 'B')"));

        context = std::make_unique<DbContext>(s, db->state, prompts, log);
        db->state.saveWithoutPrompt = true;
        context->resetSkipConfirmation();

        auto query = [&](const char* name, const QString& sql) {
            auto ds = std::make_unique<Dataset>(s, QLatin1String(name));
            ds->setSql(sql);
            ds->setUpdateTable(QStringLiteral("tbl_doklad"));
            datasets[name] = std::move(ds);
        };
        auto table = [&](const char* name, const char* tableName) {
            auto ds = std::make_unique<Dataset>(s, QLatin1String(name));
            ds->setTable(QLatin1String(tableName));
            datasets[name] = std::move(ds);
        };
        auto docs = [](const char* prefix) {
            return QStringLiteral("SELECT * FROM tbl_doklad WHERE cislo_dokladu LIKE '%1%' ORDER BY id")
                .arg(QLatin1String(prefix));
        };
        table("ADOFormPodnikatel", "tbl_podnikatel");
        table("ADOFormHlavniKniha", "tbl_hlavnikniha");
        query("ADOFormDPHvstup", docs("FAP"));
        query("ADOFormDPHvystup", docs("FAV"));
        query("ADOFormFAV", docs("FAV"));
        query("ADOFormFAP", docs("FAP"));
        query("ADOFormPPD", docs("PPD"));
        query("ADOFormVPD", docs("VPD"));
        table("ADOFormFAVpol", "tbl_polozky");
        table("ADOFormMajetek", "tbl_majetek");
        table("ADOFormOdpisy", "tbl_odpisy");
        table("ADOFormKnihaJizd", "tbl_knihajizd");
        table("ADOFormZbozi", "tbl_zbozi");
        table("ADOFormPartneri", "tbl_partner");
        table("ADOFormZakazky", "tbl_zakazka");
        ds("ADOFormFAVpol")
            .setMaster(&ds("ADOFormFAV"), QStringLiteral("id_tbl_doklad"), {QStringLiteral("cislo_radku")});
        ds("ADOFormOdpisy")
            .setMaster(&ds("ADOFormMajetek"), QStringLiteral("id_tbl_majetek"), {QStringLiteral("rok")});

        hooks.openDataset = [this](Dataset& d) {
            opened << d.name();
            d.open();
        };
        hooks.refreshVatTotals = [this](bool output) { events << (output ? "vat-out" : "vat-in"); };
        hooks.refreshCashBookTotals = [this] { events << "cash-totals"; };
        hooks.appliedFilter = [this](const QString& panel) { return filters.value(panel); };
        hooks.setFilterModuleCondition = [this](const QString& c) { filterCondition = c; };
        hooks.escapeSelection = [this] { events << "escape"; };
        hooks.externalCommand = [this](KeyCommand c) { external << c; };
        controller = std::make_unique<ModuleController>(view, *context, hooks);
        for (auto& [name, d] : datasets)
            controller->registerDataset(d.get());
    }

    Dataset& ds(const char* name) { return *datasets.at(name); }

    // Shows a tab, on its detail panel when asked.
    void show(int tab, bool detail = false) {
        controller->tabChanged(tab);
        if (detail != (controller->detailShown(tab) == 1))
            controller->toggleMasterDetail();
    }
    QStringList captions() const { return prompts.captions(); }

    std::unique_ptr<test::TestDatabase> db;
    ScriptedPrompts prompts;
    DiagnosticLog log;
    std::unique_ptr<DbContext> context;
    std::map<std::string, std::unique_ptr<Dataset>> datasets;
    FakeModuleView view;
    ModuleHooks hooks;
    std::unique_ptr<ModuleController> controller;
    QStringList opened;
    QStringList events;
    QMap<QString, AppliedFilter> filters;
    QString filterCondition;
    QList<KeyCommand> external;
};

TEST_F(ModuleControllerTest, PanelIdFollowsTabAndViewState) {
    struct Case {
        int tab;
        bool detail;
        int focusRule; // 0 none, 1 items/depreciation grid entered, 2 VAT output grid
        const char* panel;
    };
    const Case cases[] = {
        {0, false, 0, "FormPodnikatel"},      {1, false, 0, "FormHlavniKniha"},
        {2, false, 0, "FormDPHvstup"},        {2, false, 2, "FormDPHvystup"},
        {3, false, 0, "FormFAV-seznam"},      {3, true, 0, "FormFAV-detail"},
        {3, true, 1, "FormFAV-polozky"},      {4, false, 0, "FormFAP-seznam"},
        {4, true, 0, "FormFAP-detail"},       {5, false, 0, "FormPPD-seznam"},
        {5, true, 0, "FormPPD-detail"},       {6, false, 0, "FormVPD-seznam"},
        {6, true, 0, "FormVPD-detail"},       {7, false, 0, "FormMajetek-seznam"},
        {7, true, 0, "FormMajetek-detail"},   {7, true, 1, "FormMajetek-odpisy"},
        {8, false, 0, "FormKnihaJizd"},       {9, false, 0, "FormZboziSeznam"},
        {9, true, 0, "FormZbozi-detail"},     {10, false, 0, "FormPartneriSeznam"},
        {10, true, 0, "FormPartneri-detail"}, {11, false, 0, "FormZakazkySeznam"},
        {11, true, 0, "FormZakazky-detail"},
    };
    for (const Case& c : cases) {
        show(c.tab, c.detail);
        if (c.focusRule == 1 && c.tab == 3)
            controller->itemsGridFocused(true);
        if (c.focusRule == 1 && c.tab == 7)
            controller->depreciationFocused(true);
        if (c.focusRule == 2)
            controller->vatGridFocused(true);
        EXPECT_EQ(controller->currentPanelId(), QLatin1String(c.panel)) << c.panel;
        EXPECT_EQ(filterCondition, QStringLiteral("(id_panel=%1)").arg(c.tab));
        // The view state of the grids follows the focus only.
        controller->itemsGridFocused(false);
        controller->depreciationFocused(false);
        controller->vatGridFocused(false);
    }
}

TEST_F(ModuleControllerTest, GuardRefusesEditedPanelsAndIsSilentForPost) {
    struct Case {
        int tab;
        bool detail;
        const char* dataset; // null: the panel has none to guard
    };
    const Case cases[] = {
        {0, false, "ADOFormPodnikatel"}, {1, false, "ADOFormHlavniKniha"}, {2, false, nullptr},
        {3, false, "ADOFormFAV"},        {3, true, "ADOFormFAV"},          {4, true, "ADOFormFAP"},
        {7, false, "ADOFormMajetek"},    {8, false, "ADOFormKnihaJizd"},   {9, true, "ADOFormZbozi"},
        {10, false, "ADOFormPartneri"},  {11, true, "ADOFormZakazky"}};
    for (const Case& c : cases) {
        show(c.tab, c.detail);
        const QString panel = controller->currentPanelId();
        SCOPED_TRACE(panel.toStdString());
        prompts.shown.clear();
        EXPECT_TRUE(controller->checkBrowseState({}));
        if (!c.dataset) {
            ds("ADOFormDPHvstup").edit(); // read-only lists are never guarded
            EXPECT_TRUE(controller->checkBrowseState({}));
            ds("ADOFormDPHvstup").cancel();
            continue;
        }
        Dataset& d = ds(c.dataset);
        d.append();
        // Another panel named explicitly is judged by its own dataset.
        EXPECT_TRUE(controller->checkBrowseState(c.tab == 8 ? QStringLiteral("FormPodnikatel")
                                                            : QStringLiteral("FormKnihaJizd")));
        EXPECT_FALSE(controller->checkBrowseState(QStringLiteral("post")));
        EXPECT_TRUE(prompts.shown.isEmpty());
        EXPECT_FALSE(controller->checkBrowseState({}));
        EXPECT_FALSE(controller->checkBrowseState(panel));
        ASSERT_EQ(prompts.shown.size(), 2);
        EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba"));
        EXPECT_EQ(prompts.shown[0].text,
                  QStringLiteral("Operaci nelze provést. Prosím zrušte editační režim. "));
        d.cancel();
    }
}

TEST_F(ModuleControllerTest, ShowModuleShowsOneContainerOpensOnceAndFocuses) {
    struct Case {
        int tab;
        bool detail;
        const char* container;
        FocusTarget focus;
    };
    const Case cases[] = {
        {0, false, "PanelPodnikatel", {}},
        {1, false, "PanelHlavniKniha", named("DBGridHlavniKniha")},
        {2, false, "PanelDPH", named("DBGridDPHvstup")},
        {3, false, "PanelFVseznam", named("DBGridFAV")},
        {3, true, "PanelFAV", named("DBGridFAVpol")},
        {4, true, "PanelFAP", field("cislo_dokladu_puvodni")},
        {5, true, "PanelPPD", field("odb_nazev_firmy")},
        {6, false, "PanelVPDseznam", named("DBGridVPD")},
        {6, true, "PanelVPD", field("odb_nazev_firmy")},
        {7, true, "PanelMajetek", named("DBGridOdpisy")},
        {8, false, "PanelKnihaJizd", named("DBGridKnihaJizd")},
        {9, true, "PanelZbozi", named("DBMemoZbozi")},
        {10, true, "PanelPartneri", named("DBMemoPartneri")},
        {11, false, "PanelZakazkySeznam", named("DBGridZakazky")},
        {11, true, "PanelZakazky", named("DBMemoZakazky")},
    };
    for (const Case& c : cases) {
        show(c.tab, c.detail);
        // Leave and come back: the module keeps its list/detail choice.
        controller->tabChanged(0);
        view.focus = {};
        controller->tabChanged(c.tab);
        SCOPED_TRACE(c.container);
        EXPECT_EQ(view.visibleContainers(), QStringList{QLatin1String(c.container)});
        EXPECT_EQ(view.containers.size(), 20);
        if (c.tab != 0) {
            EXPECT_EQ(view.focus, c.focus);
        }
    }
    EXPECT_EQ(opened.count(QStringLiteral("ADOFormFAV")), 1);
    EXPECT_EQ(opened.indexOf(QStringLiteral("ADOFormFAV")) + 1,
              opened.indexOf(QStringLiteral("ADOFormFAVpol")));
    EXPECT_TRUE(opened.contains(QStringLiteral("ADOFormOdpisy")));
    EXPECT_EQ(events.count(QStringLiteral("vat-in")), 1);
    EXPECT_EQ(events.count(QStringLiteral("vat-out")), 1);
    EXPECT_EQ(events.count(QStringLiteral("cash-totals")), 1);
}

TEST_F(ModuleControllerTest, DetailFocusFallsBackToFirstFieldWithoutRows) {
    struct Case {
        int tab;
        const char* table;
        FocusTarget focus;
    };
    const Case cases[] = {{3, "tbl_doklad", field("odb_nazev_firmy")},
                          {7, "tbl_majetek", field("typ")},
                          {9, "tbl_zbozi", field("kod_zbozi")},
                          {10, "tbl_partner", field("nazev_firmy")}};
    for (const Case& c : cases) {
        db->session->execute(QStringLiteral("DELETE FROM ") + QLatin1String(c.table));
        show(c.tab);
        controller->formKeyDown(Qt::Key_F9, Qt::NoModifier);
        EXPECT_EQ(view.focus, c.focus) << c.table;
        EXPECT_EQ(controller->detailShown(c.tab), 1);
    }
}

TEST_F(ModuleControllerTest, ToggleSwitchesListAndDetailOnlyWhereBoth) {
    for (int tab : {0, 1, 2, 8}) {
        show(tab);
        const QStringList before = view.visibleContainers();
        view.focus = named("unchanged");
        controller->toggleMasterDetail();
        EXPECT_EQ(view.visibleContainers(), before) << tab;
        EXPECT_EQ(view.focus, named("unchanged"));
    }
    show(3);
    controller->toggleMasterDetail();
    EXPECT_EQ(view.visibleContainers(), QStringList{QStringLiteral("PanelFAV")});
    EXPECT_EQ(view.focus, named("DBGridFAVpol"));
    controller->itemsGridFocused(true);
    EXPECT_EQ(controller->currentPanelId(), QStringLiteral("FormFAV-polozky"));
    controller->toggleMasterDetail();
    EXPECT_EQ(view.visibleContainers(), QStringList{QStringLiteral("PanelFVseznam")});
    EXPECT_EQ(view.focus, named("DBGridFAV"));
    EXPECT_EQ(controller->detailShown(3), 0);
}

TEST_F(ModuleControllerTest, PickerReturnShowsTheListOfRegisters) {
    for (int tab : {9, 10, 11}) {
        show(tab, true);
        controller->setCurrentTab(tab);
        controller->showModule(true);
        EXPECT_EQ(controller->detailShown(tab), 0) << tab;
    }
    show(4, true);
    controller->showModule(true);
    EXPECT_EQ(controller->detailShown(4), 1);
}

TEST_F(ModuleControllerTest, EditedDocumentSurvivesLeavingTheModule) {
    show(3, true);
    ds("ADOFormFAV").edit();
    controller->tabChanged(9);
    controller->tabChanged(3);
    EXPECT_EQ(controller->currentPanelId(), QStringLiteral("FormFAV-detail"));
    EXPECT_EQ(ds("ADOFormFAV").state(), Dataset::State::Edit);
    // With the header being edited the first field gets the focus, not the items.
    EXPECT_EQ(view.focus, field("odb_nazev_firmy"));
}

TEST_F(ModuleControllerTest, FocusRulesPostWhatTheGridsLeaveBehind) {
    show(3, true);
    Dataset& header = ds("ADOFormFAV");
    Dataset& items = ds("ADOFormFAVpol");
    header.edit();
    header.setValue(QStringLiteral("variabilni_symbol"), QStringLiteral("777"));
    controller->itemsGridFocused(true);
    EXPECT_EQ(header.state(), Dataset::State::Browse);
    QSqlQuery written =
        db->session->query(QStringLiteral("SELECT variabilni_symbol FROM tbl_doklad WHERE id=1"));
    ASSERT_TRUE(written.next());
    EXPECT_EQ(written.value(0).toString(), QStringLiteral("777"));

    items.edit();
    controller->setSelectionActive(true);
    controller->itemsGridFocused(false);
    EXPECT_EQ(items.state(), Dataset::State::Edit) << "a picker fills the open row";
    EXPECT_EQ(controller->itemsFocused(), 0);
    controller->setSelectionActive(false);
    controller->itemsGridFocused(true);
    controller->itemsGridFocused(false);
    EXPECT_EQ(items.state(), Dataset::State::Browse);

    show(7, true);
    ds("ADOFormMajetek").edit();
    controller->depreciationFocused(true);
    EXPECT_EQ(ds("ADOFormMajetek").state(), Dataset::State::Browse);
    EXPECT_EQ(controller->currentPanelId(), QStringLiteral("FormMajetek-odpisy"));
    ds("ADOFormOdpisy").edit();
    controller->depreciationFocused(false);
    EXPECT_EQ(ds("ADOFormOdpisy").state(), Dataset::State::Browse);
    EXPECT_EQ(controller->currentPanelId(), QStringLiteral("FormMajetek-detail"));

    // A refused write keeps the panel, so save and cancel still reach the open asset.
    Dataset& assets = ds("ADOFormMajetek");
    const auto rules = assets.beforePost;
    assets.beforePost = [](Dataset&) { return false; };
    assets.edit();
    controller->depreciationFocused(true);
    EXPECT_EQ(assets.state(), Dataset::State::Edit);
    EXPECT_EQ(controller->currentPanelId(), QStringLiteral("FormMajetek-detail"));
    assets.cancel();
    assets.beforePost = rules;
}

TEST_F(ModuleControllerTest, StatusBarCountsFilterAndCaptions) {
    struct Case {
        int tab;
        bool detail;
        int count;
    };
    const Case cases[] = {{3, false, 5}, {3, true, 3},  {4, false, 1}, {4, true, 0}, {7, true, 2},
                          {1, false, 3}, {2, false, 1}, {9, true, 0},  {8, false, 1}};
    for (const Case& c : cases) {
        show(c.tab, c.detail);
        EXPECT_EQ(controller->updateStatusBar(), c.count) << c.tab << c.detail;
        EXPECT_EQ(view.recordCount, c.count);
        EXPECT_FALSE(view.red);
        EXPECT_EQ(view.statusTexts.last(), kNoFilter);
        EXPECT_EQ(controller->printFilterCaption(), QStringLiteral("Nebyl aplikován žádný filtr."));
        EXPECT_TRUE(controller->printFilterText().isEmpty());
    }
    filters[QStringLiteral("FormDPHvystup")] = {QStringLiteral("Leden"), QStringLiteral("datum > 1")};
    show(2);
    controller->vatGridFocused(true);
    EXPECT_EQ(view.recordCount, 5);
    EXPECT_TRUE(view.red);
    EXPECT_EQ(view.statusTexts.last(), QStringLiteral("Aktivní filtr: Leden"));
    EXPECT_EQ(controller->printFilterCaption(), QStringLiteral("Použitý filtr: Leden"));
    EXPECT_EQ(controller->printFilterText(), QStringLiteral("datum > 1"));
    controller->vatGridFocused(false);
    EXPECT_FALSE(view.red);
    EXPECT_TRUE(controller->printFilterText().isEmpty());
}

TEST_F(ModuleControllerTest, TabChangeRefusedOnlyInSelectionMode) {
    EXPECT_TRUE(controller->tabChanging());
    EXPECT_TRUE(prompts.shown.isEmpty());
    controller->setSelectionActive(true);
    EXPECT_FALSE(controller->tabChanging());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Výběrový režim"));
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("Ve výběrovém režimu není dovoleno přepínat panely.   "));
}

TEST_F(ModuleControllerTest, MovesActOnTheCurrentPanelUnlessEdited) {
    show(3, true);
    controller->itemsGridFocused(true);
    controller->lastRecord();
    EXPECT_EQ(ds("ADOFormFAVpol").currentRow(), 2);
    EXPECT_EQ(ds("ADOFormFAV").currentRow(), 0);
    controller->formKeyDown(Qt::Key_8, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(ds("ADOFormFAVpol").currentRow(), 0);
    controller->formKeyDown(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(ds("ADOFormFAVpol").currentRow(), 1);
    controller->formKeyDown(Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(ds("ADOFormFAVpol").currentRow(), 0);
    controller->itemsGridFocused(false);

    show(2);
    controller->vatGridFocused(true);
    controller->formKeyDown(Qt::Key_2, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(ds("ADOFormDPHvystup").currentRow(), 4);

    show(3, true);
    ds("ADOFormFAV").edit();
    prompts.shown.clear();
    for (int key : {Qt::Key_8, Qt::Key_4, Qt::Key_6, Qt::Key_2})
        controller->formKeyDown(key, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(prompts.shown.size(), 4);
    EXPECT_EQ(ds("ADOFormFAV").currentRow(), 0);
    EXPECT_EQ(ds("ADOFormFAV").state(), Dataset::State::Edit);
}

TEST_F(ModuleControllerTest, NewRecordFromButtonOrInsertKey) {
    struct Case {
        int tab;
        bool detail;
        bool subGrid;
        bool fromButton;
        const char* dataset; // null: nothing inserted by the command
        FocusTarget focus;
    };
    const Case cases[] = {
        {3, true, false, false, "ADOFormFAV", field("odb_nazev_firmy")},
        {4, true, false, true, "ADOFormFAP", field("cislo_dokladu_puvodni")},
        {5, true, false, false, "ADOFormPPD", field("odb_nazev_firmy")},
        {6, true, false, false, "ADOFormVPD", field("odb_nazev_firmy")},
        {7, true, false, false, "ADOFormMajetek", field("typ")},
        {9, true, false, false, "ADOFormZbozi", field("kod_zbozi")},
        {10, true, false, false, "ADOFormPartneri", field("nazev_firmy")},
        {11, true, false, false, "ADOFormZakazky", named("DBMemoZakazky")},
        {3, false, false, true, "ADOFormFAV", {}},
        {3, false, false, false, nullptr, {}},
        {3, true, true, true, "ADOFormFAVpol",
         FocusTarget::gridColumn(QStringLiteral("DBGridFAVpol"), QStringLiteral("kod_zbozi"))},
        {3, true, true, false, nullptr, {}},
        {1, false, false, true, "ADOFormHlavniKniha",
         FocusTarget::gridFirstColumn(QStringLiteral("DBGridHlavniKniha"))},
        {1, false, false, false, nullptr, {}},
        {8, false, false, true, "ADOFormKnihaJizd",
         FocusTarget::gridFirstColumn(QStringLiteral("DBGridKnihaJizd"))},
        {7, false, false, true, "ADOFormMajetek",
         FocusTarget::gridFirstColumn(QStringLiteral("DBGridMajetek"))},
        {7, true, true, true, "ADOFormOdpisy", FocusTarget::gridFirstColumn(QStringLiteral("DBGridOdpisy"))},
        {9, false, false, true, "ADOFormZbozi", {}},
        {0, false, false, true, nullptr, {}},
        {2, false, false, true, nullptr, {}},
    };
    for (const Case& c : cases) {
        show(c.tab, c.detail);
        if (c.subGrid && c.tab == 3)
            controller->itemsGridFocused(true);
        if (c.subGrid && c.tab == 7)
            controller->depreciationFocused(true);
        const QString panel = controller->currentPanelId();
        SCOPED_TRACE(panel.toStdString() + (c.fromButton ? " button" : " key"));
        view.focus = {};
        view.statusTexts.clear();
        controller->newRecord(c.fromButton);
        EXPECT_EQ(view.statusTexts.size(), 1);
        for (auto& [name, d] : datasets) {
            const bool expected = c.dataset && name == c.dataset;
            EXPECT_EQ(d->state() == Dataset::State::Insert, expected) << name;
            if (d->isEditing())
                d->cancel();
        }
        EXPECT_EQ(view.focus, c.focus);
        controller->itemsGridFocused(false);
        controller->depreciationFocused(false);
    }
}

// A new row whose rules switch the module to its detail (documents, assets and the
// registers do) is typed into the detail's first field, not into the hidden grid.
TEST_F(ModuleControllerTest, NewRowSwitchedToTheDetailFocusesItsFirstField) {
    const struct {
        int tab;
        const char* dataset;
        const char* container;
        FocusTarget focus;
    } cases[] = {
        {3, "ADOFormFAV", "PanelFAV", field("odb_nazev_firmy")},
        {4, "ADOFormFAP", "PanelFAP", field("cislo_dokladu_puvodni")},
        {5, "ADOFormPPD", "PanelPPD", field("odb_nazev_firmy")},
        {7, "ADOFormMajetek", "PanelMajetek", field("typ")},
        {9, "ADOFormZbozi", "PanelZbozi", field("kod_zbozi")},
        {10, "ADOFormPartneri", "PanelPartneri", field("nazev_firmy")},
        {11, "ADOFormZakazky", "PanelZakazky", named("DBMemoZakazky")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dataset);
        show(c.tab);
        Dataset& data = ds(c.dataset);
        data.afterInsert = [this, tab = c.tab](Dataset&) {
            if (controller->detailShown(tab) == 0)
                controller->toggleMasterDetail();
        };
        view.focus = {};
        controller->newRecord(true);
        EXPECT_EQ(data.state(), Dataset::State::Insert);
        EXPECT_TRUE(view.containers.value(QLatin1String(c.container)));
        EXPECT_EQ(view.focus, c.focus);
        data.cancel();
        data.afterInsert = nullptr;
        controller->toggleMasterDetail();
    }
}

TEST_F(ModuleControllerTest, NewDepreciationRowFromTheMemo) {
    for (bool fromButton : {false, true}) {
        show(7, true);
        controller->depreciationFocused(true);
        view.focused = QStringLiteral("DBMemoOdpis");
        controller->newRecord(fromButton);
        EXPECT_EQ(ds("ADOFormOdpisy").state(), Dataset::State::Insert) << fromButton;
        EXPECT_EQ(view.focus, FocusTarget::gridFirstColumn(QStringLiteral("DBGridOdpisy")));
        ds("ADOFormOdpisy").cancel();
        controller->depreciationFocused(false);
    }
}

TEST_F(ModuleControllerTest, SaveAndEscape) {
    show(1);
    EXPECT_FALSE(controller->saveCurrentRecord()) << "nothing edited";
    ds("ADOFormHlavniKniha").edit();
    ds("ADOFormHlavniKniha").setValue(QStringLiteral("popis"), QStringLiteral("změna"));
    events.clear();
    controller->formKeyDown(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ds("ADOFormHlavniKniha").state(), Dataset::State::Browse);
    EXPECT_EQ(events, QStringList{QStringLiteral("cash-totals")});

    // Esc: a new document is dropped and the list returns; an edit keeps the detail.
    show(3, true);
    controller->newRecord(true);
    controller->formKeyDown(Qt::Key_Escape, Qt::NoModifier);
    EXPECT_EQ(ds("ADOFormFAV").state(), Dataset::State::Browse);
    EXPECT_EQ(controller->currentPanelId(), QStringLiteral("FormFAV-seznam"));
    show(3, true);
    ds("ADOFormFAV").edit();
    controller->cancelEditOrSelection();
    EXPECT_EQ(ds("ADOFormFAV").state(), Dataset::State::Browse);
    EXPECT_EQ(controller->currentPanelId(), QStringLiteral("FormFAV-detail"));

    events.clear();
    controller->cancelEditOrSelection();
    EXPECT_EQ(events, QStringList{QStringLiteral("escape")});
    show(0);
    ds("ADOFormPodnikatel").edit();
    controller->cancelEditOrSelection();
    EXPECT_EQ(ds("ADOFormPodnikatel").state(), Dataset::State::Browse);
    // A grid row is cancelled by the grid itself.
    show(8);
    ds("ADOFormKnihaJizd").edit();
    controller->cancelEditOrSelection();
    EXPECT_EQ(ds("ADOFormKnihaJizd").state(), Dataset::State::Edit);
}

TEST_F(ModuleControllerTest, DeleteSelectedDocumentsReturnsToRememberedRow) {
    show(3);
    Dataset& fav = ds("ADOFormFAV");
    fav.first(); // FAV-2026-1: the one to come back to
    fav.moveTo(1);
    const Dataset::Bookmark second = fav.bookmark();
    fav.moveTo(2);
    const Dataset::Bookmark third = fav.bookmark();
    fav.moveTo(4);
    const Dataset::Bookmark tenth = fav.bookmark();
    fav.first();
    view.selection[QStringLiteral("DBGridFAV")] = {second, third, tenth};
    controller->formKeyDown(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(prompts.captions(), QStringList{QStringLiteral("Dotaz")});
    EXPECT_EQ(fav.recordCount(), 2);
    EXPECT_EQ(fav.asString(QStringLiteral("cislo_dokladu")), QStringLiteral("FAV-2026-1"));
    EXPECT_EQ(view.readOnlyCalls,
              (QStringList{QStringLiteral("DBGridFAV:ro"), QStringLiteral("DBGridFAV:rw")}));
    EXPECT_EQ(view.statusTexts.last(), QStringLiteral("Mazání označených záznamů..."));
    // Only the documents go; their item lines stay.
    auto count = [this](const QString& sql) {
        QSqlQuery q = db->session->query(sql);
        return q.next() ? q.value(0).toInt() : -1;
    };
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM tbl_doklad WHERE cislo_dokladu LIKE 'FAV%'")), 2);

    // Without a selection only the current row goes.
    view.selection.clear();
    fav.last();
    controller->deleteSelectedRecords();
    EXPECT_EQ(fav.recordCount(), 1);
    EXPECT_EQ(fav.asString(QStringLiteral("cislo_dokladu")), QStringLiteral("FAV-2026-1"));
}

TEST_F(ModuleControllerTest, DeletedCurrentRowIsNotFoundAgainByPrefix) {
    show(3);
    Dataset& fav = ds("ADOFormFAV");
    fav.moveTo(1);
    const Dataset::Bookmark second = fav.bookmark();
    fav.first(); // FAV-2026-1, a prefix of FAV-2026-10
    view.selection[QStringLiteral("DBGridFAV")] = {fav.bookmark(), second};
    controller->deleteSelectedRecords();
    ASSERT_EQ(fav.recordCount(), 3);
    EXPECT_NE(fav.asString(QStringLiteral("cislo_dokladu")), QStringLiteral("FAV-2026-10"));
}

TEST_F(ModuleControllerTest, DeleteRefusals) {
    // Detail panels and the read-only ones: no question at all.
    for (auto [tab, detail] : {std::pair{3, true}, {4, true}, {7, true}, {9, true}, {0, false}, {2, false}}) {
        show(tab, detail);
        controller->deleteSelectedRecords();
    }
    EXPECT_TRUE(prompts.shown.isEmpty());

    // An answer other than Yes.
    show(8);
    prompts.answers = {Answer::No};
    controller->deleteSelectedRecords();
    EXPECT_EQ(ds("ADOFormKnihaJizd").recordCount(), 1);

    // A row being edited in the grid: message 9, then message 4.
    prompts.shown.clear();
    ds("ADOFormKnihaJizd").edit();
    controller->deleteSelectedRecords();
    EXPECT_EQ(prompts.captions(), (QStringList{QStringLiteral("Dotaz"), QStringLiteral("Chyba")}));
    ds("ADOFormKnihaJizd").cancel();

    // An empty list: the question, then nothing.
    prompts.shown.clear();
    show(11);
    db->session->execute(QStringLiteral("DELETE FROM tbl_zakazka"));
    ds("ADOFormZakazky").refresh();
    view.readOnlyCalls.clear();
    controller->deleteSelectedRecords();
    EXPECT_EQ(prompts.captions(), QStringList{QStringLiteral("Dotaz")});
    EXPECT_TRUE(view.readOnlyCalls.isEmpty());
}

TEST_F(ModuleControllerTest, DeleteItemLinesOfTheCurrentDocument) {
    show(3, true);
    controller->itemsGridFocused(true);
    Dataset& items = ds("ADOFormFAVpol");
    items.last();
    controller->deleteSelectedRecords();
    EXPECT_EQ(items.recordCount(), 2);
    EXPECT_EQ(ds("ADOFormFAV").recordCount(), 5);
    EXPECT_EQ(view.readOnlyCalls.first(), QStringLiteral("DBGridFAVpol:ro"));
}

TEST_F(ModuleControllerTest, CashBookDeletesRowByRowAfterSettling) {
    db->state.debug = true;
    QStringList statements;
    QList<CashBookDeletion> settled;
    controller->hooks().execute = [&](const QString& s) {
        statements << s;
        db->session->execute(s);
    };
    controller->hooks().settleBeforeCashBookDelete = [&](const CashBookDeletion& row,
                                                         const std::function<void()>& deleteRow) {
        settled << row;
        statements << QStringLiteral("settle ") + row.id;
        deleteRow();
    };
    int refreshes = 0;
    controller->hooks().refreshPanel = [&](const QString& panel) {
        EXPECT_EQ(panel, QStringLiteral("FormHlavniKniha"));
        ++refreshes;
        ds("ADOFormHlavniKniha").refresh();
    };
    show(1);
    Dataset& book = ds("ADOFormHlavniKniha");
    book.moveTo(1);
    const Dataset::Bookmark second = book.bookmark();
    book.first();
    const Dataset::Bookmark first = book.bookmark();
    book.last(); // id 3 stays and is current afterwards
    // Row 1 was already deleted by someone else: no settlement, the statement still runs.
    view.selection[QStringLiteral("DBGridHlavniKniha")] = {second, first};
    db->session->execute(QStringLiteral("DELETE FROM tbl_hlavnikniha WHERE id=1"));
    log.clear();
    controller->deleteSelectedRecords();

    EXPECT_EQ(statements, (QStringList{QStringLiteral("settle 2"),
                                       QStringLiteral("DELETE FROM tbl_hlavnikniha WHERE (id=2)"),
                                       QStringLiteral("DELETE FROM tbl_hlavnikniha WHERE (id=1)")}));
    ASSERT_EQ(settled.size(), 1);
    EXPECT_EQ(settled[0].documentId, QStringLiteral("20"));
    EXPECT_DOUBLE_EQ(settled[0].income, 0);
    EXPECT_DOUBLE_EQ(settled[0].expense, 37);
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(book.recordCount(), 1);
    EXPECT_EQ(book.asString(QStringLiteral("id")), QStringLiteral("3"));
    EXPECT_TRUE(log.text().contains(QStringLiteral("\r\n-----\r\nDELETE FROM tbl_hlavnikniha WHERE (id=2)")));
    EXPECT_TRUE(log.text().contains(QStringLiteral("DELETE FROM tbl_hlavnikniha WHERE (id=1)")));
    EXPECT_EQ(view.readOnlyCalls,
              (QStringList{QStringLiteral("DBGridHlavniKniha:ro"), QStringLiteral("DBGridHlavniKniha:rw")}));
}

TEST_F(ModuleControllerTest, CashBookCurrentRowWithIncomeAndNoLogWhenDebugOff) {
    QList<CashBookDeletion> settled;
    // A hook that leaves the deletion to the controller still gets the row deleted.
    controller->hooks().settleBeforeCashBookDelete = [&](const CashBookDeletion& row,
                                                         const std::function<void()>&) { settled << row; };
    show(1);
    ds("ADOFormHlavniKniha").first();
    log.clear();
    controller->deleteSelectedRecords();
    ASSERT_EQ(settled.size(), 1);
    EXPECT_EQ(settled[0].id, QStringLiteral("1"));
    EXPECT_EQ(settled[0].documentId, QStringLiteral("1"));
    EXPECT_DOUBLE_EQ(settled[0].income, 105);
    EXPECT_TRUE(log.text().isEmpty());
    // The default refresh rereads the list and counts it again.
    EXPECT_EQ(ds("ADOFormHlavniKniha").recordCount(), 2);
    EXPECT_EQ(view.recordCount, 2);
    EXPECT_EQ(view.statusTexts.last(), kNoFilter);
}

TEST_F(ModuleControllerTest, DatabaseErrorsReachTheCaller) {
    show(1);
    controller->hooks().execute = [](const QString&) { throw DbError(QStringLiteral("disk full")); };
    EXPECT_THROW(controller->deleteSelectedRecords(), DbError);
    EXPECT_EQ(view.readOnlyCalls.last(), QStringLiteral("DBGridHlavniKniha:rw"));
}

TEST(ModuleKeyMap, KeysMapToCommands) {
    using KC = KeyCommand;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers pad = Qt::ControlModifier | Qt::KeypadModifier;
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        KC command;
    };
    const Case cases[] = {
        {Qt::Key_Escape, Qt::NoModifier, KC::CancelEditOrSelection},
        {Qt::Key_F4, Qt::ShiftModifier, KC::Picker},
        {Qt::Key_F5, Qt::NoModifier, KC::Refresh},
        {Qt::Key_F9, ctrl, KC::ToggleMasterDetail},
        {Qt::Key_F11, Qt::NoModifier, KC::SortAscending},
        {Qt::Key_F12, Qt::NoModifier, KC::SortDescending},
        {Qt::Key_Insert, Qt::NoModifier, KC::NewRecord},
        {Qt::Key_Delete, ctrl, KC::DeleteSelectedRecords},
        {Qt::Key_Delete, Qt::NoModifier, KC::None},
        {Qt::Key_P, ctrl | Qt::ShiftModifier, KC::Print},
        {Qt::Key_F, ctrl, KC::Filter},
        {Qt::Key_O, ctrl, KC::NextRecord},
        {Qt::Key_O, Qt::NoModifier, KC::None},
        {Qt::Key_6, pad, KC::NextRecord},
        {Qt::Key_6, ctrl, KC::None},
        {Qt::Key_U, ctrl, KC::PriorRecord},
        {Qt::Key_4, pad, KC::PriorRecord},
        {Qt::Key_8, pad, KC::FirstRecord},
        {Qt::Key_2, pad, KC::LastRecord},
        {Qt::Key_S, ctrl, KC::Save},
        {Qt::Key_K, ctrl, KC::Calendar},
        {Qt::Key_Q, ctrl, KC::Console},
        {Qt::Key_F10, Qt::NoModifier, KC::Settings},
        {Qt::Key_F1, Qt::NoModifier, KC::Help},
        {Qt::Key_A, ctrl, KC::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ModuleController::commandForKey(c.key, c.mods), c.command) << c.key;
}

TEST_F(ModuleControllerTest, KeysCarriedOutElsewhereGoToTheOwner) {
    for (int key : {Qt::Key_F4, Qt::Key_F5, Qt::Key_F11, Qt::Key_F12, Qt::Key_F10, Qt::Key_F1})
        controller->formKeyDown(key, Qt::NoModifier);
    controller->formKeyDown(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(external, (QList<KeyCommand>{KeyCommand::Picker, KeyCommand::Refresh, KeyCommand::SortAscending,
                                           KeyCommand::SortDescending, KeyCommand::Settings, KeyCommand::Help,
                                           KeyCommand::Print}));
    EXPECT_EQ(controller->formKeyDown(Qt::Key_O, Qt::NoModifier), KeyCommand::None);
}

} // namespace
} // namespace kelvarn
