#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace obrenta::present {

// The rating prediction calculator: the opponents' average R (A), the user's average rank (K)
// and the R they predict (P), each shown in a text box.
enum RatingBox { kBoxA = 0, kBoxK = 1, kBoxP = 2 };

struct RatingPrediction {
    std::array<double, 3> values{};      // A, K, P as last read or computed
    std::array<std::string, 3> texts{};  // what the three boxes show
};

struct RatingUpdate {
    // The boxes whose text was rewritten; the caller replaces only those, without treating the
    // replacement as an edit.
    std::array<bool, 3> changed{};
    // The first box whose text was not a number, if any: reading stopped there and it and the
    // later boxes kept their previous values (and got their previous text back).
    std::optional<RatingBox> notANumber;
};

// A number as the boxes show it: up to 15 significant digits, no trailing zeros, never "-0".
std::string FormatRatingValue(double value);
// A box text as a number: optional blanks, an optional sign, decimal digits with an optional
// point and exponent, optional blanks. Anything else (an empty box too) is not a number.
std::optional<double> ParseRatingValue(std::string_view text);

// The calculator as it opens on a tally's results: A and K cut to two and three decimals, then
// the initialisation's write, read back and computation of P.
RatingPrediction OpenRatingPrediction(double opponentRMean, double avgRank);
// After an edit of box A or K (the edited text already in prediction.texts): reads the three
// boxes, computes P and writes all three back.
RatingUpdate RecomputePredictedR(RatingPrediction& prediction);
// After an edit of box P: reads the three boxes, computes K and writes all three back.
RatingUpdate RecomputeAverageRank(RatingPrediction& prediction);

}  // namespace obrenta::present
