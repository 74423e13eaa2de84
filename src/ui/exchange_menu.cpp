#include "ui/exchange_menu.h"

#include "app/module_controller.h"
#include "app/module_datasets.h"
#include "app/shell_controller.h"
#include "core/prompts.h"
#include "db/dataset.h"
#include "exchange/exchange_commands.h"
#include "exchange/statement_import_plan.h"
#include "ui/main_menu.h"
#include "ui/statement_preview_dialog.h"

#include <QAction>

namespace kelvarn {

ExchangeMenu::ExchangeMenu(const MainMenu& menu, ShellController& shell, Prompts& prompts, QWidget* window)
    : QObject(window), shell_(shell), prompts_(prompts), window_(window) {
    auto on = [this](QAction* action, auto run) {
        connect(action, &QAction::triggered, this, [this, run] {
            if (ready())
                run(commands());
        });
    };
    on(menu.importStatement, [](ExchangeCommands& c) { c.importBankStatement(); });
    on(menu.exportIsdoc, [this](ExchangeCommands& c) { c.exportIsdoc(issuedIds(false)); });
    on(menu.exportIsdocListed, [this](ExchangeCommands& c) { c.exportIsdoc(issuedIds(true)); });
    on(menu.importIsdoc, [](ExchangeCommands& c) { c.importIsdoc(); });
    on(menu.controlStatement, [](ExchangeCommands& c) { c.writeControlStatement(); });
    on(menu.vatReturn, [](ExchangeCommands& c) { c.writeVatReturn(); });
}

ExchangeMenu::~ExchangeMenu() = default;

bool ExchangeMenu::ready() {
    if (!shell_.state().loggedIn)
        return false;
    return shell_.modules().controller().checkBrowseState({});
}

ExchangeCommands& ExchangeMenu::commands() {
    if (!commands_) {
        ExchangeHooks hooks;
        hooks.previewStatement = [this](StatementImportPlan& plan) {
            StatementPreviewDialog dialog(plan, prompts_, window_);
            return dialog.exec() == QDialog::Accepted;
        };
        auto refresh = [this](const QString& dataset, const QString& panel) {
            Dataset* ds = shell_.modules().dataset(dataset);
            if (ds && ds->isActive())
                shell_.modules().refreshPanel(panel);
        };
        hooks.cashBookChanged = [refresh] {
            refresh(QStringLiteral("ADOFormHlavniKniha"), QStringLiteral("FormHlavniKniha"));
        };
        hooks.documentsChanged = [refresh] {
            refresh(QStringLiteral("ADOFormFAV"), QStringLiteral("FormFAV-seznam"));
            refresh(QStringLiteral("ADOFormFAP"), QStringLiteral("FormFAP-seznam"));
        };
        commands_ = std::make_unique<ExchangeCommands>(shell_.db(), std::move(hooks));
    }
    return *commands_;
}

QStringList ExchangeMenu::issuedIds(bool listed) {
    QStringList ids;
    Dataset* issued = shell_.modules().dataset(QStringLiteral("ADOFormFAV"));
    if (!issued || !issued->isActive() || issued->recordCount() == 0)
        return ids;
    if (!listed) {
        ids << issued->asString(QStringLiteral("id"));
        return ids;
    }
    const int column = issued->columnIndex(QStringLiteral("id"));
    for (int row = 0; row < issued->recordCount(); ++row)
        ids << issued->valueAt(row, column).toString();
    return ids;
}

} // namespace kelvarn
