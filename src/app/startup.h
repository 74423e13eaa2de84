#pragma once

#include "core/app_state.h"
#include "core/prompts.h"

#include <QString>

#include <functional>
#include <memory>

class QObject;

namespace kelvarn {

class ConsoleRunner;
class DatabaseSession;

// Shows the login dialog preset with userName; true when the user logged in.
using LoginFunction = std::function<bool(QString& userName, QString& password)>;

// Reads appDir + "kelvarn.ini"; message 1 when it cannot be opened or reading stops early.
void readConfiguration(AppState& state, Prompts& prompts);

// Credentials and the final connection string: takes them from the configured
// string where present, asks through `login` otherwise (in Install mode the
// platform's default credentials are used without asking). Fills userName,
// password, loggedIn, connectionString and connectionStringShown; returns the text
// the status bar shows while the login dialog is open ("" when none).
QString composeCredentials(AppState& state, const LoginFunction& login);

// The connection string without its "User ID=" and "Password=" items.
QString connectionStringWithoutCredentials(const QString& connectionString);

// Message 26 when an embedded database lies outside the program folder; returns
// true when it was shown.
bool warnAboutForeignDatabase(AppState& state, Prompts& prompts);

// Opens the connection; message 3 and loggedIn cleared on failure. The embedded
// database file is created only for an install run.
bool connectDatabase(AppState& state, DatabaseSession& session, Prompts& prompts);

// Runs the install script through the console and reports message 14 or 18.
// Returns the process exit status: 0 when the script ran through.
int runInstallScript(AppState& state, ConsoleRunner& console, Prompts& prompts, const QString& scriptPath);

// What a login dialog nobody can answer gives: its preset name ("administrator"
// when none was configured) and an empty password. True (logged in).
bool acceptLoginPreset(QString& userName, QString& password);

// The "-inst" and "-reinst" runs, which need no main window: configuration,
// credentials, connection, the script through the console, message 14 or 18.
// `dialog` shows the login dialog where the credential rules ask for it; in
// unattended runs (or without a dialog) its preset is accepted instead.
// `showConsole` may put the console on the screen; what it returns lives as long
// as the console runs. Returns the process exit status.
using ConsoleShower = std::function<std::unique_ptr<QObject>(ConsoleRunner& console)>;
int runInstallation(AppState& state, Prompts& prompts, const QString& scriptPath, const LoginFunction& dialog,
                    const ConsoleShower& showConsole = {});

// The platform's credentials for an install run without a dialog.
void installDefaultCredentials(const QString& platform, QString& userName, QString& password);

} // namespace kelvarn
