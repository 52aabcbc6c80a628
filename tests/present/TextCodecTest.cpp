#include <gtest/gtest.h>

#include "present/TextCodec.h"

namespace obrenta::present {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";

struct DecodeCase {
    std::string name;
    std::string cp932;
    std::string utf8;
};

class Cp932ToUtf8Test : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Cp932ToUtf8Test, Decodes) {
    EXPECT_EQ(Cp932ToUtf8(GetParam().cp932), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, Cp932ToUtf8Test,
    ::testing::Values(DecodeCase{"Ascii", "abc 123", "abc 123"},
                      DecodeCase{"DoubleByte", "\x82\xA0\x8A\xBF", "あ漢"},
                      DecodeCase{"HalfWidthKana", "\xB1", "ｱ"},
                      DecodeCase{"Undefined80",
                                 "a\x80"
                                 "b",
                                 "a" + kFffd + "b"},
                      DecodeCase{"UndefinedA0", "\xA0", kFffd},
                      DecodeCase{"UndefinedFDtoFF", "\xFD\xFE\xFF", kFffd + kFffd + kFffd},
                      DecodeCase{"LeadByteCutAtEnd", "\x82\xA0\x82", "あ" + kFffd},
                      // The lead byte alone is replaced; the blank after it is a character of its own.
                      DecodeCase{"LeadByteBeforeBlank", "\x81 x", kFffd + " x"}, DecodeCase{"Empty", "", ""},
                      // A well-formed pair the code page leaves unassigned: only the lead byte goes.
                      DecodeCase{"UnassignedPair", "\x85\x40\x81\x40", kFffd + "@\u3000"}),
    [](const auto& info) { return info.param.name; });

TEST(Cp932ToUtf8Test, EveryByteDecodesWithoutFailing) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    std::string decoded = Cp932ToUtf8(all + all);
    EXPECT_FALSE(decoded.empty());
}

TEST(Utf8ToCp932Test, ConvertsAndRefuses) {
    EXPECT_EQ(Utf8ToCp932("あ漢R").value(),
              "\x82\xA0\x8A\xBF"
              "R");
    EXPECT_EQ(Utf8ToCp932("").value(), "");
    EXPECT_FALSE(Utf8ToCp932("\xF0\x9F\x98\x80").has_value());  // an emoji has no code page 932 form
    EXPECT_FALSE(Utf8ToCp932("\xC3").has_value());              // cut UTF-8
    EXPECT_FALSE(Utf8ToCp932("\xFF").has_value());
    // Characters taken one way to the bytes of a look-alike (U+2212 and U+00A5).
    EXPECT_EQ(Utf8ToCp932("\u2212\u00A5").value(), "\x81\x7C\\");
}

TEST(Utf8ToCp932Test, RoundTrips) {
    std::string text = "対局 ランキング ３倍満 ｱｲｳ ~\\";
    EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932(text).value()), text);
}

}  // namespace
}  // namespace obrenta::present
