#include "app/module_datasets.h"

#include "app/cash_book_registration.h"
#include "app/module_panels.h"
#include "app/shell_view.h"
#include "cashbook/cash_book_rules.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "documents/document_rules.h"
#include "lists/panel_queries.h"
#include "registers/asset_rules.h"
#include "registers/catalogue_rules.h"
#include "registers/register_hooks.h"
#include "registers/vehicle_log_rules.h"

namespace kelvarn {

void ModuleDatasets::Relay::setContainerVisible(const QString& container, bool visible) {
    if (target)
        target->setContainerVisible(container, visible);
}
void ModuleDatasets::Relay::setFocus(const FocusTarget& focus) {
    if (target)
        target->setFocus(focus);
}
QString ModuleDatasets::Relay::focusedControl() const {
    return target ? target->focusedControl() : QString();
}
QList<Dataset::Bookmark> ModuleDatasets::Relay::selectedRows(const QString& grid) const {
    return target ? target->selectedRows(grid) : QList<Dataset::Bookmark>();
}
void ModuleDatasets::Relay::setGridReadOnly(const QString& grid, bool readOnly) {
    if (target)
        target->setGridReadOnly(grid, readOnly);
}
void ModuleDatasets::Relay::setRecordCount(int count, bool filtered) {
    if (target)
        target->setRecordCount(count, filtered);
    else
        shell_.setRecordCount(count, filtered);
}
void ModuleDatasets::Relay::setStatusText(const QString& text) {
    if (target)
        target->setStatusText(text);
    else
        shell_.setStatusText(text);
}

ModuleDatasets::ModuleDatasets(DatabaseSession& session, DbContext& db, Dataset& entrepreneur,
                               PanelQueries& queries, ShellView& shellView, QObject* parent)
    : QObject(parent), session_(session), db_(db), queries_(queries), relay_(shellView),
      totals_(db, queries) {
    ModuleHooks hooks;
    // The statement is already the list's own: PanelQueries set it at start-up.
    hooks.openDataset = [](Dataset& ds) { ds.open(); };
    hooks.refreshCashBookTotals = [this] { totals_.refreshCashBook(); };
    hooks.refreshVatTotals = [this](bool output) { totals_.refreshVat(output); };
    hooks.refreshPanel = [this](const QString& panelId) { refreshPanel(panelId); };
    controller_ = std::make_unique<ModuleController>(relay_, db_, std::move(hooks));
    controller_->registerDataset(&entrepreneur);

    for (const char* name :
         {"ADOFormHlavniKniha", "ADOFormDPHvstup", "ADOFormDPHvystup", "ADOFormFAV", "ADOFormFAVpol",
          "ADOFormFAP", "ADOFormPPD", "ADOFormVPD", "ADOFormMajetek", "ADOFormOdpisy", "ADOFormKnihaJizd",
          "ADOFormZbozi", "ADOFormPartneri", "ADOFormZakazky"})
        create(QLatin1String(name));
    installRules(entrepreneur);
}

ModuleDatasets::~ModuleDatasets() = default;

Dataset* ModuleDatasets::create(const QString& name) {
    auto* ds = new Dataset(session_, name, this);
    datasets_.push_back(ds);
    controller_->registerDataset(ds);
    return ds;
}

void ModuleDatasets::showDetailFromList() {
    if (controller_->detailShown(controller_->currentTab()) == 0)
        controller_->toggleMasterDetail();
}

void ModuleDatasets::installRules(Dataset& entrepreneur) {
    RegisterHooks hooks;
    hooks.showDetail = [this] { showDetailFromList(); };
    hooks.refreshPanel = [this] { refreshPanel(controller_->currentPanelId()); };
    hooks.updateStatusBar = [this] { controller_->updateStatusBar(); };
    hooks.selectWholeText = [this](const QString& column) {
        if (selectWholeText_)
            selectWholeText_(column);
    };

    Dataset& items = *dataset(QStringLiteral("ADOFormFAVpol"));
    items.setTable(QStringLiteral("tbl_polozky"));
    items.setMaster(dataset(QStringLiteral("ADOFormFAV")), QStringLiteral("id_tbl_doklad"),
                    {QStringLiteral("id_tbl_doklad"), QStringLiteral("cislo_radku"), QStringLiteral("id")});
    documents_ = std::make_unique<DocumentRules>(
        db_, entrepreneur,
        DocumentDatasets{*dataset(QStringLiteral("ADOFormFAV")), items, *dataset(QStringLiteral("ADOFormFAP")),
                         *dataset(QStringLiteral("ADOFormPPD")), *dataset(QStringLiteral("ADOFormVPD"))},
        hooks);

    cashBookRules_ =
        std::make_unique<CashBookRules>(db_, CashBookHooks{hooks.refreshPanel, hooks.updateStatusBar});
    cashBookRules_->install(*dataset(QStringLiteral("ADOFormHlavniKniha")));
    controller_->hooks().settleBeforeCashBookDelete = [this](const CashBookDeletion& row,
                                                             const std::function<void()>& deleteRow) {
        cashBookRules_->settleAndDelete(row.documentId, row.income, row.expense, deleteRow);
    };
    cashBookRegistration_ = std::make_unique<CashBookRegistration>(*controller_, relay_, db_, entrepreneur);

    dataset(QStringLiteral("ADOFormDPHvstup"))->setReadOnly(true);
    dataset(QStringLiteral("ADOFormDPHvystup"))->setReadOnly(true);

    installAssetRules(*dataset(QStringLiteral("ADOFormMajetek")), *dataset(QStringLiteral("ADOFormOdpisy")),
                      db_, hooks);
    installVehicleLogRules(*dataset(QStringLiteral("ADOFormKnihaJizd")), entrepreneur, db_, hooks);
    installGoodsRules(*dataset(QStringLiteral("ADOFormZbozi")), db_, hooks);
    installPartnerRules(*dataset(QStringLiteral("ADOFormPartneri")), db_, hooks);
    installOrderRules(*dataset(QStringLiteral("ADOFormZakazky")), db_, hooks);
}

void ModuleDatasets::refreshPanel(const QString& panelId) {
    // A rejected statement leaves the list closed and this text standing.
    relay_.setStatusText(QStringLiteral("Refresh..."));
    // A deletion cut short by an error must not leave a grid of the module read-only for good.
    if (const module_panels::PanelInfo* panel = module_panels::findPanel(panelId))
        for (const QString& grid : module_panels::gridsOfTab(panel->tab))
            relay_.setGridReadOnly(grid, false);
    queries_.refreshPanel(
        panelId, [this](const QString& name) { return dataset(name); },
        [this](Dataset& ds) { totals_.listReopened(ds); });
    controller_->updateStatusBar();
}

void ModuleDatasets::refreshCurrentPanel() {
    if (!controller_->checkBrowseState({}))
        return;
    refreshPanel(controller_->currentPanelId());
}

bool ModuleDatasets::sortCurrentPanel(const QString& column, bool descending) {
    if (!controller_->checkBrowseState({}))
        return false;
    const QString panel = controller_->currentPanelId();
    Dataset* ds = controller_->listDatasetOfPanel(panel);
    if (!ds || !ds->isActive() || column.isEmpty())
        return false;
    const bool sorted =
        queries_.sortPanel(panel, *ds, column, descending, [this](Dataset& d) { totals_.listReopened(d); });
    controller_->updateStatusBar();
    return sorted;
}

} // namespace kelvarn
