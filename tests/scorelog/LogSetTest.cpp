#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Cp932.h"
#include "scorelog/LogSet.h"

namespace obrenta::scorelog {
namespace {

using test::Sj;

// A four-player game; points and the winner's name may be changed to make another game.
std::string Game(const char* start, const char* end, int firstPoints = 52, const char* winner = "ぽん太") {
    const std::string p = std::to_string(firstPoints);
    return Sj(std::string("===== 対局 上級 東南戦 開始 ") + start + " =====\n" +
              "    持点25000 [1]kenji R1850 [2]" + winner + " R1850 [3]Guest977 R1700 [4]mame R1600\n" +
              "  東1局 0本場(リーチ0) " + winner + " +24000 Guest977 -24000\n" + "    役満ロン 国士無双\n" +
              "  ---- 試合結果 ----\n" + "1位 " + winner + " +" + p + "\n" +
              "2位 kenji -8\n3位 Guest977 -14\n4位 mame -30\n  終了 " + end + " -----\n");
}

std::string Game3(const char* start, const char* end) {
    return Sj(std::string("===== 対局 上級 東風戦 開始 ") + start + " =====\n" +
              "    持点35000 [1]kenji R1850 [2]ぽん太 R1850 [3]Guest977 R1700\n"
              "  東1局 0本場(リーチ0) ぽん太 +24000 Guest977 -24000\n"
              "    役満ロン 国士無双\n"
              "  ---- 試合結果 ----\n1位 ぽん太 +52\n2位 kenji -8\n3位 Guest977 -44\n  終了 " +
              end + " -----\n");
}

// The start minute, the second seat's points and the player count of each game, in order: enough to tell the
// games apart.
std::vector<std::string> Keys(const std::vector<GameRecord>& games) {
    std::vector<std::string> keys;
    for (const GameRecord& g : games) {
        keys.push_back(std::to_string(g.startTime / 60 % 60) + "/" + std::to_string(g.seats[1].points) + "/" +
                       std::to_string(g.playerCount));
    }
    return keys;
}

TEST(LogSetTest, MergesByStartTimeAndCountsACopiedGameOnce) {
    const std::string a1 = Game("2024/05/17 20:01", "2024/05/17 20:30");
    const std::string a2 = Game("2024/05/17 20:02", "2024/05/17 20:30");
    const std::string a3 = Game3("2024/05/17 20:03", "2024/05/17 20:30");
    const std::string a4 = Game("2024/05/17 20:04", "2024/05/17 20:30");
    const std::string a5 = Game("2024/05/17 20:05", "2024/05/17 20:30");
    const std::string damaged3 = Game("2024/05/17 20:03", "2024/05/17 20:30", 53);
    // The same game with another winner's name: names are compared by their bytes.
    const std::string renamed2 = Game("2024/05/17 20:02", "2024/05/17 20:30", 52, "ぽん次");
    const struct {
        const char* name;
        std::vector<std::string> logs;  // "" for a log that is not there, "same" for the first again
        std::vector<std::string> expected;
    } rows[] = {
        {"one log keeps its order", {a3 + a1 + a2}, {"3/52/3", "1/52/4", "2/52/4"}},
        {"the same log listed twice", {a1 + a2 + a3, "same"}, {"1/52/4", "2/52/4", "3/52/3"}},
        {"a copy of a log", {a1 + a2 + a3, a1 + a2 + a3}, {"1/52/4", "2/52/4", "3/52/3"}},
        {"an older backup, a prefix", {a1 + a2 + a3 + a4, a1 + a2}, {"1/52/4", "2/52/4", "3/52/3", "4/52/4"}},
        {"the backup listed first", {a1 + a2, a1 + a2 + a3 + a4}, {"1/52/4", "2/52/4", "3/52/3", "4/52/4"}},
        {"games interleaved in time",
         {a1 + a3 + a5, a2 + a4},
         {"1/52/4", "2/52/4", "3/52/3", "4/52/4", "5/52/4"}},
        {"overlapping three logs",
         {a1 + a2, a2 + a3 + a4, a4 + a5},
         {"1/52/4", "2/52/4", "3/52/3", "4/52/4", "5/52/4"}},
        {"a log out of time order keeps its order, its copies still found",
         {a3 + a1, a2 + a1},
         {"2/52/4", "1/52/4", "3/52/3"}},
        {"one log missing", {a1 + a2, ""}, {"1/52/4", "2/52/4"}},
        {"a damaged copy counts as well, after the game of the earlier log",
         {a1 + a3, damaged3 + a4},
         {"1/52/4", "3/52/3", "3/53/4", "4/52/4"}},
        {"another name is another game", {a1 + a2, renamed2}, {"1/52/4", "2/52/4", "2/52/4"}},
        {"a game twice in one log and once in another is kept twice", {a1 + a1, a1}, {"1/52/4", "1/52/4"}},
        {"each copy is matched once", {a1 + a1, a1 + a1 + a1}, {"1/52/4", "1/52/4", "1/52/4"}},
    };
    for (const auto& row : rows) {
        obrenta::test::TempDir dir;
        std::vector<std::string> paths;
        for (std::size_t k = 0; k < row.logs.size(); ++k) {
            if (row.logs[k] == "same") {
                paths.push_back(paths[0]);
                continue;
            }
            paths.push_back(dir.File("log" + std::to_string(k) + ".txt"));
            if (!row.logs[k].empty()) obrenta::test::WriteBytes(paths.back(), row.logs[k]);
        }
        LogSet set;
        const std::vector<ReadOutcome> outcomes = set.ReadLogs(paths);
        ASSERT_EQ(outcomes.size(), paths.size()) << row.name;
        for (std::size_t k = 0; k < paths.size(); ++k) {
            EXPECT_EQ(outcomes[k].status,
                      row.logs[k].empty() ? ReadOutcome::Status::NotFound : ReadOutcome::Status::Read)
                << row.name << " " << k;
        }
        EXPECT_EQ(Keys(set.games()), row.expected) << row.name;
    }
}

TEST(LogSetTest, MergedGamesKeepTheirReadsAlive) {
    obrenta::test::TempDir dir;
    const std::vector<std::string> paths{dir.File("a.txt"), dir.File("b.txt")};
    obrenta::test::WriteBytes(paths[0], Game("2024/05/17 20:01", "2024/05/17 20:30"));
    obrenta::test::WriteBytes(paths[1], Game("2024/05/17 20:02", "2024/05/17 20:30"));
    std::vector<GameRecord> games;
    {
        LogSet set;
        set.ReadLogs(paths);
        // Read again from other bytes, so the first read's games are released by their logs.
        obrenta::test::WriteBytes(paths[0], Game("2024/05/17 20:03", "2024/05/17 20:31"));
        set.ReadLogs(paths);
        games = set.games();
        obrenta::test::WriteBytes(paths[1], Game("2024/05/17 20:04", "2024/05/17 20:31"));
        set.ReadLogs(paths);
    }
    ASSERT_EQ(Keys(games), (std::vector<std::string>{"2/52/4", "3/52/4"}));
    for (const GameRecord& game : games) {
        ASSERT_EQ(game.Hands().size(), 1u);
        EXPECT_EQ(game.Name(game.Hands()[0].yaku[0]), Sj("国士無双"));
        EXPECT_EQ(game.SeatName(1), Sj("ぽん太"));
    }
}

TEST(LogSetTest, OnlyChangedLogsAreReadAgain) {
    obrenta::test::TempDir dir;
    std::vector<std::string> paths{dir.File("a.txt"), dir.File("b.txt")};
    obrenta::test::WriteBytes(paths[0], Game("2024/05/17 20:01", "2024/05/17 20:30"));
    obrenta::test::WriteBytes(paths[1], Game("2024/05/17 20:02", "2024/05/17 20:30"));
    LogSet set;
    set.ReadLogs(paths);
    obrenta::test::AppendBytes(paths[1], Game("2024/05/17 20:04", "2024/05/17 20:30"));
    std::vector<ReadOutcome> outcomes = set.ReadLogs(paths);
    EXPECT_EQ(outcomes[0].status, ReadOutcome::Status::Unchanged);
    EXPECT_EQ(outcomes[1].status, ReadOutcome::Status::Read);
    EXPECT_EQ(set.log(1).appendReadCount(), 1u);
    EXPECT_EQ(Keys(set.games()), (std::vector<std::string>{"1/52/4", "2/52/4", "4/52/4"}));

    // Moved in the list, a log keeps its reader; dropped from it, its games go.
    std::swap(paths[0], paths[1]);
    outcomes = set.ReadLogs(paths);
    EXPECT_EQ(outcomes[0].status, ReadOutcome::Status::Unchanged);
    EXPECT_EQ(outcomes[1].status, ReadOutcome::Status::Unchanged);
    EXPECT_EQ(set.path(0), paths[0]);
    EXPECT_EQ(Keys(set.games()), (std::vector<std::string>{"1/52/4", "2/52/4", "4/52/4"}));
    paths.pop_back();
    set.ReadLogs(paths);
    EXPECT_EQ(set.log(0).readCount(), 2u);  // at first and after the append, never since
    EXPECT_EQ(Keys(set.games()), (std::vector<std::string>{"2/52/4", "4/52/4"}));
}

}  // namespace
}  // namespace obrenta::scorelog
