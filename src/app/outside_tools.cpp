#include "app/outside_tools.h"

#include "core/prompts.h"

#include <QDir>
#include <QFileInfo>

namespace kelvarn {

namespace {

struct ToolInfo {
    const char* caption;
    const char* commandLine;
    const char* baseName;
    const char* instead; // what to do here instead, for the message
};

const ToolInfo& infoOf(OutsideTools::Tool tool) {
    static const ToolInfo tools[] = {
        {"Pravidelné zálohování", "wscript.exe kelvarn_backup.vbs", "kelvarn_backup",
         "Zálohujte prosím databázi nástroji svého systému (u vestavěné databáze stačí zkopírovat soubor "
         "databáze, když program neběží)."},
        {"Průvodce aktualizacemi a reinstalací", "kelvarn_install.exe", "kelvarn_install",
         "Aktualizační skript databáze spustíte příkazem\r\n    kelvarn -inst '~dp0install/<skript>.sql' x\r\n"
         "(postup popisuje soubor README)."},
        {"Tvorba TESTu", "wscript.exe kelvarn_install_CreateTestDB.vbs", "kelvarn_install_CreateTestDB",
         "Zkušební databázi s ukázkovými daty vytvoří příkaz\r\n    kelvarn-newdb --name \"<jméno>\" --demo"},
    };
    return tools[static_cast<int>(tool)];
}

bool executableFile(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

} // namespace

OutsideTools::OutsideTools(Prompts& prompts, DesktopLauncher launcher, std::function<bool(const QString&)> isExecutable)
    : prompts_(prompts), launcher_(std::move(launcher)),
      isExecutable_(isExecutable ? std::move(isExecutable) : &executableFile) {}

QString OutsideTools::commandLine(Tool tool) {
    return QString::fromLatin1(infoOf(tool).commandLine);
}

QString OutsideTools::caption(Tool tool) {
    return QString::fromUtf8(infoOf(tool).caption);
}

QStringList OutsideTools::counterpartPaths(Tool tool, const QString& appDir) {
    const QString base = QDir(appDir).filePath(QLatin1String(infoOf(tool).baseName));
    return {base, base + QStringLiteral(".sh")};
}

void OutsideTools::notStarted(const QString& caption, const QString& text) {
    prompts_.message(caption, text, MessageStyle::Info);
}

bool OutsideTools::start(Tool tool, const QString& appDir) {
    const ToolInfo& info = infoOf(tool);
    QStringList tried;
    for (const QString& path : counterpartPaths(tool, appDir)) {
        tried.append(path);
        if (!isExecutable_(path))
            continue;
        if (launcher_.startProgram(path, {}))
            return true;
    }
    notStarted(caption(tool),
               QStringLiteral("Nástroj \"%1\" v tomto systému nemá obdobu: spouštěl by příkaz\r\n    %2\r\n"
                              "který je určen pro systém Windows. Program proto zůstává otevřený.\r\n\r\n%3\r\n\r\n"
                              "Vlastní náhradu lze připravit jako spustitelný soubor %4.")
                   .arg(caption(tool), commandLine(tool), QString::fromUtf8(info.instead), tried.join(QStringLiteral(" nebo "))));
    return false;
}

void OutsideTools::odbcAdministrator() {
    notStarted(QStringLiteral("ODBC - správce zdrojů dat"),
               QStringLiteral("V tomto systému není žádný správce zdrojů dat ODBC, který by šlo spustit "
                              "(odbcad32.exe je součástí systému Windows).\r\n\r\n"
                              "Zdroje dat ODBC (unixODBC) se zapisují do souborů odbc.ini (zdroje dat, "
                              "/etc/odbc.ini nebo ~/.odbc.ini) a odbcinst.ini (ovladače, /etc/odbcinst.ini)."));
}

void OutsideTools::configurationFile(const QString& configPath) {
    if (!launcher_.openConfigFile(configPath))
        notStarted(QStringLiteral("Správa .ini souboru"),
                   QStringLiteral("Soubor %1 se nepodařilo otevřít: není nastaven textový editor (proměnná "
                                  "VISUAL nebo EDITOR) a nebyl nalezen ani program xdg-open.\r\n\r\n"
                                  "Otevřete prosím soubor v libovolném textovém editoru.")
                       .arg(QDir::toNativeSeparators(configPath)));
}

void OutsideTools::help(const QString& appDir) {
    const QString page = DesktopLauncher::helpPagePath(appDir);
    if (!QFileInfo::exists(page)) {
        notStarted(QStringLiteral("Nápověda"), QStringLiteral("Stránka nápovědy %1 chybí.").arg(page));
        return;
    }
    if (!launcher_.openHelp(appDir))
        notStarted(QStringLiteral("Nápověda"),
                   QStringLiteral("Nápovědu se nepodařilo otevřít ve webovém prohlížeči (program xdg-open "
                                  "nebyl nalezen).\r\n\r\nOtevřete prosím v prohlížeči soubor\r\n%1")
                       .arg(page));
}

void OutsideTools::programFolder(const QString& appDir) {
    if (!launcher_.openPath(appDir))
        notStarted(QStringLiteral("Složka s programem"),
                   QStringLiteral("Složku se nepodařilo otevřít ve správci souborů (program xdg-open nebyl "
                                  "nalezen).\r\n\r\nProgram je ve složce\r\n%1")
                       .arg(QDir::toNativeSeparators(appDir)));
}

} // namespace kelvarn
