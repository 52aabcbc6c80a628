#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "GameBuilder.h"
#include "tally/TallyEngine.h"

namespace obrenta::tally::test {
namespace {

using settings::AppSettings;

class Opponents : public ::testing::Test {
protected:
    AppSettings settings = OpenSettings();
    TallyEngine engine{settings};
    GameBuilder builder;
    std::vector<GameRecord> games;

    void Add(std::vector<SeatSpec> seats) { games.push_back(builder.Seats(std::move(seats)).Build()); }
    void Run() { ASSERT_TRUE(engine.Tally(games)); }
};

TEST_F(Opponents, WinsLossesTiesAndMeans) {
    Add({{"me", 1500, 20, 2}, {"rival", 1600, -20, 3}, {"Rival", 1700, 30, 1}});
    Add({{"rival", 1800, 40, 1}, {"me", 1500, -10, 3}, {"x", 1400, 0, 2}});
    Add({{"me", 1500, 0, 2}, {"x", 1400, 0, 2}, {"y", 1400, 0, 1}});
    Run();
    ASSERT_EQ(engine.opponentStats.size(), 4u);
    const OpponentStats& rival = engine.opponentStats.at("rival");
    EXPECT_EQ(rival.games, 2);
    EXPECT_EQ(rival.wins, 1);
    EXPECT_EQ(rival.losses, 1);
    EXPECT_EQ(rival.ties, 0);
    EXPECT_DOUBLE_EQ(rival.avgUserRank, 2.5);
    EXPECT_DOUBLE_EQ(rival.avgOpponentRank, 2);
    EXPECT_DOUBLE_EQ(rival.avgOpponentR, 1700);

    const OpponentStats& other = engine.opponentStats.at("Rival");
    EXPECT_EQ(other.games, 1);
    EXPECT_EQ(other.losses, 1);

    const OpponentStats& x = engine.opponentStats.at("x");
    EXPECT_EQ(x.games, 2);
    EXPECT_EQ(x.wins, 0);
    EXPECT_EQ(x.losses, 1);
    EXPECT_EQ(x.ties, 1);
    EXPECT_DOUBLE_EQ(x.avgUserRank, 2.5);
}

TEST_F(Opponents, OrderedByUnsignedBytesAndMergedAcrossPools) {
    Add({{"me"}, {"b"}, {"\x82\xa0"}, {"B"}});
    GameBuilder other;
    games.push_back(other.Seats({{"\x82\xa0"}, {"me"}, {"a"}}).Build());
    Run();
    std::vector<std::string> names;
    for (const auto& [name, stats] : engine.opponentStats) {
        names.push_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"B", "a", "b", "\x82\xa0"}));
    EXPECT_EQ(engine.opponentStats.at("\x82\xa0").games, 2);
}

TEST_F(Opponents, HoursOfDay) {
    builder.Start(LocalTime(2024, 5, 18, 0, 0));
    Add({{"me", 1500, 30, 1}, {"A", 1500, 0, 2}, {"B", 1500, 0, 3}});
    builder.Start(LocalTime(2024, 5, 19, 0, 30));
    Add({{"me", 1500, -11, 2}, {"A", 1500, 0, 1}, {"B", 1500, 0, 3}});
    builder.Start(LocalTime(2024, 5, 18, 23, 59));
    Add({{"me", 1500, 5, 3}, {"A", 1500, 0, 1}, {"B", 1500, 0, 2}});
    Run();
    EXPECT_EQ(engine.hourStats[0].games, 2);
    EXPECT_EQ(engine.hourStats[0].rankCount[1], 1);
    EXPECT_EQ(engine.hourStats[0].rankCount[2], 1);
    EXPECT_DOUBLE_EQ(engine.hourStats[0].avgRank, 1.5);
    EXPECT_DOUBLE_EQ(engine.hourStats[0].avgPoints, 9.5);
    EXPECT_EQ(engine.hourStats[23].games, 1);
    EXPECT_EQ(engine.hourStats[23].rankCount[3], 1);
    EXPECT_DOUBLE_EQ(engine.hourStats[23].avgPoints, 5);
    for (int h = 1; h < 23; ++h) {
        EXPECT_EQ(engine.hourStats[h].games, 0) << h;
        EXPECT_EQ(engine.hourStats[h].avgRank, 0) << h;
        EXPECT_EQ(engine.hourStats[h].avgPoints, 0) << h;
    }
}

// The hour must be localtime's own answer also across zone changes, half-hour offsets and
// half-hour daylight saving.
TEST(HourOfDay, MatchesLocaltimeAcrossZoneChanges) {
    const char* saved = std::getenv("TZ");
    const std::string restore = saved != nullptr ? saved : "";
    for (const char* zone : {"America/New_York", "Australia/Lord_Howe", "Asia/Kolkata", "Asia/Tokyo"}) {
        if (obrenta::test::SkipZoneRow(zone, zone)) continue;
        setenv("TZ", zone, 1);
        tzset();
        AppSettings settings = OpenSettings();
        settings.dateFrom = -(std::int64_t{1} << 40);
        settings.dateTo = std::int64_t{1} << 40;
        TallyEngine engine(settings);
        GameBuilder builder;
        builder.Seats({{"me", 1500, 0, 1}, {"A", 1500, 0, 2}, {"B", 1500, 0, 3}});
        std::vector<GameRecord> games;
        std::array<int, 24> expected{};
        // Every 7 minutes through the spring and autumn changes of 2024 (both hemispheres) and
        // a stretch of 1951.
        const std::int64_t starts[] = {LocalTime(2024, 3, 9), LocalTime(2024, 4, 5), LocalTime(2024, 10, 5),
                                       LocalTime(2024, 11, 2), LocalTime(1951, 5, 4)};
        for (std::int64_t start : starts) {
            if (start < 0 && !obrenta::test::TimesBefore1970WorkHere()) continue;
            for (std::int64_t t = start; t < start + 3 * 86400; t += 7 * 60) {
                games.push_back(builder.Start(t).Build());
                const std::time_t tt = t;
                std::tm tm{};
                localtime_r(&tt, &tm);
                ++expected[tm.tm_hour];
            }
        }
        ASSERT_TRUE(engine.Tally(games));
        for (int h = 0; h < 24; ++h) {
            EXPECT_EQ(engine.hourStats[h].games, expected[h]) << zone << " hour " << h;
        }
    }
    setenv("TZ", restore.c_str(), 1);
    tzset();
}

}  // namespace
}  // namespace obrenta::tally::test
