#include "present/RatingCalculator.h"

#include <charconv>
#include <cmath>

#include "tally/Rating.h"

namespace obrenta::present {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool InRange(RatingBox box, double value) {
    return box != kBoxK || (value >= kLowestAverageRank && value <= kHighestAverageRank);
}

RatingUpdate ReadBoxes(RatingPrediction& prediction, bool checkRanges) {
    RatingUpdate update;
    for (int box = 0; box < 3; ++box) {
        std::optional<double> value = ParseRatingValue(prediction.texts[box]);
        if (!value || (checkRanges && !InRange(static_cast<RatingBox>(box), *value))) {
            update.notANumber = static_cast<RatingBox>(box);
            break;
        }
        prediction.values[box] = *value;
    }
    return update;
}

void WriteBoxes(RatingPrediction& prediction, RatingUpdate& update, std::optional<RatingBox> keep = {}) {
    for (int box = 0; box < 3; ++box) {
        if (keep == box) continue;
        std::string text = FormatRatingValue(prediction.values[box]);
        if (text != prediction.texts[box]) {
            prediction.texts[box] = std::move(text);
            update.changed[box] = true;
        }
    }
}

double TruncatedPredictedR(double a, double k) {
    return std::trunc(tally::PredictedR(a, k) * 100.0) * 0.01;
}

// The value that "%.<decimals>f" shows, as the pages print it.
double Rounded(double value, int decimals) {
    if (!std::isfinite(value)) return value;
    char buffer[400];
    const std::to_chars_result printed =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    double rounded = value;
    std::from_chars(buffer, printed.ptr, rounded);
    return rounded;
}

}  // namespace

std::string FormatRatingValue(double value) {
    // A truncation toward zero keeps the sign of a small negative value: show it as "0".
    if (value == 0.0 || std::isnan(value)) value = 0.0;
    char buffer[64];
    std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

std::optional<double> ParseRatingValue(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size() && IsBlank(text[begin])) ++begin;
    std::size_t end = text.size();
    while (end > begin && IsBlank(text[end - 1])) --end;
    std::string_view number = text.substr(begin, end - begin);

    bool negative = false;
    if (!number.empty() && (number[0] == '+' || number[0] == '-')) {
        negative = number[0] == '-';
        number.remove_prefix(1);
    }
    // Check the shape first: from_chars would also take "inf", "nan" and the like.
    std::size_t i = 0;
    std::size_t digits = 0;
    while (i < number.size() && IsDigit(number[i])) ++i, ++digits;
    if (i < number.size() && number[i] == '.') {
        ++i;
        while (i < number.size() && IsDigit(number[i])) ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        ++i;
        if (i < number.size() && (number[i] == '+' || number[i] == '-')) ++i;
        std::size_t exponentDigits = 0;
        while (i < number.size() && IsDigit(number[i])) ++i, ++exponentDigits;
        if (exponentDigits == 0) return std::nullopt;
    }
    if (i != number.size()) return std::nullopt;

    double value = 0;
    std::from_chars_result result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc() || result.ptr != number.data() + number.size()) return std::nullopt;
    return negative ? -value : value;
}

RatingPrediction OpenRatingPrediction(double opponentRMean, double avgRank) {
    RatingPrediction prediction;
    prediction.values[kBoxA] = std::trunc(opponentRMean * 100.0) * 0.01;
    prediction.values[kBoxK] = std::trunc(avgRank * 1000.0) * 0.001;
    prediction.values[kBoxP] = 0;
    RatingUpdate ignored;
    WriteBoxes(prediction, ignored);
    // Read back, so that the computation starts from exactly what the boxes show.
    ReadBoxes(prediction, false);
    prediction.values[kBoxP] = TruncatedPredictedR(prediction.values[kBoxA], prediction.values[kBoxK]);
    WriteBoxes(prediction, ignored);
    return prediction;
}

RatingPrediction OpenRatingCalculator(double opponentRMean, double avgRank) {
    RatingPrediction prediction;
    prediction.values[kBoxA] = Rounded(opponentRMean, 2);
    prediction.values[kBoxK] = Rounded(avgRank, 3);
    prediction.values[kBoxP] = Rounded(tally::PredictedR(opponentRMean, avgRank), 2);
    RatingUpdate ignored;
    WriteBoxes(prediction, ignored);
    return prediction;
}

RatingUpdate RecomputePredictedR(RatingPrediction& prediction, RatingBox edited) {
    RatingUpdate update = ReadBoxes(prediction, true);
    prediction.values[kBoxP] =
        Rounded(tally::PredictedR(prediction.values[kBoxA], prediction.values[kBoxK]), 2);
    WriteBoxes(prediction, update, edited);
    return update;
}

RatingUpdate RecomputeAverageRank(RatingPrediction& prediction) {
    // K is the result here: its text, whatever its range, is about to be replaced.
    RatingUpdate update = ReadBoxes(prediction, false);
    const double a = prediction.values[kBoxA];
    const double p = prediction.values[kBoxP];
    // The rank that predicts p; outside 1-4 it is shown as it comes, as the page would.
    prediction.values[kBoxK] = Rounded((a + 3000.0 - p) / 1200.0, 3);
    WriteBoxes(prediction, update, kBoxP);
    return update;
}

TypedText CheckTypedText(RatingBox box, std::string_view text) {
    if (text.size() > 15) return TypedText::kInvalid;
    std::size_t i = 0;
    if (box != kBoxK && i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    }
    if (i != text.size()) return TypedText::kInvalid;
    if (digits == 0) return TypedText::kIntermediate;
    const std::optional<double> value = ParseRatingValue(text);
    if (!value) return TypedText::kIntermediate;
    if (box == kBoxK) {
        // More digits only make a rank larger or leave it: above 4 stays above 4.
        if (*value > kHighestAverageRank) return TypedText::kInvalid;
        if (*value < kLowestAverageRank) return TypedText::kIntermediate;
    }
    return TypedText::kAcceptable;
}

}  // namespace obrenta::present
