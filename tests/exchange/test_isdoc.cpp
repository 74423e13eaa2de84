#include "exchange/isdoc_reader.h"
#include "exchange/isdoc_writer.h"
#include "support/schema_check.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using namespace kelvarn;

namespace {

IsdocDocument sample() {
    IsdocDocument d;
    d.number = QStringLiteral("FAV-2025-00042");
    d.uuid = QStringLiteral("0E8E5B1C-2D4F-5A6B-8C9D-0123456789AB");
    d.issueDate = QDate(2025, 1, 15);
    d.taxPointDate = QDate(2025, 1, 14);
    d.dueDate = QDate(2025, 1, 29);
    d.supplier = IsdocParty{QStringLiteral("27082440"), QStringLiteral("CZ27082440"), QStringLiteral("Jan Novák"),
                            QStringLiteral("Dlouhá 5"), QStringLiteral("Brno"), QStringLiteral("60200")};
    d.customer = IsdocParty{QStringLiteral("25596641"), QString(), QStringLiteral("Žluťoučký kůň & syn a.s."),
                            QStringLiteral("Krátká 1"), QStringLiteral("Praha"), QStringLiteral("11000")};
    d.lines = {IsdocLine{QStringLiteral("1"), QStringLiteral("Práce"), QStringLiteral("hod"), 10, 100, 1000, 210, 1210, 21},
               IsdocLine{QStringLiteral("2"), QStringLiteral("Kniha <první>"), QStringLiteral("ks"), 1, 100, 100, 12, 112, 12}};
    d.rates = {IsdocRateTotal{12, 100, 12, 112}, IsdocRateTotal{21, 1000, 210, 1210}};
    d.totalNet = 1100;
    d.totalVat = 222;
    d.totalGross = 1322;
    d.paidDeposits = 300;
    d.payable = 1022;
    d.accountNumber = QStringLiteral("19-2000145399");
    d.bankCode = QStringLiteral("0800");
    d.iban = QStringLiteral("CZ6508000000192000145399");
    d.variableSymbol = QStringLiteral("0202500042");
    return d;
}

QByteArray replaced(QByteArray bytes, const char* from, const char* to) {
    return bytes.replace(QByteArray(from), QByteArray(to));
}

} // namespace

TEST(Isdoc, WrittenInvoiceReadsBackTheSame) {
    const IsdocDocument d = sample();
    const QByteArray xml = writeIsdoc(d);
    EXPECT_TRUE(xml.contains("xmlns=\"http://isdoc.cz/namespace/2013\"")) << xml.toStdString();
    EXPECT_TRUE(xml.contains("version=\"6.0.2\""));
    EXPECT_TRUE(xml.contains("Kniha &lt;první&gt;"));
    const auto r = readIsdoc(xml);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    const IsdocDocument& back = r.document;
    EXPECT_EQ(back.documentType, 1);
    EXPECT_EQ(back.number, d.number);
    EXPECT_EQ(back.uuid, d.uuid);
    EXPECT_EQ(back.issueDate, d.issueDate);
    EXPECT_EQ(back.taxPointDate, d.taxPointDate);
    EXPECT_EQ(back.dueDate, d.dueDate);
    EXPECT_EQ(back.supplier.ico, d.supplier.ico);
    EXPECT_EQ(back.supplier.dic, d.supplier.dic);
    EXPECT_EQ(back.customer.name, d.customer.name);
    EXPECT_TRUE(back.customer.dic.isEmpty());
    ASSERT_EQ(back.lines.size(), 2u);
    EXPECT_EQ(back.lines[1].description, QStringLiteral("Kniha <první>"));
    EXPECT_EQ(back.lines[0].unit, QStringLiteral("hod"));
    EXPECT_DOUBLE_EQ(back.lines[0].quantity, 10);
    ASSERT_EQ(back.rates.size(), 2u);
    EXPECT_DOUBLE_EQ(back.rates[0].rate, 12);
    EXPECT_DOUBLE_EQ(back.rates[1].gross, 1210);
    EXPECT_DOUBLE_EQ(back.totalVat, 222);
    EXPECT_DOUBLE_EQ(back.paidDeposits, 300);
    EXPECT_DOUBLE_EQ(back.payable, 1022);
    EXPECT_EQ(back.accountNumber, d.accountNumber);
    EXPECT_EQ(back.bankCode, QStringLiteral("0800"));
    EXPECT_EQ(back.iban, d.iban);
    EXPECT_EQ(back.variableSymbol, d.variableSymbol);
}

TEST(Isdoc, CreditNoteAndDocumentWithoutLines) {
    IsdocDocument d = sample();
    d.documentType = 2;
    d.originalNumber = QStringLiteral("FAV-2025-00041");
    d.lines.clear();
    d.rates = {IsdocRateTotal{21, -100, -21, -121}};
    d.totalNet = -100;
    d.totalVat = -21;
    d.totalGross = -121;
    d.paidDeposits = 0;
    d.payable = -121;
    const auto r = readIsdoc(writeIsdoc(d));
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.document.documentType, 2);
    EXPECT_EQ(r.document.originalNumber, d.originalNumber);
    ASSERT_EQ(r.document.lines.size(), 1u) << "the standard needs at least one line";
    EXPECT_DOUBLE_EQ(r.document.lines[0].gross, -121);
    EXPECT_DOUBLE_EQ(r.document.payable, -121);
}

TEST(Isdoc, RefusesWhatIsNoGoodInvoice) {
    const QByteArray good = writeIsdoc(sample());
    const struct {
        const char* what;
        QByteArray bytes;
        const char* expected;
    } cases[] = {
        {"other namespace", replaced(good, "http://isdoc.cz/namespace/2013", "urn:x"), "není faktura ISDOC"},
        {"old version", replaced(good, "version=\"6.0.2\"", "version=\"5.2\""), "není podporována"},
        {"recapitulation off by a haléř",
         replaced(good, "<TaxAmount>222.00</TaxAmount>", "<TaxAmount>222.01</TaxAmount>"), "nesouhlasí"},
        {"rate row that does not add up",
         replaced(good, "<TaxInclusiveAmount>112.00</TaxInclusiveAmount>", "<TaxInclusiveAmount>113.00</TaxInclusiveAmount>"),
         "nedává základ"},
        {"fraction of a haléř", replaced(good, "<PayableAmount>1022.00", "<PayableAmount>1022.005"), "není platné"},
        {"bad date", replaced(good, "<IssueDate>2025-01-15", "<IssueDate>2025-02-30"), "není platné"},
        {"truncated", good.left(good.size() / 2), "XML nelze přečíst"},
        {"empty", QByteArray(), "prázdný"},
        {"camt instead", QByteArray("<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.02\"/>"),
         "není faktura ISDOC"},
    };
    for (const auto& c : cases) {
        const auto r = readIsdoc(c.bytes);
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.expected))) << c.what << ": " << r.error.toStdString();
    }
}

// The same invoice as another program may write it: every element with a namespace
// prefix, a comment, the note in CDATA, an order reference and a seller's item code.
QByteArray asAnotherProducerWrites(const QByteArray& ours) {
    QString s = QString::fromUtf8(ours);
    static const QRegularExpression tag(QStringLiteral(R"(<(/?)([A-Za-z]\w*)([ >/]))"));
    s.replace(tag, QStringLiteral(R"(<\1isdoc:\2\3)"));
    s.replace(QStringLiteral("<isdoc:Invoice xmlns="), QStringLiteral("<isdoc:Invoice xmlns:isdoc="));
    s.replace(QStringLiteral("<isdoc:ElectronicPossibilityAgreementReference></isdoc:ElectronicPossibilityAgreementReference>"),
              QStringLiteral("<isdoc:ElectronicPossibilityAgreementReference/><!-- z jiného programu -->"
                             "<isdoc:Note><![CDATA[Děkujeme za objednávku <č. 7>]]></isdoc:Note>"));
    s.replace(QStringLiteral("<isdoc:InvoiceLines>"),
              QStringLiteral("<isdoc:OrderReferences><isdoc:OrderReference id=\"o1\"><isdoc:SalesOrderID>OBJ-17"
                             "</isdoc:SalesOrderID></isdoc:OrderReference></isdoc:OrderReferences><isdoc:InvoiceLines>"));
    s.replace(QStringLiteral("<isdoc:Description>Práce</isdoc:Description>"),
              QStringLiteral("<isdoc:Description>Práce</isdoc:Description><isdoc:SellersItemIdentification>"
                             "<isdoc:ID>PR-01</isdoc:ID></isdoc:SellersItemIdentification>"));
    return s.toUtf8();
}

TEST(Isdoc, AnotherProducersShapeReadsTheSame) {
    const QByteArray other = asAnotherProducerWrites(writeIsdoc(sample()));
    ASSERT_TRUE(other.contains("<isdoc:SellersItemIdentification>")) << other.toStdString();
    if (const std::optional<QString> xsd = test::schemaFromEnvironment("KELVARN_ISDOC_XSD")) {
        EXPECT_EQ(test::schemaErrors(other, *xsd), QString());
    }
    const auto r = readIsdoc(other);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    const auto ours = readIsdoc(writeIsdoc(sample()));
    EXPECT_EQ(r.document.note, QStringLiteral("Děkujeme za objednávku <č. 7>"));
    EXPECT_EQ(r.document.number, ours.document.number);
    EXPECT_EQ(r.document.supplier.dic, ours.document.supplier.dic);
    ASSERT_EQ(r.document.lines.size(), ours.document.lines.size());
    EXPECT_EQ(r.document.lines[0].description, QStringLiteral("Práce"));
    ASSERT_EQ(r.document.rates.size(), 2u);
    EXPECT_DOUBLE_EQ(r.document.rates[1].gross, 1210);
    EXPECT_DOUBLE_EQ(r.document.payable, 1022);
    EXPECT_EQ(r.document.iban, ours.document.iban);
}

// KELVARN_ISDOC_XSD=…/isdoc-invoice-6.0.2.xsd checks the written files against the
// standard's schema (xmllint).
TEST(Isdoc, WrittenFilesPassTheStandardsSchema) {
    const std::optional<QString> xsd = test::schemaFromEnvironment("KELVARN_ISDOC_XSD");
    if (!xsd)
        GTEST_SKIP() << "KELVARN_ISDOC_XSD names no schema";
    IsdocDocument invoice = sample();
    IsdocDocument bare = sample(); // paid in cash, no partner details, no deposit, a note
    bare.paymentMeansCode = 10;
    bare.note = QStringLiteral("Děkujeme za nákup.");
    bare.customer = IsdocParty{};
    bare.supplier.dic.clear();
    bare.accountNumber.clear();
    bare.bankCode.clear();
    bare.iban.clear();
    bare.variableSymbol.clear();
    bare.paidDeposits = 0;
    bare.payable = bare.totalGross;
    IsdocDocument credit = sample();
    credit.documentType = 2;
    credit.originalNumber = QStringLiteral("FAV-2025-00041");
    credit.lines.clear();
    for (const auto& [what, document] : {std::pair{"invoice", invoice}, {"bare", bare}, {"credit note", credit}})
        EXPECT_EQ(test::schemaErrors(writeIsdoc(document), *xsd), QString()) << what;
}
