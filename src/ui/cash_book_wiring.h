#pragma once

#include <functional>

class QObject;
class QTabBar;

namespace kelvarn {

class BusinessOverviewBox;
class ModuleDatasets;
class ModulePages;
struct AppState;
struct MainMenu;

// Runs a command and shows a database refusal instead of throwing it on.
using CommandRunner = std::function<void(const std::function<void()>& command)>;

// Connects the cash book to the window: the commands "Zaevidovat jako příjem (+)"
// and "Zaevidovat jako výdaj  (-)" of the menu "Akce", the figures of the strips
// under the cash book and the two VAT lists, and the button "  Aktualizovat" of the
// business overview. The connections live as long as `context`.
void connectCashBook(QObject* context, const MainMenu& menu, const ModulePages& pages,
                     BusinessOverviewBox& overview, QTabBar& tabs, ModuleDatasets& datasets,
                     const AppState& state, CommandRunner run);

} // namespace kelvarn
