#include "db/database_session.h"
#include "db/db_error.h"
#include "db/sqlite_adapter.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

namespace kelvarn {
namespace {

QString q(const char* text) {
    return QString::fromUtf8(text);
}

// The string literals of a statement, quotes included, in order.
QStringList literalsOf(const QString& statement) {
    QStringList out;
    qsizetype i = 0;
    while ((i = statement.indexOf(QLatin1Char('\''), i)) >= 0) {
        qsizetype end = i + 1;
        while (end < statement.size()) {
            if (statement[end] == QLatin1Char('\'')) {
                if (end + 1 < statement.size() && statement[end + 1] == QLatin1Char('\'')) {
                    end += 2;
                    continue;
                }
                break;
            }
            ++end;
        }
        out.append(statement.mid(i, end - i + 1));
        i = end + 1;
    }
    return out;
}

// Whether every literal of `in` comes out, in the same order, among those of `out`
// (the adapter may add literals of its own, in the constraints it writes).
bool literalsKept(const QStringList& in, const QStringList& out) {
    qsizetype at = 0;
    for (const QString& literal : in) {
        while (at < out.size() && out[at] != literal)
            ++at;
        if (at == out.size())
            return false;
        ++at;
    }
    return true;
}

TEST(SqliteAdapter, StringLiteralsPassByteForByte) {
    const QString control(QChar(0x1));
    const std::vector<QString> statements = {
        q("ALTER TABLE t ADD c TEXT(10) DEFAULT 'x' WITH COMPRESSION'y'"),
        q("CREATE TABLE t (a TEXT(10) DEFAULT 'x' WITH COMPRESSION'y', b MEMO)"),
        q("CREATE TABLE t (id COUNTER PRIMARY KEY, a TEXT(10) DEFAULT 'a") + control + q("b')"),
        q("CREATE TABLE t (id COUNTER, a TEXT(20) DEFAULT '") + control + q(" PRIMARY KEY')"),
        q("CREATE TABLE t (id COUNTER NOT NULL PRIMARY KEY, a TEXT(20) DEFAULT '") + control +
            q(" NOT NULL PRIMARY KEY x')"),
        q("CREATE TABLE t (a MEMO DEFAULT 'COUNTER PRIMARY KEY, b DATETIME', b DATETIME DEFAULT 'WITH "
          "COMPRESSION')"),
        q("CREATE TABLE t (d DATETIME DEFAULT '#2008/02/01#', n INT DEFAULT 'it''s, (1)')"),
        q("INSERT INTO t VALUES ('#2008/02/01#', 'MEMO COUNTER', 'it''s', '") + control + q("')"),
        q("UPDATE t SET a = 'WITH COMPRESSION' WHERE b = ' PRIMARY KEY'"),
        // An unclosed literal after a typed column: nothing may be added inside it.
        q("ALTER TABLE t ADD COLUMN d DATETIME /008')"),
        q("CREATE TABLE t (d DATETIME, n INT DEFAULT 'x)"),
    };
    for (const QString& statement : statements) {
        const QString out = accessToSqlite(statement);
        EXPECT_TRUE(literalsKept(literalsOf(statement), literalsOf(out)))
            << statement.toStdString() << "\n -> " << out.toStdString();
    }
}

// A table made by the adapter, as the install script makes the embedded tables.
class EmbeddedTable : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        session.open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + dir.filePath("t.db") +
                         QLatin1Char(';'),
                     DbPlatform::Jet, true);
        session.execute(QStringLiteral("CREATE TABLE t (id COUNTER NOT NULL PRIMARY KEY, d DATETIME, i INT, "
                                       "s SMALLINT, f FLOAT, c Currency, m MEMO, v VARCHAR(10))"));
    }

    bool accepts(const QString& column, const QString& value, const QVariantList& binds = {}) {
        try {
            session.execute(QStringLiteral("INSERT INTO t (%1) VALUES (%2)").arg(column, value), binds);
            return true;
        } catch (const DbError&) {
            return false;
        }
    }

    QTemporaryDir dir;
    DatabaseSession session;
};

TEST_F(EmbeddedTable, DateColumnsTakeOnlyTheCanonicalTextOfARealDay) {
    struct Value {
        const char* sql;
        QVariant bound;
        bool accepted;
    };
    const std::vector<Value> values = {
        {"'2008-02-01 00:00:00'", {}, true},
        {"'2008-02-29 23:59:59'", {}, true},
        {"'0001-01-01 00:00:00'", {}, true},
        {"'9999-12-31 23:59:59'", {}, true},
        {"NULL", {}, true},
        {"#2008/02/01#", {}, true},
        {"#12/31/2009 10:30#", {}, true},
        {"DATE()", {}, true},
        {"NOW()", {}, true},
        {"?", QDateTime(QDate(2010, 5, 6), QTime(7, 8, 9)), true},
        {"?", QDate(2010, 5, 6), true},
        {"'1.2.2008'", {}, false},
        {"'abc'", {}, false},
        {"''", {}, false},
        {"'2008-02-30 00:00:00'", {}, false},
        {"'2008-02-01'", {}, false},
        {"'2008-02-01T00:00:00'", {}, false},
        {"'2008-2-1 00:00:00'", {}, false},
        {"20080201", {}, false},
        {"2454497.5", {}, false},
    };
    for (const Value& v : values)
        EXPECT_EQ(accepts(QStringLiteral("d"), q(v.sql),
                          v.bound.isValid() ? QVariantList{v.bound} : QVariantList{}),
                  v.accepted)
            << v.sql << " " << v.bound.toString().toStdString();
}

TEST_F(EmbeddedTable, NumberColumnsTakeOnlyNumbers) {
    struct Value {
        const char* sql;
        bool accepted;
    };
    const std::vector<Value> values = {
        {"10", true},   {"-1.5", true},     {"'12'", true},   {"'1.5'", true},
        {"NULL", true}, {"1e300", true},    {"'ten'", false}, {"'1,5'", false},
        {"''", false},  {"'12 Kč'", false}, {"X'00'", false},
    };
    for (const char* column : {"i", "s", "f", "c"})
        for (const Value& v : values)
            EXPECT_EQ(accepts(q(column), q(v.sql)), v.accepted) << column << " " << v.sql;
    // Text columns take anything, and the key stays the generated row id.
    EXPECT_TRUE(accepts(QStringLiteral("m, v"), QStringLiteral("'1.2.2008', 'ten'")));
    EXPECT_EQ(session.execute(QStringLiteral("DELETE FROM t WHERE id = (SELECT max(id) FROM t)")), 1);
}

} // namespace
} // namespace kelvarn
