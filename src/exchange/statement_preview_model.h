#pragma once

#include <QAbstractTableModel>

namespace kelvarn {

class StatementImportPlan;

// The statement preview: one row per item with what the import will do with it.
// The plan stays owned by the caller; changes made through the plan are shown
// after refresh().
class StatementPreviewModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { Date, Amount, CounterAccount, Symbol, Text, Action, Note, ColumnCount };

    explicit StatementPreviewModel(StatementImportPlan& plan, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void refresh();
    // A one-line summary: items, paired, written without a document, skipped, sums.
    QString summary() const;

  private:
    StatementImportPlan& plan_;
};

} // namespace kelvarn
