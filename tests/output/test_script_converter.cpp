#include "output/script_converter.h"

#include <gtest/gtest.h>

#include <QString>

#include <vector>

namespace kelvarn {
namespace {

TEST(ScriptConverter, ModesAndCaptions) {
    struct Case {
        const char* code;
        ConversionMode mode;
        const char* caption;
    };
    const std::vector<Case> cases = {
        {"1", ConversionMode::None, "  Nekonvertovat"},
        {"2", ConversionMode::MsSql, "  Access -> Microsoft S&QL"},
        {"3", ConversionMode::Oracle, "  Access -> Oracle"},
        {"4", ConversionMode::MySql, "  Access -> MySQL"},
        {"5", ConversionMode::Firebird, "  Access -> Firebird"},
        {"", ConversionMode::None, "  Nekonvertovat"},
        {" 5", ConversionMode::None, "  Nekonvertovat"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(modeForPlatform(QString::fromUtf8(c.code)), c.mode) << c.code;
        EXPECT_EQ(modeCaption(c.mode), QString::fromUtf8(c.caption)) << c.code;
    }
}

TEST(ScriptConverter, PlatformMarkers) {
    const char* const markers[] = {"#ACCESS_ONLY ", "#SQL2005_ONLY ", "#ORACLE_ONLY ", "#MYSQL_ONLY ",
                                   "#FIREBIRD_ONLY "};
    const ConversionMode own[] = {ConversionMode::None, ConversionMode::MsSql, ConversionMode::Oracle,
                                  ConversionMode::MySql, ConversionMode::Firebird};
    for (int m = 0; m < 5; ++m)
        for (int marker = 0; marker < 5; ++marker) {
            // Lower case too: the rewrites ignore letter case.
            const QString statement =
                QString::fromLatin1(markers[marker]).toLower() + QStringLiteral("DROP TABLE x");
            const QString expected =
                (m == marker ? QString() : QStringLiteral("//")) + QStringLiteral("DROP TABLE x");
            EXPECT_EQ(convertStatement(statement, own[m]), expected) << m << ' ' << marker;
        }
}

TEST(ScriptConverter, TypeRewrites) {
    struct Case {
        ConversionMode mode;
        const char* in;
        const char* out;
    };
    const std::vector<Case> cases = {
        {ConversionMode::None, "CREATE TABLE t (a COUNTER, b MEMO) WITH COMPRESSION",
         "CREATE TABLE t (a COUNTER, b MEMO) WITH COMPRESSION"},
        {ConversionMode::MsSql, "CREATE TABLE t (a COUNTER, b memo, c TEXT(5) WITH COMPRESSION, d FLOAT)",
         "CREATE TABLE t (a INT IDENTITY(1,1), b TEXT, c TEXT(5), d FLOAT)"},
        {ConversionMode::MySql, "CREATE TABLE t (a Counter, b MEMO, c float) with compression",
         "CREATE TABLE t (a INT AUTO_INCREMENT, b MEMO, c DOUBLE)"},
        {ConversionMode::Oracle, "CREATE TABLE t (a COUNTER, b MEMO, c DATETIME) WITH COMPRESSION",
         "CREATE TABLE t (a NUMBER(9), b LONG, c DATE)"},
        {ConversionMode::Oracle, "CREATE TABLE t (a varchar(5), b SMALLINT, c INT)",
         "CREATE TABLE t (a varchar2(5), b NUMBER(4), c NUMBER(9))"},
        {ConversionMode::Oracle, "INSERT INTO t (a) VALUES (1)", "INSERT INTO t (a) VALUES (1)"},
        {ConversionMode::Oracle, "CREATE TABLE t (a INTEGER)", "CREATE TABLE t (a NUMBER(9)EGER)"},
        {ConversionMode::Firebird,
         "CREATE TABLE t (a INT, b INTEGER, c COUNTER, d FLOAT, e DATETIME, f MEMO)",
         "CREATE TABLE t (a INTEGER, b INTEGEREGER, c INTEGER, d DOUBLE PRECISION, e TIMESTAMP, "
         "f BLOB SUB_TYPE TEXT)"},
        // The shielded keyword comes back in capitals.
        {ConversionMode::Firebird, "insert into t (a) values (1)", "insert INTO t (a) values (1)"},
        {ConversionMode::Firebird, "ALTER TABLE t DROP COLUMN a", "ALTER TABLE t DROP a"},
        // Blind substitution also reaches names and string literals.
        {ConversionMode::Firebird, "UPDATE t SET a = ' memo'", "UPDATE t SET a = ' BLOB SUB_TYPE TEXT'"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(convertStatement(QString::fromUtf8(c.in), c.mode), QString::fromUtf8(c.out)) << c.in;
}

} // namespace
} // namespace kelvarn
