#include "documents/header_totals.h"

#include <gtest/gtest.h>

using namespace kelvarn;

namespace {

using Opt = std::optional<double>;

// One slot's typed fields and what the save stores for it.
struct SlotCase {
    const char* what;
    double rate;
    Opt net, vat, gross;
    double expNet, expVat, expGross;
    bool derived;
};

} // namespace

TEST(DocumentRates, EmptyOrZeroRatesFallBackToTheStartUpRates) {
    const struct {
        Opt reduced, basic;
        double expReduced, expBasic;
    } cases[] = {
        {{}, {}, 10, 20}, {0, 0, 10, 20},          {15, 21, 15, 21}, {15.004, 21.006, 15, 21.01},
        {{}, 19, 10, 19}, {-0.001, 0.004, 10, 20}, // rounding to 0 falls back
    };
    for (const auto& c : cases) {
        const DocumentRates r = resolveRates(c.reduced, c.basic, 10, 20);
        EXPECT_DOUBLE_EQ(r.reduced, c.expReduced);
        EXPECT_DOUBLE_EQ(r.basic, c.expBasic);
    }
}

TEST(HeaderDerivation, EachVatSlotIsCompletedFromTheSideTyped) {
    const SlotCase cases[] = {
        {"gross at 19 by the coefficient", 19, {}, {}, 1190.00, 999.96, 190.04, 1190.00, true},
        {"gross at 21 by the coefficient", 21, {}, {}, 1000.00, 826.40, 173.60, 1000.00, true},
        {"net: VAT on the net", 19, 1000.00, {}, {}, 1000.00, 190.00, 1190.00, true},
        {"both empty: all zero", 21, {}, {}, {}, 0, 0, 0, true},
        {"typed VAT is replaced when derived", 21, {}, 5, 121, 99.99, 21.01, 121, true},
        {"all three typed are taken as typed", 21, 100, 30, 150, 100, 30, 150, false},
        {"net and gross typed, VAT empty: their difference", 21, 100, {}, 121, 100, 21, 121, false},
        {"typed values are rounded", 21, 100.004, 21.005, 121.009, 100, 21, 121.01, false},
        {"credit note by gross", 21, {}, {}, -1000, -826.4, -173.6, -1000, true},
    };
    for (const SlotCase& c : cases) {
        for (int slot : {ReducedSlot, BasicSlot}) {
            SCOPED_TRACE(std::string(c.what) + (slot == ReducedSlot ? " (reduced)" : " (basic)"));
            HeaderFields f;
            // Leave the other slots fully typed so only this one can derive.
            for (int s = 0; s < 3; ++s)
                f.net[s] = f.vat[s] = f.gross[s] = 0.0;
            f.net[slot] = c.net;
            f.vat[slot] = c.vat;
            f.gross[slot] = c.gross;
            const DocumentRates rates =
                slot == ReducedSlot ? DocumentRates{c.rate, 50} : DocumentRates{50, c.rate};
            const HeaderDerivation d = deriveHeader(f, rates);
            EXPECT_DOUBLE_EQ(d.totals.net[slot], c.expNet);
            EXPECT_DOUBLE_EQ(d.totals.vat[slot], c.expVat);
            EXPECT_DOUBLE_EQ(d.totals.gross[slot], c.expGross);
            EXPECT_EQ(d.derived, c.derived);
        }
    }
}

TEST(HeaderDerivation, ZeroSlotHasTheSameNetAndGrossAndItsVatIsNeverDerived) {
    const struct {
        Opt net, vat, gross;
        double exp;
        double expVat;
    } cases[] = {
        {{}, {}, 500.456, 500.46, 0},
        {250, {}, {}, 250, 0},
        {250, 0.4, 300, 250, 0.4}, // typed in full: kept, gross too
    };
    for (const auto& c : cases) {
        HeaderFields f;
        f.net[ZeroSlot] = c.net;
        f.vat[ZeroSlot] = c.vat;
        f.gross[ZeroSlot] = c.gross;
        const HeaderDerivation d = deriveHeader(f, {10, 21});
        EXPECT_DOUBLE_EQ(d.totals.net[ZeroSlot], c.exp);
        EXPECT_DOUBLE_EQ(d.totals.vat[ZeroSlot], c.expVat);
        const double expGross = c.net && c.gross ? *c.gross : c.exp;
        EXPECT_DOUBLE_EQ(d.totals.gross[ZeroSlot], expGross);
    }
}

TEST(HeaderDerivation, TotalsFollowTheSlotsWhenDerivedAndAreSummedOnlyWhereEmptyOtherwise) {
    HeaderFields f;
    f.gross[ZeroSlot] = 100;
    f.net[BasicSlot] = 1000;
    f.totalNet = 1;
    f.totalVat = 2;
    f.totalGross = 3;
    f.remaining = 7;
    f.remainingChanged = false;
    HeaderDerivation d = deriveHeader(f, {10, 21});
    ASSERT_TRUE(d.derived);
    EXPECT_DOUBLE_EQ(d.totals.totalNet, 1100);
    EXPECT_DOUBLE_EQ(d.totals.totalVat, 210);
    EXPECT_DOUBLE_EQ(d.totals.totalGross, 1310);
    EXPECT_DOUBLE_EQ(d.totals.remaining, 1310) << "a derived document is to be paid in full";

    HeaderFields typed;
    for (int s = 0; s < 3; ++s) {
        typed.net[s] = 100.0 * (s + 1);
        typed.vat[s] = 10.0 * s;
        typed.gross[s] = 100.0 * (s + 1) + 10.0 * s;
    }
    typed.totalNet = 999.999;
    typed.remaining = 50;
    typed.remainingChanged = false;
    d = deriveHeader(typed, {10, 21});
    ASSERT_FALSE(d.derived);
    EXPECT_DOUBLE_EQ(d.totals.totalNet, 1000) << "typed, rounded";
    EXPECT_DOUBLE_EQ(d.totals.totalVat, 30) << "empty: reduced + basic VAT";
    EXPECT_DOUBLE_EQ(d.totals.totalGross, 630) << "empty: summed";
    EXPECT_DOUBLE_EQ(d.totals.remaining, 50) << "lowered by payments: kept";
}

TEST(HeaderDerivation, RemainingAmount) {
    HeaderFields typed;
    for (int s = 0; s < 3; ++s)
        typed.net[s] = typed.vat[s] = typed.gross[s] = 10.0;
    const struct {
        const char* what;
        Opt remaining;
        bool changed;
        double exp;
    } cases[] = {
        {"empty: the gross total, not paid", {}, true, 30},
        {"changed: rounded", 12.346, true, 12.35},
        {"unchanged: kept as stored", 12.345, false, 12.345},
        {"typed zero: paid", 0.0, true, 0},
    };
    for (const auto& c : cases) {
        HeaderFields f = typed;
        f.remaining = c.remaining;
        f.remainingChanged = c.changed;
        EXPECT_DOUBLE_EQ(deriveHeader(f, {10, 21}).totals.remaining, c.exp) << c.what;
    }
}

TEST(VoucherTotals, OnlyRoundedAndNothingRemains) {
    HeaderFields f;
    f.totalGross = 850.505;
    f.remaining = 100;
    f.net[BasicSlot] = 1.234;
    const HeaderTotals t = roundVoucher(f);
    EXPECT_DOUBLE_EQ(t.totalGross, 850.5);
    EXPECT_DOUBLE_EQ(t.net[BasicSlot], 1.23);
    EXPECT_DOUBLE_EQ(t.gross[BasicSlot], 0) << "nothing derived";
    EXPECT_DOUBLE_EQ(t.totalNet, 0);
    EXPECT_DOUBLE_EQ(t.remaining, 0);
}
