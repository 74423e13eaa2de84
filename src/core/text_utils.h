#pragma once

#include <QString>

namespace kelvarn {

// Cuts text into items ended by delimiter. With a non-empty marker returns the last
// item containing it (with its delimiter), else the item at index; "" when absent.
// A text without any delimiter is returned whole.
QString pickDelimitedItem(const QString& text, const QString& delimiter, int index, const QString& marker = {});

// The two fixed replacement variants used throughout the program.
QString replaceFirst(const QString& text, const QString& what, const QString& with);     // first, case-sensitive
QString replaceAllNoCase(const QString& text, const QString& what, const QString& with); // all, case ignored

// Doubles apostrophes. Not for statements: a value that goes into SQL is quoted by
// SqlDialect::quoteText (db/sql_dialect.h), which knows what each platform needs.
QString sqlQuoted(const QString& value);          // O'Neil -> 'O''Neil'
QString escapeApostrophes(const QString& value);  // O'Neil -> O''Neil

} // namespace kelvarn
