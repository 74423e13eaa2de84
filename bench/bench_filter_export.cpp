// Export of a long cash book and applying a user filter to a long document list,
// each against the sqlite3 tool doing the same work (see README.md beside).

#include "app/filter_commands.h"
#include "app/module_datasets.h"
#include "core/diagnostic_log.h"
#include "core/time_zone.h"
#include "db/czech_order.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "lists/column_caption_map.h"
#include "lists/panel_queries.h"
#include "output/list_export.h"
#include "support/bench_database.h"
#include "support/null_shell_view.h"
#include "support/cashbook_fill.h"
#include "support/document_fill.h"
#include "support/sqlite_tool.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

using namespace kelvarn;
using namespace kelvarn::bench;

namespace {

constexpr int kRows = 100000;
constexpr int kToolRuns = 5;

// The separator "$" and the file name the export asks for.
class ExportPrompts : public YesPrompts {
  public:
    bool inputText(const QString&, const QString&, QString& value) override {
        value = QStringLiteral("$");
        return true;
    }
    QString saveFileName(const QString&, const QString&, const QStringList&, const QString&) override {
        return target;
    }
    QString target;
};

// The main window's lists without widgets over one filled database.
struct Window {
    explicit Window(BenchDatabase& db)
        : context(db.session, db.state, prompts, log), queries(context),
          entrepreneur(db.session, QStringLiteral("ADOFormPodnikatel")),
          modules(db.session, context, entrepreneur, queries, shell) {
        db.state.vatReduced = 12;
        db.state.vatBasic = 21;
        entrepreneur.setTable(QStringLiteral("tbl_podnikatel"));
        queries.init([this](const QString& name) { return modules.dataset(name); });
        maps = buildCaptionMaps(db.state);
    }
    QList<CaptionEntry> captions(int tab) const { return ColumnCaptionMap::read(maps[tab]); }

    ExportPrompts prompts;
    DiagnosticLog log;
    NullShellView shell;
    DbContext context;
    PanelQueries queries;
    Dataset entrepreneur;
    ModuleDatasets modules;
    std::array<QString, kCaptionMapCount> maps;
};

struct Result {
    std::vector<double> wall;
    double tool = 0;
    QString toolStatement;
    std::string error;
};
std::map<std::string, Result> results;
// Filled once; closed while Qt is still up.
std::unique_ptr<BenchDatabase> bookDb;
std::unique_ptr<BenchDatabase> documentsDb;

// The tool writing the rows with the separator into a file, process start included.
double toolToFile(const QString& file, const QString& statement, const QString& output) {
    std::vector<double> times;
    for (int i = 0; i < kToolRuns; ++i) {
        QProcess tool;
        tool.setStandardOutputFile(output);
        const Clock::time_point start = Clock::now();
        tool.start(QStringLiteral("sqlite3"), {QStringLiteral("-separator"), QStringLiteral("$"), file, statement});
        if (!tool.waitForFinished(-1) || tool.exitCode() != 0)
            throw std::runtime_error("sqlite3 failed: " + tool.readAllStandardError().toStdString());
        times.push_back(secondsSince(start));
    }
    return median(times);
}

void BM_ExportCashBook(benchmark::State& st) {
    std::unique_ptr<BenchDatabase>& db = bookDb;
    Result& r = results["export 100000 cash-book rows"];
    try {
        if (!db) {
            db = createInstalledDatabase();
            fillCashBook(db->session, kRows);
        }
        Window w(*db);
        w.modules.controller().tabChanged(1);
        Dataset& book = *w.modules.dataset(QStringLiteral("ADOFormHlavniKniha"));
        w.prompts.target = db->dir.filePath(QStringLiteral("kelvarn_prijmy_a_vydaje.txt"));
        // The progress bar's share: a counter per row and the window's turn every 15 ms.
        int position = 0;
        QElapsedTimer breath;
        breath.start();
        ExportView view;
        view.startProgress = [&position](int) { position = 0; };
        view.advance = [&] {
            ++position;
            if (breath.elapsed() >= 15) {
                QCoreApplication::processEvents();
                breath.restart();
            }
        };
        ListExport exporter(
            w.context, [&w](const QString& name) { return w.modules.dataset(name); },
            [&w](int tab) { return w.captions(tab); }, view);
        for (auto _ : st) {
            const Clock::time_point start = Clock::now();
            exporter.run(QStringLiteral("FormHlavniKniha"));
            const double seconds = secondsSince(start);
            st.SetIterationTime(seconds);
            r.wall.push_back(seconds);
        }
        if (position != kRows || !w.prompts.shown.isEmpty())
            throw std::runtime_error("the export did not write every row cleanly");
        if (r.tool == 0) {
            QStringList columns;
            for (const CaptionEntry& e : w.captions(1))
                columns << e.column;
            r.toolStatement = QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")) +
                              QStringLiteral(" FROM tbl_hlavnikniha ORDER BY datum DESC, id DESC");
            r.tool = toolToFile(db->file, r.toolStatement, db->dir.filePath(QStringLiteral("tool.txt")));
        }
        st.counters["tool_ms"] = r.tool * 1000;
        st.counters["rows"] = book.recordCount();
    } catch (const std::exception& e) {
        r.error = e.what();
        st.SkipWithError(e.what());
    }
}

void BM_ApplyFilter(benchmark::State& st) {
    std::unique_ptr<BenchDatabase>& db = documentsDb;
    Result& r = results["filter on 100000 documents"];
    try {
        if (!db) {
            db = createInstalledDatabase();
            fillDocuments(db->session, kRows);
        }
        Window w(*db);
        FilterCommands filters(
            w.modules.controller(), w.queries, w.context, db->session, [&w](int tab) { return w.captions(tab); },
            [&w](const QString& panel) { w.modules.refreshPanel(panel); });
        w.modules.controller().tabChanged(3);
        FilterEditor& editor = filters.editor();
        editor.prepare(3, 0, w.captions(3));
        editor.newRow();
        editor.filters().setValue(QStringLiteral("nazev"), QStringLiteral("Neuhrazené v CZK"));
        editor.setDefinition(QStringLiteral("[Zbývá uhradit] > 0.00\r\nAND [Měna] = 'CZK'"));
        editor.save();
        filters.setShowDialog([](FilterEditor& e, FilterResult& result, qint64& id) { e.close(true, result, id); });
        Dataset& list = *w.modules.dataset(QStringLiteral("ADOFormFAV"));
        for (auto _ : st) {
            filters.filterCancelClick(); // not timed: the list as it was
            const Clock::time_point start = Clock::now();
            filters.filterClick();
            const double seconds = secondsSince(start);
            st.SetIterationTime(seconds);
            r.wall.push_back(seconds);
        }
        st.counters["rows"] = list.recordCount();
        if (r.tool == 0) {
            // The tool has no Czech collation; it sorts by character code, the cheaper order.
            r.toolStatement = db->session.nativeStatement(list.sql());
            r.toolStatement.remove(QStringLiteral(" COLLATE ") + CzechOrder::kSqliteCollation);
            r.tool = sqliteToolSeconds(db->file, r.toolStatement, kToolRuns);
        }
        st.counters["tool_ms"] = r.tool * 1000;
    } catch (const std::exception& e) {
        r.error = e.what();
        st.SkipWithError(e.what());
    }
}

void printSummary() {
    std::printf("\n%-32s %10s %10s %6s  %s\n", "operation", "median ms", "sqlite3 ms", "ratio", "target <= 1.5x");
    for (const auto& [name, r] : results) {
        if (!r.error.empty()) {
            std::printf("%-32s failed: %s\n", name.c_str(), r.error.c_str());
            continue;
        }
        const double wall = median(r.wall);
        const double ratio = r.tool > 0 ? wall / r.tool : 0;
        std::printf("%-32s %10.1f %10.1f %6.2f  %s\n", name.c_str(), wall * 1000, r.tool * 1000, ratio,
                    r.tool > 0 && ratio <= 1.5 ? "met" : "MISSED");
    }
    for (const auto& [name, r] : results)
        std::printf("%s: %s\n", name.c_str(), r.toolStatement.toUtf8().constData());
}

} // namespace

BENCHMARK(BM_ExportCashBook)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_ApplyFilter)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    pinSystemTimeZone(); // as the program does
    return benchMain(argc, argv, [] {
        printSummary();
        bookDb.reset();
        documentsDb.reset();
    });
}
