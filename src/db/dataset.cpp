#include "db/dataset.h"

#include "core/formatting.h"
#include "db/database_session.h"
#include "db/dataset_rows.h"
#include "db/db_error.h"
#include "db/field_refusal.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlRecord>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>

namespace kelvarn {

namespace {

ColumnType typeFromDeclared(const QString& declared) {
    const QString d = declared.toUpper();
    if (d.contains(QLatin1String("DATE")) || d.contains(QLatin1String("TIME")))
        return ColumnType::DateTime;
    if (d.contains(QLatin1String("INT")) || d.contains(QLatin1String("COUNTER")))
        return ColumnType::Integer;
    if (d.contains(QLatin1String("REAL")) || d.contains(QLatin1String("FLOA")) || d.contains(QLatin1String("DOUB")) ||
        d.contains(QLatin1String("NUM")) || d.contains(QLatin1String("DEC")) || d.contains(QLatin1String("CURRENCY")))
        return ColumnType::Float;
    if (d.contains(QLatin1String("MEMO")) || d == QLatin1String("TEXT") || d.contains(QLatin1String("CLOB")) ||
        d.contains(QLatin1String("BLOB")))
        return ColumnType::Memo;
    if (d.contains(QLatin1String("CHAR")) || d.contains(QLatin1String("TEXT")))
        return ColumnType::Text;
    return ColumnType::Unknown;
}

int sizeFromDeclared(const QString& declared) {
    static const QRegularExpression re(QStringLiteral("\\((\\d+)\\)"));
    const auto m = re.match(declared);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

ColumnType typeFromField(const QSqlField& field) {
    switch (field.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::UChar:
    case QMetaType::Bool:
        return ColumnType::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return ColumnType::Float;
    case QMetaType::QDateTime:
    case QMetaType::QDate:
        return ColumnType::DateTime;
    case QMetaType::QByteArray:
        return ColumnType::Memo;
    case QMetaType::QString:
        // Long texts without a declared size are memos on the server platforms.
        return field.length() > 0 && field.length() <= 4000 ? ColumnType::Text : ColumnType::Memo;
    default:
        return ColumnType::Unknown;
    }
}

sqlite3* sqliteHandle(DatabaseSession& session) {
    if (session.driverKind() != DriverKind::Sqlite || !session.isOpen())
        return nullptr;
    const QVariant handle = session.database().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.data());
}

} // namespace

// Reads a statement into rows. The embedded database is read through SQLite's own
// interface: going through QVariant for every cell of a large list costs several
// times what the read itself costs.
class Dataset::Loader {
public:
    static void load(Dataset& ds, const QString& statement) {
        if (sqlite3* h = sqliteHandle(ds.session_))
            loadSqlite(ds, h, statement);
        else
            loadGeneric(ds, statement);
    }

private:
    static void loadSqlite(Dataset& ds, sqlite3* h, const QString& statement) {
        const QString native = ds.session_.nativeStatement(statement);
        ds.session_.beforeStatement(native);
        const QByteArray sql = native.toUtf8();
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(h, sql.constData(), static_cast<int>(sql.size()), &stmt, nullptr) != SQLITE_OK)
            throw DbError(QString::fromUtf8(sqlite3_errmsg(h)));
        struct Finalizer {
            sqlite3_stmt* s;
            ~Finalizer() { sqlite3_finalize(s); }
        } finalizer{stmt};

        const int n = sqlite3_column_count(stmt);
        ds.columns_.clear();
        for (int i = 0; i < n; ++i) {
            DatasetColumn c;
            c.name = QString::fromUtf8(sqlite3_column_name(stmt, i));
            const char* decl = sqlite3_column_decltype(stmt, i);
            const QString declared = decl ? QString::fromUtf8(decl) : QString();
            c.type = typeFromDeclared(declared);
            c.size = sizeFromDeclared(declared);
            ds.columns_.push_back(c);
        }
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            auto row = std::make_unique<Row>();
            row->serial = ds.nextSerial_++;
            row->cells.reset(new Cell[n]);
            for (int i = 0; i < n; ++i) {
                Cell& cell = row->cells[i];
                switch (sqlite3_column_type(stmt, i)) {
                case SQLITE_INTEGER:
                    if (ds.columns_[i].type == ColumnType::Float) {
                        cell.kind = CellKind::Float;
                        cell.real = static_cast<double>(sqlite3_column_int64(stmt, i));
                    } else {
                        cell.kind = CellKind::Integer;
                        cell.integer = sqlite3_column_int64(stmt, i);
                    }
                    break;
                case SQLITE_FLOAT:
                    cell.kind = CellKind::Float;
                    cell.real = sqlite3_column_double(stmt, i);
                    break;
                case SQLITE_NULL:
                    break;
                default: {
                    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
                    const int len = sqlite3_column_bytes(stmt, i);
                    if (ds.columns_[i].type == ColumnType::DateTime &&
                        rows::parseCanonicalDate(text, len, cell.stamp)) {
                        cell.kind = CellKind::DateTime;
                    } else {
                        cell.kind = CellKind::Text;
                        cell.offset = static_cast<quint32>(row->text.size());
                        cell.length = static_cast<quint32>(len);
                        row->text.append(text, len);
                    }
                }
                }
            }
            ds.rows_.push_back(std::move(row));
        }
        if (rc != SQLITE_DONE)
            throw DbError(QString::fromUtf8(sqlite3_errmsg(h)));
    }

    static void loadGeneric(Dataset& ds, const QString& statement) {
        QSqlQuery q = ds.session_.query(statement);
        const QSqlRecord record = q.record();
        const int n = record.count();
        ds.columns_.clear();
        for (int i = 0; i < n; ++i) {
            DatasetColumn c;
            c.name = record.fieldName(i);
            c.type = typeFromField(record.field(i));
            c.size = c.type == ColumnType::Text ? record.field(i).length() : -1;
            ds.columns_.push_back(c);
        }
        while (q.next()) {
            auto row = std::make_unique<Row>();
            row->serial = ds.nextSerial_++;
            row->cells.reset(new Cell[n]);
            for (int i = 0; i < n; ++i)
                rows::setCell(row->cells[i], row->text, ds.columns_[i].type, q.value(i));
            ds.rows_.push_back(std::move(row));
        }
    }
};

Dataset::Dataset(DatabaseSession& session, QString name, QObject* parent)
    : QObject(parent), session_(session), name_(std::move(name)) {}

Dataset::~Dataset() {
    if (master_)
        master_->details_.removeAll(this);
    for (Dataset* d : std::as_const(details_))
        d->master_ = nullptr;
}

void Dataset::setSql(const QString& statement) {
    sql_ = statement;
    table_.clear();
}

void Dataset::setTable(const QString& table) {
    table_ = table;
    sql_.clear();
}

void Dataset::setMaster(Dataset* master, const QString& linkColumn, const QStringList& sortColumns) {
    if (master_)
        master_->details_.removeAll(this);
    master_ = master;
    linkColumn_ = linkColumn;
    sortColumns_ = sortColumns;
    if (master_)
        master_->details_.append(this);
}

QString Dataset::updateTable() const {
    if (!updateTable_.isEmpty())
        return updateTable_;
    if (!table_.isEmpty())
        return table_;
    static const QRegularExpression from(QStringLiteral("\\bFROM\\s+([A-Za-z_][A-Za-z0-9_$]*)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = from.match(sql_);
    return m.hasMatch() ? m.captured(1) : QString();
}

QVariant Dataset::masterId() const {
    if (!master_ || !master_->isActive() || master_->isEmpty() || master_->state_ == State::Insert)
        return {};
    return master_->value(QStringLiteral("id"));
}

QString Dataset::statementToRun() const {
    if (table_.isEmpty())
        return sql_;
    QString statement = QStringLiteral("SELECT * FROM ") + table_;
    if (master_) {
        const QVariant id = masterId();
        if (id.isNull())
            statement += QStringLiteral(" WHERE 1=0");
        else
            statement += QStringLiteral(" WHERE ") + linkColumn_ + QStringLiteral("=") + QString::number(id.toLongLong());
        if (!sortColumns_.isEmpty())
            statement += QStringLiteral(" ORDER BY ") + sortColumns_.join(QStringLiteral(", "));
    }
    return statement;
}

void Dataset::load() {
    rows_.clear();
    editBuffer_.clear();
    editOriginal_.clear();
    try {
        Loader::load(*this, statementToRun());
        applyCharacterSizes();
    } catch (...) {
        rows_.clear();
        columns_.clear();
        state_ = State::Inactive;
        current_ = -1;
        Q_EMIT reset();
        throw;
    }
}

void Dataset::applyCharacterSizes() {
    // The servers' drivers give the length in bytes of the connection's character
    // set (four per character in UTF-8), which would let through texts the column
    // cannot hold; the catalogue knows the declared characters of the table posts
    // write to. Other text columns (joined, computed) are never written: unknown.
    const DriverKind kind = session_.driverKind();
    if (kind != DriverKind::MySql && kind != DriverKind::Firebird)
        return;
    const bool anyText = std::any_of(columns_.begin(), columns_.end(),
                                     [](const DatasetColumn& c) { return c.type == ColumnType::Text; });
    if (!anyText)
        return;
    const QHash<QString, int> lengths = session_.textColumnLengths(updateTable());
    for (DatasetColumn& c : columns_)
        if (c.type == ColumnType::Text)
            c.size = lengths.value(c.name.toLower(), -1);
}

void Dataset::open() {
    if (isActive())
        return;
    if (sql_.isEmpty() && table_.isEmpty())
        throw DbError(QStringLiteral("Dataset %1 nemá žádný příkaz.").arg(name_));
    load();
    state_ = State::Browse;
    current_ = rows_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.empty();
    Q_EMIT reset();
    Q_EMIT stateChanged();
    Q_EMIT currentRowChanged(current_);
    for (Dataset* d : std::as_const(details_))
        d->masterMoved();
}

void Dataset::close() {
    if (!isActive())
        return;
    rows_.clear();
    columns_.clear();
    editBuffer_.clear();
    editOriginal_.clear();
    current_ = -1;
    state_ = State::Inactive;
    Q_EMIT reset();
    Q_EMIT stateChanged();
    for (Dataset* d : std::as_const(details_))
        d->masterMoved();
}

void Dataset::refresh() {
    if (!isActive()) {
        open();
        return;
    }
    if (isEditing())
        throw DbError(QStringLiteral("Záznam se právě upravuje; nejdříve jej uložte nebo zrušte."));
    const int idColumn = columnIndex(QStringLiteral("id"));
    const QVariant id = (idColumn >= 0 && current_ >= 0) ? value(idColumn) : QVariant();
    const int oldRow = current_;
    load();
    state_ = State::Browse;
    int target = rows_.empty() ? -1 : qBound(0, oldRow, recordCount() - 1);
    if (!id.isNull()) {
        const int newId = columnIndex(QStringLiteral("id"));
        for (int r = 0; newId >= 0 && r < recordCount(); ++r)
            if (valueAt(r, newId) == id) {
                target = r;
                break;
            }
    }
    current_ = target;
    bof_ = eof_ = rows_.empty();
    Q_EMIT reset();
    Q_EMIT currentRowChanged(current_);
    for (Dataset* d : std::as_const(details_))
        d->masterMoved();
}

void Dataset::masterMoved() {
    if (!isActive())
        return;
    // The details of a moving master are posted before it moves (setCurrent); what
    // is still being edited here can only be an empty new row.
    if (isEditing())
        cancel();
    load();
    state_ = State::Browse;
    current_ = rows_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.empty();
    Q_EMIT reset();
    Q_EMIT currentRowChanged(current_);
}

// ---- cursor -----------------------------------------------------------------------

void Dataset::setCurrent(int row, bool notify) {
    if (row == current_ || rows_.empty())
        return;
    // The post may move the saved row into its sort place; the move goes to the row
    // that was asked for, wherever it stands then.
    const quint64 target = rows_[static_cast<std::size_t>(qBound(0, row, recordCount() - 1))]->serial;
    if (isEditing() && !post())
        return;
    for (Dataset* d : std::as_const(details_))
        if (d->isEditing() && !d->post())
            return;
    if (const int moved = rowOfBookmark(target); moved >= 0)
        row = moved;
    current_ = qBound(0, row, recordCount() - 1);
    if (notify)
        Q_EMIT currentRowChanged(current_);
    for (Dataset* d : std::as_const(details_))
        d->masterMoved();
}

void Dataset::first() {
    setCurrent(0);
    bof_ = true;
    eof_ = rows_.empty();
}

void Dataset::last() {
    setCurrent(recordCount() - 1);
    eof_ = true;
    bof_ = rows_.empty();
}

void Dataset::next() {
    if (current_ >= recordCount() - 1) {
        eof_ = true;
        if (isEditing())
            post();
        return;
    }
    const int from = current_;
    setCurrent(current_ + 1);
    bof_ = false;
    // A refused post keeps the cursor; walking loops must still come to an end.
    eof_ = current_ == from;
}

void Dataset::prior() {
    if (current_ <= 0) {
        bof_ = true;
        if (isEditing())
            post();
        return;
    }
    const int from = current_;
    setCurrent(current_ - 1);
    eof_ = false;
    bof_ = current_ == from;
}

bool Dataset::moveTo(int row) {
    if (row < 0 || row >= recordCount())
        return false;
    // Arriving is reaching that row, also when saving the edited one moved it.
    const Bookmark wanted = bookmarkAt(row);
    setCurrent(row);
    bof_ = eof_ = false;
    return bookmarkAt(current_) == wanted;
}

bool Dataset::locate(const QString& column, const QVariant& value, LocateOptions options) {
    const int c = columnIndex(column);
    if (c < 0 || rows_.empty())
        return false;
    const Qt::CaseSensitivity cs = options.caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const bool textual = options.partialKey || options.caseInsensitive || value.typeId() == QMetaType::QString;
    const QString wanted = value.toString();
    for (int r = 0; r < recordCount(); ++r) {
        const QVariant v = valueAt(r, c);
        bool match;
        if (value.isNull())
            match = v.isNull();
        else if (v.isNull())
            match = false;
        else if (textual) {
            const QString text = v.typeId() == QMetaType::QString ? v.toString() : textAt(r, c);
            match = options.partialKey ? text.startsWith(wanted, cs) : text.compare(wanted, cs) == 0;
        } else
            match = v == value || (v.canConvert<double>() && value.canConvert<double>() &&
                                   v.toDouble() == value.toDouble());
        if (match)
            return moveTo(r);
    }
    return false;
}

Dataset::Bookmark Dataset::bookmark() const {
    return bookmarkAt(current_);
}

Dataset::Bookmark Dataset::bookmarkAt(int row) const {
    return (row >= 0 && row < recordCount()) ? rows_[row]->serial : 0;
}

int Dataset::rowOfBookmark(Bookmark mark) const {
    if (mark == 0)
        return -1;
    for (int r = 0; r < recordCount(); ++r)
        if (rows_[r]->serial == mark)
            return r;
    return -1;
}

bool Dataset::bookmarkValid(Bookmark mark) const {
    return rowOfBookmark(mark) >= 0;
}

bool Dataset::gotoBookmark(Bookmark mark) {
    const int r = rowOfBookmark(mark);
    return r >= 0 && moveTo(r);
}

// ---- fields -----------------------------------------------------------------------

int Dataset::columnIndex(const QString& name) const {
    for (int i = 0; i < columnCount(); ++i)
        if (columns_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant Dataset::valueAt(int row, int column) const {
    if (row < 0 || row >= recordCount() || column < 0 || column >= columnCount())
        return {};
    if (row == current_ && isEditing())
        return editBuffer_[column];
    return rows::cellToVariant(*rows_[row], column);
}

QVariant Dataset::value(int column) const {
    return valueAt(current_, column);
}

QVariant Dataset::value(const QString& column) const {
    const int c = columnIndex(column);
    if (c < 0)
        throw DbError(QStringLiteral("%1: pole \"%2\" nebylo nalezeno.").arg(name_, column));
    return value(c);
}

QVariant Dataset::oldValue(const QString& column) const {
    const int c = columnIndex(column);
    if (c < 0)
        throw DbError(QStringLiteral("%1: pole \"%2\" nebylo nalezeno.").arg(name_, column));
    if (isEditing())
        return editOriginal_[c];
    return value(c);
}

QString Dataset::textAt(int row, int column) const {
    const QVariant v = valueAt(row, column);
    if (v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::Double:
        return formatGeneral(v.toDouble());
    case QMetaType::QDateTime:
        return formatDateTime(v.toDateTime());
    default:
        return v.toString();
    }
}

QString Dataset::asString(const QString& column) const {
    const int c = columnIndex(column);
    if (c < 0)
        throw DbError(QStringLiteral("%1: pole \"%2\" nebylo nalezeno.").arg(name_, column));
    return textAt(current_, c);
}

qint64 Dataset::asInteger(const QString& column) const {
    const QVariant v = value(column);
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::Double)
        return qRound64(v.toDouble());
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        const qint64 n = v.toString().trimmed().toLongLong(&ok);
        if (!ok)
            throw DbError(QStringLiteral("\"%1\" není platné celé číslo.").arg(v.toString()));
        return n;
    }
    return v.toLongLong();
}

double Dataset::asFloat(const QString& column) const {
    const QVariant v = value(column);
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::QString) {
        double d = 0;
        if (!parseNumber(v.toString(), d))
            throw DbError(numberRefusal(v.toString()));
        return d;
    }
    return v.toDouble();
}

QDateTime Dataset::asDateTime(const QString& column) const {
    const QVariant v = value(column);
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QString) {
        QDateTime dt;
        if (parseDateTime(v.toString(), dt))
            return dt;
        const QByteArray utf8 = v.toString().toUtf8();
        qint64 stamp = 0;
        if (rows::parseCanonicalDate(utf8.constData(), static_cast<int>(utf8.size()), stamp))
            return rows::dateTimeOf(stamp);
        return {};
    }
    return v.toDateTime();
}

bool Dataset::isNull(const QString& column) const {
    return value(column).isNull();
}

bool Dataset::isModified(const QString& column) const {
    const int c = columnIndex(column);
    return c >= 0 && isEditing() && editBuffer_[c] != editOriginal_[c];
}

QVariant Dataset::convertForColumn(int column, const QVariant& v) const {
    if (!v.isValid() || v.isNull())
        return {};
    const DatasetColumn& col = columns_[column];
    const bool isText = v.typeId() == QMetaType::QString;
    if (isText && v.toString().trimmed().isEmpty() && col.type != ColumnType::Text && col.type != ColumnType::Memo &&
        col.type != ColumnType::Unknown)
        return {};
    switch (col.type) {
    case ColumnType::Integer: {
        if (isText) {
            double d = 0;
            // The range check comes first: converting a double beyond qint64 is undefined.
            if (!parseNumber(v.toString(), d) || std::fabs(d) >= 9.2e18 ||
                d != static_cast<double>(static_cast<qint64>(d)))
                throw DbError(numberRefusal(v.toString(), true));
            return QVariant(static_cast<qint64>(d));
        }
        if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
            return QVariant(qRound64(v.toDouble()));
        return QVariant(v.toLongLong());
    }
    case ColumnType::Float: {
        if (isText) {
            double d = 0;
            if (!parseNumber(v.toString(), d))
                throw DbError(numberRefusal(v.toString()));
            return QVariant(d);
        }
        return QVariant(v.toDouble());
    }
    case ColumnType::DateTime: {
        QDateTime dt;
        if (isText) {
            if (!parseDateTime(v.toString(), dt))
                throw DbError(QStringLiteral("\"%1\" není platné datum.").arg(v.toString()));
        } else if (v.typeId() == QMetaType::QDate) {
            dt = QDateTime(v.toDate(), QTime(0, 0));
        } else {
            dt = v.toDateTime();
        }
        // Seconds are what every platform keeps; finer parts would make the
        // snapshot differ from the stored row.
        const QTime t = dt.time();
        return QDateTime(dt.date(), QTime(t.hour(), t.minute(), t.second()));
    }
    case ColumnType::Text:
    case ColumnType::Memo:
        if (v.typeId() == QMetaType::QByteArray)
            return QString::fromUtf8(v.toByteArray());
        if (v.typeId() == QMetaType::Double)
            return formatGeneral(v.toDouble());
        return v.toString();
    case ColumnType::Unknown:
        break;
    }
    return v;
}

void Dataset::checkTextFits(int column, const QVariant& v) const {
    const DatasetColumn& col = columns_[column];
    if (col.type != ColumnType::Text || col.size <= 0 || v.typeId() != QMetaType::QString)
        return;
    const qsizetype given = characterCount(v.toString());
    if (given > col.size)
        throw DbError(tooLongText(col.name, col.size, given));
}

void Dataset::setValue(const QString& column, const QVariant& v) {
    const int c = columnIndex(column);
    if (c < 0)
        throw DbError(QStringLiteral("%1: pole \"%2\" nebylo nalezeno.").arg(name_, column));
    setValue(c, v);
}

void Dataset::setValue(int column, const QVariant& v) {
    if (!isEditing())
        throw DbError(QStringLiteral("%1: záznam není v režimu úprav.").arg(name_));
    if (column < 0 || column >= columnCount())
        throw DbError(QStringLiteral("%1: neplatné pole.").arg(name_));
    QVariant converted = convertForColumn(column, v);
    checkTextFits(column, converted);
    editBuffer_[column] = std::move(converted);
    Q_EMIT rowChanged(current_);
}

} // namespace kelvarn
