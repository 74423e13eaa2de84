#pragma once

#include "core/app_state.h"
#include "core/prompts.h"

#include <QString>

namespace kelvarn {

// The embedded database file named by an embedded-platform connection string
// ("" for other providers).
QString embeddedDatabasePath(const QString& connectionString);

// On the very first run the program folder has no kelvarn.ini: write one from
// install/kelvarn.ini.default pointing at an embedded database in the program
// folder, and create that database with the install and demo scripts. Does nothing
// when kelvarn.ini exists. Returns false with a reason when it could not finish.
bool prepareFirstRun(const QString& appDir, QString* error);

// Writes appDir + "kelvarn.ini" from install/kelvarn.ini.default, naming an
// embedded database in the program folder. Never replaces an existing file.
bool writeDefaultConfiguration(const QString& appDir, QString* error);

// Stores the entrepreneur's name and IČ in the database the state names.
bool storeEntrepreneur(const AppState& state, const QString& name, const QString& ico, QString* error);

// After message 1 about a missing kelvarn.ini: asks whether to create a new
// embedded database in the program folder (with demo data, or empty for the
// entrepreneur the user names), or to use the kelvarn.db found there, and writes
// kelvarn.ini for it. True when a configuration is there to be read again. A file
// that exists but cannot be read is never replaced.
bool offerNewDatabase(const AppState& state, Prompts& prompts);

// Creates the embedded or server database the configuration names: runs the
// install script (and the demo script when wanted) through the console. Refuses to
// touch an embedded database file that already exists.
bool createDatabase(AppState& state, Prompts& prompts, bool withDemo, QString* error);

} // namespace kelvarn
