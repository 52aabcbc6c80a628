#include <gtest/gtest.h>

#include <vector>

#include "GameBuilder.h"
#include "tally/PlayerCount.h"

namespace obrenta::tally::test {
namespace {

struct PlayerCountCase {
    const char* what;
    std::vector<std::vector<SeatSpec>> games;
    std::vector<PlayerCount> expected;
};

class PlayerCountCheck : public ::testing::TestWithParam<PlayerCountCase> {};

TEST_P(PlayerCountCheck, MostFrequentFirst) {
    GameBuilder builder;
    std::vector<GameRecord> games;
    for (const auto& seats : GetParam().games) games.push_back(builder.Seats(seats).Build());
    EXPECT_EQ(CountPlayers(games), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    CountPlayers, PlayerCountCheck,
    ::testing::Values(
        PlayerCountCase{"NoGames", {}, {}},
        // Equal counts fall back to the name bytes, so the offer never changes order between runs.
        PlayerCountCase{"TiesByName",
                        {{{"me"}, {"B"}, {"A"}}, {{"me"}, {"C"}, {"A"}, {"B"}}, {{"C"}, {"me"}, {"D"}}},
                        {{"me", 3}, {"A", 2}, {"B", 2}, {"C", 2}, {"D", 1}}},
        PlayerCountCase{"SeatedTwiceAndEmptySeat",
                        {{{"me"}, {"me"}, {""}, {"x"}}, {{"x"}, {"y"}, {"me"}, {""}}},
                        {{"me", 2}, {"x", 2}, {"y", 1}}}),
    [](const auto& info) { return std::string(info.param.what); });

}  // namespace
}  // namespace obrenta::tally::test
