// Editing and writing of Dataset rows: insert/edit/post/cancel/delete and the
// statements a post generates.

#include "db/database_session.h"
#include "db/dataset.h"
#include "db/dataset_rows.h"
#include "db/db_error.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace kelvarn {

namespace {

const QString kId = QStringLiteral("id");

bool sameValue(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a == b;
}

QString notFoundText(const QString& table) {
    return QStringLiteral("Záznam v tabulce %1 nebyl nalezen: mezitím jej změnil nebo smazal jiný uživatel. "
                          "Obnovte seznam (F5) a změnu proveďte znovu.")
        .arg(table);
}

} // namespace

void Dataset::beginNewRow(int at) {
    if (!isActive())
        throw DbError(QStringLiteral("%1: dataset není otevřen.").arg(name_));
    if (readOnly_)
        throw DbError(QStringLiteral("%1: data jsou jen pro čtení.").arg(name_));
    if (isEditing() && !post())
        return;
    // The details are about to show the new master's (no) rows; what is being
    // edited there belongs to the old one and is saved first, as a move would.
    for (Dataset* d : std::as_const(details_))
        if (d->isEditing() && !d->post())
            return;
    if (beforeInsert && !beforeInsert(*this))
        return;
    rowBeforeInsert_ = current_;
    auto row = std::make_unique<Row>();
    row->serial = nextSerial_++;
    row->cells.reset(new Cell[columns_.size()]);
    at = qBound(0, at, recordCount());
    rows_.insert(rows_.begin() + at, std::move(row));
    current_ = at;
    editBuffer_.assign(columns_.size(), QVariant());
    editOriginal_.assign(columns_.size(), QVariant());
    if (master_) {
        const int link = columnIndex(linkColumn_);
        if (link >= 0)
            editBuffer_[link] = masterId();
    }
    state_ = State::Insert;
    bof_ = eof_ = false;
    Q_EMIT rowInserted(at);
    Q_EMIT currentRowChanged(current_);
    Q_EMIT stateChanged();
    for (Dataset* d : std::as_const(details_))
        d->masterMoved();
    if (afterInsert)
        afterInsert(*this);
}

void Dataset::insert() {
    beginNewRow(current_ < 0 ? 0 : current_);
}

void Dataset::append() {
    beginNewRow(recordCount());
}

void Dataset::edit() {
    if (isEditing())
        return;
    if (!isActive())
        throw DbError(QStringLiteral("%1: dataset není otevřen.").arg(name_));
    if (readOnly_)
        throw DbError(QStringLiteral("%1: data jsou jen pro čtení.").arg(name_));
    if (rows_.empty()) {
        append();
        return;
    }
    editBuffer_.resize(columns_.size());
    for (int c = 0; c < columnCount(); ++c)
        editBuffer_[c] = rows::cellToVariant(*rows_[current_], c);
    editOriginal_ = editBuffer_;
    state_ = State::Edit;
    Q_EMIT stateChanged();
}

bool Dataset::post() {
    if (!isEditing())
        return true;
    if (beforePost && !beforePost(*this))
        return false;
    try {
        if (state_ == State::Insert)
            writeInsert();
        else
            writeUpdate();
    } catch (...) {
        if (afterWrite)
            afterWrite(*this, false);
        throw;
    }
    state_ = State::Browse;
    editBuffer_.clear();
    editOriginal_.clear();
    Q_EMIT rowChanged(current_);
    Q_EMIT stateChanged();
    if (afterPost)
        afterPost(*this);
    return true;
}

void Dataset::cancel() {
    if (!isEditing())
        return;
    const bool inserting = state_ == State::Insert;
    state_ = State::Browse;
    editBuffer_.clear();
    editOriginal_.clear();
    if (inserting) {
        const int removed = current_;
        rows_.erase(rows_.begin() + removed);
        Q_EMIT rowRemoved(removed);
        current_ = rows_.empty() ? -1 : qBound(0, rowBeforeInsert_, recordCount() - 1);
        Q_EMIT currentRowChanged(current_);
        for (Dataset* d : std::as_const(details_))
            d->masterMoved();
    } else {
        Q_EMIT rowChanged(current_);
    }
    Q_EMIT stateChanged();
    if (afterCancel)
        afterCancel(*this);
}

void Dataset::deleteRecord() {
    if (!isActive() || rows_.empty())
        return;
    if (readOnly_)
        throw DbError(QStringLiteral("%1: data jsou jen pro čtení.").arg(name_));
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (state_ == State::Edit)
        cancel();
    writeDelete(*rows_[current_]);
    const int removed = current_;
    rows_.erase(rows_.begin() + removed);
    Q_EMIT rowRemoved(removed);
    current_ = rows_.empty() ? -1 : qMin(removed, recordCount() - 1);
    eof_ = rows_.empty();
    Q_EMIT currentRowChanged(current_);
    for (Dataset* d : std::as_const(details_))
        d->masterMoved();
    if (afterDelete)
        afterDelete(*this);
}

// ---- statements -------------------------------------------------------------------

QString Dataset::whereForRow(const std::vector<QVariant>& original, QVariantList& binds, bool forDelete) const {
    const int idColumn = columnIndex(kId);
    QStringList parts;
    auto addCondition = [&](int c) {
        // Long texts cannot be compared on every platform; they never identify a row.
        if (columns_[c].type == ColumnType::Memo)
            return;
        if (original[c].isNull()) {
            parts << columns_[c].name + QStringLiteral(" IS NULL");
        } else {
            parts << columns_[c].name + QStringLiteral(" = ?");
            binds << original[c];
        }
    };
    const int criteria = (idColumn < 0) ? 1 : updateCriteria_;
    if (criteria != 1)
        addCondition(idColumn);
    switch (criteria) {
    case 1:
        for (int c = 0; c < columnCount(); ++c)
            addCondition(c);
        break;
    case 2:
        if (!forDelete)
            for (int c = 0; c < columnCount(); ++c)
                if (c != idColumn && !sameValue(editBuffer_[c], original[c]))
                    addCondition(c);
        break;
    case 3: {
        const int stamp = columnIndex(QStringLiteral("dateTS1"));
        if (stamp >= 0)
            addCondition(stamp);
        break;
    }
    default:
        break;
    }
    return parts.join(QStringLiteral(" AND "));
}

void Dataset::writeInsert() {
    const QString table = updateTable();
    if (table.isEmpty())
        throw DbError(QStringLiteral("%1: nelze určit tabulku pro zápis.").arg(name_));
    const int idColumn = columnIndex(kId);
    QStringList names;
    QStringList marks;
    QVariantList binds;
    for (int c = 0; c < columnCount(); ++c) {
        if (editBuffer_[c].isNull())
            continue;
        // A server would refuse (or, MariaDB without strict mode, cut) the text;
        // refused here, the row stays as typed and nothing is half written.
        checkTextFits(c, editBuffer_[c]);
        names << columns_[c].name;
        marks << QStringLiteral("?");
        binds << editBuffer_[c];
    }
    QString statement = QStringLiteral("INSERT INTO ") + table;
    if (names.isEmpty())
        statement += session_.driverKind() == DriverKind::MySql ? QStringLiteral(" () VALUES ()")
                                                                : QStringLiteral(" DEFAULT VALUES");
    else
        statement += QStringLiteral(" (") + names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                     marks.join(QStringLiteral(", ")) + QStringLiteral(")");
    QSqlQuery q = session_.query(statement, binds);
    QVariant newId = idColumn >= 0 ? editBuffer_[idColumn] : QVariant();
    if (newId.isNull())
        newId = q.lastInsertId();
    if (afterWrite)
        afterWrite(*this, true);
    Row& row = *rows_[current_];
    row.text.clear();
    for (int c = 0; c < columnCount(); ++c)
        rows::setCell(row.cells[c], row.text, columns_[c].type, editBuffer_[c]);
    if (idColumn >= 0 && !newId.isNull())
        rows::setCell(row.cells[idColumn], row.text, columns_[idColumn].type, newId);
    // An inserted row shows its generated key at once; re-reading the whole row
    // also brings back defaults the database filled in.
    if (idColumn >= 0 && !newId.isNull())
        resyncRow(newId);
}

void Dataset::writeUpdate() {
    const QString table = updateTable();
    if (table.isEmpty())
        throw DbError(QStringLiteral("%1: nelze určit tabulku pro zápis.").arg(name_));
    QStringList sets;
    QVariantList binds;
    for (int c = 0; c < columnCount(); ++c) {
        if (sameValue(editBuffer_[c], editOriginal_[c]))
            continue;
        checkTextFits(c, editBuffer_[c]);
        sets << columns_[c].name + QStringLiteral(" = ?");
        binds << editBuffer_[c];
    }
    if (!sets.isEmpty()) {
        QVariantList whereBinds;
        const QString where = whereForRow(editOriginal_, whereBinds, false);
        binds << whereBinds;
        const QString statement = QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") +
                                  sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ") + where;
        QSqlQuery q = session_.query(statement, binds);
        if (q.numRowsAffected() == 0)
            throw DbError(notFoundText(table));
    }
    if (afterWrite)
        afterWrite(*this, true);
    Row& row = *rows_[current_];
    row.text.clear();
    for (int c = 0; c < columnCount(); ++c)
        rows::setCell(row.cells[c], row.text, columns_[c].type, editBuffer_[c]);
    const int idColumn = columnIndex(kId);
    if (resync_ == 4 && idColumn >= 0 && !sets.isEmpty())
        resyncRow(editBuffer_[idColumn]);
}

void Dataset::writeDelete(const Row& row) {
    const QString table = updateTable();
    if (table.isEmpty())
        throw DbError(QStringLiteral("%1: nelze určit tabulku pro zápis.").arg(name_));
    std::vector<QVariant> original(columns_.size());
    for (int c = 0; c < columnCount(); ++c)
        original[c] = rows::cellToVariant(row, c);
    QVariantList binds;
    const QString where = whereForRow(original, binds, true);
    QSqlQuery q = session_.query(QStringLiteral("DELETE FROM ") + table + QStringLiteral(" WHERE ") + where, binds);
    if (q.numRowsAffected() == 0)
        throw DbError(notFoundText(table));
}

void Dataset::resyncRow(const QVariant& id) {
    const QString table = updateTable();
    QSqlQuery q = session_.query(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE id = ?"), {id});
    if (!q.next())
        return;
    const QSqlRecord record = q.record();
    Row& row = *rows_[current_];
    QByteArray arena;
    auto cells = std::make_unique<Cell[]>(columns_.size());
    for (int c = 0; c < columnCount(); ++c) {
        // The row comes back in snapshot order; the name search is only a fallback.
        const int src = (c < record.count() && record.fieldName(c).compare(columns_[c].name, Qt::CaseInsensitive) == 0)
                            ? c
                            : record.indexOf(columns_[c].name);
        if (src >= 0)
            rows::setCell(cells[c], arena, columns_[c].type, q.value(src));
        else
            rows::setCell(cells[c], arena, columns_[c].type, rows::cellToVariant(row, c));
    }
    row.cells = std::move(cells);
    row.text = std::move(arena);
}

} // namespace kelvarn
