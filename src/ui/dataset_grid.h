#pragma once

#include "db/dataset.h"
#include "lists/grid_layout.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QTableView>

#include <functional>
#include <optional>

namespace kelvarn {

class DatasetTableModel;

// A module grid: the rows of one dataset, several selectable at once, edited in
// place. The dataset's cursor follows the grid's current row, so leaving an edited
// row posts it; Insert starts a row and Esc drops the row being edited.
//
// The columns are the user's: rereading or re-sorting the rows (which closes the
// dataset and with it every column) brings back the order, widths, titles and hidden
// columns exactly as they were.
class DatasetGrid : public QTableView {
    Q_OBJECT
  public:
    DatasetGrid(Dataset* dataset, const QString& name, const QString& title, bool editable,
                bool editOnDoubleClick, QWidget* parent = nullptr);

    Dataset* dataset() const { return dataset_; }
    DatasetTableModel* tableModel() const { return model_; }
    // Titles of the columns by name; applied when the dataset first shows its columns.
    void setColumnTitles(std::function<QString(const QString& column)> titles) {
        titles_ = std::move(titles);
    }
    // Columns the user has no use for (keys, links, time stamps).
    void setHiddenColumns(const QStringList& columns) { hidden_ = columns; }
    // Columns placed first, in this order; the others follow as the dataset has them.
    void setColumnOrder(const QStringList& columns) { order_ = columns; }
    // Read-only for a while (a deletion); a grid that is never editable stays so.
    void setLocked(bool locked);
    bool isLocked() const { return locked_; }
    QString currentColumnName() const;
    // Enters the column by name, or the first column when the name is "".
    void enterColumn(const QString& column);
    QList<Dataset::Bookmark> selectedBookmarks() const;
    // Writes the text of an open cell editor into the row; false when the row
    // refused it (the user is told and gets the text back).
    bool commitOpenEditor();

    // The arrangement of the columns on screen (order, widths, titles, hidden ones).
    GridLayout currentLayout() const;
    // What is worth keeping for the next run: no columns at all when the user has not
    // arranged any in this run; otherwise the arrangement, with width 0 for the columns
    // the grid sized itself (the next run sizes them to its rows) and an empty title
    // for the built-in ones.
    GridLayout layoutToKeep() const;
    bool arrangedByUser() const { return arrangedByUser_; }
    // A saved arrangement; applied as soon as the grid knows its columns. A layout that
    // shows a column the grid never shows (keys, links, time stamps) was not made by a
    // user: it is refused with the reason, and the grid keeps its own columns.
    bool setSavedLayout(const GridLayout& layout, QString* why = nullptr);

  Q_SIGNALS:
    // Focus came to the grid from another control, or left it for one; moving between
    // the grid and its own cell editor is neither.
    void focusEntered();
    void focusLeft();
    // A double click on a date field asks for the date picker.
    void datePickRequested(const QString& column, const QString& text);
    // A refusal to tell the user about: a cell text the row would not take, or a
    // database refusal while moving, inserting or cancelling.
    void failed(const QString& text);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    void reopenRefused(const QPersistentModelIndex& index, const QString& typed);
    void cellTyped();
    void followDataset();
    void rowEntered(const QModelIndex& current, const QModelIndex& previous);
    void configureColumns();
    void applySavedLayout();
    int columnToEnter() const;

    void beforeReset();
    void afterReset();
    QStringList datasetColumns() const;
    // The header as it stands, by the names its sections had when last arranged.
    GridLayout headerArrangement() const;
    void arrange(const GridLayout& layout);
    bool hasRows() const;
    void fitToRows();
    void headerChanged(int logical);
    QString builtInTitle(const QString& column) const;
    void focusMoved(QWidget* now);

    QPointer<Dataset> dataset_;
    DatasetTableModel* model_ = nullptr;
    std::function<QString(const QString&)> titles_;
    QStringList hidden_;
    QStringList order_;
    // The column survives rereads, which close the dataset and with it every column.
    QString column_;
    bool configured_ = false;
    bool editable_ = true;
    bool locked_ = false;
    bool following_ = false;
    std::optional<GridLayout> savedLayout_;
    EditTriggers triggers_;

    QStringList names_;               // the columns the header's sections stand for
    std::optional<GridLayout> kept_;  // the arrangement carried across a reread
    QSet<QString> autoWidths_;        // lower-case names of the columns the grid sized itself
    bool arranging_ = false;          // header changes now are the grid's, not the user's
    bool arrangedByUser_ = false;
    bool fittedToRows_ = false;
    bool focusInside_ = false;        // the grid or its cell editor holds the focus
    bool refusing_ = false;           // a refused cell text is being reported
};

} // namespace kelvarn
