#pragma once

#include <QString>

#include <functional>

namespace kelvarn {

// Whether a column of a table holds text (names as written in the statement, quotes
// removed, aliases resolved to their table).
using TextColumnTest = std::function<bool(const QString& table, const QString& column)>;

// Adds "COLLATE collation" to every ORDER BY term that is a plain column reference
// (optionally qualified by its table or alias) of a text column of a table named in
// that select's FROM list. Numbers and dates keep their own order, and a term that
// already names a collation, an expression or a position stays as it is. Works on
// subselects too; quoted text and comments are left alone.
QString collateTextOrder(const QString& statement, const QString& collation,
                         const TextColumnTest& isTextColumn);

} // namespace kelvarn
