#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "GameBuilder.h"
#include "tally/TallyEngine.h"

namespace obrenta::tally::test {
namespace {

using settings::AppSettings;

class Summary : public ::testing::Test {
protected:
    AppSettings settings = OpenSettings();
    TallyEngine engine{settings};
    GameBuilder builder;
    std::vector<GameRecord> games;

    void Add(std::vector<SeatSpec> seats) { games.push_back(builder.Seats(std::move(seats)).Build()); }
    void Run() { ASSERT_TRUE(engine.Tally(games)); }
};

TEST_F(Summary, SingleGame) {
    builder.Length(2400);
    Add({{"me", 1712, 25, 2}, {"A", 1856, 40, 1}, {"B", 1523, -20, 3}, {"C", 1712, -45, 4}});
    Run();
    EXPECT_EQ(engine.gameCount, 1);
    EXPECT_EQ(engine.shortestGameSeconds, 2400);
    EXPECT_EQ(engine.longestGameSeconds, 2400);
    EXPECT_EQ(engine.avgGameSeconds, 2400);
    EXPECT_EQ(engine.ownRMin, 1712);
    EXPECT_EQ(engine.ownRMax, 1712);
    EXPECT_EQ(engine.ownRLast, 1712);
    EXPECT_DOUBLE_EQ(engine.ownRMean, 1712);
    EXPECT_EQ(engine.ownRDeviation, 0);
    EXPECT_EQ(engine.pointsDeviation, 0);
    EXPECT_EQ(engine.pointsMax, 25);
    EXPECT_EQ(engine.pointsMin, 25);
    EXPECT_EQ(engine.pointsTotal, 25);
    EXPECT_DOUBLE_EQ(engine.avgRank, 2);
    EXPECT_EQ(engine.opponentSeatCount, 3);
    EXPECT_EQ(engine.opponentRMin, 1523);
    EXPECT_EQ(engine.opponentRMax, 1856);
    EXPECT_DOUBLE_EQ(engine.opponentRMean, (1856 + 1523 + 1712) / 3.0);
    EXPECT_DOUBLE_EQ(engine.predictedR, (1856 + 1523 + 1712) / 3.0 + 3000 - 2400);
    EXPECT_EQ(engine.rankCount[2], 1);
    EXPECT_DOUBLE_EQ(engine.rankRate[2], 100);
    EXPECT_DOUBLE_EQ(engine.rankRate[1], 0);
    for (int j = 1; j <= 4; ++j) {
        EXPECT_EQ(engine.currentRankStreak[j], j == 2 ? 1 : 0) << j;
        EXPECT_EQ(engine.longestRankStreak[j], j == 2 ? 1 : 0) << j;
        EXPECT_EQ(engine.currentNoRankStreak[j], j == 2 ? 0 : 1) << j;
        EXPECT_EQ(engine.longestNoRankStreak[j], j == 2 ? 0 : 1) << j;
    }
}

TEST_F(Summary, GameSecondsAndOpponentMeanOverSeats) {
    builder.Length(100);
    Add({{"me", 1500, 0, 1}, {"A", 1600, 0, 2}, {"B", 1800, 0, 3}});
    Add({{"me", 1500, 0, 1}, {"A", 1600, 0, 2}, {"C", 2000, 0, 3}});
    builder.Length(101);
    Add({{"me", 1500, 0, 1}, {"A", 1600, 0, 2}, {"D", 1000, 0, 3}});
    Run();
    EXPECT_EQ(engine.totalGameSeconds, 301);
    EXPECT_EQ(engine.avgGameSeconds, 100);
    EXPECT_EQ(engine.shortestGameSeconds, 100);
    EXPECT_EQ(engine.longestGameSeconds, 101);
    // A counts in all three games.
    EXPECT_EQ(engine.opponentSeatCount, 6);
    EXPECT_DOUBLE_EQ(engine.opponentRMean, (3 * 1600 + 1800 + 2000 + 1000) / 6.0);
    const double mean = (3 * 1600 + 1800 + 2000 + 1000) / 6.0;
    const double squares = 3.0 * 1600 * 1600 + 1800.0 * 1800 + 2000.0 * 2000 + 1000.0 * 1000;
    EXPECT_NEAR(engine.opponentRDeviation, std::sqrt(squares / 6 - mean * mean), 1e-9);
}

TEST_F(Summary, StartingExtremesHoldWhenNoValueBeatsThem) {
    builder.Length(36000);
    Add({{"me", 1500, -10000, 4}, {"A", 1500, 0, 1}, {"B", 1500, 0, 2}});
    builder.Length(40000);
    Add({{"me", 1500, -12000, 4}, {"A", 1500, 0, 1}, {"B", 1500, 0, 2}});
    Run();
    EXPECT_EQ(engine.shortestGameSeconds, 36000);
    EXPECT_EQ(engine.longestGameSeconds, 40000);
    EXPECT_EQ(engine.pointsMax, -10000);
    EXPECT_EQ(engine.pointsMin, -12000);
}

TEST_F(Summary, ThreePlayerGameLeavesFourthPlaceStreaksAlone) {
    const std::vector<SeatSpec> fourth{
        {"me", 1500, -30, 4}, {"A", 1500, 30, 1}, {"B", 1500, 10, 2}, {"C", 1500, -10, 3}};
    Add(fourth);
    Add({{"me", 1500, 40, 1}, {"A", 1500, -10, 2}, {"B", 1500, -30, 3}});
    Add(fourth);
    Run();
    EXPECT_EQ(engine.currentRankStreak[4], 2);
    EXPECT_EQ(engine.longestRankStreak[4], 2);
    EXPECT_EQ(engine.currentNoRankStreak[4], 0);
    EXPECT_EQ(engine.longestNoRankStreak[4], 0);
    EXPECT_EQ(engine.currentRankStreak[1], 0);
    EXPECT_EQ(engine.longestRankStreak[1], 1);
    EXPECT_EQ(engine.currentNoRankStreak[1], 1);
    EXPECT_EQ(engine.longestNoRankStreak[1], 1);
    EXPECT_EQ(engine.currentNoRankStreak[2], 3);
    EXPECT_EQ(engine.longestNoRankStreak[3], 3);
    EXPECT_DOUBLE_EQ(engine.avgRank, 3);
    EXPECT_DOUBLE_EQ(engine.rankRate[4], 2.0 / 3 * 100);
}

TEST_F(Summary, SquaresOfLargePointsDoNotOverflow) {
    Add({{"me", 1500, 50000, 1}, {"A", 1500, 0, 2}, {"B", 1500, 0, 3}});
    Add({{"me", 1500, 50000, 1}, {"A", 1500, 0, 2}, {"B", 1500, 0, 3}});
    Run();
    EXPECT_DOUBLE_EQ(engine.pointsMean, 50000);
    EXPECT_EQ(engine.pointsDeviation, 0);

    games.clear();
    Add({{"me", 1500, 50000, 1}, {"A", 1500, 0, 2}, {"B", 1500, 0, 3}});
    Add({{"me", 1500, -50000, 3}, {"A", 1500, 0, 2}, {"B", 1500, 0, 1}});
    Run();
    EXPECT_DOUBLE_EQ(engine.pointsMean, 0);
    EXPECT_DOUBLE_EQ(engine.pointsDeviation, 50000);
    EXPECT_EQ(engine.pointsTotal, 0);
}

TEST_F(Summary, BoxOutAtExactlyZeroIsNone) {
    builder.StartPoints(25000);
    builder.Hand({HandKind::Ron, {{"A", 12000}, {"me", -12000}}, HanClass::Haneman, {}})
        .Hand({HandKind::Ron, {{"B", 13000}, {"me", -13000}}, HanClass::Haneman, {}});
    Add({{"me", 1500, -25, 4}, {"A", 1500, 0, 2}, {"B", 1500, 0, 1}, {"C", 1500, 0, 3}});
    builder.ClearHands()
        .Hand({HandKind::Ron, {{"A", 12000}, {"me", -12000}}, HanClass::Haneman, {}})
        .Hand({HandKind::Ron, {{"B", 13001}, {"me", -13001}}, HanClass::Haneman, {}});
    Add({{"me", 1500, -26, 4}, {"A", 1500, 0, 2}, {"B", 1500, 0, 1}, {"C", 1500, 0, 3}});
    Run();
    EXPECT_FALSE(engine.selectedGames[0].boxedOut);
    EXPECT_TRUE(engine.selectedGames[1].boxedOut);
    EXPECT_EQ(engine.boxOutCount, 1);
    EXPECT_DOUBLE_EQ(engine.boxOutRate, 50);
    EXPECT_EQ(engine.currentBoxOutStreak, 1);
    EXPECT_EQ(engine.longestNoBoxOutStreak, 1);
    EXPECT_EQ(engine.currentNoBoxOutStreak, 0);
}

TEST_F(Summary, YakitoriIgnoresWinsThatAreNotTsumoOrRon) {
    builder.Hand({HandKind::NagashiMangan,
                  {{"me", 12000}, {"A", -4000}, {"B", -4000}, {"C", -4000}},
                  HanClass::None,
                  {}});
    Add({{"me", 1500, 10, 1}, {"A", 1500, 0, 2}, {"B", 1500, 0, 3}, {"C", 1500, 0, 4}});
    builder.ClearHands().Hand(
        {HandKind::Tsumo, {{"me", 1500}, {"A", -500}, {"B", -500}, {"C", -500}}, HanClass::Han1, {}});
    Add({{"me", 1500, 10, 1}, {"A", 1500, 0, 2}, {"B", 1500, 0, 3}, {"C", 1500, 0, 4}});
    builder.ClearHands();
    Add({{"me", 1500, 10, 1}, {"A", 1500, 0, 2}, {"B", 1500, 0, 3}, {"C", 1500, 0, 4}});
    Add({{"me", 1500, 10, 1}, {"A", 1500, 0, 2}, {"B", 1500, 0, 3}, {"C", 1500, 0, 4}});
    Run();
    EXPECT_TRUE(engine.selectedGames[0].yakitori);
    EXPECT_FALSE(engine.selectedGames[1].yakitori);
    EXPECT_TRUE(engine.selectedGames[2].yakitori);
    EXPECT_EQ(engine.yakitoriCount, 3);
    EXPECT_DOUBLE_EQ(engine.yakitoriRate, 75);
    EXPECT_EQ(engine.currentYakitoriStreak, 2);
    EXPECT_EQ(engine.longestYakitoriStreak, 2);
    EXPECT_EQ(engine.currentNoYakitoriStreak, 0);
    EXPECT_EQ(engine.longestNoYakitoriStreak, 1);
    EXPECT_EQ(engine.ownWinCount, 1);
    EXPECT_EQ(engine.otherWinCount, 0);
    EXPECT_EQ(engine.totalHandCount, 2);
    EXPECT_DOUBLE_EQ(engine.ownWinRate, 50);
    EXPECT_DOUBLE_EQ(engine.avgHandsPerGame, 0.5);
}

TEST_F(Summary, HistogramBins) {
    Add({{"me", 2999, 0, 1}, {"A", 3000, 0, 2}, {"B", 1505, 0, 3}, {"C", -5, 0, 4}});
    Add({{"me", -5, 0, 1}, {"A", -10, 0, 2}, {"B", 0, 0, 3}, {"C", 2999, 0, 4}});
    Run();
    int ownTotal = 0;
    int opponentTotal = 0;
    for (int b = 0; b < kHistogramBins; ++b) {
        ownTotal += engine.ownRHistogram[b];
        opponentTotal += engine.opponentRHistogram[b];
    }
    EXPECT_EQ(engine.ownRHistogram[299], 1);
    EXPECT_EQ(engine.ownRHistogram[0], 1);
    EXPECT_EQ(ownTotal, 2);
    EXPECT_EQ(engine.opponentRHistogram[150], 1);
    EXPECT_EQ(engine.opponentRHistogram[299], 1);
    // -5 and 0 both fall in bin 0; 3000 and -10 in none.
    EXPECT_EQ(engine.opponentRHistogram[0], 2);
    EXPECT_EQ(opponentTotal, 4);
}

}  // namespace
}  // namespace obrenta::tally::test
