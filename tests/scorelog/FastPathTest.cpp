// The shortcuts of the reader (word-at-a-time searches, the table of recent names, the memo of
// outcome tokens) against the plain definitions they stand for.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "Cp932.h"
#include "scorelog/Bytes.h"
#include "scorelog/GameBlockParser.h"
#include "scorelog/NamePool.h"

namespace obrenta::scorelog {
namespace {

using test::Sj;

// Names that differ from each other in one byte, at every place of every length up to 40 bytes.
std::vector<std::string> OneByteApart() {
    std::vector<std::string> names;
    for (std::size_t length = 0; length <= 40; ++length) {
        const std::string base(length, '\x83');
        names.push_back(base);
        for (std::size_t at = 0; at < length; ++at) {
            std::string name = base;
            name[at] = 'a';
            names.push_back(name);
        }
    }
    return names;
}

TEST(FastPathTest, NamesOneByteApartKeepTheirOwnIds) {
    const std::vector<std::string> names = OneByteApart();
    NamePool pool;
    std::vector<NameId> ids;
    for (const std::string& name : names) ids.push_back(pool.Intern(name));
    std::vector<NameId> sorted = ids;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());

    // Again in a shuffled order, so that names meet in the table of recent ones.
    std::vector<std::size_t> order(names.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(3));
    for (int round = 0; round < 3; ++round) {
        for (std::size_t i : order) {
            ASSERT_EQ(pool.Intern(names[i]), ids[i]) << i;
            ASSERT_EQ(pool.Find(names[i]), ids[i]) << i;
            ASSERT_EQ(pool.View(ids[i]), names[i]) << i;
        }
    }
}

TEST(FastPathTest, ShortTextHoldsEveryByte) {
    const std::vector<std::string> names = OneByteApart();
    for (std::size_t i = 0; i < names.size(); ++i) {
        ShortText a;
        if (!a.Set(names[i])) {
            EXPECT_GT(names[i].size(), ShortText::kMaxBytes);
            continue;
        }
        for (std::size_t j = 0; j < names.size(); ++j) {
            ShortText b;
            if (b.Set(names[j])) {
                ASSERT_EQ(a == b, i == j) << i << ' ' << j;
            }
        }
        EXPECT_FALSE(a == ShortText()) << i;  // an unset text matches no text
    }
}

TEST(FastPathTest, FindLowStopFindsTheFirstStopAtEveryPlace) {
    auto isSpace = [](char c) { return c == ' ' || c == '\n'; };
    for (std::size_t length = 0; length <= 40; ++length) {
        for (std::size_t at = 0; at <= length; ++at) {
            // Control bytes that are no stop lie before the stop, to be stepped over.
            std::string text(length, '\x83');
            for (std::size_t k = 0; k < at; k += 3) text[k] = '\x01';
            if (at < length) text[at] = at % 2 == 0 ? ' ' : '\n';
            if (at + 1 < length) text[at + 1] = ' ';
            const char* found = FindLowStop(text.data(), text.data() + text.size(), isSpace);
            ASSERT_EQ(found - text.data(), static_cast<std::ptrdiff_t>(at)) << length;
        }
    }
}

struct HeaderWordCase {
    const char* word;
    TableKind kind;
    bool eastSouth;
};

// Every header word at every offset within a word of eight bytes, and with each of the bytes
// before it one lead byte of the word (so a match that starts too early must be refused).
TEST(FastPathTest, HeaderWordsAtEveryOffset) {
    const HeaderWordCase cases[] = {
        {"超上級", TableKind::SuperAdvanced, false}, {"上級", TableKind::Advanced, false},
        {"ランキング", TableKind::Ranking, false},   {"東南", TableKind::Other, true},
        {"ランキン", TableKind::Other, false},
    };
    for (const HeaderWordCase& c : cases) {
        for (std::size_t pad = 0; pad < 24; ++pad) {
            for (const char* filler : {"x", "\x83", "\x93", "\x8f"}) {
                std::string padding;
                for (std::size_t k = 0; k < pad; ++k) padding += filler;
                const std::string header = "=====" + padding + Sj(c.word) + " 2024/05/18 22:10 =====\n";
                std::vector<std::string> block = {
                    header,
                    Sj("    持点35000 [1]kenji R1850 [2]ぽん太 R1850 [3]Guest977 R1700\n"),
                    Sj("  ---- 試合結果 ----\n"),
                    Sj("1位 ぽん太 +52\n"),
                    Sj("2位 kenji -8\n"),
                    Sj("3位 Guest977 -44\n"),
                    Sj("  終了 2024/05/18 22:31 -----\n"),
                };
                const std::vector<std::string_view> views(block.begin(), block.end());
                GameRecord game;
                ASSERT_TRUE(ParseGameBlock(game, views));
                EXPECT_EQ(game.tableKind, c.kind) << c.word << ' ' << pad << ' ' << filler;
                EXPECT_EQ(game.eastSouth, c.eastSouth) << c.word << ' ' << pad << ' ' << filler;
            }
        }
    }
}

struct OutcomeCase {
    const char* token;
    HandKind kind;
    HanClass hanClass;
};

// The outcome token decides the kind and class of a hand; the same token read again, among
// others and after them, must give the same answer as the first time.
TEST(FastPathTest, OutcomeTokensReadAgainGiveTheSameAnswer) {
    const OutcomeCase cases[] = {
        {"一飜ロン", HandKind::Ron, HanClass::Han1},
        {"二飜ツモ", HandKind::Tsumo, HanClass::Han2},
        {"三飜ロン", HandKind::Ron, HanClass::Han3},
        {"四飜ツモ", HandKind::Tsumo, HanClass::Han4},
        {"満貫ロン", HandKind::Ron, HanClass::Mangan},
        {"ハネ満ツモ", HandKind::Tsumo, HanClass::Haneman},
        {"倍満ロン", HandKind::Ron, HanClass::Baiman},
        {"３倍満ツモ", HandKind::Tsumo, HanClass::Sanbaiman},
        {"役満ロン", HandKind::Ron, HanClass::Yakuman},
        {"ロン", HandKind::Ron, HanClass::None},
        {"ツモ", HandKind::Tsumo, HanClass::None},
        {"ロンツモ", HandKind::Ron, HanClass::None},
        {"ツモ倍満", HandKind::Tsumo, HanClass::Baiman},
        {"xx３倍満xxロンxxxxxxxx", HandKind::Ron, HanClass::Sanbaiman},
        {"二飜", HandKind::Other, HanClass::None},
        {"満貫ロ", HandKind::Other, HanClass::None},
    };
    NamePool pool;
    const std::string first = Sj("  東1局 0本場(リーチ0) kenji +1000 mame -1000\n");
    std::vector<std::size_t> order;
    for (int round = 0; round < 4; ++round) {
        for (std::size_t i = 0; i < std::size(cases); ++i)
            order.push_back(round % 2 == 0 ? i : std::size(cases) - 1 - i);
    }
    for (std::size_t i : order) {
        const std::string result = Sj(std::string("    30符 ") + cases[i].token + " 立直\n");
        const auto hand = ParseHand(first, result, pool);
        ASSERT_EQ(hand->kind, cases[i].kind) << cases[i].token;
        if (hand->IsWin()) {
            ASSERT_EQ(hand->hanClass, cases[i].hanClass) << cases[i].token;
        }
    }
}

TEST(FastPathTest, EntryNamesOfEveryLengthMatchTheirSeats) {
    // Seat names of 1 to 24 bytes (some longer than the shortcut holds); hand entries that name
    // them must get the seats' ids, and a name one byte apart must get its own.
    for (std::size_t length = 1; length <= 24; ++length) {
        const std::string me(length, 'm');
        std::string near = me;
        near[length / 2] = 'n';
        const std::vector<std::string> block = {
            Sj("===== 対局 一般 東南戦 開始 2024/05/18 22:10 =====\n"),
            "    P25000 [1]" + me + " R1850 [2]b R1850 [3]c R1700\n",
            "  E1 0x b +1000 " + me + " -1000 " + near + " +5\n",
            Sj("    30符 一飜ロン 立直\n"),
            Sj("  ---- 試合結果 ----\n"),
            Sj("1位 b +52\n"),
            Sj("2位 ") + me + " -8\n",
            Sj("3位 c -44\n"),
            Sj("  終了 2024/05/18 22:31 -----\n"),
        };
        const std::vector<std::string_view> views(block.begin(), block.end());
        GameRecord game;
        ASSERT_TRUE(ParseGameBlock(game, views)) << length;
        ASSERT_EQ(game.Hands().size(), 1u);
        const HandRecord& hand = game.Hands()[0];
        ASSERT_EQ(hand.entryCount, 3);
        EXPECT_EQ(hand.entryNames[0], game.seats[1].name);
        EXPECT_EQ(hand.entryNames[1], game.seats[0].name);
        EXPECT_NE(hand.entryNames[2], game.seats[0].name);
        EXPECT_EQ(game.Name(hand.entryNames[2]), near);
    }
}

}  // namespace
}  // namespace obrenta::scorelog
