#include "ui/cash_book_wiring.h"

#include "app/cash_book_registration.h"
#include "app/module_datasets.h"
#include "core/app_state.h"
#include "ui/business_overview_box.h"
#include "ui/figure_box.h"
#include "ui/main_menu.h"
#include "ui/module_pages.h"

#include <QAction>
#include <QLineEdit>
#include <QTabBar>

namespace kelvarn {

void connectCashBook(QObject* context, const MainMenu& menu, const ModulePages& pages,
                     BusinessOverviewBox& overview, QTabBar& tabs, ModuleDatasets& datasets,
                     const AppState& state, CommandRunner run) {
    datasets.totals().setShow([&pages](const std::vector<Figure>& figures) {
        for (const Figure& f : figures)
            showFigure(qobject_cast<QLineEdit*>(pages.control(f.control)), f);
    });

    CashBookRegistration& registration = datasets.cashBookRegistration();
    // Through the tab bar, so that the switch is asked and shown like a click on the tab.
    registration.setSwitchTab([&tabs](int tab) { tabs.setCurrentIndex(tab); });
    const std::pair<QAction*, CashDirection> commands[] = {{menu.registerIncome, CashDirection::Income},
                                                           {menu.registerExpense, CashDirection::Expense}};
    for (const auto& [action, direction] : commands) {
        QObject::connect(action, &QAction::triggered, context, [run, &registration, direction] {
            run([&registration, direction] { registration.registerDocument(direction); });
        });
    }

    QObject::connect(
        &overview, &BusinessOverviewBox::refreshRequested, context, [run, &overview, &datasets, &state] {
            if (!state.loggedIn)
                return;
            run([&overview, &datasets] { overview.showFigures(datasets.totals().businessOverview()); });
        });
}

} // namespace kelvarn
