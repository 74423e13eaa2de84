#include "support/sqlite_tool.h"

#include "support/bench_database.h"

#include <QProcess>

#include <stdexcept>
#include <vector>

#include <sys/resource.h>
#include <time.h>

namespace kelvarn::bench {

double runSqliteTool(const QString& file, const QString& statement) {
    QProcess tool;
    tool.setStandardOutputFile(QProcess::nullDevice());
    const Clock::time_point start = Clock::now();
    tool.start(QStringLiteral("sqlite3"), {file, statement});
    if (!tool.waitForFinished(-1) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        throw std::runtime_error("sqlite3 failed: " + tool.errorString().toStdString() + " " +
                                 tool.readAllStandardError().toStdString());
    return secondsSince(start);
}

double sqliteToolSeconds(const QString& file, const QString& statement, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(runSqliteTool(file, statement));
    return median(times);
}

namespace {

double childrenCpuSeconds() {
    rusage usage{};
    if (getrusage(RUSAGE_CHILDREN, &usage) != 0)
        return 0;
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

ToolTimes sqliteToolTimes(const QString& file, const QString& statement, int runs) {
    std::vector<double> walls;
    std::vector<double> cpus;
    for (int i = 0; i < runs; ++i) {
        // The children's times grow once the tool has been waited for.
        const double before = childrenCpuSeconds();
        walls.push_back(runSqliteTool(file, statement));
        cpus.push_back(childrenCpuSeconds() - before);
    }
    return {median(walls), median(cpus)};
}

double processCpuSeconds() {
    timespec t{};
    if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t) != 0)
        return 0;
    return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

} // namespace kelvarn::bench
