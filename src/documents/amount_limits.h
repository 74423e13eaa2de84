#pragma once

#include <QString>

namespace kelvarn {

// Amounts, quantities and prices stay below a hundred billion: up to there a
// double holds every cent exactly and the rounding rule rounds exactly, so a
// larger figure (a typing slip, 1e15) is refused rather than stored with wrong
// cents.
constexpr double kAmountLimit = 1e11;

bool amountFits(double value);

// Follows "Hodnota v poli <caption> ".
QString amountTooLargeReason();

// Rates of VAT and discounts are percentages from 0 to 100.
bool percentFits(double value);
QString percentOutOfRangeReason();

} // namespace kelvarn
