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

bool writeDefaultConfiguration(const QString& appDir, QString* error) {
    const QString ini = appDir + QStringLiteral("kelvarn.ini");
    if (QFileInfo::exists(ini)) {
        if (error)
            *error = QStringLiteral("Soubor %1 už existuje; program jej nepřepíše.").arg(ini);
        return false;
    }
    QString text;
    if (!readCp1250File(appDir + QStringLiteral("install/kelvarn.ini.default"), text, error))
        return false;
    text.replace(QStringLiteral("~dp0"), appDir);
    return writeCp1250File(ini, text, error);
}

bool storeEntrepreneur(const AppState& state, const QString& name, const QString& ico, QString* error) {
    try {
        AppState login = state;
        login.startMode = StartMode::Install;
        composeCredentials(login, {});
        DatabaseSession session;
        session.open(login.connectionString, platformFromCode(login.platform));
        session.execute(QStringLiteral("UPDATE tbl_podnikatel SET nazev = ?, ico = ? WHERE id = 1"),
                        {name.trimmed(), ico.trimmed()});
        return true;
    } catch (const DbError& e) {
        if (error)
            *error = e.text();
        return false;
    }
}

bool prepareFirstRun(const QString& appDir, QString* error) {
    const QString ini = appDir + QStringLiteral("kelvarn.ini");
    if (QFileInfo::exists(ini))
        return true;
    if (!writeDefaultConfiguration(appDir, error))
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

namespace {

const QString kQuestion = QStringLiteral("Dotaz");
const QString kNewDatabase = QStringLiteral("Nová databáze");

Answer askUseExisting(Prompts& prompts, const QString& file) {
    return prompts.message(kQuestion,
                           QStringLiteral("V programové složce je databáze %1.\r\n\r\n"
                                          "Chcete pro ni zapsat nový soubor kelvarn.ini a pracovat s ní?")
                               .arg(file),
                           MessageStyle::Question);
}

Answer askCreate(Prompts& prompts, const QString& appDir) {
    return prompts.message(
        kQuestion,
        QStringLiteral("Bez souboru kelvarn.ini program neví, kde jsou Vaše data. Pokud jste už evidenci "
                       "vedli (například v databázi na serveru), odpovězte Ne a obnovte kelvarn.ini ze "
                       "zálohy.\r\n\r\nChcete v programové složce %1 založit novou databázi?")
            .arg(appDir),
        MessageStyle::WarnQuestion);
}

Answer askDemo(Prompts& prompts) {
    return prompts.message(
        kQuestion,
        QStringLiteral("Naplnit novou databázi ukázkovými daty?\r\n\r\n"
                       "Ano: zkušební databáze (TEST) s ukázkovými daty, k seznámení s programem.\r\n"
                       "Ne: prázdná databáze pro skutečnou evidenci Vaší firmy.\r\n"
                       "Storno: databázi nezakládat."),
        MessageStyle::Question);
}

void reportFailure(Prompts& prompts, const QString& error) {
    prompts.message(QStringLiteral("Chyba"),
                    QStringLiteral("Databázi se nepodařilo založit.\r\n\r\n") + error, MessageStyle::Error);
}

} // namespace

bool offerNewDatabase(const AppState& state, Prompts& prompts) {
    const QString appDir = state.appDir;
    if (QFileInfo::exists(state.configFilePath()))
        return false;
    QString error;
    const QString existing = appDir + QStringLiteral("kelvarn.db");
    if (QFileInfo::exists(existing)) {
        // Someone's records may be in it: it is offered as it is, never replaced.
        if (askUseExisting(prompts, existing) != Answer::Yes)
            return false;
        if (!writeDefaultConfiguration(appDir, &error)) {
            reportFailure(prompts, error);
            return false;
        }
        return true;
    }
    if (askCreate(prompts, appDir) != Answer::Yes)
        return false;
    const Answer demo = askDemo(prompts);
    if (demo != Answer::Yes && demo != Answer::No)
        return false;
    QString name;
    QString ico;
    if (demo == Answer::No) {
        if (!prompts.inputText(kNewDatabase, QStringLiteral("Název podnikatele (jméno nebo obchodní firma):"),
                               name) ||
            name.trimmed().isEmpty() ||
            !prompts.inputText(kNewDatabase, QStringLiteral("IČ podnikatele:"), ico))
            return false;
    }
    if (!writeDefaultConfiguration(appDir, &error)) {
        reportFailure(prompts, error);
        return false;
    }
    AppState fresh;
    fresh.appDir = appDir;
    readIniFile(fresh.configFilePath(), fresh);
    const bool created = createDatabase(fresh, prompts, demo == Answer::Yes, &error);
    if (!created || (demo == Answer::No && !storeEntrepreneur(fresh, name, ico, &error))) {
        // Left behind, either would be taken for a working configuration next time.
        if (created)
            QFile::remove(embeddedDatabasePath(fresh.connectionString));
        QFile::remove(fresh.configFilePath());
        reportFailure(prompts, error);
        return false;
    }
    return true;
}

} // namespace kelvarn
