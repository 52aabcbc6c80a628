#include <gtest/gtest.h>

#include "present/RatingCalculator.h"

namespace obrenta::present {
namespace {

using Texts = std::array<std::string, 3>;
using Flags = std::array<bool, 3>;

// The calculator with these box texts, as if the user had typed them.
RatingPrediction Typed(const char* a, const char* k, const char* p) {
    RatingPrediction prediction = OpenRatingPrediction(0, 0);
    prediction.texts = {a, k, p};
    return prediction;
}

TEST(RatingCalculatorTest, PredictedRFromAverageRank) {
    struct Case {
        const char* a;
        const char* k;
        const char* p;
    };
    for (const Case& c : {Case{"1500", "2.5", "1500"}, Case{"1500", "1", "3300"}, Case{"1500", "4", "-300"},
                          Case{"0", "0", "3000"}, Case{"1699.4", "2", "2299.39"}}) {
        RatingPrediction prediction = Typed(c.a, c.k, "0");
        RecomputePredictedR(prediction);
        EXPECT_EQ(prediction.texts, (Texts{c.a, c.k, c.p})) << c.a << " " << c.k;
    }
}

TEST(RatingCalculatorTest, AverageRankFromPredictedR) {
    RatingPrediction prediction = Typed("1500", "0", "1440");
    RecomputeAverageRank(prediction);
    EXPECT_EQ(prediction.texts[kBoxK], "2.55");
    prediction.texts[kBoxP] = "3000";
    RecomputeAverageRank(prediction);
    EXPECT_EQ(prediction.texts[kBoxK], "1.25");
    prediction.texts[kBoxP] = "5000";  // no clamping to a range of ranks
    RecomputeAverageRank(prediction);
    EXPECT_EQ(prediction.texts[kBoxK], "-0.41");
}

TEST(RatingCalculatorTest, OpensOnTheTallyResults) {
    RatingPrediction none = OpenRatingPrediction(0, 0);
    EXPECT_EQ(none.texts, (Texts{"0", "0", "3000"}));
    RatingPrediction some = OpenRatingPrediction(1623.4567, 2.34567);
    EXPECT_EQ(some.texts[kBoxA], "1623.45");
    EXPECT_EQ(some.texts[kBoxK], "2.345");
    // 2.345 * 1200 comes out a hair above 2814, so the truncation lands one hundredth lower.
    EXPECT_EQ(some.texts[kBoxP], "1809.44");
}

TEST(RatingCalculatorTest, NegativeZeroShowsAsZero) {
    EXPECT_EQ(FormatRatingValue(-0.0), "0");
    EXPECT_EQ(FormatRatingValue(0.1 + 0.2), "0.3");
    EXPECT_EQ(FormatRatingValue(1e20), "1e+20");
    // (A + 3000 - P) / 12 truncates to -0 here.
    RatingPrediction prediction = Typed("0", "1", "3000.5");
    RecomputeAverageRank(prediction);
    EXPECT_EQ(prediction.texts[kBoxK], "0");
}

TEST(RatingCalculatorTest, OnlyChangedBoxesAreReported) {
    RatingPrediction prediction = Typed("1500", "2.5", "1500");
    RatingUpdate update = RecomputePredictedR(prediction);
    EXPECT_EQ(update.changed, (Flags{false, false, false}));
    EXPECT_FALSE(update.notANumber.has_value());

    prediction.texts[kBoxK] = "2.50";  // trailing zeros vanish as they are typed
    update = RecomputePredictedR(prediction);
    EXPECT_EQ(update.changed, (Flags{false, true, false}));
    EXPECT_EQ(prediction.texts[kBoxK], "2.5");

    prediction.texts[kBoxK] = "3";
    update = RecomputePredictedR(prediction);
    EXPECT_EQ(update.changed, (Flags{false, false, true}));
    EXPECT_EQ(prediction.texts[kBoxP], "900");
}

TEST(RatingCalculatorTest, TextThatIsNoNumberStopsTheReading) {
    RatingPrediction prediction = Typed("1500", "2.5", "1500");
    RecomputePredictedR(prediction);
    prediction.texts = {"1600", "", "123"};
    RatingUpdate update = RecomputePredictedR(prediction);
    ASSERT_TRUE(update.notANumber.has_value());
    EXPECT_EQ(*update.notANumber, kBoxK);
    // A was read; K kept 2.5 and gets its text back; P is computed from those.
    EXPECT_EQ(prediction.texts, (Texts{"1600", "2.5", "1600"}));
    EXPECT_EQ(update.changed, (Flags{false, true, true}));
}

TEST(RatingCalculatorTest, ParsesOnlyDecimalNumbers) {
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {{"12", 12.0},
                          {" -1.5 ", -1.5},
                          {"+3", 3.0},
                          {".5", 0.5},
                          {"5.", 5.0},
                          {"1e3", 1000.0},
                          {"", std::nullopt},
                          {"-", std::nullopt},
                          {".", std::nullopt},
                          {"1,5", std::nullopt},
                          {"inf", std::nullopt},
                          {"nan", std::nullopt},
                          {"0x10", std::nullopt},
                          {"1e", std::nullopt},
                          {"12a", std::nullopt}};
    for (const Case& c : cases) EXPECT_EQ(ParseRatingValue(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
}  // namespace obrenta::present
