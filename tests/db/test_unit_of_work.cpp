#include "db/unit_of_work.h"
#include "platform_fixture.h"

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
        UnitOfWork unit(*db->session);
        EXPECT_FALSE(unit.joined());
        insert(1);
        unit.commit();
    }
    EXPECT_FALSE(db->session->inTransaction());
    try {
        UnitOfWork unit(*db->session);
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
        UnitOfWork outer(*db->session);
        {
            UnitOfWork inner(*db->session);
            EXPECT_TRUE(inner.joined());
            insert(1);
            inner.commit();
            EXPECT_TRUE(db->session->inTransaction());
        }
        EXPECT_TRUE(db->session->inTransaction());
    }
    EXPECT_EQ(rows(), 0);
    {
        UnitOfWork outer(*db->session);
        {
            UnitOfWork inner(*db->session);
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
        UnitOfWork unit(*db->session);
        db->session->execute(QStringLiteral("INSERT INTO child (id, parent_id) VALUES (1, 99)"));
        EXPECT_THROW(unit.commit(), DbError);
    }
    EXPECT_FALSE(db->session->inTransaction());
    EXPECT_EQ(scalar(*db->session, QStringLiteral("SELECT count(*) FROM child")), QStringLiteral("0"));
    UnitOfWork next(*db->session);
    db->session->execute(QStringLiteral("INSERT INTO parent (id) VALUES (1)"));
    next.commit();
    EXPECT_EQ(scalar(*db->session, QStringLiteral("SELECT count(*) FROM parent")), QStringLiteral("1"));
}

// A BeforePost handler's writes ride on the row's own write: committed right after
// it, rolled back when it fails; a failing commit fails the post and leaves both the
// database and the snapshot as they were.
TEST_P(UnitOfWorkTest, RowWriteEndsTheUnitItsBeforePostOpened) {
    insert(7);
    Dataset goods(*db->session, QStringLiteral("goods"));
    goods.setTable(QStringLiteral("tbl_zbozi"));
    std::unique_ptr<UnitOfWork> pending;
    QList<bool> outcomes;
    bool failCommit = false;
    goods.beforePost = [&](Dataset&) {
        auto unit = std::make_unique<UnitOfWork>(*db->session);
        insert(100 + static_cast<int>(outcomes.size()));
        pending = std::move(unit);
        return true;
    };
    goods.afterWrite = [&](Dataset&, bool written) {
        outcomes << written;
        const std::unique_ptr<UnitOfWork> unit = std::move(pending);
        if (written && failCommit)
            throw DbError(QStringLiteral("commit refused"));
        if (written && unit)
            unit->commit();
    };
    goods.open();

    goods.append();
    goods.setValue(QStringLiteral("id"), 8);
    ASSERT_TRUE(goods.post());
    EXPECT_EQ(rows(), 3); // 7, 8 and the handler's 100

    goods.append();
    goods.setValue(QStringLiteral("id"), 7); // taken: the row's write fails
    EXPECT_THROW(goods.post(), DbError);
    EXPECT_EQ(goods.state(), Dataset::State::Insert);
    EXPECT_EQ(rows(), 3);
    goods.cancel();

    goods.first();
    goods.edit();
    goods.setValue(QStringLiteral("kod_zbozi"), QStringLiteral("NOVY"));
    failCommit = true;
    EXPECT_THROW(goods.post(), DbError);
    EXPECT_EQ(goods.state(), Dataset::State::Edit);
    EXPECT_FALSE(db->session->inTransaction());
    EXPECT_EQ(rows(), 3);
    EXPECT_EQ(scalar(*db->session, QStringLiteral("SELECT count(*) FROM tbl_zbozi WHERE kod_zbozi='NOVY'")),
              QStringLiteral("0"));
    goods.cancel();
    EXPECT_EQ(goods.asString(QStringLiteral("kod_zbozi")), QStringLiteral("K"));
    EXPECT_EQ(outcomes, (QList<bool>{true, false, true, false}));
}
