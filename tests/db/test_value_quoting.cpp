// Texts typed by users inside statements: one quoting rule that holds on every
// platform, and every path that puts such a text into a statement uses it.

#include "db/db_error.h"
#include "db/number_series.h"
#include "db/sql_dialect.h"
#include "platform_fixture.h"

#include <QSqlQuery>

using namespace kelvarn;
using namespace kelvarn::test;

namespace {

// Texts that break a statement, or rewrite its condition, where apostrophe doubling
// is not the whole rule.
const QStringList kTrickyTexts = {
    QStringLiteral("\\"),
    QStringLiteral("a\\'b"),
    QStringLiteral("end\\"),
    QStringLiteral("\\') OR 1=1 OR ('"),
    QStringLiteral("O'Neil"),
    QStringLiteral("''"),
    QStringLiteral("\\\\'\\"),
    QStringLiteral("x\" OR \"1\"=\"1"),
    QStringLiteral("datum '1.2.2008'"),
    QStringLiteral("řádek\r\ndruhý\t%_;--"),
};

const QList<DbPlatform> kAllPlatforms = {DbPlatform::Jet, DbPlatform::MsSql, DbPlatform::Oracle, DbPlatform::MySql,
                                         DbPlatform::Firebird};

} // namespace

TEST(ValueQuoting, DoublesApostrophesAndNothingElseOnEveryPlatform) {
    const struct {
        QString value;
        QString literal;
    } cases[] = {
        {QString(), QStringLiteral("''")},
        {QStringLiteral("O'Neil"), QStringLiteral("'O''Neil'")},
        {QStringLiteral("''"), QStringLiteral("''''''")},
        {QStringLiteral("end\\"), QStringLiteral("'end\\'")},
        {QStringLiteral("\\') OR 1=1 OR ('"), QStringLiteral("'\\'') OR 1=1 OR ('''")},
        {QStringLiteral("Žluťoučký \"kůň\""), QStringLiteral("'Žluťoučký \"kůň\"'")},
    };
    for (DbPlatform platform : kAllPlatforms)
        for (const auto& c : cases)
            EXPECT_EQ(SqlDialect::quoteText(c.value, platform), c.literal) << c.value.toStdString();
}

TEST(ValueQuoting, ANulCharacterIsRefusedRatherThanCut) {
    const QString withNul = QStringLiteral("abc") + QChar(0) + QStringLiteral("' OR 1=1");
    for (DbPlatform platform : kAllPlatforms) {
        EXPECT_THROW(SqlDialect::quoteText(withNul, platform), DbError);
        EXPECT_THROW(SqlDialect::likePrefix(withNul, platform), DbError);
    }
}

TEST(ValueQuoting, LikePrefixQuotesTheTextAndAddsTheWildcard) {
    EXPECT_EQ(SqlDialect::likePrefix(QStringLiteral("Kab"), DbPlatform::Jet), QStringLiteral("'Kab%'"));
    EXPECT_EQ(SqlDialect::likePrefix(QStringLiteral("O'N"), DbPlatform::MySql), QStringLiteral("'O''N%'"));
    EXPECT_EQ(SqlDialect::likePrefix(QString(), DbPlatform::Firebird), QStringLiteral("'%'"));
    // Characters a platform's LIKE reads as special match themselves there.
    EXPECT_EQ(SqlDialect::likePrefix(QStringLiteral("a\\b"), DbPlatform::MySql), QStringLiteral("'a\\\\b%'"));
    EXPECT_EQ(SqlDialect::likePrefix(QStringLiteral("a\\b"), DbPlatform::Firebird), QStringLiteral("'a\\b%'"));
    EXPECT_EQ(SqlDialect::likePrefix(QStringLiteral("[x]%"), DbPlatform::MsSql), QStringLiteral("'[[]x]%%'"));
    EXPECT_EQ(SqlDialect::likePrefix(QStringLiteral("[x]%"), DbPlatform::Oracle), QStringLiteral("'[x]%%'"));
}

TEST(ValueQuoting, OnlyPlainIntegersCountAsIds) {
    for (const char* yes : {"0", "7", "-12", "123456789012345678"})
        EXPECT_TRUE(SqlDialect::isIntegerText(QString::fromLatin1(yes))) << yes;
    for (const char* no : {"", "-", "1 OR 1=1", "1.5", "+3", "1234567890123456789", "١٢"})
        EXPECT_FALSE(SqlDialect::isIntegerText(QString::fromUtf8(no))) << no;
}

TEST(ValueQuoting, AQuotedValueNeverTurnsIntoADateLiteralOrCondition) {
    // The composer converts the first literal after a "datum" column; a "datum"
    // inside somebody's text is a value and converts nothing.
    for (const QString& text : kTrickyTexts) {
        const QString where = QStringLiteral("(popis=") + SqlDialect::quoteText(text, DbPlatform::Jet) +
                              QStringLiteral(")OR(t.c='1.2.2008')");
        EXPECT_EQ(composeStatement(QStringLiteral("SELECT * FROM t"), {}, where, {}, DbPlatform::Jet),
                  QStringLiteral("SELECT * FROM t WHERE ") + where)
            << text.toStdString();
    }
    EXPECT_EQ(composeStatement(QStringLiteral("SELECT * FROM t"), {},
                               QStringLiteral("(x='datum')OR(t.c='1.2.2008') AND datum_v='1.2.2008'"), {},
                               DbPlatform::MySql),
              QStringLiteral("SELECT * FROM t WHERE (x='datum')OR(t.c='1.2.2008') AND datum_v='2008/02/01'"));
}

class ValueQuotingOnServer : public PlatformTest {
protected:
    QString roundTrip(const QString& text) {
        QSqlQuery q = db->session->query(QStringLiteral("SELECT ") + ctx->quoteText(text) +
                                         QStringLiteral(" FROM tbl_system WHERE id=1"));
        if (!q.next())
            return QStringLiteral("<no row>");
        const QVariant v = q.value(0);
        QString back = v.typeId() == QMetaType::QByteArray ? QString::fromUtf8(v.toByteArray()) : v.toString();
        // Firebird types a literal as CHAR, padded with blanks.
        if (GetParam() == DbPlatform::Firebird)
            while (back.endsWith(QLatin1Char(' ')))
                back.chop(1);
        return back;
    }
    int count(const QString& sql) {
        QSqlQuery q = db->session->query(sql);
        return q.next() ? q.value(0).toInt() : -1;
    }
};
KELVARN_ON_ALL_PLATFORMS(ValueQuotingOnServer);

TEST(ValueQuoting, FunctionNamesInsideAValueStayAsTyped) {
    const QString value = SqlDialect::quoteText(QStringLiteral("upper(x) it''s DATE() lower ("), DbPlatform::Jet);
    const QString where = QStringLiteral("(UPPER(popis)=") + value + QStringLiteral(") AND (d < DATE())");
    const struct {
        DbPlatform platform;
        QString outside;
    } cases[] = {
        {DbPlatform::Jet, QStringLiteral("(UCASE(popis)=%1) AND (d < DATE())")},
        {DbPlatform::Firebird, QStringLiteral("(UPPER(popis)=%1) AND (d < current_date)")},
        {DbPlatform::MsSql, QStringLiteral("(UPPER(popis)=%1) AND (d < CAST(FLOOR(CAST(GETDATE() AS FLOAT)) AS DATETIME))")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(composeStatement(QStringLiteral("SELECT * FROM t"), {}, where, {}, c.platform),
                  QStringLiteral("SELECT * FROM t WHERE ") + c.outside.arg(value));
}

TEST_P(ValueQuotingOnServer, EveryTextComesBackAsTyped) {
    for (const QString& text : kTrickyTexts) {
        QString back;
        ASSERT_NO_THROW(back = roundTrip(text)) << text.toStdString();
        EXPECT_EQ(back, text);
    }
}

TEST_P(ValueQuotingOnServer, SecondConnectionsQuoteTheSameWay) {
    // The console and tests open their own connections through the session too.
    const auto second = db->openSecondSession(QStringLiteral("second"));
    for (const QString& text : kTrickyTexts) {
        QSqlQuery q =
            second->query(QStringLiteral("SELECT count(*) FROM tbl_system WHERE ") + ctx->quoteText(text) +
                          QStringLiteral(" = ") + ctx->quoteText(text) + QStringLiteral(" AND id=1"));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), 1) << text.toStdString();
    }
}

TEST_P(ValueQuotingOnServer, NumberSeriesKeysAreTakenAsTyped) {
    for (const QString& key : kTrickyTexts) {
        const QString k = key.left(10); // tbl_rady.zkratka and the number must fit their columns
        ASSERT_EQ(nextNumber(*ctx, k), QStringLiteral("00001")) << k.toStdString();
        auto docs = dataset(QStringLiteral("SELECT * FROM tbl_doklad"));
        docs->open();
        docs->append();
        docs->setValue(QStringLiteral("cislo_dokladu"), k + QStringLiteral("-00001"));
        docs->setValue(QStringLiteral("doklad_typ"), 1);
        ASSERT_TRUE(docs->post());
        // The predecessor is found by its quoted number: no gap warning.
        EXPECT_EQ(nextNumber(*ctx, k), QStringLiteral("00002")) << k.toStdString();
        EXPECT_TRUE(prompts.shown.isEmpty()) << k.toStdString();
        prompts.shown.clear();
    }
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM tbl_rady")), kTrickyTexts.size())
        << "one series per key, none created twice by a rewritten condition";
}

TEST_P(ValueQuotingOnServer, LikePrefixFindsExactlyTheTextsThatBeginWithIt) {
    const QStringList names = {QStringLiteral("\\"), QStringLiteral("a\\'b"), QStringLiteral("end\\"),
                               QStringLiteral("end\\x"), QStringLiteral("o'neil"), QStringLiteral("endx")};
    auto partners = dataset(QStringLiteral("SELECT * FROM tbl_partner"));
    partners->open();
    for (const QString& name : names) {
        partners->append();
        partners->setValue(QStringLiteral("nazev_firmy"), name);
        ASSERT_TRUE(partners->post());
    }
    const struct {
        QString prefix;
        QStringList found;
    } searches[] = {
        {QStringLiteral("\\"), {QStringLiteral("\\")}},
        {QStringLiteral("a\\'"), {QStringLiteral("a\\'b")}},
        {QStringLiteral("end\\"), {QStringLiteral("end\\"), QStringLiteral("end\\x")}},
        {QStringLiteral("o'"), {QStringLiteral("o'neil")}},
        {QStringLiteral("\\') OR 1=1 OR ('"), {}},
    };
    for (const auto& s : searches) {
        QSqlQuery q = db->session->query(
            QStringLiteral("SELECT nazev_firmy FROM tbl_partner WHERE nazev_firmy LIKE ") + ctx->likePrefix(s.prefix) +
            QStringLiteral(" ORDER BY nazev_firmy"));
        QStringList found;
        while (q.next())
            found << q.value(0).toString();
        found.sort();
        QStringList expected = s.found;
        expected.sort();
        EXPECT_EQ(found, expected) << s.prefix.toStdString();
    }
}

TEST_P(ValueQuotingOnServer, LookupByIdTakesOnlyNumbers) {
    EXPECT_EQ(ctx->lookupValue(QStringLiteral("tbl_system"), QStringLiteral("id"), QStringLiteral("1")),
              QStringLiteral("1"));
    EXPECT_EQ(ctx->lookupValue(QStringLiteral("tbl_system"), QStringLiteral("id"), QStringLiteral("0 OR 1=1")),
              QString());
}
