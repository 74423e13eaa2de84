// A save reports success exactly when its row is committed: a connection lost
// between the write and the re-read that follows it must not leave a stored row
// behind a reported failure (the user would enter the record a second time).

#include "db/db_error.h"
#include "platform_fixture.h"

#include <QSqlQuery>

#include <functional>

using namespace kelvarn;
using namespace kelvarn::test;

namespace {

enum class Fault {
    FailingReread,    // the re-read statement fails (any platform)
    KilledAtReread,   // the server drops the connection before the re-read (MariaDB)
    KilledAtCommit,   // ... before the commit (MariaDB)
};

const char* faultName(Fault f) {
    switch (f) {
    case Fault::FailingReread:
        return "failing re-read";
    case Fault::KilledAtReread:
        return "connection killed before the re-read";
    case Fault::KilledAtCommit:
        return "connection killed before the commit";
    }
    return "";
}

} // namespace

class PostAtomicity : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        observer = db->openSecondSession(QStringLiteral("observer"));
    }

    int storedOrders(const QString& text) {
        QSqlQuery q = observer->query(QStringLiteral("SELECT count(*) FROM tbl_zakazka WHERE zakazka = ?"), {text});
        return q.next() ? q.value(0).toInt() : -1;
    }

    // Makes the fault happen once, at the statement that begins with `at`.
    void arm(Fault fault) {
        const QString at = fault == Fault::KilledAtCommit ? QStringLiteral("COMMIT")
                                                          : QStringLiteral("SELECT * FROM tbl_zakazka WHERE id");
        QString connection;
        if (fault != Fault::FailingReread)
            connection = scalar(*db->session, QStringLiteral("SELECT CONNECTION_ID()"));
        db->session->setStatementHook([this, fault, at, connection](const QString& statement) {
            if (!statement.startsWith(at))
                return;
            db->session->setStatementHook({});
            if (fault == Fault::FailingReread)
                throw DbError(QStringLiteral("Lost connection to server during query"));
            observer->execute(QStringLiteral("KILL CONNECTION ") + connection);
        });
    }

    std::vector<Fault> faults() const {
        if (GetParam() == DbPlatform::MySql)
            return {Fault::FailingReread, Fault::KilledAtReread, Fault::KilledAtCommit};
        return {Fault::FailingReread};
    }

    std::unique_ptr<DatabaseSession> observer;
};
KELVARN_ON_ALL_PLATFORMS(PostAtomicity);

TEST_P(PostAtomicity, AFailedInsertStoresNothingAndKeepsTheRowOpen) {
    for (Fault fault : faults()) {
        SCOPED_TRACE(faultName(fault));
        if (!db->session->isOpen() || fault != Fault::FailingReread) {
            db->session->close();
            db->session->open(db->connectionString, db->platform);
        }
        const QString text = QStringLiteral("Zakázka %1").arg(static_cast<int>(fault));
        auto orders = dataset(QStringLiteral("SELECT * FROM tbl_zakazka"));
        orders->open();
        orders->append();
        orders->setValue(QStringLiteral("zakazka"), text);
        arm(fault);
        try {
            orders->post();
            ADD_FAILURE() << "the save reported success";
        } catch (const DbError& e) {
            if (fault == Fault::KilledAtCommit) {
                EXPECT_TRUE(e.text().contains(QStringLiteral("možná uložen"))) << e.text().toStdString();
            }
        }
        EXPECT_EQ(orders->state(), Dataset::State::Insert);
        EXPECT_EQ(orders->asString(QStringLiteral("zakazka")), text) << "what was typed stays";
        EXPECT_EQ(storedOrders(text), 0) << "nothing committed behind a reported failure";

        if (fault == Fault::FailingReread) {
            ASSERT_TRUE(orders->post()) << "saving again once the fault is gone";
            EXPECT_EQ(storedOrders(text), 1) << "stored once, not twice";
            EXPECT_FALSE(orders->isNull(QStringLiteral("id")));
        }
    }
}

TEST_P(PostAtomicity, AFailedUpdateKeepsTheStoredValuesOnScreenAndInTheDatabase) {
    auto orders = dataset(QStringLiteral("SELECT * FROM tbl_zakazka"));
    orders->open();
    orders->append();
    orders->setValue(QStringLiteral("zakazka"), QStringLiteral("Původní"));
    ASSERT_TRUE(orders->post());
    for (Fault fault : faults()) {
        SCOPED_TRACE(faultName(fault));
        if (fault != Fault::FailingReread) {
            db->session->close();
            db->session->open(db->connectionString, db->platform);
            orders = dataset(QStringLiteral("SELECT * FROM tbl_zakazka"));
            orders->open();
        }
        orders->edit();
        orders->setValue(QStringLiteral("zakazka"), QStringLiteral("Změněná"));
        orders->setResync(4);
        arm(fault);
        EXPECT_THROW(orders->post(), DbError);
        EXPECT_EQ(orders->state(), Dataset::State::Edit);
        EXPECT_EQ(storedOrders(QStringLiteral("Změněná")), 0);
        EXPECT_EQ(storedOrders(QStringLiteral("Původní")), 1);
        orders->cancel();
        EXPECT_EQ(orders->asString(QStringLiteral("zakazka")), QStringLiteral("Původní"))
            << "a dropped edit shows what is stored, not what failed";
    }
}

TEST_P(PostAtomicity, AnErrorAfterTheCommitSaysTheRecordIsStored) {
    auto orders = dataset(QStringLiteral("SELECT * FROM tbl_zakazka"));
    orders->afterPost = [](Dataset&) { throw DbError(QStringLiteral("server has gone away")); };
    orders->open();
    orders->append();
    orders->setValue(QStringLiteral("zakazka"), QStringLiteral("Uložená"));
    try {
        orders->post();
        ADD_FAILURE() << "the error after the save vanished";
    } catch (const DbAfterWriteError& e) {
        EXPECT_TRUE(e.text().startsWith(QStringLiteral("Záznam byl uložen"))) << e.text().toStdString();
        EXPECT_TRUE(e.text().endsWith(QStringLiteral("server has gone away")));
    }
    EXPECT_EQ(orders->state(), Dataset::State::Browse) << "the record shows as stored";
    EXPECT_FALSE(orders->isNull(QStringLiteral("id")));
    EXPECT_EQ(storedOrders(QStringLiteral("Uložená")), 1);
}

TEST_P(PostAtomicity, ACallersUnitOfWorkDecidesForTheRow) {
    auto orders = dataset(QStringLiteral("SELECT * FROM tbl_zakazka"));
    orders->open();
    for (bool commit : {false, true}) {
        const QString text = commit ? QStringLiteral("Potvrzená") : QStringLiteral("Odvolaná");
        {
            Transaction unit(*db->session);
            orders->append();
            orders->setValue(QStringLiteral("zakazka"), text);
            ASSERT_TRUE(orders->post());
            EXPECT_TRUE(db->session->inTransaction()) << "the post did not end the caller's unit";
            if (commit)
                unit.commit();
        }
        EXPECT_EQ(storedOrders(text), commit ? 1 : 0);
    }
}
