#include "support/bench_database.h"

#include "core/text_file.h"
#include "db/db_error.h"
#include "db/db_platform.h"
#include "output/console_runner.h"
#include "output/script_converter.h"

#include <QCoreApplication>
#include <QFile>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include <sys/resource.h>

namespace kelvarn::bench {

namespace {

[[noreturn]] void fail(const QString& text) {
    throw std::runtime_error(text.toStdString());
}

double statusMiB(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray wanted(key);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith(wanted))
            continue;
        // "VmRSS:	  123456 kB"
        const QByteArray number = line.mid(wanted.size()).trimmed().split(' ').value(0);
        return number.toDouble() / 1024.0;
    }
    return 0;
}

} // namespace

Answer YesPrompts::message(const QString& caption, const QString& text, MessageStyle) {
    shown << caption + QStringLiteral(": ") + text;
    return Answer::Yes;
}

bool YesPrompts::inputText(const QString&, const QString&, QString&) {
    return false;
}

QString YesPrompts::saveFileName(const QString&, const QString&, const QStringList&, const QString&) {
    return {};
}

QString YesPrompts::openFileName(const QString&, const QString&, const QStringList&) {
    return {};
}

QString installScript() {
    const QString path = QStringLiteral(KELVARN_SOURCE_DIR "/install/kelvarn_install.sql");
    QString script;
    QString error;
    if (!readCp1250File(path, script, &error))
        fail(QStringLiteral("cannot read %1: %2").arg(path, error));
    return script;
}

std::unique_ptr<BenchDatabase> createEmptyDatabase() {
    auto db = std::make_unique<BenchDatabase>();
    if (!db->dir.isValid())
        fail(QStringLiteral("cannot create a temporary folder: ") + db->dir.errorString());
    db->file = db->dir.filePath(QStringLiteral("kelvarn.db"));
    db->connectionString =
        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + db->file + QLatin1Char(';');
    db->state.platform = platformCode(DbPlatform::Jet);
    db->state.connectionString = db->connectionString;
    db->state.appDir = db->dir.path() + QLatin1Char('/');
    db->state.saveWithoutPrompt = true;
    try {
        db->session.open(db->connectionString, DbPlatform::Jet, true);
    } catch (const DbError& e) {
        fail(QStringLiteral("cannot open %1: %2").arg(db->file, e.text()));
    }
    return db;
}

void runInstall(BenchDatabase& db, const QString& script) {
    YesPrompts prompts;
    ConsoleRunner runner(db.session, db.state, prompts);
    runner.setMode(modeForPlatform(db.state.platform));
    db.state.installResult = 0;
    runner.run(script);
    if (db.state.installResult != 2 || !prompts.shown.isEmpty())
        fail(QStringLiteral("install script failed: ") + prompts.shown.join(QLatin1Char('\n')));
}

std::unique_ptr<BenchDatabase> createInstalledDatabase() {
    auto db = createEmptyDatabase();
    runInstall(*db, installScript());
    return db;
}

double peakResidentMiB() {
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return 0;
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

double residentMiB() {
    return statusMiB("VmRSS:");
}

int documentCount(int fallback) {
    bool ok = false;
    const int count = qEnvironmentVariableIntValue("KELVARN_BENCH_DOCUMENTS", &ok);
    return ok && count > 0 ? count : fallback;
}

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2 == 1)
        return *middle;
    const double upper = *middle;
    return (*std::max_element(values.begin(), middle) + upper) / 2;
}

int benchMain(int argc, char** argv, const std::function<void()>& teardown) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    int result = 0;
    {
        QCoreApplication app(argc, argv);
        try {
            benchmark::RunSpecifiedBenchmarks();
        } catch (const std::exception& e) {
            fprintf(stderr, "%s\n", e.what());
            result = 1;
        }
        if (teardown)
            teardown();
    }
    benchmark::Shutdown();
    return result;
}

} // namespace kelvarn::bench
