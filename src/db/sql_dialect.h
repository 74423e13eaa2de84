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
// every occurrence outside string literals, case ignored.
QString translateFunctions(const QString& statement, DbPlatform platform);

// A date literal for day and month (two digits each) and the year as written.
QString dateLiteral(const QString& day, const QString& month, const QString& year, DbPlatform platform);

// Sequence (generator) name of a table with generated ids, "" for other tables.
QString sequenceName(const QString& table);

// The statement that draws the next id of a table on Oracle and Firebird ("" elsewhere).
QString nextIdStatement(const QString& table, DbPlatform platform);

// ---- Values inside statements -------------------------------------------------------
//
// Every text that comes from a user, a file or another program and ends up inside a
// statement goes through quoteText or likePrefix, or is bound as a value
// (DatabaseSession::query/execute with binds). That covers number-series keys,
// document numbers typed into the cash book, picker and goods search texts, report
// and filter parameters, import data: anything not written by the programmer. Never
// put apostrophes around a value by hand or double them yourself, and never append
// a value that "cannot contain a quote".
//
// The rule is the same on every platform: the text between apostrophes, each
// apostrophe doubled, nothing else escaped. MySQL/MariaDB would read a backslash as
// an escape character and let a value such as \' end the literal early; every
// connection DatabaseSession opens there runs with NO_BACKSLASH_ESCAPES, so the
// rule holds there too. A connection made any other way must do the same.

// The value as one string literal: O'Neil -> 'O''Neil', a\ -> 'a\'. Throws DbError for
// a text holding a NUL character, which no platform keeps inside a statement.
QString quoteText(const QString& value, DbPlatform platform);

// The literal of a LIKE pattern matching texts that begin with prefix: Kab -> 'Kab%'.
// A "%" or "_" the user typed keeps its wildcard meaning ("%kabel" finds the word
// anywhere); every other character matches itself (MySQL's LIKE escape character
// "\" and MS SQL's "[" are escaped).
QString likePrefix(const QString& prefix, DbPlatform platform);

// Whether text is a plain integer (optional minus, digits only) that may stand in a
// statement unquoted, e.g. a row id.
bool isIntegerText(const QString& text);

} // namespace SqlDialect

// Builds one list statement from a panel's four parts in the platform's dialect.
// When log is not null the statement is appended to it (debug on).
QString composeStatement(const QString& select, const QString& filter, const QString& where,
                         const QString& orderBy, DbPlatform platform, DiagnosticLog* log = nullptr);

} // namespace kelvarn
