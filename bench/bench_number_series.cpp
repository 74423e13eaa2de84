// Saving a new document: drawing its number from the series and posting the row
// through a Dataset, on an embedded database that already holds a large ledger.
//
//   build-bench/bench/bench_number_series
//
// Two lists receive the new rows: issued_list:0 is a Dataset on "... WHERE 1=0"
// (nothing loaded), issued_list:1 the issued-documents list as the program opens it
// (about 40,000 rows). Each iteration is one document; the counters are medians over
// the documents of a repetition: median_ms for the whole save, draw_ms for
// nextNumber, post_ms for append + fields + post. Almost all of the time is the
// disk flushing two commits per save, so the numbers follow the disk under TMPDIR.

#include "core/diagnostic_log.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "db/db_error.h"
#include "db/number_series.h"
#include "support/bench_database.h"
#include "support/document_fill.h"

#include <QDate>
#include <QDateTime>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

using namespace kelvarn;
using namespace kelvarn::bench;

namespace {

constexpr int kDocuments = 100000;

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

struct Ledger {
    std::unique_ptr<BenchDatabase> db;
    YesPrompts prompts;
    DiagnosticLog log;
    std::unique_ptr<DbContext> context;
    std::string error;
};

std::unique_ptr<Ledger> ledger;

Ledger& theLedger() {
    if (ledger)
        return *ledger;
    ledger = std::make_unique<Ledger>();
    try {
        ledger->db = createInstalledDatabase();
        fillDocuments(ledger->db->session, documentCount(kDocuments));
        ledger->context =
            std::make_unique<DbContext>(ledger->db->session, ledger->db->state, ledger->prompts, ledger->log);
    } catch (const std::exception& e) {
        ledger->error = e.what();
    }
    return *ledger;
}

struct Target {
    const char* statement;
    const char* key; // a series of its own, after the years of the filled ledger
};

const Target kTargets[] = {
    {"SELECT * FROM tbl_doklad WHERE 1=0", "FAV-2030"},
    {"SELECT * FROM tbl_doklad WHERE (doklad_typ=1) ORDER BY cislo_dokladu DESC", "PH-2030"},
};

void saveDocument(Dataset& list, DbContext& context, const QString& key, double& drawSeconds,
                  double& postSeconds) {
    const Clock::time_point start = Clock::now();
    const std::optional<QString> number = nextNumber(context, key);
    const Clock::time_point drawn = Clock::now();
    if (!number)
        throw std::runtime_error("nextNumber refused the number of " + key.toStdString());
    list.append();
    list.setValue(QStringLiteral("cislo_dokladu"), key + QLatin1Char('-') + *number);
    list.setValue(QStringLiteral("doklad_typ"), 1);
    list.setValue(QStringLiteral("datum_vystaveni"), QDateTime(QDate::currentDate(), QTime(0, 0)));
    list.setValue(QStringLiteral("odb_nazev_firmy"), QStringLiteral("Truhlářství Dvořák s.r.o."));
    list.setValue(QStringLiteral("zpusob_uhrady"), QStringLiteral("převodním příkazem"));
    list.setValue(QStringLiteral("celkem_doklad"), 10000.0);
    list.setValue(QStringLiteral("celkem_doklad_dph"), 2100.0);
    list.setValue(QStringLiteral("celkem_doklad_s_dph"), 12100.0);
    list.setValue(QStringLiteral("doklad_vytisknut"), 0);
    if (!list.post())
        throw std::runtime_error("the post was aborted");
    drawSeconds = seconds(start, drawn);
    postSeconds = seconds(drawn, Clock::now());
}

void BM_NextNumberAndPost(benchmark::State& state) {
    Ledger& l = theLedger();
    if (!l.error.empty()) {
        state.SkipWithError(l.error.c_str());
        return;
    }
    const Target& target = kTargets[state.range(0)];
    const QString key = QString::fromLatin1(target.key);
    Dataset list(l.db->session, QStringLiteral("ADOFormFAV"));
    list.setSql(QString::fromLatin1(target.statement));
    list.beforePost = [&l](Dataset& d) {
        return l.context->runPostProtocol(
            d, {{QStringLiteral("cislo_dokladu"), QStringLiteral("Číslo dokladu")}});
    };
    try {
        list.open();
    } catch (const DbError& e) {
        state.SkipWithError(e.what());
        return;
    }
    std::vector<double> totals, draws, posts;
    for (auto _ : state) {
        double draw = 0, post = 0;
        try {
            saveDocument(list, *l.context, key, draw, post);
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            break;
        }
        if (!l.prompts.shown.isEmpty()) {
            state.SkipWithError(
                ("a box was shown: " + l.prompts.shown.join(QLatin1Char('\n'))).toStdString().c_str());
            break;
        }
        state.SetIterationTime(draw + post);
        totals.push_back(draw + post);
        draws.push_back(draw);
        posts.push_back(post);
    }
    state.counters["median_ms"] = median(totals) * 1e3;
    state.counters["draw_ms"] = median(draws) * 1e3;
    state.counters["post_ms"] = median(posts) * 1e3;
    state.counters["list_rows"] = list.recordCount();
}

} // namespace

BENCHMARK(BM_NextNumberAndPost)
    ->ArgName("issued_list")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    return benchMain(argc, argv, [] { ledger.reset(); });
}
