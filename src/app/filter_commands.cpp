#include "app/filter_commands.h"

#include "db/dataset.h"
#include "db/db_error.h"
#include "lists/filter_translation.h"
#include "lists/panel_queries.h"

namespace kelvarn {

FilterCommands::FilterCommands(ModuleController& modules, PanelQueries& queries, DbContext& db,
                               DatabaseSession& session, Captions captions, RefreshPanel refreshPanel)
    : modules_(modules), queries_(queries), captions_(std::move(captions)), refresh_(std::move(refreshPanel)),
      list_(std::make_unique<Dataset>(session, PanelQueries::datasetOfList(PanelQueries::kFilterList))),
      editor_(std::make_unique<FilterEditor>(db, queries, *list_)) {
    modules_.hooks().appliedFilter = [this](const QString& panelId) { return appliedFilter(panelId); };
}

FilterCommands::~FilterCommands() = default;

bool FilterCommands::acceptsFilters(const QString& panelId) {
    return !listsOfPanel(panelId).isEmpty();
}

QStringList FilterCommands::listsOfPanel(const QString& panelId) {
    if (panelId == QLatin1String("FormDPHvstup") || panelId == QLatin1String("FormDPHvystup"))
        return {QStringLiteral("FormDPHvstup"), QStringLiteral("FormDPHvystup")};
    if (panelId == PanelQueries::kFilterList || PanelQueries::datasetOfList(panelId).isEmpty())
        return {};
    return {panelId};
}

qint64 FilterCommands::appliedFilterId(int tab) const {
    return tab >= 0 && tab < ModuleController::kModuleCount ? appliedIds_[tab] : 0;
}

void FilterCommands::forgetApplied(int tab) {
    if (tab >= 0 && tab < ModuleController::kModuleCount)
        appliedIds_[tab] = 0;
}

AppliedFilter FilterCommands::appliedFilter(const QString& panelId) const {
    const QStringList lists = listsOfPanel(panelId);
    if (lists.isEmpty() || !queries_.contains(lists.first()))
        return {};
    const PanelQuery& q = queries_.query(lists.first());
    return {q.filterName, q.filterText};
}

void FilterCommands::filterClick() {
    const QString panel = modules_.currentPanelId();
    if (!acceptsFilters(panel) || !modules_.checkBrowseState({}))
        return;
    const int tab = modules_.currentTab();
    editor_->prepare(tab, appliedFilterId(tab), captions_ ? captions_(tab) : QList<CaptionEntry>());
    FilterResult result;
    qint64 id = appliedFilterId(tab);
    if (show_)
        show_(*editor_, result, id);
    const qint64 previousId = appliedIds_[tab];
    appliedIds_[tab] = id;
    if (result.isEmpty())
        return;
    try {
        apply(panel, result);
    } catch (const DbError&) {
        appliedIds_[tab] = previousId;
        throw;
    }
}

void FilterCommands::filterCancelClick() {
    const QString panel = modules_.currentPanelId();
    if (!acceptsFilters(panel) || !modules_.checkBrowseState({}))
        return;
    appliedIds_[modules_.currentTab()] = 0;
    apply(panel, {});
}

void FilterCommands::apply(const QString& panelId, const FilterResult& result) {
    // The dialog refuses such a condition already; no other way may bring one to the
    // database either.
    if (const filter_translation::Check check = filter_translation::check(result.condition); !check.ok())
        throw DbError(filter_translation::faultText(check));
    const QStringList lists = listsOfPanel(panelId);
    std::vector<PanelQuery> previous;
    for (const QString& list : lists) {
        PanelQuery& q = queries_.query(list);
        previous.push_back(q);
        q.filterName = result.name;
        q.filterText = result.text;
        q.filterCondition = result.condition;
    }
    if (!refresh_)
        return;
    try {
        refresh_(panelId);
    } catch (const DbError&) {
        for (qsizetype i = 0; i < lists.size(); ++i)
            queries_.query(lists[i]) = previous[static_cast<size_t>(i)];
        // The list as it was; should even that fail, the first error is the one to tell.
        try {
            refresh_(panelId);
        } catch (const DbError&) {
        }
        throw;
    }
}

void FilterCommands::reset() {
    appliedIds_.fill(0);
}

} // namespace kelvarn
