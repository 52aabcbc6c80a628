#include <gtest/gtest.h>

#include <vector>

#include "GameBuilder.h"
#include "tally/TallyEngine.h"

namespace obrenta::tally::test {
namespace {

using settings::AppSettings;

constexpr int kGain = static_cast<int>(PointChange::Gain);
constexpr int kUnchanged = static_cast<int>(PointChange::Unchanged);
constexpr int kLoss = static_cast<int>(PointChange::Loss);
constexpr int kTsumo = static_cast<int>(HandKind::Tsumo);
constexpr int kRon = static_cast<int>(HandKind::Ron);

class HandStats : public ::testing::Test {
protected:
    AppSettings settings = OpenSettings();
    TallyEngine engine{settings};
    GameBuilder builder;
    std::vector<GameRecord> games;

    // A four-player game of me, A, B, C with the user's final rank.
    void Add(int rank) {
        const int other[4][3] = {{2, 3, 4}, {1, 3, 4}, {1, 2, 4}, {1, 2, 3}};
        const int* o = other[rank - 1];
        games.push_back(
            builder
                .Seats(
                    {{"me", 1500, 0, rank}, {"A", 1500, 0, o[0]}, {"B", 1500, 0, o[1]}, {"C", 1500, 0, o[2]}})
                .Build());
        builder.ClearHands();
    }
    void Run() { ASSERT_TRUE(engine.Tally(games)); }
};

TEST_F(HandStats, OutcomeCellsTruncateTheirMeans) {
    builder.Hand({HandKind::Tsumo, {{"me", 8000}, {"A", -8000}}, HanClass::Mangan, {"tsumo"}})
        .Hand({HandKind::Tsumo, {{"me", 7700}, {"B", -7700}}, HanClass::Han4, {"tsumo"}})
        .Hand({HandKind::Tsumo, {{"me", 1000}, {"C", -1000}}, HanClass::Han1, {"tsumo"}})
        .Hand({HandKind::Ron, {{"A", 1000}, {"me", -1000}}, HanClass::Han1, {"pinfu"}})
        .Hand({HandKind::Ron, {{"A", 1000}, {"me", -1000}}, HanClass::Han1, {"pinfu"}})
        .Hand({HandKind::Ron, {{"A", 1001}, {"me", -1001}}, HanClass::Han1, {"pinfu"}})
        .Hand({HandKind::ExhaustiveDraw, {{"A", 1500}, {"B", -1500}}, HanClass::None, {}})
        .Hand({HandKind::Other, {}, HanClass::None, {}});
    Add(1);
    Run();
    EXPECT_EQ(engine.totalHandCount, 8);
    EXPECT_EQ(engine.handOutcome[kGain][kTsumo].count, 3);
    EXPECT_EQ(engine.handOutcome[kGain][kTsumo].avgPointChange, 5566);
    EXPECT_DOUBLE_EQ(engine.handOutcome[kGain][kTsumo].rate, 3.0 / 8 * 100);
    // -3001 / 3 truncates toward zero.
    EXPECT_EQ(engine.handOutcome[kLoss][kRon].count, 3);
    EXPECT_EQ(engine.handOutcome[kLoss][kRon].avgPointChange, -1000);
    EXPECT_EQ(engine.handOutcome[kUnchanged][static_cast<int>(HandKind::ExhaustiveDraw)].count, 1);
    EXPECT_EQ(engine.handOutcome[kUnchanged][static_cast<int>(HandKind::Other)].count, 1);
    EXPECT_EQ(engine.handOutcome[kGain][kRon].count, 0);
    EXPECT_EQ(engine.handOutcome[kGain][kRon].rate, 0);
    EXPECT_EQ(engine.handOutcomeTotal[kGain].count, 3);
    EXPECT_EQ(engine.handOutcomeTotal[kLoss].avgPointChange, -1000);
    EXPECT_EQ(engine.handOutcomeTotal[kUnchanged].count, 2);
    EXPECT_EQ(engine.handOutcomeTotal[kUnchanged].avgPointChange, 0);
    EXPECT_DOUBLE_EQ(engine.handOutcomeTotal[kUnchanged].rate, 25);

    EXPECT_EQ(engine.ownWinCount, 3);
    EXPECT_EQ(engine.otherWinCount, 3);
    EXPECT_EQ(engine.ownHanCount[static_cast<int>(HanClass::Mangan)], 1);
    EXPECT_EQ(engine.otherHanCount[static_cast<int>(HanClass::Han1)], 3);
    EXPECT_DOUBLE_EQ(engine.ownHanRateOfWins[static_cast<int>(HanClass::Han4)], 1.0 / 3 * 100);
    EXPECT_DOUBLE_EQ(engine.otherHanRateOfHands[static_cast<int>(HanClass::Han1)], 3.0 / 8 * 100);
    EXPECT_DOUBLE_EQ(engine.otherHanRateOfWins[static_cast<int>(HanClass::Han1)], 100);
}

TEST_F(HandStats, YakuCountPerWinSide) {
    builder
        .Hand({HandKind::Tsumo,
               {{"me", 3000}, {"A", -1000}, {"B", -1000}, {"C", -1000}},
               HanClass::Han3,
               {"riichi", "dora", "dora"}})
        .Hand({HandKind::Ron, {{"B", 2000}, {"me", -2000}}, HanClass::Han2, {"riichi", "tanyao"}})
        .Hand({HandKind::Ron, {{"me", 1000}, {"B", -1000}}, HanClass::Han1, {"riichi"}})
        .Hand({HandKind::ExhaustiveDraw, {}, HanClass::None, {}});
    Add(1);
    Run();
    ASSERT_EQ(engine.ownYaku.size(), 2u);
    EXPECT_EQ(engine.ownYaku["riichi"].count, 2);
    EXPECT_EQ(engine.ownYaku["dora"].count, 2);
    EXPECT_DOUBLE_EQ(engine.ownYaku["dora"].rateOfHands, 50);
    EXPECT_DOUBLE_EQ(engine.ownYaku["riichi"].rateOfWins, 100);
    ASSERT_EQ(engine.otherYaku.size(), 2u);
    EXPECT_EQ(engine.otherYaku["tanyao"].count, 1);
    EXPECT_DOUBLE_EQ(engine.otherYaku["tanyao"].rateOfWins, 100);
    EXPECT_DOUBLE_EQ(engine.otherYaku["tanyao"].rateOfHands, 25);
    EXPECT_EQ(engine.handOutcome[kLoss][kRon].count, 1);
    EXPECT_EQ(engine.handOutcome[kGain][kRon].count, 1);
}

TEST_F(HandStats, PreLastRankCountsOnlySeatsStrictlyAhead) {
    // Running sums before the last hand: me -3000, A +5000, B -3000, C +1000.
    builder.Hand({HandKind::Ron, {{"A", 5000}, {"me", -3000}, {"B", -3000}, {"C", 1000}}, HanClass::Han3, {}})
        .Hand({HandKind::Tsumo,
               {{"me", 9000}, {"A", -3000}, {"B", -3000}, {"C", -3000}},
               HanClass::Mangan,
               {}});
    Add(1);
    // Level with everyone before the last hand.
    builder.Hand({HandKind::ExhaustiveDraw, {}, HanClass::None, {}})
        .Hand({HandKind::Ron, {{"A", 1000}, {"me", -1000}}, HanClass::Han1, {}});
    Add(3);
    Run();
    EXPECT_EQ(engine.rankTransition[3][1], 1);
    EXPECT_EQ(engine.rankTransitionWon[3][1], 1);
    EXPECT_EQ(engine.preLastRankCount[3], 1);
    EXPECT_EQ(engine.preLastRankWonCount[3], 1);
    EXPECT_EQ(engine.rankTransition[1][3], 1);
    EXPECT_EQ(engine.rankTransitionWon[1][3], 0);
    EXPECT_EQ(engine.preLastRankCount[1], 1);
    EXPECT_EQ(engine.lastHandWinCount, 1);
    EXPECT_EQ(engine.lastHandWinByFinalRank[1], 1);
    EXPECT_DOUBLE_EQ(engine.avgRankChange[3], -2);
    EXPECT_DOUBLE_EQ(engine.avgRankChangeWon[3], -2);
    EXPECT_DOUBLE_EQ(engine.avgRankChange[1], 2);
    EXPECT_DOUBLE_EQ(engine.avgRankChangeAll, 0);
    EXPECT_DOUBLE_EQ(engine.avgRankChangeAllWon, -2);
    // No game started its last hand 2nd or 4th, and none won from 1st: those quotients are 0.
    EXPECT_EQ(engine.avgRankChange[2], 0);
    EXPECT_EQ(engine.avgRankChange[4], 0);
    EXPECT_EQ(engine.avgRankChangeWon[1], 0);
}

TEST_F(HandStats, GameWithoutHands) {
    builder.StartPoints(-100);
    Add(2);
    Run();
    EXPECT_EQ(engine.rankTransition[1][2], 1);
    EXPECT_EQ(engine.preLastRankCount[1], 1);
    EXPECT_EQ(engine.lastHandWinCount, 0);
    EXPECT_EQ(engine.boxOutCount, 0);
    EXPECT_FALSE(engine.selectedGames[0].boxedOut);
    EXPECT_TRUE(engine.selectedGames[0].yakitori);
    // Every quotient over hands or last-hand wins has a zero divisor here and is 0.
    EXPECT_EQ(engine.totalHandCount, 0);
    EXPECT_EQ(engine.avgHandsPerGame, 0);
    EXPECT_EQ(engine.ownWinRate, 0);
    EXPECT_EQ(engine.otherWinRate, 0);
    for (int h = 0; h < scorelog::kHanClassCount; ++h) {
        EXPECT_EQ(engine.ownHanRateOfHands[h], 0) << h;
        EXPECT_EQ(engine.otherHanRateOfHands[h], 0) << h;
        EXPECT_EQ(engine.ownHanRateOfWins[h], 0) << h;
        EXPECT_EQ(engine.otherHanRateOfWins[h], 0) << h;
    }
    EXPECT_EQ(engine.avgRankChangeAllWon, 0);
    EXPECT_DOUBLE_EQ(engine.avgRankChangeAll, 1);
    for (int p = 1; p <= 4; ++p) {
        EXPECT_EQ(engine.avgRankChangeWon[p], 0) << p;
    }
    EXPECT_EQ(engine.handOutcomeTotal[kUnchanged].rate, 0);
}

TEST_F(HandStats, EntriesOfNamesNotSeatedAreIgnored) {
    // An entry naming nobody at the table moves no running sum; an empty first entry makes
    // the win somebody else's.
    builder.Hand({HandKind::Ron, {{"stranger", 30000}, {"me", 1000}}, HanClass::Yakuman, {}})
        .Hand({HandKind::Ron, {}, HanClass::Han1, {}});
    Add(1);
    Run();
    EXPECT_EQ(engine.preLastRankCount[1], 1);
    EXPECT_EQ(engine.otherWinCount, 2);
    EXPECT_EQ(engine.otherHanCount[static_cast<int>(HanClass::Yakuman)], 1);
    EXPECT_EQ(engine.handOutcome[kUnchanged][kRon].count, 1);
    EXPECT_EQ(engine.handOutcome[kGain][kRon].count, 1);
}

}  // namespace
}  // namespace obrenta::tally::test
