#include "app/module_controller.h"
#include "app/module_datasets.h"
#include "app/print_controller.h"
#include "app/shell_controller.h"
#include "core/text_file.h"
#include "db/dataset.h"
#include "output/report_engine.h"
#include "output/report_error.h"
#include "support/db/print_samples.h"
#include "support/db/test_databases.h"
#include "support/fake_shell_view.h"
#include "support/scripted_prompts.h"

#include <QDir>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace kelvarn {
namespace {

using test::FakeShellView;
using test::ScriptedPrompts;
using Data = PrintFamily::Data;

// What one print dataset held while the report ran.
struct Seen {
    bool active = false;
    QString sql;
    QStringList ids; // the "id" column of every row
};

// An engine that records the reports it was asked to run and what their data held.
class RecordingEngine : public ReportEngine {
  public:
    void setProjectFile(const QString& path) override { file = path; }
    QString projectFile() const override { return file; }
    void openProject() override {
        calls << QStringLiteral("open");
        open = true;
    }
    bool isProjectOpen() const override { return open; }
    void closeProject() override {
        calls << QStringLiteral("close");
        open = false;
    }
    QStringList reportNames() const override { return open ? names : QStringList(); }
    void setParameter(const QString& name, const QString& value) override { parameters[name] = value; }
    QString parameter(const QString& name) const override { return parameters.value(name); }
    void bindConnection(int index, Dataset* dataset) override { connections[index] = dataset; }
    void runReport(const QString& name) override {
        calls << QStringLiteral("run ") + name;
        if (!runError.isEmpty())
            throw ReportError(runError);
        ran << name;
        parametersAtRun = parameters;
        seen.clear();
        for (const auto& [index, dataset] : connections) {
            if (!dataset)
                continue;
            Seen s;
            s.active = dataset->isActive();
            s.sql = dataset->sql();
            if (s.active && dataset->hasColumn(QStringLiteral("id")))
                for (int r = 0; r < dataset->recordCount(); ++r)
                    s.ids << dataset->textAt(r, dataset->columnIndex(QStringLiteral("id")));
            seen[dataset->name()] = s;
        }
    }

    QString file;
    bool open = false;
    QStringList names;
    QStringList calls;
    QStringList ran;
    QString runError;
    QMap<QString, QString> parameters;
    QMap<QString, QString> parametersAtRun;
    std::map<int, Dataset*> connections;
    std::map<QString, Seen> seen;
};

TEST(PrintFamilies, EachPanelOffersItsFamilyAndPreselectsByTheDocument) {
    const auto doc = [](const char* number, const char* payment, const char* delivery) {
        return IssuedDocument{QLatin1String(number), QString::fromUtf8(payment), QString::fromUtf8(delivery)};
    };
    const IssuedDocument none;
    const struct {
        const char* panel;
        IssuedDocument current;
        bool payer;
        const char* prefix;
        const char* preselected;
        Data data;
    } cases[] = {
        {"FormFAV-detail", doc("FAV-2010-00007", "hotově (pokladna)", ""), true, "M3_platce_DPH_",
         "Faktura_vydana_hotovostni", Data::Document},
        {"FormFAV-polozky", doc("FAV-2010-00007", "hotově (pokladna)", ""), false, "M3_neplatce_DPH_",
         "Faktura_vydana_hotovostni", Data::Document},
        {"FormFAV-detail", doc("FAV-2026-00001", "bank. převodem", ""), true, "M3_platce_DPH_",
         "Faktura_vydana_bezhotovostni", Data::Document},
        {"FormFAV-detail", doc("FAV-2026-00002", "Hotově", "Penzion"), true, "M3_platce_DPH_",
         "Faktura_vydana_dodaci_adresa_hotovostni", Data::Document},
        {"FormFAV-detail", doc("FAV-2026-00003", "převodem", "Sklad"), false, "M3_neplatce_DPH_",
         "Faktura_vydana_dodaci_adresa_bezhotovostni", Data::Document},
        {"FormFAV-detail", doc("PH-2026-00001", "hotově", ""), true, "M3_platce_DPH_", "Prodejka_za_hotove",
         Data::Document},
        {"FormFAV-detail", doc("ZLV-2026-00001", "hotově", ""), true, "M3_platce_DPH_", "", Data::Document},
        {"FormFAV-detail", doc("OP-2026-00001", "", ""), true, "M3_platce_DPH_", "", Data::Document},
        {"FormFAV-detail", doc("IDP-2026-00001", "", ""), true, "M3_platce_DPH_", "", Data::Document},
        {"FormFAV-seznam", none, true, "Mx_", "Seznam_dokladu", Data::Document},
        {"FormFAP-detail", none, true, "M4_", "Doklad_o_prijeti_zalohy", Data::Document},
        {"FormPPD-detail", none, true, "M5_", "Prijmovy_pokladni_doklad", Data::Document},
        {"FormVPD-detail", none, true, "M6_", "Vydajovy_pokladni_doklad", Data::Document},
        {"FormVPD-seznam", none, true, "Mx_", "Seznam_dokladu", Data::Document},
        {"FormHlavniKniha", none, true, "M1_", "Prijmy_a_Vydaje", Data::List},
        {"FormDPHvstup", none, true, "M2_", "Prijata_plneni", Data::List},
        {"FormDPHvystup", none, true, "M2_", "Uskutecnena_plneni", Data::List},
        {"FormMajetek-seznam", none, true, "M7_", "Seznam_majetku", Data::Assets},
        {"FormKnihaJizd", none, true, "M8_", "Kniha_jizd", Data::List},
        {"FormZboziSeznam", none, true, "M9_", "", Data::List},
        {"FormPartneriSeznam", none, true, "M10_", "", Data::List},
        {"FormZakazkySeznam", none, true, "M11_", "Zakazka", Data::Order},
        {"FormZakazky-detail", none, true, "M11_", "Zakazka", Data::Order},
        {"FormPodnikatel", none, true, "", "", Data::None},
        {"FormMajetek-detail", none, true, "", "", Data::None},
        {"FormMajetek-odpisy", none, true, "", "", Data::None},
        {"FormZbozi-detail", none, true, "", "", Data::None},
        {"FormPartneri-detail", none, true, "", "", Data::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.panel) + " " + c.current.number.toStdString());
        const PrintFamily f = PrintController::familyFor(QLatin1String(c.panel), c.current, c.payer);
        EXPECT_EQ(f.prefix, QLatin1String(c.prefix));
        EXPECT_EQ(f.preselected, QLatin1String(c.preselected));
        EXPECT_EQ(f.data, c.data);
    }
    // Issued documents keep their deposit lines apart; the others print all lines twice.
    EXPECT_TRUE(PrintController::familyFor(QStringLiteral("FormFAV-seznam"), none, true).issued);
    EXPECT_FALSE(PrintController::familyFor(QStringLiteral("FormPPD-seznam"), none, true).issued);
}

TEST(PrintFamilies, TheSelectionListsTheFamilyInProjectOrderWithoutItsPrefix) {
    const QStringList project = {"M3_platce_DPH_Faktura_vydana_hotovostni", "M1_Prijmy_a_Vydaje",
                                 "M3_platce_DPH_Faktura_vydana_dodaci_adresa_hotovostni",
                                 "m3_platce_DPH_Malymi", "XM3_platce_DPH_Uvnitr",
                                 "M3_platce_DPH_M3_platce_DPH_Dvakrat", "M10_Seznam_partneru"};
    const QStringList offered = PrintController::choices(project, QStringLiteral("M3_platce_DPH_"));
    EXPECT_EQ(offered, (QStringList{"Faktura_vydana_hotovostni", "Faktura_vydana_dodaci_adresa_hotovostni",
                                    "M3_platce_DPH_Dvakrat"}));
    EXPECT_EQ(PrintController::choices(project, QStringLiteral("M1_")), QStringList{"Prijmy_a_Vydaje"});
    EXPECT_TRUE(PrintController::choices(project, QString()).isEmpty());

    EXPECT_EQ(PrintController::preselectedIndex(offered, QStringLiteral("Faktura_vydana_dodaci")), 1);
    EXPECT_EQ(PrintController::preselectedIndex(offered, QString()), 0);
    EXPECT_EQ(PrintController::preselectedIndex(offered, QStringLiteral("Nic")), -1);
    EXPECT_EQ(PrintController::preselectedIndex({}, QString()), -1);
}

class PrintCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db = test::createTestDatabase(DbPlatform::Jet, true);
        ASSERT_TRUE(db);
        test::fillPrintSamples(*db->session);
        db->session->execute(QStringLiteral("UPDATE tbl_doklad SET doklad_vytisknut=0"));
        db->session->execute(QStringLiteral("UPDATE tbl_doklad SET doklad_vytisknut=1 WHERE id=1002"));
        db->session->execute(QStringLiteral(
            "INSERT INTO tbl_zakazka (id, zakazka, popis) VALUES (1001, 'ZAK-2026-00001', 'Kuchyň <dub> & \"buk\"')"));
        appDir = db->state.appDir;
        ASSERT_TRUE(writeCp1250File(appDir + QStringLiteral("kelvarn.ini"),
                                    QStringLiteral("[database string]\nProvider=Microsoft.Jet.OLEDB.4.0;"
                                                   "User ID=administrator;Password=;Data Source=") +
                                        appDir + QStringLiteral("kelvarn.db;\n[database platform]\n1\n"
                                                                "[show tips]\nNO\n")));
        previousDir_ = QDir::currentPath();
        ASSERT_TRUE(cwd_.isValid());
        QDir::setCurrent(cwd_.path());
        shell = std::make_unique<ShellController>(view, prompts, appDir);
        auto owned = std::make_unique<RecordingEngine>();
        engine = owned.get();
        engine->names = {"M3_platce_DPH_Faktura_vydana_hotovostni",
                         "M3_platce_DPH_Faktura_vydana_bezhotovostni",
                         "M3_platce_DPH_Faktura_vydana_dodaci_adresa_hotovostni",
                         "M3_platce_DPH_Prodejka_za_hotove",
                         "M3_platce_DPH_Zalohova_faktura",
                         "Mx_Doklad",
                         "Mx_Seznam_dokladu",
                         "M1_Prijmy_a_Vydaje",
                         "M7_Seznam_majetku",
                         "M11_Zakazka",
                         "M5_Prijmovy_pokladni_doklad"};
        shell->setReportEngine(std::move(owned));
        ASSERT_TRUE(shell->startUp());
        prompts.shown.clear();
    }
    void TearDown() override {
        shell.reset();
        QDir::setCurrent(previousDir_);
    }

    ModuleController& modules() { return shell->modules().controller(); }
    Dataset& dataset(const char* name) { return *shell->dataset(QLatin1String(name)); }

    void show(int tab, bool detail = false) {
        modules().tabChanged(tab);
        if (detail != (modules().detailShown(tab) == 1))
            modules().toggleMasterDetail();
    }
    void showIssued(int id, bool detail = true) {
        show(3, detail);
        ASSERT_TRUE(dataset("ADOFormFAV").locate(QStringLiteral("id"), id));
    }
    const Seen& seen(const char* name) { return engine->seen[QLatin1String(name)]; }
    QStringList lastOffered() const {
        return prompts.reportSelections.isEmpty() ? QStringList() : prompts.reportSelections.last().names;
    }
    QString lastPreselected() const {
        if (prompts.reportSelections.isEmpty())
            return {};
        const auto& s = prompts.reportSelections.last();
        return s.preselected >= 0 ? s.names.value(s.preselected) : QString();
    }
    QStringList printedFlags() {
        QStringList flags;
        QSqlQuery q(db->session->database());
        q.exec(QStringLiteral("SELECT doklad_vytisknut FROM tbl_doklad ORDER BY id"));
        while (q.next())
            flags << q.value(0).toString();
        return flags;
    }

    std::unique_ptr<test::TestDatabase> db;
    QString appDir;
    FakeShellView view;
    ScriptedPrompts prompts;
    RecordingEngine* engine = nullptr;
    std::unique_ptr<ShellController> shell;

  private:
    QTemporaryDir cwd_;
    QString previousDir_;
};

TEST_F(PrintCommandTest, AnInvoicePrintsWithItsItemLinesAndDepositLinesApart) {
    const QStringList flagsBefore = printedFlags();
    showIssued(1001);
    shell->printing().print(PrintTrigger::Key);

    EXPECT_EQ(lastOffered(), (QStringList{"Faktura_vydana_hotovostni", "Faktura_vydana_bezhotovostni",
                                          "Faktura_vydana_dodaci_adresa_hotovostni", "Prodejka_za_hotove",
                                          "Zalohova_faktura"}));
    EXPECT_EQ(lastPreselected(), QStringLiteral("Faktura_vydana_bezhotovostni"));
    ASSERT_EQ(engine->ran, QStringList{"M3_platce_DPH_Faktura_vydana_bezhotovostni"});
    EXPECT_TRUE(view.statusTexts.contains(QStringLiteral("Tisk...")));

    EXPECT_EQ(seen("ADOPrintDoklad").ids, QStringList{"1001"});
    EXPECT_EQ(seen("ADOPrintPolozky").ids.size(), 4); // the four ordinary lines
    EXPECT_EQ(seen("ADOPrintZalohy").ids.size(), 1);  // the one "#ZAL" line
    for (const QString& id : seen("ADOPrintZalohy").ids)
        EXPECT_FALSE(seen("ADOPrintPolozky").ids.contains(id));
    EXPECT_TRUE(seen("ADOPrintZalohy").sql.contains(QLatin1String("LIKE '#ZAL%'")));
    EXPECT_TRUE(seen("ADOPrintPolozky").sql.contains(QLatin1String("NOT LIKE '#ZAL%'")));
    EXPECT_TRUE(seen("ADOFormPodnikatel").active);

    // Closed afterwards; the document is not marked as printed.
    EXPECT_FALSE(shell->printing().printDataset(print_datasets::kDocument)->isActive());
    EXPECT_FALSE(shell->printing().printDataset(print_datasets::kItems)->isActive());
    EXPECT_FALSE(shell->printing().printDataset(print_datasets::kDeposits)->isActive());
    EXPECT_EQ(printedFlags(), flagsBefore);
    EXPECT_NE(view.status(), QStringLiteral("Tisk..."));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(PrintCommandTest, TheDocumentListPrintsFilteredListOrOnlyTheCurrentDocument) {
    showIssued(1002, false);
    prompts.reportChoices = {QStringLiteral("Seznam_dokladu"), QStringLiteral("Doklad")};
    shell->printing().print(PrintTrigger::Button);
    ASSERT_EQ(engine->ran, QStringList{"Mx_Seznam_dokladu"});
    EXPECT_EQ(lastPreselected(), QStringLiteral("Seznam_dokladu"));
    EXPECT_EQ(seen("ADOPrintDoklad").sql, shell->panelQueries().statement(QStringLiteral("FormFAV-seznam")));
    EXPECT_GE(seen("ADOPrintDoklad").ids.size(), 5);
    EXPECT_EQ(engine->parametersAtRun.value(QStringLiteral("filtr_jmeno")),
              QStringLiteral("Nebyl aplikován žádný filtr."));
    EXPECT_EQ(engine->parametersAtRun.value(QStringLiteral("filtr_definice")), QString());

    shell->printing().print(PrintTrigger::Button);
    ASSERT_EQ(engine->ran.last(), QStringLiteral("Mx_Doklad"));
    EXPECT_EQ(seen("ADOPrintDoklad").ids, QStringList{"1002"});
}

TEST_F(PrintCommandTest, ReceiptVoucherPrintsAllItsLinesInBothItemConnections) {
    show(5, true);
    ASSERT_TRUE(dataset("ADOFormPPD").locate(QStringLiteral("id"), 1008));
    shell->printing().print(PrintTrigger::Key);
    ASSERT_EQ(engine->ran, QStringList{"M5_Prijmovy_pokladni_doklad"});
    EXPECT_EQ(seen("ADOPrintDoklad").ids, QStringList{"1008"});
    EXPECT_EQ(seen("ADOPrintPolozky").sql, seen("ADOPrintZalohy").sql);
    EXPECT_TRUE(seen("ADOPrintPolozky").sql.contains(QLatin1String("id_tbl_doklad=1008")));
}

TEST_F(PrintCommandTest, ListsAssetsAndOrdersGetTheirParametersAndRows) {
    show(1);
    shell->printing().print(PrintTrigger::Key);
    ASSERT_EQ(engine->ran.last(), QStringLiteral("M1_Prijmy_a_Vydaje"));
    EXPECT_EQ(engine->parametersAtRun.value(QStringLiteral("filtr_jmeno")),
              QStringLiteral("Nebyl aplikován žádný filtr."));
    EXPECT_EQ(seen("ADOFormHlavniKniha").ids.size(), dataset("ADOFormHlavniKniha").recordCount());

    show(7);
    shell->printing().print(PrintTrigger::Key);
    ASSERT_EQ(engine->ran.last(), QStringLiteral("M7_Seznam_majetku"));
    EXPECT_EQ(seen("ADOPrintOdpisy").ids.size(), 3); // every depreciation row, not only the current asset's
    EXPECT_FALSE(shell->printing().printDataset(print_datasets::kDepreciation)->isActive());

    show(11);
    ASSERT_TRUE(dataset("ADOFormZakazky").locate(QStringLiteral("id"), 1001));
    shell->printing().print(PrintTrigger::Key);
    ASSERT_EQ(engine->ran.last(), QStringLiteral("M11_Zakazka"));
    EXPECT_EQ(seen("ADOPrintZakazka").ids, QStringList{"1001"});
    EXPECT_EQ(engine->parametersAtRun.value(QStringLiteral("zakazka_popis")),
              QStringLiteral("Kuchyň <dub> & \"buk\""));
    EXPECT_EQ(engine->parameter(QStringLiteral("zakazka_popis")), QStringLiteral("null"));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(PrintCommandTest, NothingIsPrintedWhenRefusedCancelledOrWithoutAFamily) {
    // Storno.
    show(1);
    prompts.reportChoices = {QString()};
    shell->printing().print(PrintTrigger::Key);
    EXPECT_TRUE(engine->ran.isEmpty());
    EXPECT_EQ(prompts.reportSelections.size(), 1);
    EXPECT_NE(view.status(), QStringLiteral("Tisk..."));

    // The entrepreneur panel: no dialog.
    show(0);
    shell->printing().print(PrintTrigger::Key);
    EXPECT_EQ(prompts.reportSelections.size(), 1);

    // A family the project has no report for: an empty list chooses nothing.
    show(8);
    shell->printing().print(PrintTrigger::Key);
    EXPECT_EQ(prompts.reportSelections.size(), 2);
    EXPECT_TRUE(prompts.reportSelections.last().names.isEmpty());
    EXPECT_TRUE(engine->ran.isEmpty());

    // A row being edited: message 4.
    show(1);
    dataset("ADOFormHlavniKniha").edit();
    shell->printing().print(PrintTrigger::Key);
    EXPECT_EQ(prompts.reportSelections.size(), 2);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(engine->ran.isEmpty());
    dataset("ADOFormHlavniKniha").cancel();
}

TEST_F(PrintCommandTest, ErrorsAreShownByTheWayThePrintWasGiven) {
    engine->runError = QStringLiteral("Sestava „M1_Prijmy_a_Vydaje“: chybí pole „datum“");
    show(1);
    engine->calls.clear();
    shell->printing().print(PrintTrigger::Key);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba tiskového systému"));
    EXPECT_EQ(prompts.shown[0].text, engine->runError);
    // The project is read again from the program folder.
    EXPECT_EQ(engine->calls, (QStringList{"run M1_Prijmy_a_Vydaje", "close", "open"}));
    EXPECT_EQ(engine->file, appDir + QStringLiteral("sestavy.rav"));
    EXPECT_EQ(engine->parameter(QStringLiteral("p_logo01")), appDir + QStringLiteral("logo.bmp"));

    engine->calls.clear();
    shell->printing().print(PrintTrigger::Button);
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(prompts.shown[1].caption, QStringLiteral("Chyba"));
    EXPECT_EQ(engine->calls, QStringList{"run M1_Prijmy_a_Vydaje"});
    EXPECT_NE(view.status(), QStringLiteral("Tisk..."));

    // The next print works.
    engine->runError.clear();
    shell->printing().print(PrintTrigger::Key);
    EXPECT_EQ(engine->ran, QStringList{"M1_Prijmy_a_Vydaje"});
    EXPECT_EQ(prompts.shown.size(), 2);
}

} // namespace
} // namespace kelvarn
