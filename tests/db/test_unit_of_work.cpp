#include "db/database_session.h"
#include "platform_fixture.h"

#include "db/dataset.h"
#include "db/db_error.h"

#include <QSqlQuery>

using namespace kelvarn;
using namespace kelvarn::test;

class UnitOfWorkTest : public PlatformTest {
  protected:
    void insert(int id) {
        db->session->execute(QStringLiteral("INSERT INTO tbl_zbozi (id, kod_zbozi) VALUES (?, 'K')"), {id});
    }
    int rows() { return scalar(*db->session, QStringLiteral("SELECT count(*) FROM tbl_zbozi")).toInt(); }
};
KELVARN_ON_ALL_PLATFORMS(UnitOfWorkTest);

TEST_P(UnitOfWorkTest, CommitKeepsAndLeavingWithoutCommitDropsTheWrites) {
    {
        Transaction unit(*db->session);
        EXPECT_FALSE(unit.joined());
        insert(1);
        unit.commit();
    }
    EXPECT_FALSE(db->session->inTransaction());
    try {
        Transaction unit(*db->session);
        insert(2);
        throw DbError(QStringLiteral("later step failed"));
    } catch (const DbError&) {
    }
    EXPECT_FALSE(db->session->inTransaction());
    EXPECT_EQ(rows(), 1);
}

// A unit inside another one joins it: only the outer commit makes its writes stay.
TEST_P(UnitOfWorkTest, NestedUnitJoinsTheOuterOne) {
    {
        Transaction outer(*db->session);
        {
            Transaction inner(*db->session);
            EXPECT_TRUE(inner.joined());
            insert(1);
            inner.commit();
            EXPECT_TRUE(db->session->inTransaction());
        }
        EXPECT_TRUE(db->session->inTransaction());
    }
    EXPECT_EQ(rows(), 0);
    {
        Transaction outer(*db->session);
        {
            Transaction inner(*db->session);
            insert(2);
        }
        outer.commit();
    }
    EXPECT_EQ(rows(), 1);
}

// A COMMIT the embedded database refuses must not leave the connection inside the
// transaction: the next unit could not begin, and its writes would pile onto the
// refused ones.
TEST(UnitOfWorkSqlite, RefusedCommitEndsTheTransaction) {
    auto db = createTestDatabase(DbPlatform::Jet);
    ASSERT_TRUE(db);
    QSqlQuery raw(db->session->database());
    ASSERT_TRUE(raw.exec(QStringLiteral("PRAGMA foreign_keys=ON")));
    ASSERT_TRUE(raw.exec(QStringLiteral("CREATE TABLE parent (id INTEGER PRIMARY KEY)")));
    ASSERT_TRUE(
        raw.exec(QStringLiteral("CREATE TABLE child (id INTEGER PRIMARY KEY, parent_id INTEGER REFERENCES "
                                "parent(id) DEFERRABLE INITIALLY DEFERRED)")));
    {
        Transaction unit(*db->session);
        db->session->execute(QStringLiteral("INSERT INTO child (id, parent_id) VALUES (1, 99)"));
        EXPECT_THROW(unit.commit(), DbError);
    }
    EXPECT_FALSE(db->session->inTransaction());
    EXPECT_EQ(scalar(*db->session, QStringLiteral("SELECT count(*) FROM child")), QStringLiteral("0"));
    Transaction next(*db->session);
    db->session->execute(QStringLiteral("INSERT INTO parent (id) VALUES (1)"));
    next.commit();
    EXPECT_EQ(scalar(*db->session, QStringLiteral("SELECT count(*) FROM parent")), QStringLiteral("1"));
}

// A BeforePost handler's writes ride on the row's own write: committed with it,
// rolled back when it fails, and the row keeps its insert state for another try.
TEST_P(UnitOfWorkTest, RowWriteEndsTheUnitItsBeforePostOpened) {
    insert(7);
    Dataset goods(*db->session, QStringLiteral("goods"));
    goods.setTable(QStringLiteral("tbl_zbozi"));
    int handled = 0;
    goods.beforePost = [&](Dataset& row) {
        row.beginPostTransaction();
        insert(100 + handled++);
        return true;
    };
    goods.open();

    goods.append();
    goods.setValue(QStringLiteral("id"), 8);
    ASSERT_TRUE(goods.post());
    EXPECT_FALSE(db->session->inTransaction());
    EXPECT_EQ(rows(), 3); // 7, 8 and the handler's 100

    goods.append();
    goods.setValue(QStringLiteral("id"), 7); // taken: the row's write fails
    EXPECT_THROW(goods.post(), DbError);
    EXPECT_EQ(goods.state(), Dataset::State::Insert);
    EXPECT_FALSE(db->session->inTransaction());
    EXPECT_EQ(rows(), 3); // the handler's 101 went with the refused row
    goods.cancel();
}
