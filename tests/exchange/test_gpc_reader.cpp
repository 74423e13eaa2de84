#include "core/text_file.h"
#include "exchange/gpc_reader.h"
#include "gpc_builder.h"

#include <gtest/gtest.h>

using namespace kelvarn;
using namespace kelvarn::test;

namespace {

QByteArray file(const QStringList& lines) {
    return toCp1250(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

// A statement of three items: two payments received, one paid out.
QStringList threeItems() {
    GpcHeader h;
    h.credit = 150000 + 2550;
    h.debit = 99999;
    h.closing = h.opening + h.credit - h.debit;
    GpcItem a;
    a.cents = 150000;
    a.vs = QStringLiteral("0201000042");
    a.name = QStringLiteral("Žluťoučký kůň a.s.");
    GpcItem b;
    b.cents = 2550;
    b.vs = QStringLiteral("0");
    b.counter = QStringLiteral("0000192000145399");
    GpcItem c;
    c.cents = 99999;
    c.code = 1;
    c.vs = QStringLiteral("5551");
    c.ss = QStringLiteral("77");
    return {gpcHeader(h), gpcItem(a), gpcItem(b), gpcItem(c)};
}

} // namespace

TEST(GpcReader, ReadsHeaderAndItemsWithHalerAndSymbols) {
    const auto r = readGpcStatement(file(threeItems()));
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    const BankStatement& st = r.statement;
    EXPECT_EQ(st.accountDigits, QStringLiteral("0000192000145399"));
    EXPECT_EQ(st.accountName, QStringLiteral("Jan Novák"));
    EXPECT_EQ(st.number, QStringLiteral("7"));
    EXPECT_EQ(st.date, QDate(2025, 1, 31));
    EXPECT_EQ(st.currency, QStringLiteral("CZK"));
    ASSERT_EQ(st.items.size(), 3u);
    EXPECT_EQ(st.items[0].line, 2);
    EXPECT_EQ(st.items[0].signedCents(), 150000);
    EXPECT_EQ(st.items[0].variableSymbol, QStringLiteral("201000042"));
    EXPECT_EQ(st.items[0].counterName, QStringLiteral("Žluťoučký kůň a.s."));
    EXPECT_EQ(st.items[0].counterAccount, QStringLiteral("123456789/0100"));
    EXPECT_EQ(st.items[0].constantSymbol, QStringLiteral("308"));
    EXPECT_EQ(st.items[1].variableSymbol, QString());
    EXPECT_EQ(st.items[1].counterAccount, QStringLiteral("19-2000145399/0100"));
    EXPECT_EQ(st.items[2].signedCents(), -99999);
    EXPECT_EQ(st.items[2].specificSymbol, QStringLiteral("77"));
    EXPECT_EQ(centsToCrowns(st.items[2].amountCents), 999.99);
}

TEST(GpcReader, PostingCodesAndReversals) {
    // Code, signed effect, and the turnover side a bank that books reversals on the
    // opposite side puts it on.
    const struct {
        int code;
        qint64 sign;
        bool creditTurnover;
    } cases[] = {{1, -1, false}, {2, 1, true}, {4, 1, true}, {5, -1, false}};
    for (const auto& c : cases) {
        GpcItem item;
        item.cents = 1000;
        item.code = c.code;
        GpcHeader h;
        h.closing = h.opening + c.sign * 1000;
        (c.creditTurnover ? h.credit : h.debit) = 1000;
        const auto r = readGpcStatement(file({gpcHeader(h), gpcItem(item)}));
        ASSERT_TRUE(r.ok) << c.code << r.error.toStdString();
        EXPECT_EQ(r.statement.items[0].signedCents(), c.sign * 1000) << c.code;
        EXPECT_EQ(r.statement.items[0].reversal, c.code >= 4) << c.code;
    }
}

TEST(GpcReader, VariantLinesAddTextAndNoCurrencyIsAccepted) {
    QStringList lines = threeItems();
    lines.insert(2, QStringLiteral("078") + textField(QStringLiteral("Faktura 42"), 35) +
                        textField(QStringLiteral("děkujeme"), 35));
    lines.insert(3, QStringLiteral("079") + textField(QStringLiteral("leden"), 35));
    lines.insert(4, QStringLiteral("076") + QString(26, u'0') + QStringLiteral("310125") +
                        textField(QStringLiteral("Plátce"), 20));
    GpcItem noCurrency;
    const auto r = readGpcStatement(file(lines));
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.statement.items[0].message, QStringLiteral("Faktura 42 děkujeme leden"));
    // Without a currency code (spaces) the statement simply does not name one.
    QStringList plain = threeItems();
    for (int i = 1; i < plain.size(); ++i)
        plain[i] = plain[i].left(118) + QStringLiteral("    ") + plain[i].mid(122);
    const auto p = readGpcStatement(file(plain));
    ASSERT_TRUE(p.ok) << p.error.toStdString();
    EXPECT_TRUE(p.statement.currency.isEmpty());
    // Plain LF line ends and a missing final line end read the same.
    const auto lf = readGpcStatement(toCp1250(threeItems().join(u'\n')));
    ASSERT_TRUE(lf.ok);
    EXPECT_EQ(lf.statement.items.size(), 3u);
}

TEST(GpcReader, RefusalsNameTheLine) {
    const QStringList good = threeItems();
    const struct {
        const char* what;
        std::function<QStringList()> make;
        const char* expected;
    } cases[] = {
        {"truncated item", [&] { auto l = good; l[2] = l[2].left(60); return l; }, "Řádek 3 "},
        {"truncated header", [&] { auto l = good; l[0] = l[0].left(50); return l; }, "Řádek 1 "},
        {"unknown posting code",
         [&] { auto l = good; l[1][60] = u'3'; return l; }, "Řádek 2 výpisu GPC má neznámý kód účtování 3"},
        {"letters in the amount", [&] { auto l = good; l[3][50] = u'x'; return l; }, "Řádek 4 "},
        {"unknown line type", [&] { auto l = good; l << QStringLiteral("099xyz"); return l; }, "Řádek 5 "},
        {"item before header", [&] { return QStringList{good[1]}; }, "Řádek 1 "},
        {"turnover mismatch",
         [&] { auto l = good; l[1].replace(48, 12, digitsField(150001, 12)); return l; }, "nesouhlasí s obraty"},
        {"other account's item", [&] { auto l = good; l[2].replace(3, 16, QString(16, u'1')); return l; },
         "Řádek 3 výpisu GPC patří k jinému účtu"},
        {"wrong currency in one item",
         [&] { auto l = good; l[3].replace(118, 4, QStringLiteral("0978")); return l; }, "Řádek 4 výpisu GPC je v jiné měně"},
        {"bad date", [&] { auto l = good; l[2].replace(91, 6, QStringLiteral("310225")); return l; }, "Řádek 3 "},
        {"not a statement", [] { return QStringList{QStringLiteral("<html>")}; }, "Řádek 1 "},
        {"empty", [] { return QStringList{}; }, "chybí hlavička 074"},
    };
    for (const auto& c : cases) {
        const auto r = readGpcStatement(file(c.make()));
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.expected))) << c.what << ": " << r.error.toStdString();
        EXPECT_TRUE(r.statement.items.empty() || !r.ok) << c.what;
    }
}

TEST(GpcReader, TwoBlocksOfOneAccountReadAsOneAndAnotherAccountIsRefused) {
    QStringList lines = threeItems();
    GpcHeader second;
    second.opening = 1000000 + 150000 + 2550 - 99999;
    second.credit = 500;
    second.closing = second.opening + 500;
    second.number = 8;
    GpcItem item;
    item.cents = 500;
    lines << gpcHeader(second) << gpcItem(item);
    const auto r = readGpcStatement(file(lines));
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.statement.items.size(), 4u);
    EXPECT_EQ(r.statement.closingCents, second.closing);

    second.account = QStringLiteral("0000000353497163");
    lines[4] = gpcHeader(second);
    const auto other = readGpcStatement(file(lines));
    EXPECT_FALSE(other.ok);
    EXPECT_TRUE(other.error.startsWith(QStringLiteral("Řádek 5 "))) << other.error.toStdString();
}
