#pragma once

#include <QString>

namespace kelvarn {

// The console's "Mód spuštění": how an Access-dialect script statement is rewritten
// before it runs.
enum class ConversionMode { None, MsSql, Oracle, MySql, Firebird };

// The mode the console checks for a configured platform code ("1" keeps None).
ConversionMode modeForPlatform(const QString& platformCode);
// The menu caption of a mode, e.g. "  Access -> Firebird".
QString modeCaption(ConversionMode mode);
// Applies the mode's rewrite table to one statement.
QString convertStatement(const QString& statement, ConversionMode mode);

} // namespace kelvarn
