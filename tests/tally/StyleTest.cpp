#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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
         "6 1 0 1 0 3 1 1 1 0 0 0 ",
         true},
        {"no win, the field empty",
         {builder.ClearHands()
              .Seats(unnamed)
              .Hand({K::ExhaustiveDraw, {{"me", -1000}, {"", 1000}}, HanClass::None, {}})
              .Build()},
         "1 0 0 0 0 1 1 0 0 0 0 0 ",
         "0 0 0 0 0 0 0 0 0 0 0 0 ",
         false},
        {"changes near the ends of 32 bits",
         {builder.ClearHands()
              .Seats({{"me", 1500, 0, 1}, {"A", 1600, 0, 2}, {"B", 1700, 0, 3}, {"C", 1800, 0, 4}})
              .Hand({K::Ron, {{"me", 2000000000}, {"A", -2000000000}}, HanClass::Yakuman, {kRiichi}})
              .Hand({K::Tsumo, {{"A", 3000}, {"me", -1000}, {"B", -2000}}, HanClass::Han1, {}})
              .Build()},
         "2 1 0 0 1 0 0 0 0 1 0 1 ",
         "6 1 1 1 1 0 0 0 0 0 0 0 ",
         true},
        {"a riichi deposit is no deal-in; a seat's change is its last entry's",
         {builder.ClearHands()
              .Seats({{"me", 1500, 0, 1}, {"A", 1600, 0, 2}, {"B", 1700, 0, 3}, {"C", 1800, 0, 4}})
              .Hand({K::Ron, {{"A", 3000}, {"B", -2000}, {"me", -1000}}, HanClass::Han1, {}})
              .Hand({K::Ron, {{"A", 12000}, {"me", -12000}, {"me", 0}}, HanClass::Mangan, {}})
              .Build()},
         "2 0 0 0 0 0 0 0 0 0 0 0 ",
         "6 2 0 1 0 0 0 0 0 0 0 0 ",
         true},
        {"two equal losses: the first entry dealt in",
         {builder.ClearHands()
              .Seats({{"me", 1500, 0, 1}, {"A", 1600, 0, 2}, {"B", 1700, 0, 3}, {"C", 1800, 0, 4}})
              .Hand({K::Ron, {{"A", 2000}, {"me", -1000}, {"B", -1000}}, HanClass::Han1, {}})
              .Build()},
         "1 0 0 1 0 0 0 0 0 0 0 0 ",
         "3 1 0 0 0 0 0 0 0 0 0 0 ",
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
        // An exhaustive draw is every seat's: the user's rate only.
        const StyleLine& draw = engine.styleLines[static_cast<int>(StyleRow::DrawRate)];
        EXPECT_TRUE(draw.ownOnly && !draw.field.valid && !draw.difference.valid);
    }
}

// Copies of games with their hands damaged as a broken log could give them: an entry dropped or
// named twice, the winner's name on a loser, an entry naming nobody, counts out of range.
std::vector<GameRecord> Damaged(std::vector<GameRecord> games, scorelog::NameId stranger) {
    std::size_t turn = 0;
    for (GameRecord& game : games) {
        std::vector<HandRecord> hands(game.Hands().begin(), game.Hands().end());
        for (HandRecord& hand : hands) {
            switch (turn++ % 7) {
                case 0:
                    hand.entryCount = std::max(hand.entryCount - 1, 0);
                    break;
                case 1:
                    hand.entryNames[1] = hand.entryNames[0];
                    break;
                case 2:
                    hand.entryNames[2] = stranger;
                    break;
                case 3:
                    hand.entryNames[hand.entryCount > 1 ? 1 : 0] =
                        hand.entryNames[hand.entryCount > 2 ? 2 : 0];
                    break;
                case 4:
                    hand.entryCount = turn % 2 == 0 ? 7 : -3;
                    break;
                case 5:
                    std::swap(hand.entryDeltas[0], hand.entryDeltas[1]);
                    break;
                default:
                    break;
            }
        }
        game.SetHands(hands);
    }
    return games;
}

// A figure shown on two pages is the same number: the hands everywhere, the user's wins on 和了
// and 打ち筋, the draws and tenpai draws on 局情報 and 打ち筋; a deal-in or a paid tsumo is a
// loss in its kind of hand on 局情報 (which also counts riichi deposits), on generated logs and on
// damaged copies of their games.
TEST(Style, FiguresSharedWithOtherPagesAgree) {
    for (const std::uint64_t seed : {3u, 11u}) {
        tools::GeneratorOptions options;
        options.seed = seed;
        options.games = 400;
        options.player = "me";
        obrenta::test::TempDir dir;
        const std::string path = dir.File("mjscore.txt");
        std::ofstream(path, std::ios::binary) << tools::GenerateLog(options);
        settings::AppSettings settings = OpenSettings();
        settings.MJSFileName = path;
        TallyEngine read(settings);
        ASSERT_TRUE(read.ReadScoreLog());
        const std::vector<GameRecord>& games = read.scoreLog().games();
        ASSERT_FALSE(games.empty());
        const scorelog::NameId stranger = games[0].names->Intern("nobody at the table");
        for (const std::vector<GameRecord>& list : {games, Damaged(games, stranger)}) {
            SCOPED_TRACE(&list == &games ? "as read" : "damaged");
            TallyEngine engine(settings);
            engine.Tally(list);
            const StyleSums& own = engine.styleOwn;
            ASSERT_GT(own.wins, 0);
            ASSERT_GT(own.dealIns, 0);
            const auto count = [&](PointChange change, HandKind kind) {
                return engine.handOutcome[static_cast<int>(change)][static_cast<int>(kind)].count;
            };
            std::int64_t hands = 0;
            std::int64_t draws = 0;
            for (int change = 0; change < kPointChangeCount; ++change) {
                hands += engine.handOutcomeTotal[change].count;
                draws += count(static_cast<PointChange>(change), HandKind::ExhaustiveDraw);
            }
            EXPECT_EQ(own.hands, engine.totalHandCount);
            EXPECT_EQ(own.hands, hands);
            EXPECT_EQ(own.wins, engine.ownWinCount);
            EXPECT_EQ(own.draws, draws);
            EXPECT_EQ(own.tenpaiDraws, count(PointChange::Gain, HandKind::ExhaustiveDraw));
            EXPECT_LE(own.dealIns, count(PointChange::Loss, HandKind::Ron));
            EXPECT_LE(own.tsumoLosses, count(PointChange::Loss, HandKind::Tsumo));
            EXPECT_LE(engine.styleLargestDealIn.value, 0);
            // Where the points go: the same deal-ins, and the user's changes split without a rest.
            EXPECT_EQ(engine.dealInBreakdown.lines[0].own.count, own.dealIns);
            EXPECT_EQ(engine.dealInBreakdown.lines[0].field.count, engine.styleField.dealIns);
            const PointsSplit& split = engine.pointsPerHand.own;
            std::int64_t change = 0;
            for (const SelectedGame& s : engine.selectedGames) {
                for (const HandRecord& hand : s.game.Hands()) change += OutcomeOf(hand).change[s.userSeat];
            }
            EXPECT_EQ(split.hands, own.hands);
            EXPECT_EQ(split.total, change);
            EXPECT_EQ(split.parts[0] + split.parts[1] + split.parts[2] + split.parts[3] + split.parts[4],
                      change);
            EXPECT_EQ(split.parts[1], -engine.dealInBreakdown.lines[0].own.pointsLost);
        }
    }
}

// The records and the means read the same deal-ins and dora as the counts.
TEST(Style, RecordsAndMeans) {
    GameBuilder builder;
    builder.Seats({{"me", 1500, 0, 1}, {"A", 1600, 0, 2}, {"B", 1700, 0, 3}, {"C", 1800, 0, 4}});
    const std::vector<GameRecord> games{
        builder.Hand({K::Ron, {{"A", 12000}, {"me", -12000}, {"me", 0}}, HanClass::Mangan, {}})
            .Hand({K::Ron, {{"B", 3900}, {"me", -3900}}, HanClass::Han3, {}})
            .Hand({K::Ron, {{"me", 8000}, {"C", -8000}}, HanClass::Mangan, {kDora + "64"}})
            .Build(),
        builder.ClearHands()
            .Hand({K::Tsumo,
                   {{"me", 8000}, {"A", -4000}, {"B", -2000}, {"C", -2000}},
                   HanClass::Mangan,
                   {kDora + "1"}})
            .Build()};
    const settings::AppSettings settings = OpenSettings();
    TallyEngine engine(settings);
    engine.Tally(games);
    const auto line = [&](StyleRow row) { return engine.styleLines[static_cast<int>(row)]; };
    EXPECT_EQ(engine.styleLargestDealIn.value, -3900);
    EXPECT_EQ(line(StyleRow::DealInValue).own.value, -3900);
    EXPECT_FALSE(line(StyleRow::DealInValue).own.hasInterval);
    EXPECT_EQ(engine.styleLargestWin.value, 8000);
    EXPECT_EQ(engine.styleLargestWin.startTime, games[0].startTime);
    EXPECT_DOUBLE_EQ(line(StyleRow::DoraPerWin).own.value, 32.5);
    // Two equal win values: an interval of no width, and none for the difference with a field
    // of one win.
    EXPECT_TRUE(line(StyleRow::WinValue).own.hasInterval);
    EXPECT_EQ(line(StyleRow::WinValue).own.low, 8000);
    EXPECT_EQ(engine.styleLongestGame.value, 3);
}

// Wilson for a rate, Newcombe's hybrid score for a difference of rates, Student's t for a mean
// and Welch for a difference of means.
TEST(Style, IntervalsOfRatesAndMeans) {
    const Estimate half = WilsonRate(1, 2);
    EXPECT_NEAR(half.low, 9.453, 0.001);
    EXPECT_NEAR(half.high, 90.547, 0.001);
    EXPECT_FALSE(WilsonRate(0, 0).valid);
    EXPECT_FALSE(MeanOf(5, 25, 1).hasInterval);
    const struct {
        const char* name;
        Estimate difference;
        double value, low, high;
        bool marked;
    } cases[] = {
        {"rates far apart", NewcombeDifference(WilsonRate(90, 100), WilsonRate(10, 100)), 80, 69.483, 86.332,
         true},
        {"rates close", NewcombeDifference(WilsonRate(5, 10), WilsonRate(4, 10)), 10, -28.980, 45.089, false},
        // 0 of 6 against 4.95%: √(p(1 − p)/n) is 0 at p = 0, but Wilson's interval is not.
        {"no ura in 6 against 5 in 101", NewcombeDifference(WilsonRate(0, 6), WilsonRate(5, 101)), -4.950,
         -11.070, 34.185, false},
        // Means of 3 values each, s² = 1 and 4: ν = (1/3 + 4/3)² / ((1/3)²/2 + (4/3)²/2) = 50/17.
        {"Welch", WelchDifference(MeanOf(6, 14, 3), MeanOf(0, 8, 3)), 2, -2.155, 6.155, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(c.difference.value, c.value, 0.0005);
        EXPECT_NEAR(c.difference.low, c.low, 0.0005);
        EXPECT_NEAR(c.difference.high, c.high, 0.0005);
        EXPECT_EQ(ExcludesZero(c.difference), c.marked);
    }
    // Both variances 0: no interval.
    EXPECT_FALSE(WelchDifference(MeanOf(4, 8, 2), MeanOf(2, 1, 4)).hasInterval);
}

// The t quantile at real degrees of freedom against 40-digit references, the first two also in
// closed form (tan(0.475π), 0.95 / √(2 · 0.975 · 0.025)).
TEST(Style, StudentTQuantile) {
    const struct {
        double p, nu, expected;
    } cases[] = {
        {0.975, 1, 12.706204736174705},    {0.975, 2, 4.302652729749464},   {0.975, 2.5, 3.574654842003683},
        {0.975, 10, 2.228138851986275},    {0.975, 14, 2.144786687917804},  {0.975, 0.3, 6582.035699400774},
        {0.975, 1000, 1.9623390808264085}, {0.975, 1e6, 1.959966356814107}, {0.9, 5, 1.475884048824481},
        {0.025, 10, -2.228138851986275},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.p << " " << c.nu);
        EXPECT_NEAR(StudentTQuantile(c.p, c.nu), c.expected, 4e-15 * std::fabs(c.expected));
    }
    EXPECT_NEAR(RegularizedBeta(0.3, 2, 3), 0.3483, 1e-12);
}

}  // namespace
}  // namespace obrenta::tally::test
