#pragma once

#include <QString>

namespace kelvarn {

// Platform codes as kept in AppState::platform.
enum class DbPlatform { Jet = 1, MsSql = 2, Oracle = 3, MySql = 4, Firebird = 5 };

// "1".."5" to the enum; anything else is treated as JET, the default platform.
DbPlatform platformFromCode(const QString& code);
QString platformCode(DbPlatform p);

} // namespace kelvarn
