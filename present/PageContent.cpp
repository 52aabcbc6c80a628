#include "present/PageContent.h"

#include <cmath>
#include <string>

#include "present/TextCodec.h"

namespace obrenta::present {
namespace {

using tally::TallyEngine;

// The fixed texts of the charts, in code page 932.
struct RefillTexts {
    std::string ratingSeries = Cp932Literal("R値");
    std::string pointsSeries = Cp932Literal("得点");
};

const RefillTexts& Texts() {
    static const RefillTexts texts;
    return texts;
}

std::string Int(std::int64_t value) {
    return std::to_string(value);
}

scorelog::SeatResult UserSeatResult(const scorelog::GameRecord& game, const settings::AppSettings& settings) {
    tally::UserSeat seat = tally::FindUserSeat(game, settings);
    if (!seat.found || seat.seat < 0 || seat.seat > 3) return {};
    return game.seats[seat.seat];
}

}  // namespace

void SetUpPages(PageLists& lists, PageCharts& charts, const settings::AppSettings& settings) {
    for (ListId list : {ListId::GameSummaryTable, ListId::RatingTable, ListId::PointsTable, ListId::RankTable,
                        ListId::StreakTable, ListId::RecentGamesList, ListId::HanTableOwn,
                        ListId::HanTableOther, ListId::YakuListOwn, ListId::YakuListOther}) {
        SetUpList(list, lists[list]);
    }
    if (charts.scoreChart) SetUpScoreChart(*charts.scoreChart);
    if (charts.windowScoreChart) SetUpScoreChart(*charts.windowScoreChart);
    for (ListId list : {ListId::HourlyTable, ListId::HandOutcomeTable, ListId::LastHandTable,
                        ListId::LastHandWonTable, ListId::OpponentList}) {
        SetUpList(list, lists[list]);
    }
    if (charts.scoreChart) ApplyRegressionSettings(*charts.scoreChart, settings);
    if (charts.windowScoreChart) ApplyRegressionSettings(*charts.windowScoreChart, settings);
}

void RefillPages(const TallyEngine& engine, const settings::AppSettings& settings, PageLists& lists,
                 PageCharts& charts) {
    auto fill = [&](ListId list) { FillList(list, lists[list], engine, settings); };
    for (ListId list : {ListId::GameSummaryTable, ListId::RatingTable, ListId::PointsTable, ListId::RankTable,
                        ListId::StreakTable, ListId::RecentGamesList, ListId::HanTableOwn,
                        ListId::HanTableOther, ListId::YakuListOwn, ListId::YakuListOther}) {
        fill(list);
    }
    if (charts.scoreChart) FillScoreChart(*charts.scoreChart, engine, settings);
    if (charts.windowScoreChart) FillScoreChart(*charts.windowScoreChart, engine, settings);
    for (ListId list : {ListId::HourlyTable, ListId::HandOutcomeTable, ListId::LastHandTable,
                        ListId::LastHandWonTable, ListId::OpponentList}) {
        fill(list);
    }
    if (charts.ownRatingDist) FillRatingDistChart(*charts.ownRatingDist, engine.ownRHistogram);
    if (charts.opponentRatingDist) FillRatingDistChart(*charts.opponentRatingDist, engine.opponentRHistogram);
}

// --- charts --------------------------------------------------------------------------------

void SetUpScoreChart(ChartControl& chart) {
    chart.SetRowCount(1);
    chart.SetSeriesLegendText(1, Texts().ratingSeries);
    chart.SetSeriesLegendText(2, Texts().pointsSeries);
}

namespace {

int LabelSpacing(std::size_t games) {
    if (games < 500) return 50;
    if (games < 1000) return 100;
    if (games < 2000) return 200;
    if (games < 5000) return 500;
    return 1000;
}

}  // namespace

void FillScoreChart(ChartControl& chart, const TallyEngine& engine, const settings::AppSettings& settings) {
    const auto& games = engine.selectedGames;
    chart.SetRedraw(false);
    chart.SetRowCount(static_cast<int>(games.size()));
    std::int32_t first = games.empty() ? 1500 : UserSeatResult(games.front(), settings).rating;
    // Integer division truncates toward zero, as the bounds always have.
    std::int64_t lo = static_cast<std::int64_t>(first) / 100 * 100;
    std::int64_t hi = lo + 100;
    chart.SetValueMinimum(static_cast<double>(lo));
    chart.SetValueMaximum(static_cast<double>(hi));
    std::int64_t sum = 0;
    int d = 1;
    for (const scorelog::GameRecord& game : games) {
        scorelog::SeatResult seat = UserSeatResult(game, settings);
        chart.SetRow(d);
        chart.SetColumn(1);
        chart.SetData(Int(seat.rating));
        sum += seat.points;
        chart.SetColumn(2);
        chart.SetData(Int(sum));
        // Each bound moves by at most 100 per game, whatever the jump.
        if (seat.rating > hi) {
            hi += 100;
            chart.SetValueMaximum(static_cast<double>(hi));
        }
        if (seat.rating < lo) {
            lo -= 100;
            chart.SetValueMinimum(static_cast<double>(lo));
        }
        chart.SetRowLabel(Int(d - 1));
        ++d;
    }
    int spacing = LabelSpacing(games.size());
    chart.SetCategoryScaleAuto(false);
    chart.SetLabelTick(true);
    chart.SetDivisionsPerLabel(spacing);
    chart.SetDivisionsPerTick(spacing);
    chart.SetShowLegend(false);
    chart.SetRedraw(true);
    chart.Invalidate();
}

void FillRatingDistChart(ChartControl& chart,
                         const std::array<std::int32_t, tally::kHistogramBins>& histogram) {
    int first = -1;
    int last = -1;
    for (int b = 0; b < tally::kHistogramBins; ++b) {
        if (histogram[b] == 0) continue;
        if (first < 0) first = b;
        last = b;
    }
    if (first < 0 || first == last) {
        chart.SetRowCount(0);
        return;
    }
    chart.SetRowCount(last - first + 1);
    for (int b = first; b <= last; ++b) {
        chart.SetRow(b - first + 1);
        chart.SetColumn(1);
        chart.SetData(Int(histogram[b]));
        chart.SetRowLabel(Int(10 * b));
    }
    chart.SetTickLength(Axis::Category, 1.0f);
    chart.SetTickStyle(Axis::Category, 0);
    chart.SetColumnSpacing(0.0f);
}

void SetRegressionLine(ChartControl& chart, int series, bool on) {
    chart.SetStatLineFlag(series, on ? kStatLineRegression : 0);
}

void ApplyRegressionSettings(ChartControl& chart, const settings::AppSettings& settings) {
    chart.SetStatLineStyle(1, kStatLineRegression, kPenSolid);
    chart.SetStatLineStyle(2, kStatLineRegression, kPenSolid);
    SetRegressionLine(chart, 1, settings.StatLine1 != 0);
    SetRegressionLine(chart, 2, settings.StatLine2 != 0);
}

bool ToggleRegressionLine(int series, settings::AppSettings& settings, PageCharts& charts) {
    if (series != 1 && series != 2) return false;
    std::int32_t& state = series == 1 ? settings.StatLine1 : settings.StatLine2;
    state = state == 0 ? 1 : 0;
    bool on = state != 0;
    if (charts.scoreChart) SetRegressionLine(*charts.scoreChart, series, on);
    if (charts.windowScoreChart) SetRegressionLine(*charts.windowScoreChart, series, on);
    return on;
}

}  // namespace obrenta::present
