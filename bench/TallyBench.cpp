// The tally pass over a log that has already been read.

#include <ctime>

#include "base/LocalTime.h"
#include "bench/BenchMain.h"
#include "bench/BenchSettings.h"
#include "tally/TallyEngine.h"

namespace {

using obrenta::bench::OpenFilterSettings;
using obrenta::bench::TheBenchLog;

std::int64_t LocalSeconds(int year, int month, int day, int hour, int minute, int second) {
    return obrenta::base::LocalToSeconds(year, month, day, hour, minute, second);
}

void RunTally(benchmark::State& state, const obrenta::settings::AppSettings& settings) {
    obrenta::tally::TallyEngine engine(settings);
    if (!engine.ReadScoreLog()) {
        state.SkipWithError("the log can't be read");
        return;
    }
    for (auto _ : state) {
        engine.Tally();
        benchmark::DoNotOptimize(engine.gameCount);
    }
    state.counters["logGames"] = static_cast<double>(engine.scoreLog().games().size());
    state.counters["selected"] = static_cast<double>(engine.selectedGames.size());
}

void BM_TallyAllGames(benchmark::State& state) {
    RunTally(state, OpenFilterSettings(TheBenchLog()));
}
BENCHMARK(BM_TallyAllGames)->Unit(benchmark::kMillisecond)->UseRealTime();

// One year, ranking tables only, four players east-south, first or second place.
void BM_TallyNarrowFilter(benchmark::State& state) {
    auto settings = OpenFilterSettings(TheBenchLog());
    settings.dateFrom = LocalSeconds(2021, 1, 1, 0, 0, 0);
    settings.dateTo = LocalSeconds(2021, 12, 31, 23, 59, 59);
    settings.tableKindFilter = {0, 0, 1, 0};
    settings.gameKindFilter = {1, 0, 0, 1};
    settings.rankFilter = {1, 1, 0, 0};
    RunTally(state, settings);
}
BENCHMARK(BM_TallyNarrowFilter)->Unit(benchmark::kMillisecond)->UseRealTime();

// The default limit of the filter panel: the newest 10000 games.
void BM_TallyRecent10000(benchmark::State& state) {
    auto settings = OpenFilterSettings(TheBenchLog());
    settings.recentCount = 10000;
    RunTally(state, settings);
}
BENCHMARK(BM_TallyRecent10000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

OBRENTA_BENCH_MAIN()
