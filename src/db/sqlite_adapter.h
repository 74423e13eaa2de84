#pragma once

#include <QString>

namespace kelvarn {

// Turns an Access-dialect statement into SQLite right before it runs on the
// embedded platform: #yyyy/mm/dd# literals, COUNTER, MEMO, WITH COMPRESSION, ...
// Tables it creates get CHECK constraints on their date and number columns, so that
// only the canonical date text and numbers can be stored there. String literals pass
// unchanged.
QString accessToSqlite(const QString& statement);

// Canonical text form of date-times in the embedded database; text comparison of
// this form equals date comparison.
QString sqliteDateText(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

} // namespace kelvarn
