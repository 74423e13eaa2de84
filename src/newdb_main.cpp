// kelvarn-newdb: creates the database kelvarn.ini names and stores the
// entrepreneur's name and IČ, so that a new database needs no SQL console. With
// --first-run it prepares a program folder without kelvarn.ini for a first look:
// the configuration and an embedded demo database.

#include "app/first_run.h"
#include "app/startup.h"
#include "core/app_dir.h"
#include "core/unattended.h"

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
    const QCommandLineOption firstRun(
        QStringLiteral("first-run"),
        QStringLiteral("Jen když v programové složce chybí kelvarn.ini: zapíše jej pro vestavěnou databázi "
                       "v programové složce a tu založí s ukázkovými daty (jinak nedělá nic)."));
    parser.addOption(name);
    parser.addOption(ico);
    parser.addOption(demo);
    parser.addOption(firstRun);
    parser.process(app);

    const QString appDir = resolveAppDir(QCoreApplication::applicationDirPath());
    QString error;
    if (parser.isSet(firstRun)) {
        if (!prepareFirstRun(appDir, &error)) {
            std::fprintf(stderr, "kelvarn-newdb: %s\n", qPrintable(error));
            return 1;
        }
        return 0;
    }
    if (!parser.isSet(name) || parser.value(name).trimmed().isEmpty()) {
        std::fprintf(stderr, "kelvarn-newdb: --name je povinné\n");
        return 2;
    }

    AppState state;
    state.appDir = appDir;
    StderrPrompts prompts;
    readConfiguration(state, prompts);
    if (!createDatabase(state, prompts, parser.isSet(demo), &error) ||
        !storeEntrepreneur(state, parser.value(name), parser.value(ico), &error)) {
        std::fprintf(stderr, "kelvarn-newdb: %s\n", qPrintable(error));
        return 1;
    }
    std::fprintf(stdout, "Databáze je připravena: %s\n", qPrintable(parser.value(name).trimmed()));
    return 0;
}
