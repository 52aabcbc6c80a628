// Running sums of the seats before the last hand, and selections that follow each other.

#include <gtest/gtest.h>

#include <vector>

#include "GameBuilder.h"
#include "tally/TallyEngine.h"

namespace obrenta::tally::test {
namespace {

using settings::AppSettings;

TEST(RunningSums, AnEntryCountsForTheFirstSeatOfItsNameOnly) {
    AppSettings s = OpenSettings();
    TallyEngine engine(s);
    GameBuilder b;
    // Seats 1 and 2 share a name. Before the last hand: me 0, first "A" +5000, second "A" 0,
    // C -5000, so the user goes into the last hand second.
    b.Seats({{"me", 1500, 0, 2}, {"A", 1500, 0, 1}, {"A", 1500, 0, 3}, {"C", 1500, 0, 4}})
        .Hand({HandKind::Ron, {{"A", 5000}, {"C", -5000}}, HanClass::Mangan, {}})
        .Hand({HandKind::ExhaustiveDraw, {}, HanClass::None, {}});
    ASSERT_TRUE(engine.Tally({b.Build()}));
    EXPECT_EQ(engine.preLastRankCount[2], 1);
    EXPECT_EQ(engine.rankTransition[2][2], 1);
}

TEST(RunningSums, EveryEntryOfTheUserInTheLastHandCountsForTheBoxOut) {
    AppSettings s = OpenSettings();
    TallyEngine engine(s);
    GameBuilder b;
    b.StartPoints(1000)
        .Hand({HandKind::Ron, {{"A", 300}, {"me", -300}}, HanClass::Han1, {}})
        .Hand({HandKind::Chombo, {{"me", -400}, {"A", 400}, {"me", -400}}, HanClass::None, {}});
    std::vector<GameRecord> games{b.Build()};
    b.ClearHands().Hand({HandKind::Chombo, {{"me", -600}, {"me", -400}}, HanClass::None, {}});
    games.push_back(b.Build());
    ASSERT_TRUE(engine.Tally(games));
    // 1000 - 300 - 400 - 400 < 0; 1000 - 600 - 400 = 0 is no box-out.
    EXPECT_TRUE(engine.selectedGames[0].boxedOut);
    EXPECT_FALSE(engine.selectedGames[1].boxedOut);
    // The user's change in a hand is the last entry that names the user.
    EXPECT_EQ(
        engine.handOutcome[static_cast<int>(PointChange::Loss)][static_cast<int>(HandKind::Chombo)].count, 2);
    EXPECT_EQ(engine.handOutcomeTotal[static_cast<int>(PointChange::Loss)].count, 3);
}

// A tally over a changed selection must leave every selected game as a first tally would,
// whatever the selection before it held.
TEST(RunningSums, SelectionsInTurnMatchAFreshEngine) {
    GameBuilder b;
    std::vector<GameRecord> games;
    for (int i = 0; i < 12; ++i) {
        const int rank = 1 + i % 4;
        const int other[4][3] = {{2, 3, 4}, {1, 3, 4}, {1, 2, 4}, {1, 2, 3}};
        b.ClearHands()
            .Seats({{"me", 1500, 0, rank},
                    {"A", 1500, 0, other[rank - 1][0]},
                    {"B", 1500, 0, other[rank - 1][1]},
                    {"C", 1500, 0, other[rank - 1][2]}})
            .Start(LocalTime(2024, 1, 1) + i * 3600)
            .StartPoints(i % 3 == 0 ? 100 : 25000)
            .Hand({i % 2 == 0 ? HandKind::Tsumo : HandKind::Ron,
                   {{i % 2 == 0 ? "me" : "A", 1000}, {i % 2 == 0 ? "A" : "me", -1000}},
                   HanClass::Han1,
                   {"riichi"}});
        games.push_back(b.Build());
    }
    AppSettings s = OpenSettings();
    TallyEngine engine(s);
    const std::vector<std::array<int, 4>> rankFilters = {{1, 1, 1, 1}, {0, 1, 0, 1}, {1, 1, 1, 1},
                                                         {1, 0, 0, 0}, {0, 0, 0, 0}, {1, 1, 0, 1}};
    for (const auto& filter : rankFilters) {
        s.rankFilter = filter;
        ASSERT_TRUE(engine.Tally(games));
        AppSettings freshSettings = s;
        TallyEngine fresh(freshSettings);
        ASSERT_TRUE(fresh.Tally(games));
        ASSERT_EQ(engine.selectedGames.size(), fresh.selectedGames.size());
        for (std::size_t g = 0; g < fresh.selectedGames.size(); ++g) {
            EXPECT_EQ(engine.selectedGames[g].game.startTime, fresh.selectedGames[g].game.startTime);
            EXPECT_EQ(engine.selectedGames[g].boxedOut, fresh.selectedGames[g].boxedOut);
            EXPECT_EQ(engine.selectedGames[g].yakitori, fresh.selectedGames[g].yakitori);
            EXPECT_EQ(engine.selectedGames[g].game.hands, fresh.selectedGames[g].game.hands);
        }
        EXPECT_EQ(engine.boxOutCount, fresh.boxOutCount);
        EXPECT_EQ(engine.yakitoriCount, fresh.yakitoriCount);
        EXPECT_EQ(engine.ownYaku.size(), fresh.ownYaku.size());
    }
}

}  // namespace
}  // namespace obrenta::tally::test
