#include "app/module_controller.h"

#include "app/module_panels.h"
#include "core/message_catalogue.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "registers/asset_rules.h"

namespace kelvarn {

using namespace module_panels;

ModuleController::ModuleController(ModuleView& view, DbContext& db, ModuleHooks hooks)
    : view_(view), db_(db), hooks_(std::move(hooks)) {}

void ModuleController::registerDataset(Dataset* dataset) {
    if (dataset)
        datasets_[dataset->name()] = dataset;
}

Dataset* ModuleController::dataset(const QString& name) const {
    const auto it = datasets_.find(name);
    return it == datasets_.end() ? nullptr : it->second;
}

void ModuleController::setCurrentTab(int tab) {
    if (tab >= 0 && tab < kModuleCount)
        tab_ = tab;
}

int ModuleController::detailShown(int tab) const {
    return tab >= 0 && tab < kModuleCount ? detailShown_[tab] : 0;
}

QString ModuleController::currentPanelId() {
    if (hooks_.setFilterModuleCondition)
        hooks_.setFilterModuleCondition(QStringLiteral("(id_panel=%1)").arg(tab_));
    switch (tab_) {
    case 0:
        return QStringLiteral("FormPodnikatel");
    case 1:
        return QStringLiteral("FormHlavniKniha");
    case 2:
        return vatOutputFocused_ == 1 ? QStringLiteral("FormDPHvystup") : QStringLiteral("FormDPHvstup");
    case 3:
        if (detailShown_[3] == 0)
            return QStringLiteral("FormFAV-seznam");
        return itemsFocused_ == 1 ? QStringLiteral("FormFAV-polozky") : QStringLiteral("FormFAV-detail");
    case 7:
        if (detailShown_[7] == 0)
            return QStringLiteral("FormMajetek-seznam");
        return depreciationFocused_ == 1 ? QStringLiteral("FormMajetek-odpisy")
                                         : QStringLiteral("FormMajetek-detail");
    case 8:
        return QStringLiteral("FormKnihaJizd");
    default: {
        const ModulePair& pair = modulePair(tab_);
        return QLatin1String(detailShown_[tab_] == 1 ? pair.detail : pair.list);
    }
    }
}

Dataset* ModuleController::datasetOfPanel(const QString& panelId) const {
    const PanelInfo* p = findPanel(panelId);
    return p ? dataset(QLatin1String(p->dataset)) : nullptr;
}

Dataset* ModuleController::listDatasetOfPanel(const QString& panelId) const {
    const PanelInfo* p = findPanel(panelId);
    return p ? dataset(QLatin1String(p->listDataset)) : nullptr;
}

QString ModuleController::keyColumnOfPanel(const QString& panelId) {
    const PanelInfo* p = findPanel(panelId);
    return p ? QLatin1String(p->keyColumn) : QString();
}

QString ModuleController::gridOfPanel(const QString& panelId) {
    const PanelInfo* p = findPanel(panelId);
    return p ? QLatin1String(p->grid) : QString();
}

QString ModuleController::containerOfPanel(const QString& panelId) {
    const PanelInfo* p = findPanel(panelId);
    return p ? QLatin1String(p->container) : QString();
}

bool ModuleController::checkBrowseState(const QString& panelName) {
    const bool silent = panelName == QLatin1String("post");
    const QString panel = silent || panelName.isEmpty() ? currentPanelId() : panelName;
    const Dataset* ds = datasetOfPanel(panel);
    if (!ds || !ds->isEditing())
        return true;
    if (!silent)
        showMessageCode(db_.prompts(), db_.state(), 4);
    return false;
}

bool ModuleController::browseWithRows(const QString& datasetName) const {
    const Dataset* ds = dataset(datasetName);
    return ds && ds->state() == Dataset::State::Browse && ds->recordCount() > 0;
}

FocusTarget ModuleController::detailFocus(const QString& panelId) const {
    const PanelInfo* p = findPanel(panelId);
    switch (p ? p->tab : -1) {
    case 3:
        return browseWithRows(QStringLiteral("ADOFormFAV"))
                   ? FocusTarget::named(QStringLiteral("DBGridFAVpol"))
                   : FocusTarget::field(QStringLiteral("odb_nazev_firmy"));
    case 4:
        return FocusTarget::field(QStringLiteral("cislo_dokladu_puvodni"));
    case 5:
    case 6:
        return FocusTarget::field(QStringLiteral("odb_nazev_firmy"));
    case 7:
        return browseWithRows(QStringLiteral("ADOFormMajetek"))
                   ? FocusTarget::named(QStringLiteral("DBGridOdpisy"))
                   : FocusTarget::field(QStringLiteral("typ"));
    case 9:
        return browseWithRows(QStringLiteral("ADOFormZbozi"))
                   ? FocusTarget::named(QStringLiteral("DBMemoZbozi"))
                   : FocusTarget::field(QStringLiteral("kod_zbozi"));
    case 10:
        return browseWithRows(QStringLiteral("ADOFormPartneri"))
                   ? FocusTarget::named(QStringLiteral("DBMemoPartneri"))
                   : FocusTarget::field(QStringLiteral("nazev_firmy"));
    case 11:
        return FocusTarget::named(QStringLiteral("DBMemoZakazky"));
    default:
        return {};
    }
}

FocusTarget ModuleController::listFocus(const QString& panelId) const {
    return FocusTarget::named(gridOfPanel(panelId));
}

void ModuleController::openIfClosed(const QString& datasetName) {
    Dataset* ds = dataset(datasetName);
    if (!ds || ds->isActive())
        return;
    if (hooks_.openDataset)
        hooks_.openDataset(*ds);
    else
        ds->open();
    if (datasetName == QLatin1String("ADOFormDPHvstup") && hooks_.refreshVatTotals)
        hooks_.refreshVatTotals(false);
    else if (datasetName == QLatin1String("ADOFormDPHvystup") && hooks_.refreshVatTotals)
        hooks_.refreshVatTotals(true);
    else if (datasetName == QLatin1String("ADOFormHlavniKniha") && hooks_.refreshCashBookTotals)
        hooks_.refreshCashBookTotals();
}

void ModuleController::showModule(bool calledFromPicker) {
    for (const QString& container : allContainers())
        view_.setContainerVisible(container, false);
    const QString panel = currentPanelId();
    const PanelInfo* p = findPanel(panel);
    if (!p)
        return;
    view_.setContainerVisible(QLatin1String(p->container), true);
    for (const QString& name : datasetsToOpen(*p))
        openIfClosed(name);
    switch (p->kind) {
    case Kind::Single:
        break;
    case Kind::List:
    case Kind::Vat:
        view_.setFocus(listFocus(panel));
        if (modulePair(p->tab).list)
            detailShown_[p->tab] = 0;
        break;
    case Kind::Detail:
    case Kind::SubGrid:
        view_.setFocus(detailFocus(panel));
        detailShown_[p->tab] = 1;
        break;
    }
    if (calledFromPicker &&
        (panel == QLatin1String("FormZakazky-detail") || panel == QLatin1String("FormPartneri-detail") ||
         panel == QLatin1String("FormZbozi-detail")))
        toggleMasterDetail();
    updateStatusBar();
}

void ModuleController::toggleMasterDetail() {
    const ModulePair& pair = modulePair(tab_);
    if (pair.list) {
        const QString listPanel = QLatin1String(pair.list);
        const QString detailPanel = QLatin1String(pair.detail);
        const bool toDetail = detailShown_[tab_] == 0;
        view_.setContainerVisible(containerOfPanel(listPanel), !toDetail);
        view_.setContainerVisible(containerOfPanel(detailPanel), toDetail);
        view_.setFocus(toDetail ? detailFocus(detailPanel) : listFocus(listPanel));
        detailShown_[tab_] = toDetail ? 1 : 0;
    }
    updateStatusBar();
}

bool ModuleController::tabChanging() {
    if (selectionActive_ != 1)
        return true;
    showMessageCode(db_.prompts(), db_.state(), 21);
    return false;
}

void ModuleController::tabChanged(int tab) {
    setCurrentTab(tab);
    showModule(false);
}

void ModuleController::itemsGridFocused(bool entered) {
    // The flag follows the focus even when the post below fails.
    if (entered) {
        itemsFocused_ = 1;
        if (Dataset* header = dataset(QStringLiteral("ADOFormFAV")); header && header->isEditing())
            header->post();
        return;
    }
    itemsFocused_ = 0;
    // During selection mode the picker fills the unfinished row, so it stays open.
    if (Dataset* items = dataset(QStringLiteral("ADOFormFAVpol"));
        items && items->isEditing() && selectionActive_ == -1)
        items->post();
}

void ModuleController::depreciationFocused(bool entered) {
    // The asset and one of its rows are never open for editing together: when the
    // pending write is refused (or fails), the current panel stays where it was, so
    // save and cancel still reach the record that is open.
    Dataset* ds = dataset(entered ? QStringLiteral("ADOFormMajetek") : QStringLiteral("ADOFormOdpisy"));
    if (ds && !(entered ? postAssetBeforeDepreciationFocus(*ds) : postDepreciationBeforeAssetFocus(*ds)))
        return;
    depreciationFocused_ = entered ? 1 : 0;
}

void ModuleController::vatGridFocused(bool output) {
    vatOutputFocused_ = output ? 1 : 0;
    updateStatusBar();
}

int ModuleController::updateStatusBar() {
    printFilterCaption_.clear();
    printFilterText_.clear();
    int count = 0;
    const QString panel = currentPanelId();
    const PanelInfo* p = findPanel(panel);
    auto rowsOf = [this](const char* name) {
        const Dataset* ds = dataset(QLatin1String(name));
        return ds && ds->isActive() ? ds->recordCount() : 0;
    };
    if (p) {
        switch (p->kind) {
        case Kind::Single:
            count = rowsOf(p->listDataset);
            break;
        case Kind::List:
        case Kind::Vat:
            if (hooks_.appliedFilter) {
                const AppliedFilter filter = hooks_.appliedFilter(panel);
                printFilterCaption_ = filter.name;
                printFilterText_ = filter.text;
            }
            count = rowsOf(p->listDataset);
            break;
        case Kind::Detail:
        case Kind::SubGrid:
            if (p->tab == 3)
                count = rowsOf("ADOFormFAVpol");
            else if (p->tab == 7)
                count = rowsOf("ADOFormOdpisy");
            break;
        }
    }
    const bool filtered = !printFilterCaption_.isEmpty();
    view_.setRecordCount(count, filtered);
    if (filtered) {
        view_.setStatusText(QStringLiteral("Aktivní filtr: ") + printFilterCaption_);
        printFilterCaption_ = QStringLiteral("Použitý filtr: ") + printFilterCaption_;
    } else {
        view_.setStatusText(QStringLiteral("Není aplikován žádný filtr. Jsou zobrazeny všechny záznamy."));
        printFilterCaption_ = QStringLiteral("Nebyl aplikován žádný filtr.");
    }
    return count;
}

} // namespace kelvarn
