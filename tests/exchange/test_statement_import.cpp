#include "db/db_error.h"
#include "exchange/statement_import.h"
#include "exchange/statement_import_plan.h"
#include "statement_fixture.h"

using namespace kelvarn;
using namespace kelvarn::test;

namespace {

struct Row {
    QString voucher, number, documentId;
    double incomeTaxable, incomeNonTaxable, expenseTaxable, expenseNonTaxable;
};

} // namespace

class StatementImportTest : public StatementTest {
  protected:
    std::vector<Row> rows() {
        std::vector<Row> out;
        QSqlQuery q = db->session->query(QStringLiteral(
            "SELECT doklad, cislo_dokladu, id_tbl_doklad, prijem_danovy, prijem_nedanovy, vydaj_danovy, vydaj_nedanovy "
            "FROM tbl_hlavnikniha ORDER BY id"));
        while (q.next())
            out.push_back({q.value(0).toString(), q.value(1).toString(), q.value(2).isNull() ? QString() : q.value(2).toString(), q.value(3).toDouble(),
                           q.value(4).toDouble(), q.value(5).toDouble(), q.value(6).toDouble()});
        return out;
    }
    void vatPayer(bool payer) {
        db->session->execute(QStringLiteral("UPDATE tbl_podnikatel SET platce_dph=? WHERE id=1"),
                             {payer ? QStringLiteral("Ano") : QStringLiteral("Ne")});
    }
    // Pays FAV-1 by symbol, FAP-1 by symbol, FAV-8 by amount, brings 100 nobody owes,
    // skips one item and pays FAV-2 twice by hand.
    StatementImportPlan plan() {
        auto p = StatementImportPlan::prepare(
            *ctx, statementOf({item(121000, "250100001"), item(-99999, "5551"), item(242000), item(10000, "4242"),
                               item(777), item(20000), item(10000)}));
        p.setSkipped(4, true);
        EXPECT_TRUE(p.pairByHand(5, QStringLiteral("FAV-2025-00002")));
        EXPECT_TRUE(p.pairByHand(6, QStringLiteral("FAV-2025-00002")));
        return p;
    }
};

TEST_P(StatementImportTest, ItemsBecomeCashBookRowsAndSettleTheirDocumentsInOneGo) {
    vatPayer(true);
    const StatementImportPlan p = plan();
    ASSERT_TRUE(p.refusal().isEmpty()) << p.refusal().toStdString();
    const StatementImportResult result = importStatement(*ctx, p);
    EXPECT_EQ(result.rowsWritten, 6);
    EXPECT_EQ(result.documentsSettled, 5);
    const auto written = rows();
    ASSERT_EQ(written.size(), 6u);
    const QString prefix = statementVoucherPrefix(p.fingerprint());
    const struct {
        const char* voucher;
        const char* number;
        double it, int_, et, ent;
    } expected[] = {
        {"1", "FAV-2025-00001", 1000, 210, 0, 0}, // the gross total paid: net taxable, VAT not
        {"2", "FAP-2025-00001", 0, 0, 999.99, 0}, // a payable with no VAT split recorded
        {"3", "FAV-2025-00008", 2000, 420, 0, 0}, // by amount
        {"4", "", 100, 0, 0, 0},                  // nobody's
        {"6", "FAV-2025-00002", 200, 0, 0, 0},    // part of the total: all taxable
        {"7", "FAV-2025-00002", 100, 0, 0, 0},
    };
    for (size_t i = 0; i < written.size(); ++i) {
        EXPECT_EQ(written[i].voucher, prefix + QString::fromUtf8(expected[i].voucher)) << i;
        EXPECT_EQ(written[i].number, QString::fromUtf8(expected[i].number)) << i;
        EXPECT_EQ(written[i].documentId.isEmpty(), *expected[i].number == 0) << i;
        EXPECT_DOUBLE_EQ(written[i].incomeTaxable, expected[i].it) << i;
        EXPECT_DOUBLE_EQ(written[i].incomeNonTaxable, expected[i].int_) << i;
        EXPECT_DOUBLE_EQ(written[i].expenseTaxable, expected[i].et) << i;
        EXPECT_DOUBLE_EQ(written[i].expenseNonTaxable, expected[i].ent) << i;
    }
    EXPECT_DOUBLE_EQ(remaining(1), 0);
    EXPECT_DOUBLE_EQ(remaining(4), 0);
    EXPECT_DOUBLE_EQ(remaining(8), 0);
    EXPECT_DOUBLE_EQ(remaining(2), 200) << "two payments of one document settle one after the other";
    EXPECT_DOUBLE_EQ(remaining(3), 600);

    // The same statement again is recognised before anything is written.
    const auto again = StatementImportPlan::prepare(*ctx, p.statement());
    EXPECT_TRUE(again.refusal().contains(QStringLiteral("už byl do příjmů a výdajů importován")))
        << again.refusal().toStdString();
    EXPECT_THROW(importStatement(*ctx, p), DbError);
    EXPECT_EQ(cashRows(), 6);
}

TEST_P(StatementImportTest, ANonPayerBooksWholeAmountsAsTaxable) {
    vatPayer(false);
    importStatement(*ctx, plan());
    const auto written = rows();
    ASSERT_FALSE(written.empty());
    EXPECT_DOUBLE_EQ(written[0].incomeTaxable, 1210);
    EXPECT_DOUBLE_EQ(written[0].incomeNonTaxable, 0);
}

TEST_P(StatementImportTest, AFailureHalfwayLeavesNeitherRowsNorSettlements) {
    vatPayer(true);
    const StatementImportPlan p = plan();
    int inserts = 0;
    db->session->setStatementHook([&inserts](const QString& statement) {
        if (statement.contains(QLatin1String("INSERT INTO tbl_hlavnikniha"), Qt::CaseInsensitive) && ++inserts == 4)
            throw DbError(QStringLiteral("spojení přerušeno"));
    });
    EXPECT_THROW(importStatement(*ctx, p), DbError);
    db->session->setStatementHook({});
    EXPECT_EQ(cashRows(), 0);
    EXPECT_DOUBLE_EQ(remaining(1), 1210);
    EXPECT_DOUBLE_EQ(remaining(4), 999.99);
    // And the statement can then be imported in full.
    EXPECT_EQ(importStatement(*ctx, StatementImportPlan::prepare(*ctx, p.statement())).rowsWritten, 7);
}

KELVARN_ON_ALL_PLATFORMS(StatementImportTest);
