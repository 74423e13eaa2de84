#pragma once

#include <QString>

#include <chrono>

namespace kelvarn::bench {

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// One run of `sqlite3 <file> "<statement>" > /dev/null`, in seconds, process start
// included: the yardstick a list reading the same rows is compared with. Throws
// std::runtime_error when the tool is missing or fails.
double runSqliteTool(const QString& file, const QString& statement);

// The median of `runs` such runs.
double sqliteToolSeconds(const QString& file, const QString& statement, int runs = 5);

// Medians of `runs` runs: wall time, and the CPU time (user + system) the tool
// process used. On a shared machine the CPU times compare more steadily than the
// wall times.
struct ToolTimes {
    double wallSeconds = 0;
    double cpuSeconds = 0;
};
ToolTimes sqliteToolTimes(const QString& file, const QString& statement, int runs = 5);

// CPU time (user + system) this process has used so far.
double processCpuSeconds();

} // namespace kelvarn::bench
