#include "db/dataset_table_model.h"

#include "core/formatting.h"

#include "db/db_error.h"

namespace kelvarn {

DatasetTableModel::DatasetTableModel(Dataset* dataset, QObject* parent)
    : QAbstractTableModel(parent), dataset_(dataset) {
    connect(dataset, &Dataset::reset, this, [this] {
        beginResetModel();
        placesOfColumns();
        endResetModel();
    });
    connect(dataset, &Dataset::rowChanged, this, [this](int row) {
        if (row >= 0 && row < rowCount())
            Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
    // The dataset has already changed when it tells us; a reset is the honest
    // notification for a model whose source cannot announce changes beforehand.
    connect(dataset, &Dataset::rowInserted, this, [this](int) {
        beginResetModel();
        endResetModel();
    });
    connect(dataset, &Dataset::rowRemoved, this, [this](int) {
        beginResetModel();
        endResetModel();
    });
}

void DatasetTableModel::setDecimals(QHash<QString, int> decimals) {
    decimals_ = std::move(decimals);
    placesOfColumns();
}

void DatasetTableModel::placesOfColumns() {
    // Once per reset rather than once per cell drawn.
    places_.assign(static_cast<std::size_t>(columnCount()), -1);
    for (int c = 0; c < columnCount() && !decimals_.isEmpty(); ++c) {
        const DatasetColumn& column = dataset_->column(c);
        if (column.type == ColumnType::Float)
            places_[static_cast<std::size_t>(c)] = decimals_.value(column.name.toLower(), -1);
    }
}

void DatasetTableModel::setTitles(const QStringList& columns, const QStringList& titles) {
    titleColumns_ = columns;
    titles_ = titles;
    // Titles are set before the dataset opens, too; a closed dataset has no section
    // a change could name, and the reset on opening shows the titles anyway.
    if (columnCount() > 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int DatasetTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !dataset_ || !dataset_->isActive())
        return 0;
    return dataset_->recordCount();
}

int DatasetTableModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid() || !dataset_ || !dataset_->isActive())
        return 0;
    return dataset_->columnCount();
}

QVariant DatasetTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !dataset_ || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        const std::size_t c = static_cast<std::size_t>(index.column());
        if (c < places_.size() && places_[c] >= 0) {
            const QVariant v = dataset_->valueAt(index.row(), index.column());
            if (!v.isNull() && v.canConvert<double>())
                return formatGrouped(v.toDouble(), places_[c]);
        }
        return dataset_->textAt(index.row(), index.column());
    }
    case Qt::EditRole:
        return dataset_->textAt(index.row(), index.column());
    case Qt::TextAlignmentRole: {
        const ColumnType t = dataset_->column(index.column()).type;
        if (t == ColumnType::Integer || t == ColumnType::Float)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    default:
        return {};
    }
}

bool DatasetTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    lastError_.clear();
    if (role != Qt::EditRole || !index.isValid() || !dataset_ || dataset_->isReadOnly())
        return false;
    try {
        if (dataset_->currentRow() != index.row() && !dataset_->moveTo(index.row()))
            return false;
        if (!dataset_->isEditing())
            dataset_->edit();
        dataset_->setValue(index.column(), value);
        return true;
    } catch (const DbError& e) {
        lastError_ = e.text();
        Q_EMIT refused(lastError_);
        return false;
    }
}

QVariant DatasetTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || !dataset_)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= columnCount())
        return {};
    const QString name = dataset_->column(section).name;
    for (int i = 0; i < titleColumns_.size() && i < titles_.size(); ++i)
        if (titleColumns_[i].compare(name, Qt::CaseInsensitive) == 0)
            return titles_[i];
    return name;
}

Qt::ItemFlags DatasetTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && dataset_ && !dataset_->isReadOnly() && index.column() < columnCount() &&
        !readOnly_.contains(dataset_->column(index.column()).name, Qt::CaseInsensitive))
        f |= Qt::ItemIsEditable;
    return f;
}

} // namespace kelvarn
