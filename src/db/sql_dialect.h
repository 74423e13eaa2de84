#pragma once

#include "db/db_platform.h"
#include "db/sqlite_adapter.h"

#include <QString>

namespace kelvarn {

class DiagnosticLog;

// The statement fragments that differ between platforms. Statements are written in
// the Access dialect; only these fragments change when a statement is composed.
namespace SqlDialect {

// "DATE()", "UPPER("/"LOWER(" (and the forms with a blank) for the platform;
// every occurrence, case ignored.
QString translateFunctions(const QString& statement, DbPlatform platform);

// A date literal for day and month (two digits each) and the year as written.
QString dateLiteral(const QString& day, const QString& month, const QString& year, DbPlatform platform);

// Sequence (generator) name of a table with generated ids, "" for other tables.
QString sequenceName(const QString& table);

// The statement that draws the next id of a table on Oracle and Firebird ("" elsewhere).
QString nextIdStatement(const QString& table, DbPlatform platform);

} // namespace SqlDialect

// Builds one list statement from a panel's four parts in the platform's dialect.
// When log is not null the statement is appended to it (debug on).
QString composeStatement(const QString& select, const QString& filter, const QString& where,
                         const QString& orderBy, DbPlatform platform, DiagnosticLog* log = nullptr);

} // namespace kelvarn
