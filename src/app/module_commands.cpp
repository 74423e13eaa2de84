#include "app/module_controller.h"

#include "app/module_panels.h"
#include "db/dataset.h"
#include "db/db_context.h"

#include <QList>

namespace kelvarn {

using namespace module_panels;

namespace {

// Rows deleted through the cash book's own statements are read before anything is
// deleted, so that a settlement rereading the list cannot move the rows under us.
QList<CashBookDeletion> cashBookRows(Dataset& ds, const QList<Dataset::Bookmark>& selected) {
    auto current = [&ds] {
        return CashBookDeletion{
            ds.asString(QStringLiteral("id")), ds.asString(QStringLiteral("id_tbl_doklad")),
            ds.asFloat(QStringLiteral("prijem_danovy")) + ds.asFloat(QStringLiteral("prijem_nedanovy")),
            ds.asFloat(QStringLiteral("vydaj_danovy")) + ds.asFloat(QStringLiteral("vydaj_nedanovy"))};
    };
    QList<CashBookDeletion> rows;
    if (selected.isEmpty()) {
        rows << current();
        return rows;
    }
    const Dataset::Bookmark start = ds.bookmark();
    for (Dataset::Bookmark mark : selected)
        if (ds.gotoBookmark(mark))
            rows << current();
    ds.gotoBookmark(start);
    return rows;
}

// Makes a grid editable again however the deletion ends.
class ReadOnlyGrid {
  public:
    ReadOnlyGrid(ModuleView& view, QString grid) : view_(view), grid_(std::move(grid)) {
        view_.setGridReadOnly(grid_, true);
    }
    ~ReadOnlyGrid() { view_.setGridReadOnly(grid_, false); }
    ReadOnlyGrid(const ReadOnlyGrid&) = delete;
    ReadOnlyGrid& operator=(const ReadOnlyGrid&) = delete;

  private:
    ModuleView& view_;
    QString grid_;
};

} // namespace

void ModuleController::move(Move where) {
    if (!checkBrowseState({}))
        return;
    Dataset* ds = listDatasetOfPanel(currentPanelId());
    if (!ds || !ds->isActive())
        return;
    switch (where) {
    case Move::First:
        ds->first();
        break;
    case Move::Prior:
        ds->prior();
        break;
    case Move::Next:
        ds->next();
        break;
    case Move::Last:
        ds->last();
        break;
    }
}

void ModuleController::firstRecord() {
    move(Move::First);
}
void ModuleController::priorRecord() {
    move(Move::Prior);
}
void ModuleController::nextRecord() {
    move(Move::Next);
}
void ModuleController::lastRecord() {
    move(Move::Last);
}

FocusTarget ModuleController::firstFieldOfNewRecord(int tab) {
    switch (tab) {
    case 3:
    case 5:
    case 6:
        return FocusTarget::field(QStringLiteral("odb_nazev_firmy"));
    case 4:
        return FocusTarget::field(QStringLiteral("cislo_dokladu_puvodni"));
    case 7:
        return FocusTarget::field(QStringLiteral("typ"));
    case 9:
        return FocusTarget::field(QStringLiteral("kod_zbozi"));
    case 10:
        return FocusTarget::field(QStringLiteral("nazev_firmy"));
    case 11:
        return FocusTarget::named(QStringLiteral("DBMemoZakazky"));
    default:
        return {};
    }
}

void ModuleController::newRecord(bool fromButton) {
    if (!checkBrowseState({}))
        return;
    const QString panel = currentPanelId();
    const PanelInfo* p = findPanel(panel);
    Dataset* ds = datasetOfPanel(panel);
    auto startRow = [ds] {
        if (!ds || !ds->isActive())
            return false;
        ds->insert();
        return true;
    };
    if (p && p->kind == Kind::Detail) {
        // The detail panels focus the first field to fill.
        if (startRow())
            view_.setFocus(firstFieldOfNewRecord(p->tab));
    } else if (p && (p->kind == Kind::List || p->kind == Kind::SubGrid)) {
        bool inserted = false;
        // From the memo the Insert key has no grid to start the row, so the command does.
        if (panel == QLatin1String("FormMajetek-odpisy") &&
            view_.focusedControl() == QLatin1String("DBMemoOdpis")) {
            view_.setFocus(FocusTarget::named(QStringLiteral("DBGridOdpisy")));
            if (!fromButton)
                inserted = startRow();
        }
        // With the Insert key the focused grid starts its own row.
        if (fromButton)
            inserted = startRow();
        if (inserted && currentPanelId() != panel) {
            // The new row's own rules switched the module to its detail, where the
            // typing goes; the list's grid is hidden now.
            if (const PanelInfo* now = findPanel(currentPanelId()); now && now->kind == Kind::Detail)
                view_.setFocus(firstFieldOfNewRecord(now->tab));
        } else if (inserted) {
            if (panel == QLatin1String("FormFAV-polozky"))
                view_.setFocus(
                    FocusTarget::gridColumn(QStringLiteral("DBGridFAVpol"), QStringLiteral("kod_zbozi")));
            else if (panel == QLatin1String("FormHlavniKniha") ||
                     panel == QLatin1String("FormMajetek-seznam") ||
                     panel == QLatin1String("FormKnihaJizd") || panel == QLatin1String("FormMajetek-odpisy"))
                view_.setFocus(FocusTarget::gridFirstColumn(QLatin1String(p->grid)));
        }
    }
    updateStatusBar();
}

bool ModuleController::saveCurrentRecord() {
    if (checkBrowseState(QStringLiteral("post")))
        return false;
    const QString panel = currentPanelId();
    Dataset* ds = datasetOfPanel(panel);
    if (!ds)
        return false;
    const bool written = ds->post();
    if (written && ds->name() == QLatin1String("ADOFormHlavniKniha") && hooks_.refreshCashBookTotals)
        hooks_.refreshCashBookTotals();
    return written;
}

void ModuleController::cancelEditOrSelection() {
    if (checkBrowseState(QStringLiteral("post"))) {
        if (hooks_.escapeSelection)
            hooks_.escapeSelection();
        return;
    }
    const QString panel = currentPanelId();
    const PanelInfo* p = findPanel(panel);
    Dataset* ds = datasetOfPanel(panel);
    if (!p || !ds)
        return;
    if (p->kind == Kind::Detail) {
        // A new record that is dropped has nothing to show on the detail panel.
        const bool inserting = ds->state() == Dataset::State::Insert;
        ds->cancel();
        if (inserting)
            toggleMasterDetail();
    } else if (p->kind == Kind::Single) {
        ds->cancel();
    }
}

void ModuleController::deleteSelectedRecords() {
    const QString panel = currentPanelId();
    const PanelInfo* p = findPanel(panel);
    // Detail panels delete nothing, so they do not ask either.
    if (!p || p->kind == Kind::Single || p->kind == Kind::Vat || p->kind == Kind::Detail)
        return;
    if (!db_.confirmDelete())
        return;
    if (!checkBrowseState({}))
        return;
    if (updateStatusBar() == 0)
        return;
    Dataset* ds = datasetOfPanel(panel);
    if (!ds || !ds->isActive())
        return;
    view_.setStatusText(QStringLiteral("Mazání označených záznamů..."));
    if (panel == QLatin1String("FormHlavniKniha"))
        deleteCashBookRows(*ds);
    else
        deleteListRows(panel, *ds);
}

void ModuleController::deleteListRows(const QString& panelId, Dataset& ds) {
    const QString key = keyColumnOfPanel(panelId);
    const QString remembered = ds.asString(key);
    const QString grid = gridOfPanel(panelId);
    {
        ReadOnlyGrid guard(view_, grid);
        const QList<Dataset::Bookmark> selected = view_.selectedRows(grid);
        if (selected.isEmpty()) {
            ds.deleteRecord();
        } else {
            for (Dataset::Bookmark mark : selected)
                if (ds.gotoBookmark(mark))
                    ds.deleteRecord();
        }
    }
    // Exact match: a prefix would put the cursor on id 10 after id 1 was deleted.
    if (!remembered.isEmpty())
        ds.locate(key, remembered);
}

void ModuleController::deleteCashBookRows(Dataset& ds) {
    const QString grid = QStringLiteral("DBGridHlavniKniha");
    const QString remembered = ds.asString(QStringLiteral("id"));
    {
        ReadOnlyGrid guard(view_, grid);
        for (const CashBookDeletion& row : cashBookRows(ds, view_.selectedRows(grid))) {
            if (row.id.isEmpty())
                continue;
            const QString statement =
                QStringLiteral("DELETE FROM tbl_hlavnikniha WHERE (id=") + row.id + u')';
            if (db_.state().debug)
                db_.log().append(statement);
            const bool exists =
                !db_.lookupValue(QStringLiteral("tbl_hlavnikniha"), QStringLiteral("id"), row.id).isEmpty();
            bool deleted = false;
            const std::function<void()> deleteRow = [&] {
                if (!deleted) {
                    deleted = true;
                    runStatement(statement);
                }
            };
            // The paired document is settled before its payment goes.
            if (exists && hooks_.settleBeforeCashBookDelete)
                hooks_.settleBeforeCashBookDelete(row, deleteRow);
            deleteRow();
        }
    }
    refreshPanel(QStringLiteral("FormHlavniKniha"));
    if (!remembered.isEmpty())
        ds.locate(QStringLiteral("id"), remembered);
}

void ModuleController::runStatement(const QString& statement) {
    if (hooks_.execute)
        hooks_.execute(statement);
    else
        db_.session().execute(statement);
}

void ModuleController::refreshPanel(const QString& panelId) {
    if (hooks_.refreshPanel) {
        hooks_.refreshPanel(panelId);
        return;
    }
    if (Dataset* ds = listDatasetOfPanel(panelId); ds && ds->isActive())
        ds->refresh();
    // A reread list shows its new count (and replaces the deletion notice).
    updateStatusBar();
}

KeyCommand ModuleController::commandForKey(int key, Qt::KeyboardModifiers modifiers) {
    switch (key) {
    case Qt::Key_Escape:
        return KeyCommand::CancelEditOrSelection;
    case Qt::Key_F4:
        return KeyCommand::Picker;
    case Qt::Key_F5:
        return KeyCommand::Refresh;
    case Qt::Key_F9:
        return KeyCommand::ToggleMasterDetail;
    case Qt::Key_F11:
        return KeyCommand::SortAscending;
    case Qt::Key_F12:
        return KeyCommand::SortDescending;
    case Qt::Key_Insert:
        return KeyCommand::NewRecord;
    case Qt::Key_F10:
        return KeyCommand::Settings;
    case Qt::Key_F1:
        return KeyCommand::Help;
    default:
        break;
    }
    if (!(modifiers & Qt::ControlModifier))
        return KeyCommand::None;
    const bool keypad = modifiers & Qt::KeypadModifier;
    switch (key) {
    case Qt::Key_Delete:
        return KeyCommand::DeleteSelectedRecords;
    case Qt::Key_P:
        return KeyCommand::Print;
    case Qt::Key_F:
        return KeyCommand::Filter;
    case Qt::Key_S:
        return KeyCommand::Save;
    case Qt::Key_K:
        return KeyCommand::Calendar;
    case Qt::Key_Q:
        return KeyCommand::Console;
    case Qt::Key_O:
        return KeyCommand::NextRecord;
    case Qt::Key_U:
        return KeyCommand::PriorRecord;
    case Qt::Key_6:
        return keypad ? KeyCommand::NextRecord : KeyCommand::None;
    case Qt::Key_4:
        return keypad ? KeyCommand::PriorRecord : KeyCommand::None;
    case Qt::Key_8:
        return keypad ? KeyCommand::FirstRecord : KeyCommand::None;
    case Qt::Key_2:
        return keypad ? KeyCommand::LastRecord : KeyCommand::None;
    default:
        return KeyCommand::None;
    }
}

KeyCommand ModuleController::formKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const KeyCommand command = commandForKey(key, modifiers);
    switch (command) {
    case KeyCommand::None:
        break;
    case KeyCommand::CancelEditOrSelection:
        cancelEditOrSelection();
        break;
    case KeyCommand::ToggleMasterDetail:
        toggleMasterDetail();
        break;
    case KeyCommand::NewRecord:
        newRecord(false);
        break;
    case KeyCommand::DeleteSelectedRecords:
        deleteSelectedRecords();
        break;
    case KeyCommand::FirstRecord:
        firstRecord();
        break;
    case KeyCommand::PriorRecord:
        priorRecord();
        break;
    case KeyCommand::NextRecord:
        nextRecord();
        break;
    case KeyCommand::LastRecord:
        lastRecord();
        break;
    case KeyCommand::Save:
        saveCurrentRecord();
        break;
    default:
        if (hooks_.externalCommand)
            hooks_.externalCommand(command);
        break;
    }
    return command;
}

} // namespace kelvarn
