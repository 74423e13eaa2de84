#include "exchange/statement_preview_model.h"

#include "core/formatting.h"
#include "exchange/statement_import_plan.h"

#include <QColor>

namespace kelvarn {

StatementPreviewModel::StatementPreviewModel(StatementImportPlan& plan, QObject* parent)
    : QAbstractTableModel(parent), plan_(plan) {}

int StatementPreviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(plan_.items().size());
}

int StatementPreviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant StatementPreviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    const PlannedItem& p = plan_.items()[static_cast<size_t>(index.row())];
    const StatementItem& item = p.item;
    if (role == Qt::TextAlignmentRole && index.column() == Amount)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ForegroundRole && index.column() == Amount && item.signedCents() < 0)
        return QColor(Qt::red);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case Date:
        return formatDate(item.date);
    case Amount:
        return formatGrouped(centsToCrowns(item.signedCents()), 2);
    case CounterAccount:
        return item.counterAccount;
    case Symbol:
        return item.variableSymbol;
    case Text: {
        QString text = item.counterName;
        if (!item.message.isEmpty())
            text += (text.isEmpty() ? QString() : QStringLiteral(" – ")) + item.message;
        return text;
    }
    case Action:
        switch (p.action) {
        case ItemAction::Pair:
            return QStringLiteral("Spárovat s %1").arg(p.documentNumber);
        case ItemAction::Book:
            return QStringLiteral("Zapsat bez dokladu");
        case ItemAction::Skip:
            return QStringLiteral("Přeskočit");
        }
        return {};
    case Note:
        return p.note;
    default:
        return {};
    }
}

QVariant StatementPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    static const char* const titles[] = {"Datum", "Částka", "Protiúčet", "VS", "Protistrana / zpráva",
                                         "Co se provede", "Poznámka"};
    if (section < 0 || section >= ColumnCount)
        return {};
    return QString::fromUtf8(titles[section]);
}

void StatementPreviewModel::refresh() {
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

QString StatementPreviewModel::summary() const {
    int paired = 0, booked = 0, skipped = 0;
    qint64 in = 0, out = 0;
    for (const PlannedItem& p : plan_.items()) {
        switch (p.action) {
        case ItemAction::Pair: ++paired; break;
        case ItemAction::Book: ++booked; break;
        case ItemAction::Skip: ++skipped; continue;
        }
        const qint64 c = p.item.signedCents();
        (c >= 0 ? in : out) += qAbs(c);
    }
    return QStringLiteral("Položek %1: spárováno %2, bez dokladu %3, přeskočeno %4. Příjmy %5, výdaje %6.")
        .arg(plan_.items().size())
        .arg(paired)
        .arg(booked)
        .arg(skipped)
        .arg(formatGrouped(centsToCrowns(in), 2), formatGrouped(centsToCrowns(out), 2));
}

} // namespace kelvarn
