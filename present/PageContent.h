#pragma once

#include <array>
#include <cstdint>

#include "present/ChartControl.h"
#include "present/ListDefinitions.h"
#include "present/ListFill.h"
#include "present/ListSort.h"
#include "present/ListView.h"
#include "settings/AppSettings.h"
#include "tally/TallyEngine.h"

namespace obrenta::present {

struct PageLists {
    std::array<ListView*, kListCount> views{};
    ListView& operator[](ListId list) const { return *views[static_cast<int>(list)]; }
};

struct PageCharts {
    ChartControl* scoreChart = nullptr;          // the graph page
    ChartControl* windowScoreChart = nullptr;    // the separate chart window
    ChartControl* ownRatingDist = nullptr;       // "R分布(自分)"
    ChartControl* opponentRatingDist = nullptr;  // "R分布(相手)"
};

// Every list in the order the window builds them, then both score charts and their regression
// lines.
void SetUpPages(PageLists& lists, PageCharts& charts, const settings::AppSettings& settings);

// Writes every list and chart from the results of the last tally, saved sorts applied.
void RefillPages(const tally::TallyEngine& engine, const settings::AppSettings& settings, PageLists& lists,
                 PageCharts& charts);

// --- charts -------------------------------------------------------------------------------
void SetUpScoreChart(ChartControl& chart);
void FillScoreChart(ChartControl& chart, const tally::TallyEngine& engine,
                    const settings::AppSettings& settings);
void FillRatingDistChart(ChartControl& chart,
                         const std::array<std::int32_t, tally::kHistogramBins>& histogram);
void SetRegressionLine(ChartControl& chart, int series, bool on);
void ApplyRegressionSettings(ChartControl& chart, const settings::AppSettings& settings);
// Inverts StatLine1 (series 1) or StatLine2 (series 2) and shows or hides the line on both score
// charts. Returns the new state, for the menu's check mark.
bool ToggleRegressionLine(int series, settings::AppSettings& settings, PageCharts& charts);

}  // namespace obrenta::present
