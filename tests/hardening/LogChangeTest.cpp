// The score log changing under the program between two tallies, and while it is being read.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "HardeningSupport.h"
#include "settings/AppSettings.h"
#include "tally/TallyEngine.h"

namespace obrenta::hardening::test {
namespace {

using settings::AppSettings;
using tally::TallyEngine;

AppSettings SettingsFor(const std::string& logPath) {
    AppSettings s;
    s.SetDefaults();
    s.userIdCount = 1;
    s.userIds[0] = "kenji";
    s.userIdEnabled[0] = 1;
    s.MJSFileName = logPath;
    return s;
}

// The start times of the tallied games, oldest first: which games the results came from.
std::vector<std::int64_t> StartTimes(const TallyEngine& engine) {
    std::vector<std::int64_t> times;
    for (const auto& selected : engine.selectedGames) times.push_back(selected.game.startTime);
    return times;
}

std::vector<std::int64_t> ExpectedStartTimes(int first, int count) {
    std::vector<std::int64_t> times;
    for (int i = first; i < first + count; ++i) times.push_back(StartSeconds(i));
    return times;
}

void RunTally(TallyEngine& engine) {
    engine.ReadScoreLog();
    ASSERT_TRUE(engine.Tally());
}

class LogChangeTest : public testing::Test {
protected:
    TempDir dir;
    std::string log = dir.File("mjscore.txt");
    AppSettings settings = SettingsFor(log);
    TallyEngine engine{settings};
};

TEST_F(LogChangeTest, MissingLogOnTheFirstTallyGivesEmptyResults) {
    EXPECT_FALSE(engine.ReadScoreLog());
    ASSERT_TRUE(engine.Tally());
    EXPECT_EQ(engine.gameCount, 0);

    // The log that appears later is read by the next tally.
    WriteBytes(log, Games(0, 2));
    RunTally(engine);
    EXPECT_EQ(engine.gameCount, 2);
}

TEST_F(LogChangeTest, ReplacedLogIsFollowed) {
    WriteBytes(log, Games(0, 5));
    RunTally(engine);
    EXPECT_EQ(engine.gameCount, 5);

    ReplaceFile(log, Games(100, 3));
    RunTally(engine);
    EXPECT_EQ(engine.gameCount, 3);
    EXPECT_EQ(StartTimes(engine), ExpectedStartTimes(100, 3));
}

TEST_F(LogChangeTest, TruncatedLogDropsTheCutGame) {
    const std::string full = Games(0, 6);
    WriteBytes(log, full);
    RunTally(engine);
    ASSERT_EQ(engine.gameCount, 6);

    // Cut in the middle of the fourth game, in the middle of a line.
    const std::size_t cut = Games(0, 3).size() + GameText(3).size() / 2;
    std::filesystem::resize_file(log, cut);
    RunTally(engine);
    EXPECT_EQ(engine.gameCount, 3);
    EXPECT_EQ(StartTimes(engine), ExpectedStartTimes(0, 3));

    std::filesystem::resize_file(log, 0);
    RunTally(engine);
    EXPECT_EQ(engine.gameCount, 0);
    EXPECT_TRUE(engine.selectedGames.empty());
}

TEST_F(LogChangeTest, GrownLogAddsTheNewGames) {
    WriteBytes(log, Games(0, 2));
    RunTally(engine);
    ASSERT_EQ(engine.gameCount, 2);
    AppendBytes(log, Games(2, 3));
    RunTally(engine);
    EXPECT_EQ(engine.gameCount, 5);
    EXPECT_EQ(StartTimes(engine), ExpectedStartTimes(0, 5));
}

TEST_F(LogChangeTest, DeletedLogKeepsTheLastGamesAndIsTriedAgain) {
    WriteBytes(log, Games(0, 4));
    RunTally(engine);
    ASSERT_EQ(engine.gameCount, 4);

    std::filesystem::remove(log);
    EXPECT_FALSE(engine.ReadScoreLog());
    ASSERT_TRUE(engine.Tally());
    EXPECT_EQ(engine.gameCount, 4);

    // Back with other content: read at once, although nothing that was remembered changed.
    WriteBytes(log, Games(50, 2));
    EXPECT_TRUE(engine.ReadScoreLog());
    ASSERT_TRUE(engine.Tally());
    EXPECT_EQ(StartTimes(engine), ExpectedStartTimes(50, 2));
}

// The log is read again when any of path, modification time and size differs from the last read.
TEST_F(LogChangeTest, EachOfPathTimeAndSizeTriggersARead) {
    WriteBytes(log, Games(0, 3));
    RunTally(engine);
    const std::uint64_t reads = engine.scoreLog().readCount();
    RunTally(engine);
    EXPECT_EQ(engine.scoreLog().readCount(), reads) << "unchanged log read again";

    // Same size, same second, other content: only the nanoseconds of the time tell.
    const struct timespec before = ModifiedTime(log);
    WriteBytes(log, Games(10, 3));
    struct timespec later = before;
    later.tv_nsec = (before.tv_nsec + 1) % 1000000000;
    SetModifiedTime(log, later);
    RunTally(engine);
    EXPECT_EQ(StartTimes(engine), ExpectedStartTimes(10, 3));

    // Grown within the same modification time.
    AppendBytes(log, GameText(13));
    SetModifiedTime(log, later);
    RunTally(engine);
    EXPECT_EQ(StartTimes(engine), ExpectedStartTimes(10, 4));

    // Another file with the same time and size.
    const std::string other = dir.File("other.txt");
    WriteBytes(other, Games(20, 4));
    ASSERT_EQ(std::filesystem::file_size(other), std::filesystem::file_size(log));
    SetModifiedTime(other, later);
    settings.MJSFileName = other;
    RunTally(engine);
    EXPECT_EQ(StartTimes(engine), ExpectedStartTimes(20, 4));
}

struct PartialGame {
    const char* name;
    // How much of the last game the client has written so far.
    std::size_t (*written)(const std::string& game);
};

class PartialLastGameTest : public LogChangeTest, public testing::WithParamInterface<PartialGame> {};

TEST_P(PartialLastGameTest, IsCountedOnlyOnceComplete) {
    const std::string game = GameText(2, 3);
    const std::size_t written = GetParam().written(game);
    ASSERT_LT(written, game.size());
    WriteBytes(log, Games(0, 2) + game.substr(0, written));
    RunTally(engine);
    EXPECT_EQ(StartTimes(engine), ExpectedStartTimes(0, 2));

    AppendBytes(log, game.substr(written));
    RunTally(engine);
    EXPECT_EQ(StartTimes(engine), ExpectedStartTimes(0, 3));
}

std::size_t UpTo(const std::string& game, const std::string& marker) {
    const std::size_t at = game.find(marker);
    return at == std::string::npos ? 0 : at;
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, PartialLastGameTest,
    testing::Values(
        PartialGame{"HeaderOnly", [](const std::string& g) { return g.find('\n') + 1; }},
        PartialGame{"HeaderCutMidLine", [](const std::string& g) { return g.find('\n') / 2; }},
        PartialGame{"HandsWithoutResult",
                    [](const std::string& g) { return UpTo(g, Sj("  ---- 試合結果")); }},
        PartialGame{"ResultHeaderOnly", [](const std::string& g) { return UpTo(g, Sj("1位")); }},
        PartialGame{"ThreeOfFourResults", [](const std::string& g) { return UpTo(g, Sj("4位")); }},
        PartialGame{"NoEndLine", [](const std::string& g) { return UpTo(g, Sj("  終了")); }},
        PartialGame{"EndLineCutInDate", [](const std::string& g) { return UpTo(g, Sj("  終了")) + 12; }},
        PartialGame{"EndLineWithoutNewline", [](const std::string& g) { return g.size() - 1; }},
        PartialGame{"CutInsideADoubleByteCharacter",
                    [](const std::string& g) { return UpTo(g, Sj("試合結果")) + 1; }}),
    [](const testing::TestParamInfo<PartialGame>& info) { return std::string(info.param.name); });

// The client appends while the program reads: every tally sees whole games only, in order, and
// never one that was cut; the last tally sees them all.
TEST_F(LogChangeTest, LogAppendedDuringReadsNeverShowsAPartialGame) {
    constexpr int kGames = 400;
    const std::string all = Games(0, kGames);
    const std::vector<std::int64_t> expected = ExpectedStartTimes(0, kGames);
    WriteBytes(log, "");

    std::atomic<bool> done{false};
    std::thread writer([&] {
        const int fd = ::open(log.c_str(), O_WRONLY | O_APPEND);
        std::size_t at = 0;
        std::size_t step = 37;
        while (at < all.size()) {
            // Odd-sized pieces, so that the reader meets cut lines and cut characters.
            const std::size_t length = std::min(step, all.size() - at);
            if (::write(fd, all.data() + at, length) != static_cast<ssize_t>(length)) break;
            at += length;
            step = step * 7 % 1013 + 1;
        }
        ::close(fd);
        done = true;
    });

    std::size_t seen = 0;
    int tallies = 0;
    while (!done || tallies == 0) {
        RunTally(engine);
        ++tallies;
        const std::vector<std::int64_t> times = StartTimes(engine);
        ASSERT_LE(times.size(), expected.size());
        ASSERT_GE(times.size(), seen) << "a tally lost games the one before it had";
        ASSERT_TRUE(std::equal(times.begin(), times.end(), expected.begin()))
            << "a tally held a game that is not a prefix of the log after " << times.size() << " games";
        seen = times.size();
    }
    writer.join();
    RunTally(engine);
    EXPECT_EQ(StartTimes(engine), expected);
}

}  // namespace
}  // namespace obrenta::hardening::test
