#pragma once

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace kelvarn {

// The items of the main menu the window acts on.
struct MainMenu {
    QAction* quit = nullptr;
    QAction* calendar = nullptr;
    QAction* registerIncome = nullptr;
    QAction* registerExpense = nullptr;
    QAction* importStatement = nullptr; // "Výměna dat"
    QAction* exportIsdoc = nullptr;
    QAction* exportIsdocListed = nullptr;
    QAction* importIsdoc = nullptr;
    QAction* controlStatement = nullptr;
    QAction* vatReturn = nullptr;
    QAction* queryAnalyzer = nullptr;
    QAction* backup = nullptr;
    QAction* updateWizard = nullptr;
    QAction* createTest = nullptr;
    QAction* odbcAdministrator = nullptr;
    QAction* configFile = nullptr;
    QAction* settings = nullptr;
    QAction* help = nullptr;
    QAction* tips = nullptr;
    QAction* programFolder = nullptr;
    QAction* about = nullptr;
    QAction* save = nullptr; // the hidden "Test" menu, which gives saving its Ctrl+S
    QMenu* testMenu = nullptr;
};

// Fills the menu bar. Items whose commands are not built yet are disabled. Every
// shortcut is also registered on `window`, so it works while its menu is hidden.
MainMenu buildMainMenu(QMenuBar* bar, QWidget* window);

} // namespace kelvarn
