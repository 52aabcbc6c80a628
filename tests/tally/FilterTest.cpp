#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "GameBuilder.h"
#include "tally/TallyEngine.h"

namespace obrenta::tally::test {
namespace {

using settings::AppSettings;

struct FilterCase {
    std::string name;
    std::function<void(AppSettings&)> settings;
    std::function<void(GameBuilder&)> game;
    bool passes;
};

void PrintTo(const FilterCase& c, std::ostream* os) {
    *os << c.name;
}

class FilterCheck : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterCheck, DecidesAsExpected) {
    const FilterCase& c = GetParam();
    AppSettings s = OpenSettings();
    s.dateFrom = LocalTime(2024, 5, 1);
    s.dateTo = LocalTime(2024, 5, 31, 23, 59, 59);
    GameBuilder b;
    if (c.settings) {
        c.settings(s);
    }
    if (c.game) {
        c.game(b);
    }
    EXPECT_EQ(PassesFilter(b.Build(), s), c.passes);
}

auto Seats(int rank, int ownRating = 1500) {
    return [=](GameBuilder& b) {
        b.Seats({{"me", ownRating, 0, rank},
                 {"A", 1600, 0, rank == 1 ? 2 : 1},
                 {"B", 1650, 0, 3},
                 {"C", 1700, 0, 4}});
    };
}

INSTANTIATE_TEST_SUITE_P(
    Checks, FilterCheck,
    ::testing::Values(
        FilterCase{"Baseline", nullptr, nullptr, true},
        FilterCase{"NoIdAtTable", [](AppSettings& s) { s.userIds[0] = "someone"; }, nullptr, false},
        FilterCase{"StartAtDateFrom", nullptr, [](GameBuilder& b) { b.Start(LocalTime(2024, 5, 1)); }, true},
        FilterCase{"OneSecondBeforeDateFrom", nullptr,
                   [](GameBuilder& b) { b.Start(LocalTime(2024, 5, 1) - 1); }, false},
        FilterCase{"StartAtDateTo", nullptr,
                   [](GameBuilder& b) { b.Start(LocalTime(2024, 5, 31, 23, 59, 59)); }, true},
        FilterCase{"OneSecondAfterDateTo", nullptr, [](GameBuilder& b) { b.Start(LocalTime(2024, 6, 1)); },
                   false},
        FilterCase{"SuperAdvancedOff",
                   [](AppSettings& s) {
                       s.tableKindFilter = {0, 1, 1, 1};
                   },
                   [](GameBuilder& b) { b.Kind(TableKind::SuperAdvanced); }, false},
        FilterCase{"AdvancedOff",
                   [](AppSettings& s) {
                       s.tableKindFilter = {1, 0, 1, 1};
                   },
                   [](GameBuilder& b) { b.Kind(TableKind::Advanced); }, false},
        FilterCase{"RankingOff",
                   [](AppSettings& s) {
                       s.tableKindFilter = {1, 1, 0, 1};
                   },
                   [](GameBuilder& b) { b.Kind(TableKind::Ranking); }, false},
        FilterCase{"OtherOff",
                   [](AppSettings& s) {
                       s.tableKindFilter = {1, 1, 1, 0};
                   },
                   [](GameBuilder& b) { b.Kind(TableKind::Other); }, false},
        FilterCase{"OtherKindsOff",
                   [](AppSettings& s) {
                       s.tableKindFilter = {1, 0, 0, 0};
                   },
                   [](GameBuilder& b) { b.Kind(TableKind::SuperAdvanced); }, true},
        FilterCase{"AllTableKindsOff",
                   [](AppSettings& s) {
                       s.tableKindFilter = {0, 0, 0, 0};
                   },
                   nullptr, false},
        FilterCase{"UnknownTableKindPasses",
                   [](AppSettings& s) {
                       s.tableKindFilter = {0, 0, 0, 0};
                   },
                   [](GameBuilder& b) { b.Kind(static_cast<TableKind>(7)); }, true},
        FilterCase{"FlagTwoIsNotOn",
                   [](AppSettings& s) {
                       s.tableKindFilter = {1, 1, 2, 1};
                   },
                   nullptr, false},
        FilterCase{"EastSouthOff",
                   [](AppSettings& s) {
                       s.gameKindFilter = {1, 1, 1, 0};
                   },
                   nullptr, false},
        FilterCase{"EastOnlyOff",
                   [](AppSettings& s) {
                       s.gameKindFilter = {1, 1, 0, 1};
                   },
                   [](GameBuilder& b) { b.EastSouth(false); }, false},
        FilterCase{"EastOnlyOffKeepsEastSouth",
                   [](AppSettings& s) {
                       s.gameKindFilter = {1, 1, 0, 1};
                   },
                   nullptr, true},
        FilterCase{"FourPlayerOff",
                   [](AppSettings& s) {
                       s.gameKindFilter = {0, 1, 1, 1};
                   },
                   nullptr, false},
        FilterCase{"ThreePlayerOff",
                   [](AppSettings& s) {
                       s.gameKindFilter = {1, 0, 1, 1};
                   },
                   [](GameBuilder& b) {
                       b.Seats({{"me", 1500, 0, 1}, {"A"}, {"B"}});
                   },
                   false},
        FilterCase{"FourPlayerOffKeepsThree",
                   [](AppSettings& s) {
                       s.gameKindFilter = {0, 1, 1, 1};
                   },
                   [](GameBuilder& b) {
                       b.Seats({{"me", 1500, 0, 1}, {"A"}, {"B"}});
                   },
                   true},
        FilterCase{"RankFlagOff",
                   [](AppSettings& s) {
                       s.rankFilter = {1, 1, 0, 1};
                   },
                   Seats(3), false},
        FilterCase{"OtherRankFlagOff",
                   [](AppSettings& s) {
                       s.rankFilter = {0, 1, 1, 1};
                   },
                   Seats(3), true},
        FilterCase{"RankFlagTwo",
                   [](AppSettings& s) {
                       s.rankFilter = {1, 1, 2, 1};
                   },
                   Seats(3), false},
        // me 1500 is lowest of four: rating rank 4.
        FilterCase{"RatingRankFlagOff", [](AppSettings& s) { s.ratingRankFilter = {1, 1, 1, 0}; }, Seats(1),
                   false},
        FilterCase{"RatingRankOtherFlagOff", [](AppSettings& s) { s.ratingRankFilter = {0, 1, 1, 1}; },
                   Seats(1), true},
        FilterCase{"RatingRankTopOff", [](AppSettings& s) { s.ratingRankFilter = {0, 1, 1, 1}; },
                   Seats(1, 1900), false},
        FilterCase{"RankZeroRejected", nullptr, Seats(0), false},
        FilterCase{"RankFiveRejected", nullptr, Seats(5), false}),
    [](const auto& info) { return info.param.name; });

struct SeatCase {
    std::string name;
    std::function<void(AppSettings&)> settings;
    std::vector<std::string> seatNames;
    bool found;
    int slot;
    int seat;
};

void PrintTo(const SeatCase& c, std::ostream* os) {
    *os << c.name;
}

class UserSeatCheck : public ::testing::TestWithParam<SeatCase> {};

TEST_P(UserSeatCheck, FindsExactlyOneSeat) {
    const SeatCase& c = GetParam();
    AppSettings s = OpenSettings();
    s.userIdCount = 2;
    s.userIds = {"me", "alt", "", "", ""};
    c.settings(s);
    std::vector<SeatSpec> seats;
    for (const auto& n : c.seatNames) {
        seats.push_back({n});
    }
    GameBuilder b;
    const GameRecord game = b.Seats(seats).Build();
    const UserSeat user = FindUserSeat(game, s);
    EXPECT_EQ(user.found, c.found);
    if (c.found) {
        EXPECT_EQ(user.slot, c.slot);
        EXPECT_EQ(user.seat, c.seat);
    }
}

const std::string kLongId(70, 'x');

INSTANTIATE_TEST_SUITE_P(
    Cases, UserSeatCheck,
    ::testing::Values(
        SeatCase{"SecondSlot", [](AppSettings&) {}, {"A", "B", "alt", "C"}, true, 1, 2},
        SeatCase{"TwoIdsInUseAtOneTable", [](AppSettings&) {}, {"A", "me", "alt", "C"}, false, 0, 0},
        SeatCase{"OtherIdNotInUse",
                 [](AppSettings& s) { s.userIdEnabled[0] = 0; },
                 {"A", "me", "alt", "C"},
                 true,
                 1,
                 2},
        SeatCase{"EnabledTwoCounts",
                 [](AppSettings& s) { s.userIdEnabled[1] = 2; },
                 {"A", "B", "alt", "C"},
                 true,
                 1,
                 2},
        SeatCase{"SameIdInTwoSlots",
                 [](AppSettings& s) { s.userIds[1] = "me"; },
                 {"A", "me", "B", "C"},
                 false,
                 0,
                 0},
        SeatCase{"CaseDiffers", [](AppSettings&) {}, {"A", "Me", "B", "C"}, false, 0, 0},
        SeatCase{"TrailingBlank", [](AppSettings&) {}, {"A", "me ", "B", "C"}, false, 0, 0},
        SeatCase{"CountZero", [](AppSettings& s) { s.userIdCount = 0; }, {"me", "A", "B", "C"}, false, 0, 0},
        SeatCase{
            "CountNegative", [](AppSettings& s) { s.userIdCount = -3; }, {"me", "A", "B", "C"}, false, 0, 0},
        SeatCase{"SlotPastCountIgnored",
                 [](AppSettings& s) { s.userIdCount = 1; },
                 {"A", "alt", "B", "C"},
                 false,
                 0,
                 0},
        SeatCase{"CountSevenUsesFifthSlot",
                 [](AppSettings& s) {
                     s.userIdCount = 7;
                     s.userIds = {"", "", "", "", "fifth"};
                     s.userIdEnabled = {0, 0, 0, 0, 1};
                 },
                 {"A", "B", "fifth"},
                 true,
                 4,
                 2},
        // Seat names are cut to 63 bytes, so an ID of 70 bytes never names anyone, not even
        // a seat holding its first 63 bytes.
        SeatCase{"LongIdNeverMatches",
                 [](AppSettings& s) { s.userIds[0] = kLongId; },
                 {"A", kLongId.substr(0, 63), "B", "C"},
                 false,
                 0,
                 0},
        SeatCase{"SixtyThreeByteIdMatches",
                 [](AppSettings& s) { s.userIds[0] = kLongId.substr(0, 63); },
                 {"A", kLongId.substr(0, 63), "B", "C"},
                 true,
                 0,
                 1}),
    [](const auto& info) { return info.param.name; });

TEST(FindUserSeat, FollowsPoolsAndSettingsBetweenCalls) {
    AppSettings s = OpenSettings();
    GameBuilder first;
    GameBuilder second;
    const GameRecord a = first.Seats({{"A"}, {"me"}, {"B"}}).Build();
    const GameRecord b = second.Seats({{"C"}, {"D"}, {"me"}}).Build();
    EXPECT_EQ(FindUserSeat(a, s).seat, 1);
    EXPECT_EQ(FindUserSeat(b, s).seat, 2);
    EXPECT_EQ(FindUserSeat(a, s).seat, 1);

    s.userIds[0] = "D";
    EXPECT_FALSE(FindUserSeat(a, s).found);
    EXPECT_EQ(FindUserSeat(b, s).seat, 1);

    // A name interned after a failed lookup is found from then on.
    s.userIds[0] = "late";
    EXPECT_FALSE(FindUserSeat(a, s).found);
    const GameRecord c = first.Seats({{"A"}, {"late"}, {"B"}}).Build();
    EXPECT_EQ(FindUserSeat(c, s).seat, 1);
}

std::vector<GameRecord> AlternatingRanks(int count) {
    GameBuilder b;
    std::vector<GameRecord> games;
    for (int i = 0; i < count; ++i) {
        const int rank = i % 2 == 0 ? 1 : 2;
        b.Seats({{"me", 1500, 0, rank}, {"A", 1500, 0, 3 - rank}, {"B", 1500, 0, 3}})
            .Start(LocalTime(2024, 1, 1) + i * 3600);
        games.push_back(b.Build());
    }
    return games;
}

TEST(SelectGames, RecentCountAppliesAfterTheFilter) {
    AppSettings s = OpenSettings();
    s.rankFilter = {1, 0, 0, 0};
    s.recentCount = 10;
    TallyEngine engine(s);
    const auto games = AlternatingRanks(30);
    engine.SelectGames(games);
    ASSERT_EQ(engine.selectedGames.size(), 10u);
    for (std::size_t i = 0; i < 10; ++i) {
        // Game 10 + 2i is the (5 + i)-th first place, oldest first.
        EXPECT_EQ(engine.selectedGames[i].game.startTime, games[10 + 2 * i].startTime);
    }
}

TEST(SelectGames, RecentCountBounds) {
    AppSettings s = OpenSettings();
    TallyEngine engine(s);
    const auto games = AlternatingRanks(5);
    s.recentCount = 0;
    engine.SelectGames(games);
    EXPECT_TRUE(engine.selectedGames.empty());
    s.recentCount = 6;
    engine.SelectGames(games);
    ASSERT_EQ(engine.selectedGames.size(), 5u);
    EXPECT_EQ(engine.selectedGames.front().game.startTime, games.front().startTime);
    EXPECT_EQ(engine.selectedGames.back().game.startTime, games.back().startTime);
    s.recentCount = 2;
    engine.SelectGames(games);
    ASSERT_EQ(engine.selectedGames.size(), 2u);
    EXPECT_EQ(engine.selectedGames[0].game.startTime, games[3].startTime);
}

TEST(Tally, EmptySelectionResetsEverything) {
    AppSettings s = OpenSettings();
    TallyEngine engine(s);
    GameBuilder b;
    b.Hand({HandKind::Ron, {{"me", 8000}, {"A", -8000}}, HanClass::Mangan, {"riichi"}});
    const std::vector<GameRecord> games{b.Build()};
    ASSERT_TRUE(engine.Tally(games));
    ASSERT_EQ(engine.gameCount, 1);
    ASSERT_FALSE(engine.opponentStats.empty());

    s.tableKindFilter = {0, 0, 0, 0};
    EXPECT_TRUE(engine.Tally(games));
    EXPECT_TRUE(engine.selectedGames.empty());
    EXPECT_EQ(engine.gameCount, 0);
    EXPECT_EQ(engine.shortestGameSeconds, 0);
    EXPECT_EQ(engine.ownRMin, 0);
    EXPECT_EQ(engine.opponentRMin, 0);
    EXPECT_EQ(engine.pointsMax, 0);
    EXPECT_EQ(engine.pointsMin, 0);
    EXPECT_EQ(engine.predictedR, 0);
    EXPECT_EQ(engine.ownWinCount, 0);
    EXPECT_EQ(engine.rankTransition[1][1], 0);
    EXPECT_EQ(engine.ownRHistogram[150], 0);
    EXPECT_EQ(engine.hourStats[21].games, 0);
    EXPECT_TRUE(engine.opponentStats.empty());
    EXPECT_TRUE(engine.ownYaku.empty());
    EXPECT_TRUE(engine.otherYaku.empty());
}

}  // namespace
}  // namespace obrenta::tally::test
