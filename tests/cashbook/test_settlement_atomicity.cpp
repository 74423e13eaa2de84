#include "cash_book_fixture.h"

using namespace kelvarn;
using namespace kelvarn::test;

// A cash-book change and the settlement it triggers stand or fall together: when
// either write fails, neither is in the database, the error reaches the caller and
// the row stays open for another try.
class SettlementAtomicity : public CashBookTest {};
KELVARN_ON_ALL_PLATFORMS(SettlementAtomicity);

TEST_P(SettlementAtomicity, FailedWritesLeaveNeitherTheRowNorTheSettlement) {
    struct Case {
        const char* name;
        const char* refusedTable;
        const char* refusedEvent;
        bool editing; // a saved row changed, else a new row
    };
    const Case cases[] = {
        {"document refused, new row", "tbl_doklad", "UPDATE", false},
        {"row refused, new row", "tbl_hlavnikniha", "INSERT", false},
        {"document refused, changed row", "tbl_doklad", "UPDATE", true},
        {"row refused, changed row", "tbl_hlavnikniha", "UPDATE", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db->session->execute(QStringLiteral("DELETE FROM tbl_hlavnikniha"));
        db->session->execute(QStringLiteral("UPDATE tbl_doklad SET zbyva_uhradit=1000 WHERE id=1"));
        book->refresh();
        if (c.editing) {
            savedRow(QStringLiteral("FAV-2010-00001"), 400);
            book->edit();
            book->setValue(QStringLiteral("prijem_danovy"), 250);
        } else {
            newRow(QStringLiteral("PPD-1"), QStringLiteral("FAV-2010-00001"), 250, 0);
        }
        const double before = remaining(1);
        const int rowsBefore = storedRows();
        refuse(QLatin1String(c.refusedTable), QLatin1String(c.refusedEvent));
        prompts.answers = {Answer::Yes};
        EXPECT_THROW(book->post(), DbError);
        EXPECT_FALSE(db->session->inTransaction());
        EXPECT_DOUBLE_EQ(remaining(1), before);
        EXPECT_EQ(storedRows(), rowsBefore);
        if (c.editing) {
            EXPECT_DOUBLE_EQ(
                scalar(*db->session, QStringLiteral("SELECT prijem_danovy FROM tbl_hlavnikniha")).toDouble(),
                400);
        }
        EXPECT_EQ(book->state(), c.editing ? Dataset::State::Edit : Dataset::State::Insert);
        EXPECT_DOUBLE_EQ(book->asFloat(QStringLiteral("prijem_danovy")), 250);

        // Once the database accepts writes again, the same save goes through whole.
        allowAgain();
        prompts.answers = {Answer::Yes};
        ASSERT_TRUE(book->post());
        EXPECT_DOUBLE_EQ(remaining(1), 750);
        EXPECT_EQ(storedRows(), 1);
    }
}

TEST_P(SettlementAtomicity, FailedDeletionKeepsTheDocumentAsItWas) {
    savedRow(QStringLiteral("FAV-2010-00001"), 400);
    const QString id = book->asString(QStringLiteral("id"));
    refuse(QStringLiteral("tbl_hlavnikniha"), QStringLiteral("DELETE"));
    prompts.answers = {Answer::Yes};
    EXPECT_THROW(rules->settleAndDelete(QStringLiteral("1"), 400, 0,
                                        [&] {
                                            db->session->execute(
                                                QStringLiteral("DELETE FROM tbl_hlavnikniha WHERE (id=") +
                                                id + u')');
                                        }),
                 DbError);
    EXPECT_FALSE(db->session->inTransaction());
    EXPECT_DOUBLE_EQ(remaining(1), 600);
    EXPECT_EQ(storedRows(), 1);

    allowAgain();
    prompts.answers = {Answer::Yes};
    rules->settleAndDelete(QStringLiteral("1"), 400, 0, [&] {
        db->session->execute(QStringLiteral("DELETE FROM tbl_hlavnikniha WHERE (id=") + id + u')');
    });
    EXPECT_DOUBLE_EQ(remaining(1), 1000);
    EXPECT_EQ(storedRows(), 0);
}

// A unit opened around the whole save (another rule's own transaction) takes the
// settlement in: nothing is committed before the outer unit is.
TEST_P(SettlementAtomicity, SettlementJoinsAnOuterUnitOfWork) {
    newRow(QStringLiteral("PPD-1"), QStringLiteral("FAV-2010-00001"), 400, 0);
    prompts.answers = {Answer::Yes};
    {
        Transaction outer(*db->session);
        ASSERT_TRUE(book->post());
        EXPECT_TRUE(db->session->inTransaction());
        // outer goes out of scope without commit
    }
    EXPECT_DOUBLE_EQ(remaining(1), 1000);
    EXPECT_EQ(storedRows(), 0);
}
