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
    // 1699.4 + 3000 - 2400 lies a hair below 2299.4; the pages round it, so the calculator does.
    for (const Case& c : {Case{"1500", "2.5", "1500"}, Case{"1500", "1", "3300"}, Case{"1500", "4", "-300"},
                          Case{"1699.4", "2", "2299.4"}, Case{"1580.734", "2.5", "1580.73"}}) {
        RatingPrediction prediction = Typed(c.a, c.k, "0");
        RecomputePredictedR(prediction, kBoxK);
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
    prediction.texts[kBoxP] = "5000";  // a rank outside 1-4 is shown as it comes
    RecomputeAverageRank(prediction);
    EXPECT_EQ(prediction.texts[kBoxK], "-0.417");
}

TEST(RatingCalculatorTest, OpensOnTheTallyResults) {
    RatingPrediction none = OpenRatingPrediction(0, 0);
    EXPECT_EQ(none.texts, (Texts{"0", "0", "3000"}));
    RatingPrediction some = OpenRatingPrediction(1623.4567, 2.34567);
    EXPECT_EQ(some.texts[kBoxA], "1623.45");
    EXPECT_EQ(some.texts[kBoxK], "2.345");
    // 2.345 * 1200 comes out a hair above 2814, so the truncation lands one hundredth lower.
    EXPECT_EQ(some.texts[kBoxP], "1809.44");

    // The window's calculator shows the figures as the general page rounds them, P from the
    // unrounded results as the page computes it.
    EXPECT_EQ(OpenRatingCalculator(0, 0).texts, (Texts{"0", "0", "3000"}));
    EXPECT_EQ(OpenRatingCalculator(1623.4567, 2.34567).texts, (Texts{"1623.46", "2.346", "1808.65"}));
    EXPECT_EQ(OpenRatingCalculator(1690.2537, 8.0 / 3.0).texts, (Texts{"1690.25", "2.667", "1490.25"}));
}

TEST(RatingCalculatorTest, NegativeZeroShowsAsZero) {
    EXPECT_EQ(FormatRatingValue(-0.0), "0");
    EXPECT_EQ(FormatRatingValue(0.1 + 0.2), "0.3");
    EXPECT_EQ(FormatRatingValue(1e20), "1e+20");
    // (A + 3000 - P) / 1200 rounds to -0 here.
    RatingPrediction prediction = Typed("0", "1", "3000.5");
    RecomputeAverageRank(prediction);
    EXPECT_EQ(prediction.texts[kBoxK], "0");
}

TEST(RatingCalculatorTest, OnlyChangedBoxesAreReported) {
    RatingPrediction prediction = Typed("1500", "2.5", "1500");
    RatingUpdate update = RecomputePredictedR(prediction, kBoxK);
    EXPECT_EQ(update.changed, (Flags{false, false, false}));
    EXPECT_FALSE(update.notANumber.has_value());

    // The box being typed in keeps its text, so "2." can become "2.7".
    for (const char* typed : {"2.", "2.50", "2.7"}) {
        prediction.texts[kBoxK] = typed;
        update = RecomputePredictedR(prediction, kBoxK);
        EXPECT_FALSE(update.changed[kBoxK]);
        EXPECT_EQ(prediction.texts[kBoxK], typed);
    }
    EXPECT_EQ(prediction.texts[kBoxP], "1260");
    prediction.texts[kBoxA] = "1600.";
    RecomputePredictedR(prediction, kBoxA);
    EXPECT_EQ(prediction.texts, (Texts{"1600.", "2.7", "1360"}));
    prediction.texts[kBoxP] = "1600.5";
    update = RecomputeAverageRank(prediction);
    EXPECT_EQ(update.changed, (Flags{true, true, false}));
    EXPECT_EQ(prediction.texts, (Texts{"1600", "2.5", "1600.5"}));
}

TEST(RatingCalculatorTest, TextThatIsNoNumberStopsTheReading) {
    RatingPrediction prediction = Typed("1500", "2.5", "1500");
    RecomputePredictedR(prediction, kBoxK);
    // A was read; K kept 2.5 (the box being typed in keeps its text); P is computed from those.
    // A rank outside 1-4 stops the reading the same way.
    for (const char* k : {"", "0.5", "4.5"}) {
        prediction.texts = {"1600", k, "123"};
        RatingUpdate update = RecomputePredictedR(prediction, kBoxK);
        ASSERT_TRUE(update.notANumber.has_value()) << k;
        EXPECT_EQ(*update.notANumber, kBoxK);
        EXPECT_EQ(prediction.texts, (Texts{"1600", k, "1600"}));
        EXPECT_EQ(update.changed, (Flags{false, false, true}));
    }
    prediction.texts = {"1600", "", "123"};
    RecomputePredictedR(prediction, kBoxA);
    EXPECT_EQ(prediction.texts, (Texts{"1600", "2.5", "1600"}));
}

TEST(RatingCalculatorTest, TypingIsRefusedOnlyWhereNoNumberCanFollow) {
    struct Case {
        RatingBox box;
        const char* text;
        TypedText state;
    };
    const Case cases[] = {
        {kBoxA, "", TypedText::kIntermediate},    {kBoxA, "-", TypedText::kIntermediate},
        {kBoxA, "1600.", TypedText::kAcceptable}, {kBoxA, "1600.5", TypedText::kAcceptable},
        {kBoxA, "-12", TypedText::kAcceptable},   {kBoxA, "16a", TypedText::kInvalid},
        {kBoxA, "1e3", TypedText::kInvalid},      {kBoxA, "1234567890123456", TypedText::kInvalid},
        {kBoxK, "2.", TypedText::kAcceptable},    {kBoxK, "2.75", TypedText::kAcceptable},
        {kBoxK, "4", TypedText::kAcceptable},     {kBoxK, ".", TypedText::kIntermediate},
        {kBoxK, "0.", TypedText::kIntermediate},  {kBoxK, "5", TypedText::kInvalid},
        {kBoxK, "20", TypedText::kInvalid},       {kBoxK, "4.01", TypedText::kInvalid},
        {kBoxK, "-1", TypedText::kInvalid},       {kBoxP, "-300", TypedText::kAcceptable},
    };
    for (const Case& c : cases) EXPECT_EQ(CheckTypedText(c.box, c.text), c.state) << c.box << " " << c.text;
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
