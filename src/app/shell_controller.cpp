#include "app/shell_controller.h"

#include "app/filter_commands.h"
#include "app/module_datasets.h"
#include "app/selection_mode.h"
#include "app/print_controller.h"
#include "app/shell_view.h"
#include "core/message_catalogue.h"
#include "db/dataset.h"
#include "db/db_error.h"
#include "output/console_runner.h"
#include "output/report_engine.h"
#include "output/report_error.h"
#include "registers/entrepreneur_record.h"

#include <algorithm>

namespace kelvarn {

const std::vector<ShellController::PanelTitle>& ShellController::unsavedPanelTitles() {
    static const std::vector<PanelTitle> titles = {
        {QStringLiteral("ADOFormPodnikatel"), QStringLiteral("- Podnikatel")},
        {QStringLiteral("ADOFormHlavniKniha"), QStringLiteral("- Příjmy a výdaje")},
        {QStringLiteral("ADOFormFAV"), QStringLiteral("- Pohledávky a prodej")},
        {QStringLiteral("ADOFormFAVpol"), QStringLiteral("- Položky vydané faktury")},
        {QStringLiteral("ADOFormFAP"), QStringLiteral("- Závazky a nákup")},
        {QStringLiteral("ADOFormVPD"), QStringLiteral("- Výdajové pokladní doklady")},
        {QStringLiteral("ADOFormPPD"), QStringLiteral("- Příjmové pokladní doklady")},
        {QStringLiteral("ADOFormKnihaJizd"), QStringLiteral("- Kniha jízd")},
        {QStringLiteral("ADOFormMajetek"), QStringLiteral("- Majetek")},
        {QStringLiteral("ADOFormOdpisy"), QStringLiteral("- Odpisy")},
        {QStringLiteral("ADOFormZbozi"), QStringLiteral("- Zboží")},
        {QStringLiteral("ADOFormPartneri"), QStringLiteral("- Obchodní partneři")},
        {QStringLiteral("ADOFormZakazky"), QStringLiteral("- Zakázky")},
    };
    return titles;
}

ShellController::ShellController(ShellView& view, Prompts& prompts, const QString& appDir, QObject* parent)
    : QObject(parent), view_(view), prompts_(prompts), db_(session_, state_, prompts_, log_) {
    state_.appDir = appDir;
    console_ = new ConsoleRunner(session_, state_, prompts_, this);
    entrepreneur_ = new Dataset(session_, QStringLiteral("ADOFormPodnikatel"), this);
    entrepreneur_->setTable(QStringLiteral("tbl_podnikatel"));
    installEntrepreneurHandlers(*entrepreneur_, db_);
    registerDataset(entrepreneur_);
    // Registered before the start-up composes the lists, so each gets its statement.
    modules_ = new ModuleDatasets(session_, db_, *entrepreneur_, panelQueries_, view_, this);
    for (Dataset* dataset : modules_->datasets())
        registerDataset(dataset);
    filters_ = std::make_unique<FilterCommands>(
        modules_->controller(), panelQueries_, db_, session_,
        [this](int tab) {
            return tab >= 0 && tab < kCaptionMapCount ? ColumnCaptionMap::read(captionMaps_[tab])
                                                      : QList<CaptionEntry>();
        },
        [this](const QString& panelId) { modules_->refreshPanel(panelId); });
    modules_->selection().hooks().dropUserFilter = [this](int tab) { filters_->forgetApplied(tab); };
    PrintController::Hooks printHooks;
    printHooks.statusText = [this](const QString& text) { view_.setStatusText(text); };
    printHooks.reportNamesChanged = [this](const QStringList& names) { view_.setReportNames(names); };
    printing_ = std::make_unique<PrintController>(modules_->controller(), db_, panelQueries_, *entrepreneur_,
                                                  std::move(printHooks));
}

ShellController::~ShellController() {
    shutDown();
    // Before the engine and the datasets its connections point to.
    printing_.reset();
}

void ShellController::setReportEngine(std::unique_ptr<ReportEngine> engine) {
    printing_->setEngine(nullptr);
    reports_ = std::move(engine);
    printing_->setEngine(reports_.get());
}

void ShellController::registerDataset(Dataset* dataset) {
    if (dataset && std::find(datasets_.begin(), datasets_.end(), dataset) == datasets_.end())
        datasets_.push_back(dataset);
}

QString ShellController::unsavedPanels() const {
    QString list;
    for (const PanelTitle& panel : unsavedPanelTitles())
        for (const Dataset* dataset : datasets_)
            if (dataset->name() == panel.dataset && dataset->isEditing())
                list += panel.title + QStringLiteral("\r\n");
    return list;
}

bool ShellController::closeRequested() {
    const QString list = unsavedPanels();
    if (!list.isEmpty() && showMessageCode(prompts_, state_, 12, list) != Answer::Yes)
        return false;
    // Seam: selection mode is left here once the pickers exist.
    return true;
}

Dataset* ShellController::dataset(const QString& name) const {
    for (Dataset* d : datasets_)
        if (d->name() == name)
            return d;
    return nullptr;
}

void ShellController::registerGrid(GridHost grid) {
    grids_.push_back(std::move(grid));
}

void ShellController::restoreGrids() {
    QList<GridColumns> wanted;
    for (const GridHost& g : grids_)
        wanted.append({g.gridName, g.columns ? g.columns() : QStringList()});
    const auto layouts = restoreGridLayouts(state_.appDir, state_.userName, wanted, log_);
    for (std::size_t i = 0; i < grids_.size() && i < layouts.size(); ++i)
        if (layouts[i] && grids_[i].apply)
            grids_[i].apply(*layouts[i]);
}

void ShellController::saveGrids() {
    QList<NamedGridLayout> open;
    for (const GridHost& g : grids_) {
        if (!g.dataset || !g.dataset->isActive() || !g.layout)
            continue;
        // A grid with nothing worth keeping leaves the file of an earlier run alone.
        if (GridLayout layout = g.layout(); !layout.columns.isEmpty())
            open.append({g.gridName, std::move(layout)});
    }
    if (!open.isEmpty())
        saveGridLayouts(state_.appDir, state_.userName, open, log_);
}

void ShellController::shutDown() {
    if (shutDown_)
        return;
    shutDown_ = true;
    saveGrids();
    if (reports_) {
        try {
            reports_->closeProject();
        } catch (const ReportError& e) {
            prompts_.message(QStringLiteral("Chyba"), e.text(), MessageStyle::Error);
        }
    }
    try {
        session_.close();
    } catch (const DbError& e) {
        prompts_.message(QStringLiteral("Chyba"), e.text(), MessageStyle::Error);
    }
    // A log that cannot be written must not hold up the end of the run.
    if (state_.debug)
        log_.appendToFile(state_.appDir + QStringLiteral("kelvarn_debug") + QStringLiteral(".log"));
}

QString ShellController::currentPanelId() const {
    ModuleController& modules = modules_->controller();
    modules.setCurrentTab(view_.currentTab());
    return modules.currentPanelId();
}

Dataset* ShellController::datasetOfPanel(const QString& panelId) const {
    return modules_->controller().datasetOfPanel(panelId);
}

bool ShellController::checkBrowseState(const QString& panelId) {
    modules_->controller().setCurrentTab(view_.currentTab());
    return modules_->controller().checkBrowseState(panelId);
}

int ShellController::updateStatusBar() {
    modules_->controller().setCurrentTab(view_.currentTab());
    return modules_->controller().updateStatusBar();
}

bool ShellController::saveCurrentRecord() {
    modules_->controller().setCurrentTab(view_.currentTab());
    try {
        return modules_->controller().saveCurrentRecord();
    } catch (const DbError& e) {
        prompts_.message(QStringLiteral("Chyba"), e.text(), MessageStyle::Error);
        return false;
    }
}

void ShellController::cancelCurrentEdit() {
    Dataset* dataset = datasetOfPanel(currentPanelId());
    if (dataset && dataset->isEditing())
        dataset->cancel();
}

} // namespace kelvarn
