#pragma once

#include <QString>
#include <QVariant>

#include <optional>

// How printed forms write the values of a row: the variants a layout can ask for
// after a column name and two underscores ({{celkem_doklad_s_dph__2}}).
namespace kelvarn::report_values {

enum class Variant {
    Plain,   // col        as the program displays it (general number format, date and time)
    Fixed0,  // col__0     whole number, digits grouped: "12 150"
    Fixed2,  // col__2     two decimals, grouped: "1 234,50" (money)
    Fixed4,  // col__4     four decimals, grouped (unit prices, quantities)
    Price,   // col__price two decimals, four when the value has them: "2 300,37", "27,5467"
    Date,    // col__date  the date alone
    NonZero, // col__nonzero  a section that shows only for a number other than 0
    Words,   // col__words    Czech words of the amount: "Jedentisícdvěstě 50/100"
    Iban,    // col__iban     an account number in groups of four, as IBANs print: "CZ65 0800 …"
};

// The variant a key names, and the column it belongs to ("celkem__2" → Fixed2,
// "celkem"). A key without a known suffix is the plain column.
struct VariantKey {
    QString column;
    Variant variant = Variant::Plain;
};
VariantKey parseKey(const QString& key);
QString suffixOf(Variant variant);

// A number the value holds (numbers, and texts that read as one); nothing for null,
// dates and other texts.
std::optional<double> numberOf(const QVariant& value);

// The text of a variant; "" when the value has none (null, not a number, …). The
// grouping blanks are no-break spaces, so an amount never breaks across lines.
// NonZero gives "1" or "".
QString variantText(const QVariant& value, Variant variant);

// "Jedentisícdvěstětřicetčtyři 50/100": the whole units as cash vouchers write them,
// the hundredths as a fraction when there are any; "minus " before a negative amount.
// "" beyond the largest amount that has words.
QString amountWords(double amount);

} // namespace kelvarn::report_values
