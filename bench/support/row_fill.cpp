#include "support/row_fill.h"

#include "db/database_session.h"
#include "db/sql_dialect.h"

#include <QRegularExpression>
#include <QSqlDriver>

#include <sqlite3.h>

#include <cmath>
#include <stdexcept>

namespace kelvarn::bench {

void failFill(const std::string& text) {
    throw std::runtime_error(text);
}

std::string padded(int value, int width) {
    std::string s = std::to_string(value);
    return s.size() < static_cast<std::size_t>(width) ? std::string(width - s.size(), '0') + s : s;
}

double round2(double value) {
    return std::round(value * 100.0) / 100.0;
}

std::string dateText(const QDate& date, int hour, int minute, int second) {
    return sqliteDateText(date.year(), date.month(), date.day(), hour, minute, second).toStdString();
}

sqlite3* sqliteHandleOf(DatabaseSession& session) {
    const QVariant handle = session.database().driver()->handle();
    if (session.driverKind() != DriverKind::Sqlite || !handle.isValid() ||
        qstrcmp(handle.typeName(), "sqlite3*") != 0)
        failFill("not an embedded database");
    return *static_cast<sqlite3* const*>(handle.data());
}

std::vector<std::pair<std::string, int>> tableColumns(sqlite3* handle, const std::string& table) {
    sqlite3_stmt* info = nullptr;
    const std::string pragma = "PRAGMA table_info(" + table + ")";
    if (sqlite3_prepare_v2(handle, pragma.c_str(), -1, &info, nullptr) != SQLITE_OK)
        failFill(sqlite3_errmsg(handle));
    static const QRegularExpression sizeOf(QStringLiteral("CHAR\\s*\\((\\d+)\\)"),
                                           QRegularExpression::CaseInsensitiveOption);
    std::vector<std::pair<std::string, int>> columns;
    while (sqlite3_step(info) == SQLITE_ROW) {
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(info, 1));
        const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(info, 2));
        const auto m = sizeOf.match(QString::fromUtf8(type ? type : ""));
        columns.emplace_back(name, m.hasMatch() ? m.captured(1).toInt() : -1);
    }
    sqlite3_finalize(info);
    if (columns.empty())
        failFill(table + " does not exist; run the install script first");
    return columns;
}

TableInsert::TableInsert(sqlite3* handle, const std::string& table) : columns_(tableColumns(handle, table)) {
    std::string sql = "INSERT INTO " + table + " (";
    std::string marks;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        sql += (i ? ", " : "") + columns_[i].first;
        marks += i ? ", ?" : "?";
    }
    sql += ") VALUES (" + marks + ")";
    if (sqlite3_prepare_v2(handle, sql.c_str(), static_cast<int>(sql.size()), &statement_, nullptr) !=
        SQLITE_OK)
        failFill(sqlite3_errmsg(handle));
}

TableInsert::~TableInsert() {
    sqlite3_finalize(statement_);
}

RowBinder::RowBinder(sqlite3* handle, const std::string& table, const TableInsert& insert)
    : handle_(handle), statement_(insert.statement()), table_(table) {
    const auto& columns = insert.columns();
    // The map's keys point into names_: no reallocation after this.
    names_.reserve(columns.size());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        names_.push_back(columns[i].first);
        byName_[names_.back()] = {static_cast<int>(i) + 1, columns[i].second, -1};
    }
}

namespace {

std::size_t characters(const std::string& utf8) {
    std::size_t n = 0;
    for (unsigned char c : utf8)
        n += (c & 0xC0) != 0x80;
    return n;
}

} // namespace

void RowBinder::text(const char* column, const std::string& value) {
    Column& c = take(column);
    if (c.size >= 0 && characters(value) > static_cast<std::size_t>(c.size))
        failFill("'" + value + "' is longer than " + column + " allows (" + std::to_string(c.size) + ")");
    check(sqlite3_bind_text(statement_, c.index, value.data(), static_cast<int>(value.size()),
                            SQLITE_TRANSIENT));
}

void RowBinder::real(const char* column, double value) {
    check(sqlite3_bind_double(statement_, take(column).index, value));
}

void RowBinder::integer(const char* column, long long value) {
    check(sqlite3_bind_int64(statement_, take(column).index, value));
}

void RowBinder::null(const char* column) {
    check(sqlite3_bind_null(statement_, take(column).index));
}

void RowBinder::insertRow() {
    if (bound_ != byName_.size()) {
        std::string missing;
        for (const std::string& name : names_)
            if (byName_[name].row != row_)
                missing += " " + name;
        failFill(table_ + " columns the filler does not fill:" + missing);
    }
    if (sqlite3_step(statement_) != SQLITE_DONE)
        failFill(sqlite3_errmsg(handle_));
    check(sqlite3_reset(statement_));
    ++row_;
    bound_ = 0;
}

RowBinder::Column& RowBinder::take(const char* column) {
    const auto it = byName_.find(column);
    if (it == byName_.end())
        failFill(table_ + " has no column " + column);
    if (it->second.row == row_)
        failFill(std::string("column bound twice: ") + column);
    it->second.row = row_;
    ++bound_;
    return it->second;
}

void RowBinder::check(int rc) {
    if (rc != SQLITE_OK)
        failFill(sqlite3_errmsg(handle_));
}

} // namespace kelvarn::bench
