#include "ui/main_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace kelvarn {

namespace {

QAction* item(QMenu* menu, QWidget* window, const QString& text, const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(text);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        window->addAction(action);
    }
    return action;
}

QMenu* menu(QMenuBar* bar, const QString& title) {
    QMenu* m = bar->addMenu(title);
    m->setToolTipsVisible(true);
    m->setAccessibleName(title);
    return m;
}

} // namespace

MainMenu buildMainMenu(QMenuBar* bar, QWidget* window) {
    MainMenu m;
    QMenu* application = menu(bar, QStringLiteral("Aplikace"));
    m.quit = item(application, window, QStringLiteral(" &Konec"));

    QMenu* view = menu(bar, QStringLiteral("Zobrazit"));
    m.calendar = item(view, window, QStringLiteral(" Kalendář"), QKeySequence(QStringLiteral("Ctrl+K")));

    QMenu* actions = menu(bar, QStringLiteral("Akce"));
    m.registerIncome = item(actions, window, QStringLiteral("Zaevidovat jako příjem (+)"));
    m.registerExpense = item(actions, window, QStringLiteral("Zaevidovat jako výdaj  (-)"));

    QMenu* exchange = menu(bar, QStringLiteral("Výměna dat"));
    m.importStatement = item(exchange, window, QStringLiteral("Import bankovního výpisu (GPC, camt.053)..."));
    exchange->addSeparator();
    m.exportIsdoc = item(exchange, window, QStringLiteral("Export faktury do ISDOC..."));
    m.exportIsdocListed = item(exchange, window, QStringLiteral("Export zobrazených faktur do ISDOC..."));
    m.importIsdoc = item(exchange, window, QStringLiteral("Import přijaté faktury ISDOC..."));
    exchange->addSeparator();
    m.controlStatement = item(exchange, window, QStringLiteral("Kontrolní hlášení DPH (XML)..."));
    m.vatReturn = item(exchange, window, QStringLiteral("Přiznání k DPH (XML)..."));

    QMenu* tools = menu(bar, QStringLiteral("Nástroje"));
    m.queryAnalyzer =
        item(tools, window, QStringLiteral(" Query Analyzer"), QKeySequence(QStringLiteral("Ctrl+Q")));
    tools->addSeparator();
    m.backup = item(tools, window, QStringLiteral(" Pravidelné zálohování"));
    m.updateWizard = item(tools, window, QStringLiteral(" Průvodce aktualizacemi a reinstalací"));
    m.createTest = item(tools, window, QStringLiteral(" Tvorba TESTu"));
    tools->addSeparator();
    m.odbcAdministrator = item(tools, window, QStringLiteral(" ODBC - správce zdrojů dat"));
    m.configFile = item(tools, window, QStringLiteral(" Správa .ini souboru "));
    m.settings = item(tools, window, QStringLiteral(" Možnosti...  "), QKeySequence(Qt::Key_F10));

    QMenu* help = menu(bar, QStringLiteral("Nápověda"));
    m.help = item(help, window, QStringLiteral(" Obsah a rejstřík "), QKeySequence(Qt::Key_F1));
    m.tips = item(help, window, QStringLiteral(" Tipy"));
    m.programFolder = item(help, window, QStringLiteral(" Zobrazit složku s programem"));
    help->addSeparator();
    m.about = item(help, window, QStringLiteral(" O aplikaci Kelvarn "));

    m.testMenu = menu(bar, QStringLiteral("Test"));
    m.save = item(m.testMenu, window, QStringLiteral("Testovací tlačítko :)"),
                  QKeySequence(QStringLiteral("Ctrl+S")));
    m.testMenu->menuAction()->setVisible(false);
    return m;
}

} // namespace kelvarn
