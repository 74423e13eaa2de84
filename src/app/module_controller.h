#pragma once

#include "app/module_view.h"

#include <QString>
#include <Qt>

#include <functional>
#include <map>

namespace kelvarn {

class Dataset;
class DbContext;

// The filter applied to a list panel: its name and definition text, both empty when
// none is applied.
struct AppliedFilter {
    QString name;
    QString text;
};

// One cash-book row about to be deleted: what the settlement of its paired document
// is given (mode Delete).
struct CashBookDeletion {
    QString id;
    QString documentId; // id_tbl_doklad as text
    double income = 0;  // prijem_danovy + prijem_nedanovy
    double expense = 0; // vydaj_danovy + vydaj_nedanovy
};

// A command of the main window's keyboard map.
enum class KeyCommand {
    None,
    CancelEditOrSelection,
    Picker, // F4
    Refresh,
    ToggleMasterDetail,
    SortAscending,
    SortDescending,
    NewRecord,
    DeleteSelectedRecords,
    Print, // Ctrl+P, inside the printing error trap
    Filter,
    FirstRecord,
    PriorRecord,
    NextRecord,
    LastRecord,
    Save,
    Calendar,
    Console,
    Settings,
    Help,
};

// What the module switching and the record commands need from the parts built
// elsewhere. Every member may stay empty; the defaults are noted.
struct ModuleHooks {
    // Opens a closed module dataset (the owner sets its statement first). Empty:
    // Dataset::open().
    std::function<void(Dataset&)> openDataset;
    // After the VAT lists (output = true for ADOFormDPHvystup) or the cash book were
    // opened by showModule, and after the cash book was saved.
    std::function<void(bool output)> refreshVatTotals;
    std::function<void()> refreshCashBookTotals;
    // The filter applied to a list panel. Empty: none.
    std::function<AppliedFilter(const QString& panelId)> appliedFilter;
    // The filter dialog lists only the filters of the module asked about last:
    // receives "(id_panel=<tab>)".
    std::function<void(const QString& condition)> setFilterModuleCondition;
    // Rereads the panel's list. Empty: Dataset::refresh() of the panel's dataset.
    std::function<void(const QString& panelId)> refreshPanel;
    // Runs one statement returning no rows, as given (the console's executor).
    // Empty: the database session runs it.
    std::function<void(const QString& statement)> execute;
    // Settles the paired document of a cash-book row that still exists and runs
    // deleteRow (the row's DELETE statement) itself, so that both are one unit of
    // work. The row is deleted whatever the answer; should the hook not run
    // deleteRow, the controller does. Empty: rows are deleted without settling.
    std::function<void(const CashBookDeletion& row, const std::function<void()>& deleteRow)>
        settleBeforeCashBookDelete;
    // Esc with nothing being edited: the selection-mode steps (picker filters off,
    // back to the remembered tab, focus back into the document field).
    std::function<void()> escapeSelection;
    // Keyboard commands carried out elsewhere (pickers, refresh, sorting, printing,
    // filter, calendar, console, settings, help).
    std::function<void(KeyCommand command)> externalCommand;
};

// The main window's module and record procedures without the widgets: which panel
// the commands act on, the edit-state guard, module and list/detail switching, the
// focus rules, the status bar and the record commands with their keyboard map.
// Database errors (DbError) travel out of every command to the caller.
class ModuleController {
  public:
    static constexpr int kModuleCount = 12;

    ModuleController(ModuleView& view, DbContext& db, ModuleHooks hooks = {});

    ModuleHooks& hooks() { return hooks_; }

    // Module datasets are created elsewhere and registered under their name
    // (ADOFormFAV, ADOFormFAVpol, …). Unknown names are kept but never used.
    void registerDataset(Dataset* dataset);
    Dataset* dataset(const QString& name) const;

    // --- view state -----------------------------------------------------------
    int currentTab() const { return tab_; }
    // Sets the tab without showing it (selection mode shows it afterwards itself).
    void setCurrentTab(int tab);
    int detailShown(int tab) const;
    int itemsFocused() const { return itemsFocused_; }
    int depreciationFocused() const { return depreciationFocused_; }
    int vatOutputFocused() const { return vatOutputFocused_; }
    int returnTab() const { return returnTab_; }
    void setReturnTab(int tab) { returnTab_ = tab; }
    int selectionActive() const { return selectionActive_; }
    void setSelectionActive(bool active) { selectionActive_ = active ? 1 : -1; }
    const QString& printFilterCaption() const { return printFilterCaption_; }
    const QString& printFilterText() const { return printFilterText_; }

    // --- panels ---------------------------------------------------------------
    QString currentPanelId();
    // The dataset the edit-state guard, new, save and delete use for a panel (none
    // for the VAT panels).
    Dataset* datasetOfPanel(const QString& panelId) const;
    // The dataset the moves and the counter use (the VAT panels have theirs).
    Dataset* listDatasetOfPanel(const QString& panelId) const;
    // The column that finds the same record again after a reread.
    static QString keyColumnOfPanel(const QString& panelId);
    // The grid a list panel shows its rows in ("" for panels without one).
    static QString gridOfPanel(const QString& panelId);
    static QString containerOfPanel(const QString& panelId);

    // True when the panel's dataset is not being edited; otherwise message 4 unless
    // the name is "post". "" and "post" mean the current panel.
    bool checkBrowseState(const QString& panelName);

    // --- switching ------------------------------------------------------------
    void showModule(bool calledFromPicker);
    void toggleMasterDetail();
    // The tab bar asks before it changes: refused (message 21) in selection mode.
    bool tabChanging();
    // After an allowed change.
    void tabChanged(int tab);

    // --- focus rules ----------------------------------------------------------
    // DBGridFAVpol gained (true) or lost (false) the focus.
    void itemsGridFocused(bool entered);
    // DBGridOdpisy or DBMemoOdpis gained or lost the focus.
    void depreciationFocused(bool entered);
    // DBGridDPHvystup (output) or DBGridDPHvstup gained the focus.
    void vatGridFocused(bool output);

    // Counter, status line and the filter captions printing uses; returns the count.
    int updateStatusBar();

    // --- record commands --------------------------------------------------------
    void firstRecord();
    void priorRecord();
    void nextRecord();
    void lastRecord();
    // fromButton: the toolbar button (true) or the Insert key (false).
    void newRecord(bool fromButton);
    // True when a row was written.
    bool saveCurrentRecord();
    void cancelEditOrSelection();
    void deleteSelectedRecords();

    // --- keyboard ---------------------------------------------------------------
    static KeyCommand commandForKey(int key, Qt::KeyboardModifiers modifiers);
    // Runs the command of the key; returns it (None for keys the map leaves alone).
    KeyCommand formKeyDown(int key, Qt::KeyboardModifiers modifiers);

  private:
    enum class Move { First, Prior, Next, Last };
    void move(Move where);
    void openIfClosed(const QString& datasetName);
    FocusTarget detailFocus(const QString& panelId) const;
    // Where the typing of a new record on the module's detail panel starts.
    static FocusTarget firstFieldOfNewRecord(int tab);
    FocusTarget listFocus(const QString& panelId) const;
    bool browseWithRows(const QString& datasetName) const;
    void deleteListRows(const QString& panelId, Dataset& dataset);
    void deleteCashBookRows(Dataset& dataset);
    void runStatement(const QString& statement);
    void refreshPanel(const QString& panelId);

    ModuleView& view_;
    DbContext& db_;
    ModuleHooks hooks_;
    std::map<QString, Dataset*> datasets_;
    int tab_ = 0;
    int detailShown_[kModuleCount] = {};
    int itemsFocused_ = 0;
    int depreciationFocused_ = 0;
    int vatOutputFocused_ = 0;
    int returnTab_ = -1;
    int selectionActive_ = -1;
    QString printFilterCaption_;
    QString printFilterText_;
};

} // namespace kelvarn
