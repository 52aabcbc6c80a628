#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "Cp932.h"
#include "scorelog/NamePool.h"

namespace obrenta::scorelog {
namespace {

// What each yaku word adds to a win, read once when the pool first holds it.
TEST(NamePoolTest, YakuWordReadings) {
    using test::Sj;
    const struct {
        const char* word;
        int dora;
        bool riichi, ura;
    } cases[] = {
        {"ドラ2", 2, false, false},   {"赤1", 1, false, false},          {"裏1", 1, false, true},
        {"裏ドラ3", 3, false, true},  {"裏0", 0, false, false},          {"裏ドラ0", 0, false, false},
        {"ドラ64", 64, false, false}, {"ドラ", 0, false, false},         {"ドラ１", 0, false, false},
        {"ドラ1a", 0, false, false},  {"ドラ123456", 999, false, false}, {"ドラ0999", 999, false, false},
        {"立直", 0, true, false},     {"立直 ", 0, false, false},        {"ダブル立直", 0, false, false},
        {"平和", 0, false, false},
    };
    NamePool pool;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        const YakuWord read = ReadYakuWord(Sj(c.word));
        EXPECT_EQ(read.dora, c.dora);
        EXPECT_EQ(read.riichi, c.riichi);
        EXPECT_EQ(read.ura, c.ura);
        const YakuWord& pooled = pool.Word(pool.Intern(Sj(c.word)));
        EXPECT_EQ(std::tie(pooled.dora, pooled.riichi, pooled.ura),
                  std::tie(read.dora, read.riichi, read.ura));
    }
}

TEST(NamePoolTest, EmptyNameIsIdZero) {
    NamePool pool;
    EXPECT_EQ(pool.Intern(""), kEmptyName);
    EXPECT_EQ(pool.Find(""), kEmptyName);
    EXPECT_EQ(pool.View(kEmptyName), "");
    EXPECT_EQ(pool.Size(), 1u);
}

TEST(NamePoolTest, EqualBytesEqualIds) {
    NamePool pool;
    const NameId a = pool.Intern("kenji");
    const NameId b = pool.Intern(std::string("ken") + "ji");
    const NameId c = pool.Intern("Kenji");
    const NameId d = pool.Intern(std::string_view("kenji\0x", 7));
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_NE(a, d);
    EXPECT_EQ(pool.View(d).size(), 7u);
    EXPECT_FALSE(pool.Find("kenj"));
}

TEST(NamePoolTest, ManyNamesKeepTheirIdsAndBytes) {
    NamePool pool;
    std::vector<NameId> ids;
    for (int i = 0; i < 20000; ++i) ids.push_back(pool.Intern("name" + std::to_string(i)));
    const std::string longName(100000, '\x83');
    const NameId longId = pool.Intern(longName);
    for (int i = 0; i < 20000; ++i) {
        const std::string name = "name" + std::to_string(i);
        ASSERT_EQ(pool.Intern(name), ids[i]);
        ASSERT_EQ(pool.View(ids[i]), name);
    }
    EXPECT_EQ(pool.Find(longName), longId);
    EXPECT_EQ(pool.Size(), 20002u);
}

}  // namespace
}  // namespace obrenta::scorelog
