#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scorelog/NamePool.h"

namespace obrenta::scorelog {
namespace {

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
