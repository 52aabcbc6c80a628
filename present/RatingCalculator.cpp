#include "present/RatingCalculator.h"

#include <charconv>
#include <cmath>

#include "tally/Rating.h"

namespace obrenta::present {
namespace {

// Slightly above 1/12, so that exact hundredths of a rank are not truncated one too low.
constexpr double kRankPerR = 0.08333333333333334;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

RatingUpdate ReadBoxes(RatingPrediction& prediction) {
    RatingUpdate update;
    for (int box = 0; box < 3; ++box) {
        std::optional<double> value = ParseRatingValue(prediction.texts[box]);
        if (!value) {
            update.notANumber = static_cast<RatingBox>(box);
            break;
        }
        prediction.values[box] = *value;
    }
    return update;
}

void WriteBoxes(RatingPrediction& prediction, RatingUpdate& update) {
    for (int box = 0; box < 3; ++box) {
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
    ReadBoxes(prediction);
    prediction.values[kBoxP] = TruncatedPredictedR(prediction.values[kBoxA], prediction.values[kBoxK]);
    WriteBoxes(prediction, ignored);
    return prediction;
}

RatingUpdate RecomputePredictedR(RatingPrediction& prediction) {
    RatingUpdate update = ReadBoxes(prediction);
    prediction.values[kBoxP] = TruncatedPredictedR(prediction.values[kBoxA], prediction.values[kBoxK]);
    WriteBoxes(prediction, update);
    return update;
}

RatingUpdate RecomputeAverageRank(RatingPrediction& prediction) {
    RatingUpdate update = ReadBoxes(prediction);
    const double a = prediction.values[kBoxA];
    const double p = prediction.values[kBoxP];
    prediction.values[kBoxK] = std::trunc((a + 3000.0 - p) * kRankPerR) * 0.01;
    WriteBoxes(prediction, update);
    return update;
}

}  // namespace obrenta::present
