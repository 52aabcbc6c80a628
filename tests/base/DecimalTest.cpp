#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "base/Decimal.h"

namespace obrenta::base {
namespace {

constexpr std::int64_t kMax = INT64_MAX;
constexpr std::int64_t kMin = INT64_MIN;

TEST(DecimalTest, ReadsAsStrtolAndCountsWhatItRead) {
    const struct {
        std::string_view text;
        std::int64_t value;
        std::size_t length;
    } cases[] = {
        {"", 0, 0},
        {"-", 0, 0},
        {" +x", 0, 0},
        {"12x", 12, 2},
        {" \t\n-007 1", -7, 7},
        {"999999999999999999", 999999999999999999, 18},
        {"9223372036854775807", kMax, 19},
        {"9223372036854775808", kMax, 19},
        {"-9223372036854775808", kMin, 20},
        {"-99999999999999999999999", kMin, 24},
        {"\x82\x50", 0, 0},
    };
    for (const auto& c : cases) {
        const Decimal d = ParseDecimal(c.text);
        EXPECT_EQ(d.value, c.value) << c.text;
        EXPECT_EQ(d.length, c.length) << c.text;
    }
    EXPECT_EQ(SaturateTo<std::int32_t>(kMax), INT32_MAX);
    EXPECT_EQ(SaturateTo<std::int32_t>(-2147483649), INT32_MIN);
    EXPECT_EQ(NarrowAsAtoi(2147483648), INT32_MIN);
    EXPECT_EQ(NarrowAsAtoi(kMax), -1);
}

}  // namespace
}  // namespace obrenta::base
