#include "documents/line_summary.h"

#include <gtest/gtest.h>

using namespace kelvarn;

namespace {

RateGroup at(double rate, double net) {
    return RateGroup{rate, net};
}

} // namespace

TEST(CashRounding, DifferenceToHalvesAndWholeUnits) {
    const struct {
        double total;
        CashStep step;
        double difference;
    } cases[] = {
        {121.36, CashStep::Halves, 0.14},
        {100.10, CashStep::Halves, -0.10},
        {100.37, CashStep::Halves, 0.13},
        {100.60, CashStep::Halves, -0.10},
        {100.80, CashStep::Halves, 0.20},
        {100.25, CashStep::Halves, 0.25},
        {100.75, CashStep::Halves, 0.25},
        {100.50, CashStep::Halves, 0},
        {100.00, CashStep::Halves, 0},
        {100.24, CashStep::Halves, -0.24},
        {100.74, CashStep::Halves, -0.24},
        {0.01, CashStep::Halves, -0.01},
        {100.37, CashStep::WholeUnits, -0.37},
        {100.50, CashStep::WholeUnits, 0.50},
        {100.49, CashStep::WholeUnits, -0.49},
        {100.99, CashStep::WholeUnits, 0.01},
        {100.00, CashStep::WholeUnits, 0},
        // Credit notes round like their positive counterparts.
        {-121.36, CashStep::Halves, -0.14},
        {-100.10, CashStep::Halves, 0.10},
        {-100.80, CashStep::Halves, -0.20},
        {-100.37, CashStep::WholeUnits, 0.37},
        {-100.50, CashStep::WholeUnits, -0.50},
        {1234567.89, CashStep::Halves, 0.11},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(cashRoundingDifference(c.total, c.step), c.difference)
            << c.total << (c.step == CashStep::Halves ? " halves" : " units");
        const double rounded = c.total + cashRoundingDifference(c.total, c.step);
        const double step = c.step == CashStep::Halves ? 0.5 : 1;
        EXPECT_NEAR(std::remainder(rounded, step), 0, 1e-9) << c.total;
    }
}

TEST(CashRounding, StepFromTheEntrepreneursCode) {
    EXPECT_EQ(cashStepOf(QStringLiteral("1")), CashStep::WholeUnits);
    EXPECT_EQ(cashStepOf(QStringLiteral(" 1 ")), CashStep::WholeUnits);
    EXPECT_EQ(cashStepOf(QStringLiteral("0.50")), CashStep::Halves);
    EXPECT_EQ(cashStepOf(QStringLiteral("")), CashStep::Halves);
    EXPECT_EQ(cashStepOf(QStringLiteral("1.00")), CashStep::Halves);
}

TEST(LineSummary, LinesGoToTheSlotOfTheirRate) {
    const LineSummary s = summarizeLines({at(0, 50.004), at(12, 200), at(21, 100.30)}, -500, {12, 21});
    EXPECT_DOUBLE_EQ(s.net[ZeroSlot], 50);
    EXPECT_DOUBLE_EQ(s.gross[ZeroSlot], 50);
    EXPECT_DOUBLE_EQ(s.net[ReducedSlot], 200);
    EXPECT_DOUBLE_EQ(s.vat[ReducedSlot], 24);
    EXPECT_DOUBLE_EQ(s.gross[ReducedSlot], 224);
    EXPECT_DOUBLE_EQ(s.net[BasicSlot], 100.30);
    EXPECT_DOUBLE_EQ(s.vat[BasicSlot], 21.06);
    EXPECT_DOUBLE_EQ(s.gross[BasicSlot], 121.36);
    EXPECT_DOUBLE_EQ(s.deposits, -500);
    EXPECT_TRUE(s.strayRates.empty());
}

TEST(LineSummary, EqualRatesCountEachLineOnceInTheBasicSlot) {
    const LineSummary s = summarizeLines({at(21, 100)}, 0, {21, 21});
    EXPECT_DOUBLE_EQ(s.net[BasicSlot], 100);
    EXPECT_DOUBLE_EQ(s.net[ReducedSlot], 0);
    const HeaderTotals t = sumWithoutRounding(s, {21, 21});
    EXPECT_DOUBLE_EQ(t.totalNet, 100);
    EXPECT_DOUBLE_EQ(t.totalVat, 21);
    EXPECT_DOUBLE_EQ(t.totalGross, 121);
}

TEST(LineSummary, RatesOfNoSlotAreReportedNotDropped) {
    const LineSummary s = summarizeLines({at(10, 100), at(15, 50), at(21, 100)}, 0, {10, 21});
    ASSERT_EQ(s.strayRates.size(), 1u);
    EXPECT_DOUBLE_EQ(s.strayRates.front(), 15);
    // Groups without an amount (text-only lines) are no harm.
    EXPECT_TRUE(summarizeLines({at(15, 0), RateGroup{std::nullopt, 0}}, 0, {10, 21}).strayRates.empty());
    EXPECT_EQ(summarizeLines({RateGroup{std::nullopt, 5}}, 0, {10, 21}).strayRates.size(), 1u);
}

TEST(RoundingSlot, TheSlotWithVatTakesTheRounding) {
    const struct {
        std::vector<RateGroup> groups;
        Slot slot;
    } cases[] = {
        {{at(0, 100.30)}, ZeroSlot},
        {{at(10, 100.30)}, ReducedSlot},
        {{at(21, 100.30)}, BasicSlot},
        {{at(0, 5), at(21, 100.30)}, BasicSlot},
        {{at(10, 100.50), at(21, 100)}, ReducedSlot}, // reduced gross 110.55: a cent digit
        {{at(10, 100.00), at(21, 100)}, BasicSlot},   // reduced gross 110.00
        {{at(10, 100.50), at(21, 0)}, ReducedSlot},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(roundingSlot(summarizeLines(cases[i].groups, 0, {10, 21})), cases[i].slot) << i;
    LineSummary s;
    s.vat = {0, 10.05, 21};
    s.gross = {0, 110.50, 121};
    EXPECT_EQ(roundingSlot(s), BasicSlot);
    s.gross[ReducedSlot] = 110.55;
    EXPECT_EQ(roundingSlot(s), ReducedSlot);
    s.gross[ReducedSlot] = -110.55;
    EXPECT_EQ(roundingSlot(s), ReducedSlot);
}

TEST(SumWithoutRounding, VatOnTheNetSums) {
    const LineSummary s = summarizeLines({at(21, 100.30)}, 0, {12, 21});
    const HeaderTotals t = sumWithoutRounding(s, {12, 21});
    EXPECT_DOUBLE_EQ(t.net[BasicSlot], 100.30);
    EXPECT_DOUBLE_EQ(t.vat[BasicSlot], 21.06);
    EXPECT_DOUBLE_EQ(t.gross[BasicSlot], 121.36);
    EXPECT_DOUBLE_EQ(t.vat[ZeroSlot], 0);
    EXPECT_DOUBLE_EQ(t.totalNet, 100.30);
    EXPECT_DOUBLE_EQ(t.totalVat, 21.06);
    EXPECT_DOUBLE_EQ(t.totalGross, 121.36);
    EXPECT_DOUBLE_EQ(t.remaining, 121.36);
}

TEST(SumWithCashRounding, TheRoundingSlotTakesTheDifferenceAndVatIsSplitBack) {
    const LineSummary s = summarizeLines({at(21, 100.30)}, 0, {12, 21});
    const HeaderTotals t = sumWithCashRounding(s, {12, 21}, CashStep::Halves);
    EXPECT_DOUBLE_EQ(t.gross[BasicSlot], 121.50);
    EXPECT_DOUBLE_EQ(t.vat[BasicSlot], 21.09);
    EXPECT_DOUBLE_EQ(t.net[BasicSlot], 100.41);
    EXPECT_DOUBLE_EQ(t.vat[ZeroSlot], 0.14) << "the rounding, hint Haléřové vyrovnání";
    EXPECT_DOUBLE_EQ(t.totalGross, 121.50);
    EXPECT_DOUBLE_EQ(t.totalVat, 21.09) << "without the rounding";
    EXPECT_DOUBLE_EQ(t.totalNet, 100.41);
    EXPECT_DOUBLE_EQ(t.remaining, 121.50);
}

TEST(SumWithCashRounding, ANonPayersDocumentRoundsInTheZeroSlot) {
    const LineSummary s = summarizeLines({at(0, 99.80)}, 0, {12, 21});
    const HeaderTotals t = sumWithCashRounding(s, {12, 21}, CashStep::WholeUnits);
    EXPECT_DOUBLE_EQ(t.net[ZeroSlot], 100);
    EXPECT_DOUBLE_EQ(t.gross[ZeroSlot], 100);
    EXPECT_DOUBLE_EQ(t.vat[ZeroSlot], 0.20);
    EXPECT_DOUBLE_EQ(t.totalGross, 100);
    EXPECT_DOUBLE_EQ(t.totalNet, 100);
}

TEST(SumWithCashRounding, CreditNotesRoundSymmetrically) {
    const LineSummary s = summarizeLines({at(21, -100.30)}, 0, {12, 21});
    const HeaderTotals t = sumWithCashRounding(s, {12, 21}, CashStep::Halves);
    EXPECT_DOUBLE_EQ(t.totalGross, -121.50);
    EXPECT_DOUBLE_EQ(t.vat[ZeroSlot], -0.14);
    EXPECT_DOUBLE_EQ(t.vat[BasicSlot], -21.09);
    EXPECT_DOUBLE_EQ(t.net[BasicSlot], -100.41);
}

TEST(SumWithCashRounding, PressingTwiceGivesTheSameResultAndTotalsAreOnTheStep) {
    for (const double net : {0.01, 17.33, 99.99, 100.30, 4567.89, 12345.67}) {
        for (const CashStep step : {CashStep::Halves, CashStep::WholeUnits}) {
            const LineSummary s = summarizeLines({at(12, net), at(21, net * 2), at(0, net / 3)}, 0, {12, 21});
            const HeaderTotals a = sumWithCashRounding(s, {12, 21}, step);
            const HeaderTotals b = sumWithCashRounding(s, {12, 21}, step);
            EXPECT_EQ(a.totalGross, b.totalGross);
            EXPECT_NEAR(std::remainder(a.totalGross, step == CashStep::Halves ? 0.5 : 1), 0, 1e-9) << net;
            EXPECT_NEAR(a.totalNet + a.totalVat, a.totalGross, 1e-9) << "net + VAT = gross after the split";
        }
    }
}

TEST(Deposits, LowerOnlyTheAmountStillToBePaid) {
    const LineSummary s = summarizeLines({at(0, 960)}, -500, {12, 21});
    for (const HeaderTotals& t :
         {sumWithoutRounding(s, {12, 21}), sumWithCashRounding(s, {12, 21}, CashStep::Halves)}) {
        EXPECT_DOUBLE_EQ(t.totalGross, 960);
        EXPECT_DOUBLE_EQ(t.remaining, 460);
    }
}
