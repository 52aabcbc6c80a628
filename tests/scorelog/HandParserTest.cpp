#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Cp932.h"
#include "scorelog/GameBlockParser.h"

namespace obrenta::scorelog {
namespace {

using test::Sj;

std::vector<std::string> YakuTexts(const HandRecord& hand, const NamePool& pool) {
    std::vector<std::string> texts;
    for (NameId id : hand.yaku) texts.emplace_back(pool.View(id));
    return texts;
}

struct ResultLineCase {
    const char* label;
    const char* line;  // UTF-8, converted to code page 932
    HandKind kind;
    HanClass hanClass;
    std::vector<const char*> yaku;
};

class ResultLineTest : public ::testing::TestWithParam<ResultLineCase> {};

TEST_P(ResultLineTest, KindClassAndYaku) {
    const ResultLineCase& c = GetParam();
    NamePool pool;
    const auto hand = ParseHand(Sj("  東1局 0本場(リーチ0) kenji +1000 mame -1000\n"), Sj(c.line), pool);
    EXPECT_EQ(hand->kind, c.kind);
    if (hand->IsWin()) {
        EXPECT_EQ(hand->hanClass, c.hanClass);
    }
    std::vector<std::string> expected;
    for (const char* y : c.yaku) expected.push_back(Sj(y));
    EXPECT_EQ(YakuTexts(*hand, pool), expected);
}

const ResultLineCase kResultLines[] = {
    {"Draw", "    流局\n", HandKind::ExhaustiveDraw, HanClass::None, {}},
    {"NagashiMangan", "    流し満貫\n", HandKind::NagashiMangan, HanClass::None, {}},
    {"FourWinds", "    四風連打\n", HandKind::FourWinds, HanClass::None, {}},
    {"TripleRon", "    三家和\n", HandKind::TripleRon, HanClass::None, {}},
    {"FourKans", "    四開槓\n", HandKind::FourKans, HanClass::None, {}},
    {"NineTerminals", "    九種公九牌倒牌\n", HandKind::NineTerminals, HanClass::None, {}},
    {"FourRiichi", "    四家リーチ\n", HandKind::FourRiichi, HanClass::None, {}},
    {"DrawWithTrailingBlank", "    流局 \n", HandKind::Other, HanClass::None, {}},
    {"DrawWithoutNewline", "    流局", HandKind::Other, HanClass::None, {}},
    {"DrawWithThreeBlanks", "   流局\n", HandKind::Other, HanClass::None, {}},
    {"DrawWithCarriageReturn", "    流局\r\n", HandKind::Other, HanClass::None, {}},
    {"FuFirstTakesSecondToken",
     "    30符 満貫ロン 立直 ドラ2 赤1\n",
     HandKind::Ron,
     HanClass::Mangan,
     {"立直", "ドラ2", "赤1"}},
    {"FuTokenAloneHasNoKey", "    30符\n", HandKind::Other, HanClass::None, {}},
    {"FuTokenWithBlanksOnly", "    30符    ", HandKind::Other, HanClass::None, {}},
    {"NoTokenAtAll", "     ", HandKind::Other, HanClass::None, {}},
    {"EmptyLine", "", HandKind::Other, HanClass::None, {}},
    {"NewlineIsAToken", "    \n", HandKind::Other, HanClass::None, {}},
    {"Tsumo", "    一飜ツモ 門前清自摸和\n", HandKind::Tsumo, HanClass::Han1, {"門前清自摸和"}},
    {"Han2", "    二飜ロン 役牌 ドラ1\n", HandKind::Ron, HanClass::Han2, {"役牌", "ドラ1"}},
    {"Han3", "    三飜ツモ 立直 ツモ 平和\n", HandKind::Tsumo, HanClass::Han3, {"立直", "ツモ", "平和"}},
    {"Han4", "    四飜ロン 立直\n", HandKind::Ron, HanClass::Han4, {"立直"}},
    {"SanbaimanBeforeBaiman", "    ３倍満ツモ 清一色\n", HandKind::Tsumo, HanClass::Sanbaiman, {"清一色"}},
    {"Baiman", "    倍満ロン 清一色\n", HandKind::Ron, HanClass::Baiman, {"清一色"}},
    {"Haneman",
     "    ハネ満ロン 混一色 対々和 役牌\n",
     HandKind::Ron,
     HanClass::Haneman,
     {"混一色", "対々和", "役牌"}},
    {"Yakuman", "    役満ロン 国士無双\n", HandKind::Ron, HanClass::Yakuman, {"国士無双"}},
    {"Mangan", "    満貫ツモ 立直\n", HandKind::Tsumo, HanClass::Mangan, {"立直"}},
    {"NoHanWord", "    ロン 立直\n", HandKind::Ron, HanClass::None, {"立直"}},
    {"RonAndTsumoIsRon", "    ツモロン 立直\n", HandKind::Ron, HanClass::None, {"立直"}},
    {"KeyTokenWithNewlineHasNoYaku", "    満貫ロン\n", HandKind::Ron, HanClass::Mangan, {}},
    {"YakuSplitAtRunsOfBlanks",
     "    満貫ロン  立直   ドラ2 \n",
     HandKind::Ron,
     HanClass::Mangan,
     {"立直", "ドラ2"}},
    {"TabIsNotABlank", "    満貫ロン 立直\tドラ2\n", HandKind::Ron, HanClass::Mangan, {"立直\tドラ2"}},
    {"TabBeforeKeyBelongsToIt", "\t満貫ロン 立直\n", HandKind::Ron, HanClass::Mangan, {"立直"}},
    {"HanWordOnlyCountsInKeyToken", "    ロン 満貫\n", HandKind::Ron, HanClass::None, {"満貫"}},
    {"Chombo", "    チョンボ\n", HandKind::Chombo, HanClass::None, {}},
    {"ChomboWithMoreTokens", "    チョンボ 親\n", HandKind::Chombo, HanClass::None, {}},
    {"ChomboNotInFirstToken", "    親 チョンボ\n", HandKind::Other, HanClass::None, {}},
    {"UnknownWord", "    途中流局\n", HandKind::Other, HanClass::None, {}},
};

INSTANTIATE_TEST_SUITE_P(Hand, ResultLineTest, ::testing::ValuesIn(kResultLines),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(ParseHandTest, SingleYakuWithoutNewlineEqualsSameYakuAmongOthers) {
    NamePool pool;
    const std::string first = Sj("  東1局 0本場(リーチ0) a +1000 b -1000\n");
    const auto single = ParseHand(first, Sj("    30符 二飜ロン 役牌\n"), pool);
    const auto several = ParseHand(first, Sj("    30符 二飜ロン 役牌 ドラ1\n"), pool);
    ASSERT_EQ(single->yaku.size(), 1u);
    ASSERT_EQ(several->yaku.size(), 2u);
    EXPECT_EQ(single->yaku[0], several->yaku[0]);
    EXPECT_EQ(pool.View(single->yaku[0]), Sj("役牌"));
}

TEST(ParseHandTest, EntriesFromTwoLeadingWords) {
    NamePool pool;
    const auto hand =
        ParseHand(Sj("  東2局 0本場(リーチ0) mame_x +1500 さくら -500 kenji -500 Guest042 -500\n"),
                  Sj("    30符 一飜ツモ 門前清自摸和\n"), pool);
    ASSERT_EQ(hand->entryCount, 4);
    EXPECT_EQ(pool.View(hand->entryNames[0]), "mame_x");
    EXPECT_EQ(pool.View(hand->entryNames[1]), Sj("さくら"));
    EXPECT_EQ(pool.View(hand->entryNames[3]), "Guest042");
    EXPECT_EQ(hand->entryDeltas, (std::array<std::int32_t, 4>{1500, -500, -500, -500}));
}

TEST(ParseHandTest, OneLeadingWordIsReadWithTheOneWordForm) {
    NamePool pool;
    const auto hand = ParseHand(Sj("東1局 kenji +8000 さくら -8000\n"), Sj("    満貫ロン 立直\n"), pool);
    ASSERT_EQ(hand->entryCount, 2);
    EXPECT_EQ(pool.View(hand->entryNames[0]), "kenji");
    EXPECT_EQ(hand->entryDeltas[0], 8000);
    EXPECT_EQ(pool.View(hand->entryNames[1]), Sj("さくら"));
    EXPECT_EQ(hand->entryDeltas[1], -8000);
}

TEST(ParseHandTest, IncompletePairsAreDroppedAndLeftEmpty) {
    NamePool pool;
    const auto hand = ParseHand("  E1 x a +100 b\n", "    x\n", pool);
    EXPECT_EQ(hand->entryCount, 1);
    EXPECT_EQ(pool.View(hand->entryNames[0]), "a");
    EXPECT_EQ(hand->entryNames[1], kEmptyName);
    EXPECT_EQ(hand->entryDeltas[1], 0);
}

TEST(ParseHandTest, NoEntryLeavesAnEmptyWinner) {
    NamePool pool;
    const auto hand = ParseHand(Sj("  南1局 0本場(リーチ0)\n"), Sj("    九種公九牌倒牌\n"), pool);
    EXPECT_EQ(hand->entryCount, 0);
    EXPECT_EQ(hand->entryNames[0], kEmptyName);
    EXPECT_EQ(hand->kind, HandKind::NineTerminals);
}

TEST(ParseHandTest, EntryNamesAreCutTo63Bytes) {
    NamePool pool;
    const std::string longName(70, 'n');
    const auto hand = ParseHand("  E1 x " + longName + " +100 b -100\n", "    x\n", pool);
    ASSERT_EQ(hand->entryCount, 2);
    EXPECT_EQ(pool.View(hand->entryNames[0]), std::string(63, 'n'));
}

}  // namespace
}  // namespace obrenta::scorelog
