#include "present/ChartContent.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "base/LocalTime.h"
#include "present/CellFormat.h"
#include "present/ChartControl.h"
#include "present/ListDefinitions.h"
#include "present/TextCodec.h"

namespace obrenta::present {
namespace {

int LabelSpacing(std::size_t games) {
    if (games < 500) return 50;
    if (games < 1000) return 100;
    if (games < 2000) return 200;
    if (games < 5000) return 500;
    return 1000;
}

}  // namespace

void ChartContent::SetRowCount(int rows) {
    rows = std::max(rows, 0);
    rowLabels.resize(rows);
    for (ChartSeries& s : series) s.values.resize(rows);
}

void SetUpScoreChart(ChartContent& content) {
    static const std::string ratingSeries = Cp932Literal("R値");
    static const std::string pointsSeries = Cp932Literal("得点");
    content.kind = ChartKind::Line;
    content.series.resize(2);
    content.series[0].legendText = ratingSeries;
    content.series[1].legendText = pointsSeries;
    content.SetRowCount(1);
}

// The settings stay in the signature for the callers; the selection already carries the seats.
void FillScoreChart(ChartContent& content, const tally::TallyEngine& engine, const settings::AppSettings&) {
    const auto& games = engine.selectedGames;
    content.kind = ChartKind::Line;
    if (content.series.size() < 2) content.series.resize(2);
    std::vector<std::int64_t>& ratings = content.series[0].values;
    std::vector<std::int64_t>& sums = content.series[1].values;
    ratings.clear();
    sums.clear();
    content.rowLabels.clear();
    content.rowTimes.clear();
    content.rowTimes.reserve(games.size());
    ratings.reserve(games.size());
    sums.reserve(games.size());
    content.rowLabels.reserve(games.size());

    std::int32_t first = games.empty() ? 1500 : games.front().user().rating;
    // Integer division truncates toward zero, as the bounds always have.
    std::int64_t lo = static_cast<std::int64_t>(first) / 100 * 100;
    std::int64_t hi = lo + 100;
    std::int64_t sum = 0;
    std::int64_t label = 0;
    for (const tally::SelectedGame& game : games) {
        const scorelog::SeatResult& seat = game.user();
        ratings.push_back(seat.rating);
        sum += seat.points;
        sums.push_back(sum);
        // Each bound moves by at most 100 per game, whatever the jump.
        if (seat.rating > hi) hi += 100;
        if (seat.rating < lo) lo -= 100;
        content.rowLabels.push_back(label++);
        content.rowTimes.push_back(game.game.startTime);
    }
    content.SetRowCount(static_cast<int>(games.size()));
    content.valueMinimum = lo;
    content.valueMaximum = hi;
    content.labelSpacing = LabelSpacing(games.size());
    content.tickSpacing = content.labelSpacing;
    content.showLegend = false;
}

void FillRatingDistChart(ChartContent& content,
                         const std::array<std::int32_t, tally::kHistogramBins>& histogram) {
    content.kind = ChartKind::Bar;
    if (content.series.empty()) content.series.resize(1);
    int first = -1;
    int last = -1;
    for (int b = 0; b < tally::kHistogramBins; ++b) {
        if (histogram[b] == 0) continue;
        if (first < 0) first = b;
        last = b;
    }
    if (first < 0 || first == last) {
        content.SetRowCount(0);
        return;
    }
    content.SetRowCount(last - first + 1);
    for (int b = first; b <= last; ++b) {
        content.series[0].values[b - first] = histogram[b];
        content.rowLabels[b - first] = 10 * b;
    }
    content.categoryTickMarks = false;
    content.columnSpacing = 0;
}

std::string ScoreChartToolTip(const ChartContent& content, int row) {
    if (row < 0 || row >= content.RowCount() || content.series.size() < 2) return {};
    static const std::string game = Cp932Literal("%d 戦目\n");
    static const std::string points = Cp932Literal("\n得点計 %lld");
    std::string text = FormatCell(game.c_str(), row + 1);
    if (static_cast<std::size_t>(row) < content.rowTimes.size()) {
        const std::tm t = base::SecondsToLocal(content.rowTimes[row]).value_or(std::tm{});
        text += FormatCell("%04d/%02d/%02d %02d:%02d\n", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour,
                           t.tm_min);
    }
    text += FormatCell("R %lld", static_cast<long long>(content.series[0].values[row]));
    text += FormatCell(points.c_str(), static_cast<long long>(content.series[1].values[row]));
    return text;
}

std::string RatingDistToolTip(const ChartContent& content, int row) {
    if (row < 0 || row >= content.RowCount() || content.series.empty()) return {};
    static const std::string count = Cp932Literal("\n%lld 件");
    const long long low = content.rowLabels[row];
    return FormatCell("R %lld - %lld", low, low + 9) +
           FormatCell(count.c_str(), static_cast<long long>(content.series[0].values[row]));
}

void SetRegressionLine(ChartContent& content, int series, bool on) {
    if (series < 1 || static_cast<std::size_t>(series) > content.series.size()) return;
    content.series[series - 1].regressionLine = on;
}

void ApplyRegressionSettings(ChartContent& content, const settings::AppSettings& settings) {
    SetRegressionLine(content, 1, settings.StatLine1 != 0);
    SetRegressionLine(content, 2, settings.StatLine2 != 0);
}

namespace {

// The score chart as set up with the window and its regression lines as the settings hold them.
ChartContent ScoreChartBase(const settings::AppSettings& settings) {
    ChartContent content;
    SetUpScoreChart(content);
    ApplyRegressionSettings(content, settings);
    return content;
}

}  // namespace

void SetUpCharts(PageCharts& charts, const settings::AppSettings& settings) {
    const ChartContent content = ScoreChartBase(settings);
    if (charts.scoreChart) charts.scoreChart->SetContent(content);
    if (charts.windowScoreChart) charts.windowScoreChart->SetContent(content);
}

void RefillCharts(const tally::TallyEngine& engine, const settings::AppSettings& settings,
                  PageCharts& charts) {
    // The toggles keep StatLine1 and StatLine2 as the charts show them, so the settings give
    // the regression lines of the refilled charts.
    ChartContent score = ScoreChartBase(settings);
    FillScoreChart(score, engine, settings);
    if (charts.scoreChart) charts.scoreChart->SetContent(score);
    if (charts.windowScoreChart) charts.windowScoreChart->SetContent(score);
    ChartContent dist;
    FillRatingDistChart(dist, engine.ownRHistogram);
    if (charts.ownRatingDist) charts.ownRatingDist->SetContent(dist);
    dist = {};
    FillRatingDistChart(dist, engine.opponentRHistogram);
    if (charts.opponentRatingDist) charts.opponentRatingDist->SetContent(dist);
}

bool ToggleRegressionLine(int series, settings::AppSettings& settings, PageCharts& charts) {
    if (series != 1 && series != 2) return false;
    std::int32_t& state = series == 1 ? settings.StatLine1 : settings.StatLine2;
    state = state == 0 ? 1 : 0;
    bool on = state != 0;
    if (charts.scoreChart) charts.scoreChart->SetRegressionLine(series, on);
    if (charts.windowScoreChart) charts.windowScoreChart->SetRegressionLine(series, on);
    return on;
}

PeriodChartContent FillPeriodChart(const tally::TallyEngine& engine, bool yearly) {
    PeriodChartContent content;
    const std::vector<tally::PeriodStats>& periods = yearly ? engine.yearlyPeriods : engine.monthlyPeriods;
    for (const tally::PeriodStats& period : periods) {
        PeriodChartContent::Point& point = content.points.emplace_back();
        point.label = CellText("%04d/%02d", CellValue::Period(period.year, period.month));
        point.games = period.games;
        point.avgRank = period.avgRank;
        point.hasInterval = period.hasInterval;
        point.lower = period.avgRank - period.rankHalfWidth;
        point.upper = period.avgRank + period.rankHalfWidth;
    }
    content.referenceRank = engine.middleRank;
    // The middle rank is 2 only when every table had three players.
    if (!periods.empty() && engine.middleRank <= 2.0) content.rankMaximum = 3;
    return content;
}

std::string PeriodPointText(const PeriodChartContent::Point& point) {
    static const std::string games = Cp932Literal("  %d試合\n平均順位 ");
    return point.label + FormatCell(games.c_str(), static_cast<int>(point.games)) +
           CellText(Cp932Literal("%5.3f ±%5.3f"),
                    CellValue::Interval(point.avgRank, point.upper - point.avgRank, point.hasInterval));
}

}  // namespace obrenta::present
