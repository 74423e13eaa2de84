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

void later(QAction* action, const QString& why) {
    action->setEnabled(false);
    action->setToolTip(why);
    action->setStatusTip(why);
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

    QMenu* tools = menu(bar, QStringLiteral("Nástroje"));
    m.queryAnalyzer =
        item(tools, window, QStringLiteral(" Query Analyzer"), QKeySequence(QStringLiteral("Ctrl+Q")));
    tools->addSeparator();
    m.backup = item(tools, window, QStringLiteral(" Pravidelné zálohování"));
    later(m.backup, QStringLiteral("Pravidelné zálohování bude doplněno v příští verzi."));
    m.updateWizard = item(tools, window, QStringLiteral(" Průvodce aktualizacemi a reinstalací"));
    later(m.updateWizard, QStringLiteral("Průvodce aktualizacemi bude doplněn v příští verzi; databázi zatím "
                                         "aktualizuje program spuštěný s parametrem -inst nebo -reinst."));
    m.createTest = item(tools, window, QStringLiteral(" Tvorba TESTu"));
    later(m.createTest, QStringLiteral("Tvorba zkušební databáze (TEST) bude doplněna v příští verzi."));
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
