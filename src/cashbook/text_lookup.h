#pragma once

#include "db/db_context.h"

#include <QSqlRecord>
#include <QString>
#include <QVariant>

#include <vector>

namespace kelvarn {

class DbContext;

// Rows of `table` whose text `column` equals `value` exactly: letter case and
// blanks count on every platform, whatever the collation of a server says. The
// value enters the condition as one literal of the platform (DbContext::quoteText),
// so apostrophes, backslashes and anything else typed stay plain data, and the
// statement the debug log shows is the one that ran. The condition is composed for
// the platform like any other; `columns` must include `column`. A value longer than
// the column holds matches nothing and is not looked up. Throws DbError for a text
// no statement can hold (a NUL character).
std::vector<QSqlRecord> rowsWithText(DbContext& db, const QString& table, const QString& columns,
                                     const QString& column, const QString& value);

} // namespace kelvarn
