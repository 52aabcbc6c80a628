#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "GameBuilder.h"
#include "tally/TallyEngine.h"
#include "tools/mjlog-gen/LogGenerator.h"

namespace obrenta::tally::test {
namespace {

// Yaku words as the log writes them, in code page 932.
const std::string kDora = "\x83\x68\x83\x89";             // ドラ
const std::string kRed = "\x90\xD4";                      // 赤
const std::string kUraDora = "\x97\xA0\x83\x68\x83\x89";  // 裏ドラ
const std::string kRiichi = "\x97\xA7\x92\xBC";           // 立直
using K = HandKind;

// hands wins tsumo dealIns tsumoLosses draws withEntry tenpai dora riichi ura yakuman
std::string Counts(const StyleSums& s) {
    std::string out;
    for (const double v :
         {double(s.hands), double(s.wins), double(s.tsumoWins), double(s.dealIns), double(s.tsumoLosses),
          double(s.draws), double(s.drawsWithEntry), double(s.tenpaiDraws), s.doraSum, double(s.riichiWins),
          double(s.uraWins), double(s.yakumanWins)}) {
        out += std::to_string(static_cast<long long>(v)) + " ";
    }
    return out;
}

TEST(Style, CountsEachSideOfTheSameHands) {
    GameBuilder builder;
    const std::vector<SeatSpec> three{{"me", 1500, 0, 1}, {"A", 1600, 0, 2}, {"B", 1700, 0, 3}};
    const std::vector<SeatSpec> unnamed{
        {"me", 1500, 0, 1}, {"", 1500, 0, 2}, {"", 1500, 0, 3}, {"", 1500, 0, 4}};
    const struct {
        const char* name;
        std::vector<GameRecord> games;
        std::string own;
        std::string field;
        bool fieldWinRate;
    } cases[] = {
        {"three- and four-player games mixed, a draw without entries",
         {builder.Hand({K::Ron, {{"me", 8000}, {"A", -8000}}, HanClass::Mangan, {kDora + "2", kRed + "1"}})
              .Hand({K::Tsumo,
                     {{"B", 4000}, {"me", -2000}, {"A", -1000}, {"C", -1000}},
                     HanClass::Han3,
                     {kRiichi, kUraDora + "1"}})
              .Build(),
          builder.ClearHands()
              .Seats(three)
              .Hand({K::ExhaustiveDraw, {{"me", 1500}, {"A", -1500}}, HanClass::None, {}})
              .Hand({K::ExhaustiveDraw, {}, HanClass::None, {}})
              .Build()},
         "4 1 0 0 1 2 1 1 3 0 0 0 ",
         "10 1 1 1 2 4 1 0 1 1 1 0 ",
         true},
        {"a winner who is no player, ドラ10 and 赤0, a yakuman, a win without entries",
         {builder.ClearHands()
              .Seats({{"me", 1500, 0, 1}, {"A", 1600, 0, 2}, {"B", 1700, 0, 3}, {"C", 1800, 0, 4}})
              .Hand({K::Ron, {{"X", 12000}, {"me", -12000}}, HanClass::Haneman, {kDora + "10"}})
              .Hand({K::Ron, {{"me", 32000}, {"A", -32000}}, HanClass::Yakuman, {kDora + "10", kRed + "0"}})
              .Hand({K::Ron, {}, HanClass::None, {}})
              .Build()},
         "3 1 0 1 0 0 0 0 10 0 0 1 ",
         "9 0 0 1 0 0 0 0 0 0 0 0 ",
         true},
        {"a name on two seats and twice in a hand, an entry that names no seat",
         {builder.ClearHands()
              .Seats({{"me", 1500, 0, 1}, {"A", 1600, 0, 2}, {"A", 1700, 0, 3}, {"B", 1800, 0, 4}})
              .Hand({K::Ron,
                     {{"A", 9000}, {"B", -8000}, {"A", -1000}, {"X", -500}},
                     HanClass::Han3,
                     {kDora + "1"}})
              .Hand({K::ExhaustiveDraw, {{"A", 1000}, {"A", 500}, {"me", -1500}}, HanClass::None, {}})
              .Build()},
         "2 0 0 0 0 1 1 0 0 0 0 0 ",
         "6 1 0 1 0 3 2 2 1 0 0 0 ",
         true},
        {"no win, the field empty",
         {builder.ClearHands()
              .Seats(unnamed)
              .Hand({K::ExhaustiveDraw, {{"me", -1000}, {"", 1000}}, HanClass::None, {}})
              .Build()},
         "1 0 0 0 0 1 1 0 0 0 0 0 ",
         "0 0 0 0 0 0 0 0 0 0 0 0 ",
         false},
        {"changes too large to keep in a game's totals",
         {builder.ClearHands()
              .Seats({{"me", 1500, 0, 1}, {"A", 1600, 0, 2}, {"B", 1700, 0, 3}, {"C", 1800, 0, 4}})
              .Hand({K::Ron, {{"me", 2000000000}, {"A", -2000000000}}, HanClass::Yakuman, {kRiichi}})
              .Hand({K::Tsumo, {{"A", 3000}, {"me", -1000}, {"B", -2000}}, HanClass::Han1, {}})
              .Build()},
         "2 1 0 0 1 0 0 0 0 1 0 1 ",
         "6 1 1 1 1 0 0 0 0 0 0 0 ",
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const settings::AppSettings settings = OpenSettings();
        TallyEngine engine(settings);
        engine.Tally(c.games);
        EXPECT_EQ(Counts(engine.styleOwn), c.own);
        EXPECT_EQ(Counts(engine.styleField), c.field);
        const StyleLine& win = engine.styleLines[static_cast<int>(StyleRow::WinRate)];
        EXPECT_EQ(win.field.valid, c.fieldWinRate);
        EXPECT_EQ(win.difference.valid, c.fieldWinRate);
    }
}

// The reader sums each game's hands by seat; the tally sums them itself for hands set another
// way. A generated log's figures are the same both ways.
TEST(Style, ReadTotalsMatchHandsSummedAgain) {
    tools::GeneratorOptions options;
    options.seed = 11;
    options.games = 400;
    options.player = "me";
    obrenta::test::TempDir dir;
    const std::string path = dir.File("mjscore.txt");
    std::ofstream(path, std::ios::binary) << tools::GenerateLog(options);
    settings::AppSettings settings = OpenSettings();
    settings.MJSFileName = path;
    TallyEngine read(settings);
    ASSERT_TRUE(read.ReadScoreLog());
    read.Tally();
    std::vector<GameRecord> copies = read.scoreLog().games();
    for (GameRecord& game : copies) {
        ASSERT_NE(game.Hands().totals(), nullptr);
        const std::vector<HandRecord> hands(game.Hands().begin(), game.Hands().end());
        game.SetHands(hands);
        ASSERT_EQ(game.Hands().totals(), nullptr);
    }
    TallyEngine again(settings);
    again.Tally(copies);
    ASSERT_GT(read.styleOwn.wins, 0);
    EXPECT_EQ(Counts(again.styleOwn), Counts(read.styleOwn));
    EXPECT_EQ(Counts(again.styleField), Counts(read.styleField));
    for (const auto& [a, b] :
         {std::pair(again.styleOwn, read.styleOwn), std::pair(again.styleField, read.styleField)}) {
        EXPECT_EQ(a.winSum, b.winSum);
        EXPECT_EQ(a.winSquareSum, b.winSquareSum);
        EXPECT_EQ(a.dealInSum, b.dealInSum);
        EXPECT_EQ(a.dealInSquareSum, b.dealInSquareSum);
        EXPECT_EQ(a.doraSquareSum, b.doraSquareSum);
    }
    for (const auto& [a, b] : {std::pair(again.styleLargestWin, read.styleLargestWin),
                               std::pair(again.styleLargestDealIn, read.styleLargestDealIn)}) {
        EXPECT_TRUE(a.found);
        EXPECT_EQ(a.value, b.value);
        EXPECT_EQ(a.startTime, b.startTime);
    }
}

TEST(Style, WilsonIntervalAndDifference) {
    const StyleMeasure half = WilsonRate(1, 2);
    EXPECT_NEAR(half.low, 9.453, 0.001);
    EXPECT_NEAR(half.high, 90.547, 0.001);
    EXPECT_FALSE(WilsonRate(0, 0).valid);
    EXPECT_FALSE(NormalMean(5, 25, 1).valid);
    const StyleDifference apart = DifferenceOf(WilsonRate(90, 100), WilsonRate(10, 100));
    EXPECT_NEAR(apart.value, 80, 1e-9);
    EXPECT_TRUE(apart.significant);
    EXPECT_FALSE(DifferenceOf(WilsonRate(5, 10), WilsonRate(4, 10)).significant);
}

}  // namespace
}  // namespace obrenta::tally::test
