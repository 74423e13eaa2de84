#include "core/formatting.h"
#include "core/text_file.h"
#include "db/db_error.h"
#include "output/console_runner.h"
#include "support/db/test_databases.h"
#include "support/scripted_prompts.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlQuery>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace kelvarn {
namespace {

using test::ScriptedPrompts;

// Prompts whose processEvents() can act in the middle of a run.
class HookedPrompts : public ScriptedPrompts {
  public:
    void processEvents() override {
        if (hook)
            hook();
    }
    std::function<void()> hook;
};

QByteArray readBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll();
}

const QString kIntegrity = QStringLiteral("Skript přerušen, protože by došlo k narušení integrity dat.\r\n"
                                          "Verze Vaší databáze je ");

class ConsoleRunnerTest : public ::testing::TestWithParam<DbPlatform> {
  protected:
    void SetUp() override {
        KELVARN_REQUIRE_PLATFORM(GetParam());
        LocaleConventions::setCurrent(LocaleConventions::czech());
        db = test::createTestDatabase(GetParam());
        ASSERT_TRUE(db);
        db->state.installResult = 0;
        db->session->execute(QStringLiteral("CREATE TABLE console_t (id INTEGER, nazev VARCHAR(100))"));
        runner = std::make_unique<ConsoleRunner>(*db->session, db->state, prompts);
        runner->setMode(modeForPlatform(db->state.platform));
        runner->setClock([] { return QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)); });
        QFile::remove(runner->logFilePath()); // the install run has written there already
    }

    QStringList names() {
        QStringList out;
        QSqlQuery q = db->session->query(QStringLiteral("SELECT nazev FROM console_t ORDER BY id"));
        while (q.next())
            out.append(q.value(0).toString());
        return out;
    }

    void setDbVersion(const QString& version) {
        db->session->execute(
            QStringLiteral("UPDATE tbl_system SET verze_databaze='%1' WHERE id=1").arg(version));
    }

    QString logged(const QString& statement) const {
        return QStringLiteral("\r\n-------------------\r\n") +
               formatDateTime(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))) + QStringLiteral("\r\n") +
               statement;
    }

    std::unique_ptr<test::TestDatabase> db;
    HookedPrompts prompts;
    std::unique_ptr<ConsoleRunner> runner;
};

TEST_P(ConsoleRunnerTest, SelectSpellingsFillTheResultOtherStatementsGoToTheExecutor) {
    runner->run(
        QStringLiteral("INSERT INTO console_t VALUES (1, 'a');\r\nINSERT INTO console_t VALUES (2, 'b');\r\n"
                       "UPDATE console_t SET nazev='c' WHERE id>0;"));
    EXPECT_EQ(runner->statusText(), QStringLiteral("Počet ovlivněných záznamů: 2"));
    EXPECT_EQ(db->state.installResult, 2);

    for (const char* select : {"select", "Select", "SELECT"}) {
        runner->result().close();
        runner->run(QString::fromLatin1(select) + QStringLiteral(" * FROM console_t;"));
        ASSERT_TRUE(runner->result().isActive()) << select;
        EXPECT_EQ(runner->result().recordCount(), 2) << select;
        EXPECT_EQ(runner->statusText(), QStringLiteral("Počet nalezených záznamů: 2")) << select;
    }
    // Line breaks before a statement are dropped, so this one still counts as a SELECT.
    runner->result().close();
    runner->run(QStringLiteral("\r\n\r\nSELECT * FROM console_t WHERE id=1;"));
    EXPECT_EQ(runner->result().recordCount(), 1);

    // Any other spelling or a leading blank sends the statement to the executor;
    // the previous result stays where it was.
    for (const char* other : {"sElect * FROM console_t;", " SELECT * FROM console_t;"}) {
        runner->run(QString::fromLatin1(other));
        EXPECT_TRUE(runner->statusText().startsWith(QStringLiteral("Počet ovlivněných záznamů: "))) << other;
        EXPECT_EQ(runner->result().recordCount(), 1) << other;
    }
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_P(ConsoleRunnerTest, SplittingStopsAtALeadingSemicolonAndSkipsCommentsAndShortStatements) {
    // No ";" at all, and a ";" first: nothing runs and nothing is logged.
    runner->run(QStringLiteral("INSERT INTO console_t VALUES (1, 'a')"));
    runner->run(QStringLiteral(";INSERT INTO console_t VALUES (1, 'a');"));
    EXPECT_TRUE(names().isEmpty());
    EXPECT_EQ(db->state.installResult, 0);
    EXPECT_FALSE(QFile::exists(runner->logFilePath()));

    // Two semicolons in a row end the script after the first statement.
    runner->run(
        QStringLiteral("INSERT INTO console_t VALUES (1, 'a');;INSERT INTO console_t VALUES (2, 'b');"));
    EXPECT_EQ(names(), QStringList{QStringLiteral("a")});

    // "//" anywhere, even inside a literal, and statements of up to five characters
    // are skipped without a trace; six characters of junk are not.
    runner->run(QStringLiteral("INSERT INTO console_t VALUES (2, 'http://x');\r\n// a comment;\r\nabcde;\r\n"
                               "INSERT INTO console_t VALUES (3, 'c');"));
    EXPECT_EQ(names(), (QStringList{QStringLiteral("a"), QStringLiteral("c")}));
    EXPECT_FALSE(runner->logText().contains(QStringLiteral("http")));
    EXPECT_TRUE(prompts.shown.isEmpty());

    runner->run(QStringLiteral("abcdef;"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba (ODBC)"));
}

TEST_P(ConsoleRunnerTest, PlatformMarkersRunOnlyTheirOwnPlatformsStatements) {
    runner->run(QStringLiteral("#ACCESS_ONLY INSERT INTO console_t VALUES (1, 'jet');\r\n"
                               "#MYSQL_ONLY INSERT INTO console_t VALUES (4, 'mysql');\r\n"
                               "#FIREBIRD_ONLY INSERT INTO console_t VALUES (5, 'firebird');\r\n"
                               "#ORACLE_ONLY INSERT INTO console_t VALUES (3, 'oracle');\r\n"));
    const QString own = GetParam() == DbPlatform::MySql      ? QStringLiteral("mysql")
                        : GetParam() == DbPlatform::Firebird ? QStringLiteral("firebird")
                                                             : QStringLiteral("jet");
    EXPECT_EQ(names(), QStringList{own});
}

TEST_P(ConsoleRunnerTest, VersionGuardsSelectTheSectionOfTheDatabasesVersion) {
    const QString guard160 = QStringLiteral("#ALLOW ONLY-1.60-");
    const QString guard170 = QStringLiteral("#ALLOW ONLY-1.70-");
    const QString a = QStringLiteral("INSERT INTO console_t VALUES (1, 'A')");
    const QString b = QStringLiteral("INSERT INTO console_t VALUES (2, 'B')");
    const QString script = guard160 + QStringLiteral(";\r\n") + a + QStringLiteral(";\r\n") + guard170 +
                           QStringLiteral(";\r\n") + b + QStringLiteral(";\r\n");

    setDbVersion(QStringLiteral("1.70"));
    runner->run(script);
    EXPECT_EQ(names(), QStringList{QStringLiteral("B")});
    EXPECT_EQ(runner->logText(), logged(guard160) + logged(guard170) + logged(b) + QStringLiteral("\r\n[1]"));
    EXPECT_EQ(db->state.installResult, 2);

    db->session->execute(QStringLiteral("DELETE FROM console_t"));
    db->state.installResult = 0;
    setDbVersion(QStringLiteral("1.80"));
    runner->run(script);
    EXPECT_TRUE(names().isEmpty());
    EXPECT_EQ(runner->logText(), logged(guard160) + logged(guard170));
    EXPECT_EQ(db->state.installResult, 0); // nothing was executed

    setDbVersion(QStringLiteral("1.60"));
    runner->run(script);
    EXPECT_EQ(names(), QStringList{QStringLiteral("A")});
    const QString error = kIntegrity + QStringLiteral("1.60");
    EXPECT_EQ(runner->logText(), logged(guard160) + logged(a) + QStringLiteral("\r\n[1]") + logged(guard170) +
                                     QStringLiteral("\r\n[ERROR - ") + error + QStringLiteral("]"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba (ODBC)"));
    EXPECT_EQ(prompts.shown[0].text, error);
    EXPECT_EQ(prompts.shown[0].style, MessageStyle::Error);
    EXPECT_EQ(db->state.installResult, 1);
}

TEST_P(ConsoleRunnerTest, GuardVersionsAreReadWithTheLocaleSeparatorAndAgainAtEveryGuard) {
    // An update script raises the version at the end of each section.
    setDbVersion(QStringLiteral("1.60"));
    for (const char* separator : {",", "."}) {
        db->session->execute(QStringLiteral("DELETE FROM console_t"));
        setDbVersion(QStringLiteral("1.60"));
        db->state.decimalSeparator = QString::fromLatin1(separator);
        runner->run(QStringLiteral("#ALLOW ONLY-1.6-;\r\nINSERT INTO console_t VALUES (1, 'A');\r\n"
                                   "UPDATE tbl_system SET verze_databaze='1.70' WHERE id=1;\r\n"
                                   "#ALLOW ONLY-1.70-;\r\nINSERT INTO console_t VALUES (2, 'B');"));
        EXPECT_EQ(names(), (QStringList{QStringLiteral("A"), QStringLiteral("B")})) << separator;
    }
    EXPECT_TRUE(prompts.shown.isEmpty());

    // Without its closing hyphen the guard's version cannot be read: the run stops.
    runner->run(QStringLiteral("#ALLOW ONLY-1.70;\r\nINSERT INTO console_t VALUES (3, 'C');"));
    EXPECT_EQ(names().size(), 2);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(db->state.installResult, 1);

    // A database whose version cannot be read counts as version 0.
    db->session->execute(QStringLiteral("DELETE FROM tbl_system"));
    runner->run(QStringLiteral("#ALLOW ONLY-1.60-;\r\nINSERT INTO console_t VALUES (3, 'C');"));
    EXPECT_EQ(names().size(), 2);
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(prompts.shown[1].text, kIntegrity + QStringLiteral("0"));
}

TEST_P(ConsoleRunnerTest, AnErrorStopsTheRunKeepsEarlierStatementsAndIsLoggedInCodePage1250) {
    const QString ok = QStringLiteral("INSERT INTO console_t VALUES (1, 'Žluťoučký kůň')");
    const QString bad = QStringLiteral("INSERT INTO no_such_table VALUES (1)");
    runner->run(ok + QStringLiteral(";\r\n") + bad +
                QStringLiteral(";\r\nINSERT INTO console_t VALUES (2, 'b');"));
    EXPECT_EQ(names(), QStringList{QStringLiteral("Žluťoučký kůň")});
    EXPECT_EQ(db->state.installResult, 1);
    EXPECT_FALSE(runner->isRunning());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba (ODBC)"));
    EXPECT_FALSE(prompts.shown[0].text.isEmpty());
    const QString firstRun = logged(ok) + QStringLiteral("\r\n[1]") + logged(bad) +
                             QStringLiteral("\r\n[ERROR - ") + prompts.shown[0].text + QStringLiteral("]");
    EXPECT_EQ(runner->logText(), firstRun);

    runner->run(QStringLiteral("SELECT * FROM console_t;"));
    EXPECT_EQ(
        readBytes(runner->logFilePath()),
        toCp1250(firstRun + logged(QStringLiteral("SELECT * FROM console_t")) + QStringLiteral("\r\n[1]")));
}

TEST_P(ConsoleRunnerTest, ARunStartedWhileOneIsRunningIsIgnored) {
    int hooks = 0;
    prompts.hook = [&] {
        ++hooks;
        EXPECT_TRUE(runner->isRunning());
        runner->run(QStringLiteral("INSERT INTO console_t VALUES (9, 'nested');"));
    };
    runner->run(
        QStringLiteral("INSERT INTO console_t VALUES (1, 'a');\r\nINSERT INTO console_t VALUES (2, 'b');"));
    EXPECT_EQ(hooks, 2);
    EXPECT_EQ(names(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_FALSE(runner->isRunning());
}

TEST_P(ConsoleRunnerTest, ExportWritesTheHeaderAndOneLinePerRowOfTheResult) {
    const QString dir = db->dir->path() + QLatin1Char('/');
    runner->run(QStringLiteral("SELECT id, nazev FROM console_t;"));

    // An empty result still gets its header.
    prompts.inputs = {QStringLiteral("$")};
    prompts.fileNames = {dir + QStringLiteral("empty.txt")};
    ASSERT_TRUE(runner->exportResult());
    EXPECT_EQ(readBytes(dir + QStringLiteral("empty.txt")).toLower(), QByteArray("id$nazev$\r\n"));
    EXPECT_EQ(prompts.savePresets, QStringList{QStringLiteral("query_export.txt")});
    EXPECT_EQ(runner->statusText(), QStringLiteral("Počet nalezených záznamů: 0")); // restored

    db->session->execute(QStringLiteral("INSERT INTO console_t VALUES (1, 'Kůň')"));
    db->session->execute(QStringLiteral("INSERT INTO console_t VALUES (2, ?)"),
                         {QStringLiteral("dva\r\nřádky")});
    runner->run(QStringLiteral("SELECT id, nazev FROM console_t ORDER BY id;"));
    prompts.inputs = {QStringLiteral("<TAB>")};
    prompts.fileNames = {dir + QStringLiteral("rows.txt")};
    ASSERT_TRUE(runner->exportResult({1, 0})); // in the grid's column order
    EXPECT_EQ(fromCp1250(readBytes(dir + QStringLiteral("rows.txt")).toLower()),
              QStringLiteral("nazev\tid\t\r\nkůň\t1\t\r\ndva<enter>řádky\t2\t\r\n"));

    // Cancelling the separator or the save dialog writes nothing and says nothing.
    EXPECT_FALSE(runner->exportResult());
    prompts.inputs = {QStringLiteral("$")};
    EXPECT_FALSE(runner->exportResult());
    EXPECT_TRUE(prompts.shown.isEmpty());

    prompts.inputs = {QStringLiteral("$")};
    prompts.fileNames = {dir + QStringLiteral("no/such/folder/x.txt")};
    EXPECT_FALSE(runner->exportResult());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Import/export se nezdařil"));

    // A result being edited is not exported.
    runner->result().edit();
    prompts.inputTitles.clear();
    EXPECT_FALSE(runner->exportResult());
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(prompts.shown[1].caption, QStringLiteral("Chyba"));
    EXPECT_TRUE(prompts.inputTitles.isEmpty());
}

TEST_P(ConsoleRunnerTest, AffectedRowsAreThoseOfTheStatementItself) {
    struct Step {
        const char* statement;
        const char* count;
    };
    // A statement that changes no rows must not repeat the count of an earlier one.
    const Step steps[] = {
        {"INSERT INTO console_t VALUES (1, 'a')", "1"},
        {"INSERT INTO console_t VALUES (2, 'b')", "1"},
        {"UPDATE console_t SET nazev='c' WHERE id>0", "2"},
        {"CREATE TABLE console_u (id INT)", "0"},
        {"UPDATE console_t SET nazev='d' WHERE id>5", "0"},
        {"UPDATE console_t SET nazev='e' WHERE id=1", "1"},
        {"DROP TABLE console_u", "0"},
    };
    for (const Step& step : steps) {
        runner->run(QString::fromLatin1(step.statement) + QLatin1Char(';'));
        EXPECT_EQ(runner->statusText(),
                  QStringLiteral("Počet ovlivněných záznamů: ") + QLatin1String(step.count))
            << step.statement;
        EXPECT_TRUE(runner->logText().endsWith(QStringLiteral("\r\n[") + QLatin1String(step.count) +
                                               QLatin1Char(']')))
            << step.statement;
    }
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.value(0).text.toStdString();
}

TEST_P(ConsoleRunnerTest, DatesTypedAsDayMonthYearAreStoredAsDates) {
    // By position in an INSERT, after a date column anywhere else; both bounds of a
    // BETWEEN; two-digit years with their century.
    runner->run(QStringLiteral(
        "INSERT INTO tbl_hlavnikniha (id, doklad, datum, popis) VALUES (1, 'D1', '1.2.2008', '2.2.2008');\r\n"
        "INSERT INTO tbl_hlavnikniha (id, datum, doklad) VALUES (2, '15.02.08', 'D2');\r\n"
        "INSERT INTO tbl_hlavnikniha (id, datum, doklad) VALUES (3, '31.12.1999', 'D3');\r\n"
        "INSERT INTO tbl_hlavnikniha (id, datum, doklad) VALUES (4, '01.01.30', 'D4');\r\n"
        "UPDATE tbl_hlavnikniha SET datum='29.2.2008' WHERE id=4;\r\n"
        "UPDATE tbl_hlavnikniha SET datum=datum, popis='3.3.2008' WHERE id=4;\r\n"));
    ASSERT_TRUE(prompts.shown.isEmpty()) << prompts.shown[0].text.toStdString();

    runner->run(QStringLiteral("SELECT doklad, datum, popis FROM tbl_hlavnikniha ORDER BY datum;"));
    Dataset& result = runner->result();
    ASSERT_EQ(result.recordCount(), 4);
    const char* const order[] = {"D3", "D1", "D2", "D4"};
    const QDate days[] = {QDate(1999, 12, 31), QDate(2008, 2, 1), QDate(2008, 2, 15), QDate(2008, 2, 29)};
    for (int row = 0; row < 4; ++row) {
        result.moveTo(row);
        EXPECT_EQ(result.asString(QStringLiteral("doklad")), QLatin1String(order[row])) << row;
        EXPECT_EQ(result.asDateTime(QStringLiteral("datum")), QDateTime(days[row], QTime(0, 0))) << row;
    }
    result.moveTo(1);
    EXPECT_EQ(result.asString(QStringLiteral("popis")), QStringLiteral("2.2.2008"))
        << "a text column keeps its text";
    result.moveTo(3);
    EXPECT_EQ(result.asString(QStringLiteral("popis")), QStringLiteral("3.3.2008"))
        << "also when set after a date";

    runner->run(
        QStringLiteral("SELECT doklad FROM tbl_hlavnikniha WHERE datum BETWEEN '1.2.2008' AND '15.02.08' "
                       "ORDER BY datum;"));
    ASSERT_EQ(runner->result().recordCount(), 2);
    runner->run(
        QStringLiteral("SELECT doklad FROM tbl_hlavnikniha WHERE datum IN ('31.12.1999', '29.2.2008');"));
    EXPECT_EQ(runner->result().recordCount(), 2);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_P(ConsoleRunnerTest, ValuesThatCannotBeDatesOrNumbersAreRefused) {
    const char* const refused[] = {
        "INSERT INTO tbl_hlavnikniha (id, doklad, datum) VALUES (1, 'D1', 'abc')",
        "INSERT INTO tbl_hlavnikniha (id, doklad, datum) VALUES (2, 'D2', '30.2.2008')",
        "INSERT INTO tbl_hlavnikniha (id, doklad, datum, prijem_danovy) VALUES (3, 'D3', '1.2.2008', "
        "'deset')",
        "INSERT INTO tbl_knihajizd (id, datum, pocet_km, spz, ridic) VALUES (4, '1.2.2008', 'ten', 'X', 'Y')",
    };
    for (const char* statement : refused) {
        prompts.shown.clear();
        db->state.installResult = 0;
        runner->run(QString::fromLatin1(statement) + QLatin1Char(';'));
        ASSERT_EQ(prompts.shown.size(), 1) << statement;
        EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba (ODBC)")) << statement;
        EXPECT_TRUE(runner->logText().contains(QStringLiteral("[ERROR - "))) << statement;
        EXPECT_EQ(db->state.installResult, 1) << statement;
    }
    EXPECT_EQ(test::scalar(*db->session, QStringLiteral("SELECT count(*) FROM tbl_hlavnikniha")),
              QStringLiteral("0"));
    EXPECT_EQ(test::scalar(*db->session, QStringLiteral("SELECT count(*) FROM tbl_knihajizd")),
              QStringLiteral("0"));

    // Numbers written as text are numbers all the same.
    prompts.shown.clear();
    runner->run(QStringLiteral("INSERT INTO tbl_knihajizd (id, datum, pocet_km, spz, ridic) VALUES (5, "
                               "'1.2.2008', '12', 'X', 'Y');"));
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(test::scalar(*db->session, QStringLiteral("SELECT pocet_km + 1 FROM tbl_knihajizd")),
              QStringLiteral("13"));
}

INSTANTIATE_TEST_SUITE_P(Platforms, ConsoleRunnerTest, ::testing::ValuesIn(test::testPlatforms()),
                         [](const ::testing::TestParamInfo<DbPlatform>& info) {
                             return test::platformLabel(info.param).toStdString();
                         });

} // namespace
} // namespace kelvarn
