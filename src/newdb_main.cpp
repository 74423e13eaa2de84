// kelvarn-newdb: creates the database kelvarn.ini names and stores the
// entrepreneur's name and IČ, so that a new database needs no SQL console.

#include "app/first_run.h"
#include "app/startup.h"
#include "core/app_dir.h"
#include "core/unattended.h"
#include "db/database_session.h"
#include "db/db_error.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

using namespace kelvarn;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelvarn-newdb"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Vytvoří databázi podle kelvarn.ini a uloží název a IČ podnikatele."));
    parser.addHelpOption();
    const QCommandLineOption name(QStringLiteral("name"), QStringLiteral("Název podnikatele."), QStringLiteral("název"));
    const QCommandLineOption ico(QStringLiteral("ico"), QStringLiteral("IČ podnikatele."), QStringLiteral("ič"));
    const QCommandLineOption demo(QStringLiteral("demo"), QStringLiteral("Přidat ukázková data (zkušební databáze)."));
    parser.addOption(name);
    parser.addOption(ico);
    parser.addOption(demo);
    parser.process(app);
    if (!parser.isSet(name) || parser.value(name).trimmed().isEmpty()) {
        std::fprintf(stderr, "kelvarn-newdb: --name je povinné\n");
        return 2;
    }

    AppState state;
    state.appDir = resolveAppDir(QCoreApplication::applicationDirPath());
    StderrPrompts prompts;
    QString error;
    readConfiguration(state, prompts);
    if (!createDatabase(state, prompts, parser.isSet(demo), &error)) {
        std::fprintf(stderr, "kelvarn-newdb: %s\n", qPrintable(error));
        return 1;
    }
    try {
        AppState login = state;
        login.startMode = StartMode::Install;
        composeCredentials(login, {});
        DatabaseSession session;
        session.open(login.connectionString, platformFromCode(login.platform));
        session.execute(QStringLiteral("UPDATE tbl_podnikatel SET nazev = ?, ico = ? WHERE id = 1"),
                        {parser.value(name).trimmed(), parser.value(ico).trimmed()});
    } catch (const DbError& e) {
        std::fprintf(stderr, "kelvarn-newdb: %s\n", qPrintable(e.text()));
        return 1;
    }
    std::fprintf(stdout, "Databáze je připravena: %s\n", qPrintable(parser.value(name).trimmed()));
    return 0;
}
