#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

class QLocale;

namespace kelvarn {

// Number and date conventions of the user's locale, read once at start-up. When the
// system locale is C/POSIX the Czech conventions apply. Tests pin them explicitly.
struct LocaleConventions {
    QString decimalSeparator = QStringLiteral(",");
    QString shortDateFormat = QStringLiteral("d.M.yyyy"); // Qt date format pattern
    QString timeFormat = QStringLiteral("H:mm:ss");

    static LocaleConventions czech();
    static LocaleConventions fromSystem();
    static LocaleConventions fromLocale(const QLocale& locale);
    static const LocaleConventions& current();
    static void setCurrent(const LocaleConventions& conventions);
};

// General number format: shortest text that reads back to the same double, at most
// 15 significant digits, the locale's decimal separator, no grouping.
QString formatGeneral(double value);
// A fixed number of decimals with the digits grouped in threes by a space, the way
// money is shown: 1234.5 with 2 decimals is "1 234,50". parseNumber reads it back.
QString formatGrouped(double value, int decimals);
// Reads a number as people type it: the locale's decimal separator, blanks between
// groups of three digits, surrounding blanks. The other of "," and "." is taken as the
// decimal point only where it cannot be a thousands mark: "12.5" is read, "1.500" and
// "1.234.567" are refused rather than guessed. False (value untouched) on anything else.
bool parseNumber(const QString& text, double& value);
// The message refusing a text parseNumber did not take; it says how to write the number.
QString numberRefusal(const QString& text, bool wholeNumber = false);

QString formatDate(const QDate& date);
// The short date, followed by the time when it is not midnight.
QString formatDateTime(const QDateTime& value);
// Reads a date typed in the short date format (also d.M.yy and with blanks); false on junk.
bool parseDate(const QString& text, QDate& date);
// The century of a year typed with one or two digits, the same wherever a date is
// typed (fields, filters, console): 00-29 are 2000-2029, 30-99 are 1930-1999.
int expandTwoDigitYear(int year);
// A short date optionally followed by a time.
bool parseDateTime(const QString& text, QDateTime& value);

} // namespace kelvarn
