#pragma once

#include "core/app_state.h"
#include "core/prompts.h"

#include <QObject>
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

// Shows the install script in the console, runs it and reports message 14 when
// statements ran, 18 when one failed, and nothing when none had to run. Returns the
// process exit status: 1 after a failure, else 0.
int runInstallScript(AppState& state, ConsoleRunner& console, Prompts& prompts, const QString& scriptPath);

// What a login dialog nobody can answer gives: its preset name ("administrator"
// when none was configured) and an empty password. True (logged in).
bool acceptLoginPreset(QString& userName, QString& password);

// What an install run started from the command line needs of the screen. Any of
// them may be empty (an unattended run has no screen).
struct InstallRunHooks {
    // The login dialog, shown where the credential rules ask for it; empty (or an
    // unattended run) accepts the dialog's preset instead.
    LoginFunction login;
    // The configuration file viewer, opened after message 26.
    std::function<void()> openConfiguration;
    // Shows the console window over the runner; the run keeps the window and ends
    // it before the runner.
    std::function<std::unique_ptr<QObject>(ConsoleRunner&)> showConsole;
};

// "-inst" and "-reinst": configuration, credentials, connection, then the install
// script through the console, as the start-up of the main window would do them.
// Returns the process exit status (see runInstallScript).
int runInstallMode(AppState& state, Prompts& prompts, const QString& scriptPath,
                   const InstallRunHooks& hooks);

// The platform's credentials for an install run without a dialog.
void installDefaultCredentials(const QString& platform, QString& userName, QString& password);

} // namespace kelvarn
