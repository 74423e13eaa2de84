// Editing and writing of Dataset rows: insert/edit/post/cancel/delete and the
// statements a post generates.

#include "db/database_session.h"
#include "db/dataset.h"
#include "db/dataset_rows.h"
#include "db/db_error.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <optional>

namespace kelvarn {

namespace {

const QString kId = QStringLiteral("id");

// Ascending as the databases sort: empty values first, numbers by value, texts and
// dates by their natural order.
int compareSortValues(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    const QPartialOrdering o = QVariant::compare(a, b);
    if (o == QPartialOrdering::Less)
        return -1;
    if (o == QPartialOrdering::Greater)
        return 1;
    if (o == QPartialOrdering::Equivalent)
        return 0;
    return QString::compare(a.toString(), b.toString());
}

bool sameValue(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a == b;
}

// Commits the unit that holds a row's write. A server can go away after it
// committed and before it answered, so a failed commit there may still have
// stored the row; the user must look before entering it again.
void commitWrite(DatabaseSession& session, Transaction* unit) {
    try {
        if (unit)
            unit->commit();
        else
            session.commit();
    } catch (const DbError& e) {
        if (session.driverKind() == DriverKind::Sqlite)
            throw;
        throw DbError(QStringLiteral("Zápis záznamu se nepodařilo potvrdit: %1\r\nZáznam možná uložen byl. Než "
                                     "jej zadáte znovu, obnovte seznam (F5) a podívejte se.")
                          .arg(e.text()));
    }
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

void Dataset::beginPostTransaction() {
    if (postTransaction_ || session_.inTransaction())
        return;
    session_.beginTransaction();
    postTransaction_ = true;
}

bool Dataset::post() {
    if (!isEditing())
        return true;
    // Whatever the handler wrote in the post's transaction goes with the row or
    // not at all.
    struct PostUnit {
        Dataset& ds;
        ~PostUnit() {
            if (ds.postTransaction_) {
                ds.postTransaction_ = false;
                ds.session_.rollback();
            }
        }
    } unit{*this};
    postTransaction_ = false;
    if (beforePost && !beforePost(*this))
        return false;
    std::vector<QVariant> stored = writeRow();
    if (postTransaction_) {
        postTransaction_ = false;
        commitWrite(session_, nullptr);
    }
    // Only now, with everything committed, does the row show what was written.
    showStored(stored);
    state_ = State::Browse;
    editBuffer_.clear();
    editOriginal_.clear();
    Q_EMIT rowChanged(current_);
    keepSortOrder();
    Q_EMIT stateChanged();
    if (afterPost) {
        // From here on the record is stored whatever happens: an error now must not
        // read as a failed save, or the user enters the record a second time.
        try {
            afterPost(*this);
        } catch (const DbAfterWriteError&) {
            throw;
        } catch (const DbError& e) {
            throw DbAfterWriteError(e.text());
        }
    }
    return true;
}

void Dataset::keepSortOrder() {
    // A detail list is kept in the order of its sort columns: the saved row goes where
    // the next reread would put it, the other rows keep their places.
    if (!master_ || sortColumns_.isEmpty() || current_ < 0 || recordCount() < 2)
        return;
    std::vector<int> keys;
    for (const QString& name : std::as_const(sortColumns_))
        if (const int c = columnIndex(name); c >= 0)
            keys.push_back(c);
    const auto order = [&](int a, int b) {
        for (const int c : keys)
            if (const int o = compareSortValues(valueAt(a, c), valueAt(b, c)); o != 0)
                return o;
        return 0;
    };
    const int row = current_;
    const bool afterPrevious = row == 0 || order(row - 1, row) <= 0;
    const bool beforeNext = row == recordCount() - 1 || order(row, row + 1) <= 0;
    if (afterPrevious && beforeNext)
        return;
    int target = 0;
    for (int r = 0; r < recordCount(); ++r)
        if (r != row && order(r, row) <= 0)
            ++target;
    std::unique_ptr<Row> moving = std::move(rows_[row]);
    rows_.erase(rows_.begin() + row);
    rows_.insert(rows_.begin() + target, std::move(moving));
    current_ = target;
    Q_EMIT reset();
    Q_EMIT currentRowChanged(current_);
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

// The write and the re-read that follows it are one unit: either the row is stored
// and shown as stored, or nothing is stored and the row stays open for editing. A
// re-read that failed after a separate commit would report a failed save of a
// stored row, and the user would enter it twice. Returns the row as stored.
std::vector<QVariant> Dataset::writeRow() {
    std::vector<QVariant> stored = editBuffer_;
    // A handler's or a caller's unit of work takes the row along; otherwise the
    // row gets one of its own.
    std::optional<Transaction> unit;
    if (!session_.inTransaction())
        unit.emplace(session_);
    if (state_ == State::Insert)
        writeInsert(stored);
    else
        writeUpdate(stored);
    if (unit)
        commitWrite(session_, &*unit);
    return stored;
}

void Dataset::showStored(const std::vector<QVariant>& stored) {
    Row& row = *rows_[current_];
    QByteArray arena;
    auto cells = std::make_unique<Cell[]>(columns_.size());
    for (int c = 0; c < columnCount(); ++c)
        rows::setCell(cells[c], arena, columns_[c].type, stored[c]);
    row.cells = std::move(cells);
    row.text = std::move(arena);
}

void Dataset::writeInsert(std::vector<QVariant>& stored) {
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
    if (idColumn < 0 || newId.isNull())
        return;
    stored[idColumn] = newId;
    // An inserted row shows its generated key at once; re-reading the whole row
    // also brings back defaults the database filled in.
    reread(newId, stored);
}

void Dataset::writeUpdate(std::vector<QVariant>& stored) {
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
    if (sets.isEmpty())
        return;
    QVariantList whereBinds;
    const QString where = whereForRow(editOriginal_, whereBinds, false);
    binds << whereBinds;
    const QString statement = QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") +
                              sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ") + where;
    QSqlQuery q = session_.query(statement, binds);
    if (q.numRowsAffected() == 0)
        throw DbError(notFoundText(table));
    const int idColumn = columnIndex(kId);
    if (resync_ == 4 && idColumn >= 0)
        reread(editBuffer_[idColumn], stored);
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

void Dataset::reread(const QVariant& id, std::vector<QVariant>& stored) {
    const QString table = updateTable();
    QSqlQuery q = session_.query(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE id = ?"), {id});
    if (!q.next())
        return;
    const QSqlRecord record = q.record();
    for (int c = 0; c < columnCount(); ++c) {
        // The row comes back in snapshot order; the name search is only a fallback.
        const int src = (c < record.count() && record.fieldName(c).compare(columns_[c].name, Qt::CaseInsensitive) == 0)
                            ? c
                            : record.indexOf(columns_[c].name);
        if (src >= 0)
            stored[c] = q.value(src);
    }
}

} // namespace kelvarn
