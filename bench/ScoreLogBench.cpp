// Reading and parsing the score log.

#include <fstream>
#include <iterator>
#include <sstream>

#include "bench/BenchMain.h"
#include "scorelog/ScoreLog.h"

namespace {

using obrenta::bench::TheBenchLog;

void SetThroughput(benchmark::State& state, long long bytes, std::size_t games) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bytes);
    // Decimal megabytes, as the size of the bench logs is counted.
    state.counters["MB"] =
        benchmark::Counter(static_cast<double>(bytes) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["games"] = static_cast<double>(games);
}

// The whole road of a changed log: open, read, cut into blocks, parse every block.
void BM_ReadScoreLog(benchmark::State& state) {
    const auto& log = TheBenchLog();
    std::size_t games = 0;
    for (auto _ : state) {
        obrenta::scorelog::ScoreLog scoreLog;  // a fresh one, so the file is always read
        if (!scoreLog.ReadScoreLog(log.path)) {
            state.SkipWithError("the log can't be read");
            return;
        }
        games = scoreLog.games().size();
        benchmark::DoNotOptimize(scoreLog.games().data());
    }
    SetThroughput(state, log.bytes, games);
}
BENCHMARK(BM_ReadScoreLog)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same without the file: cutting and parsing bytes already in memory.
void BM_ParseBuffer(benchmark::State& state) {
    const auto& log = TheBenchLog();
    std::ifstream in(log.path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    obrenta::scorelog::ScoreLog scoreLog;
    for (auto _ : state) {
        scoreLog.ParseBuffer(bytes);
        benchmark::DoNotOptimize(scoreLog.games().data());
    }
    SetThroughput(state, static_cast<long long>(bytes.size()), scoreLog.games().size());
}
BENCHMARK(BM_ParseBuffer)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

OBRENTA_BENCH_MAIN()
