#include "ui/dataset_grid.h"

#include "db/dataset_table_model.h"
#include "db/db_error.h"
#include "db/field_refusal.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QTimer>

#include <algorithm>

namespace kelvarn {

namespace {

constexpr int kWidestColumn = 260;
// The cell an editor was opened for; the current cell may have moved on by the
// time the editor's text is committed.
constexpr const char* kEditedCell = "kelvarnEditedCell";

// Focus that comes back with the window, or goes to a popup, is no move between controls.
bool movedBetweenControls(const QFocusEvent* event) {
    return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

// The cells of an editable grid: the first keystroke in a cell puts the record into
// edit state (so the guard and the save see it at once), and cells that cannot be
// typed into are shaded.
class CellDelegate : public QStyledItemDelegate {
  public:
    CellDelegate(std::function<void()> typed, QObject* parent)
        : QStyledItemDelegate(parent), typed_(std::move(typed)) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            connect(line, &QLineEdit::textEdited, this, [this] { typed_(); });
        if (editor)
            editor->setProperty(kEditedCell, QVariant::fromValue(QPersistentModelIndex(index)));
        return editor;
    }

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!(index.flags() & Qt::ItemIsEditable))
            option->backgroundBrush = option->palette.brush(QPalette::Button);
    }

  private:
    std::function<void()> typed_;
};

} // namespace

DatasetGrid::DatasetGrid(Dataset* dataset, const QString& name, const QString& title, bool editable,
                         bool editOnDoubleClick, QWidget* parent)
    : QTableView(parent), dataset_(dataset), editable_(editable) {
    setObjectName(name);
    setAccessibleName(title);
    model_ = new DatasetTableModel(dataset, this);
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAlternatingRowColors(true);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    triggers_ = QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;
    if (editOnDoubleClick)
        triggers_ |= QAbstractItemView::DoubleClicked;
    setEditTriggers(editable_ ? triggers_ : QAbstractItemView::NoEditTriggers);
    if (editable_)
        setItemDelegate(new CellDelegate([this] { cellTyped(); }, this));

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &DatasetGrid::rowEntered);
    connect(dataset, &Dataset::currentRowChanged, this, [this] { followDataset(); });
    // The first saved row of a list that opened empty shows what its columns hold.
    connect(dataset, &Dataset::stateChanged, this, [this] { fitToRows(); });
    // The header's own handlers run first: by the reset the sections are already new.
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, &DatasetGrid::beforeReset);
    connect(model_, &QAbstractItemModel::modelReset, this, &DatasetGrid::afterReset);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int logical, int, int) { headerChanged(logical); });
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this,
            [this](int logical, int, int) { headerChanged(logical); });
    // A cell editor that hands the focus straight to another control never lets the
    // grid itself see the focus go.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusMoved(now); });
}

// ---- columns ---------------------------------------------------------------------

QStringList DatasetGrid::datasetColumns() const {
    QStringList names;
    for (int c = 0; dataset_ && c < dataset_->columnCount(); ++c)
        names << dataset_->column(c).name;
    return names;
}

void DatasetGrid::beforeReset() {
    arranging_ = true;
    // A reread first closes the dataset: the sections about to go are still the
    // user's, and their names are still known here.
    const QHeaderView* header = horizontalHeader();
    if (configured_ && header->count() > 0 && header->count() == names_.size())
        kept_ = headerArrangement();
}

void DatasetGrid::afterReset() {
    if (!configured_) {
        configureColumns();
    } else if (model_->columnCount() > 0) {
        names_ = datasetColumns();
        if (kept_) {
            arrange(applyGridLayout(*kept_, names_));
            kept_.reset();
        }
    }
    fitToRows();
    arranging_ = false;
    followDataset();
}

void DatasetGrid::configureColumns() {
    // Once: the columns of a list do not change between rereads, and the widths the
    // user set must survive them.
    if (configured_ || !dataset_ || !dataset_->isActive() || dataset_->columnCount() == 0)
        return;
    configured_ = true;
    const QScopedValueRollback<bool> ours(arranging_, true);
    names_ = datasetColumns();
    QStringList columns;
    QStringList titles;
    for (const QString& column : std::as_const(names_)) {
        const QString title = titles_ ? titles_(column) : QString();
        if (!title.isEmpty()) {
            columns << column;
            titles << title;
        }
    }
    // A list shows the columns its captions name; the rest (spare amounts, kinds,
    // links) only clutter it. Without captions every column shows.
    for (int c = 0; c < names_.size(); ++c) {
        const QString& column = names_[c];
        setColumnHidden(c, hidden_.contains(column, Qt::CaseInsensitive) ||
                               (!titles.isEmpty() && !columns.contains(column)));
    }
    QHeaderView* header = horizontalHeader();
    for (int place = 0; place < order_.size(); ++place)
        if (const int c = dataset_->columnIndex(order_[place]); c >= 0)
            header->moveSection(header->visualIndex(c), place);
    // The key shows last, where it is out of the way of typing.
    const int key = dataset_->columnIndex(QStringLiteral("id"));
    if (key >= 0 && !isColumnHidden(key))
        header->moveSection(header->visualIndex(key), header->count() - 1);
    model_->setTitles(columns, titles);
    resizeColumnsToContents();
    for (int c = 0; c < model_->columnCount(); ++c)
        setColumnWidth(c, std::min(columnWidth(c), kWidestColumn));
    autoWidths_.clear();
    for (const QString& column : std::as_const(names_))
        autoWidths_.insert(column.toLower());
    fittedToRows_ = hasRows();
    if (savedLayout_)
        applySavedLayout();
}

bool DatasetGrid::hasRows() const {
    // A row just started holds nothing to size a column by.
    return dataset_ && dataset_->isActive() &&
           dataset_->recordCount() > (dataset_->state() == Dataset::State::Insert ? 1 : 0);
}

void DatasetGrid::fitToRows() {
    // Columns sized while the list was empty fit their titles only; the first rows
    // decide once. Widths the user or a saved layout set stay.
    if (!configured_ || fittedToRows_ || !hasRows())
        return;
    fittedToRows_ = true;
    const QScopedValueRollback<bool> ours(arranging_, true);
    for (int c = 0; c < names_.size() && c < model_->columnCount(); ++c) {
        if (isColumnHidden(c) || !autoWidths_.contains(names_[c].toLower()))
            continue;
        resizeColumnToContents(c);
        setColumnWidth(c, std::min(columnWidth(c), kWidestColumn));
    }
}

void DatasetGrid::headerChanged(int logical) {
    if (arranging_)
        return;
    arrangedByUser_ = true;
    if (logical >= 0 && logical < names_.size())
        autoWidths_.remove(names_[logical].toLower());
}

GridLayout DatasetGrid::headerArrangement() const {
    GridLayout layout;
    const QHeaderView* header = horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical < 0 || logical >= names_.size())
            continue;
        GridColumn column;
        column.field = names_[logical];
        column.visible = !header->isSectionHidden(logical);
        column.width = column.visible ? header->sectionSize(logical) : 0;
        layout.columns.append(column);
    }
    return layout;
}

void DatasetGrid::arrange(const GridLayout& layout) {
    const QScopedValueRollback<bool> ours(arranging_, true);
    QHeaderView* header = horizontalHeader();
    for (int visual = 0; visual < layout.columns.size(); ++visual) {
        const GridColumn& column = layout.columns[visual];
        const int logical = dataset_->columnIndex(column.field);
        if (logical < 0)
            continue;
        header->moveSection(header->visualIndex(logical), visual);
        setColumnHidden(logical, !column.visible);
        if (column.visible && column.width > 0)
            setColumnWidth(logical, column.width);
    }
}

bool DatasetGrid::setSavedLayout(const GridLayout& layout, QString* why) {
    QStringList technical;
    for (const GridColumn& column : layout.columns)
        if (column.visible && hidden_.contains(column.field, Qt::CaseInsensitive))
            technical << column.field;
    if (!technical.isEmpty()) {
        if (why)
            *why = QStringLiteral("rozložení ukazuje technické sloupce (%1), které mřížka %2 nikdy "
                                  "neukazuje; mřížka má své vlastní sloupce.")
                       .arg(technical.join(QStringLiteral(", ")), objectName());
        return false;
    }
    savedLayout_ = layout;
    if (configured_)
        applySavedLayout();
    return true;
}

void DatasetGrid::applySavedLayout() {
    const GridLayout fitted = applyGridLayout(*savedLayout_, names_);
    savedLayout_.reset();
    arrange(fitted);
    QStringList titleColumns;
    QStringList titles;
    for (const GridColumn& column : fitted.columns) {
        const int logical = dataset_->columnIndex(column.field);
        if (logical < 0)
            continue;
        if (column.width > 0)
            autoWidths_.remove(column.field.toLower());
        titleColumns << column.field;
        titles << (column.title.isEmpty() ? model_->headerData(logical, Qt::Horizontal).toString()
                                          : column.title);
    }
    model_->setTitles(titleColumns, titles);
}

QString DatasetGrid::builtInTitle(const QString& column) const {
    const QString title = titles_ ? titles_(column) : QString();
    return title.isEmpty() ? column : title;
}

GridLayout DatasetGrid::currentLayout() const {
    GridLayout layout;
    if (!dataset_ || !configured_ || !dataset_->isActive())
        return layout;
    layout = headerArrangement();
    for (GridColumn& column : layout.columns) {
        const int logical = dataset_->columnIndex(column.field);
        column.title = model_->headerData(logical, Qt::Horizontal).toString();
        column.width = columnWidth(logical);
    }
    return layout;
}

GridLayout DatasetGrid::layoutToKeep() const {
    if (!arrangedByUser_)
        return {};
    GridLayout layout = currentLayout();
    for (GridColumn& column : layout.columns) {
        if (autoWidths_.contains(column.field.toLower()) || !column.visible)
            column.width = 0;
        if (column.title == builtInTitle(column.field))
            column.title.clear();
    }
    return layout;
}

// ---- rows and cells ----------------------------------------------------------------

void DatasetGrid::setLocked(bool locked) {
    locked_ = locked;
    setEditTriggers(editable_ && !locked_ ? triggers_ : QAbstractItemView::NoEditTriggers);
}

QString DatasetGrid::currentColumnName() const {
    const QModelIndex index = currentIndex();
    if (!index.isValid() || !dataset_ || index.column() >= dataset_->columnCount())
        return {};
    return dataset_->column(index.column()).name;
}

void DatasetGrid::enterColumn(const QString& column) {
    if (!dataset_ || !dataset_->isActive())
        return;
    int c = column.isEmpty() ? -1 : dataset_->columnIndex(column);
    for (int visual = 0; column.isEmpty() && visual < horizontalHeader()->count() && c < 0; ++visual)
        if (!isColumnHidden(horizontalHeader()->logicalIndex(visual)))
            c = horizontalHeader()->logicalIndex(visual);
    if (c >= 0)
        column_ = dataset_->column(c).name;
    const int row = std::max(dataset_->currentRow(), 0);
    if (c < 0 || row >= model_->rowCount())
        return;
    following_ = true;
    selectionModel()->setCurrentIndex(model_->index(row, c),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    following_ = false;
}

QList<Dataset::Bookmark> DatasetGrid::selectedBookmarks() const {
    QList<Dataset::Bookmark> marks;
    if (!dataset_)
        return marks;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        if (const Dataset::Bookmark mark = dataset_->bookmarkAt(index.row()))
            marks << mark;
    return marks;
}

int DatasetGrid::columnToEnter() const {
    if (const int c = dataset_->columnIndex(column_); c >= 0 && !isColumnHidden(c))
        return c;
    for (int visual = 0; visual < horizontalHeader()->count(); ++visual)
        if (!isColumnHidden(horizontalHeader()->logicalIndex(visual)))
            return horizontalHeader()->logicalIndex(visual);
    return -1;
}

void DatasetGrid::followDataset() {
    if (following_ || !dataset_ || !dataset_->isActive())
        return;
    const int row = dataset_->currentRow();
    // The row is already current when the user moved there; keeping the selection
    // keeps the rows marked for deletion.
    if (row < 0 || row >= model_->rowCount() || currentIndex().row() == row)
        return;
    const int column = columnToEnter();
    if (column < 0)
        return;
    following_ = true;
    // Rows the user marked stay marked when a command moves the record: they are
    // what a deletion takes.
    const bool marked = selectionModel()->selectedRows().size() > 1;
    selectionModel()->setCurrentIndex(
        model_->index(row, column), marked ? QItemSelectionModel::NoUpdate
                                           : QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(currentIndex());
    following_ = false;
}

void DatasetGrid::rowEntered(const QModelIndex& current, const QModelIndex&) {
    if (current.isValid() && dataset_ && current.column() < dataset_->columnCount())
        column_ = dataset_->column(current.column()).name;
    if (following_ || !current.isValid() || !dataset_ || !dataset_->isActive() ||
        current.row() == dataset_->currentRow())
        return;
    // The text just refused belongs to the row being edited: the cursor stays there
    // for the correction rather than saving the row without it.
    if (refusing_) {
        QTimer::singleShot(0, this, [this] { followDataset(); });
        return;
    }
    try {
        dataset_->moveTo(current.row());
    } catch (const DbError& e) {
        Q_EMIT failed(e.text());
    }
    // A refused post keeps the cursor on the edited row; the grid goes back to it.
    if (dataset_ && dataset_->currentRow() != current.row())
        QTimer::singleShot(0, this, [this] { followDataset(); });
}

void DatasetGrid::cellTyped() {
    if (!dataset_ || !dataset_->isActive() || dataset_->isEditing() || dataset_->currentRow() < 0)
        return;
    try {
        dataset_->edit();
    } catch (const DbError& e) {
        Q_EMIT failed(e.text());
    }
}

bool DatasetGrid::commitOpenEditor() {
    if (state() != QAbstractItemView::EditingState)
        return true;
    QWidget* editor = indexWidget(currentIndex());
    if (!editor)
        return true;
    commitData(editor);
    if (refusing_ || !model_->lastError().isEmpty())
        return false;
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

void DatasetGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTableView::closeEditor(editor, hint);
    // Esc in a cell drops the row's edit, as Esc on the grid does: typing has already
    // put the row into edit state.
    if (hint == QAbstractItemDelegate::RevertModelCache && dataset_ && dataset_->isEditing()) {
        try {
            dataset_->cancel();
        } catch (const DbError& e) {
            Q_EMIT failed(e.text());
        }
    }
}

void DatasetGrid::commitData(QWidget* editor) {
    // While a refusal is being reported the box has taken the focus, and the editor
    // losing it would commit the same text once more: one mistake, one message.
    if (refusing_)
        return;
    QPersistentModelIndex index = editor->property(kEditedCell).value<QPersistentModelIndex>();
    if (!index.isValid())
        index = currentIndex();
    QTableView::commitData(editor);
    if (!index.isValid() || model_->lastError().isEmpty() || !dataset_)
        return;
    auto* line = qobject_cast<QLineEdit*>(editor);
    const QString typed = line ? line->text() : QString();
    const QString message =
        index.column() < dataset_->columnCount()
            ? fieldRefusalText(dataset_->column(index.column()),
                               model_->headerData(index.column(), Qt::Horizontal).toString(), typed,
                               model_->lastError())
            : model_->lastError();
    refusing_ = true;
    // After the editor has closed: the box is shown, and only once it is gone does
    // the text come back in the cell, so no editor stands open to lose the focus to it.
    QTimer::singleShot(0, this, [this, index, typed, message, reopen = line != nullptr] {
        Q_EMIT failed(message);
        refusing_ = false;
        if (reopen)
            reopenRefused(index, typed);
    });
}

void DatasetGrid::reopenRefused(const QPersistentModelIndex& index, const QString& typed) {
    if (!index.isValid() || !dataset_ || !dataset_->isEditing() || dataset_->currentRow() != index.row() ||
        locked_)
        return;
    setCurrentIndex(index);
    edit(index);
    if (auto* line = qobject_cast<QLineEdit*>(indexWidget(index))) {
        line->setText(typed);
        line->selectAll();
        line->setFocus();
    }
}

void DatasetGrid::keyPressEvent(QKeyEvent* event) {
    if (dataset_ && dataset_->isActive() && event->modifiers() == Qt::NoModifier) {
        try {
            if (event->key() == Qt::Key_Insert && editable_ && !locked_) {
                dataset_->insert();
                event->accept();
                return;
            }
            if (event->key() == Qt::Key_Escape && dataset_->isEditing()) {
                dataset_->cancel();
                event->accept();
                return;
            }
        } catch (const DbError& e) {
            Q_EMIT failed(e.text());
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

// ---- focus -------------------------------------------------------------------------

void DatasetGrid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    // Focus coming back from the grid's own cell editor is no entering of the grid.
    if (movedBetweenControls(event) && !focusInside_) {
        focusInside_ = true;
        Q_EMIT focusEntered();
    }
}

void DatasetGrid::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    // The cell editor is part of the grid.
    if (isAncestorOf(QApplication::focusWidget()))
        return;
    if (movedBetweenControls(event) && focusInside_) {
        focusInside_ = false;
        Q_EMIT focusLeft();
    }
}

void DatasetGrid::focusMoved(QWidget* now) {
    // Another window (a message box, a popup) taking the focus is no leaving; a control
    // of this window outside the grid is, also when it takes the focus from the editor.
    if (!focusInside_ || !now || now == this || isAncestorOf(now) || now->window() != window())
        return;
    focusInside_ = false;
    Q_EMIT focusLeft();
}

} // namespace kelvarn
