#pragma once

#include "db/dataset.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>
#include <QStringList>

#include <vector>

namespace kelvarn {

// The grids' view of a Dataset. Cells are read on demand from the snapshot, so a
// list of any length costs only the rows on screen. Editing a cell puts the row
// into edit state; moving the cursor to another row posts it (the Dataset does).
class DatasetTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit DatasetTableModel(Dataset* dataset, QObject* parent = nullptr);

    Dataset* dataset() const { return dataset_; }
    // Column titles by column name (case-insensitive); absent ones show the name.
    void setTitles(const QStringList& columns, const QStringList& titles);
    // Number columns shown with a fixed count of decimals and grouped digits, by
    // lower-case column name; editing still starts from the plain value.
    void setDecimals(QHash<QString, int> decimals);
    // Columns shown but never typed into (keys), by name, case-insensitive.
    void setReadOnlyColumns(const QStringList& columns) { readOnly_ = columns; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The last error a setData call met (a text that is no number, a refused post).
    QString lastError() const { return lastError_; }

  Q_SIGNALS:
    // setData refused what the user typed (a text that is no number, one too long
    // for its column, a post the database refused); the editor has closed by then,
    // so this is the only word the user gets of it.
    void refused(const QString& text);

  private:
    void placesOfColumns();

    QPointer<Dataset> dataset_;
    QStringList titleColumns_;
    QStringList titles_;
    QString lastError_;
    QHash<QString, int> decimals_;
    std::vector<int> places_; // decimals of each column, -1 for plain text
    QStringList readOnly_;
};

} // namespace kelvarn
