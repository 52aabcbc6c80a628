#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "GameBuilder.h"
#include "tally/TallyEngine.h"

namespace obrenta::tally::test {
namespace {

// A game of "me": local start, the user's rank, three or four players.
struct Played {
    int year, month, day, hour, minute;
    int rank;
    int players = 4;
    int rating = 1500;
};

std::vector<GameRecord> Build(const std::vector<Played>& played) {
    GameBuilder builder;
    std::vector<GameRecord> games;
    for (const Played& p : played) {
        std::vector<SeatSpec> seats{{"me", p.rating, 0, p.rank}, {"A", 1600, 0, 1}, {"B", 1700, 0, 2}};
        if (p.players == 4) seats.push_back({"C", 1800, 0, 3});
        games.push_back(
            builder.Seats(seats).Start(LocalTime(p.year, p.month, p.day, p.hour, p.minute)).Build());
    }
    return games;
}

std::string Labels(const std::vector<PeriodStats>& periods) {
    std::string out;
    for (const PeriodStats& p : periods) {
        out += std::to_string(p.year) + (p.month ? "/" + std::to_string(p.month) : "") + ":" +
               std::to_string(p.games) + " ";
    }
    return out;
}

TEST(Periods, GroupsByLocalMonthAndYear) {
    const struct {
        const char* name;
        const char* zone;
        std::vector<Played> games;
        std::string months;
        std::string years;
        double middleRank;
        double firstHalfWidth;
        bool firstHasInterval;
    } cases[] = {
        {"zero games", "Asia/Tokyo", {}, "", "", 0, 0, false},
        {"one game", "Asia/Tokyo", {{2024, 5, 1, 12, 0, 3}}, "2024/5:1 ", "2024:1 ", 2.5, 0, false},
        {"one period, s = 1: Student's t with 2 degrees of freedom",
         "Asia/Tokyo",
         {{2024, 5, 1, 0, 0, 1}, {2024, 5, 15, 0, 0, 2}, {2024, 5, 31, 23, 59, 3}},
         "2024/5:3 ",
         "2024:3 ",
         2.5,
         4.302652729749464 / std::sqrt(3.0),
         true},
        {"equal ranks, s = 0",
         "Asia/Tokyo",
         {{2024, 5, 1, 0, 0, 2}, {2024, 5, 2, 0, 0, 2}},
         "2024/5:2 ",
         "2024:2 ",
         2.5,
         0,
         true},
        {"year end and both clock changes",
         "Europe/Berlin",
         {{2023, 12, 31, 23, 30, 1},
          {2024, 1, 1, 0, 10, 2},
          {2024, 3, 31, 1, 30, 3},
          {2024, 3, 31, 3, 30, 4},
          {2024, 10, 31, 23, 59, 1},
          {2024, 11, 1, 0, 0, 2}},
         "2023/12:1 2024/1:1 2024/3:2 2024/10:1 2024/11:1 ",
         "2023:1 2024:5 ",
         2.5,
         0,
         false},
        {"three and four players",
         "Asia/Tokyo",
         {{2024, 5, 1, 0, 0, 4}, {2024, 6, 1, 0, 0, 3, 3}},
         "2024/5:1 2024/6:1 ",
         "2024:2 ",
         2.25,
         0,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (obrenta::test::SkipZoneRow(c.zone, c.name)) continue;
        obrenta::test::ScopedEnv zone("TZ", c.zone);
        settings::AppSettings settings = OpenSettings();
        TallyEngine engine(settings);
        ASSERT_TRUE(engine.Tally(Build(c.games)));
        EXPECT_EQ(Labels(engine.monthlyPeriods), c.months);
        EXPECT_EQ(Labels(engine.yearlyPeriods), c.years);
        EXPECT_DOUBLE_EQ(engine.middleRank, c.middleRank);
        if (!engine.monthlyPeriods.empty()) {
            EXPECT_NEAR(engine.monthlyPeriods[0].rankHalfWidth, c.firstHalfWidth, 1e-14);
            EXPECT_EQ(engine.monthlyPeriods[0].hasInterval, c.firstHasInterval);
            EXPECT_NEAR(engine.monthlyPeriods[0].predictedRHalfWidth, 1200 * c.firstHalfWidth, 1e-11);
        }
    }
}

// First and last follow the selection's order, also when the log is not in start-time order and a
// year merges its months; the change is taken in 64 bits.
TEST(Periods, FirstAndLastRInTheSelectionsOrder) {
    const struct {
        const char* name;
        std::vector<Played> games;
        std::string monthsR;  // first last change, per month
        std::string yearR;
    } cases[] = {
        {"log order unlike start-time order",
         {{2020, 5, 20, 0, 0, 1, 4, 1600}, {2020, 5, 10, 0, 0, 1, 4, 1650}, {2020, 3, 1, 0, 0, 1, 4, 1700}},
         "1700 1700 0 1600 1650 50 ",
         "1600 1700 100 "},
        {"a change beyond 32 bits",
         {{2020, 5, 1, 0, 0, 1, 4, INT32_MIN}, {2020, 5, 2, 0, 0, 1, 4, 1700}},
         "-2147483648 1700 2147485348 ",
         "-2147483648 1700 2147485348 "},
    };
    const auto rs = [](const std::vector<PeriodStats>& periods) {
        std::string out;
        for (const PeriodStats& p : periods) {
            out += std::to_string(p.firstR) + " " + std::to_string(p.lastR) + " " +
                   std::to_string(p.rChange) + " ";
        }
        return out;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        settings::AppSettings settings = OpenSettings();
        TallyEngine engine(settings);
        ASSERT_TRUE(engine.Tally(Build(c.games)));
        EXPECT_EQ(rs(engine.monthlyPeriods), c.monthsR);
        EXPECT_EQ(rs(engine.yearlyPeriods), c.yearR);
    }
}

TEST(Form, RecentGamesAgainstEarlierOnes) {
    using V = FormComparison::Verdict;
    const struct {
        const char* name;
        std::vector<int> ranks;  // oldest first
        int recent;
        int recentGames, earlierGames;
        V verdict;
        double difference, halfWidth;
    } cases[] = {
        {"N above the selection", {1, 2, 3}, 100, 3, 0, V::None, 0, 0},
        {"one earlier game", {4, 1, 1}, 2, 2, 1, V::None, 0, 0},
        // Both variances 0: no interval, so no verdict either way.
        {"better, s = 0", {4, 4, 4, 1, 1, 1}, 3, 3, 3, V::None, 0, 0},
        {"worse, s = 0", {1, 1, 4, 4}, 2, 2, 2, V::None, 0, 0},
        {"same ranks", {2, 2, 2, 2}, 2, 2, 2, V::None, 0, 0},
        // Welch–Satterthwaite: ν = (2.25 + 2.25)² / (2.25² + 2.25²) = 2.
        {"chance", {1, 4, 4, 1}, 2, 2, 2, V::Chance, 0, 4.302652729749464 * std::sqrt(4.5 / 2 + 4.5 / 2)},
        // One side without variance: ν = n − 1 of the other, here 1.
        {"one side s = 0", {2, 2, 1, 4}, 2, 2, 2, V::Chance, 0.5, 12.706204736174705 * std::sqrt(4.5 / 2)},
        // s² = 3/14 on both sides of 8: ν = 14.
        {"better, Welch",
         {4, 4, 3, 4, 4, 3, 4, 4, 1, 1, 2, 1, 1, 2, 1, 1},
         8,
         8,
         8,
         V::Better,
         -2.5,
         2.144786687917804 * std::sqrt(3.0 / 14 / 8 * 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<SelectedGame> games;
        for (const GameRecord& game : Build([&] {
                 std::vector<Played> played;
                 for (int rank : c.ranks) played.push_back({2024, 5, 1, 0, 0, rank});
                 return played;
             }())) {
            games.push_back({game, 0});
        }
        const FormComparison form = CompareForm(games, c.recent);
        EXPECT_EQ(form.recent.games, c.recentGames);
        EXPECT_EQ(form.earlier.games, c.earlierGames);
        EXPECT_EQ(form.comparable, c.verdict != V::None);
        EXPECT_EQ(form.verdict, c.verdict);
        EXPECT_DOUBLE_EQ(form.rankDifference, c.difference);
        EXPECT_NEAR(form.differenceHalfWidth, c.halfWidth, 1e-13);
    }
}

}  // namespace
}  // namespace obrenta::tally::test
