#include "module_window_fixture.h"

#include "lists/panel_queries.h"
#include "ui/business_overview_box.h"
#include "ui/entrepreneur_panel.h"
#include "ui/figure_box.h"
#include "ui/main_menu.h"

#include <QAction>
#include <QPushButton>

namespace kelvarn {
namespace {

// The cash book in the real window: registering documents from their panels,
// saving and deleting with the settlement question, the strips of sums and the
// business overview. Set KELVARN_SCREENSHOT_DIR to keep pictures of the panels.
class CashBookWindowTest : public ModuleWindowFixture {
  protected:
    // A document of the year; a null remaining amount is left empty.
    void document(const char* number, int type, const QVariant& remaining, double gross, double net,
                  double vat, const char* purpose = "") {
        db->session->execute(
            QStringLiteral("INSERT INTO tbl_doklad (cislo_dokladu, doklad_typ, zbyva_uhradit, "
                           "celkem_doklad_s_dph, celkem_doklad, celkem_doklad_dph, datum_spatnosti, "
                           "pohledavka_zavazek, poznamka2) VALUES (?, ?, ?, ?, ?, ?, ?, 'Ano', ?)"),
            {QLatin1String(number), type, remaining, gross, net, vat, QDateTime(kDue, QTime(0, 0)),
             QString::fromUtf8(purpose)});
    }
    void bookRow(const QDate& date, const char* description, double income, double expense,
                 double nonTaxableIncome = 0) {
        db->session->execute(
            QStringLiteral(
                "INSERT INTO tbl_hlavnikniha (datum, doklad, popis, prijem_danovy, prijem_nedanovy, "
                "vydaj_danovy, vydaj_nedanovy) VALUES (?, 'X', ?, ?, ?, ?, 0)"),
            {QDateTime(date, QTime(0, 0)), QString::fromUtf8(description), income, nonTaxableIncome,
             expense});
    }
    // A document of a VAT list (claimed in the date's year) with its basic-rate slot.
    void vatDocument(const char* number, int type, double base, double vat, const QDate& claimed) {
        db->session->execute(
            QStringLiteral("INSERT INTO tbl_doklad (cislo_dokladu, doklad_typ, podklad_dph, "
                           "datum_uplatneni_plneni, celkem_bez_dph_19, celkem_dph_19, celkem_bez_dph_5, "
                           "celkem_dph_5) VALUES (?, ?, 'Ano', ?, ?, ?, 100, 12)"),
            {QLatin1String(number), type, QDateTime(claimed, QTime(0, 0)), base, vat});
    }

    Dataset& book() const { return *dataset(QStringLiteral("ADOFormHlavniKniha")); }
    QLineEdit* figure(const QString& name) const {
        return qobject_cast<QLineEdit*>(window->modulePages().control(name));
    }
    QString shown(const QString& name) const {
        const QLineEdit* box = figure(name);
        return box ? box->text() + (showsNegative(box) ? QStringLiteral(" red") : QString())
                   : QStringLiteral("<none>");
    }
    double remaining(const char* number) const {
        QSqlQuery q =
            db->session->query(QStringLiteral("SELECT zbyva_uhradit FROM tbl_doklad WHERE cislo_dokladu=?"),
                               {QLatin1String(number)});
        return q.next() ? q.value(0).toDouble() : -1;
    }
    // Shows the tab and makes the document current there.
    void select(int tab, const char* datasetName, const char* number) {
        showTab(tab);
        ASSERT_EQ(window->tabBar()->currentIndex(), tab);
        ASSERT_TRUE(dataset(QLatin1String(datasetName))
                        ->locate(QStringLiteral("cislo_dokladu"), QLatin1String(number)));
    }
    void shot(const char* name) {
        if (const QString dir = qEnvironmentVariable("KELVARN_SCREENSHOT_DIR"); !dir.isEmpty())
            shoot(dir + QStringLiteral("/cashbook-%1.png").arg(QLatin1String(name)));
    }

    const QDate kDue{2026, 3, 2};
};

TEST_F(CashBookWindowTest, RegisterSaveAndDeleteSettleThroughTheWindow) {
    document("PH-2026-00001", 1, 1210.0, 1210, 1000, 210);
    select(3, "ADOFormFAV", "PH-2026-00001");
    window->mainMenu().registerIncome->trigger();

    // The cash book in front with the prefilled row, the VAT kept apart, no message.
    EXPECT_EQ(window->tabBar()->currentIndex(), 1);
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.captions().join(u',').toStdString();
    ASSERT_EQ(book().state(), Dataset::State::Insert);
    EXPECT_EQ(book().asString(QStringLiteral("doklad")), QStringLiteral("PH-2026-00001"));
    EXPECT_EQ(book().asString(QStringLiteral("cislo_dokladu")), QStringLiteral("PH-2026-00001"));
    EXPECT_EQ(book().asString(QStringLiteral("popis")), QStringLiteral("Prodej zboží/služeb"));
    EXPECT_DOUBLE_EQ(book().asFloat(QStringLiteral("prijem_danovy")), 1000);
    EXPECT_DOUBLE_EQ(book().asFloat(QStringLiteral("prijem_nedanovy")), 210);
    EXPECT_EQ(book().value(QStringLiteral("datum")).toDate(), kDue);
    // Typing goes on in the description.
    EXPECT_EQ(QApplication::focusWidget(), grid(QStringLiteral("DBGridHlavniKniha")));
    EXPECT_EQ(grid(QStringLiteral("DBGridHlavniKniha"))->currentColumnName(), QStringLiteral("popis"));
    shot("registered");

    prompts.answers = {Answer::Yes, Answer::Yes};
    window->saveRecord();
    EXPECT_EQ(book().state(), Dataset::State::Browse);
    EXPECT_TRUE(prompts.sawCaption(QStringLiteral("Úhrada dokladu")));
    EXPECT_DOUBLE_EQ(remaining("PH-2026-00001"), 0);
    EXPECT_EQ(rowsIn(QStringLiteral("tbl_hlavnikniha")), 1);
    EXPECT_EQ(shown(QStringLiteral("Edit_prijem_danovy")), QStringLiteral("1 000,00"));
    EXPECT_EQ(shown(QStringLiteral("Edit_prijem_nedanovy")), QStringLiteral("210,00"));
    EXPECT_EQ(shown(QStringLiteral("Edit_zustatek")), QStringLiteral("1 210,00"));

    // A second registration shows the first row instead.
    prompts.shown.clear();
    select(3, "ADOFormFAV", "PH-2026-00001");
    window->mainMenu().registerExpense->trigger();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text,
              QStringLiteral("Doklad PH-2026-00001 již je v příjmech a výdajích zaevidován.   "));
    EXPECT_EQ(window->tabBar()->currentIndex(), 1);
    EXPECT_EQ(book().state(), Dataset::State::Browse);
    EXPECT_EQ(rowsIn(QStringLiteral("tbl_hlavnikniha")), 1);

    // Deleting the row offers the payment back and deletes it whatever the answer.
    prompts.shown.clear();
    prompts.answers = {Answer::Yes, Answer::Yes};
    window->toolbar().actions.value(QStringLiteral("DeleteRecords"))->trigger();
    ASSERT_TRUE(prompts.sawCaption(QStringLiteral("Úhrada dokladu")));
    EXPECT_TRUE(prompts.shown.last().text.contains(QStringLiteral("z \"0\" na \"1210\"")));
    EXPECT_DOUBLE_EQ(remaining("PH-2026-00001"), 1210);
    EXPECT_EQ(rowsIn(QStringLiteral("tbl_hlavnikniha")), 0);
    EXPECT_EQ(shown(QStringLiteral("Edit_zustatek")), QStringLiteral("0,00"));
}

// What the register commands refuse, with their messages; nothing reaches the cash book.
TEST_F(CashBookWindowTest, RegisterCommandsRefuseWhatTheyCannotRegister) {
    document("FAV-2026-00001", 1, 500.0, 500, 500, 0);
    document("PH-2026-00002", 1, QVariant(), 300, 300, 0);
    document("PH-2026-00003", 1, 300.0, 300, 300, 0);
    struct Case {
        const char* name;
        int tab;
        const char* dataset;
        const char* number;
        bool cashBookEditing;
        const char* caption;
        const char* textPart;
    };
    const Case cases[] = {
        {"invoice", 3, "ADOFormFAV", "FAV-2026-00001", false, "Není podporováno",
         "Teto typ dokladu musíte do příjmů a výdajů zaevidovat ručně.   "},
        {"empty remaining amount", 3, "ADOFormFAV", "PH-2026-00002", false, "Chybí částka",
         "Doklad PH-2026-00002 nemá vyplněnou částku \"Zbývá uhradit\""},
        {"cash book being edited", 3, "ADOFormFAV", "PH-2026-00003", true, "Chyba",
         "Prosím zrušte editační režim v modulu \"příjmy a výdaje\".   "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.cashBookEditing) {
            showTab(1);
            modules().newRecord(true);
            ASSERT_EQ(book().state(), Dataset::State::Insert);
        }
        select(c.tab, c.dataset, c.number);
        prompts.shown.clear();
        window->mainMenu().registerIncome->trigger();
        ASSERT_EQ(prompts.shown.size(), 1) << prompts.captions().join(u',').toStdString();
        EXPECT_EQ(prompts.shown[0].caption, QString::fromUtf8(c.caption));
        EXPECT_TRUE(prompts.shown[0].text.contains(QString::fromUtf8(c.textPart)))
            << prompts.shown[0].text.toStdString();
        EXPECT_EQ(window->tabBar()->currentIndex(), c.tab);
        EXPECT_EQ(rowsIn(QStringLiteral("tbl_hlavnikniha")), 0);
        if (c.cashBookEditing)
            book().cancel();
        EXPECT_EQ(book().state(), Dataset::State::Browse);
    }
}

// A VAT payer registering a voucher that names no invoice books it whole as taxable
// and is told to split it by hand (message 23).
TEST_F(CashBookWindowTest, VoucherWithoutInvoiceAsksThePayerToSplitByHand) {
    db->session->execute(
        QStringLiteral("INSERT INTO tbl_doklad (cislo_dokladu, doklad_typ, celkem_doklad_s_dph, "
                       "datum_spatnosti, poznamka2) VALUES ('VPD-2026-00001', 4, 605, ?, "
                       "'Nákup materiálu')"),
        {QDateTime(kDue, QTime(0, 0))});
    select(6, "ADOFormVPD", "VPD-2026-00001");
    window->mainMenu().registerExpense->trigger();
    ASSERT_EQ(prompts.captions(), QStringList{QStringLiteral("Plátce DPH")});
    ASSERT_EQ(book().state(), Dataset::State::Insert);
    EXPECT_DOUBLE_EQ(book().asFloat(QStringLiteral("vydaj_danovy")), 605);
    EXPECT_TRUE(book().asString(QStringLiteral("cislo_dokladu")).isEmpty());
    EXPECT_EQ(book().asString(QStringLiteral("popis")), QStringLiteral("Nákup zboží/služeb"));
}

// The row and the settlement it triggers are one: when the document's write fails,
// the row is not written either, the error is shown and the row stays for a retry.
TEST_F(CashBookWindowTest, FailingDocumentWriteUndoesTheCashBookRow) {
    document("PH-2026-00001", 1, 1210.0, 1210, 1000, 210);
    select(3, "ADOFormFAV", "PH-2026-00001");
    window->mainMenu().registerIncome->trigger();
    ASSERT_EQ(book().state(), Dataset::State::Insert);
    db->session->execute(QStringLiteral("CREATE TRIGGER refuse_document BEFORE UPDATE ON tbl_doklad "
                                        "BEGIN SELECT RAISE(ABORT, 'zapis odmitnut'); END"));
    prompts.answers = {Answer::Yes, Answer::Yes};
    window->saveRecord();
    ASSERT_FALSE(prompts.shown.isEmpty());
    EXPECT_EQ(prompts.shown.last().caption, QStringLiteral("Chyba"));
    EXPECT_TRUE(prompts.shown.last().text.contains(QStringLiteral("zapis odmitnut")));
    EXPECT_EQ(book().state(), Dataset::State::Insert);
    EXPECT_EQ(rowsIn(QStringLiteral("tbl_hlavnikniha")), 0);
    EXPECT_DOUBLE_EQ(remaining("PH-2026-00001"), 1210);
    EXPECT_FALSE(db->session->inTransaction());

    db->session->execute(QStringLiteral("DROP TRIGGER refuse_document"));
    prompts.answers = {Answer::Yes, Answer::Yes};
    window->saveRecord();
    EXPECT_EQ(book().state(), Dataset::State::Browse);
    EXPECT_EQ(rowsIn(QStringLiteral("tbl_hlavnikniha")), 1);
    EXPECT_DOUBLE_EQ(remaining("PH-2026-00001"), 0);
}

// The strips under the cash book and the VAT lists: the sums of the rows listed
// (a filter narrows them), red when negative, named for assistive tools.
TEST_F(CashBookWindowTest, StripsShowTheListedRowsAndNegativeFiguresInRed) {
    bookRow(QDate(2026, 1, 5), "Tržba", 12500.5, 0, 2625.1);
    bookRow(QDate(2026, 1, 9), "Materiál", 0, 14000);
    vatDocument("FAV-2026-00009", 1, 10000, 2100, QDate(2026, 2, 1));
    vatDocument("FAV-2026-00010", 1, -2000, -420, QDate(2026, 2, 3)); // a credit note
    vatDocument("FAP-2026-00009", 2, 1000, 210, QDate(2026, 2, 1));

    showTab(1);
    EXPECT_EQ(shown(QStringLiteral("Edit_prijem_danovy")), QStringLiteral("12 500,50"));
    EXPECT_EQ(shown(QStringLiteral("Edit_prijem_nedanovy")), QStringLiteral("2 625,10"));
    EXPECT_EQ(shown(QStringLiteral("Edit_vydaj_danovy")), QStringLiteral("14 000,00"));
    EXPECT_EQ(shown(QStringLiteral("Edit_vydaj_nedanovy")), QStringLiteral("0,00"));
    EXPECT_EQ(shown(QStringLiteral("Edit_zustatek")), QStringLiteral("1 125,60"));
    EXPECT_EQ(figure(QStringLiteral("Edit_zustatek"))->accessibleName(), QStringLiteral("Rozdíl"));
    shot("strip");

    window->controller().panelQueries().query(QStringLiteral("FormHlavniKniha")).filterCondition =
        QStringLiteral("(popis = 'Materiál')");
    grid(QStringLiteral("DBGridHlavniKniha"))->setFocus();
    QTest::keyClick(grid(QStringLiteral("DBGridHlavniKniha")), Qt::Key_F5);
    EXPECT_EQ(book().recordCount(), 1);
    EXPECT_EQ(shown(QStringLiteral("Edit_prijem_danovy")), QStringLiteral("0,00"));
    EXPECT_EQ(shown(QStringLiteral("Edit_zustatek")), QStringLiteral("-14 000,00 red"));
    QPalette normal = figure(QStringLiteral("Edit_prijem_danovy"))->palette();
    EXPECT_EQ(figure(QStringLiteral("Edit_zustatek"))->palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_NE(normal.color(QPalette::Text), QColor(Qt::red));
    shot("strip-filtered");

    showTab(2);
    EXPECT_EQ(shown(QStringLiteral("Edit_zaklad192")), QStringLiteral("8 000,00"));
    EXPECT_EQ(shown(QStringLiteral("Edit_dph192")), QStringLiteral("1 680,00"));
    EXPECT_EQ(shown(QStringLiteral("Edit_zaklad52")), QStringLiteral("200,00"));
    EXPECT_EQ(shown(QStringLiteral("Edit_dph191")), QStringLiteral("210,00"));
    EXPECT_EQ(shown(QStringLiteral("Edit_zaklad01")), QStringLiteral("0,00"));
    window->controller().panelQueries().query(QStringLiteral("FormDPHvystup")).filterCondition =
        QStringLiteral("(cislo_dokladu = 'FAV-2026-00010')");
    grid(QStringLiteral("DBGridDPHvystup"))->setFocus();
    QTest::keyClick(grid(QStringLiteral("DBGridDPHvystup")), Qt::Key_F5);
    EXPECT_EQ(shown(QStringLiteral("Edit_dph192")), QStringLiteral("-420,00 red"));
    EXPECT_EQ(shown(QStringLiteral("Edit_dph191")), QStringLiteral("210,00"));
    EXPECT_EQ(figure(QStringLiteral("Edit_dph192"))->accessibleName(),
              QStringLiteral("DPH (základní sazba)"));
    shot("vat");
}

// "  Aktualizovat" fills the overview; the tax base is this year's taxable income
// minus this year's taxable expense.
TEST_F(CashBookWindowTest, OverviewIsFilledByItsButtonOnly) {
    const int year = QDate::currentDate().year();
    bookRow(QDate(year, 1, 5), "Tržba", 50000, 0, 9000);
    bookRow(QDate(year, 2, 5), "Materiál", 0, 20000);
    bookRow(QDate(year - 1, 12, 31), "Loňská tržba", 7000, 0);
    vatDocument("FAV-X-1", 1, 10000, 2100, QDate(year, 2, 1));
    vatDocument("FAP-X-1", 2, 20000, 4200, QDate(year, 2, 1));
    document("FAP-2026-00002", 2, 700.0, 700, 700, 0);
    document("FAV-2026-00002", 1, 300.0, 300, 300, 0);

    showTab(0);
    BusinessOverviewBox* overview = window->entrepreneurPanel()->overview();
    ASSERT_TRUE(overview->isVisible());
    for (const char* name : {"Memo6", "Memo7", "Memo8", "Memo9"})
        EXPECT_TRUE(overview->field(QLatin1String(name))->text().isEmpty()) << name;
    EXPECT_EQ(overview->refreshButton()->text(), QStringLiteral("  Aktualizovat"));
    EXPECT_EQ(overview->field(QStringLiteral("Memo9"))->accessibleName(),
              QStringLiteral("Základ DzP (aktuální rok)"));

    QTest::mouseClick(overview->refreshButton(), Qt::LeftButton);
    auto text = [overview](const char* name) {
        const QLineEdit* box = overview->field(QLatin1String(name));
        return box->text() + (showsNegative(box) ? QStringLiteral(" red") : QString());
    };
    EXPECT_EQ(text("Memo6"), QStringLiteral("700,00"));
    EXPECT_EQ(text("Memo7"), QStringLiteral("300,00"));
    // Output 2100 + 12 less input 4200 + 12.
    EXPECT_EQ(text("Memo8"), QStringLiteral("-2 100,00 red"));
    EXPECT_EQ(text("Memo9"), QStringLiteral("30 000,00"));
    shot("overview");

    // Nothing else recomputes it.
    bookRow(QDate(year, 3, 1), "Stroj", 0, 45000);
    showTab(1);
    showTab(0);
    EXPECT_EQ(text("Memo9"), QStringLiteral("30 000,00"));
    overview->refreshButton()->click();
    EXPECT_EQ(text("Memo9"), QStringLiteral("-15 000,00 red"));
}

} // namespace
} // namespace kelvarn
