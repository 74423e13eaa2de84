#pragma once

// What the table fillers share: a fixed random generator, value formatting and a
// binder that checks one row's values against the table's columns.

#include <QDate>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace kelvarn {
class DatabaseSession;
}

namespace kelvarn::bench {

[[noreturn]] void failFill(const std::string& text);

// A small fixed generator: the standard distributions are not required to give the
// same numbers on every library, the rows here should be the same everywhere.
class Random {
  public:
    explicit Random(unsigned seed) : state_(seed * 2654435761u + 1) {}
    std::uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<std::uint32_t>(state_ >> 16);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
    int between(int from, int to) { return from + below(to - from + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T, std::size_t N> const T& pick(const std::array<T, N>& items) {
        return items[static_cast<std::size_t>(below(static_cast<int>(N)))];
    }
    std::string digits(int count) {
        std::string s;
        for (int i = 0; i < count; ++i)
            s += static_cast<char>('0' + below(10));
        return s;
    }

  private:
    std::uint64_t state_;
};

std::string padded(int value, int width);
double round2(double value);
// The canonical text of the embedded database.
std::string dateText(const QDate& date, int hour = 0, int minute = 0, int second = 0);

// The SQLite handle of an embedded session; throws std::runtime_error otherwise.
sqlite3* sqliteHandleOf(DatabaseSession& session);

// Column names with their declared text sizes (-1 for other types), in table order.
// Throws std::runtime_error when the table does not exist.
std::vector<std::pair<std::string, int>> tableColumns(sqlite3* handle, const std::string& table);

// A prepared INSERT of every column of the table, finalized with the object.
class TableInsert {
  public:
    TableInsert(sqlite3* handle, const std::string& table);
    ~TableInsert();
    TableInsert(const TableInsert&) = delete;
    TableInsert& operator=(const TableInsert&) = delete;

    const std::vector<std::pair<std::string, int>>& columns() const { return columns_; }
    sqlite3_stmt* statement() const { return statement_; }

  private:
    std::vector<std::pair<std::string, int>> columns_;
    sqlite3_stmt* statement_ = nullptr;
};

// Binds one row's values by column name, checking that every column of the table is
// given exactly once and that no text exceeds the column's declared size.
class RowBinder {
  public:
    RowBinder(sqlite3* handle, const std::string& table, const TableInsert& insert);

    void text(const char* column, const std::string& value);
    void real(const char* column, double value);
    void integer(const char* column, long long value);
    void null(const char* column);
    void insertRow();

  private:
    struct Column {
        int index = 0; // 1-based parameter
        int size = -1;
        long long row = -1;
    };

    Column& take(const char* column);
    void check(int rc);

    sqlite3* handle_;
    sqlite3_stmt* statement_;
    std::string table_;
    std::vector<std::string> names_;
    std::unordered_map<std::string_view, Column> byName_; // keys view into names_
    long long row_ = 0;
    std::size_t bound_ = 0;
};

} // namespace kelvarn::bench
