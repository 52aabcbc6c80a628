#include <gtest/gtest.h>

#include <clocale>

#include "PresentTestSupport.h"
#include "present/CellFormat.h"
#include "present/ListDefinitions.h"
#include "present/TextCodec.h"

namespace obrenta::present {
namespace {

using test::Sj;

struct DurationCase {
    const char* format;
    std::int64_t seconds;
    const char* expected;
};

class DurationTest : public ::testing::TestWithParam<DurationCase> {};

TEST_P(DurationTest, Formats) {
    const DurationCase& c = GetParam();
    EXPECT_EQ(FormatDuration(c.format, c.seconds), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, DurationTest,
    ::testing::Values(DurationCase{"%H : %M : %S", 0, "00 : 00 : 00"},
                      // A day and more loses its days without %D.
                      DurationCase{"%H : %M : %S", 86400 + 3661, "01 : 01 : 01"},
                      DurationCase{"%H : %M : 00", 2 * 3600 + 59 * 60 + 59, "02 : 59 : 00"},
                      DurationCase{"%D/%H/%M/%S", 3 * 86400 + 23 * 3600 + 7 * 60 + 5, "3/23/07/05"},
                      DurationCase{"%D", 400 * 86400LL, "400"}, DurationCase{"100%% %X", 5, "100% %X"},
                      DurationCase{"%H : %M : %S", -61, "-00 : 01 : 01"},
                      DurationCase{"%D %H", -(86400 + 3600), "-1 01"},
                      DurationCase{"%D", INT64_MIN, "-106751991167300"}));

TEST(DurationTest, JapaneseTextIsCopied) {
    EXPECT_EQ(FormatDuration(Sj("%D日間 %H時間 %M分"), 86400 + 3661), Sj("1日間 01時間 01分"));
    EXPECT_EQ(FormatDuration(Sj("%D日間 %H時間 %M分"), 0), Sj("0日間 00時間 00分"));
}

TEST(FormatCellTest, UsesPointWhateverTheLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    bool switched = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    EXPECT_EQ(FormatCell("%6.3f %%", 25.0), "25.000 %");
    EXPECT_EQ(FormatCell("%+4.2f", 0.0), "+0.00");
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (!switched) GTEST_SKIP() << "no de_DE locale here; formatted in C only";
}

TEST(FormatCellTest, LongTextIsNotCut) {
    std::string wide = FormatCell("%300d", 7);
    EXPECT_EQ(wide.size(), 300u);
    EXPECT_EQ(wide.back(), '7');
}

TEST(LeadingNumberTest, ReadsLikeAtoiAndAtof) {
    EXPECT_EQ(LeadingInteger("  42"), 42);
    EXPECT_EQ(LeadingInteger("-7 x"), -7);
    EXPECT_EQ(LeadingInteger(Sj("12 回")), 12);
    EXPECT_EQ(LeadingInteger("abc"), 0);
    EXPECT_EQ(LeadingInteger(""), 0);
    EXPECT_DOUBLE_EQ(LeadingDouble("1523.50"), 1523.5);
    EXPECT_DOUBLE_EQ(LeadingDouble(" 2.000"), 2.0);
    EXPECT_DOUBLE_EQ(LeadingDouble("-0.25"), -0.25);
    EXPECT_DOUBLE_EQ(LeadingDouble("---"), 0.0);
}

}  // namespace
}  // namespace obrenta::present

namespace obrenta::present {
namespace {

TEST(IntervalCellTest, PeriodsAndIntervals) {
    const struct {
        std::string format;
        CellValue value;
        const char* text;
    } cases[] = {
        {"%04d/%02d", CellValue::Period(2024, 5), "2024/05"},
        {"%04d/%02d", CellValue::Period(2024, 0), "2024"},
        {"%5.3f ±%5.3f", CellValue::Interval(2.3125, 0.1178, true), "2.312 ±0.118"},
        {"%5.3f ±%5.3f", CellValue::Interval(2, 0, false), "2.000 ±---"},
        {"%7.2f ±%.2f", CellValue::Interval(1650, 0, true), "1650.00 ±0.00"},
        {"%+lld", CellValue(std::int64_t{2147485348}), "+2147485348"},
        {"%+lld", CellValue(std::int64_t{-4294967295}), "-4294967295"},
        {"%+lld", CellValue(std::int64_t{0}), "+0"},
        {"%+6.2f (%+6.2f - %+6.2f)",
         [] {
             CellValue cell = CellValue::Range(-4.95, -11.07, 34.19);
             cell.suffix = " *";
             return cell;
         }(),
         " -4.95 (-11.07 - +34.19) *"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Cp932ToUtf8(CellText(Cp932Literal(c.format), c.value)), c.text) << c.text;
    }
}

}  // namespace
}  // namespace obrenta::present
