#include "db/db_error.h"
#include "db/number_series.h"
#include "platform_fixture.h"

#include <QSqlQuery>
#include <QThread>

#include <atomic>
#include <set>

using namespace kelvarn;
using namespace kelvarn::test;

class NumberSeries : public PlatformTest {
protected:
    qint64 storedNext(const QString& key) {
        QSqlQuery q = db->session->query(QStringLiteral("SELECT cislo FROM tbl_rady WHERE zkratka = ?"), {key});
        return q.next() ? q.value(0).toLongLong() : -1;
    }
    int seriesRows(const QString& key) {
        QSqlQuery q = db->session->query(QStringLiteral("SELECT count(*) FROM tbl_rady WHERE zkratka = ?"), {key});
        return q.next() ? q.value(0).toInt() : -1;
    }
    void addDocument(const QString& number) {
        auto ds = dataset(QStringLiteral("SELECT * FROM tbl_doklad"));
        ds->open();
        ds->append();
        ds->setValue(QStringLiteral("cislo_dokladu"), number);
        ds->setValue(QStringLiteral("doklad_typ"), 1);
        ASSERT_TRUE(ds->post());
    }
    void setNext(const QString& key, qint64 next) {
        db->session->execute(QStringLiteral("UPDATE tbl_rady SET cislo = ? WHERE zkratka = ?"), {next, key});
    }
};
KELVARN_ON_ALL_PLATFORMS(NumberSeries);

TEST(NumberSeriesFormat, PadsToFiveDigitsWithoutCutting) {
    EXPECT_EQ(padSeriesNumber(1), QStringLiteral("00001"));
    EXPECT_EQ(padSeriesNumber(42), QStringLiteral("00042"));
    EXPECT_EQ(padSeriesNumber(99999), QStringLiteral("99999"));
    EXPECT_EQ(padSeriesNumber(123456), QStringLiteral("123456"));
}

TEST_P(NumberSeries, FirstNumberCreatesTheSeriesAndAdvancesIt) {
    EXPECT_EQ(nextNumber(*ctx, QStringLiteral("FAV-2026")), QStringLiteral("00001"));
    EXPECT_EQ(storedNext(QStringLiteral("FAV-2026")), 2);
    addDocument(QStringLiteral("FAV-2026-00001"));
    EXPECT_EQ(nextNumber(*ctx, QStringLiteral("FAV-2026")), QStringLiteral("00002"));
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(nextNumber(*ctx, QStringLiteral("FAV-2027")), QStringLiteral("00001")) << "every year starts anew";
}

TEST_P(NumberSeries, ExistingNumberIsRefusedWithoutAdvancing) {
    ASSERT_TRUE(nextNumber(*ctx, QStringLiteral("PPD-2026")));
    addDocument(QStringLiteral("PPD-2026-00001"));
    addDocument(QStringLiteral("PPD-2026-00002"));
    EXPECT_FALSE(nextNumber(*ctx, QStringLiteral("PPD-2026")));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba v generátoru !?"));
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("\"PPD-2026-00002\" již v databázi existuje")));
    EXPECT_EQ(storedNext(QStringLiteral("PPD-2026")), 2);
}

TEST_P(NumberSeries, MissingPredecessorAsksAndOnlyYesAdvances) {
    setNext(QStringLiteral("X"), 0); // no-op, keeps the statement exercised on every platform
    ASSERT_TRUE(nextNumber(*ctx, QStringLiteral("VPD-2026")));
    // The first document was never saved: the next number meets the gap warning.
    for (Answer a : {Answer::No, Answer::Cancel}) {
        prompts.answers = {a};
        EXPECT_FALSE(nextNumber(*ctx, QStringLiteral("VPD-2026")));
        EXPECT_EQ(storedNext(QStringLiteral("VPD-2026")), 2);
    }
    prompts.answers = {Answer::Yes};
    EXPECT_EQ(nextNumber(*ctx, QStringLiteral("VPD-2026")), QStringLiteral("00002"));
    EXPECT_EQ(storedNext(QStringLiteral("VPD-2026")), 3);
    ASSERT_EQ(prompts.shown.size(), 3);
    EXPECT_TRUE(prompts.shown[2].text.contains(QStringLiteral("\"VPD-2026-00001\"")));
    EXPECT_EQ(prompts.shown[2].style, MessageStyle::WarnQuestion);
}

TEST_P(NumberSeries, OrdersNeverAskAboutGapsAndLargeNumbersGrow) {
    ASSERT_TRUE(nextNumber(*ctx, QStringLiteral("ZAK-2026")));
    EXPECT_EQ(nextNumber(*ctx, QStringLiteral("ZAK-2026")), QStringLiteral("00002"));
    setNext(QStringLiteral("ZAK-2026"), 99999);
    EXPECT_EQ(nextNumber(*ctx, QStringLiteral("ZAK-2026")), QStringLiteral("99999"));
    EXPECT_EQ(nextNumber(*ctx, QStringLiteral("ZAK-2026")), QStringLiteral("100000"));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_P(NumberSeries, DuplicateSeriesRowsRestartAtOne) {
    ASSERT_TRUE(nextNumber(*ctx, QStringLiteral("OP-2026")));
    ASSERT_TRUE(nextNumber(*ctx, QStringLiteral("OP-2026")));
    auto ds = dataset(QStringLiteral("SELECT * FROM tbl_rady"));
    ds->open();
    ds->append();
    ds->setValue(QStringLiteral("zkratka"), QStringLiteral("OP-2026"));
    ds->setValue(QStringLiteral("cislo"), 7);
    ASSERT_TRUE(ds->post());
    EXPECT_EQ(nextNumber(*ctx, QStringLiteral("OP-2026")), QStringLiteral("00001"));
    EXPECT_EQ(seriesRows(QStringLiteral("OP-2026")), 3);
}

TEST_P(NumberSeries, ApostropheInKeyIsQuotedNotExecuted) {
    EXPECT_EQ(nextNumber(*ctx, QStringLiteral("O'X-2026")), QStringLiteral("00001"));
    EXPECT_EQ(storedNext(QStringLiteral("O'X-2026")), 2);
}

// Two program instances drawing from one series at the same time must never
// receive the same number.
TEST_P(NumberSeries, TwoSessionsNeverShareANumber) {
    constexpr int kPerThread = 25;
    std::vector<QString> numbers[2];
    std::atomic<int> failures{0};
    auto worker = [&](int index) {
        try {
            auto session = db->openSecondSession(QStringLiteral("series_%1").arg(index));
            ScriptedPrompts threadPrompts;
            DiagnosticLog threadLog;
            AppState state = db->state;
            DbContext context(*session, state, threadPrompts, threadLog);
            for (int i = 0; i < kPerThread; ++i) {
                const auto n = nextNumber(context, QStringLiteral("ZAK-2030"));
                if (!n)
                    ++failures;
                else
                    numbers[index].push_back(*n);
            }
        } catch (const DbError& e) {
            ADD_FAILURE() << e.what();
            ++failures;
        }
    };
    QThread* a = QThread::create(worker, 0);
    QThread* b = QThread::create(worker, 1);
    a->start();
    b->start();
    ASSERT_TRUE(a->wait(240000));
    ASSERT_TRUE(b->wait(240000));
    delete a;
    delete b;
    EXPECT_EQ(failures.load(), 0);
    std::set<QString> all;
    for (const auto& list : numbers)
        all.insert(list.begin(), list.end());
    EXPECT_EQ(all.size(), std::size_t(2 * kPerThread));
    EXPECT_EQ(storedNext(QStringLiteral("ZAK-2030")), 2 * kPerThread + 1);
}
