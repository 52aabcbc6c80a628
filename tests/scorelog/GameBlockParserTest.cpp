#include <gtest/gtest.h>

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "Cp932.h"
#include "scorelog/GameBlockParser.h"

namespace obrenta::scorelog {
namespace {

using test::Sj;

// The tests run with TZ=Asia/Tokyo: nine hours ahead of UTC, no daylight saving.
std::int64_t TokyoSeconds(int year, int month, int day, int hour, int minute) {
    return obrenta::test::UtcSeconds(year, month, day, hour, minute) - 9 * 3600;
}

// A block from UTF-8 lines; each line gets its newline.
std::vector<std::string> Block(std::initializer_list<const char*> lines) {
    std::vector<std::string> block;
    for (const char* line : lines) block.push_back(Sj(line) + "\n");
    return block;
}

std::optional<GameRecord> Parse(const std::vector<std::string>& block) {
    std::vector<std::string_view> views(block.begin(), block.end());
    GameRecord game;
    if (!ParseGameBlock(game, views)) return std::nullopt;
    return game;
}

std::vector<std::string> FourPlayerGame() {
    return Block({
        "===== 対局 ランキング 東南戦 開始 2024/05/18 21:04 =====",
        "    持点25000 [1]さくら R1712 [2]kenji R1856 [3]Guest042 R1523 [4]mame_x R1712",
        "  東1局 0本場(リーチ1) kenji +8000 さくら -8000",
        "    30符 満貫ロン 立直 ドラ2 赤1",
        "  東2局 0本場(リーチ0) mame_x +1500 さくら -500 kenji -500 Guest042 -500",
        "    30符 一飜ツモ 門前清自摸和",
        "  東3局 0本場(リーチ2) さくら +1500 kenji +1500 Guest042 -1500 mame_x -1500",
        "    流局",
        "  南1局 0本場(リーチ0)",
        "    九種公九牌倒牌",
        "  ---- 試合結果 ----",
        "1位 Guest042 +25",
        "2位 kenji -3",
        "3位 さくら -13",
        "4位 mame_x -29",
        "  終了 2024/05/18 21:48 -----",
    });
}

std::vector<std::string> ThreePlayerGame() {
    return Block({
        "===== 対局 上級 東風戦 開始 2024/05/18 22:10 =====",
        "    持点35000 [1]kenji R1850 [2]ぽん太 R1850 [3]Guest977 R1700",
        "  東1局 0本場(リーチ0) ぽん太 +24000 Guest977 -24000",
        "    役満ロン 国士無双",
        "  ---- 試合結果 ----",
        "1位 ぽん太 +52",
        "2位 kenji -8",
        "3位 Guest977 -44",
        "  終了 2024/05/18 22:31 -----",
    });
}

// Replaces the first line that starts with prefix (both UTF-8) by line.
std::vector<std::string> With(std::vector<std::string> block, const char* prefix, const std::string& line) {
    const std::string key = Sj(prefix);
    for (std::string& l : block) {
        if (l.compare(0, key.size(), key) == 0) {
            l = line;
            return block;
        }
    }
    ADD_FAILURE() << "no line starts with " << prefix;
    return block;
}

std::vector<std::string> With(std::vector<std::string> block, const char* prefix, const char* line) {
    return With(std::move(block), prefix, Sj(line) + "\n");
}

TEST(ParseGameBlockTest, FourPlayerGame) {
    const auto game = Parse(FourPlayerGame());
    ASSERT_TRUE(game);
    EXPECT_EQ(game->playerCount, 4);
    EXPECT_TRUE(game->eastSouth);
    EXPECT_EQ(game->tableKind, TableKind::Ranking);
    EXPECT_EQ(game->startPoints, 25000);
    EXPECT_EQ(game->startTime, TokyoSeconds(2024, 5, 18, 21, 4));
    EXPECT_EQ(game->endTime, TokyoSeconds(2024, 5, 18, 21, 48));
    EXPECT_EQ(game->GameSeconds(), 44 * 60);

    const char* names[] = {"さくら", "kenji", "Guest042", "mame_x"};
    const int ratings[] = {1712, 1856, 1523, 1712};
    const int points[] = {-13, -3, 25, -29};
    const int ranks[] = {3, 2, 1, 4};
    const int ratingRanks[] = {2, 1, 4, 2};
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(game->SeatName(k), Sj(names[k]));
        EXPECT_EQ(game->seats[k].rating, ratings[k]);
        EXPECT_EQ(game->seats[k].points, points[k]);
        EXPECT_EQ(game->seats[k].rank, ranks[k]);
        EXPECT_EQ(game->seats[k].ratingRank, ratingRanks[k]);
    }

    ASSERT_EQ(game->handCount, 4);
    const HandList& hands = game->Hands();
    ASSERT_EQ(hands.size(), 4u);
    EXPECT_EQ(hands[0].kind, HandKind::Ron);
    EXPECT_EQ(hands[0].hanClass, HanClass::Mangan);
    EXPECT_EQ(hands[0].entryNames[0], game->seats[1].name);
    EXPECT_EQ(hands[0].entryDeltas[0], 8000);
    EXPECT_EQ(hands[0].yaku.size(), 3u);
    EXPECT_EQ(hands[1].kind, HandKind::Tsumo);
    EXPECT_EQ(hands[2].kind, HandKind::ExhaustiveDraw);
    EXPECT_TRUE(hands[2].yaku.empty());
    EXPECT_EQ(hands[3].kind, HandKind::NineTerminals);
    EXPECT_EQ(hands[3].entryCount, 0);
}

TEST(ParseGameBlockTest, ThreePlayerGame) {
    const auto game = Parse(ThreePlayerGame());
    ASSERT_TRUE(game);
    EXPECT_EQ(game->playerCount, 3);
    EXPECT_FALSE(game->eastSouth);
    EXPECT_EQ(game->tableKind, TableKind::Advanced);
    EXPECT_EQ(game->seats[0].ratingRank, 1);
    EXPECT_EQ(game->seats[1].ratingRank, 1);
    EXPECT_EQ(game->seats[2].ratingRank, 3);
    EXPECT_EQ(game->seats[1].rank, 1);
    EXPECT_EQ(game->seats[1].points, 52);
    EXPECT_EQ(game->seats[3].name, kEmptyName);
    EXPECT_EQ(game->FindSeatByName(Sj("ぽん太")), 1);
    EXPECT_EQ(game->FindSeatByName(kEmptyName), -1);
}

TEST(ParseGameBlockTest, FindSeatByNameNeverLooksAtTheFourthSeatOfThreePlayers) {
    GameRecord game;
    game.names = std::make_shared<NamePool>();
    game.playerCount = 3;
    game.seats[3].name = game.names->Intern("d");
    EXPECT_EQ(game.FindSeatByName("d"), -1);
    game.playerCount = 4;
    EXPECT_EQ(game.FindSeatByName("d"), 3);
    EXPECT_EQ(game.FindSeatByName("unknown"), -1);
}

TEST(ParseGameBlockTest, RatingRanksShareTheBetterNumber) {
    auto block = With(FourPlayerGame(), "    持点",
                      "    持点25000 [1]さくら R1800 [2]kenji R1600 [3]Guest042 R1800 [4]mame_x R1700");
    const auto game = Parse(block);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->seats[0].ratingRank, 1);
    EXPECT_EQ(game->seats[1].ratingRank, 4);
    EXPECT_EQ(game->seats[2].ratingRank, 1);
    EXPECT_EQ(game->seats[3].ratingRank, 3);
}

struct HeaderCase {
    const char* label;
    const char* header;
    TableKind kind;
    bool eastSouth;
};

class HeaderWordTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderWordTest, TableKindAndLength) {
    const HeaderCase& c = GetParam();
    const auto game = Parse(With(ThreePlayerGame(), "=====", c.header));
    ASSERT_TRUE(game);
    EXPECT_EQ(game->tableKind, c.kind);
    EXPECT_EQ(game->eastSouth, c.eastSouth);
}

const HeaderCase kHeaders[] = {
    {"SuperAdvanced", "===== 対局 超上級 東南戦 開始 2024/05/18 22:10 =====", TableKind::SuperAdvanced, true},
    {"Advanced", "===== 対局 上級 東風戦 開始 2024/05/18 22:10 =====", TableKind::Advanced, false},
    {"Ranking", "===== 対局 ランキング 東風戦 開始 2024/05/18 22:10 =====", TableKind::Ranking, false},
    {"Other", "===== 対局 一般 東南戦 開始 2024/05/18 22:10 =====", TableKind::Other, true},
    {"AdvancedBeatsRanking", "===== ランキング 上級 開始 2024/05/18 22:10 =====", TableKind::Advanced, false},
    {"EastSouthAnywhere", "=====東南 2024/05/18 22:10 =====", TableKind::Other, true},
    {"BareSeparator", "===== 2024/05/18 22:10 =====", TableKind::Other, false},
};

INSTANTIATE_TEST_SUITE_P(Header, HeaderWordTest, ::testing::ValuesIn(kHeaders),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(ParseGameBlockTest, NoHandsWhenTheResultHeaderFollowsTheSeatLine) {
    auto block = ThreePlayerGame();
    block.erase(block.begin() + 2, block.begin() + 4);
    const auto game = Parse(block);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->handCount, 0);
    EXPECT_TRUE(game->Hands().empty());
}

TEST(ParseGameBlockTest, LinesBetweenHandsAreSkipped) {
    auto block = FourPlayerGame();
    block.insert(block.begin() + 4, {"    (comment)\n", "\n", Sj("    ドラ表示 5萬\n")});
    const auto game = Parse(block);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->handCount, 4);
    EXPECT_EQ(game->Hands()[1].kind, HandKind::Tsumo);
}

TEST(ParseGameBlockTest, FirstLineAfterSeatLineIsAHandWithoutTheHandWord) {
    auto block = With(ThreePlayerGame(), "  東1局", "  E1 x ぽん太 +24000 Guest977 -24000");
    const auto game = Parse(block);
    ASSERT_TRUE(game);
    ASSERT_EQ(game->handCount, 1);
    EXPECT_EQ(game->Hands()[0].entryNames[0], game->seats[1].name);
}

TEST(ParseGameBlockTest, StartPointsAreZeroWhenUnreadable) {
    auto block =
        With(ThreePlayerGame(), "    持点", "    点35000 [1]kenji R1850 [2]ぽん太 R1850 [3]Guest977 R1700");
    const auto game = Parse(block);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->startPoints, 0);
    EXPECT_EQ(game->playerCount, 3);
}

struct RatingCase {
    const char* token;
    std::int32_t rating;
};

class RatingTokenTest : public ::testing::TestWithParam<RatingCase> {};

TEST_P(RatingTokenTest, FirstByteSkippedRestReadAsAtoi) {
    const std::string seatLine =
        Sj("    持点35000 [1]kenji R1850 [2]ぽん太 ") + GetParam().token + " [3]Guest977 R1700\n";
    const auto game = Parse(With(ThreePlayerGame(), "    持点", seatLine));
    ASSERT_TRUE(game);
    EXPECT_EQ(game->seats[1].rating, GetParam().rating);
}

INSTANTIATE_TEST_SUITE_P(Rating, RatingTokenTest,
                         ::testing::Values(RatingCase{"R1850", 1850}, RatingCase{"R-5", -5},
                                           RatingCase{"R+7", 7}, RatingCase{"R", 0}, RatingCase{"Rx12", 0},
                                           RatingCase{"R12x3", 12}, RatingCase{"X0042", 42},
                                           RatingCase{"R--3", 0}));

TEST(ParseGameBlockTest, LongNamesAreCutAndStillMatch) {
    const std::string longName(70, 'a');
    const std::string otherTail = std::string(63, 'a') + "zzz";
    auto block = With(ThreePlayerGame(), "    持点",
                      Sj("    持点35000 [1]") + longName + Sj(" R1850 [2]ぽん太 R1850 [3]Guest977 R1700\n"));
    block = With(block, "2位", Sj("2位 ") + otherTail + " -8\n");
    const auto game = Parse(block);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->SeatName(0), std::string(63, 'a'));
    EXPECT_EQ(game->seats[0].rank, 2);
    EXPECT_EQ(game->FindSeatByName(longName), 0);
}

TEST(ParseGameBlockTest, PlacingRangeIsOneToFour) {
    for (const char* placing : {"0", "4", "5", "-1"}) {
        SCOPED_TRACE(placing);
        auto block = With(ThreePlayerGame(), "2位", (std::string(placing) + Sj("位 kenji -8\n")));
        EXPECT_EQ(Parse(block).has_value(), std::string(placing) == "4");
    }
}

struct RejectCase {
    const char* label;
    std::vector<std::string> block;
};

class RejectedBlockTest : public ::testing::TestWithParam<RejectCase> {};

TEST_P(RejectedBlockTest, IsRejected) {
    EXPECT_FALSE(Parse(GetParam().block));
}

std::vector<std::string> Truncated(std::vector<std::string> block, std::size_t keep) {
    block.resize(keep);
    return block;
}

std::vector<std::string> ThreeSeatLineInFourPlayerGame() {
    // Two seats only: a four-player game whose unnamed seats no result line can name.
    auto block = With(FourPlayerGame(), "    持点", "    持点25000 [1]さくら R1712 [2]kenji R1856");
    return block;
}

const RejectCase kRejects[] = {
    {"HeaderShorterThan23Bytes", With(ThreePlayerGame(), "=====", "=====22:10")},
    {"HeaderDateUnreadable", With(ThreePlayerGame(), "=====", "===== 開始 2024/05/18 2x:10 =====")},
    {"HeaderDateMissingMinute", With(ThreePlayerGame(), "=====", "===== 開始 2024/05/18 22:ab =====")},
    {"EndLineShort", With(ThreePlayerGame(), "  終了", "22:31")},
    {"EndLineUndated", With(ThreePlayerGame(), "  終了", "  終了 ----/--/-- --:-- -----")},
    {"EndLineMissing", Truncated(ThreePlayerGame(), 8)},
    {"ResultLineMissing", Truncated(ThreePlayerGame(), 7)},
    {"OnlyHeader", Truncated(ThreePlayerGame(), 1)},
    {"HeaderAndSeatLine", Truncated(ThreePlayerGame(), 2)},
    {"NoResultHeader", Truncated(ThreePlayerGame(), 4)},
    {"ResultHeaderWithTrailingBlank", With(ThreePlayerGame(), "  ----", "  ---- 試合結果 ---- ")},
    {"ResultLineWithoutPoints", With(ThreePlayerGame(), "2位", "2位 kenji")},
    {"ResultLineWithoutName", With(ThreePlayerGame(), "2位", "2位")},
    {"ResultLineUnnumbered", With(ThreePlayerGame(), "2位", "二位 kenji -8")},
    {"ResultNameUnknown", With(ThreePlayerGame(), "2位", "2位 kenjj -8")},
    {"SeatNamedTwice", With(ThreePlayerGame(), "2位", "2位 ぽん太 -8")},
    {"PlacingZero", With(ThreePlayerGame(), "2位", "0位 kenji -8")},
    {"PlacingFive", With(ThreePlayerGame(), "2位", "5位 kenji -8")},
    {"UnfilledSeats", ThreeSeatLineInFourPlayerGame()},
    {"HandPastTheBlock", Truncated(FourPlayerGame(), 9)},
};

INSTANTIATE_TEST_SUITE_P(Block, RejectedBlockTest, ::testing::ValuesIn(kRejects),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(ParseGameBlockTest, DatesAfter2038) {
    auto block = With(ThreePlayerGame(), "=====", "===== 対局 上級 東風戦 開始 2040/02/29 23:50 =====");
    block = With(block, "  終了", "  終了 2040/03/01 00:20 -----");
    const auto game = Parse(block);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->startTime, TokyoSeconds(2040, 2, 29, 23, 50));
    EXPECT_GT(game->startTime, std::int64_t{1} << 31);
    EXPECT_EQ(game->GameSeconds(), 30 * 60);
}

TEST(ParseGameBlockTest, DateFieldsAreNormalisedLikeMktime) {
    // 24:00 is the next day's midnight, as the C library's conversion makes it.
    auto block = With(ThreePlayerGame(), "  終了", "  終了 2024/05/18 24:00 -----");
    const auto game = Parse(block);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->endTime, TokyoSeconds(2024, 5, 19, 0, 0));
}

TEST(ParseGameBlockTest, ReusedRecordIsReset) {
    GameRecord game;
    const auto four = FourPlayerGame();
    const auto three = ThreePlayerGame();
    std::vector<std::string_view> fourViews(four.begin(), four.end());
    std::vector<std::string_view> threeViews(three.begin(), three.end());
    ASSERT_TRUE(ParseGameBlock(game, fourViews));
    ASSERT_TRUE(ParseGameBlock(game, threeViews));
    EXPECT_EQ(game.playerCount, 3);
    EXPECT_EQ(game.handCount, 1);
    EXPECT_EQ(game.seats[3].name, kEmptyName);
    EXPECT_EQ(game.seats[3].rating, 0);
}

TEST(ParseGameBlockTest, CopyOutlivesItsSource) {
    std::optional<GameRecord> copy;
    {
        auto source = Parse(FourPlayerGame());
        ASSERT_TRUE(source);
        copy = *source;
    }
    ASSERT_EQ(copy->Hands().size(), 4u);
    ASSERT_EQ(copy->Hands()[0].yaku.size(), 3u);
    EXPECT_EQ(copy->Name(copy->Hands()[0].yaku[0]), Sj("立直"));
    EXPECT_EQ(copy->SeatName(2), "Guest042");
}

}  // namespace
}  // namespace obrenta::scorelog
