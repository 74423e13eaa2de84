#pragma once

#include "app/module_controller.h"
#include "lists/column_caption_map.h"
#include "lists/filter_editor.h"

#include <QList>
#include <QString>

#include <array>
#include <functional>
#include <memory>

namespace kelvarn {

class DatabaseSession;
class DbContext;
class PanelQueries;

// The toolbar's Filtr (Ctrl+F) and FiltrCancel: which lists take a filter, the
// filter applied last per module (AppliedFilterId), applying the dialog's result to
// the list (both VAT lists at once) and taking it off again.
class FilterCommands {
  public:
    // Shows the filter dialog modally over the editor; what it hands back when it
    // closes, with the id of the filter applied (unchanged when none).
    using ShowDialog = std::function<void(FilterEditor& editor, FilterResult& result, qint64& appliedId)>;
    using Captions = std::function<QList<CaptionEntry>(int tab)>;
    using RefreshPanel = std::function<void(const QString& panelId)>;

    FilterCommands(ModuleController& modules, PanelQueries& queries, DbContext& db, DatabaseSession& session,
                   Captions captions, RefreshPanel refreshPanel);
    ~FilterCommands();

    void setShowDialog(ShowDialog show) { show_ = std::move(show); }
    FilterEditor& editor() { return *editor_; }

    // Lists only: the entrepreneur and every detail panel take no filter.
    static bool acceptsFilters(const QString& panelId);
    // The lists a filter applied on the panel goes to (both VAT lists together).
    static QStringList listsOfPanel(const QString& panelId);

    qint64 appliedFilterId(int tab) const;
    // The module's list lost its user filter another way (a picker's name search
    // replaced it): the dialog no longer stands on it.
    void forgetApplied(int tab);
    AppliedFilter appliedFilter(const QString& panelId) const;

    void filterClick();
    void filterCancelClick();
    // Puts the result on the panel's lists and rereads them. A statement the
    // database refuses brings the previous filter back (the list stays usable) and
    // the error travels on.
    void apply(const QString& panelId, const FilterResult& result);
    // A new run of the start-up: nothing applied anywhere.
    void reset();

  private:
    ModuleController& modules_;
    PanelQueries& queries_;
    Captions captions_;
    RefreshPanel refresh_;
    ShowDialog show_;
    std::unique_ptr<Dataset> list_;
    std::unique_ptr<FilterEditor> editor_;
    std::array<qint64, ModuleController::kModuleCount> appliedIds_{};
};

} // namespace kelvarn
