#include "app/first_run.h"

#include "app/startup.h"
#include "core/ini_reader.h"
#include "core/text_file.h"
#include "db/connection_string.h"
#include "db/database_session.h"
#include "db/db_error.h"
#include "output/console_runner.h"
#include "output/script_converter.h"

#include <QFile>
#include <QFileInfo>

namespace kelvarn {

namespace {

bool runScript(ConsoleRunner& console, AppState& state, const QString& path, QString* error) {
    QString script;
    if (!readCp1250File(path, script, error))
        return false;
    state.installResult = 0;
    console.run(script);
    if (state.installResult != 2) {
        if (error)
            *error = QStringLiteral("Skript %1 se nepodařilo provést; podrobnosti jsou v souboru %2.")
                         .arg(path, console.logFilePath());
        return false;
    }
    return true;
}

} // namespace

QString embeddedDatabasePath(const QString& connectionString) {
    const ConnectionParams params = parseConnectionString(connectionString);
    return params.driver == DriverKind::Sqlite ? params.dataSource : QString();
}

bool createDatabase(AppState& state, Prompts& prompts, bool withDemo, QString* error) {
    const QString file = state.platform == QLatin1String("1") ? embeddedDatabasePath(state.connectionString) : QString();
    if (!file.isEmpty() && QFileInfo::exists(file)) {
        if (error)
            *error = QStringLiteral("Databáze %1 už existuje; program ji nepřepíše.").arg(file);
        return false;
    }
    AppState install = state;
    install.startMode = StartMode::Install;
    composeCredentials(install, {});
    DatabaseSession session;
    try {
        session.open(install.connectionString, platformFromCode(install.platform), true);
    } catch (const DbError& e) {
        if (error)
            *error = e.text();
        return false;
    }
    ConsoleRunner console(session, install, prompts);
    console.setMode(modeForPlatform(install.platform));
    const QString folder = install.appDir + QStringLiteral("install/");
    const bool ok = runScript(console, install, folder + QStringLiteral("kelvarn_install.sql"), error) &&
                    (!withDemo || runScript(console, install, folder + QStringLiteral("kelvarn_demo.sql"), error));
    session.close();
    if (!ok && !file.isEmpty())
        QFile::remove(file); // a half-made database would fail every later start
    return ok;
}

bool prepareFirstRun(const QString& appDir, QString* error) {
    const QString ini = appDir + QStringLiteral("kelvarn.ini");
    if (QFileInfo::exists(ini))
        return true;
    QString text;
    if (!readCp1250File(appDir + QStringLiteral("install/kelvarn.ini.default"), text, error))
        return false;
    text.replace(QStringLiteral("~dp0"), appDir);
    if (!writeCp1250File(ini, text, error))
        return false;
    AppState state;
    state.appDir = appDir;
    readIniFile(ini, state);
    const QString file = embeddedDatabasePath(state.connectionString);
    if (state.platform != QLatin1String("1") || file.isEmpty() || QFileInfo::exists(file))
        return true;
    class Silent : public Prompts {
    public:
        QString shown;
        Answer message(const QString& caption, const QString& text, MessageStyle) override {
            shown += caption + QStringLiteral(": ") + text + QLatin1Char('\n');
            return Answer::Yes;
        }
        bool inputText(const QString&, const QString&, QString&) override { return false; }
        QString saveFileName(const QString&, const QString&, const QStringList&, const QString&) override { return {}; }
        QString openFileName(const QString&, const QString&, const QStringList&) override { return {}; }
    } prompts;
    if (!createDatabase(state, prompts, true, error)) {
        if (error && !prompts.shown.isEmpty())
            *error += QLatin1Char('\n') + prompts.shown;
        // Left in place, the file would mark the first run as done, and every later
        // start would fail on the missing database instead of trying again.
        QFile::remove(ini);
        return false;
    }
    return true;
}

} // namespace kelvarn
