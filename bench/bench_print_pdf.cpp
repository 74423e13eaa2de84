// Printed forms to PDF: a one-page issued invoice, the cash book of 10,000 rows, and
// the memory the cash book of 100,000 rows takes, through the shipped report project,
// the report engine and the page painter the preview and the printer use.
//
//   build-bench/bench/bench_print_pdf
//
// Every benchmark reports the median of its repetitions with counters: pages,
// cpu_ms, peak_rss_MiB (peak resident size of the process so far) and, for the lists,
// rows and ms_per_page. The page callback stands in for the progress line of the
// preview ("Generuji stranu %p"); the run fails (exit code 1) when it was not called
// once per page or when a PDF came out empty.

#include "db/dataset.h"
#include "output/report_painter.h"
#include "output/report_template_engine.h"
#include "support/bench_database.h"
#include "support/cashbook_fill.h"
#include "support/document_fill.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <stdexcept>

using namespace kelvarn;
using namespace kelvarn::bench;

namespace {

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Keeps what the engine generated; the benchmark decides when to paint it.
class Keep : public ReportOutput {
  public:
    void present(const RenderedReport& report) override { last = report; }
    RenderedReport last;
};

// An installed database, the shipped project and the connections a report needs.
struct Setup {
    std::unique_ptr<BenchDatabase> db;
    std::vector<std::unique_ptr<Dataset>> datasets;
    Keep output;
    ReportTemplateEngine engine;

    void bind(int connection, const QString& sql) {
        auto ds = std::make_unique<Dataset>(db->session, QStringLiteral("connection%1").arg(connection));
        ds->setSql(sql);
        ds->open();
        engine.bindConnection(connection, ds.get());
        datasets.push_back(std::move(ds));
    }

    explicit Setup(int cashBookRows) {
        db = createInstalledDatabase();
        if (cashBookRows > 0)
            fillCashBook(db->session, cashBookRows);
        engine.setOutput(&output);
        engine.setProjectFile(QStringLiteral(KELVARN_SOURCE_DIR "/reports/sestavy.rav"));
        engine.openProject();
        engine.setParameter(QStringLiteral("p_logo01"), QStringLiteral(KELVARN_SOURCE_DIR "/reports/logo.bmp"));
        engine.setParameter(QStringLiteral("filtr_jmeno"), QStringLiteral("Nebyl aplikován žádný filtr."));
        db->session.execute(
            QStringLiteral("UPDATE tbl_podnikatel SET nazev='Jiří Dvořák - truhlářství', ico='27384519', "
                           "dic='CZ7801011234', platce_dph='Ano'"));
        bind(3, QStringLiteral("SELECT * FROM tbl_podnikatel"));
    }

    // One invoice of the kind a sole trader writes: five lines and a deposit.
    void invoice() {
        fillDocuments(db->session, 1);
        db->session.execute(QStringLiteral(
            "UPDATE tbl_doklad SET cislo_dokladu='FAV-2026-00001', zpusob_uhrady='bank. převodem', "
            "dod_cislo_uctu_IBAN='CZ6508000000192000145399', zbyva_uhradit=23074.24, mena='Kč', "
            "variabilni_symbol='0202600001'"));
        const char* lines[] = {"Stůl jídelní dubový 160x90", "Židle buková čalouněná", "Montáž nábytku",
                               "Doprava Třebíč – Jihlava", "Lakování"};
        int row = 0;
        for (const char* line : lines)
            db->session.execute(
                QStringLiteral("INSERT INTO tbl_polozky (id_tbl_doklad, cislo_radku, kod_zbozi, popis, mnozstvi, "
                               "mj, cena_jednotka, dph, cena_celkem_bez_dph, dph_celkem, "
                               "cena_celkem_s_dph) SELECT id, %1, 'K%1', '%2', 2, 'ks', 1250.5, 21, 2501, 525.21, "
                               "3026.21 FROM tbl_doklad")
                    .arg(++row)
                    .arg(QString::fromUtf8(line)));
        bind(1, QStringLiteral("SELECT * FROM tbl_doklad"));
        bind(2, QStringLiteral("SELECT * FROM tbl_polozky ORDER BY cislo_radku, id"));
        bind(4, QStringLiteral("SELECT * FROM tbl_polozky WHERE 1=0"));
    }
};

// Generates and paints the report into a PDF file; returns the pages.
int toPdf(Setup& setup, const QString& report, const QString& path) {
    setup.engine.runReport(report);
    int pages = 0;
    int calls = 0;
    ReportPainter(setup.output.last).writePdf(path, [&](int page) {
        pages = page;
        ++calls;
    });
    if (pages < 1 || calls != pages || QFileInfo(path).size() < 1000)
        throw std::runtime_error("the PDF came out empty or the progress skipped pages");
    return pages;
}

void BM_InvoiceToPdf(benchmark::State& state) {
    Setup setup(0);
    setup.invoice();
    const QString path = setup.db->dir.filePath(QStringLiteral("faktura.pdf"));
    int pages = 0;
    double cpu = 0;
    for (auto _ : state) {
        const double c0 = cpuMs();
        pages = toPdf(setup, QStringLiteral("M3_platce_DPH_Faktura_vydana_bezhotovostni"), path);
        cpu += cpuMs() - c0;
    }
    state.counters["pages"] = pages;
    state.counters["cpu_ms"] = cpu / static_cast<double>(state.iterations());
    state.counters["peak_rss_MiB"] = peakResidentMiB();
}
BENCHMARK(BM_InvoiceToPdf)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true)->MinTime(1.0);

void cashBook(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    Setup setup(rows);
    setup.bind(6, QStringLiteral("SELECT * FROM tbl_hlavnikniha ORDER BY datum, id"));
    const QString path = setup.db->dir.filePath(QStringLiteral("penezni-denik.pdf"));
    int pages = 0;
    double cpu = 0;
    for (auto _ : state) {
        const double c0 = cpuMs();
        pages = toPdf(setup, QStringLiteral("M1_Prijmy_a_Vydaje"), path);
        cpu += cpuMs() - c0;
    }
    const double perRun = cpu / static_cast<double>(state.iterations());
    state.counters["rows"] = rows;
    state.counters["pages"] = pages;
    state.counters["cpu_ms"] = perRun;
    state.counters["ms_per_page"] = perRun / pages;
    state.counters["peak_rss_MiB"] = peakResidentMiB();
}

void BM_CashBookToPdf(benchmark::State& state) {
    cashBook(state);
}
BENCHMARK(BM_CashBookToPdf)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// Last: the peak resident size counts everything the process held so far.
void BM_CashBookMemory(benchmark::State& state) {
    cashBook(state);
}
BENCHMARK(BM_CashBookMemory)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    int result = 0;
    {
        // Text is laid out with the fonts of the system, which needs the GUI part of Qt.
        qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
        QGuiApplication app(argc, argv);
        try {
            benchmark::RunSpecifiedBenchmarks();
        } catch (const std::exception& e) {
            fprintf(stderr, "%s\n", e.what());
            result = 1;
        }
    }
    benchmark::Shutdown();
    return result;
}
