// Opening the full document list of a large ledger into a Dataset, next to the
// sqlite3 command-line tool reading the same rows, and the memory it takes.
//
//   build-bench/bench/bench_dataset_open
//
// Counters of BM_DatasetOpen: rows read, ratio = median open / median tool time,
// peak_rss_MiB (peak resident size of the whole process after opening) and rss_MiB after opening.

#include "db/dataset.h"
#include "db/db_error.h"
#include "support/bench_database.h"
#include "support/document_fill.h"
#include "support/sqlite_tool.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>
#include <vector>

using namespace kelvarn;
using namespace kelvarn::bench;

namespace {

constexpr int kDocuments = 100000;
constexpr int kToolRuns = 5;
const QString kSelect = QStringLiteral("SELECT * FROM tbl_doklad");

struct Ledger {
    std::unique_ptr<BenchDatabase> db;
    double toolSeconds = 0; // median of kToolRuns
    std::string error;
    std::string toolError;
};

std::unique_ptr<Ledger> ledger;

// Built once per process: installing and filling take longer than the benchmarks.
Ledger& theLedger() {
    if (ledger)
        return *ledger;
    ledger = std::make_unique<Ledger>();
    try {
        ledger->db = createInstalledDatabase();
        fillDocuments(ledger->db->session, documentCount(kDocuments));
    } catch (const std::exception& e) {
        ledger->error = e.what();
        return *ledger;
    }
    // Without the tool the list is still measured; only the ratio is missing (0).
    try {
        ledger->toolSeconds = sqliteToolSeconds(ledger->db->file, kSelect, kToolRuns);
    } catch (const std::exception& e) {
        ledger->toolError = e.what();
    }
    return *ledger;
}

void BM_DatasetOpen(benchmark::State& state) {
    Ledger& l = theLedger();
    if (!l.error.empty()) {
        state.SkipWithError(l.error.c_str());
        return;
    }
    Dataset list(l.db->session, QStringLiteral("ADOFormFAV"));
    list.setSql(kSelect);
    std::vector<double> opens;
    int rows = 0;
    double rss = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        try {
            list.open();
        } catch (const DbError& e) {
            state.SkipWithError(e.what());
            break;
        }
        const double seconds = secondsSince(start);
        state.SetIterationTime(seconds);
        opens.push_back(seconds);
        rows = list.recordCount();
        rss = residentMiB();
        list.close();
    }
    if (rows != documentCount(kDocuments) && !opens.empty())
        state.SkipWithError("the list does not hold every document");
    state.counters["rows"] = rows;
    state.counters["ratio"] = l.toolSeconds > 0 ? median(opens) / l.toolSeconds : 0;
    state.counters["peak_rss_MiB"] = peakResidentMiB();
    state.counters["rss_MiB"] = rss;
}

void BM_Sqlite3Tool(benchmark::State& state) {
    Ledger& l = theLedger();
    const std::string& error = l.error.empty() ? l.toolError : l.error;
    if (!error.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        try {
            state.SetIterationTime(runSqliteTool(l.db->file, kSelect));
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            break;
        }
    }
}

} // namespace

BENCHMARK(BM_DatasetOpen)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Sqlite3Tool)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    return benchMain(argc, argv, [] { ledger.reset(); });
}
