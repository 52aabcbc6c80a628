// Score logs no client writes: NUL bytes, bytes that are no Shift-JIS, huge lines and blocks,
// very many blocks, a file larger than 2 GiB, paths that are not regular files.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include "HardeningSupport.h"
#include "present/TextCodec.h"
#include "scorelog/ScoreLog.h"
#include "settings/AppSettings.h"

namespace obrenta::hardening::test {
namespace {

using scorelog::ScoreLog;

std::size_t CountGames(std::string_view bytes) {
    ScoreLog log;
    log.ParseBuffer(bytes);
    return log.games().size();
}

struct HostileLog {
    const char* name;
    std::string (*bytes)();
    std::size_t games;
};

std::string WithNulInSeatLine() {
    std::string game = GameText(1);
    game[game.find("kenji")] = '\0';
    return GameText(0) + game + GameText(2);
}

std::string WithNulRunBetweenGames() {
    // What a crash of the writing machine can leave: a run of zero bytes where data was due.
    return GameText(0) + std::string(5000, '\0') + "\n" + GameText(1) + GameText(2);
}

std::string NulsOnly() {
    return std::string(100000, '\0');
}

std::string InvalidShiftJisNames() {
    // Lone lead bytes, bytes no code page 932 character uses, a lead byte right before the
    // newline: names are bytes, so the game still counts.
    std::string game = GameText(1);
    for (const char* name : {"Guest042", "mame_x"}) {
        std::string bad = std::string("\x81\xff\x80\xa0\xfd") + name;
        for (std::size_t at = game.find(name); at != std::string::npos;
             at = game.find(name, at + bad.size())) {
            game.replace(at, std::strlen(name), bad);
        }
    }
    std::string broken = Sj("  東1局 0本場 kenji +1000 sora -1000") + "\x82\n";
    broken += "    \x83\n";
    const std::size_t hand = game.find(Sj("  ---- 試合結果"));
    game.insert(hand, broken);
    return GameText(0) + game + GameText(2);
}

std::string MegabyteLineInAGame() {
    std::string game = GameText(1);
    game.insert(game.find(Sj("  ---- 試合結果")), std::string(1 << 20, 'x') + "\n");
    return GameText(0) + game + GameText(2);
}

std::string MegabyteSeparatorLine() {
    return GameText(0) + std::string(1 << 20, '=') + "\n" + GameText(1);
}

// A line still being written: its pieces that filled the line buffer join the last block.
std::string LongLastLineWithoutNewline() {
    return Games(0, 2) + std::string(1000, 'y');
}

// A game of exactly that many lines: header, seat line, result header, four result lines and the
// end line make eight, and every hand two; an odd count gets a filler line between the hands.
std::string GameOfLines(int index, std::size_t lines) {
    const std::size_t hands = (lines - 8) / 2;
    std::string game = GameText(index, static_cast<int>(hands) - 1);  // GameText has one hand
    if ((lines - 8) % 2 != 0) game.insert(game.find(Sj("  ---- 試合結果")), "filler\n");
    return game;
}

std::string BlockOf1024Lines() {
    return GameOfLines(0, 1024) + GameText(1);
}
std::string BlockOf1025Lines() {
    return GameText(0) + GameOfLines(1, 1025) + GameText(2);
}
std::string BlockOf5000Lines() {
    return GameText(0) + GameOfLines(1, 5000) + GameText(2);
}

std::string TinyBlocks() {
    std::string text;
    text.reserve(200000 * 6);
    for (int i = 0; i < 200000; ++i) text += "=====\n";
    return text + GameText(0);
}

std::string TinyGames() {
    // Blocks that get as far as the result section before they are turned down.
    std::string tiny = Sj("===== 対局 開始 2024/05/18 21:04 =====\n    持点0 [1]a R1 [2]b R1 [3]c R1\n") +
                       Sj("  ---- 試合結果 ----\n1位 a 0\n");
    std::string text;
    for (int i = 0; i < 200000; ++i) text += tiny;
    return GameText(0) + text + GameText(1);
}

class HostileLogTest : public testing::TestWithParam<HostileLog> {};

TEST_P(HostileLogTest, ReadsTheGamesAroundIt) {
    const std::string bytes = GetParam().bytes();
    EXPECT_EQ(CountGames(bytes), GetParam().games);

    // The file reader agrees with the buffer.
    TempDir dir;
    const std::string path = dir.File("mjscore.txt");
    WriteBytes(path, bytes);
    ScoreLog log;
    ASSERT_TRUE(log.ReadScoreLog(path));
    EXPECT_EQ(log.games().size(), GetParam().games);
}

INSTANTIATE_TEST_SUITE_P(
    Logs, HostileLogTest,
    testing::Values(HostileLog{"NulInSeatLine", WithNulInSeatLine, 2},
                    HostileLog{"NulRunBetweenGames", WithNulRunBetweenGames, 3},
                    HostileLog{"NulsOnly", NulsOnly, 0},
                    HostileLog{"InvalidShiftJisNames", InvalidShiftJisNames, 3},
                    HostileLog{"MegabyteLineInAGame", MegabyteLineInAGame, 2},
                    HostileLog{"MegabyteSeparatorLine", MegabyteSeparatorLine, 2},
                    HostileLog{"LongLastLineWithoutNewline", LongLastLineWithoutNewline, 2},
                    HostileLog{"BlockOf1024LinesIsRead", BlockOf1024Lines, 2},
                    HostileLog{"BlockOf1025LinesIsRejected", BlockOf1025Lines, 2},
                    HostileLog{"BlockOf5000LinesIsRejected", BlockOf5000Lines, 2},
                    HostileLog{"TwoHundredThousandSeparators", TinyBlocks, 1},
                    HostileLog{"TwoHundredThousandBrokenGames", TinyGames, 2}),
    [](const testing::TestParamInfo<HostileLog>& info) { return std::string(info.param.name); });

TEST(HostileLog, BlockAtTheLineLimitKeepsAllItsHands) {
    ScoreLog log;
    log.ParseBuffer(GameOfLines(0, 1024));
    ASSERT_EQ(log.games().size(), 1u);
    EXPECT_EQ(log.games()[0].handCount, (1024 - 8) / 2);
}

TEST(HostileLog, InvalidShiftJisNameKeepsItsBytes) {
    ScoreLog log;
    log.ParseBuffer(InvalidShiftJisNames());
    ASSERT_EQ(log.games().size(), 3u);
    EXPECT_EQ(log.games()[1].SeatName(1), "\x81\xff\x80\xa0\xfdGuest042");
    EXPECT_EQ(present::Cp932ToUtf8(log.games()[1].SeatName(1)).substr(0, 3), "\xEF\xBF\xBD");
}

// Peak resident memory of this process, in MiB.
long PeakRssMiB() {
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// A log past 2 GiB, with its games past what a signed 32-bit count or offset holds: no
// client writes one (a game takes about a kilobyte). Reading it must not wrap a size or an
// offset, nor take the file's size in memory. Either answer is sound: a refusal (false, the
// games of the last read stay) or a read of the games at its end.
TEST(HostileLog, LogLargerThanTwoGibibytesTakesBoundedMemory) {
    TempDir dir;
    const std::string path = dir.File("mjscore.txt");
    WriteBytes(path, Games(0, 3));
    ScoreLog log;
    ASSERT_TRUE(log.ReadScoreLog(path));
    ASSERT_EQ(log.games().size(), 3u);

    // Zero bytes (a hole) up to 2.5 GB, then a newline and three other games.
    constexpr std::uint64_t kHole = 2500ull * 1000 * 1000;
    const std::string games = "\n" + Games(10, 3);
    {
        const std::string sparse = dir.File("sparse.txt");
        WriteBytes(sparse, "");
        std::error_code error;
        std::filesystem::resize_file(sparse, kHole, error);
        if (error) GTEST_SKIP() << "can't make a sparse file of 2.5 GB here: " << error.message();
        AppendBytes(sparse, games);
        ASSERT_EQ(std::filesystem::file_size(sparse), kHole + games.size());
        std::filesystem::rename(sparse, path);
    }
    const long before = PeakRssMiB();
    const bool read = log.ReadScoreLog(path).ok();
    EXPECT_LT(PeakRssMiB() - before, 512) << "reading the 2.5 GB log took its size in memory";
    ASSERT_EQ(log.games().size(), 3u);
    EXPECT_EQ(log.games()[0].startTime, read ? StartSeconds(10) : StartSeconds(0));
    EXPECT_EQ(log.games()[2].startTime, read ? StartSeconds(12) : StartSeconds(2));
}

// Runs body in a child process and reports whether it finished within the time, without its
// resident memory passing the limit. The child is killed otherwise.
testing::AssertionResult FinishesBounded(void (*body)(), int seconds, long limitMiB) {
    const pid_t child = ::fork();
    if (child == 0) {
        body();
        ::_exit(0);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child) {
            if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return testing::AssertionSuccess();
            return testing::AssertionFailure() << "the child ended with status " << status;
        }
        long rssKiB = 0;
        std::ifstream statusFile("/proc/" + std::to_string(child) + "/status");
        for (std::string line; std::getline(statusFile, line);) {
            if (line.rfind("VmRSS:", 0) == 0) rssKiB = std::stol(line.substr(6));
        }
        if (rssKiB / 1024 > limitMiB || std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return testing::AssertionFailure()
                   << (rssKiB / 1024 > limitMiB ? "memory passed the limit" : "still running at the deadline")
                   << " (" << rssKiB / 1024 << " MiB resident)";
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// Ends the child with status 3 unless the outcome is a refusal of a file that is not regular.
template <typename Outcome>
void ExpectRefused(const Outcome& outcome) {
    if (outcome.ok() || outcome.reason() != "not a regular file") ::_exit(3);
}
void ExpectRefused(settings::AppSettings settings, const std::string& path) {
    settings.iniPath = path;
    ExpectRefused(settings.LoadSettings());
}

// The log's or the settings file's path names something that is not a regular file: reading
// refuses it at once, says why, and the program goes on.
std::string specialPath;

TEST(HostileLog, SpecialFilesAreRefused) {
    TempDir dir;
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::string path;
        void (*read)();
    } cases[] = {
        {"/dev/zero", [] { ExpectRefused(ScoreLog().ReadScoreLog(specialPath)); }},
        {fifo, [] { ExpectRefused(ScoreLog().ReadScoreLog(specialPath)); }},
        {"/dev/zero", [] { ExpectRefused(settings::AppSettings(), specialPath); }},
        {fifo, [] { ExpectRefused(settings::AppSettings(), specialPath); }},
    };
    for (const auto& c : cases) {
        specialPath = c.path;
        EXPECT_TRUE(FinishesBounded(c.read, 10, 512)) << c.path;
    }
}

TEST(HostileLog, DirectoryIsRefusedAndTheGamesStay) {
    TempDir dir;
    const std::string path = dir.File("mjscore.txt");
    WriteBytes(path, Games(0, 2));
    ScoreLog log;
    ASSERT_TRUE(log.ReadScoreLog(path));
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_FALSE(log.ReadScoreLog(path));
    EXPECT_EQ(log.games().size(), 2u);
}

}  // namespace
}  // namespace obrenta::hardening::test
