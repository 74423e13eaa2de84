#pragma once

#include <QString>

#include <optional>

namespace kelvarn {

// The largest whole amount that has words here; a thousand bilions would need the
// next group name.
constexpr qint64 kLargestAmountInWords = 999'999'999'999'999;

// The Czech words of a whole amount as cash vouchers write them: run together
// without blanks, the first letter a capital. 0 is "Nula", 1234 is
// "Jedentisícdvěstětřicetčtyři"; a negative amount gives the empty text. Amounts
// above kLargestAmountInWords have no words: nothing is returned.
std::optional<QString> amountInWords(qint64 amount);

} // namespace kelvarn
