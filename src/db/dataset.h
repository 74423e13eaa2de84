#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace kelvarn {

class DatabaseSession;
struct DatasetCell;
struct DatasetRow;

struct LocateOptions {
    bool partialKey = false;      // begins-with
    bool caseInsensitive = false;
};

enum class ColumnType { Unknown, Integer, Float, Text, DateTime, Memo };

struct DatasetColumn {
    QString name;
    ColumnType type = ColumnType::Unknown;
    int size = -1; // most characters a Text column holds; -1 unknown (memos, other types)
};

// A client-side snapshot of a query or a table: rows in memory, a cursor, fields by
// name with typed access and old values, the states browse/edit/insert, the six
// events and a post that writes the row with generated statements.
//
// Rows are stored compactly (one cell array and one text arena per row) so that
// lists of a hundred thousand documents stay small; the row being edited lives in
// an edit buffer of QVariants.
class Dataset : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Bookmark = quint64; // 0 is "no bookmark"

    Dataset(DatabaseSession& session, QString name, QObject* parent = nullptr);
    ~Dataset() override;

    const QString& name() const { return name_; }
    DatabaseSession& session() { return session_; }

    // --- what the dataset reads -------------------------------------------------
    // A query dataset runs its statement as given (already composed for the platform).
    void setSql(const QString& statement);
    const QString& sql() const { return sql_; }
    // A table dataset reads the whole table, or with a master only the rows whose
    // link column equals the master's id, ordered by the sort columns.
    void setTable(const QString& table);
    void setMaster(Dataset* master, const QString& linkColumn, const QStringList& sortColumns);
    Dataset* master() const { return master_; }
    // The table posts write to; derived from "FROM <table>" when not set.
    void setUpdateTable(const QString& table) { updateTable_ = table; }
    QString updateTable() const;
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool isReadOnly() const { return readOnly_; }

    // Post properties (ADO's "Update Criteria" 0..3 and "Update Resync" 1/4).
    void setUpdateCriteria(int criteria) { updateCriteria_ = criteria; }
    int updateCriteria() const { return updateCriteria_; }
    void setResync(int resync) { resync_ = resync; }
    int resync() const { return resync_; }

    // --- lifecycle ----------------------------------------------------------------
    void open();   // throws DbError; the dataset stays closed then
    void close();
    bool isActive() const { return state_ != State::Inactive; }
    // Re-runs the statement and returns to the same row (by id) where it still exists.
    void refresh();

    // --- cursor -------------------------------------------------------------------
    int recordCount() const { return static_cast<int>(rows_.size()); }
    int currentRow() const { return current_; } // -1 when empty
    bool isEmpty() const { return rows_.empty(); }
    void first();
    void prior();
    void next();
    void last();
    bool moveTo(int row);
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }

    // Makes the first row whose column equals (or begins with) value current.
    bool locate(const QString& column, const QVariant& value, LocateOptions options = {});

    Bookmark bookmark() const;
    bool gotoBookmark(Bookmark mark);
    bool bookmarkValid(Bookmark mark) const;
    int rowOfBookmark(Bookmark mark) const;
    Bookmark bookmarkAt(int row) const;

    // --- fields -------------------------------------------------------------------
    int columnCount() const { return static_cast<int>(columns_.size()); }
    const DatasetColumn& column(int index) const { return columns_[index]; }
    int columnIndex(const QString& name) const; // case-insensitive, -1 when absent
    bool hasColumn(const QString& name) const { return columnIndex(name) >= 0; }

    QVariant value(const QString& column) const;
    QVariant value(int column) const;
    QVariant valueAt(int row, int column) const;
    QVariant oldValue(const QString& column) const;
    QString asString(const QString& column) const;  // "" for null
    QString textAt(int row, int column) const;      // the plain text form of a cell
    qint64 asInteger(const QString& column) const;  // 0 for null
    double asFloat(const QString& column) const;    // 0 for null
    QDateTime asDateTime(const QString& column) const;
    bool isNull(const QString& column) const;
    bool isModified(const QString& column) const;

    // Only in edit or insert state. Text is converted to the column's type with the
    // locale conventions; a text that is no number or date, or one longer than the
    // column holds, throws DbError and leaves the row as it was.
    void setValue(const QString& column, const QVariant& value);
    void setValue(int column, const QVariant& value);
    void setNull(const QString& column) { setValue(column, QVariant()); }

    // --- state --------------------------------------------------------------------
    State state() const { return state_; }
    bool isEditing() const { return state_ == State::Edit || state_ == State::Insert; }
    void insert(); // a new row before the current one
    void append(); // a new row at the end
    void edit();
    // Writes the row. Returns false when a BeforePost handler aborted (nothing
    // written, the state stays). Throws DbError when the database refuses; nothing
    // is stored then and the row stays in its state. Once the row is committed the
    // post counts as done: an error of the AfterPost handler comes as
    // DbAfterWriteError, whose text says the record was stored.
    bool post();
    // For a BeforePost handler that writes elsewhere before the row itself (a
    // number drawn from its series): opens a transaction that ends with this post,
    // committed together with the row, rolled back when the handler aborts or the
    // write fails. Does nothing when a transaction is already open.
    void beginPostTransaction();
    void cancel();
    // Deletes the current row. Throws DbError when the database refuses.
    void deleteRecord();

    // --- events -------------------------------------------------------------------
    // A Before… handler returns false to abort the operation silently.
    std::function<bool(Dataset&)> beforeInsert;
    std::function<void(Dataset&)> afterInsert;
    std::function<bool(Dataset&)> beforePost;
    std::function<void(Dataset&)> afterPost;
    std::function<void(Dataset&)> afterCancel;
    std::function<void(Dataset&)> afterDelete;

Q_SIGNALS:
    void reset();                 // rows or columns replaced (open, close, refresh)
    void rowChanged(int row);
    void rowInserted(int row);
    void rowRemoved(int row);
    void currentRowChanged(int row);
    void stateChanged();

private:
    using Cell = DatasetCell;
    using Row = DatasetRow;
    class Loader;

    void load();
    void setCurrent(int row, bool notify = true);
    void beginNewRow(int at);
    QVariant cellValue(const Row& row, int column) const;
    QVariant convertForColumn(int column, const QVariant& value) const;
    void applyCharacterSizes();
    void checkTextFits(int column, const QVariant& value) const;
    std::unique_ptr<Row> encodeRow(const std::vector<QVariant>& values, quint64 serial) const;
    std::vector<QVariant> writeRow();
    void showStored(const std::vector<QVariant>& stored);
    void writeInsert(std::vector<QVariant>& stored);
    void writeUpdate(std::vector<QVariant>& stored);
    void writeDelete(const Row& row);
    QString whereForRow(const std::vector<QVariant>& original, QVariantList& binds, bool forDelete) const;
    void reread(const QVariant& id, std::vector<QVariant>& stored);
    void masterMoved();
    void keepSortOrder();
    QVariant masterId() const;
    QString statementToRun() const;

    DatabaseSession& session_;
    QString name_;
    QString sql_;
    QString table_;
    QString updateTable_;
    Dataset* master_ = nullptr;
    QString linkColumn_;
    QStringList sortColumns_;
    bool readOnly_ = false;
    int updateCriteria_ = 0;
    int resync_ = 4;

    std::vector<DatasetColumn> columns_;
    std::vector<std::unique_ptr<Row>> rows_;
    quint64 nextSerial_ = 1;
    int current_ = -1;
    bool bof_ = true;
    bool eof_ = true;
    State state_ = State::Inactive;
    std::vector<QVariant> editBuffer_;
    std::vector<QVariant> editOriginal_;
    int rowBeforeInsert_ = -1;
    QList<Dataset*> details_;
    bool postTransaction_ = false;
};

} // namespace kelvarn
