// Creating a new embedded database: opening a new file and running the install
// script through the console runner, as the install run of the program does.
//
//   build-bench/bench/bench_install

#include "support/bench_database.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <stdexcept>

using namespace kelvarn::bench;

namespace {

using Clock = std::chrono::steady_clock;

void BM_Install(benchmark::State& state) {
    QString script;
    try {
        script = installScript();
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    for (auto _ : state) {
        try {
            const Clock::time_point start = Clock::now();
            auto db = createEmptyDatabase();
            runInstall(*db, script);
            state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            break;
        }
    }
}

} // namespace

BENCHMARK(BM_Install)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    return benchMain(argc, argv);
}
