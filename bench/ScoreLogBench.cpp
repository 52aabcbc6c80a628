// Reading and parsing the score log.

#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "bench/BenchMain.h"
#include "scorelog/LogSet.h"
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

// The bench log cut in two at the game block nearest its middle, each half written to a file of
// its own in the temporary directory (removed when the program ends): two logs of half the size,
// with no game in both.
struct Halves {
    std::string paths[2];
    long long bytes = 0;
    ~Halves() {
        for (const std::string& path : paths) {
            if (!path.empty()) std::filesystem::remove(path);
        }
    }
};

const Halves* TheHalves() {
    static const Halves* halves = [] {
        const auto& log = TheBenchLog();
        std::ifstream in(log.path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::size_t cut = bytes.find("\n=====", bytes.size() / 2);
        if (cut == std::string::npos) return static_cast<Halves*>(nullptr);
        static Halves made;
        made.bytes = static_cast<long long>(bytes.size());
        const std::string parts[2] = {bytes.substr(0, cut + 1), bytes.substr(cut + 1)};
        for (int k = 0; k < 2; ++k) {
            made.paths[k] = (std::filesystem::temp_directory_path() /
                             ("obrenta-half" + std::to_string(k) + "-" + std::to_string(::getpid()) + ".txt"))
                                .string();
            std::ofstream out(made.paths[k], std::ios::binary | std::ios::trunc);
            out << parts[k];
        }
        return &made;
    }();
    return halves;
}

// The two halves read as one, the logs side by side and each on every thread, then merged:
// against BM_ReadScoreLog, what reading one log as two costs.
void BM_ReadTwoHalvesAsOne(benchmark::State& state) {
    const Halves* halves = TheHalves();
    if (halves == nullptr) {
        state.SkipWithError("the log has no block to cut at");
        return;
    }
    const std::vector<std::string> paths(std::begin(halves->paths), std::end(halves->paths));
    std::size_t games = 0;
    for (auto _ : state) {
        obrenta::scorelog::LogSet set;  // a fresh one, so both files are always read
        for (const auto& outcome : set.ReadLogs(paths)) {
            if (!outcome) state.SkipWithError("a half can't be read");
        }
        games = set.games().size();
        benchmark::DoNotOptimize(set.games().data());
    }
    SetThroughput(state, halves->bytes, games);
}
BENCHMARK(BM_ReadTwoHalvesAsOne)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// Times MergeGames over the two lists and counts the games it keeps.
void MeasureMerge(benchmark::State& state,
                  std::array<const std::vector<obrenta::scorelog::GameRecord>*, 2> lists) {
    std::size_t games = 0;
    for (auto _ : state) {
        const std::vector<obrenta::scorelog::GameRecord> merged = obrenta::scorelog::MergeGames(lists);
        games = merged.size();
        benchmark::DoNotOptimize(merged.data());
    }
    state.counters["games"] = static_cast<double>(games);
}

// The merge alone: the games of the two halves, read once, put in order with the copies found.
void BM_MergeTwoHalves(benchmark::State& state) {
    const Halves* halves = TheHalves();
    if (halves == nullptr) {
        state.SkipWithError("the log has no block to cut at");
        return;
    }
    obrenta::scorelog::ScoreLog logs[2];
    for (int k = 0; k < 2; ++k) {
        if (!logs[k].ReadScoreLog(halves->paths[k])) state.SkipWithError("a half can't be read");
    }
    MeasureMerge(state, {&logs[0].games(), &logs[1].games()});
}
BENCHMARK(BM_MergeTwoHalves)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// The worst case of the merge: a log merged with a copy of itself, every game found twice.
void BM_MergeWithACopy(benchmark::State& state) {
    obrenta::scorelog::ScoreLog log;
    if (!log.ReadScoreLog(TheBenchLog().path)) state.SkipWithError("the log can't be read");
    MeasureMerge(state, {&log.games(), &log.games()});
}
BENCHMARK(BM_MergeWithACopy)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

}  // namespace

OBRENTA_BENCH_MAIN()
