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
    // The first box whose text was not a number (or an average rank outside 1-4), if any:
    // reading stopped there and it and the later boxes kept their previous values; the box
    // being typed in keeps its text, the others get their previous text back.
    std::optional<RatingBox> notANumber;
};

// The average ranks a game can give.
inline constexpr double kLowestAverageRank = 1.0;
inline constexpr double kHighestAverageRank = 4.0;

// How far a box's text, as it is being typed, is from a number the box takes.
enum class TypedText {
    kInvalid,       // no further typing makes it one: the keystroke is refused
    kIntermediate,  // on the way to one ("", "-", "2.", an average rank below 1)
    kAcceptable,
};
// A and P take a signed decimal number, K a rank from 1 to 4; each at most 15 characters.
TypedText CheckTypedText(RatingBox box, std::string_view text);

// A number as the boxes show it: up to 15 significant digits, no trailing zeros, never "-0".
std::string FormatRatingValue(double value);
// A box text as a number: optional blanks, an optional sign, decimal digits with an optional
// point and exponent, optional blanks. Anything else (an empty box too) is not a number.
std::optional<double> ParseRatingValue(std::string_view text);

// What the report prints as the calculator's opening state: A and K cut to two and three
// decimals, then the initialisation's write, read back and computation of P (truncated). The
// window's calculator opens with OpenRatingCalculator instead.
RatingPrediction OpenRatingPrediction(double opponentRMean, double avgRank);
// The window's calculator as it opens on a tally's results: A, K and P as the general page shows
// them (rounded to 2, 3 and 2 decimals), P computed from the unrounded results like the page's.
RatingPrediction OpenRatingCalculator(double opponentRMean, double avgRank);
// After an edit of box A or K (the edited text already in prediction.texts): reads the three
// boxes, computes P (rounded to hundredths) and writes back all boxes but the edited one, whose
// text stays as typed.
RatingUpdate RecomputePredictedR(RatingPrediction& prediction, RatingBox edited);
// After an edit of box P: reads the three boxes, computes K (rounded to thousandths) and writes
// back A and K.
RatingUpdate RecomputeAverageRank(RatingPrediction& prediction);

}  // namespace obrenta::present
