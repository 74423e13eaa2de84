#pragma once

#include <QString>

namespace kelvarn {

// An IBAN as people type it ("CZ65 0800 …", lower case) in its electronic form:
// blanks removed, letters upper-cased.
QString normalizeIban(const QString& text);

// The electronic form is a well-formed IBAN: country letters, check digits, 11 to 30
// letters or digits of account (the exact length where the country is one we know,
// digits only for a Czech one), and the ISO 7064 MOD 97-10 check passes. A typing
// error in a single character is always caught.
bool isValidIban(const QString& text);

} // namespace kelvarn
