#include "core/diagnostic_log.h"
#include "db/sql_dialect.h"

#include <gtest/gtest.h>

#include <QString>

#include <vector>

namespace kelvarn {
namespace {

constexpr DbPlatform kAllPlatforms[] = {DbPlatform::Jet, DbPlatform::MsSql, DbPlatform::Oracle,
                                        DbPlatform::MySql, DbPlatform::Firebird};

QString q(const char* text) {
    return QString::fromUtf8(text);
}

struct ComposeCase {
    const char* name;
    const char* select;
    const char* filter;
    const char* where;
    const char* orderBy;
    DbPlatform platform;
    const char* expected;
};

const char* const kDocs = "SELECT * FROM tbl_doklad";
const char* const kExists =
    "EXISTS (SELECT * from tbl_polozky WHERE (tbl_polozky.id_tbl_doklad = tbl_doklad.id) AND (";

std::string withExists(const char* head, const char* itemsCond, const char* tail) {
    return std::string(head) + kExists + itemsCond + "))" + tail;
}

TEST(ComposeStatement, DateLiteralAfterDatumOnEveryPlatform) {
    const char* const forms[] = {"#2008/02/01#", "'2008/01/02'", "'2008/02/01'", "'2008/02/01'",
                                 "'2008/02/01'"};
    for (int i = 0; i < 5; ++i) {
        const QString expected = QStringLiteral("SELECT * FROM tbl_doklad WHERE ((doklad_typ=1)) AND "
                                                "(datum_vystaveni >= ") +
                                 q(forms[i]) + QStringLiteral(") ORDER BY cislo_dokladu DESC");
        EXPECT_EQ(composeStatement(q(kDocs), q("datum_vystaveni >= '1.2.2008'"), q("(doklad_typ=1)"),
                                   q("cislo_dokladu DESC"), kAllPlatforms[i]),
                  expected)
            << i;
    }
}

TEST(ComposeStatement, Table) {
    const std::string orExists =
        withExists("SELECT * FROM tbl_doklad WHERE (doklad_typ=1) AND ((odb_nazev_firmy LIKE 'A%') OR ",
                   "tbl_polozky.kod_zbozi = 'X'", ")");
    const std::string andExists =
        withExists("SELECT * FROM tbl_doklad WHERE (doklad_typ=1) AND ((odb_nazev_firmy LIKE 'A%') AND ",
                   "tbl_polozky.kod_zbozi = 'X'", ")");
    const std::string onlyItems =
        withExists("SELECT * FROM tbl_doklad WHERE (doklad_typ=1) AND ", "tbl_polozky.mnozstvi > 2", "");
    const std::string itemsDateFilter =
        withExists("SELECT * FROM tbl_doklad WHERE doklad_typ=1 AND datum_splatnosti < '1.1.2009' AND "
                   "((datum_vystaveni = #2009/03/04#) AND ",
                   "tbl_polozky.popis = 'datum 1.1.2009'", ")");
    const std::string noWhereItems =
        withExists("SELECT * FROM tbl_doklad WHERE ", "tbl_polozky.kod_zbozi = 'X'", "");
    const std::vector<ComposeCase> cases = {
        {"issued docs initial", kDocs, "", "(doklad_typ=1)", "cislo_dokladu DESC", DbPlatform::Jet,
         "SELECT * FROM tbl_doklad WHERE (doklad_typ=1) ORDER BY cislo_dokladu DESC"},
        {"no condition keeps blank", "SELECT * FROM tbl_zbozi", "", "", "kod_zbozi", DbPlatform::Jet,
         "SELECT * FROM tbl_zbozi  ORDER BY kod_zbozi"},
        {"filter without where", "SELECT * FROM tbl_zbozi", "mj = 'ks'", "", "", DbPlatform::Jet,
         "SELECT * FROM tbl_zbozi WHERE (mj = 'ks')"},
        {"items OR", kDocs, "odb_nazev_firmy LIKE 'A%' $ OR tbl_polozky.kod_zbozi = 'X'", "(doklad_typ=1)",
         "", DbPlatform::Jet, orExists.c_str()},
        {"items AND", kDocs, "odb_nazev_firmy LIKE 'A%' $AND tbl_polozky.kod_zbozi = 'X'", "(doklad_typ=1)",
         "", DbPlatform::Oracle, andExists.c_str()},
        {"items without join word", kDocs, "odb_nazev_firmy LIKE 'A%'$tbl_polozky.kod_zbozi = 'X'",
         "(doklad_typ=1)", "", DbPlatform::Jet, andExists.c_str()},
        {"items only", kDocs, " $ AND tbl_polozky.mnozstvi > 2", "(doklad_typ=1)", "", DbPlatform::Jet,
         onlyItems.c_str()},
        // Only the filter is date-converted in the item-lines form.
        {"items leave where and items dates", kDocs,
         "datum_vystaveni = '4.3.2009'\r\n$ AND tbl_polozky.popis = 'datum 1.1.2009'",
         "doklad_typ=1 AND datum_splatnosti < '1.1.2009'", "", DbPlatform::Jet, itemsDateFilter.c_str()},
        {"items without fixed condition", kDocs, "$ tbl_polozky.kod_zbozi = 'X'", "", "", DbPlatform::Jet,
         noWhereItems.c_str()},
        {"dollar without items table", "SELECT * FROM t", "a = 'US$'", "", "", DbPlatform::Jet,
         "SELECT * FROM t WHERE (a = 'US$')"},
        {"items table without dollar", "SELECT * FROM t", "tbl_polozky.x = 1", "", "", DbPlatform::Jet,
         "SELECT * FROM t WHERE (tbl_polozky.x = 1)"},
        {"between converts both bounds", "SELECT * FROM t", "datum BETWEEN '1.2.2008' AND '3.4.2008'", "", "",
         DbPlatform::Jet, "SELECT * FROM t WHERE (datum BETWEEN #2008/02/01# AND #2008/04/03#)"},
        {"each datum gets its literal", "SELECT * FROM t", "datum_a = '1.2.2008' OR datum_b = '31.12.2008'",
         "", "", DbPlatform::MsSql,
         "SELECT * FROM t WHERE (datum_a = '2008/01/02' OR datum_b = '2008/31/12')"},
        {"literal of the fixed condition", "SELECT * FROM t", "", "datum_uhrady > '5.6.2010'", "",
         DbPlatform::Firebird, "SELECT * FROM t WHERE datum_uhrady > '2010/06/05'"},
        {"six characters stay", "SELECT * FROM t", "datum = '1.2.08'", "", "", DbPlatform::Jet,
         "SELECT * FROM t WHERE (datum = '1.2.08')"},
        {"eight characters two-digit year", "SELECT * FROM t", "datum = '01.02.08'", "", "", DbPlatform::Jet,
         "SELECT * FROM t WHERE (datum = #2008/02/01#)"},
        {"eleven characters stay", "SELECT * FROM t", "datum = '01.02.20081'", "", "", DbPlatform::Jet,
         "SELECT * FROM t WHERE (datum = '01.02.20081')"},
        {"percent pattern stays", "SELECT * FROM t", "datum LIKE '%.2.2008'", "", "", DbPlatform::Jet,
         "SELECT * FROM t WHERE (datum LIKE '%.2.2008')"},
        {"underscore pattern stays", "SELECT * FROM t", "datum LIKE '_1.2.2008'", "", "", DbPlatform::Jet,
         "SELECT * FROM t WHERE (datum LIKE '_1.2.2008')"},
        {"no dot stays", "SELECT * FROM t", "datum = '20080201'", "", "", DbPlatform::Jet,
         "SELECT * FROM t WHERE (datum = '20080201')"},
        {"missing closing apostrophe", "SELECT * FROM t", "datum = '1.2.2008", "", "", DbPlatform::Jet,
         "SELECT * FROM t WHERE (datum = '1.2.2008)"},
        {"capital Datum is not a date column", "SELECT * FROM t", "Datum = '1.2.2008'", "", "",
         DbPlatform::Jet, "SELECT * FROM t WHERE (Datum = '1.2.2008')"},
        {"upper translated on JET", "SELECT * FROM t", "upper(nazev) = 'A' OR Lower (x) = 'b'", "", "",
         DbPlatform::Jet, "SELECT * FROM t WHERE (UCASE(nazev) = 'A' OR LCASE (x) = 'b')"},
        {"date function Firebird", "SELECT * FROM t", "datum_splatnosti < date()", "", "",
         DbPlatform::Firebird, "SELECT * FROM t WHERE (datum_splatnosti < current_date)"},
        {"date function kept on MySQL", "SELECT * FROM t", "datum_splatnosti < DATE()", "", "",
         DbPlatform::MySql, "SELECT * FROM t WHERE (datum_splatnosti < DATE())"},
        {"date function Oracle after literal step", "SELECT * FROM t", "datum < DATE()", "", "",
         DbPlatform::Oracle,
         "SELECT * FROM t WHERE (datum < to_date(to_char(sysdate,'DD.MM.YYYY'), 'DD.MM.YYYY'))"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(composeStatement(q(c.select), q(c.filter), q(c.where), q(c.orderBy), c.platform),
                  q(c.expected))
            << c.name;
}

TEST(ComposeStatement, AppendsToTheLogOnlyWhenGiven) {
    DiagnosticLog log;
    const QString statement =
        composeStatement(q("SELECT * FROM tbl_zbozi"), {}, {}, q("kod_zbozi"), DbPlatform::Jet, &log);
    EXPECT_TRUE(log.text().endsWith(statement));
    EXPECT_EQ(log.text().count(statement), 1);
}

TEST(SqlDialect, TranslateFunctionsPerPlatform) {
    const QString in =
        q("SELECT UPPER(a), upper (b), Lower(c), LOWER (d) FROM t WHERE x < Date() AND y < DATE()");
    EXPECT_EQ(SqlDialect::translateFunctions(in, DbPlatform::Jet),
              q("SELECT UCASE(a), UCASE (b), LCASE(c), LCASE (d) FROM t WHERE x < Date() AND y < DATE()"));
    EXPECT_EQ(SqlDialect::translateFunctions(in, DbPlatform::MySql), in);
    const QString msSql = SqlDialect::translateFunctions(in, DbPlatform::MsSql);
    EXPECT_EQ(msSql.count(q("CAST(FLOOR(CAST(GETDATE() AS FLOAT)) AS DATETIME)")), 2);
    EXPECT_TRUE(msSql.startsWith(q("SELECT UPPER(a), upper (b)")));
    EXPECT_EQ(SqlDialect::translateFunctions(in, DbPlatform::Firebird).count(q("current_date")), 2);
}

TEST(SqlDialect, SequencesAndNextId) {
    EXPECT_EQ(SqlDialect::sequenceName(q("tbl_doklad")), q("tbl_doklad_seq_id"));
    EXPECT_EQ(SqlDialect::sequenceName(q("tbl_filtry")), q("tbl_filtry_seq_id"));
    EXPECT_EQ(SqlDialect::sequenceName(q("tbl_zakazka")), q("tbl_Zakazky_seq_id"));
    EXPECT_EQ(SqlDialect::sequenceName(q("tbl_podnikatel")), QString());
    EXPECT_EQ(SqlDialect::sequenceName(q("tbl_system")), QString());

    EXPECT_EQ(SqlDialect::nextIdStatement(q("tbl_zakazka"), DbPlatform::Oracle),
              q("SELECT tbl_Zakazky_seq_id.nextval As AutoInc FROM dual"));
    EXPECT_EQ(SqlDialect::nextIdStatement(q("tbl_polozky"), DbPlatform::Firebird),
              q("SELECT gen_id(tbl_polozky_seq_id,1) As AutoInc FROM rdb$database"));
    for (DbPlatform p : {DbPlatform::Jet, DbPlatform::MsSql, DbPlatform::MySql})
        EXPECT_EQ(SqlDialect::nextIdStatement(q("tbl_doklad"), p), QString());
    EXPECT_EQ(SqlDialect::nextIdStatement(q("tbl_podnikatel"), DbPlatform::Firebird), QString());
}

TEST(SqliteDialect, CanonicalDateText) {
    EXPECT_EQ(sqliteDateText(2008, 2, 1), q("2008-02-01 00:00:00"));
    EXPECT_EQ(sqliteDateText(2010, 12, 31, 23, 5, 9), q("2010-12-31 23:05:09"));
    // Text order must be date order.
    EXPECT_LT(sqliteDateText(2008, 9, 30, 23, 59, 59), sqliteDateText(2008, 10, 1));
}

// The constraints the embedded tables put on date and number columns.
#define DATE_CHECK(c) " CHECK (" c " IS NULL OR datetime(" c ", '+0 days') IS " c ")"
#define NUMBER_CHECK(c) " CHECK (" c " IS NULL OR typeof(" c ") IN ('integer', 'real'))"

TEST(SqliteDialect, AccessToSqlite) {
    struct Case {
        const char* in;
        const char* out;
    };
    const std::vector<Case> cases = {
        {"SELECT * FROM t WHERE d >= #2008/02/01# AND d < #2008/3/1#",
         "SELECT * FROM t WHERE d >= '2008-02-01 00:00:00' AND d < '2008-03-01 00:00:00'"},
        {"UPDATE t SET d = #2008-02-01 7:05:03#", "UPDATE t SET d = '2008-02-01 07:05:03'"},
        {"SELECT 1 WHERE d = #12/31/2009 10:30#", "SELECT 1 WHERE d = '2009-12-31 10:30:00'"},
        {"SELECT 'x #2008/02/01# ''y #2008/02/01#' FROM t",
         "SELECT 'x #2008/02/01# ''y #2008/02/01#' FROM t"},
        {"SELECT * FROM t WHERE d = #2008/02/30#", "SELECT * FROM t WHERE d = #2008/02/30#"},
        {"SELECT memo, counter FROM t WHERE x LIKE '% memo%'",
         "SELECT memo, counter FROM t WHERE x LIKE '% memo%'"},
        {"CREATE TABLE tbl_x (id COUNTER PRIMARY KEY, popis memo, nazev TEXT(50) WITH COMPRESSION, d "
         "DATETIME, "
         "n SMALLINT, f FLOAT, b YESNO, c Currency)",
         "CREATE TABLE tbl_x (id INTEGER PRIMARY KEY AUTOINCREMENT, popis TEXT, nazev TEXT(50), d "
         "DATETIME" DATE_CHECK("d") ", n SMALLINT" NUMBER_CHECK("n") ", f FLOAT" NUMBER_CHECK(
             "f") ", b INTEGER" NUMBER_CHECK("b") ", c REAL" NUMBER_CHECK("c") ")"},
        {"CREATE TABLE t (id COUNTER NOT NULL PRIMARY KEY, n INT)",
         "CREATE TABLE t (id INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, n INT" NUMBER_CHECK("n") ")"},
        {"\r\ncreate table t (memo MEMO, counter Counter NOT NULL) with compression",
         "\r\ncreate table t (memo TEXT, counter INTEGER NOT NULL)"},
        {"ALTER TABLE memo ADD COLUMN memo MEMO DEFAULT 'a MEMO'",
         "ALTER TABLE memo ADD COLUMN memo TEXT DEFAULT 'a MEMO'"},
        {"ALTER TABLE t ADD [my col] MEMO", "ALTER TABLE t ADD [my col] TEXT"},
        {"INSERT INTO t (a) VALUES (:a)", "INSERT INTO t (a) VALUES (:a)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(accessToSqlite(q(c.in)), q(c.out)) << c.in;
}

TEST(SqliteDialect, LiteralsKeepEveryCharacterAndStaySeparate) {
    // Found by fuzzing: a control character the adapter once used as its own mark
    // vanished from values, and a date right beside a quote merged with it.
    const struct {
        QString in;
        QString out;
    } cases[] = {
        {QStringLiteral("SELECT 'a") + QChar(1) + QStringLiteral("b'"), QStringLiteral("SELECT 'a") + QChar(1) + QStringLiteral("b'")},
        {QStringLiteral("CREATE TABLE t (id COUNTER PRIMARY KEY, d MEMO DEFAULT '") + QChar(1) + QStringLiteral("')"),
         QStringLiteral("CREATE TABLE t (id INTEGER PRIMARY KEY AUTOINCREMENT, d TEXT DEFAULT '") + QChar(1) +
             QStringLiteral("')")},
        {QStringLiteral("SELECT 'x'#2008/02/01#'y'"), QStringLiteral("SELECT 'x' '2008-02-01 00:00:00' 'y'")},
        {QStringLiteral("CREATE TABLE t (a COUNTER, b COUNTER NOT NULL PRIMARY KEY)"),
         QStringLiteral("CREATE TABLE t (a INTEGER, b INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT)")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(accessToSqlite(c.in), c.out) << c.in.toStdString();
}

TEST(SqliteDialect, ComposedJetLiteralMatchesStoredDay) {
    const QString composed =
        composeStatement(q("SELECT * FROM t"), q("datum_vystaveni = '1.2.2008'"), {}, {}, DbPlatform::Jet);
    EXPECT_TRUE(accessToSqlite(composed).contains(QLatin1Char('\'') + sqliteDateText(2008, 2, 1) +
                                                  QLatin1Char('\'')));
}

} // namespace
} // namespace kelvarn
