#include "db/date_literals.h"
#include "db/sql_dialect.h"
#include "platform_fixture.h"

#include <gtest/gtest.h>

#include <QString>

#include <vector>

namespace kelvarn {
namespace {

QString q(const char* text) {
    return QString::fromUtf8(text);
}

struct Case {
    const char* name;
    const char* in;
    DbPlatform platform;
    const char* out;
};

TEST(DateLiterals, TwoDigitYearsGetTheCenturyOfTheWindow2000To2029AndOtherwise1930To1999) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"01.02.00", "#2000/02/01#"}, {"01.02.08", "#2008/02/01#"}, {"01.02.29", "#2029/02/01#"},
        {"01.02.30", "#1930/02/01#"}, {"01.02.99", "#1999/02/01#"}, {"1.2.2008", "#2008/02/01#"},
        {"1.2.1908", "#1908/02/01#"},
    };
    for (const auto& [text, literal] : cases)
        EXPECT_EQ(DateLiterals::platformLiteral(q(text), DbPlatform::Jet), q(literal)) << text;
    EXPECT_EQ(DateLiterals::platformLiteral(q("31.12.08"), DbPlatform::MsSql), q("'2008/31/12'"));
    EXPECT_EQ(DateLiterals::platformLiteral(q("31.12.08"), DbPlatform::Firebird), q("'2008/12/31'"));
}

TEST(DateLiterals, ConditionsConvertTheLiteralsThatBelongToADateColumn) {
    const std::vector<Case> cases = {
        {"between, both bounds", "datum BETWEEN '1.2.2008' AND '29.02.08'", DbPlatform::MySql,
         "datum BETWEEN '2008/02/01' AND '2008/02/29'"},
        {"not between, lower case", "datum_a not between '1.2.2008' and '3.2.2008'", DbPlatform::Jet,
         "datum_a not between #2008/02/01# and #2008/02/03#"},
        {"between stops at the upper bound", "datum BETWEEN '1.2.2008' AND '3.2.2008' AND popis = '4.2.2008'",
         DbPlatform::Jet, "datum BETWEEN #2008/02/01# AND #2008/02/03# AND popis = '4.2.2008'"},
        {"between with a pattern as upper bound", "datum BETWEEN '1.2.2008' AND '%'", DbPlatform::Jet,
         "datum BETWEEN #2008/02/01# AND '%'"},
        {"and after a plain comparison is another condition", "datum = '1.2.2008' AND popis = '4.2.2008'",
         DbPlatform::Jet, "datum = #2008/02/01# AND popis = '4.2.2008'"},
        {"in list", "datum IN ('1.2.2008','02.02.08', '3.2.2008')", DbPlatform::Firebird,
         "datum IN ('2008/02/01','2008/02/02', '2008/02/03')"},
        {"in list ends at a non-literal", "datum IN ('1.2.2008', x, '3.2.2008')", DbPlatform::Jet,
         "datum IN (#2008/02/01#, x, '3.2.2008')"},
        {"several date columns", "datum_a > '1.2.2008' OR datum_b BETWEEN '01.01.08' AND '02.01.08'",
         DbPlatform::MsSql, "datum_a > '2008/01/02' OR datum_b BETWEEN '2008/01/01' AND '2008/02/01'"},
        {"two-digit year", "datum = '01.02.08'", DbPlatform::Jet, "datum = #2008/02/01#"},
        {"six characters stay", "datum = '1.2.08'", DbPlatform::Jet, "datum = '1.2.08'"},
        // The Access form is unquoted: only the digits of a date may go into it.
        {"text with dots stays text", "datum = '8.11.m]\"x'", DbPlatform::Jet, "datum = '8.11.m]\"x'"},
        {"no SQL out of a literal", "datum = '1.1.1 OR 1'", DbPlatform::Jet, "datum = '1.1.1 OR 1'"},
        {"digits of another script stay", "datum = '1.1.٢٠٠٨'", DbPlatform::Jet,
         "datum = '1.1.٢٠٠٨'"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DateLiterals::convertCondition(q(c.in), c.platform), q(c.out)) << c.name;
}

TEST(DateLiterals, ConsoleInsertsConvertTheValuesOfDateColumnsByPosition) {
    const std::vector<Case> cases = {
        {"date column not first",
         "INSERT INTO t (doklad, datum, popis) VALUES ('1.2.2008', '2.2.2008', '3.2.2008')", DbPlatform::Jet,
         "INSERT INTO t (doklad, datum, popis) VALUES ('1.2.2008', #2008/02/02#, '3.2.2008')"},
        {"several rows and columns",
         "insert into t (datum_a, x, datum_b) values ('01.02.08', 1, '2.2.2008'), ( '3.2.2008' ,2,NULL)",
         DbPlatform::MySql,
         "insert into t (datum_a, x, datum_b) values ('2008/02/01', 1, '2008/02/02'), ( '2008/02/03' "
         ",2,NULL)"},
        {"quoted names and commas inside values",
         "INSERT INTO [t] ([popis], \"datum\") VALUES ('a, b (c)', '1.2.2008')", DbPlatform::Jet,
         "INSERT INTO [t] ([popis], \"datum\") VALUES ('a, b (c)', #2008/02/01#)"},
        {"expressions and patterns stay", "INSERT INTO t (datum, datum2) VALUES (DATE(), '1.2.20%')",
         DbPlatform::Jet, "INSERT INTO t (datum, datum2) VALUES (DATE(), '1.2.20%')"},
        {"doubled apostrophes", "INSERT INTO t (popis, datum) VALUES ('it''s datum', '1.2.2008')",
         DbPlatform::Jet, "INSERT INTO t (popis, datum) VALUES ('it''s datum', #2008/02/01#)"},
        {"without a column list as a condition", "INSERT INTO t VALUES ('1.2.2008')", DbPlatform::Jet,
         "INSERT INTO t VALUES ('1.2.2008')"},
        {"insert from a select as a condition",
         "INSERT INTO t (datum) SELECT datum FROM u WHERE datum > '1.2.2008'", DbPlatform::Jet,
         "INSERT INTO t (datum) SELECT datum FROM u WHERE datum > #2008/02/01#"},
        {"update as a condition",
         "UPDATE t SET datum='1.2.2008', popis='2.2.2008' WHERE datum_b < '03.02.08'", DbPlatform::Firebird,
         "UPDATE t SET datum='2008/02/01', popis='2.2.2008' WHERE datum_b < '2008/02/03'"},
        {"a text set after a date column keeps its text",
         "UPDATE t SET datum = NULL, popis = '3.3.2008' WHERE t.[datum_b] >= '1.2.2008'", DbPlatform::Jet,
         "UPDATE t SET datum = NULL, popis = '3.3.2008' WHERE t.[datum_b] >= #2008/02/01#"},
        {"a date column in a text literal", "SELECT * FROM t WHERE popis = 'datum' OR x <> '1.2.2008'",
         DbPlatform::Jet, "SELECT * FROM t WHERE popis = 'datum' OR x <> '1.2.2008'"},
        {"every comparison",
         "SELECT * FROM t WHERE datum<'1.2.2008' OR datum != '2.2.2008' OR datum NOT IN ('3.2.2008')",
         DbPlatform::Jet,
         "SELECT * FROM t WHERE datum<#2008/02/01# OR datum != #2008/02/02# OR datum NOT IN (#2008/02/03#)"},
        {"unclosed list left alone", "INSERT INTO t (datum) VALUES ('1.2.2008'", DbPlatform::Jet,
         "INSERT INTO t (datum) VALUES ('1.2.2008'"},
        {"short literals stay", "INSERT INTO t (datum) VALUES ('1.2.08')", DbPlatform::Jet,
         "INSERT INTO t (datum) VALUES ('1.2.08')"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DateLiterals::convertStatement(q(c.in), c.platform), q(c.out)) << c.name;
}

// The lists of the program: a filter on a date column, composed and opened on each
// database, finds the rows the program itself has stored.
class DateFilterTest : public test::PlatformTest {};

TEST_P(DateFilterTest, BetweenAndTwoDigitYearsFindTheStoredDays) {
    auto book = dataset(QStringLiteral("SELECT * FROM tbl_hlavnikniha"));
    book->setUpdateTable(QStringLiteral("tbl_hlavnikniha"));
    book->open();
    const QDate days[] = {QDate(2008, 1, 31), QDate(2008, 2, 1), QDate(2008, 2, 29), QDate(2008, 3, 1)};
    int number = 0;
    for (const QDate& day : days) {
        book->append();
        book->setValue(QStringLiteral("datum"), QDateTime(day, QTime(0, 0)));
        book->setValue(QStringLiteral("doklad"), QStringLiteral("D%1").arg(++number));
        book->post();
    }

    struct Filter {
        const char* text;
        int rows;
    };
    const Filter filters[] = {
        {"datum BETWEEN '1.2.2008' AND '29.2.2008'", 2},
        {"datum BETWEEN '01.02.08' AND '29.02.08'", 2},
        {"datum >= '01.03.08'", 1},
        {"datum IN ('31.1.2008', '1.3.2008')", 2},
    };
    for (const Filter& f : filters) {
        auto list = dataset(
            composeStatement(QStringLiteral("SELECT * FROM tbl_hlavnikniha"), q(f.text), {}, {}, GetParam()));
        ASSERT_NO_THROW(list->open()) << f.text;
        EXPECT_EQ(list->recordCount(), f.rows) << f.text;
    }
}

KELVARN_ON_ALL_PLATFORMS(DateFilterTest);

} // namespace
} // namespace kelvarn
