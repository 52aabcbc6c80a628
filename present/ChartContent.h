#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/AppSettings.h"
#include "tally/TallyEngine.h"

namespace obrenta::present {

class ChartControl;

enum class ChartKind { Line, Bar };

struct ChartSeries {
    std::string legendText;            // code page 932
    std::vector<std::int64_t> values;  // one per row
    // A least-squares straight line through (row index, value), drawn by the chart.
    bool regressionLine = false;

    bool operator==(const ChartSeries&) const = default;
};

// Everything one chart shows, as numbers. Rows are the categories along the horizontal axis;
// every series holds one value per row.
struct ChartContent {
    ChartKind kind = ChartKind::Line;
    std::vector<ChartSeries> series;
    std::vector<std::int64_t> rowLabels;  // one per row, shown as decimal numbers
    // The score chart's game start times (seconds), one per row, for the hover texts; empty for
    // the histograms. Never part of what the report prints.
    std::vector<std::int64_t> rowTimes;
    bool showLegend = false;
    // The value axis; bounds set by the program, never by the chart.
    std::int64_t valueMinimum = 0;
    std::int64_t valueMaximum = 100;
    // A label and a tick mark every so many rows; 0 lets the chart choose.
    int labelSpacing = 0;
    int tickSpacing = 0;
    bool categoryTickMarks = true;
    // The gap between neighbouring bars, in percent of a bar's width.
    int columnSpacing = 30;

    int RowCount() const { return static_cast<int>(rowLabels.size()); }
    // Sets the number of rows of the labels and of every series; new rows hold 0.
    void SetRowCount(int rows);

    bool operator==(const ChartContent&) const = default;
};

// The chart of the 推移 page: per period the average rank with its 95% band, against the middle
// rank of the selection's tables. Drawn with better ranks up.
struct PeriodChartContent {
    struct Point {
        std::string label;  // code page 932: "2024/05" or "2024"
        std::int32_t games = 0;
        double avgRank = 0;
        double lower = 0;  // avgRank minus the half-width; the rank itself below two games
        double upper = 0;
        bool hasInterval = false;
    };
    std::vector<Point> points;  // oldest first
    double referenceRank = 0;   // 0 when there is no game
    // The rank axis: the ranks a game of the selection can have, 1 to 4, or 1 to 3 when every
    // selected game was played by three. The bands are drawn clipped to it.
    double rankMinimum = 1;
    double rankMaximum = 4;
    bool operator==(const PeriodChartContent&) const = default;
};

PeriodChartContent FillPeriodChart(const tally::TallyEngine& engine, bool yearly);
// What hovering a point shows (code page 932): "2024/05  32試合\n平均順位 2.312 ±0.118".
std::string PeriodPointText(const PeriodChartContent::Point& point);

// Every chart of the pages; a chart left null is skipped.
struct PageCharts {
    ChartControl* scoreChart = nullptr;          // the graph page
    ChartControl* windowScoreChart = nullptr;    // the separate chart window
    ChartControl* ownRatingDist = nullptr;       // "R分布(自分)"
    ChartControl* opponentRatingDist = nullptr;  // "R分布(相手)"
};

// A score chart before its first fill: one empty row, series "R値" and "得点".
void SetUpScoreChart(ChartContent& content);
// The regression-line flags of both series from StatLine1 and StatLine2.
void ApplyRegressionSettings(ChartContent& content, const settings::AppSettings& settings);
// Per selected game the user's R and running points total, the value axis bounds that follow
// R by at most 100 per game, and the label spacing. Series names and regression flags are kept.
void FillScoreChart(ChartContent& content, const tally::TallyEngine& engine,
                    const settings::AppSettings& settings);
// The histogram's bins from the first to the last non-zero one, as touching bars without tick
// marks; no rows when fewer than two bins are non-zero.
void FillRatingDistChart(ChartContent& content,
                         const std::array<std::int32_t, tally::kHistogramBins>& histogram);
void SetRegressionLine(ChartContent& content, int series, bool on);

// The hover texts (code page 932, lines separated by LF). A score chart's row: the game's number
// in the selection (from 1), its start date and time, the R and the running points total. A
// histogram's bar: the R range of its bin and its count. Empty for a row outside the content.
std::string ScoreChartToolTip(const ChartContent& content, int row);
std::string RatingDistToolTip(const ChartContent& content, int row);

// Both score charts set up with their regression lines, as the window is built.
void SetUpCharts(PageCharts& charts, const settings::AppSettings& settings);
// Every chart written from the results of the last tally.
void RefillCharts(const tally::TallyEngine& engine, const settings::AppSettings& settings,
                  PageCharts& charts);
// Inverts StatLine1 (series 1) or StatLine2 (series 2) and shows or hides the line on both score
// charts. Returns the new state, for the menu's check mark.
bool ToggleRegressionLine(int series, settings::AppSettings& settings, PageCharts& charts);

}  // namespace obrenta::present
