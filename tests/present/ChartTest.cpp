#include <gtest/gtest.h>

#include "PresentTestSupport.h"
#include "present/InMemoryChart.h"
#include "present/PageContent.h"

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
    InMemoryChart Fill() {
        InMemoryChart chart;
        FillScoreChart(chart, engine_, settings_);
        return chart;
    }

    settings::AppSettings settings_;
    tally::TallyEngine engine_;
    scorelog::NamePoolPtr pool_ = std::make_shared<scorelog::NamePool>();
};

TEST_F(ScoreChartTest, EmptySelection) {
    InMemoryChart chart = Fill();
    EXPECT_EQ(chart.RowCount(), 0);
    EXPECT_EQ(chart.valueMinimum, 1500.0);
    EXPECT_EQ(chart.valueMaximum, 1600.0);
    EXPECT_EQ(chart.divisionsPerLabel, 50);
    EXPECT_EQ(chart.divisionsPerTick, 50);
    EXPECT_EQ(chart.categoryScaleAuto, false);
    EXPECT_EQ(chart.labelTick, true);
    EXPECT_EQ(chart.showLegend, false);
    EXPECT_TRUE(chart.redraw);
    EXPECT_EQ(chart.redrawSuspendCount, 1);
    EXPECT_EQ(chart.invalidateCount, 1);
}

TEST_F(ScoreChartTest, RowsHoldRatingAndRunningPoints) {
    AddGames({1785}, 25);
    AddGames({1790}, -13);
    InMemoryChart chart = Fill();
    ASSERT_EQ(chart.RowCount(), 2);
    EXPECT_EQ(chart.RowLabel(1), "0");
    EXPECT_EQ(chart.RowLabel(2), "1");
    EXPECT_EQ(chart.Value(1, 1), "1785");
    EXPECT_EQ(chart.Value(1, 2), "25");
    EXPECT_EQ(chart.Value(2, 1), "1790");
    EXPECT_EQ(chart.Value(2, 2), "12");
}

TEST_F(ScoreChartTest, BoundsMoveAtMostOneHundredPerGame) {
    struct Case {
        std::initializer_list<int> ratings;
        double lo, hi;
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
    };
    for (const Case& c : cases) {
        engine_.selectedGames.clear();
        AddGames(c.ratings);
        InMemoryChart chart = Fill();
        EXPECT_EQ(chart.valueMinimum, c.lo) << *c.ratings.begin() << " x" << c.ratings.size();
        EXPECT_EQ(chart.valueMaximum, c.hi) << *c.ratings.begin() << " x" << c.ratings.size();
    }
}

TEST_F(ScoreChartTest, LabelSpacingGrowsWithTheGames) {
    const std::pair<int, int> cases[] = {{1, 50},     {499, 50},   {500, 100},  {999, 100},  {1000, 200},
                                         {1999, 200}, {2000, 500}, {4999, 500}, {5000, 1000}};
    for (auto [games, spacing] : cases) {
        engine_.selectedGames.clear();
        AddGames(games);
        InMemoryChart chart = Fill();
        EXPECT_EQ(chart.divisionsPerLabel, spacing) << games;
        EXPECT_EQ(chart.divisionsPerTick, spacing) << games;
        EXPECT_EQ(chart.RowLabel(games), std::to_string(games - 1));
        EXPECT_EQ(chart.Value(games, 2), std::to_string(games));
    }
}

std::array<std::int32_t, tally::kHistogramBins> Histogram(std::initializer_list<std::pair<int, int>> bins) {
    std::array<std::int32_t, tally::kHistogramBins> h{};
    for (auto [bin, count] : bins) h[bin] = count;
    return h;
}

TEST(RatingDistChartTest, BarsFromFirstToLastBin) {
    InMemoryChart chart;
    FillRatingDistChart(chart, Histogram({{150, 2}, {152, 5}}));
    ASSERT_EQ(chart.RowCount(), 3);
    EXPECT_EQ(chart.RowLabel(1), "1500");
    EXPECT_EQ(chart.RowLabel(2), "1510");
    EXPECT_EQ(chart.RowLabel(3), "1520");
    EXPECT_EQ(chart.Value(1, 1), "2");
    EXPECT_EQ(chart.Value(2, 1), "0");
    EXPECT_EQ(chart.Value(3, 1), "5");
    EXPECT_EQ(chart.tickLength[0], 1.0f);
    EXPECT_EQ(chart.tickStyle[0], 0);
    EXPECT_EQ(chart.columnSpacing, 0.0f);
    EXPECT_FALSE(chart.showLegend.has_value());
    EXPECT_EQ(chart.redrawSuspendCount, 0);
}

TEST(RatingDistChartTest, EdgeBins) {
    InMemoryChart chart;
    FillRatingDistChart(chart, Histogram({{0, 1}, {299, 4}}));
    ASSERT_EQ(chart.RowCount(), 300);
    EXPECT_EQ(chart.RowLabel(1), "0");
    EXPECT_EQ(chart.RowLabel(300), "2990");
    EXPECT_EQ(chart.Value(300, 1), "4");
}

TEST(RatingDistChartTest, SingleOrNoBinEmptiesTheChart) {
    for (auto histogram : {Histogram({}), Histogram({{185, 7}})}) {
        InMemoryChart chart;
        FillRatingDistChart(chart, Histogram({{100, 1}, {101, 1}}));
        ASSERT_EQ(chart.RowCount(), 2);
        FillRatingDistChart(chart, histogram);
        EXPECT_EQ(chart.RowCount(), 0);
    }
}

TEST(RegressionLineTest, ToggleTurnsBothChartsOnAndOff) {
    InMemoryChart page, window;
    PageCharts charts;
    charts.scoreChart = &page;
    charts.windowScoreChart = &window;
    settings::AppSettings s;
    s.StatLine2 = 5;  // any non-zero value shows the line
    ApplyRegressionSettings(page, s);
    ApplyRegressionSettings(window, s);
    EXPECT_EQ(page.StatLineFlag(2), kStatLineRegression);
    EXPECT_EQ(window.StatLineFlag(1), 0);

    EXPECT_FALSE(ToggleRegressionLine(2, s, charts));
    EXPECT_EQ(s.StatLine2, 0);
    EXPECT_EQ(page.StatLineFlag(2), 0);
    EXPECT_EQ(window.StatLineFlag(2), 0);
    EXPECT_TRUE(ToggleRegressionLine(2, s, charts));
    EXPECT_EQ(s.StatLine2, 1);
    EXPECT_EQ(window.StatLineFlag(2), kStatLineRegression);
    EXPECT_FALSE(ToggleRegressionLine(2, s, charts));
    EXPECT_EQ(s.StatLine2, 0);

    EXPECT_TRUE(ToggleRegressionLine(1, s, charts));
    EXPECT_EQ(s.StatLine1, 1);
    EXPECT_EQ(page.StatLineFlag(1), kStatLineRegression);
    EXPECT_EQ(page.StatLineFlag(2), 0);
    EXPECT_FALSE(ToggleRegressionLine(3, s, charts));
}

}  // namespace
}  // namespace obrenta::present
