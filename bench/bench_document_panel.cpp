// The issued-documents module ("Pohledávky a prodej") of a large ledger and the
// partner picker, with the module datasets, their controller, the panel queries and
// selection mode as the main window has them, but without widgets:
//
//   build-bench/bench/bench_document_panel
//
// The ledger: 100,000 documents of 2016-2025, 500,000 item lines under the issued
// ones, 10,000 partners. Benchmarks:
//   BM_FirstShow      switching to tab 3 for the first time: the document list opened
//                     with all its rows and the item lines of the current document;
//                     compared with `sqlite3 <file> "<the list's SELECT>" > /dev/null`
//                     (median of 5 runs, process start included): tool_ms, ratio.
//   BM_MoveCursor     moving to another document (a random row): the item lines
//                     follow. One move per iteration; median_ms.
//   BM_PartnerSearch  "..." beside the partner name of a new issued document while the
//                     name is typed letter by letter: each keystroke starts the
//                     picker, which reads the partner list narrowed to names beginning
//                     with the text (Esc between keystrokes is not timed); median_ms.
// KELVARN_BENCH_DOCUMENTS=N makes the ledger smaller (lines five per document).

#include "app/module_datasets.h"
#include "app/selection_mode.h"
#include "core/diagnostic_log.h"
#include "db/czech_order.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "db/db_error.h"
#include "lists/panel_queries.h"
#include "support/bench_database.h"
#include "support/null_shell_view.h"
#include "support/catalogue_fill.h"
#include "support/document_fill.h"
#include "support/sqlite_tool.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace kelvarn;
using namespace kelvarn::bench;

namespace {

constexpr int kDocuments = 100000;
constexpr int kPartners = 10000;
constexpr int kIssuedTab = 3;

struct Ledger {
    std::unique_ptr<BenchDatabase> db;
    int documents = 0;
    std::string error;
    ToolTimes tool;
    bool toolMeasured = false;
};
std::unique_ptr<Ledger> ledger;

Ledger* theLedger(benchmark::State& state) {
    if (!ledger) {
        ledger = std::make_unique<Ledger>();
        try {
            ledger->documents = documentCount(kDocuments);
            ledger->db = createInstalledDatabase();
            ledger->db->state.vatReduced = 12;
            ledger->db->state.vatBasic = 21;
            fillDocuments(ledger->db->session, ledger->documents);
            fillItemLines(ledger->db->session, ledger->documents * 5);
            fillPartners(ledger->db->session, kPartners);
        } catch (const std::exception& e) {
            ledger->error = e.what();
        }
    }
    if (!ledger->error.empty()) {
        state.SkipWithError(ledger->error.c_str());
        return nullptr;
    }
    return ledger.get();
}

// The main window without widgets, every module closed until shown.
struct Window {
    explicit Window(BenchDatabase& db)
        : context(db.session, db.state, prompts, log), queries(context),
          entrepreneur(db.session, QStringLiteral("ADOFormPodnikatel")),
          modules(db.session, context, entrepreneur, queries, shell) {
        entrepreneur.setTable(QStringLiteral("tbl_podnikatel"));
        entrepreneur.open();
        queries.init([this](const QString& name) { return modules.dataset(name); });
        issued = modules.dataset(QStringLiteral("ADOFormFAV"));
        items = modules.dataset(QStringLiteral("ADOFormFAVpol"));
        partners = modules.dataset(QStringLiteral("ADOFormPartneri"));
    }
    ModuleController& controller() { return modules.controller(); }

    YesPrompts prompts;
    DiagnosticLog log;
    NullShellView shell;
    DbContext context;
    PanelQueries queries;
    Dataset entrepreneur;
    ModuleDatasets modules;
    Dataset* issued = nullptr;
    Dataset* items = nullptr;
    Dataset* partners = nullptr;
};

std::string failure;
void fail(benchmark::State& state, const std::string& text) {
    if (failure.empty())
        failure = text;
    state.SkipWithError(text.c_str());
}

// Every shown line belongs to the current document.
bool itemsFollow(Window& w) {
    const qint64 id = w.issued->asInteger(QStringLiteral("id"));
    const int column = w.items->columnIndex(QStringLiteral("id_tbl_doklad"));
    for (int r = 0; r < w.items->recordCount(); ++r)
        if (w.items->valueAt(r, column).toLongLong() != id)
            return false;
    return true;
}

struct Summary {
    double firstShow = 0, tool = 0, move = 0, search = 0;
    double lines = 0, found = 0;
} summary;

void BM_FirstShow(benchmark::State& state) {
    Ledger* l = theLedger(state);
    if (!l)
        return;
    std::vector<double> times;
    QString statement;
    for (auto _ : state) {
        auto w = std::make_unique<Window>(*l->db);
        const Clock::time_point start = Clock::now();
        try {
            w->controller().tabChanged(kIssuedTab);
        } catch (const DbError& e) {
            fail(state, e.what());
            break;
        }
        const double seconds = secondsSince(start);
        state.SetIterationTime(seconds);
        times.push_back(seconds);
        if (!w->issued->isActive() || !w->items->isActive() || w->issued->recordCount() == 0 ||
            !itemsFollow(*w)) {
            fail(state, "the first show did not open the documents with their lines");
            break;
        }
        statement = w->issued->session().nativeStatement(w->issued->sql());
    }
    if (!l->toolMeasured && !statement.isEmpty()) {
        statement.remove(QStringLiteral(" COLLATE ") + CzechOrder::kSqliteCollation);
        try {
            l->tool = sqliteToolTimes(l->db->file, statement, 5);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "sqlite3 tool: %s\n", e.what());
        }
        l->toolMeasured = true;
    }
    summary.firstShow = median(times);
    summary.tool = l->tool.wallSeconds;
    state.counters["median_ms"] = summary.firstShow * 1000;
    state.counters["tool_ms"] = l->tool.wallSeconds * 1000;
    state.counters["ratio"] = l->tool.wallSeconds > 0 ? summary.firstShow / l->tool.wallSeconds : 0;
}

void BM_MoveCursor(benchmark::State& state) {
    Ledger* l = theLedger(state);
    if (!l)
        return;
    Window w(*l->db);
    try {
        w.controller().tabChanged(kIssuedTab);
    } catch (const DbError& e) {
        fail(state, e.what());
        return;
    }
    std::mt19937 random(11);
    std::uniform_int_distribution<int> row(0, w.issued->recordCount() - 1);
    std::vector<double> times;
    double lines = 0;
    for (auto _ : state) {
        const int target = row(random);
        const Clock::time_point start = Clock::now();
        try {
            w.issued->moveTo(target);
        } catch (const DbError& e) {
            fail(state, e.what());
            break;
        }
        const double seconds = secondsSince(start);
        state.SetIterationTime(seconds);
        times.push_back(seconds);
        lines += w.items->recordCount();
        if (w.issued->currentRow() != target || !itemsFollow(w)) {
            fail(state, "the item lines did not follow the document");
            break;
        }
    }
    summary.move = median(times);
    summary.lines = times.empty() ? 0 : lines / static_cast<double>(times.size());
    state.counters["median_ms"] = summary.move * 1000;
    state.counters["lines_per_document"] = summary.lines;
}

void BM_PartnerSearch(benchmark::State& state) {
    Ledger* l = theLedger(state);
    if (!l)
        return;
    Window w(*l->db);
    const QString name = QStringLiteral("Stavební firma Novák 1");
    std::vector<double> times;
    double found = 0;
    try {
        w.controller().tabChanged(kIssuedTab);
        w.issued->insert();
    } catch (const DbError& e) {
        fail(state, e.what());
        return;
    }
    SelectionMode& selection = w.modules.selection();
    for (auto _ : state) {
        for (int typed = 1; typed <= name.size(); ++typed) {
            w.issued->setValue(QStringLiteral("odb_nazev_firmy"), name.left(typed));
            const Clock::time_point start = Clock::now();
            try {
                selection.pickPartner();
            } catch (const DbError& e) {
                fail(state, e.what());
                return;
            }
            times.push_back(secondsSince(start));
            found += w.partners->recordCount();
            if (!selection.isActive() || w.controller().currentTab() != 10) {
                fail(state, "the picker did not start");
                return;
            }
            selection.escape();
        }
        state.SetIterationTime(times.back());
    }
    summary.search = median(times);
    summary.found = times.empty() ? 0 : found / static_cast<double>(times.size());
    state.counters["median_ms"] = summary.search * 1000;
    state.counters["rows_found"] = summary.found;
}

void printSummary() {
    if (!ledger || ledger->documents == 0)
        return;
    std::printf("\n%-40s %10s  %s\n", "operation", "median ms", "target");
    std::printf("%-40s %10.1f  sqlite3 %.1f ms, ratio %.2f (<= 1.5)\n", "issued documents, first show",
                summary.firstShow * 1000, summary.tool * 1000,
                summary.tool > 0 ? summary.firstShow / summary.tool : 0.0);
    std::printf("%-40s %10.3f  < 10 ms (%.1f lines per document)\n", "cursor to another document",
                summary.move * 1000, summary.lines);
    std::printf("%-40s %10.3f  < 30 ms (%.0f rows found on average)\n", "partner name search, per keystroke",
                summary.search * 1000, summary.found);
    std::printf("peak RSS %.1f MiB\n", peakResidentMiB());
}

} // namespace

BENCHMARK(BM_FirstShow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(7);
BENCHMARK(BM_MoveCursor)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(500);
BENCHMARK(BM_PartnerSearch)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    const int result = benchMain(argc, argv, [] {
        printSummary();
        ledger.reset();
    });
    if (!failure.empty()) {
        std::fprintf(stderr, "FAILED: %s\n", failure.c_str());
        return 1;
    }
    return result;
}
