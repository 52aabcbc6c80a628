#include <gtest/gtest.h>

#include "PresentTestSupport.h"
#include "present/ChartContent.h"
#include "present/InMemoryChart.h"
#include "present/Report.h"

namespace obrenta::present {
namespace {

using test::MyGame;

class ScoreChartTest : public ::testing::Test {
protected:
    ScoreChartTest() : settings_(test::MeSettings()), engine_(settings_) {}

    void AddGames(std::initializer_list<int> ratings, int points = 10) {
        for (int r : ratings) engine_.selectedGames.push_back({MyGame(pool_, r, points, 1)});
    }
    void AddGames(int count) {
        for (int i = 0; i < count; ++i) engine_.selectedGames.push_back({MyGame(pool_, 1500, 1, 1)});
    }
    ChartContent Fill() {
        ChartContent chart;
        FillScoreChart(chart, engine_, settings_);
        return chart;
    }

    settings::AppSettings settings_;
    tally::TallyEngine engine_;
    scorelog::NamePoolPtr pool_ = std::make_shared<scorelog::NamePool>();
};

TEST_F(ScoreChartTest, EmptySelection) {
    ChartContent chart;
    chart.showLegend = true;
    SetUpScoreChart(chart);
    EXPECT_EQ(chart.RowCount(), 1);
    chart = Fill();
    EXPECT_EQ(chart.kind, ChartKind::Line);
    EXPECT_EQ(chart.RowCount(), 0);
    ASSERT_EQ(chart.series.size(), 2u);
    EXPECT_TRUE(chart.series[1].values.empty());
    EXPECT_EQ(chart.valueMinimum, 1500);
    EXPECT_EQ(chart.valueMaximum, 1600);
    EXPECT_EQ(chart.labelSpacing, 50);
    EXPECT_EQ(chart.tickSpacing, 50);
    EXPECT_EQ(chart.showLegend, false);
}

TEST_F(ScoreChartTest, RowsHoldRatingAndRunningPoints) {
    AddGames({1785}, 25);
    AddGames({1790}, -13);
    ChartContent chart = Fill();
    ASSERT_EQ(chart.RowCount(), 2);
    EXPECT_EQ(chart.rowLabels, (std::vector<std::int64_t>{0, 1}));
    EXPECT_EQ(chart.series[0].values, (std::vector<std::int64_t>{1785, 1790}));
    EXPECT_EQ(chart.series[1].values, (std::vector<std::int64_t>{25, 12}));
}

// The report prints the bounds as the whole numbers they are, also beyond the 32-bit range.
TEST_F(ScoreChartTest, BoundsMoveAtMostOneHundredPerGame) {
    struct Case {
        std::initializer_list<int> ratings;
        std::int64_t lo, hi;
    };
    const Case cases[] = {
        {{1785}, 1700, 1800},
        {{1785, 1803}, 1700, 1900},
        {{1785, 1803, 1650}, 1600, 1900},
        {{1785, 1803, 2010}, 1700, 2000},        // a jump raises the top by one step only
        {{1785, 1803, 2010, 2010}, 1700, 2100},  // the next game catches up
        {{1785, 1400}, 1600, 1800},
        {{1800}, 1800, 1900},
        {{-50, -150}, -200, 100},  // truncation toward zero: starts at 0
        {{2147483647}, 2147483600, 2147483700},
        {{-2147483647 - 1, -2147483647 - 1}, -2147483700, -2147483500},
    };
    for (const Case& c : cases) {
        engine_.selectedGames.clear();
        AddGames(c.ratings);
        ChartContent chart = Fill();
        EXPECT_EQ(chart.valueMinimum, c.lo) << *c.ratings.begin() << " x" << c.ratings.size();
        EXPECT_EQ(chart.valueMaximum, c.hi) << *c.ratings.begin() << " x" << c.ratings.size();
        const std::string section = FormatScoreChartSection(chart);
        EXPECT_EQ(section.substr(0, section.find('\n', 13)),
                  "# ScoreChart\naxis\t" + std::to_string(c.lo) + '\t' + std::to_string(c.hi) + "\t50");
    }
}

TEST_F(ScoreChartTest, LabelSpacingGrowsWithTheGames) {
    const std::pair<int, int> cases[] = {{1, 50},     {499, 50},   {500, 100},  {999, 100},  {1000, 200},
                                         {1999, 200}, {2000, 500}, {4999, 500}, {5000, 1000}};
    for (auto [games, spacing] : cases) {
        engine_.selectedGames.clear();
        AddGames(games);
        ChartContent chart = Fill();
        EXPECT_EQ(chart.labelSpacing, spacing) << games;
        EXPECT_EQ(chart.tickSpacing, spacing) << games;
        EXPECT_EQ(chart.rowLabels.back(), games - 1);
        EXPECT_EQ(chart.series[1].values.back(), games);
    }
}

std::array<std::int32_t, tally::kHistogramBins> Histogram(std::initializer_list<std::pair<int, int>> bins) {
    std::array<std::int32_t, tally::kHistogramBins> h{};
    for (auto [bin, count] : bins) h[bin] = count;
    return h;
}

TEST(RatingDistChartTest, BarsFromFirstToLastBin) {
    ChartContent chart;
    FillRatingDistChart(chart, Histogram({{150, 2}, {152, 5}}));
    EXPECT_EQ(chart.kind, ChartKind::Bar);
    EXPECT_EQ(chart.rowLabels, (std::vector<std::int64_t>{1500, 1510, 1520}));
    ASSERT_EQ(chart.series.size(), 1u);
    EXPECT_EQ(chart.series[0].values, (std::vector<std::int64_t>{2, 0, 5}));
    EXPECT_FALSE(chart.categoryTickMarks);
    EXPECT_EQ(chart.columnSpacing, 0);
    EXPECT_FALSE(chart.showLegend);
}

TEST(RatingDistChartTest, EdgeBins) {
    ChartContent chart;
    FillRatingDistChart(chart, Histogram({{0, 1}, {299, 4}}));
    ASSERT_EQ(chart.RowCount(), 300);
    EXPECT_EQ(chart.rowLabels.front(), 0);
    EXPECT_EQ(chart.rowLabels.back(), 2990);
    EXPECT_EQ(chart.series[0].values.back(), 4);
}

TEST(RatingDistChartTest, SingleOrNoBinEmptiesTheChart) {
    for (auto histogram : {Histogram({}), Histogram({{185, 7}})}) {
        ChartContent chart;
        FillRatingDistChart(chart, Histogram({{100, 1}, {101, 1}}));
        ASSERT_EQ(chart.RowCount(), 2);
        FillRatingDistChart(chart, histogram);
        EXPECT_EQ(chart.RowCount(), 0);
        EXPECT_TRUE(chart.series[0].values.empty());
    }
}

// The rank axis holds the ranks a game can have: 1 to 3 only when every table had three players.
TEST(PeriodChartTest, RankAxisOfThePossibleRanks) {
    tally::TallyEngine engine(test::MeSettings());
    engine.monthlyPeriods.resize(1);
    for (auto [middle, top] : {std::pair(2.5, 4.0), std::pair(2.1, 4.0), std::pair(2.0, 3.0)}) {
        engine.middleRank = middle;
        const PeriodChartContent chart = FillPeriodChart(engine, false);
        EXPECT_EQ(std::pair(chart.rankMinimum, chart.rankMaximum), std::pair(1.0, top)) << middle;
    }
}

TEST(RegressionLineTest, ToggleTurnsBothChartsOnAndOff) {
    InMemoryChart page, window;
    PageCharts charts;
    charts.scoreChart = &page;
    charts.windowScoreChart = &window;
    settings::AppSettings s;
    s.StatLine2 = 5;  // any non-zero value shows the line
    SetUpCharts(charts, s);
    auto line = [](const InMemoryChart& chart, int series) {
        return chart.content.series.at(series - 1).regressionLine;
    };
    EXPECT_TRUE(line(page, 2));
    EXPECT_FALSE(line(window, 1));

    EXPECT_FALSE(ToggleRegressionLine(2, s, charts));
    EXPECT_EQ(s.StatLine2, 0);
    EXPECT_FALSE(line(page, 2));
    EXPECT_FALSE(line(window, 2));
    EXPECT_TRUE(ToggleRegressionLine(2, s, charts));
    EXPECT_EQ(s.StatLine2, 1);
    EXPECT_TRUE(line(window, 2));
    EXPECT_FALSE(ToggleRegressionLine(2, s, charts));
    EXPECT_EQ(s.StatLine2, 0);

    EXPECT_TRUE(ToggleRegressionLine(1, s, charts));
    EXPECT_EQ(s.StatLine1, 1);
    EXPECT_TRUE(line(page, 1));
    EXPECT_FALSE(line(page, 2));
    EXPECT_FALSE(ToggleRegressionLine(3, s, charts));

    // A refill keeps the lines as toggled, and writes each chart once.
    settings::AppSettings me = test::MeSettings();
    me.StatLine1 = s.StatLine1;
    tally::TallyEngine engine(me);
    RefillCharts(engine, me, charts);
    EXPECT_TRUE(line(window, 1));
    EXPECT_FALSE(line(window, 2));
    EXPECT_EQ(page.contentSets, 2);
    EXPECT_EQ(window.contentSets, 2);
}

}  // namespace
}  // namespace obrenta::present
