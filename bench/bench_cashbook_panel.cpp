// The cash-book list ("Příjmy a výdaje") of a large book: the first show of its
// module, a refresh, sorting by one column and scrolling its grid, the first three
// next to the sqlite3 command-line tool running the same statement on the same file.
//
//   build-bench/bench/bench_cashbook_panel
//
// Every benchmark reports its wall time as the median of its repetitions, with
// counters: tool_ms (median sqlite3 run, process start included), ratio (time / tool
// time), cpu_ms, tool_cpu_ms and cpu_ratio (the same in CPU time, steadier on a busy
// machine), peak_rss_MiB (peak resident size of the process so far) and rows. The
// scrolling benchmark reports screen_us, one screen of 40 rows. A summary with the
// targets and the statements follows the table.
// The run fails (exit code 1) when a refresh or sort does not come back to the record
// the cursor stood on.

#include "app/module_datasets.h"
#include "core/diagnostic_log.h"
#include "db/dataset.h"
#include "db/czech_order.h"
#include "db/dataset_table_model.h"
#include "db/db_context.h"
#include "db/db_error.h"
#include "lists/panel_queries.h"
#include "support/bench_database.h"
#include "support/null_shell_view.h"
#include "support/cashbook_fill.h"
#include "support/sqlite_tool.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace kelvarn;
using namespace kelvarn::bench;

namespace {

constexpr int kRows = 100000;
constexpr int kToolRuns = 5;
constexpr int kCashBookTab = 1;
constexpr int kScreens = 50;
constexpr int kScreenRows = 40;
const QString kPanel = QStringLiteral("FormHlavniKniha");
const QString kDataset = QStringLiteral("ADOFormHlavniKniha");
const char* const kSortColumns[] = {"datum", "popis"};

// One installed database with a filled cash book, and the sqlite3 tool's time for
// each statement asked about.
struct Book {
    std::unique_ptr<BenchDatabase> db;
    int rows = 0;
    std::string error;
    std::map<QString, ToolTimes> toolTimes;
    std::map<QString, std::string> toolErrors;
};

std::map<int, std::unique_ptr<Book>> books;

// Built once per size: installing and filling take longer than the benchmarks.
Book& theBook(int rows) {
    std::unique_ptr<Book>& book = books[rows];
    if (book)
        return *book;
    book = std::make_unique<Book>();
    book->rows = rows;
    try {
        book->db = createInstalledDatabase();
        fillCashBook(book->db->session, rows);
    } catch (const std::exception& e) {
        book->error = e.what();
    }
    return *book;
}

// Median sqlite3 times for the statement; 0 (no ratio) when the tool cannot run.
ToolTimes toolTimes(Book& book, const QString& statement) {
    const auto known = book.toolTimes.find(statement);
    if (known != book.toolTimes.end())
        return known->second;
    ToolTimes times;
    // The tool has no Czech collation: it sorts text by character code, the cheapest
    // order there is, which makes it the stricter reference.
    QString forTool = statement;
    forTool.remove(QStringLiteral(" COLLATE ") + CzechOrder::kSqliteCollation);
    try {
        times = sqliteToolTimes(book.db->file, forTool, kToolRuns);
    } catch (const std::exception& e) {
        book.toolErrors[statement] = e.what();
    }
    book.toolTimes[statement] = times;
    return times;
}

struct Timing {
    double wall = 0;
    double cpu = 0;
};

// Wall and CPU time of this process from construction on.
class Stopwatch {
  public:
    Timing elapsed() const { return {secondsSince(wall_), processCpuSeconds() - cpu_}; }

  private:
    Clock::time_point wall_ = Clock::now();
    double cpu_ = processCpuSeconds();
};

// The main window without widgets: every module dataset registered and closed, the
// lists' statements composed as the start-up composes them, and the cash-book grid's
// model over its dataset.
struct Window {
    explicit Window(BenchDatabase& db)
        : context(db.session, db.state, prompts, log), queries(context),
          entrepreneur(db.session, QStringLiteral("ADOFormPodnikatel")),
          modules(db.session, context, entrepreneur, queries, shell) {
        entrepreneur.setTable(QStringLiteral("tbl_podnikatel"));
        queries.init([this](const QString& name) { return modules.dataset(name); });
        cashBook = modules.dataset(kDataset);
        grid = std::make_unique<DatasetTableModel>(cashBook);
        QObject::connect(grid.get(), &QAbstractItemModel::modelReset, [this] { ++gridResets; });
    }

    ModuleController& controller() { return modules.controller(); }
    // The statement the cash book runs, as the database gets it.
    QString statement() { return cashBook->session().nativeStatement(cashBook->sql()); }

    YesPrompts prompts;
    DiagnosticLog log;
    NullShellView shell;
    DbContext context;
    PanelQueries queries;
    Dataset entrepreneur;
    ModuleDatasets modules;
    Dataset* cashBook = nullptr;
    std::unique_ptr<DatasetTableModel> grid;
    int gridResets = 0;
};

// What the summary prints: every repetition's times per operation.
struct Measured {
    std::vector<double> wall;
    std::vector<double> cpu;
    ToolTimes tool;
    QString statement;
    bool targeted = true; // under 1 s and within 2x the tool
};
std::map<std::string, Measured> results;
std::string failure;

void fail(benchmark::State& state, const std::string& text) {
    if (failure.empty())
        failure = text;
    state.SkipWithError(text.c_str());
}

void report(benchmark::State& state, const std::string& name, Timing t, Book& book,
            const QString& statement) {
    const ToolTimes tool = toolTimes(book, statement);
    Measured& m = results[name];
    m.wall.push_back(t.wall);
    m.cpu.push_back(t.cpu);
    m.tool = tool;
    m.statement = statement;
    state.counters["rows"] = book.rows;
    state.counters["tool_ms"] = tool.wallSeconds * 1000;
    state.counters["ratio"] = tool.wallSeconds > 0 ? t.wall / tool.wallSeconds : 0;
    state.counters["cpu_ms"] = t.cpu * 1000;
    state.counters["tool_cpu_ms"] = tool.cpuSeconds * 1000;
    state.counters["cpu_ratio"] = tool.cpuSeconds > 0 ? t.cpu / tool.cpuSeconds : 0;
    state.counters["peak_rss_MiB"] = peakResidentMiB();
}

// A book of the size, or the benchmark is skipped.
Book* bookFor(benchmark::State& state, int rows) {
    Book& book = theBook(rows);
    if (!book.error.empty()) {
        state.SkipWithError(book.error.c_str());
        return nullptr;
    }
    return &book;
}

// The cash book shown, with the cursor on the middle row; its id.
QString showWithCursorInMiddle(Window& w) {
    w.controller().tabChanged(kCashBookTab);
    w.cashBook->moveTo(w.cashBook->recordCount() / 2);
    return w.cashBook->asString(QStringLiteral("id"));
}

// The same, reporting a failure to the benchmark; "" then.
QString showWithCursorInMiddle(benchmark::State& state, Window& w) {
    try {
        return showWithCursorInMiddle(w);
    } catch (const DbError& e) {
        fail(state, e.what());
        return {};
    }
}

// Tab 1 shown for the first time: the cash book opened with every row and its grid's
// model reset.
void BM_FirstShow(benchmark::State& state) {
    Book* book = bookFor(state, documentCount(kRows));
    if (!book)
        return;
    for (auto _ : state) {
        auto w = std::make_unique<Window>(*book->db);
        if (w->cashBook->isActive()) {
            fail(state, "the cash book is open before its module is shown");
            break;
        }
        const Stopwatch watch;
        try {
            w->controller().tabChanged(kCashBookTab);
        } catch (const DbError& e) {
            fail(state, e.what());
            break;
        }
        const Timing t = watch.elapsed();
        state.SetIterationTime(t.wall);
        if (w->controller().currentPanelId() != kPanel || w->cashBook->recordCount() != book->rows ||
            w->grid->rowCount() != book->rows || w->gridResets == 0) {
            fail(state, "the first show did not open the whole cash book into its grid");
            break;
        }
        report(state, "first show", t, *book, w->statement());
        state.counters["rss_MiB"] = residentMiB();
    }
}

// F5 on the cash book with the cursor in the middle of the list.
void BM_Refresh(benchmark::State& state) {
    Book* book = bookFor(state, documentCount(kRows));
    if (!book)
        return;
    Window w(*book->db);
    const QString id = showWithCursorInMiddle(state, w);
    if (id.isEmpty())
        return;
    const int row = w.cashBook->currentRow();
    for (auto _ : state) {
        const int resets = w.gridResets;
        const Stopwatch watch;
        try {
            w.modules.refreshCurrentPanel();
        } catch (const DbError& e) {
            fail(state, e.what());
            break;
        }
        const Timing t = watch.elapsed();
        state.SetIterationTime(t.wall);
        if (w.cashBook->asString(QStringLiteral("id")) != id || w.cashBook->currentRow() != row) {
            fail(state, "refresh left the cursor on id " +
                            w.cashBook->asString(QStringLiteral("id")).toStdString() + " (row " +
                            std::to_string(w.cashBook->currentRow()) + "), not on id " + id.toStdString() +
                            " (row " + std::to_string(row) + ")");
            break;
        }
        if (w.gridResets == resets || w.grid->rowCount() != book->rows) {
            fail(state, "refresh did not give the grid every row again");
            break;
        }
        report(state, "refresh", t, *book, w.statement());
    }
}

// F11 / F12 in a column of the cash-book grid (column index, descending).
void BM_Sort(benchmark::State& state) {
    const QString column = QLatin1String(kSortColumns[state.range(0)]);
    const bool descending = state.range(1) != 0;
    Book* book = bookFor(state, documentCount(kRows));
    if (!book)
        return;
    Window w(*book->db);
    const QString id = showWithCursorInMiddle(state, w);
    if (id.isEmpty())
        return;
    const std::string name = "sort " + column.toStdString() + (descending ? " desc" : " asc");
    for (auto _ : state) {
        const Stopwatch watch;
        bool sorted = false;
        try {
            sorted = w.modules.sortCurrentPanel(column, descending);
        } catch (const DbError& e) {
            fail(state, e.what());
            break;
        }
        const Timing t = watch.elapsed();
        state.SetIterationTime(t.wall);
        const QString order = column + (descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
        if (!sorted || !w.cashBook->sql().endsWith(QStringLiteral("ORDER BY ") + order)) {
            fail(state, "the cash book is not ordered by " + order.toStdString() + ": " +
                            w.cashBook->sql().toStdString());
            break;
        }
        if (w.cashBook->asString(QStringLiteral("id")) != id) {
            fail(state, "sorting left the cursor on id " +
                            w.cashBook->asString(QStringLiteral("id")).toStdString() + ", not on id " +
                            id.toStdString());
            break;
        }
        report(state, name, t, *book, w.statement());
    }
}

double perScreenAtFewRows = 0;

// The grid asking for the text of every cell of 40 rows at 50 places of the list.
void BM_Scroll(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    Book* book = bookFor(state, rows);
    if (!book)
        return;
    Window w(*book->db);
    try {
        w.controller().tabChanged(kCashBookTab);
    } catch (const DbError& e) {
        fail(state, e.what());
        return;
    }
    std::mt19937 random(7);
    std::uniform_int_distribution<int> top(0, std::max(0, w.grid->rowCount() - kScreenRows));
    std::vector<int> screens;
    for (int i = 0; i < kScreens; ++i)
        screens.push_back(top(random));
    const int columns = w.grid->columnCount();
    std::vector<double> perScreen;
    for (auto _ : state) {
        qsizetype characters = 0;
        const Clock::time_point start = Clock::now();
        for (int first : screens)
            for (int r = first; r < first + kScreenRows; ++r)
                for (int c = 0; c < columns; ++c)
                    characters += w.grid->data(w.grid->index(r, c), Qt::DisplayRole).toString().size();
        const double seconds = secondsSince(start);
        state.SetIterationTime(seconds);
        benchmark::DoNotOptimize(characters);
        perScreen.push_back(seconds / kScreens);
    }
    const double screen = median(perScreen);
    state.counters["rows"] = rows;
    state.counters["screen_us"] = screen * 1e6;
    state.counters["peak_rss_MiB"] = peakResidentMiB();
    if (rows < kRows)
        perScreenAtFewRows = screen;
    else if (perScreenAtFewRows > 0)
        state.counters["vs_1000_rows"] = screen / perScreenAtFewRows;
    Measured& m = results["scroll screen, " + std::to_string(rows) + " rows"];
    m.wall.push_back(screen);
    m.targeted = false;
}

void printSummary() {
    if (results.empty())
        return;
    std::printf("\n%-27s %10s %10s %6s %10s %10s %6s  %s\n", "operation", "median ms", "sqlite3 ms", "ratio",
                "cpu ms", "sqlite3 cpu", "ratio", "target (< 1 s, <= 2x sqlite3)");
    for (const auto& [name, m] : results) {
        const double wall = median(m.wall);
        if (!m.targeted) {
            std::printf("%-27s %10.3f\n", name.c_str(), wall * 1000);
            continue;
        }
        const double cpu = median(m.cpu);
        const double ratio = m.tool.wallSeconds > 0 ? wall / m.tool.wallSeconds : 0;
        const double cpuRatio = m.tool.cpuSeconds > 0 ? cpu / m.tool.cpuSeconds : 0;
        const bool met = wall < 1.0 && m.tool.wallSeconds > 0 && ratio <= 2.0;
        std::printf("%-27s %10.1f %10.1f %6.2f %10.1f %10.1f %6.2f  %s\n", name.c_str(), wall * 1000,
                    m.tool.wallSeconds * 1000, ratio, cpu * 1000, m.tool.cpuSeconds * 1000, cpuRatio,
                    met ? "met" : "MISSED");
    }
    std::printf("peak RSS %.1f MiB\n", peakResidentMiB());
    for (const auto& [name, m] : results)
        if (m.targeted)
            std::printf("%s: %s\n", name.c_str(), m.statement.toUtf8().constData());
    for (const auto& [rows, book] : books)
        for (const auto& [statement, error] : book->toolErrors)
            std::printf("sqlite3 tool failed on %s: %s\n", statement.toUtf8().constData(), error.c_str());
}

} // namespace

BENCHMARK(BM_FirstShow)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Refresh)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Sort)
    ->ArgNames({"column", "desc"})
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Scroll)
    ->ArgName("rows")
    ->Arg(1000)
    ->Arg(kRows)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(20)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    const int result = benchMain(argc, argv, [] {
        printSummary();
        books.clear();
    });
    if (!failure.empty()) {
        std::fprintf(stderr, "FAILED: %s\n", failure.c_str());
        return 1;
    }
    return result;
}
