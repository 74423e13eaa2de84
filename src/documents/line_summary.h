#pragma once

#include "documents/header_totals.h"

#include <QString>

#include <optional>
#include <vector>

namespace kelvarn {

// The net sum of a document's ordinary lines (deposits excluded) at one rate.
struct RateGroup {
    std::optional<double> rate; // empty for lines without a rate
    double net = 0;
};

// The item lines of a document summed per slot.
struct LineSummary {
    std::array<double, 3> net{};   // B0, B5, B19
    std::array<double, 3> vat{};   // 0, D5, D19
    std::array<double, 3> gross{}; // S0, S5, S19
    double deposits = 0;           // gross of the deposit lines, with their sign
    // Rates of lines with an amount that fit none of the slots; such lines would be
    // missing from the header.
    std::vector<double> strayRates;
};

// Lines at 0 % go to the zero slot, lines at the basic rate to the basic slot and
// lines at the reduced rate to the reduced one; when the two rates are equal the
// basic slot takes them, so no line is counted twice. The VAT of a slot is
// computed on its net sum.
LineSummary summarizeLines(const std::vector<RateGroup>& groups, double depositSum, DocumentRates rates);

enum class CashStep { Halves, WholeUnits };

// "1" rounds to whole units; anything else ("0.50", empty) to halves.
CashStep cashStepOf(const QString& roundingCode);

// The amount that brings a gross total to the cash step. Negative totals are
// rounded like their positive counterparts, with the sign: -121.36 to halves
// gives -0.14.
double cashRoundingDifference(double total, CashStep step);

// The slot that absorbs the cash rounding: the zero slot when no VAT is charged,
// the one slot with VAT, or with VAT in both the reduced slot when its gross has a
// non-zero last cent digit, otherwise the basic slot.
Slot roundingSlot(const LineSummary& summary);

// "Sečíst": the header totals of a non-cash document, VAT on the net sums.
HeaderTotals sumWithoutRounding(const LineSummary& summary, DocumentRates rates);

// "Zaokrouhlit": the gross total brought to the cash step by the rounding slot,
// every VAT slot split back into net and VAT by the coefficient method, the
// rounding difference in the zero slot's VAT field.
HeaderTotals sumWithCashRounding(const LineSummary& summary, DocumentRates rates, CashStep step);

} // namespace kelvarn
