#include "app/filter_commands.h"
#include "app/module_datasets.h"
#include "cashbook/totals_figures.h"
#include "core/diagnostic_log.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "db/db_error.h"
#include "lists/panel_queries.h"
#include "support/db/test_databases.h"
#include "support/fake_shell_view.h"
#include "support/scripted_prompts.h"

#include <QMap>
#include <gtest/gtest.h>

#include <memory>

using namespace kelvarn;
using namespace kelvarn::test;

namespace {

class StatusView : public ModuleView {
  public:
    void setContainerVisible(const QString&, bool) override {}
    void setFocus(const FocusTarget&) override {}
    QString focusedControl() const override { return {}; }
    QList<Dataset::Bookmark> selectedRows(const QString&) const override { return {}; }
    void setGridReadOnly(const QString&, bool) override {}
    void setRecordCount(int count, bool isFiltered) override {
        records = count;
        filtered = isFiltered;
    }
    void setStatusText(const QString& text) override { status = text; }

    int records = -1;
    bool filtered = false;
    QString status;
};

// The module lists of the window on an embedded database with documents, items
// and cash-book rows, and the filter commands over them. The dialog is played by
// `dialog`, which gets the prepared editor.
class FilterCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db = createTestDatabase(DbPlatform::Jet);
        ASSERT_TRUE(db);
        db->state.loggedIn = true;
        db->state.saveWithoutPrompt = true;
        db->state.vatReduced = 12;
        db->state.vatBasic = 21;
        db->state.ascendingOrder = true;
        context = std::make_unique<DbContext>(*db->session, db->state, prompts, log);
        seed();
        queries = std::make_unique<PanelQueries>(*context);
        entrepreneur = std::make_unique<Dataset>(*db->session, QStringLiteral("ADOFormPodnikatel"));
        entrepreneur->setTable(QStringLiteral("tbl_podnikatel"));
        modules = std::make_unique<ModuleDatasets>(*db->session, *context, *entrepreneur, *queries, shell);
        queries->init([this](const QString& name) { return modules->dataset(name); });
        modules->setView(&view);
        maps = buildCaptionMaps(db->state);
        filters = std::make_unique<FilterCommands>(
            modules->controller(), *queries, *context, *db->session,
            [this](int tab) { return ColumnCaptionMap::read(maps[tab]); },
            [this](const QString& panel) { modules->refreshPanel(panel); });
        filters->setShowDialog([this](FilterEditor& editor, FilterResult& result, qint64& id) {
            ++dialogs;
            if (dialog)
                dialog(editor, result, id);
        });
    }

    void seed() {
        auto document = [&](const char* number, int type, double remaining, const char* currency) {
            db->session->execute(QStringLiteral("INSERT INTO tbl_doklad (cislo_dokladu, doklad_typ, zbyva_uhradit, "
                                                "mena, podklad_dph, datum_uplatneni_plneni) VALUES (?, ?, ?, ?, "
                                                "'Ano', ?)"),
                                 {QString::fromLatin1(number), type, remaining, QString::fromLatin1(currency),
                                  QDateTime(QDate(2024, 3, 1), QTime())});
        };
        document("FAV-2024-1", 1, 0, "CZK");
        document("FAV-2024-2", 1, 150.5, "EUR");
        document("FAV-2024-3", 1, 20, "CZK");
        document("FAP-2024-1", 2, 30, "CZK");
        auto item = [&](const char* number, const char* code) {
            db->session->execute(
                QStringLiteral("INSERT INTO tbl_polozky (id_tbl_doklad, cislo_radku, kod_zbozi) SELECT id, 1, ? "
                               "FROM tbl_doklad WHERE cislo_dokladu = ?"),
                {QString::fromLatin1(code), QString::fromLatin1(number)});
        };
        item("FAV-2024-1", "A");
        item("FAV-2024-3", "B");
        auto bookRow = [&](int day, const char* text, double income, double expense) {
            db->session->execute(QStringLiteral("INSERT INTO tbl_hlavnikniha (datum, doklad, popis, prijem_danovy, "
                                                "vydaj_danovy) VALUES (?, 'X', ?, ?, ?)"),
                                 {QDateTime(QDate(2024, 1, day), QTime()), QString::fromUtf8(text), income, expense});
        };
        bookRow(1, "Tržba", 1000, 0);
        bookRow(2, "Nájem", 0, 2500);
        bookRow(3, "Tržba", 300.25, 0);
    }

    // Opens the module's tab as the window does.
    void show(int tab) { modules->controller().tabChanged(tab); }

    // A stored filter of the tab (as the dialog's grid and memo would make it).
    qint64 storeFilter(int tab, const QString& name, const QString& definition) {
        FilterEditor& editor = filters->editor();
        editor.prepare(tab, 0, ColumnCaptionMap::read(maps[tab]));
        editor.newRow();
        editor.filters().setValue(QStringLiteral("nazev"), name);
        editor.setDefinition(definition);
        EXPECT_TRUE(editor.save());
        return editor.filters().asInteger(QStringLiteral("id"));
    }

    // The dialog applies the filter of that name.
    void choose(const QString& name) {
        dialog = [name](FilterEditor& editor, FilterResult& result, qint64& id) {
            ASSERT_TRUE(editor.filters().locate(QStringLiteral("nazev"), name));
            ASSERT_TRUE(editor.close(true, result, id));
        };
    }

    QStringList numbers(const char* dataset) {
        QStringList out;
        Dataset& ds = *modules->dataset(QLatin1String(dataset));
        for (int row = 0; row < ds.recordCount(); ++row)
            out << ds.textAt(row, ds.columnIndex(QStringLiteral("cislo_dokladu")));
        return out;
    }

    std::unique_ptr<TestDatabase> db;
    ScriptedPrompts prompts;
    DiagnosticLog log;
    std::unique_ptr<DbContext> context;
    FakeShellView shell;
    StatusView view;
    std::unique_ptr<PanelQueries> queries;
    std::unique_ptr<Dataset> entrepreneur;
    std::unique_ptr<ModuleDatasets> modules;
    std::array<QString, kCaptionMapCount> maps;
    std::unique_ptr<FilterCommands> filters;
    FilterCommands::ShowDialog dialog;
    int dialogs = 0;
};

} // namespace

TEST_F(FilterCommandsTest, FiltersAreStoredPerModuleWithTheirStampsAndName) {
    const qint64 partners = storeFilter(10, QStringLiteral("Pražští"), QStringLiteral("[Obec] = 'Praha'"));
    storeFilter(10, QString(), QStringLiteral("[IČ] IS NULL"));
    FilterEditor& editor = filters->editor();
    editor.prepare(9, 0, {});
    EXPECT_EQ(editor.filters().recordCount(), 0);
    editor.prepare(10, partners, {});
    ASSERT_EQ(editor.filters().recordCount(), 2);
    // Ordered by name; the one applied last is where the grid stands.
    EXPECT_EQ(editor.filters().asString(QStringLiteral("nazev")), QStringLiteral("Pražští"));
    editor.first();
    EXPECT_EQ(editor.filters().asString(QStringLiteral("nazev")), QStringLiteral("Filtr"));
    for (int row = 0; row < 2; ++row) {
        editor.filters().moveTo(row);
        EXPECT_EQ(editor.filters().asInteger(QStringLiteral("id_panel")), 10);
        EXPECT_FALSE(editor.filters().isNull(QStringLiteral("dateTS0")));
        EXPECT_FALSE(editor.filters().isNull(QStringLiteral("dateTS1")));
    }
    // Saving asks first unless the setting says otherwise; No keeps the row open.
    db->state.saveWithoutPrompt = false;
    editor.filters().edit();
    editor.filters().setValue(QStringLiteral("nazev"), QStringLiteral("Jiný"));
    prompts.answers = {Answer::No};
    EXPECT_FALSE(editor.save());
    EXPECT_TRUE(editor.filters().isEditing());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].style, MessageStyle::Question);
}

TEST_F(FilterCommandsTest, ApplyingAndCancellingNarrowTheListWithTheStatusTexts) {
    show(3);
    ASSERT_EQ(numbers("ADOFormFAV").size(), 3);
    const qint64 id = storeFilter(3, QStringLiteral("Dlužné"), QStringLiteral("[zBÝVÁ uhradit] > 0.00\r\nAND\r\n[Měna] = 'CZK'"));
    choose(QStringLiteral("Dlužné"));
    filters->filterClick();
    EXPECT_EQ(numbers("ADOFormFAV"), QStringList{QStringLiteral("FAV-2024-3")});
    EXPECT_EQ(filters->appliedFilterId(3), id);
    EXPECT_EQ(queries->query(QStringLiteral("FormFAV-seznam")).filterText,
              QStringLiteral("[zBÝVÁ uhradit] > 0.00 AND [Měna] = 'CZK'"));
    EXPECT_EQ(queries->query(QStringLiteral("FormFAV-seznam")).filterCondition,
              QStringLiteral("zbyva_uhradit > 0.00 AND mena = 'CZK'"));
    EXPECT_EQ(view.status, QStringLiteral("Aktivní filtr: Dlužné"));
    EXPECT_TRUE(view.filtered);
    EXPECT_EQ(view.records, 1);
    EXPECT_EQ(modules->controller().printFilterCaption(), QStringLiteral("Použitý filtr: Dlužné"));

    // The dialog opens on the filter applied last; Storno changes nothing.
    dialog = [](FilterEditor& editor, FilterResult& result, qint64& appliedId) {
        EXPECT_EQ(editor.filters().asString(QStringLiteral("nazev")), QStringLiteral("Dlužné"));
        ASSERT_TRUE(editor.close(false, result, appliedId));
    };
    filters->filterClick();
    EXPECT_EQ(numbers("ADOFormFAV").size(), 1);

    // Another module keeps its own applied filter.
    EXPECT_EQ(filters->appliedFilterId(4), 0);

    filters->filterCancelClick();
    EXPECT_EQ(numbers("ADOFormFAV").size(), 3);
    EXPECT_EQ(filters->appliedFilterId(3), 0);
    EXPECT_EQ(view.status, QStringLiteral("Není aplikován žádný filtr. Jsou zobrazeny všechny záznamy."));
    EXPECT_FALSE(view.filtered);
}

TEST_F(FilterCommandsTest, TheItemPartListsDocumentsWithAMatchingLine) {
    show(3);
    struct Case {
        const char* definition;
        QStringList expected;
    };
    const Case cases[] = {
        {"$ [Položka_Kód] = 'A'", {"FAV-2024-1"}},
        {"[Měna] = 'CZK' $ AND [položka_kód] = 'B'", {"FAV-2024-3"}},
        {"[Měna] = 'EUR' $ OR [Položka_Kód] = 'A'", {"FAV-2024-1", "FAV-2024-2"}},
        {"[Měna] = 'EUR' $ [Položka_Kód] = 'A'", {}},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString name = QStringLiteral("f%1").arg(++n);
        storeFilter(3, name, QString::fromUtf8(c.definition));
        choose(name);
        filters->filterClick();
        EXPECT_EQ(numbers("ADOFormFAV"), c.expected) << c.definition;
    }
}

TEST_F(FilterCommandsTest, BothVatListsCarryTheOneFilter) {
    show(2);
    storeFilter(2, QStringLiteral("Březen"), QStringLiteral("[Číslo dokladu] LIKE '%-3'"));
    choose(QStringLiteral("Březen"));
    filters->filterClick();
    for (const char* list : {"FormDPHvstup", "FormDPHvystup"}) {
        const PanelQuery& q = queries->query(QLatin1String(list));
        EXPECT_EQ(q.filterName, QStringLiteral("Březen")) << list;
        EXPECT_EQ(q.filterCondition, QStringLiteral("cislo_dokladu LIKE '%-3'")) << list;
    }
    EXPECT_EQ(numbers("ADOFormDPHvystup"), QStringList{QStringLiteral("FAV-2024-3")});
    EXPECT_TRUE(numbers("ADOFormDPHvstup").isEmpty());
    filters->filterCancelClick();
    EXPECT_TRUE(queries->query(QStringLiteral("FormDPHvstup")).filterName.isEmpty());
    EXPECT_TRUE(queries->query(QStringLiteral("FormDPHvystup")).filterName.isEmpty());
}

TEST_F(FilterCommandsTest, AFaultyFilterIsNamedAndTheListStaysAsItWas) {
    show(3);
    storeFilter(3, QStringLiteral("Dlužné"), QStringLiteral("[Zbývá uhradit] > 0"));
    choose(QStringLiteral("Dlužné"));
    filters->filterClick();
    ASSERT_EQ(numbers("ADOFormFAV").size(), 2);

    struct Case {
        const char* definition;
        const char* told; // a piece of the message; "" for the database's own refusal
    };
    const Case cases[] = {
        {"[Zbývá uhradit] > 0 AND [Kurs] = 1", "[Kurs]"},
        {"[Příjem] > 0", "[Příjem]"}, // a caption of the cash book
        {"[Měna] = 'CZK", "apostrof"},
        {"[Měna] = 'CZK'; DELETE FROM tbl_doklad", "středník"},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString name = QStringLiteral("chybný %1").arg(++n);
        storeFilter(3, name, QString::fromUtf8(c.definition));
        prompts.shown.clear();
        bool closed = true;
        dialog = [&](FilterEditor& editor, FilterResult& result, qint64& id) {
            ASSERT_TRUE(editor.filters().locate(QStringLiteral("nazev"), name));
            closed = editor.close(true, result, id);
        };
        filters->filterClick();
        EXPECT_FALSE(closed) << c.definition; // the dialog stays open to correct it
        ASSERT_EQ(prompts.shown.size(), 1) << c.definition;
        EXPECT_TRUE(prompts.shown.first().text.contains(QString::fromUtf8(c.told))) << prompts.shown.first().text.toStdString();
        EXPECT_EQ(numbers("ADOFormFAV").size(), 2) << c.definition;
        EXPECT_EQ(view.status, QStringLiteral("Aktivní filtr: Dlužné"));
    }
    EXPECT_EQ(scalar(*db->session, QStringLiteral("SELECT count(*) FROM tbl_doklad")), QStringLiteral("4"));
    // Nor does a second statement reach the database by any other way.
    EXPECT_THROW(filters->apply(QStringLiteral("FormFAV-seznam"),
                                {QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("1=1; DELETE FROM tbl_doklad")}),
                 DbError);
    EXPECT_EQ(queries->query(QStringLiteral("FormFAV-seznam")).filterName, QStringLiteral("Dlužné"));

    // What only the database finds: its error, and the list under the previous filter.
    storeFilter(3, QStringLiteral("rozbitý"), QStringLiteral("[Zbývá uhradit] >"));
    choose(QStringLiteral("rozbitý"));
    EXPECT_THROW(filters->filterClick(), DbError);
    EXPECT_EQ(numbers("ADOFormFAV").size(), 2);
    EXPECT_EQ(queries->query(QStringLiteral("FormFAV-seznam")).filterName, QStringLiteral("Dlužné"));
    EXPECT_EQ(view.status, QStringLiteral("Aktivní filtr: Dlužné"));
}

TEST_F(FilterCommandsTest, DetailsAndEditedRowsRefuseTheCommands) {
    show(3);
    modules->controller().toggleMasterDetail(); // FormFAV-detail
    filters->filterClick();
    filters->filterCancelClick();
    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(prompts.shown.isEmpty());
    modules->controller().toggleMasterDetail();
    show(0);
    filters->filterClick();
    EXPECT_EQ(dialogs, 0);

    show(8);
    Dataset& trips = *modules->dataset(QStringLiteral("ADOFormKnihaJizd"));
    trips.append();
    ASSERT_EQ(modules->controller().currentPanelId(), QStringLiteral("FormKnihaJizd"));
    filters->filterClick();
    EXPECT_EQ(dialogs, 0);
    ASSERT_EQ(prompts.shown.size(), 1); // message 4
    trips.cancel();

    // The dialog does not close over a filter row being edited, except by applying it.
    storeFilter(9, QStringLiteral("A"), QStringLiteral("[Kód zboží] = 'A'"));
    FilterEditor& editor = filters->editor();
    editor.prepare(9, 0, ColumnCaptionMap::read(maps[9]));
    editor.filters().edit();
    FilterResult result;
    qint64 id = 0;
    prompts.shown.clear();
    EXPECT_FALSE(editor.close(false, result, id));
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(editor.close(true, result, id));
    EXPECT_EQ(result.condition, QStringLiteral("kod_zbozi = 'A'"));
}

TEST_F(FilterCommandsTest, InsertingAnAttributeReplacesTheSelection) {
    FilterEditor& editor = filters->editor();
    editor.prepare(3, 0, ColumnCaptionMap::read(maps[3]));
    const QStringList items = editor.attributeItems();
    EXPECT_EQ(items.first(), QStringLiteral("[ID]"));
    EXPECT_TRUE(items.contains(QStringLiteral("[Položka_Kód]")));
    EXPECT_EQ(items.mid(items.size() - 4),
              (QStringList{"UPPER", "LOWER", "DATE()", "datum..."}));

    auto noDate = [] { return std::optional<QDate>(); };
    EXPECT_FALSE(editor.insertAttribute(QString(), QStringLiteral("x"), 0, 0, noDate));
    EXPECT_FALSE(editor.insertAttribute(QStringLiteral("datum..."), QStringLiteral("x"), 0, 0, noDate));
    EXPECT_FALSE(editor.filters().isEditing());

    struct Case {
        const char* item;
        const char* memo;
        int start;
        int length;
        const char* after;
        int insertedLength;
    };
    const Case cases[] = {
        {"%", "LIKE 'a'", 7, 0, "LIKE 'a%'", 1},
        {"LIKE", "[Měna]  'EUR'", 7, 0, "[Měna] LIKE  'EUR'", 5},
        {"[Zbývá uhradit]", "XX > 0", 0, 2, "[Zbývá uhradit]  > 0", 16},
        {"datum...", "[Datum vystavení] > ", 20, 0, "[Datum vystavení] > '05.03.2010'", 12},
    };
    for (const Case& c : cases) {
        const auto inserted = editor.insertAttribute(QString::fromUtf8(c.item), QString::fromUtf8(c.memo), c.start,
                                                     c.length, [] { return std::optional<QDate>(QDate(2010, 3, 5)); });
        ASSERT_TRUE(inserted) << c.item;
        EXPECT_EQ(inserted->text, QString::fromUtf8(c.after));
        EXPECT_EQ(inserted->start, c.start);
        EXPECT_EQ(inserted->length, c.insertedLength) << c.item;
        // An empty list starts a new filter for the text.
        EXPECT_EQ(editor.filters().state(), Dataset::State::Insert);
        EXPECT_EQ(editor.filters().asString(QStringLiteral("definice")), inserted->text);
    }
}

TEST_F(FilterCommandsTest, TheCashBookTotalsFollowTheFilter) {
    QMap<QString, QString> figures;
    modules->totals().setShow([&figures](const std::vector<Figure>& shown) {
        for (const Figure& f : shown)
            figures[f.control] = f.text;
    });
    const QString comma = db->state.decimalSeparator;
    show(1);
    EXPECT_EQ(figures.value(QStringLiteral("Edit_zustatek")), formatAmount(-1199.75, comma));
    storeFilter(1, QStringLiteral("Tržby"), QStringLiteral("[popis OPERACE] = 'Tržba'"));
    choose(QStringLiteral("Tržby"));
    filters->filterClick();
    EXPECT_EQ(view.records, 2);
    EXPECT_EQ(figures.value(QStringLiteral("Edit_prijem_danovy")), formatAmount(1300.25, comma));
    EXPECT_EQ(figures.value(QStringLiteral("Edit_vydaj_danovy")), formatAmount(0, comma));
    EXPECT_EQ(figures.value(QStringLiteral("Edit_zustatek")), formatAmount(1300.25, comma));
    filters->filterCancelClick();
    EXPECT_EQ(view.records, 3);
    EXPECT_EQ(figures.value(QStringLiteral("Edit_vydaj_danovy")), formatAmount(2500, comma));
    EXPECT_EQ(figures.value(QStringLiteral("Edit_zustatek")), formatAmount(-1199.75, comma));
}
