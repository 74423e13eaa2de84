#include "exchange/statement_import_plan.h"
#include "exchange/statement_preview_model.h"
#include "statement_fixture.h"

#include <QAbstractItemModelTester>

using namespace kelvarn;
using namespace kelvarn::test;

class StatementPlanTest : public StatementTest {};

TEST_P(StatementPlanTest, PairsBySymbolThenByAmountOnTheRightSide) {
    const struct {
        qint64 cents;
        const char* vs;
        ItemAction action;
        const char* number;
    } cases[] = {
        {121000, "250100001", ItemAction::Pair, "FAV-2025-00001"},  // symbol without its leading zero
        {50000, "777", ItemAction::Book, ""},                       // symbol of two documents
        {-99999, "5551", ItemAction::Pair, "FAP-2025-00001"},       // money out pays a received invoice
        {99999, "5551", ItemAction::Book, ""},                      // money in never pays a payable
        {10000, "250100007", ItemAction::Book, ""},                 // deposits are not settled
        {242000, "", ItemAction::Pair, "FAV-2025-00008"},           // no symbol: the one open amount
        {33000, "", ItemAction::Book, ""},                          // no symbol: two documents open for it
        {12345, "", ItemAction::Book, ""},                          // no symbol, no amount
        {121000, "", ItemAction::Book, ""},                         // amount of a document an item took already
        {100, "999999", ItemAction::Book, ""},                      // a symbol nobody has: no amount fallback
    };
    std::vector<StatementItem> items;
    for (const auto& c : cases)
        items.push_back(item(c.cents, c.vs));
    const auto plan = StatementImportPlan::prepare(*ctx, statementOf(items));
    EXPECT_TRUE(plan.refusal().isEmpty()) << plan.refusal().toStdString();
    ASSERT_EQ(plan.items().size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(plan.items()[i].action, cases[i].action) << i;
        EXPECT_EQ(plan.items()[i].documentNumber, QString::fromUtf8(cases[i].number)) << i;
        EXPECT_FALSE(plan.items()[i].note.isEmpty() && cases[i].action == ItemAction::Book) << i;
    }
    EXPECT_EQ(plan.pairedCount(), 3);
}

TEST_P(StatementPlanTest, StatementOfAnotherAccountOrCurrencyIsRefused) {
    const struct {
        const char* what;
        std::function<void(BankStatement&)> change;
        const char* own;
        const char* ownIban;
        const char* refusal; // "" when accepted
    } cases[] = {
        {"own account", [](BankStatement&) {}, "19-2000145399/0800", "", ""},
        {"other account", [](BankStatement& s) { s.accountDigits = QStringLiteral("0000000353497163"); },
         "19-2000145399/0800", "", "Výpis je z účtu 353497163"},
        {"digits in the bank's own order",
         [](BankStatement& s) { s.accountDigits = QStringLiteral("2000145399000019"); }, "19-2000145399/0800", "", ""},
        {"camt with the own IBAN", [](BankStatement& s) { s.accountDigits.clear(); s.iban = QStringLiteral("CZ65 0800 0000 1920 0014 5399"); },
         "19-2000145399/0800", "", ""},
        {"camt matched by the IBAN of the record", [](BankStatement& s) { s.accountDigits.clear(); s.iban = QStringLiteral("CZ6508000000192000145399"); },
         "", "CZ6508000000192000145399", ""},
        {"camt of another IBAN", [](BankStatement& s) { s.accountDigits.clear(); s.iban = QStringLiteral("CZ0908000000000353497163"); },
         "19-2000145399/0800", "", "CZ0908000000000353497163"},
        {"no own account", [](BankStatement&) {}, "", "", "není vyplněno číslo účtu"},
        {"euro statement", [](BankStatement& s) { s.currency = QStringLiteral("EUR"); }, "19-2000145399/0800", "",
         "v měně EUR"},
    };
    for (const auto& c : cases) {
        db->session->execute(QStringLiteral("UPDATE tbl_podnikatel SET cislo_uctu=?, cislo_uctu_IBAN=? WHERE id=1"),
                             {QString::fromUtf8(c.own), QString::fromUtf8(c.ownIban)});
        BankStatement st = statementOf({item(100)});
        c.change(st);
        const auto plan = StatementImportPlan::prepare(*ctx, st);
        if (*c.refusal == 0)
            EXPECT_TRUE(plan.refusal().isEmpty()) << c.what << ": " << plan.refusal().toStdString();
        else
            EXPECT_TRUE(plan.refusal().contains(QString::fromUtf8(c.refusal)))
                << c.what << ": " << plan.refusal().toStdString();
    }
}

TEST_P(StatementPlanTest, TheUserPairsSkipsAndUnpairsInThePreview) {
    auto plan = StatementImportPlan::prepare(*ctx, statementOf({item(50000, "777"), item(33000), item(100)}));
    StatementPreviewModel model(plan);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    QString why;
    EXPECT_TRUE(plan.pairByHand(0, QStringLiteral("FAV-2025-00002"), &why));
    EXPECT_TRUE(plan.pairByHand(1, QStringLiteral("0250100001"), &why)) << why.toStdString();
    EXPECT_EQ(plan.items()[1].documentNumber, QStringLiteral("FAV-2025-00001"));
    EXPECT_FALSE(plan.pairByHand(2, QStringLiteral("777"), &why));
    EXPECT_TRUE(why.contains(QStringLiteral("více dokladů")));
    EXPECT_FALSE(plan.pairByHand(2, QStringLiteral("FAV-9999"), &why));
    EXPECT_TRUE(why.contains(QStringLiteral("Nelze najít")));
    plan.setSkipped(2, true);
    model.refresh();
    EXPECT_EQ(model.data(model.index(0, StatementPreviewModel::Action)).toString(),
              QStringLiteral("Spárovat s FAV-2025-00002"));
    EXPECT_EQ(model.data(model.index(2, StatementPreviewModel::Action)).toString(), QStringLiteral("Přeskočit"));
    plan.unpair(0);
    EXPECT_EQ(plan.items()[0].action, ItemAction::Book);
    plan.setSkipped(2, false);
    EXPECT_EQ(plan.items()[2].action, ItemAction::Book);
    EXPECT_TRUE(model.summary().startsWith(QStringLiteral("Položek 3: spárováno 1, bez dokladu 2, přeskočeno 0.")))
        << model.summary().toStdString();
}

TEST(StatementFingerprint, SameContentSameFingerprint) {
    BankStatement a;
    a.accountDigits = QStringLiteral("0000192000145399");
    a.number = QStringLiteral("7");
    StatementItem i;
    i.amountCents = 100;
    a.items.push_back(i);
    BankStatement b = a;
    EXPECT_EQ(statementFingerprint(a), statementFingerprint(b));
    EXPECT_EQ(statementFingerprint(a).size(), 8);
    b.items[0].amountCents = 101;
    EXPECT_NE(statementFingerprint(a), statementFingerprint(b));
    EXPECT_LE(statementVoucherPrefix(statementFingerprint(a)).size() + 5, 20) << "fits the doklad column";
}

KELVARN_ON_ALL_PLATFORMS(StatementPlanTest);
