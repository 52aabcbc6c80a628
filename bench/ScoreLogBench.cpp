// Reading and parsing the score log.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
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
BENCHMARK(BM_ReadScoreLog)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

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
BENCHMARK(BM_ParseBuffer)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// ParseBuffer on one thread, as every read was before the log was split among threads.
void BM_ParseBufferOneThread(benchmark::State& state) {
    const auto& log = TheBenchLog();
    std::ifstream in(log.path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    obrenta::scorelog::ScoreLog scoreLog;
    for (auto _ : state) {
        scoreLog.ParseBuffer(bytes, {});
        benchmark::DoNotOptimize(scoreLog.games().data());
    }
    SetThroughput(state, static_cast<long long>(bytes.size()), scoreLog.games().size());
}
BENCHMARK(BM_ParseBufferOneThread)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// The read after a game has been appended to a log read before: the log is copied to the
// temporary directory and read once, then each iteration appends its last game again (outside
// the timing) and reads.
void BM_ReadAppendedGame(benchmark::State& state) {
    const auto& log = TheBenchLog();
    std::ifstream in(log.path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t lastGame = bytes.rfind("\n=====");
    if (lastGame == std::string::npos) {
        state.SkipWithError("the log has no game to append");
        return;
    }
    const std::string game = bytes.substr(lastGame + 1);
    const std::string path =
        (std::filesystem::temp_directory_path() / ("obrenta-append-" + std::to_string(::getpid()) + ".txt"))
            .string();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    obrenta::scorelog::ScoreLog scoreLog;
    if (!scoreLog.ReadScoreLog(path)) {
        state.SkipWithError("the copy can't be read");
        return;
    }
    std::FILE* file = std::fopen(path.c_str(), "ab");
    for (auto _ : state) {
        state.PauseTiming();
        std::fwrite(game.data(), 1, game.size(), file);
        std::fflush(file);
        state.ResumeTiming();
        if (!scoreLog.ReadScoreLog(path)) {
            state.SkipWithError("the grown copy can't be read");
            break;
        }
        benchmark::DoNotOptimize(scoreLog.games().data());
    }
    std::fclose(file);
    std::filesystem::remove(path);
    state.counters["games"] = static_cast<double>(scoreLog.games().size());
    state.counters["appendReads"] = static_cast<double>(scoreLog.appendReadCount());
}
BENCHMARK(BM_ReadAppendedGame)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();

}  // namespace

OBRENTA_BENCH_MAIN()
