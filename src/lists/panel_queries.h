#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <vector>

namespace kelvarn {

class Dataset;
class DbContext;

// The four statement parts of one list and the user filter applied to it.
struct PanelQuery {
    QString baseSelect;
    QString fixedCondition;
    QString filterCondition;
    QString orderBy;
    QString filterName;
    QString filterText;

    bool operator==(const PanelQuery&) const = default;
};

// How a remembered key finds its row again after a list is reopened.
enum class KeyMatch {
    Exact,      // the same key text; a vanished record leaves the cursor on the first row
    BeginsWith, // the first row whose key begins with the remembered text
};

// The statement parts of every list of the main window, keyed by the list's own
// panel ("FormFAV-seznam", "FormHlavniKniha", ...; the filter dialog's list by
// kFilterList), and the commands that recompose a list and reopen its dataset.
// The datasets belong to the caller; the edit-state guard, the status bar and the
// grids stay with the caller too.
class PanelQueries {
  public:
    static const QString kFilterList;

    // A module not built yet has no dataset: null.
    using DatasetLookup = std::function<Dataset*(const QString& datasetName)>;
    // Runs right after a dataset is opened again, before the cursor goes back to the
    // remembered record (the totals strips of the cash book and the VAT lists).
    using AfterOpen = std::function<void(Dataset&)>;

    struct RefreshStep {
        QString dataset;
        QString list;      // "" reopens without recomposition
        QString keyColumn; // "" reopens without returning to the record

        bool operator==(const RefreshStep&) const = default;
    };

    explicit PanelQueries(DbContext& db, KeyMatch keyMatch = KeyMatch::Exact);

    // Every list, filter dialog's list last.
    static QStringList lists();
    static QString datasetOfList(const QString& list);
    // The datasets a refresh of the panel reopens, in order; empty for an unknown panel.
    static std::vector<RefreshStep> refreshPlan(const QString& panelId);
    static bool isSortable(const QString& panelId);

    // Start values of every list for the order setting; filters cleared.
    void reset(bool ascending);
    // Start values for AppState::ascendingOrder, then each list's first statement
    // set as its dataset's SQL without opening it.
    void init(const DatasetLookup& datasets, int currentTab = 0);

    bool contains(const QString& list) const { return queries_.count(list) != 0; }
    // Throws std::out_of_range for an unknown list.
    const PanelQuery& query(const QString& list) const;
    PanelQuery& query(const QString& list);
    // The filter dialog lists only the filters of the current tab.
    void setFilterTab(int tab);

    // The list's statement in the platform's dialect (logged when debug is on).
    QString statement(const QString& list);

    // Close, recompose (unless list is ""), open, afterOpen, back to the record
    // whose key the current row had. A rejected statement leaves the dataset closed
    // and throws DbError.
    void reopen(const QString& list, Dataset& dataset, const QString& keyColumn,
                const AfterOpen& afterOpen = {});
    // Every dataset of the panel's plan that exists. Keys are all remembered before
    // anything closes: reopening a master moves its details to their first row.
    void refreshPanel(const QString& panelId, const DatasetLookup& datasets, const AfterOpen& afterOpen = {});
    // Orders the panel's list by the one column, replacing the previous order, and
    // returns to the same id. False (nothing done) on a panel that does not sort. A
    // rejected order is not kept.
    bool sortPanel(const QString& panelId, Dataset& dataset, const QString& column, bool descending,
                   const AfterOpen& afterOpen = {});

  private:
    void returnTo(Dataset& dataset, const QString& keyColumn, const QString& key) const;

    DbContext& db_;
    KeyMatch keyMatch_;
    std::map<QString, PanelQuery> queries_;
};

} // namespace kelvarn
