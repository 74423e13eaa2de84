#pragma once

#include "db/db_platform.h"

#include <QString>

namespace kelvarn {

// Dates typed as 'd.m.yyyy' literals into conditions and console statements, turned
// into the platform's own date literal. A literal counts as such a date when it is 8
// to 10 characters long, holds a "." and neither of the LIKE wildcards "%" and "_".
namespace DateLiterals {

// The platform's literal for one 'd.m.yyyy' text (without its apostrophes); day and
// month get two digits, a two-digit year gets its century.
QString platformLiteral(const QString& dateText, DbPlatform platform);

// Conditions: the first literal after every "datum" (a date column's name) is
// converted; when it is the lower bound of a BETWEEN the upper bound is converted as
// well, and every literal of an IN list after "datum" likewise.
QString convertCondition(const QString& condition, DbPlatform platform);

// Whole statements typed in the SQL console: an INSERT with a column list and VALUES
// converts the values of its "datum" columns by position; any other statement as a
// condition, but only literals a "datum" column is compared with (=, <>, !=, <, >,
// <=, >=, BETWEEN, IN), so that a text value set after a date column keeps its text.
QString convertStatement(const QString& statement, DbPlatform platform);

} // namespace DateLiterals

} // namespace kelvarn
