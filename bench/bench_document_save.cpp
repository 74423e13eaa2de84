// Saving an issued document with 100 item lines on the embedded database, with the
// document rules the main window installs: the header numbered from its series,
// each line posted through the item dataset (line arithmetic, confirmation skipped,
// time stamps), then "Sečíst" and "Zaokrouhlit" (two aggregate statements and a
// header save each).
//
//   build-bench/bench/bench_document_save
//
// One iteration is one whole document. Counters are medians over the documents of
// a repetition: median_ms for the whole, header_ms, lines_ms (all 100 line posts),
// sum_ms and round_ms for the two commands, document_ms for what works on the
// whole document (header save, Sečíst, Zaokrouhlit) and cpu_ms, the processor
// time of the whole. Every post is a commit of its own, so most of lines_ms is the
// disk flushing 100 commits; the wall times follow the disk under TMPDIR.

#include "core/diagnostic_log.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "documents/document_rules.h"
#include "support/bench_database.h"

#include <QDate>

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <memory>
#include <stdexcept>
#include <vector>

using namespace kelvarn;
using namespace kelvarn::bench;

namespace {

constexpr int kLines = 100;

using Clock = std::chrono::steady_clock;

double milliseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Module {
    std::unique_ptr<BenchDatabase> db;
    YesPrompts prompts;
    DiagnosticLog log;
    std::unique_ptr<DbContext> context;
    std::unique_ptr<Dataset> entrepreneur, issued, items, received, receipts, expenses;
    std::unique_ptr<DocumentRules> rules;
    std::string error;
};

std::unique_ptr<Module> module;

std::unique_ptr<Dataset> documents(DatabaseSession& session, int type, const char* name) {
    auto ds = std::make_unique<Dataset>(session, QLatin1String(name));
    ds->setSql(QStringLiteral("SELECT * FROM tbl_doklad WHERE (doklad_typ=%1) ORDER BY cislo_dokladu DESC")
                   .arg(type));
    return ds;
}

Module& theModule() {
    if (module)
        return *module;
    module = std::make_unique<Module>();
    Module& m = *module;
    try {
        m.db = createInstalledDatabase();
        DatabaseSession& s = m.db->session;
        m.db->state.vatReduced = 12;
        m.db->state.vatBasic = 21;
        m.db->state.entrepreneurName = QStringLiteral("Truhlářství Dvořák");
        s.execute(
            QStringLiteral("UPDATE tbl_podnikatel SET platce_dph='Ano', splatnost_fa=14, kod_haler='0.50', "
                           "ulice='Masarykova 12', mesto='Brno', psc='602 00', mena='CZK' WHERE id=1"));
        m.context = std::make_unique<DbContext>(s, m.db->state, m.prompts, m.log);
        m.entrepreneur = std::make_unique<Dataset>(s, QStringLiteral("ADOFormPodnikatel"));
        m.entrepreneur->setTable(QStringLiteral("tbl_podnikatel"));
        m.issued = documents(s, 1, "ADOFormFAV");
        m.received = documents(s, 2, "ADOFormFAP");
        m.receipts = documents(s, 3, "ADOFormPPD");
        m.expenses = documents(s, 4, "ADOFormVPD");
        m.items = std::make_unique<Dataset>(s, QStringLiteral("ADOFormFAVpol"));
        m.items->setTable(QStringLiteral("tbl_polozky"));
        m.items->setMaster(
            m.issued.get(), QStringLiteral("id_tbl_doklad"),
            {QStringLiteral("id_tbl_doklad"), QStringLiteral("cislo_radku"), QStringLiteral("id")});
        m.rules = std::make_unique<DocumentRules>(
            *m.context, *m.entrepreneur,
            DocumentDatasets{*m.issued, *m.items, *m.received, *m.receipts, *m.expenses}, RegisterHooks{});
        for (Dataset* ds : {m.entrepreneur.get(), m.issued.get(), m.items.get()})
            ds->open();
    } catch (const std::exception& e) {
        m.error = e.what();
    }
    return m;
}

struct Timings {
    double header = 0, lines = 0, sum = 0, round = 0;
};

Timings saveOneDocument(Module& m, int serial) {
    Timings t;
    const Clock::time_point start = Clock::now();
    m.issued->append();
    m.issued->setValue(QStringLiteral("odb_nazev_firmy"), QStringLiteral("Stavební firma Novák s.r.o."));
    m.issued->setValue(QStringLiteral("odb_ulice"), QStringLiteral("Nádražní 1432/7"));
    m.issued->setValue(QStringLiteral("poznamka2"),
                       QStringLiteral("Fakturujeme Vám za dodávku dle objednávky"));
    if (!m.issued->post())
        throw std::runtime_error("the header save was aborted");
    const Clock::time_point headerSaved = Clock::now();
    for (int i = 0; i < kLines; ++i) {
        m.items->append();
        m.items->setValue(QStringLiteral("cislo_radku"), i + 1);
        m.items->setValue(QStringLiteral("kod_zbozi"), QStringLiteral("ZB-%1").arg(i % 37));
        m.items->setValue(QStringLiteral("popis"),
                          QStringLiteral("Dřevotřísková deska, řez na míru č. %1").arg(serial));
        m.items->setValue(QStringLiteral("mnozstvi"), 1 + i % 7);
        m.items->setValue(QStringLiteral("mj"), QStringLiteral("ks"));
        m.items->setValue(QStringLiteral("cena_jednotka"), 10.1234 + i * 3.37);
        m.items->setValue(QStringLiteral("dph"), i % 3 == 0 ? 12.0 : 21.0);
        if (i % 10 == 0)
            m.items->setValue(QStringLiteral("sleva"), 5);
        if (!m.items->post())
            throw std::runtime_error("a line save was aborted");
    }
    const Clock::time_point linesSaved = Clock::now();
    if (!m.rules->sumLines(Summing::Plain))
        throw std::runtime_error("Sečíst did not save");
    const Clock::time_point summed = Clock::now();
    if (!m.rules->sumLines(Summing::CashRounded))
        throw std::runtime_error("Zaokrouhlit did not save");
    const Clock::time_point rounded = Clock::now();
    t.header = milliseconds(start, headerSaved);
    t.lines = milliseconds(headerSaved, linesSaved);
    t.sum = milliseconds(linesSaved, summed);
    t.round = milliseconds(summed, rounded);
    return t;
}

void BM_SaveDocumentWith100Lines(benchmark::State& state) {
    Module& m = theModule();
    if (!m.error.empty()) {
        state.SkipWithError(m.error.c_str());
        return;
    }
    std::vector<double> totals, headers, lines, sums, rounds, wholes, cpus;
    int serial = 0;
    for (auto _ : state) {
        Timings t;
        const std::clock_t cpuStart = std::clock();
        try {
            t = saveOneDocument(m, ++serial);
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            break;
        }
        // Only the two questions of the commands may be asked.
        if (m.prompts.shown.size() != 2) {
            state.SkipWithError(
                ("unexpected boxes: " + m.prompts.shown.join(QLatin1Char('\n'))).toStdString().c_str());
            break;
        }
        m.prompts.shown.clear();
        const double total = t.header + t.lines + t.sum + t.round;
        state.SetIterationTime(total / 1e3);
        totals.push_back(total);
        headers.push_back(t.header);
        lines.push_back(t.lines);
        sums.push_back(t.sum);
        rounds.push_back(t.round);
        wholes.push_back(t.header + t.sum + t.round);
        cpus.push_back(1e3 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
    }
    state.counters["median_ms"] = median(totals);
    state.counters["header_ms"] = median(headers);
    state.counters["lines_ms"] = median(lines);
    state.counters["sum_ms"] = median(sums);
    state.counters["round_ms"] = median(rounds);
    state.counters["document_ms"] = median(wholes);
    state.counters["cpu_ms"] = median(cpus);
}

} // namespace

BENCHMARK(BM_SaveDocumentWith100Lines)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    return benchMain(argc, argv, [] { module.reset(); });
}
