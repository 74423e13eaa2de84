#include "exchange/camt053_reader.h"

#include <gtest/gtest.h>

using namespace kelvarn;

namespace {

QString entry(const char* amount, const char* direction, const QString& details, const char* ccy = "CZK",
              const char* status = "BOOK", bool reversal = false) {
    return QStringLiteral("<Ntry><Amt Ccy=\"%1\">%2</Amt><CdtDbtInd>%3</CdtDbtInd>%4<Sts>%5</Sts>"
                          "<BookgDt><Dt>2025-01-30</Dt></BookgDt><ValDt><Dt>2025-01-31</Dt></ValDt>"
                          "<AcctSvcrRef>REF1</AcctSvcrRef><BkTxCd/><NtryDtls><TxDtls>%6</TxDtls></NtryDtls></Ntry>")
        .arg(QString::fromUtf8(ccy), QString::fromUtf8(amount), QString::fromUtf8(direction),
             reversal ? QStringLiteral("<RvslInd>true</RvslInd>") : QString(), QString::fromUtf8(status), details);
}

QByteArray statement(const QString& entries, const char* opening = "10000.00", const char* closing = "11400.50",
                     const char* ns = "urn:iso:std:iso:20022:tech:xsd:camt.053.001.02") {
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Document xmlns=\"%1\">\n<BkToCstmrStmt>"
               "<GrpHdr><MsgId>M1</MsgId><CreDtTm>2025-01-31T18:00:00</CreDtTm></GrpHdr>\n"
               "<Stmt><Id>2025-0007</Id><ElctrncSeqNb>7</ElctrncSeqNb><CreDtTm>2025-01-31T18:00:00</CreDtTm>"
               "<Acct><Id><IBAN>CZ6508000000192000145399</IBAN></Id><Ccy>CZK</Ccy><Ownr><Nm>Jan Novák</Nm></Ownr></Acct>\n"
               "<Bal><Tp><CdOrPrtry><Cd>PRCD</Cd></CdOrPrtry></Tp><Amt Ccy=\"CZK\">%2</Amt><CdtDbtInd>CRDT</CdtDbtInd>"
               "<Dt><Dt>2025-01-30</Dt></Dt></Bal>\n"
               "<Bal><Tp><CdOrPrtry><Cd>CLBD</Cd></CdOrPrtry></Tp><Amt Ccy=\"CZK\">%3</Amt><CdtDbtInd>CRDT</CdtDbtInd>"
               "<Dt><Dt>2025-01-31</Dt></Dt></Bal>\n%4</Stmt></BkToCstmrStmt></Document>\n")
        .arg(QString::fromUtf8(ns), QString::fromUtf8(opening), QString::fromUtf8(closing), entries)
        .toUtf8();
}

const QString kPaid = QStringLiteral(
    "<Refs><EndToEndId>/VS0201000042/SS/KS0308</EndToEndId></Refs>"
    "<RltdPties><Dbtr><Nm>Žluťoučký kůň a.s.</Nm></Dbtr><DbtrAcct><Id><Othr><Id>123456789/0100</Id></Othr></Id></DbtrAcct></RltdPties>"
    "<RmtInf><Ustrd>Faktura 42</Ustrd></RmtInf>");
const QString kPaidOut = QStringLiteral(
    "<RltdPties><Cdtr><Nm>Dodavatel</Nm></Cdtr><CdtrAcct><Id><IBAN>CZ0908000000000353497163</IBAN></Id></CdtrAcct></RltdPties>"
    "<RmtInf><Strd><CdtrRefInf><Ref>5551</Ref></CdtrRefInf></Strd></RmtInf>");

} // namespace

TEST(Camt053Reader, ReadsAccountBalancesAndEntriesWithCzechSymbols) {
    const auto r = readCamt053Statement(
        statement(entry("1500.50", "CRDT", kPaid) + entry("100", "DBIT", kPaidOut) +
                  entry("5", "CRDT", QString(), "CZK", "PDNG")));
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    const BankStatement& st = r.statement;
    EXPECT_EQ(st.iban, QStringLiteral("CZ6508000000192000145399"));
    EXPECT_EQ(st.currency, QStringLiteral("CZK"));
    EXPECT_EQ(st.number, QStringLiteral("2025-0007"));
    EXPECT_EQ(st.accountName, QStringLiteral("Jan Novák"));
    EXPECT_EQ(st.openingCents, 1000000);
    ASSERT_EQ(st.items.size(), 2u) << "the pending entry is no movement yet";
    EXPECT_EQ(st.items[0].signedCents(), 150050);
    EXPECT_EQ(st.items[0].variableSymbol, QStringLiteral("201000042"));
    EXPECT_EQ(st.items[0].constantSymbol, QStringLiteral("308"));
    EXPECT_EQ(st.items[0].counterName, QStringLiteral("Žluťoučký kůň a.s."));
    EXPECT_EQ(st.items[0].counterAccount, QStringLiteral("123456789/0100"));
    EXPECT_EQ(st.items[0].message, QStringLiteral("Faktura 42"));
    EXPECT_EQ(st.items[0].date, QDate(2025, 1, 31));
    EXPECT_EQ(st.items[1].signedCents(), -10000);
    EXPECT_EQ(st.items[1].variableSymbol, QStringLiteral("5551"));
    EXPECT_EQ(st.items[1].counterName, QStringLiteral("Dodavatel"));
    EXPECT_EQ(st.items[1].counterAccount, QStringLiteral("CZ0908000000000353497163"));
}

TEST(Camt053Reader, SymbolsInTheirVariousSpellings) {
    const struct {
        const char* refs;
        const char* vs;
        const char* ss;
    } cases[] = {
        {"<Refs><EndToEndId>VS:123 SS:456</EndToEndId></Refs>", "123", "456"},
        {"<Refs><EndToEndId>/VS/0000000777/SS/99</EndToEndId></Refs>", "777", "99"},
        {"<RmtInf><Strd><CdtrRefInf><Ref>0000001234</Ref></CdtrRefInf></Strd></RmtInf>", "1234", ""},
        {"<RmtInf><Ustrd>platba VS 42 dík</Ustrd></RmtInf>", "42", ""},
        {"<Refs><EndToEndId>NOTPROVIDED</EndToEndId></Refs>", "", ""},
        {"<RmtInf><Ustrd>ABCVS12</Ustrd></RmtInf>", "", ""},
    };
    for (const auto& c : cases) {
        const auto r = readCamt053Statement(
            statement(entry("1400.50", "CRDT", QString::fromUtf8(c.refs))));
        ASSERT_TRUE(r.ok) << c.refs << r.error.toStdString();
        EXPECT_EQ(r.statement.items[0].variableSymbol, QString::fromUtf8(c.vs)) << c.refs;
        EXPECT_EQ(r.statement.items[0].specificSymbol, QString::fromUtf8(c.ss)) << c.refs;
    }
}

TEST(Camt053Reader, ReversalTurnsTheDirection) {
    const auto r = readCamt053Statement(
        statement(entry("1500.50", "CRDT", kPaid) + entry("100", "CRDT", kPaidOut, "CZK", "BOOK", true)));
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.statement.items[1].signedCents(), -10000);
    EXPECT_EQ(r.statement.items[1].counterName, QStringLiteral("Dodavatel"));
}

TEST(Camt053Reader, RefusesWhatIsNotAGoodStatement) {
    const struct {
        const char* what;
        QByteArray bytes;
        const char* expected;
    } cases[] = {
        {"other document", statement(QString(), "0", "0", "urn:iso:std:iso:20022:tech:xsd:pain.001.001.03"),
         "není výpis camt.053"},
        {"not XML", QByteArray("074 this is GPC"), "Řádek 1 "},
        {"truncated", statement(entry("1500.50", "CRDT", kPaid)).left(700), "XML nelze přečíst"},
        {"balances disagree", statement(entry("1500.49", "CRDT", kPaid) + entry("100", "DBIT", kPaidOut)),
         "nedávají konečný zůstatek"},
        {"wrong currency", statement(entry("1500.50", "CRDT", kPaid, "EUR")), "v měně EUR"},
        {"three decimals", statement(entry("1500.505", "CRDT", kPaid)), "nejvýše dvěma"},
        {"unknown direction", statement(entry("1500.50", "XX", kPaid)), "neznámý směr"},
        {"no statement", QByteArray("<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.02\">"
                                    "<BkToCstmrStmt/></Document>"),
         "neobsahuje žádný výpis"},
    };
    for (const auto& c : cases) {
        const auto r = readCamt053Statement(c.bytes);
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.expected))) << c.what << ": " << r.error.toStdString();
    }
}

TEST(Camt053Reader, DecimalAmountsAreExactInHaler) {
    const struct {
        const char* text;
        bool ok;
        qint64 cents;
    } cases[] = {{"0.01", true, 1},       {"1234.5", true, 123450}, {"-7", true, -700},
                 {"99999999999.99", true, 9999999999999}, {"1,5", false, 0}, {"", false, 0},
                 {"1.234", false, 0},     {"1e3", false, 0}};
    for (const auto& c : cases) {
        qint64 cents = 0;
        EXPECT_EQ(parseDecimalCents(QString::fromUtf8(c.text), cents), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(cents, c.cents) << c.text;
        }
    }
}
