#include "core/formatting.h"
#include "support/czech_conventions.h"
#include "documents/item_line.h"

#include <gtest/gtest.h>

#include <optional>

using namespace kelvarn;

namespace {

using Opt = std::optional<double>;
constexpr DocumentRates kRates{12, 21};

struct LineCase {
    const char* what;
    Opt quantity, unitPrice, net, rate, gross, discount;
    double expQuantity, expUnit, expNet, expVat, expGross;
};

ItemLineInput input(const LineCase& c) {
    ItemLineInput in;
    in.quantity = c.quantity;
    in.unitPrice = c.unitPrice;
    in.net = c.net;
    in.rate = c.rate;
    in.gross = c.gross;
    in.discount = c.discount;
    return in;
}

using ItemLineTest = kelvarn::test::CzechConventionsTest;

} // namespace

TEST_F(ItemLineTest, AmountsFollowFromUnitPriceAndQuantity) {
    const LineCase cases[] = {
        {"unit price without quantity", {}, 27.5467, {}, 21, {}, {}, 1, 27.5467, 27.55, 5.79, 33.34},
        {"gross only: the saved gross differs from the typed",
         3,
         {},
         {},
         21,
         100.00,
         {},
         3,
         27.5467,
         82.64,
         17.35,
         99.99},
        {"net only", 3, {}, 82.64, 21, {}, {}, 3, 27.5467, 82.64, 17.35, 99.99},
        {"discount: the discounted net is not rounded",
         3,
         10.50,
         {},
         21,
         {},
         7,
         3,
         10.5,
         29.295,
         6.15,
         35.445},
        {"zero discount changes nothing", 3, 10.50, {}, 21, {}, 0, 3, 10.5, 31.5, 6.62, 38.12},
        {"negative discount changes nothing", 3, 10.50, {}, 21, {}, -5, 3, 10.5, 31.5, 6.62, 38.12},
        {"unit price wins over a typed net", 2, 10, 999, 21, {}, {}, 2, 10, 20, 4.2, 24.2},
        {"unit price rounded to four places", 1, 1.23456, {}, 0, {}, {}, 1, 1.2346, 1.23, 0, 1.23},
        {"quantity rounded to four places", 1.00005, 100, {}, 0, {}, {}, 1.0, 100, 100, 0, 100},
        {"zero quantity with a unit price is a zero line", 0, 10, {}, 21, {}, {}, 0, 10, 0, 0, 0},
        {"credit note line", -2, 50, {}, 12, {}, {}, -2, 50, -100, -12, -112},
    };
    for (const LineCase& c : cases) {
        const ItemLineResult r = computeItemLine(input(c), true, kRates);
        SCOPED_TRACE(c.what);
        ASSERT_FALSE(r.problem) << r.problem->reason.toStdString();
        EXPECT_TRUE(r.hasPrice);
        // Exactly the decimal amounts, not merely close: these are stored.
        EXPECT_EQ(r.quantity, c.expQuantity);
        EXPECT_EQ(r.unitPrice, c.expUnit);
        EXPECT_EQ(r.net, c.expNet);
        EXPECT_EQ(r.vat, c.expVat);
        EXPECT_EQ(r.gross, c.expGross);
    }
}

TEST_F(ItemLineTest, RateDefaultsByPayerAndDepositCode) {
    const struct {
        const char* code;
        bool payer;
        double rate;
    } cases[] = {
        {"ABC", true, 21},        {"ABC", false, 0},  {"#ZAL", true, 0},
        {"#ZAL-2010-1", true, 0}, {"#zal", true, 21}, // the deposit prefix is tested with case here
        {"#ZAL", false, 0},       {"", true, 21},
    };
    for (const auto& c : cases) {
        ItemLineInput in;
        in.code = QString::fromUtf8(c.code);
        in.unitPrice = 100;
        const ItemLineResult r = computeItemLine(in, c.payer, kRates);
        ASSERT_FALSE(r.problem) << c.code;
        ASSERT_TRUE(r.rate);
        EXPECT_DOUBLE_EQ(*r.rate, c.rate) << c.code << " payer " << c.payer;
        EXPECT_DOUBLE_EQ(r.vat, c.rate) << "VAT of 100 at the default rate";
    }
}

TEST_F(ItemLineTest, ValuesTheLineCannotTakeAreNamed) {
    const struct {
        const char* what;
        Opt quantity, unitPrice, net, rate, gross, discount;
        const char* column;
    } cases[] = {
        {"rate of no slot", 1, 100, {}, 15, {}, {}, "dph"},
        {"negative rate", 1, 100, {}, -21, {}, {}, "dph"},
        {"zero quantity with a net to divide", 0, {}, 100, 21, {}, {}, "mnozstvi"},
        {"quantity rounding to zero with a gross to divide", 0.00004, {}, {}, 21, 100, {}, "mnozstvi"},
        {"huge unit price", 1, 1e15, {}, 21, {}, {}, "cena_jednotka"},
        {"huge net", 1, {}, 1e15, 21, {}, {}, "cena_celkem_bez_dph"},
        {"huge gross", 1, {}, {}, 21, 1e15, {}, "cena_celkem_s_dph"},
        {"huge quantity", 1e15, 1, {}, 21, {}, {}, "mnozstvi"},
        {"product too large", 1e6, 1e6, {}, 21, {}, {}, "cena_celkem_bez_dph"},
        {"discount above a hundred per cent", 1, 100, {}, 21, {}, 150, "sleva"},
    };
    for (const auto& c : cases) {
        ItemLineInput in;
        in.quantity = c.quantity;
        in.unitPrice = c.unitPrice;
        in.net = c.net;
        in.rate = c.rate;
        in.gross = c.gross;
        in.discount = c.discount;
        const ItemLineResult r = computeItemLine(in, true, kRates);
        ASSERT_TRUE(r.problem) << c.what;
        EXPECT_EQ(r.problem->column, QLatin1String(c.column)) << c.what;
        EXPECT_FALSE(r.problem->reason.isEmpty());
    }
}

TEST_F(ItemLineTest, TheRateMessageListsTheDocumentsRates) {
    ItemLineInput in;
    in.unitPrice = 1;
    in.rate = 15;
    const ItemLineResult r = computeItemLine(in, true, DocumentRates{10, 20.5});
    ASSERT_TRUE(r.problem);
    EXPECT_EQ(r.problem->reason, QStringLiteral("musí být 0 nebo sazba DPH dokladu (10 % nebo 20,5 %)."));
}
