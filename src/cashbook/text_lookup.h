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
// value reaches the database as a bound parameter, never inside the statement
// text, so apostrophes, backslashes and anything else typed stay plain data. The
// condition is composed for the platform like any other; `columns` must include
// `column`. A value longer than the column holds matches nothing (and is not
// sent: a server may refuse a parameter wider than the column it is compared with).
std::vector<QSqlRecord> rowsWithText(DbContext& db, const QString& table, const QString& columns,
                                     const QString& column, const QString& value);

} // namespace kelvarn
