#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Cp932.h"
#include "scorelog/HandLabels.h"
#include "scorelog/ScoreLog.h"
#include "support/TestSupport.h"

namespace obrenta::scorelog {
namespace {

using test::Sj;

TEST(HandLabelTest, WordsInFrontOfTheFirstEntry) {
    const struct {
        const char* line;
        const char* label;
    } rows[] = {
        {"  東1局 0本場(リーチ1) a +1000 b -1000\r\n", "東1局 0本場(リーチ1)"},
        {"  東1局 a +1000 b -1000\n", "東1局"},
        {"  南4局 3本場(リーチ2)\n", "南4局 3本場(リーチ2)"},
        {"  西1局 0本場 (x)\n", "西1局 0本場 (x)"},
    };
    for (const auto& row : rows) EXPECT_EQ(HandLabelOf(Sj(row.line)), Sj(row.label)) << row.line;
}

// Two games of the same minute and seats, told apart by their points; a three-player game
// with a hand that has no entry; a game with no hands.
constexpr const char* kLog =
    "===== 対局 東南戦 開始 2024/06/01 10:00 =====\n"
    "    持点25000 [1]a R1500 [2]b R1500 [3]c R1500 [4]d R1500\n"
    "  東1局 0本場(リーチ0) a +1000 b -1000\n"
    "    一飜ロン 断幺九\n"
    "  ---- 試合結果 ----\n1位 a +10\n2位 b +0\n3位 c -5\n4位 d -5\n  終了 2024/06/01 10:20 -----\n"
    "===== 対局 東南戦 開始 2024/06/01 10:00 =====\n"
    "    持点25000 [1]a R1500 [2]b R1500 [3]c R1500 [4]d R1500\n"
    "  東2局 1本場(リーチ0) a +2000 b -2000\n"
    "    一飜ロン 断幺九\n"
    "  ---- 試合結果 ----\n1位 a +10\n2位 b +0\n3位 c -5\n4位 d -5\n  終了 2024/06/01 10:30 -----\n"
    "===== 対局 東南戦 開始 2024/06/02 09:00 =====\n"
    "    持点35000 [1]a R1500 [2]b R1500 [3]c R1500\n"
    "  東1局 0本場(リーチ0) c +8000 a -8000\n"
    "    満貫ロン 役牌\n"
    "  東2局 0本場(リーチ0)\n"
    "    流局\n"
    "  ---- 試合結果 ----\n1位 c +40\n2位 b +0\n3位 a -40\n  終了 2024/06/02 09:20 -----\n"
    "===== 対局 東風戦 開始 2024/06/03 09:00 =====\n"
    "    持点25000 [1]a R1500 [2]b R1500 [3]c R1500 [4]d R1500\n"
    "  ---- 試合結果 ----\n1位 a +10\n2位 b +0\n3位 c -5\n4位 d -5\n  終了 2024/06/03 09:05 -----\n";

TEST(HandLabelTest, ReadAgainFromTheGamesBlock) {
    obrenta::test::TempDir dir;
    const std::string path = dir.File("mjscore.txt");
    obrenta::test::WriteBytes(path, Sj(kLog));
    ScoreLog log;
    ASSERT_TRUE(log.ReadScoreLog(path).ok());
    ASSERT_EQ(log.games().size(), 4u);
    const std::vector<std::vector<const char*>> expected = {{"東1局 0本場(リーチ0)"},
                                                            {"東2局 1本場(リーチ0)"},
                                                            {"東1局 0本場(リーチ0)", "東2局 0本場(リーチ0)"},
                                                            {}};
    for (std::size_t g = 0; g < expected.size(); ++g) {
        const auto labels = ReadHandLabels(path, log.games()[g]);
        ASSERT_TRUE(labels) << g;
        std::vector<std::string> want;
        for (const char* label : expected[g]) want.push_back(Sj(label));
        EXPECT_EQ(*labels, want) << g;
    }
    // A block that is gone, and a file that is gone, give nothing.
    const std::string log2 = Sj(kLog);
    obrenta::test::WriteBytes(path, log2.substr(0, log2.find(Sj("===== 対局 東南戦 開始 2024/06/02"))));
    EXPECT_FALSE(ReadHandLabels(path, log.games()[2]));
    EXPECT_FALSE(ReadHandLabels(dir.File("none.txt"), log.games()[0]));
}

}  // namespace
}  // namespace obrenta::scorelog
