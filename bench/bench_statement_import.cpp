// A bank statement of 10,000 items against 100,000 documents on the embedded
// database: the preview (reading the documents and pairing every item) and the
// import (10,000 cash-book rows and the settlement of every paired document in one
// unit of work).
//
//   build-bench/bench/bench_statement_import
//
// The statement pays documents by their variable symbols (7,000 items), pays open
// amounts without a symbol (2,000) and brings money nobody can be paired with
// (1,000). Each import runs on a fresh copy of the filled database. Counters:
// median_ms over the iterations, paired (items the preview paired), rows.

#include "core/diagnostic_log.h"
#include "db/db_context.h"
#include "exchange/statement_import.h"
#include "exchange/statement_import_plan.h"
#include "support/bench_database.h"
#include "support/document_fill.h"

#include <QFile>
#include <QSqlQuery>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

using namespace kelvarn;
using namespace kelvarn::bench;

namespace {

constexpr int kDocuments = 100000;
constexpr int kItems = 10000;

using Clock = std::chrono::steady_clock;

struct Filled {
    std::unique_ptr<BenchDatabase> db;
    BankStatement statement;
};

std::unique_ptr<Filled> filledData;

Filled& filled() {
    if (filledData)
        return *filledData;
    filledData = std::make_unique<Filled>([] {
        Filled made;
        made.db = createInstalledDatabase();
        fillDocuments(made.db->session, kDocuments);
        made.db->session.execute(QStringLiteral("UPDATE tbl_podnikatel SET cislo_uctu='19-2000145399/0800' WHERE id=1"));
        // Open documents with a unique variable symbol, as the plan sees them.
        QSqlQuery q = made.db->session.query(QStringLiteral(
            "SELECT variabilni_symbol, doklad_typ, zbyva_uhradit FROM tbl_doklad WHERE doklad_typ IN (1, 2) AND "
            "zbyva_uhradit > 0 AND cislo_dokladu NOT LIKE '%ZL%' AND variabilni_symbol IS NOT NULL ORDER BY id"));
        made.statement.format = QStringLiteral("GPC");
        made.statement.accountDigits = QStringLiteral("0000192000145399");
        made.statement.number = QStringLiteral("1");
        made.statement.date = QDate(2025, 6, 30);
        int bySymbol = 0, byAmount = 0;
        while (q.next() && bySymbol + byAmount < 9000) {
            StatementItem item;
            item.amountCents = std::llround(q.value(2).toDouble() * 100);
            item.credit = q.value(1).toInt() == 1;
            item.date = made.statement.date;
            item.counterName = QStringLiteral("Odběratel %1").arg(bySymbol + byAmount);
            if (bySymbol < 7000) {
                item.variableSymbol = q.value(0).toString();
                ++bySymbol;
            } else {
                ++byAmount;
            }
            made.statement.items.push_back(item);
        }
        while (static_cast<int>(made.statement.items.size()) < kItems) {
            StatementItem item;
            item.amountCents = 12345 + static_cast<qint64>(made.statement.items.size());
            item.credit = true;
            item.variableSymbol = QStringLiteral("99%1").arg(made.statement.items.size());
            item.date = made.statement.date;
            made.statement.items.push_back(item);
        }
        made.db->session.close();
        return made;
    }());
    return *filledData;
}

struct Opened {
    QTemporaryDir dir;
    BenchDatabase* source = nullptr;
    AppState state;
    DatabaseSession session{QStringLiteral("bench_copy")};
    YesPrompts prompts;
    DiagnosticLog log;
    std::unique_ptr<DbContext> context;

    explicit Opened(Filled& f) : source(f.db.get()) {
        const QString copy = dir.filePath(QStringLiteral("kelvarn.db"));
        if (!QFile::copy(f.db->file, copy))
            throw std::runtime_error("cannot copy the database");
        state = f.db->state;
        state.appDir = dir.path() + u'/';
        session.open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + copy + u';', DbPlatform::Jet);
        context = std::make_unique<DbContext>(session, state, prompts, log);
    }
};

void BM_StatementPreview(benchmark::State& state) {
    Filled& f = filled();
    Opened opened(f);
    std::vector<double> times;
    int paired = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const StatementImportPlan plan = StatementImportPlan::prepare(*opened.context, f.statement);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        state.SetIterationTime(ms / 1000.0);
        times.push_back(ms);
        paired = plan.pairedCount();
        if (!plan.refusal().isEmpty())
            state.SkipWithError(plan.refusal().toStdString().c_str());
    }
    state.counters["median_ms"] = median(times);
    state.counters["paired"] = paired;
}

void BM_StatementImport(benchmark::State& state) {
    Filled& f = filled();
    std::vector<double> times;
    int rows = 0;
    for (auto _ : state) {
        Opened opened(f);
        const StatementImportPlan plan = StatementImportPlan::prepare(*opened.context, f.statement);
        const auto start = Clock::now();
        rows = importStatement(*opened.context, plan).rowsWritten;
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        state.SetIterationTime(ms / 1000.0);
        times.push_back(ms);
    }
    state.counters["median_ms"] = median(times);
    state.counters["rows"] = rows;
}

} // namespace

BENCHMARK(BM_StatementPreview)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StatementImport)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return benchMain(argc, argv, [] { filledData.reset(); });
}
