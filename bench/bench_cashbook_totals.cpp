// The figures of the cash book and the entrepreneur tab over a large ledger
// (100,000 cash-book rows and 100,000 documents): the cash-book strip and the two
// VAT strips next to the sqlite3 command-line tool running the same aggregate
// statements on the same file, the business overview, and saving a cash-book row
// paired with a document together with the settlement of its remaining amount.
//
//   build-bench/bench/bench_cashbook_totals
//
// Every benchmark reports the median wall time of its repetitions; the strips also
// tool_ms (the median sqlite3 run of the same statements, process start included)
// and ratio. A summary lists the medians against the targets: strips within 1.5x the
// tool, the overview under 200 ms, a paired save under 5 ms. The run fails (exit
// code 1) when a save does not settle its invoice.

#include "cashbook/cash_book_rules.h"
#include "cashbook/cash_book_totals.h"
#include "core/diagnostic_log.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "db/db_error.h"
#include "lists/panel_queries.h"
#include "support/bench_database.h"
#include "support/cashbook_fill.h"
#include "support/document_fill.h"
#include "support/sqlite_tool.h"

#include <benchmark/benchmark.h>

#include <QDate>
#include <QSqlQuery>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace kelvarn;
using namespace kelvarn::bench;

namespace {

constexpr int kRows = 100000;
constexpr int kToolRuns = 5;

struct Ledger {
    std::unique_ptr<BenchDatabase> db;
    YesPrompts prompts;
    DiagnosticLog log;
    std::unique_ptr<DbContext> context;
    std::unique_ptr<PanelQueries> queries;
    std::string error;
};

std::unique_ptr<Ledger> ledger;

Ledger* theLedger(benchmark::State& state) {
    if (!ledger) {
        ledger = std::make_unique<Ledger>();
        try {
            ledger->db = createInstalledDatabase();
            fillDocuments(ledger->db->session, documentCount(kRows));
            fillCashBook(ledger->db->session, documentCount(kRows));
            ledger->context = std::make_unique<DbContext>(ledger->db->session, ledger->db->state,
                                                          ledger->prompts, ledger->log);
            ledger->queries = std::make_unique<PanelQueries>(*ledger->context);
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

struct Measured {
    std::vector<double> wall;
    ToolTimes tool;
    double targetMs = 0;    // absolute target, or
    double targetRatio = 0; // at most this many times the tool
    QStringList statements;
};
std::map<std::string, Measured> results;
std::map<QString, ToolTimes> toolCache;
std::string failure;

void fail(benchmark::State& state, const std::string& text) {
    if (failure.empty())
        failure = text;
    state.SkipWithError(text.c_str());
}

// The statements as the database gets them, run by one sqlite3 process. The tool
// lacks the program's UCASE; its own UPPER does the same for the ASCII values the
// VAT conditions compare.
ToolTimes toolTimes(const QStringList& statements) {
    QString script = statements.join(QStringLiteral("; "));
    script.replace(QStringLiteral("UCASE("), QStringLiteral("UPPER("));
    const auto known = toolCache.find(script);
    if (known != toolCache.end())
        return known->second;
    ToolTimes times;
    try {
        times = sqliteToolTimes(ledger->db->file, script, kToolRuns);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sqlite3 tool: %s\n", e.what());
    }
    toolCache[script] = times;
    return times;
}

QString native(const QString& select, const PanelQuery& q) {
    return ledger->db->session.nativeStatement(
        ledger->context->composeStatement(select, q.filterCondition, q.fixedCondition, {}));
}

const QString kBookSums = QStringLiteral(
    "SELECT sum(prijem_nedanovy) As prijem_nedanovy, sum(prijem_danovy) As prijem_danovy, "
    "sum(vydaj_nedanovy) As vydaj_nedanovy, sum(vydaj_danovy) As vydaj_danovy FROM tbl_hlavnikniha");
const QString kVatSums =
    QStringLiteral("SELECT sum(celkem_bez_dph_5) As zaklad51, sum(celkem_dph_5) As dph51, "
                   "sum(celkem_bez_dph_19) As zaklad191, "
                   "sum(celkem_dph_19) As dph191, sum(celkem_bez_dph_0) As zaklad01 FROM tbl_doklad");

// One strip group: which strips (0 cash book, 1 input VAT, 2 output VAT).
void BM_Strips(benchmark::State& state) {
    Ledger* l = theLedger(state);
    if (!l)
        return;
    const int which = static_cast<int>(state.range(0));
    PanelQuery& book = l->queries->query(QStringLiteral("FormHlavniKniha"));
    PanelQuery& input = l->queries->query(QStringLiteral("FormDPHvstup"));
    PanelQuery& output = l->queries->query(QStringLiteral("FormDPHvystup"));
    QStringList statements;
    if (which == 0 || which == 3)
        statements << native(kBookSums, book);
    if (which == 1 || which == 3)
        statements << native(kVatSums, input);
    if (which == 2 || which == 3)
        statements << native(kVatSums, output);
    const char* names[] = {"cash-book strip", "input VAT strip", "output VAT strip", "all three strips"};
    double check = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        try {
            if (which == 0 || which == 3)
                check += cashBookTotals(*l->context, book).balance;
            if (which == 1 || which == 3)
                check += vatTotals(*l->context, input).basicVat;
            if (which == 2 || which == 3)
                check += vatTotals(*l->context, output).basicVat;
        } catch (const DbError& e) {
            fail(state, e.what());
            return;
        }
        const double seconds = secondsSince(start);
        state.SetIterationTime(seconds);
        results[names[which]].wall.push_back(seconds);
    }
    benchmark::DoNotOptimize(check);
    Measured& m = results[names[which]];
    m.tool = toolTimes(statements);
    m.targetRatio = 1.5;
    m.statements = statements;
    state.counters["tool_ms"] = m.tool.wallSeconds * 1000;
    state.counters["ratio"] = m.tool.wallSeconds > 0 ? median(m.wall) / m.tool.wallSeconds : 0;
}

void BM_BusinessOverview(benchmark::State& state) {
    Ledger* l = theLedger(state);
    if (!l)
        return;
    double check = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        try {
            const BusinessOverview o =
                businessOverview(*l->context, l->queries->query(QStringLiteral("FormDPHvstup")),
                                 l->queries->query(QStringLiteral("FormDPHvystup")),
                                 l->queries->query(QStringLiteral("FormHlavniKniha")), QDate(2025, 6, 1));
            check += o.taxBase + o.vat + o.payables + o.receivables;
        } catch (const DbError& e) {
            fail(state, e.what());
            return;
        }
        const double seconds = secondsSince(start);
        state.SetIterationTime(seconds);
        results["business overview"].wall.push_back(seconds);
    }
    benchmark::DoNotOptimize(check);
    results["business overview"].targetMs = 200;
}

// The cash book open with every row; each iteration saves one new row paired with an
// issued invoice, the settlement accepted (the question answered Yes).
void BM_SavePairedRow(benchmark::State& state) {
    Ledger* l = theLedger(state);
    if (!l)
        return;
    l->db->state.saveWithoutPrompt = true;
    l->context->resetSkipConfirmation();
    CashBookRules rules(*l->context);
    Dataset book(l->db->session, QStringLiteral("ADOFormHlavniKniha"));
    book.setSql(l->queries->statement(QStringLiteral("FormHlavniKniha")));
    rules.install(book);
    QString number;
    QString id;
    try {
        book.open();
        QSqlQuery q = l->db->session.query(QStringLiteral(
            "SELECT id, cislo_dokladu FROM tbl_doklad WHERE doklad_typ=1 AND cislo_dokladu LIKE "
            "'FAV-2025-%' ORDER BY id"));
        if (q.next()) {
            id = q.value(0).toString();
            number = q.value(1).toString();
        }
    } catch (const DbError& e) {
        fail(state, e.what());
        return;
    }
    if (number.isEmpty()) {
        fail(state, "no issued invoice of 2025 to pair with");
        return;
    }
    auto remaining = [&] {
        QSqlQuery q =
            l->db->session.query(QStringLiteral("SELECT zbyva_uhradit FROM tbl_doklad WHERE id=") + id);
        return q.next() ? q.value(0).toDouble() : NAN;
    };
    int serial = 0;
    for (auto _ : state) {
        const double before = remaining();
        book.append();
        book.setValue(QStringLiteral("doklad"), QStringLiteral("PPD-B-%1").arg(++serial));
        book.setValue(QStringLiteral("cislo_dokladu"), number);
        book.setValue(QStringLiteral("prijem_danovy"), 1.25);
        const Clock::time_point start = Clock::now();
        bool written = false;
        try {
            written = book.post();
        } catch (const DbError& e) {
            fail(state, e.what());
            return;
        }
        const double seconds = secondsSince(start);
        state.SetIterationTime(seconds);
        results["paired save"].wall.push_back(seconds);
        if (!written || std::fabs(remaining() - (before - 1.25)) > 0.001) {
            fail(state, "the save did not settle the invoice " + number.toStdString());
            return;
        }
    }
    results["paired save"].targetMs = 5;
    state.counters["book_rows"] = book.recordCount();
}

void printSummary() {
    if (results.empty())
        return;
    std::printf("\n%-20s %10s %10s %6s  %s\n", "operation", "median ms", "sqlite3 ms", "ratio", "target");
    for (const auto& [name, m] : results) {
        const double wall = median(m.wall) * 1000;
        if (m.targetRatio > 0) {
            const double tool = m.tool.wallSeconds * 1000;
            const double ratio = tool > 0 ? wall / tool : 0;
            std::printf("%-20s %10.2f %10.2f %6.2f  <= %.1fx sqlite3: %s\n", name.c_str(), wall, tool, ratio,
                        m.targetRatio, tool > 0 && ratio <= m.targetRatio ? "met" : "MISSED");
        } else {
            std::printf("%-20s %10.2f %10s %6s  < %.0f ms: %s\n", name.c_str(), wall, "", "", m.targetMs,
                        wall < m.targetMs ? "met" : "MISSED");
        }
    }
    for (const auto& [name, m] : results)
        for (const QString& s : m.statements)
            std::printf("%s: %s\n", name.c_str(), s.toUtf8().constData());
}

} // namespace

BENCHMARK(BM_Strips)
    ->ArgName("strip")
    ->DenseRange(0, 3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_BusinessOverview)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SavePairedRow)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

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
