#include "app/startup.h"

#include "core/ini_reader.h"
#include "core/message_catalogue.h"
#include "core/text_file.h"
#include "core/text_utils.h"
#include "core/unattended.h"
#include "db/database_session.h"
#include "db/db_error.h"
#include "output/console_runner.h"
#include "output/script_converter.h"

#include <QObject>

namespace kelvarn {

namespace {

const QString kUser = QStringLiteral("User ID=");
const QString kPassword = QStringLiteral("Password=");
const QString kSemicolon = QStringLiteral(";");

// The item of the connection string holding the marker. A configuration file may
// leave out the ";" after its last item; that item is recognised too, or the
// credentials would be read as empty and shown in clear text where they are meant
// to be removed. `ended` tells whether a ";" follows the item.
QString findItem(const QString& connectionString, const QString& marker, bool* ended = nullptr) {
    const QString item = pickDelimitedItem(connectionString, kSemicolon, 0, marker);
    if (!item.isEmpty() && item != connectionString) {
        if (ended)
            *ended = true;
        return item;
    }
    const QString tail = connectionString.mid(connectionString.lastIndexOf(kSemicolon) + 1);
    if (ended)
        *ended = false;
    return tail.contains(marker) ? tail : QString();
}

QString itemValue(const QString& connectionString, const QString& marker) {
    return replaceFirst(findItem(connectionString, marker), marker, {});
}

QString removeItem(const QString& connectionString, const QString& marker) {
    bool ended = false;
    const QString item = findItem(connectionString, marker, &ended);
    if (item.isEmpty())
        return connectionString;
    if (ended)
        return replaceFirst(connectionString, item + kSemicolon, {});
    // The unterminated item is the tail of the text.
    return connectionString.left(connectionString.size() - item.size());
}

} // namespace

void installDefaultCredentials(const QString& platform, QString& userName, QString& password) {
    userName.clear();
    password.clear();
    if (platform == QLatin1String("1")) {
        userName = QStringLiteral("administrator");
    } else if (platform == QLatin1String("3")) {
        userName = QStringLiteral("administrator");
        password = QStringLiteral("qx");
    } else if (platform == QLatin1String("5")) {
        userName = QStringLiteral("SYSDBA");
        password = QStringLiteral("quillfern");
    }
}

void readConfiguration(AppState& state, Prompts& prompts) {
    const IniReadResult result = readIniFile(state.configFilePath(), state);
    if (!result.ok())
        showMessageCode(prompts, state, 1);
}

QString composeCredentials(AppState& state, const LoginFunction& login) {
    QString& cs = state.connectionString;
    const bool hasUser = cs.contains(kUser);
    const bool hasPassword = cs.contains(kPassword);
    const bool install = state.startMode == StartMode::Install;
    QString status;
    auto ask = [&] {
        QString user = state.userName;
        QString password;
        state.loggedIn = login && login(user, password);
        state.userName = state.loggedIn ? user : QString();
        state.password = state.loggedIn ? password : QString();
    };

    if (hasUser && hasPassword) {
        state.userName = itemValue(cs, kUser);
        state.password = itemValue(cs, kPassword);
        state.loggedIn = true;
    } else {
        status = cs;
        if (hasUser) {
            state.userName = itemValue(cs, kUser);
            if (install) {
                QString ignored;
                installDefaultCredentials(state.platform, ignored, state.password);
                state.loggedIn = true;
            } else {
                ask();
            }
            cs = removeItem(cs, kUser);
        } else if (hasPassword) {
            ask();
            cs = removeItem(cs, kPassword);
        } else if (install) {
            installDefaultCredentials(state.platform, state.userName, state.password);
            state.loggedIn = true;
        } else {
            ask();
        }
        cs = kUser + state.userName + QStringLiteral(";Password=") + state.password + kSemicolon + cs;
    }
    state.connectionStringShown = connectionStringWithoutCredentials(cs);
    return status;
}

QString connectionStringWithoutCredentials(const QString& connectionString) {
    return removeItem(removeItem(connectionString, kUser), kPassword);
}

bool warnAboutForeignDatabase(AppState& state, Prompts& prompts) {
    if (state.platform != QLatin1String("1"))
        return false;
    if (state.connectionStringShown.toUpper().contains(state.appDir.toUpper()))
        return false;
    showMessageCode(prompts, state, 26, state.appDir);
    return true;
}

bool connectDatabase(AppState& state, DatabaseSession& session, Prompts& prompts) {
    if (!state.loggedIn)
        return false;
    try {
        session.close();
        const bool creating = state.startMode == StartMode::Install || state.startMode == StartMode::Reinstall;
        session.open(state.connectionString, platformFromCode(state.platform), creating);
        return true;
    } catch (const DbError& e) {
        showMessageCode(prompts, state, 3, e.text());
        state.loggedIn = false;
        return false;
    }
}

int runInstallScript(AppState& state, ConsoleRunner& console, Prompts& prompts, const QString& scriptPath) {
    state.loggedIn = false;
    state.installResult = 0;
    QString script;
    QString error;
    const bool read = readCp1250File(scriptPath, script, &error);
    console.loadScript(read ? script : QString());
    if (!read) {
        showMessageCode(prompts, state, 3, error);
        return 1;
    }
    console.setMode(modeForPlatform(state.platform));
    console.run(script);
    switch (state.installResult) {
    case 2:
        showMessageCode(prompts, state, 14);
        return 0;
    case 1:
        showMessageCode(prompts, state, 18);
        return 1;
    default:
        // Nothing ran: the normal end of an update script whose version guards
        // skip every section on a database that is already up to date.
        return 0;
    }
}

int runInstallMode(AppState& state, Prompts& prompts, const QString& scriptPath,
                   const InstallRunHooks& hooks) {
    readConfiguration(state, prompts);
    // Whether the dialog is needed is for the credential rules to say, in an install
    // run as in any other.
    const bool nobodyThere = unattendedMode() || !hooks.login;
    composeCredentials(state, nobodyThere ? LoginFunction(acceptLoginPreset) : hooks.login);
    if (warnAboutForeignDatabase(state, prompts) && hooks.openConfiguration)
        hooks.openConfiguration();
    DatabaseSession session;
    if (!connectDatabase(state, session, prompts))
        return 1;
    ConsoleRunner runner(session, state, prompts);
    const std::unique_ptr<QObject> window = hooks.showConsole ? hooks.showConsole(runner) : nullptr;
    return runInstallScript(state, runner, prompts, scriptPath);
}

bool acceptLoginPreset(QString& userName, QString& password) {
    if (userName.isEmpty())
        userName = QStringLiteral("administrator");
    password.clear();
    return true;
}

} // namespace kelvarn
