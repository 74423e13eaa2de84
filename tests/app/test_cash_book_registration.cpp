#include "app/cash_book_registration.h"
#include "module_datasets_fixture.h"

#include <QDate>

#include <functional>

namespace kelvarn {
namespace {

using test::ScriptedPrompts;

const QString kNotSupported = QStringLiteral("Není podporováno");
const QString kVatPayer = QStringLiteral("Plátce DPH");

// A VAT payer's documents of every kind.
class CashBookRegistrationTest : public test::ModuleDatasetsTest {
  protected:
    void seed() override {
        const QDateTime due(QDate(2010, 3, 15), QTime(0, 0));
        document("PH-2010-00003", 1, 1000, 210, 1210, 1210, {}, due);
        document("FAV-2010-00007", 1, 702.89, 147.61, 850.5, 850.5, {}, due);
        document("PH-2010-00009", 1, 100, 21, 121, QVariant(), {}, due);
        document("PH-O'Hara", 1, 10, 0, 10, 10);
        document("ZLV-2010-00001", 1, 300, 0, 300, 300, {}, due);
        document("NH-2010-00001", 2, 500, 105, 605, 605, {}, due);
        document("FAP-2010-00002", 2, 10, 0, 10, 10, {}, due);
        document("PPD-2010-00001", 3, 0, 0, 850.5, QVariant(),
                 QStringLiteral("Úhrada faktury č. 0100007 (FAV-2010-00007)"), due);
        document("PPD-2010-00002", 3, 0, 0, 100, QVariant(), QStringLiteral("Tržba"), due);
        document("VPD-2010-00001", 4, 0, 0, 40, QVariant(), QStringLiteral("FAP-2010-00002 nájem"), due);
        setPayer(true);
    }

    void setPayer(bool payer) {
        db->session->execute(QStringLiteral("UPDATE tbl_podnikatel SET platce_dph=?"),
                             {payer ? QStringLiteral("ano") : QStringLiteral("Ne")});
    }
    // The document's tab shown with the cursor on it.
    void select(int tab, const char* number) {
        controller().tabChanged(tab);
        ASSERT_TRUE(controller()
                        .datasetOfPanel(controller().currentPanelId())
                        ->locate(QStringLiteral("cislo_dokladu"), QString::fromUtf8(number)));
    }
    void registerAs(CashDirection direction) { modules->cashBookRegistration().registerDocument(direction); }
};

// The new row: its document, the pairing number, date and description, and the
// amount split as the VAT status and the paired document allow.
TEST_F(CashBookRegistrationTest, DocumentBecomesAPrefilledUnsavedRow) {
    using D = CashDirection;
    struct Case {
        const char* name;
        bool payer;
        int tab;
        const char* number;
        D direction;
        const char* pairing;
        const char* taxableColumn;
        double taxable;
        const char* otherColumn;
        double other;
        bool message23;
        const char* description;
    };
    const Case cases[] = {
        {"payer, cash sale paid in full", true, 3, "PH-2010-00003", D::Income, "PH-2010-00003",
         "prijem_danovy", 1000, "prijem_nedanovy", 210, false, "Prodej zboží/služeb"},
        {"non-payer, cash sale", false, 3, "PH-2010-00003", D::Income, "PH-2010-00003", "prijem_danovy", 1210,
         "prijem_nedanovy", 0, false, "Prodej zboží/služeb"},
        {"payer, receipt voucher for an invoice", true, 5, "PPD-2010-00001", D::Income, "FAV-2010-00007",
         "prijem_danovy", 702.89, "prijem_nedanovy", 147.61, false, "Prodej zboží/služeb"},
        {"payer, receipt voucher naming no invoice", true, 5, "PPD-2010-00002", D::Income, "",
         "prijem_danovy", 100, "prijem_nedanovy", 0, true, "Prodej zboží/služeb"},
        {"payer, expense voucher for a received invoice", true, 6, "VPD-2010-00001", D::Expense,
         "FAP-2010-00002", "vydaj_danovy", 40, "vydaj_nedanovy", 0, true, "Nákup zboží/služeb"},
        {"payer, cash purchase as expense", true, 4, "NH-2010-00001", D::Expense, "NH-2010-00001",
         "vydaj_danovy", 500, "vydaj_nedanovy", 105, false, "Nákup zboží/služeb"},
        {"non-payer, deposit given", false, 3, "ZLV-2010-00001", D::Expense, "ZLV-2010-00001", "vydaj_danovy",
         300, "vydaj_nedanovy", 0, false, "Poskutnutí zálohy dodavateli na nákup zboží/služeb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setPayer(c.payer);
        prompts.shown.clear();
        select(c.tab, c.number);
        registerAs(c.direction);
        ASSERT_EQ(book().state(), Dataset::State::Insert);
        EXPECT_EQ(controller().currentTab(), 1);
        EXPECT_EQ(controller().returnTab(), c.tab);
        EXPECT_EQ(book().asString(QStringLiteral("doklad")), QString::fromUtf8(c.number));
        EXPECT_EQ(book().asString(QStringLiteral("cislo_dokladu")), QString::fromUtf8(c.pairing));
        EXPECT_EQ(book().asString(QStringLiteral("popis")), QString::fromUtf8(c.description));
        EXPECT_EQ(book().asDateTime(QStringLiteral("datum")), QDateTime(QDate(2010, 3, 15), QTime(0, 0)));
        EXPECT_DOUBLE_EQ(book().asFloat(QLatin1String(c.taxableColumn)), c.taxable);
        EXPECT_DOUBLE_EQ(book().asFloat(QLatin1String(c.otherColumn)), c.other);
        EXPECT_EQ(prompts.sawCaption(kVatPayer), c.message23);
        EXPECT_EQ(view.focus,
                  FocusTarget::gridColumn(QStringLiteral("DBGridHlavniKniha"), QStringLiteral("popis")));
        EXPECT_EQ(storedRows(), 0);
        book().cancel();
    }
}

TEST_F(CashBookRegistrationTest, RegisteredRowSettlesWhenSavedAndIsNotRegisteredTwice) {
    select(3, "PH-2010-00003");
    registerAs(CashDirection::Income);
    ASSERT_TRUE(controller().saveCurrentRecord());
    EXPECT_TRUE(prompts.sawCaption(QStringLiteral("Úhrada dokladu")));
    EXPECT_EQ(test::scalar(
                  *db->session,
                  QStringLiteral("SELECT zbyva_uhradit FROM tbl_doklad WHERE cislo_dokladu='PH-2010-00003'")),
              QStringLiteral("0"));
    const QString id = book().asString(QStringLiteral("id"));

    // Once more, from another row of the cash book: refused, and the cash book shows the first row.
    book().first();
    select(3, "PH-2010-00003");
    prompts.shown.clear();
    registerAs(CashDirection::Income);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba"));
    EXPECT_EQ(prompts.shown[0].text,
              QStringLiteral("Doklad PH-2010-00003 již je v příjmech a výdajích zaevidován.   "));
    EXPECT_EQ(controller().currentTab(), 1);
    EXPECT_EQ(book().state(), Dataset::State::Browse);
    EXPECT_EQ(book().asString(QStringLiteral("id")), id);
    EXPECT_EQ(storedRows(), 1);

    // A number with an apostrophe is registered, and found again, like any other.
    select(3, "PH-O'Hara");
    registerAs(CashDirection::Income);
    ASSERT_TRUE(controller().saveCurrentRecord());
    select(3, "PH-O'Hara");
    registerAs(CashDirection::Income);
    EXPECT_TRUE(prompts.shown.last().text.contains(QStringLiteral("PH-O'Hara již je")));
    EXPECT_EQ(storedRows(), 2);
}

// Documents that cannot be registered, and states that refuse the command, change nothing.
TEST_F(CashBookRegistrationTest, RefusalsLeaveTheCashBookAlone) {
    struct Case {
        const char* name;
        std::function<void()> prepare;
        QString caption; // "" when nothing is shown
        int tabAfter;
    };
    const Case cases[] = {
        {"an invoice", [&] { select(3, "FAV-2010-00007"); }, kNotSupported, 3},
        {"a received invoice", [&] { select(4, "FAP-2010-00002"); }, kNotSupported, 4},
        {"a panel without documents", [&] { controller().tabChanged(9); }, kNotSupported, 9},
        {"the cash book itself", [&] { controller().tabChanged(1); }, kNotSupported, 1},
        {"no amount to register", [&] { select(3, "PH-2010-00009"); }, QStringLiteral("Chybí částka"), 3},
        {"document being edited",
         [&] {
             select(3, "PH-2010-00003");
             modules->dataset(QStringLiteral("ADOFormFAV"))->edit();
         },
         QStringLiteral("Chyba"), 3},
        {"cash book being edited",
         [&] {
             controller().tabChanged(1);
             book().append();
             select(3, "PH-2010-00003");
         },
         QStringLiteral("Chyba"), 3},
        {"not logged in",
         [&] {
             select(3, "PH-2010-00003");
             db->state.loggedIn = false;
         },
         QString(), 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare();
        prompts.shown.clear();
        const int rows = book().isActive() ? book().recordCount() : 0;
        registerAs(CashDirection::Income);
        if (c.caption.isEmpty()) {
            EXPECT_TRUE(prompts.shown.isEmpty());
        } else {
            ASSERT_EQ(prompts.shown.size(), 1);
            EXPECT_EQ(prompts.shown[0].caption, c.caption);
        }
        EXPECT_EQ(controller().currentTab(), c.tabAfter);
        EXPECT_EQ(book().recordCount(), rows);
        EXPECT_EQ(storedRows(), 0);
        db->state.loggedIn = true;
        for (const char* name : {"ADOFormFAV", "ADOFormHlavniKniha"})
            if (Dataset* ds = modules->dataset(QLatin1String(name)); ds->isEditing())
                ds->cancel();
    }
    // The edit-state refusals name their reason.
    select(3, "PH-2010-00003");
    modules->dataset(QStringLiteral("ADOFormFAV"))->edit();
    prompts.shown.clear();
    registerAs(CashDirection::Income);
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("Operaci nelze provést. Prosím zrušte editační režim. "));
    modules->dataset(QStringLiteral("ADOFormFAV"))->cancel();
    controller().tabChanged(1);
    book().append();
    select(3, "PH-2010-00003");
    prompts.shown.clear();
    registerAs(CashDirection::Income);
    EXPECT_EQ(prompts.shown[0].text,
              QStringLiteral("Prosím zrušte editační režim v modulu \"příjmy a výdaje\".   "));
    EXPECT_EQ(prompts.shown[0].style, MessageStyle::Error);
}

} // namespace
} // namespace kelvarn
