#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "scorelog/ScoreLog.h"
#include "support/TestSupport.h"
#include "tools/mjlog-gen/LogGenerator.h"

namespace obrenta::tools {
namespace {

using scorelog::GameRecord;
using scorelog::HandKind;

// さくら
constexpr std::string_view kSakuraCp932 = "\x82\xb3\x82\xad\x82\xe7";
constexpr std::string_view kSakuraUtf8 = "\xe3\x81\x95\xe3\x81\x8f\xe3\x82\x89";

std::size_t CountSeparatorLines(const std::string& text) {
    std::size_t count = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) count += line.find("=====") != std::string::npos;
    return count;
}

std::vector<GameRecord> Parse(const std::string& text) {
    scorelog::ScoreLog log;
    log.ParseBuffer(text);
    return log.games();
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

struct Shape {
    const char* name;
    std::uint64_t seed;
    std::int64_t games;
    double threePlayerShare;
    bool crlf;
};

void PrintTo(const Shape& shape, std::ostream* out) {
    *out << shape.name;
}

class EveryBlockParses : public testing::TestWithParam<Shape> {};

TEST_P(EveryBlockParses, OneGamePerSeparatorLine) {
    const Shape shape = GetParam();
    GeneratorOptions options;
    options.seed = shape.seed;
    options.games = shape.games;
    options.threePlayerShare = shape.threePlayerShare;
    options.crlf = shape.crlf;
    const std::string text = GenerateLog(options);

    EXPECT_EQ(CountSeparatorLines(text), static_cast<std::size_t>(shape.games));
    EXPECT_EQ(Parse(text).size(), static_cast<std::size_t>(shape.games));
    EXPECT_EQ(text.find('\r') != std::string::npos, shape.crlf);
}

INSTANTIATE_TEST_SUITE_P(Shapes, EveryBlockParses,
                         testing::Values(Shape{"CrLf", 1, 500, 0.2, true}, Shape{"Lf", 2, 500, 0.2, false},
                                         Shape{"AllFourPlayers", 3, 300, 0.0, true},
                                         Shape{"AllThreePlayers", 4, 300, 1.0, true},
                                         Shape{"OneGame", 5, 1, 0.2, true}),
                         [](const testing::TestParamInfo<Shape>& info) { return info.param.name; });

TEST(LogGenerator, CrLfAndLfLogsHoldTheSameGames) {
    GeneratorOptions options;
    options.seed = 11;
    options.games = 200;
    const std::string crlf = GenerateLog(options);
    options.crlf = false;
    const std::string lf = GenerateLog(options);

    std::string stripped = crlf;
    std::erase(stripped, '\r');
    EXPECT_EQ(stripped, lf);

    const std::vector<GameRecord> a = Parse(crlf);
    const std::vector<GameRecord> b = Parse(lf);
    ASSERT_EQ(a.size(), 200u);
    ASSERT_EQ(b.size(), 200u);
    for (std::size_t g = 0; g < a.size(); ++g) {
        EXPECT_EQ(a[g].startTime, b[g].startTime);
        EXPECT_EQ(a[g].endTime, b[g].endTime);
        EXPECT_EQ(a[g].handCount, b[g].handCount);
        for (int s = 0; s < a[g].playerCount; ++s) EXPECT_EQ(a[g].SeatName(s), b[g].SeatName(s));
    }
}

// Read in text mode, CR LF is one newline byte: the date-time of the header and of the end line
// begins 23 bytes before the end of the line counted that way, in either kind of file.
TEST(LogGenerator, DateTimesBegin23BytesBeforeTheTextModeLineEnd) {
    for (const bool crlf : {true, false}) {
        GeneratorOptions options;
        options.games = 100;
        options.crlf = crlf;
        std::istringstream in(GenerateLog(options));
        int dated = 0;
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            line += '\n';
            const bool header = line.find("=====") != std::string::npos;
            const bool end = line.ends_with(" -----\n");
            if (!header && !end) continue;
            ASSERT_GE(line.size(), 23u);
            const std::string dateTime = line.substr(line.size() - 23, 16);
            int year = 0, month = 0, day = 0, hour = 0, minute = 0;
            ASSERT_EQ(
                std::sscanf(dateTime.c_str(), "%4d/%2d/%2d %2d:%2d", &year, &month, &day, &hour, &minute), 5)
                << dateTime;
            EXPECT_EQ(dateTime[4], '/');
            EXPECT_EQ(dateTime[13], ':');
            ++dated;
        }
        EXPECT_EQ(dated, 200);
    }
}

TEST(LogGenerator, SameOptionsGiveSameBytesAndSeedsDiffer) {
    GeneratorOptions options;
    options.seed = 42;
    options.games = 50;
    const std::string first = GenerateLog(options);
    EXPECT_EQ(first, GenerateLog(options));
    options.seed = 43;
    EXPECT_NE(first, GenerateLog(options));
}

TEST(LogGenerator, SizeLimitStopsAfterTheGameThatReachesIt) {
    GeneratorOptions options;
    options.sizeBytes = 150000;
    const std::string text = GenerateLog(options);
    EXPECT_GE(text.size(), 150000u);
    EXPECT_LT(text.size(), 150000u + 4000u);
    EXPECT_EQ(Parse(text).size(), CountSeparatorLines(text));
}

// Placings, points and box-outs follow from the score changes of the hands.
TEST(LogGenerator, ResultsAgreeWithTheScoreChanges) {
    GeneratorOptions options;
    options.seed = 5;
    options.games = 1500;
    const std::vector<GameRecord> games = Parse(GenerateLog(options));
    ASSERT_EQ(games.size(), 1500u);

    std::int64_t previousEnd = 0;
    int boxedOut = 0;
    for (const GameRecord& game : games) {
        const int n = game.playerCount;
        ASSERT_TRUE(n == 3 || n == 4);
        EXPECT_EQ(game.startPoints, n == 4 ? 25000 : 35000);
        std::array<int, 4> score{};
        std::fill_n(score.begin(), n, game.startPoints);
        bool belowZero = false;
        for (const auto& hand : game.Hands()) {
            EXPECT_FALSE(belowZero) << "a hand after a box-out";
            int sum = 0;
            for (int e = 0; e < hand.entryCount; ++e) {
                const int seat = game.FindSeatByName(hand.entryNames[e]);
                ASSERT_GE(seat, 0);
                score[seat] += hand.entryDeltas[e];
                sum += hand.entryDeltas[e];
            }
            if (hand.IsWin()) {
                ASSERT_GE(hand.entryCount, 2);
                EXPECT_GT(hand.entryDeltas[0], 0) << "the first entry of a win is its winner";
                EXPECT_GE(hand.yaku.size(), 1u);
                EXPECT_LE(hand.yaku.size(), 4u);
            } else {
                EXPECT_LE(sum, 0) << "only riichi sticks are ever left on the table";
            }
            belowZero = belowZero || *std::min_element(score.begin(), score.begin() + n) < 0;
        }
        boxedOut += belowZero;

        int points = 0;
        for (int s = 0; s < n; ++s) {
            points += game.seats[s].points;
            for (int t = 0; t < n; ++t) {
                if (t == s) continue;
                const bool ahead = score[s] > score[t] || (score[s] == score[t] && s < t);
                EXPECT_EQ(ahead, game.seats[s].rank < game.seats[t].rank);
            }
        }
        EXPECT_EQ(points, 0);
        const std::int64_t minutes = game.GameSeconds() / 60;
        EXPECT_GE(minutes, 10);
        EXPECT_LE(minutes, 60);
        EXPECT_GE(game.startTime, previousEnd) << "games of one player never overlap";
        previousEnd = game.endTime;
    }
    EXPECT_GT(boxedOut, 15);
    EXPECT_LT(boxedOut, 300);
}

// What the statistics pages need to have something to show: every kind of outcome, value and
// table, players met again and again, games around the clock and over the years.
TEST(LogGenerator, CoversEveryKindOfGameAndHand) {
    GeneratorOptions options;
    options.seed = 9;
    options.games = 3000;
    options.threePlayerShare = 0.25;
    const std::vector<GameRecord> games = Parse(GenerateLog(options));
    ASSERT_EQ(games.size(), 3000u);

    // ぴよ丸, the default player.
    const std::string_view player = "\x82\xd2\x82\xe6\x8a\xdb";
    std::set<int> handKinds, hanClasses, tableKinds, hours, years;
    std::map<std::string, int> metCount;
    int withPlayer = 0, threePlayer = 0, eastSouth = 0;
    for (const GameRecord& game : games) {
        const int own = game.FindSeatByName(player);
        withPlayer += own >= 0;
        threePlayer += game.playerCount == 3;
        eastSouth += game.eastSouth;
        tableKinds.insert(static_cast<int>(game.tableKind));
        const std::time_t start = static_cast<std::time_t>(game.startTime);
        std::tm local{};
        localtime_r(&start, &local);
        hours.insert(local.tm_hour);
        years.insert(local.tm_year + 1900);
        for (const auto& hand : game.Hands()) {
            handKinds.insert(static_cast<int>(hand.kind));
            if (hand.IsWin()) hanClasses.insert(static_cast<int>(hand.hanClass));
        }
        for (int s = 0; own >= 0 && s < game.playerCount; ++s) {
            if (s != own) ++metCount[std::string(game.SeatName(s))];
        }
    }
    EXPECT_NEAR(withPlayer / 3000.0, 0.97, 0.015);
    EXPECT_NEAR(threePlayer / 3000.0, 0.25, 0.03);
    EXPECT_NEAR(eastSouth / 3000.0, 0.55, 0.04);
    EXPECT_EQ(handKinds, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(hanClasses, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(tableKinds, (std::set<int>{1, 2, 3, 4}));
    EXPECT_EQ(hours.size(), 24u);
    EXPECT_EQ(*years.begin(), 2019);
    EXPECT_GE(years.size(), 6u);
    EXPECT_GE(metCount.size(), 200u);
    int mostMet = 0;
    for (const auto& [name, count] : metCount) mostMet = std::max(mostMet, count);
    EXPECT_GT(mostMet, 150);
}

TEST(LogGenerator, ConvertsThePlayerIdToCodePage932) {
    std::string cp932;
    ASSERT_TRUE(Utf8ToCp932(kSakuraUtf8, cp932));
    EXPECT_EQ(cp932, kSakuraCp932);
    EXPECT_TRUE(Utf8ToCp932("kenji", cp932));
    EXPECT_EQ(cp932, "kenji");
    EXPECT_FALSE(Utf8ToCp932("\xf0\x9f\x80\x84", cp932)) << "a mahjong tile emoji has no code page 932 form";
}

class CommandLine : public testing::Test {
protected:
#ifdef _WIN32
    std::filesystem::path dir;
    void SetUp() override {
        OBRENTA_SKIP_ON_WINDOWS("runs the generator through a POSIX shell");
    }
    int Run(const std::string&) {
        return -1;
    }
#else
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("mjlog-gen-test-" + std::to_string(::getpid()));
    void SetUp() override {
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir);
    }

    int Run(const std::string& arguments) {
        const std::string command = std::string(MJLOG_GEN_PATH) + " " + arguments + " 2>/dev/null";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
#endif
};

TEST_F(CommandLine, WritesTheNamedPlayersGamesToTheFile) {
    const auto out = dir / "log.txt";
    ASSERT_EQ(Run("--games 20 --lf --seed 3 --player " + std::string(kSakuraUtf8) + " --out " + out.string()),
              0);
    const std::string text = ReadFile(out);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    const std::vector<GameRecord> games = Parse(text);
    ASSERT_EQ(games.size(), 20u);
    int withPlayer = 0;
    for (const GameRecord& game : games) withPlayer += game.FindSeatByName(kSakuraCp932) >= 0;
    EXPECT_GE(withPlayer, 17);
}

TEST_F(CommandLine, RefusesBadArguments) {
    EXPECT_EQ(Run("--games many"), 2);
    EXPECT_EQ(Run("--games 1e30"), 2);
    EXPECT_EQ(Run("--size-mb 1e300"), 2);
    EXPECT_EQ(Run("--three-player-share 1.5"), 2);
    EXPECT_EQ(Run("--player 'two words'"), 2);
    EXPECT_EQ(Run("--games"), 2);
    EXPECT_EQ(Run("--out " + (dir / "missing" / "log.txt").string()), 2);
}

// The bundled sample is exactly what its README's command writes, and all of it parses.
TEST(BundledSample, IsTheGeneratorsOutputAndParsesCompletely) {
    const std::filesystem::path samples = std::filesystem::path(OBRENTA_SOURCE_DIR) / "samples";
    const std::string text = ReadFile(samples / "mjscore.txt");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(Parse(text).size(), CountSeparatorLines(text));

    std::string playerUtf8 = ReadFile(samples / "PLAYER");
    while (!playerUtf8.empty() && (playerUtf8.back() == '\n' || playerUtf8.back() == '\r'))
        playerUtf8.pop_back();
    GeneratorOptions options;
    ASSERT_TRUE(Utf8ToCp932(playerUtf8, options.player));
    options.seed = 1;
    options.games = 300;
    EXPECT_EQ(text, GenerateLog(options));
}

}  // namespace
}  // namespace obrenta::tools
