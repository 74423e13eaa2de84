#include "db/db_error.h"
#include "db/number_series.h"
#include "platform_fixture.h"
#include "support/db/test_databases.h"

using namespace kelvarn;
using namespace kelvarn::test;

// A BeforePost handler that writes elsewhere first (a number from its series) and
// the row's own write are one unit.
class PostTransaction : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        orders = dataset(QStringLiteral("SELECT * FROM tbl_zakazka"), QStringLiteral("ADOFormZakazky"));
        auto stamp = orders->beforePost;
        orders->beforePost = [this, stamp](Dataset& d) {
            d.beginPostTransaction();
            const std::optional<QString> serial = nextNumber(*ctx, QStringLiteral("ZAK-2010"));
            if (!serial || abort)
                return false;
            d.setValue(QStringLiteral("zakazka"), QStringLiteral("ZAK-2010-") + *serial);
            return stamp(d);
        };
        orders->open();
    }
    QString next() {
        return scalar(*db->session, QStringLiteral("SELECT cislo FROM tbl_rady WHERE zkratka='ZAK-2010'"));
    }
    int rows() { return scalar(*db->session, QStringLiteral("SELECT COUNT(*) FROM tbl_zakazka")).toInt(); }

    std::unique_ptr<Dataset> orders;
    bool abort = false;
};
KELVARN_ON_ALL_PLATFORMS(PostTransaction);

TEST_P(PostTransaction, CommittedTogetherWithTheRow) {
    orders->append();
    orders->setValue(QStringLiteral("datum_zaevidovani"), QDateTime(QDate(2010, 5, 1), QTime(0, 0)));
    ASSERT_TRUE(orders->post());
    EXPECT_FALSE(db->session->inTransaction());
    EXPECT_EQ(next(), QStringLiteral("2"));
    EXPECT_EQ(rows(), 1);
}

TEST_P(PostTransaction, RolledBackWhenTheHandlerAborts) {
    abort = true;
    orders->append();
    EXPECT_FALSE(orders->post());
    EXPECT_FALSE(db->session->inTransaction());
    EXPECT_EQ(next(), QStringLiteral("<no row>")) << "the series created for the post went with it";
    EXPECT_EQ(orders->state(), Dataset::State::Insert);
}

TEST_P(PostTransaction, RolledBackWhenTheWriteFails) {
    orders->append();
    orders->setValue(QStringLiteral("datum_zaevidovani"), QDateTime(QDate(2010, 5, 1), QTime(0, 0)));
    ASSERT_TRUE(orders->post());
    const QVariant id = orders->value(QStringLiteral("id"));
    orders->append();
    orders->setValue(QStringLiteral("id"), id); // taken: no platform writes it
    EXPECT_THROW(orders->post(), DbError);
    EXPECT_FALSE(db->session->inTransaction());
    EXPECT_EQ(next(), QStringLiteral("2")) << "the number was given back";
    EXPECT_EQ(rows(), 1);
}

TEST_P(PostTransaction, AnInnerUnitJoinsTheOuterOne) {
    {
        Transaction outer(*db->session);
        {
            Transaction inner(*db->session);
            EXPECT_TRUE(inner.joined());
            db->session->execute(QStringLiteral("UPDATE tbl_podnikatel SET nazev='x' WHERE id=1"));
            inner.commit();
        }
        EXPECT_TRUE(db->session->inTransaction()) << "the inner commit does not end the outer unit";
    } // the outer one is rolled back
    EXPECT_FALSE(db->session->inTransaction());
    EXPECT_EQ(scalar(*db->session, QStringLiteral("SELECT nazev FROM tbl_podnikatel WHERE id=1")), QString());
}
