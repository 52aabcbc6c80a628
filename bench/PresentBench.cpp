// Filling every list and chart of the pages from a finished tally.

#include <array>
#include <memory>

#include "bench/BenchMain.h"
#include "bench/BenchSettings.h"
#include "present/ChartContent.h"
#include "present/InMemoryChart.h"
#include "present/InMemoryListView.h"
#include "present/PageContent.h"
#include "tally/TallyEngine.h"

namespace {

using namespace obrenta;

struct Pages {
    std::array<present::InMemoryListView, present::kListCount> views;
    std::array<present::InMemoryChart, 4> charts;
    present::PageLists lists;
    present::PageCharts chartSet;

    explicit Pages(const settings::AppSettings& settings) {
        for (int i = 0; i < present::kListCount; ++i) lists.views[i] = &views[i];
        chartSet = {&charts[0], &charts[1], &charts[2], &charts[3]};
        present::SetUpPages(lists, chartSet, settings);
    }

    int Rows() const {
        int rows = 0;
        for (const auto& view : views) rows += view.RowCount();
        return rows;
    }
};

void RunRefill(benchmark::State& state, const settings::AppSettings& settings) {
    tally::TallyEngine engine(settings);
    if (!engine.ReadScoreLog()) {
        state.SkipWithError("the log can't be read");
        return;
    }
    engine.Tally();
    auto pages = std::make_unique<Pages>(settings);
    for (auto _ : state) {
        present::RefillPages(engine, settings, pages->lists, pages->chartSet);
        benchmark::ClobberMemory();
    }
    state.counters["selected"] = static_cast<double>(engine.selectedGames.size());
    state.counters["rows"] = pages->Rows();
}

void BM_RefillPagesAllGames(benchmark::State& state) {
    RunRefill(state, bench::OpenFilterSettings(bench::TheBenchLog()));
}
BENCHMARK(BM_RefillPagesAllGames)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RefillPagesRecent10000(benchmark::State& state) {
    auto settings = bench::OpenFilterSettings(bench::TheBenchLog());
    settings.recentCount = 10000;
    RunRefill(state, settings);
}
BENCHMARK(BM_RefillPagesRecent10000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

OBRENTA_BENCH_MAIN()
