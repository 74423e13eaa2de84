#include "output/payment_qr.h"
#include "output/qr_code.h"
#include "output/report_error.h"
#include "output/spayd.h"
#include "support/test_application.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

namespace kelvarn {
namespace {

SpaydPayment fullPayment() {
    SpaydPayment p;
    p.account = QStringLiteral("CZ6508000000192000145399");
    p.amount = 1234.5;
    p.currency = QStringLiteral("CZK");
    p.variableSymbol = QStringLiteral("0202600001");
    p.message = QStringLiteral("Faktura FAV-2026-00001");
    p.dueDate = QDate(2026, 3, 16);
    p.recipientName = QStringLiteral("Jan Novák");
    return p;
}

TEST(Spayd, WritesTheFieldsInOrderWithDotDecimalsAndCompactDate) {
    EXPECT_EQ(buildSpayd(fullPayment()),
              QStringLiteral("SPD*1.0*ACC:CZ6508000000192000145399*AM:1234.50*CC:CZK*X-VS:0202600001"
                             "*MSG:Faktura FAV-2026-00001*DT:20260316*RN:Jan Novak"));
    SpaydPayment bare;
    bare.account = QStringLiteral("CZ6508000000192000145399");
    EXPECT_EQ(buildSpayd(bare), QStringLiteral("SPD*1.0*ACC:CZ6508000000192000145399"));
}

TEST(Spayd, LeavesOutValuesTheFormatCannotCarry) {
    const struct {
        const char* what;
        std::function<void(SpaydPayment&)> change;
        const char* absent;
    } cases[] = {
        {"zero amount", [](SpaydPayment& p) { p.amount = 0; }, "*AM:"},
        {"negative amount", [](SpaydPayment& p) { p.amount = -10; }, "*AM:"},
        {"amount of eleven characters", [](SpaydPayment& p) { p.amount = 10000000; }, "*AM:"},
        {"letters in the variable symbol", [](SpaydPayment& p) { p.variableSymbol = QStringLiteral("FAV1"); },
         "*X-VS:"},
        {"eleven digits", [](SpaydPayment& p) { p.variableSymbol = QStringLiteral("12345678901"); },
         "*X-VS:"},
        {"no due date", [](SpaydPayment& p) { p.dueDate.reset(); }, "*DT:"},
        {"empty message", [](SpaydPayment& p) { p.message = QStringLiteral("   "); }, "*MSG:"},
    };
    for (const auto& c : cases) {
        SpaydPayment p = fullPayment();
        c.change(p);
        EXPECT_FALSE(buildSpayd(p).contains(QLatin1String(c.absent))) << c.what;
    }
    SpaydPayment p = fullPayment();
    p.amount = 9999999.994; // rounds to the largest amount of ten characters
    EXPECT_TRUE(buildSpayd(p).contains(QLatin1String("*AM:9999999.99*")));
}

TEST(Spayd, ValuesNeverBreakTheFieldStructure) {
    const struct {
        const char* value;
        int max;
        const char* written;
    } cases[] = {
        {"a*b", -1, "a%2Ab"},
        {"**", -1, "%2A%2A"},
        {"řádek 1\nřádek 2\tkonec", -1, "radek 1 radek 2 konec"},
        {"Jiří Dvořák – truhlářství", -1, "Jiri Dvorak - truhlarstvi"},
        {"Cena 5 €", -1, "Cena 5 ?"},
        {"  mezery  ", -1, "mezery"},
        {"abcdefgh*", 9, "abcdefgh"}, // the escape would not fit whole
        {"abcdef*gh", 9, "abcdef%2A"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(escapeSpaydValue(QString::fromUtf8(c.value), c.max), QString::fromUtf8(c.written))
            << c.value;

    SpaydPayment p = fullPayment();
    p.message = QString(70, QLatin1Char('x'));
    p.recipientName = QStringLiteral("Stavebniny Řehoř s.r.o. *** velkoobchod se dřevem");
    const QString text = buildSpayd(p);
    EXPECT_TRUE(
        text.contains(QStringLiteral("*MSG:") + QString(60, QLatin1Char('x')) + QStringLiteral("*DT:")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("*RN:Stavebniny Rehor s.r.o. %2A%2A%2A v")));
    EXPECT_EQ(text.toLatin1(), text.toUtf8()) << "plain ASCII for the names above";
}

TEST(InvoicePaymentCode, OnlyANonCashIssuedInvoiceWithAnAmountToPayAndAGoodIbanHasOne) {
    InvoicePaymentFields invoice;
    invoice.number = QStringLiteral("FAV-2026-00001");
    invoice.paymentMethod = QStringLiteral("bank. převodem");
    invoice.iban = QStringLiteral("CZ65 0800 0000 1920 0014 5399");
    invoice.amountToPay = 23074.24;
    invoice.currency = QStringLiteral("Kč");
    invoice.variableSymbol = QStringLiteral("0202600001");
    invoice.dueDate = QDate(2026, 3, 16);
    invoice.supplierName = QStringLiteral("Jiří Dvořák");
    const std::optional<SpaydPayment> payment = invoicePayment(invoice);
    ASSERT_TRUE(payment);
    EXPECT_EQ(buildSpayd(*payment),
              QStringLiteral("SPD*1.0*ACC:CZ6508000000192000145399*AM:23074.24*CC:CZK*X-VS:0202600001"
                             "*MSG:Faktura FAV-2026-00001*DT:20260316*RN:Jiri Dvorak"));

    const struct {
        const char* what;
        std::function<void(InvoicePaymentFields&)> change;
        bool hasCode;
    } cases[] = {
        {"cash sale", [](InvoicePaymentFields& f) { f.number = QStringLiteral("PH-2026-00001"); }, false},
        {"deposit request", [](InvoicePaymentFields& f) { f.number = QStringLiteral("ZLV-2026-00001"); },
         false},
        {"paid in cash",
         [](InvoicePaymentFields& f) { f.paymentMethod = QStringLiteral("hotově (pokladna)"); }, false},
        {"cash on delivery",
         [](InvoicePaymentFields& f) { f.paymentMethod = QStringLiteral("HOTOVĚ (dobírka)"); }, false},
        {"card", [](InvoicePaymentFields& f) { f.paymentMethod = QStringLiteral("platební kartou"); }, true},
        {"no payment method", [](InvoicePaymentFields& f) { f.paymentMethod.clear(); }, true},
        {"no IBAN", [](InvoicePaymentFields& f) { f.iban.clear(); }, false},
        {"no IBAN, the Czech account converts",
         [](InvoicePaymentFields& f) {
             f.iban.clear();
             f.account = QStringLiteral("19-2000145399/0800");
         },
         true},
        {"no IBAN, account without bank code",
         [](InvoicePaymentFields& f) {
             f.iban.clear();
             f.account = QStringLiteral("19-2000145399");
         },
         false},
        {"typed IBAN wrong, account right: the typed one counts",
         [](InvoicePaymentFields& f) {
             f.iban = QStringLiteral("CZ6508000000192000145398");
             f.account = QStringLiteral("19-2000145399/0800");
         },
         false},
        {"mistyped IBAN",
         [](InvoicePaymentFields& f) { f.iban = QStringLiteral("CZ6508000000192000145398"); }, false},
        {"paid already", [](InvoicePaymentFields& f) { f.amountToPay = 0; }, false},
        {"nothing known to pay", [](InvoicePaymentFields& f) { f.amountToPay.reset(); }, false},
        {"credit note", [](InvoicePaymentFields& f) { f.amountToPay = -100; }, false},
        {"currency in euros", [](InvoicePaymentFields& f) { f.currency = QStringLiteral("€"); }, true},
        {"currency unknown", [](InvoicePaymentFields& f) { f.currency = QStringLiteral("koruny"); }, false},
        {"amount too large", [](InvoicePaymentFields& f) { f.amountToPay = 12345678.9; }, false},
    };
    for (const auto& c : cases) {
        InvoicePaymentFields f = invoice;
        c.change(f);
        const std::optional<SpaydPayment> p = invoicePayment(f);
        EXPECT_EQ(p.has_value(), c.hasCode) << c.what;
        if (p) {
            EXPECT_EQ(p->account, QStringLiteral("CZ6508000000192000145399")) << c.what;
        }
    }
}

TEST(InvoicePaymentCode, CurrencyCodes) {
    const struct {
        const char* currency;
        const char* code;
    } cases[] = {{"Kč", "CZK"}, {"kč", "CZK"},  {"Kc", "CZK"},  {"czk", "CZK"}, {"", "CZK"},
                 {"€", "EUR"},  {"EUR", "EUR"}, {"usd", "USD"}, {"US$", ""},    {"koruny", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(isoCurrencyCode(QString::fromUtf8(c.currency)), QString::fromLatin1(c.code)) << c.currency;
}

TEST(QrCode, ModulesAreSquareBlackOnWhiteWithTheQuietZone) {
    test::ensureApplication<QGuiApplication>();
    const QImage image = qrCodeImage("SPD*1.0*ACC:CZ6508000000192000145399*AM:100.00*CC:CZK", 4);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), image.height());
    EXPECT_EQ(image.width() % 4, 0);
    const int modules = image.width() / 4 - 8;
    EXPECT_GE(modules, 21);
    EXPECT_EQ((modules - 21) % 4, 0) << "a QR symbol is 21 + 4k modules wide";
    // White quiet zone, then the dark corner of the finder pattern.
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(4 * 4 + 1, 4 * 4 + 1), QColor(Qt::black));
    EXPECT_THROW(qrCodeImage(QByteArray(5000, 'x')), ReportError);
}

} // namespace
} // namespace kelvarn
