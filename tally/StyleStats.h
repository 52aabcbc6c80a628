#pragma once

#include <array>
#include <climits>
#include <cstdint>

#include "scorelog/HandTotals.h"
#include "tally/SelectedGame.h"

// How the user plays beside the players at the same tables: win, deal-in and draw rates, hand
// values and dora, each for the user and for every other named seat of the same hands.
namespace obrenta::tally {

// The counts of one side: the user, or every other seat of the user's games taken together.
struct StyleSums {
    std::int64_t hands = 0;
    std::int64_t wins = 0;
    std::int64_t tsumoWins = 0;
    std::int64_t dealIns = 0;
    std::int64_t tsumoLosses = 0;  // the seat paid for another's tsumo
    std::int64_t draws = 0;        // exhaustive draws
    std::int64_t drawsWithEntry = 0;
    std::int64_t tenpaiDraws = 0;
    std::int64_t riichiWins = 0;
    std::int64_t uraWins = 0;  // riichi wins with 裏N, N ≥ 1
    std::int64_t yakumanWins = 0;
    double winSum = 0;
    double winSquareSum = 0;
    double dealInSum = 0;
    double dealInSquareSum = 0;
    double doraSum = 0;
    double doraSquareSum = 0;
};

// A rate or mean with its 95% interval [low, high]; valid is false when there is nothing to show
// (a denominator of 0, or a mean of fewer than two values keeps its value but has no interval).
struct StyleMeasure {
    bool valid = false;
    bool hasInterval = false;
    double value = 0;
    double low = 0;
    double high = 0;
    double standardError = 0;
};

// The user minus the field with 1.96 times the root of the two squared standard errors.
struct StyleDifference {
    bool valid = false;
    double value = 0;
    double halfWidth = 0;
    bool significant = false;  // the interval excludes zero
};

enum class StyleRow {
    WinRate,
    TsumoRate,
    DealInRate,
    TsumoLossRate,
    DrawRate,
    TenpaiAtDrawRate,
    WinValue,
    DealInValue,
    DoraPerWin,
    UraRate,
    YakumanPerThousand,
};
inline constexpr int kStyleRowCount = 11;

struct StyleLine {
    StyleMeasure own;
    StyleMeasure field;
    StyleDifference difference;
};

// A record of the user's with the start time of its game; found is false when there is none.
struct StyleRecord {
    bool found = false;
    std::int32_t value = 0;
    std::int64_t startTime = 0;
};

struct StyleResults {
    StyleSums styleOwn;
    StyleSums styleField;
    std::array<StyleLine, kStyleRowCount> styleLines{};
    StyleRecord styleLargestWin;
    StyleRecord styleLargestDealIn;  // the most negative change
    StyleRecord styleLongestGame;    // in hands
};

// count of n as a percentage times scale / 100 (scale 100: percent), with its Wilson interval.
StyleMeasure WilsonRate(std::int64_t count, std::int64_t n, double scale = 100);
// The mean of n values with the normal interval of its standard error.
StyleMeasure NormalMean(double sum, double squareSum, std::int64_t n);
StyleDifference DifferenceOf(const StyleMeasure& own, const StyleMeasure& field);

// Adds up the hand totals the reader keeps for each seat of a game (scorelog/HandTotals.h): the
// user's seat to the user's side, all seats less the user's and the empty name's to the field.
// Reading no hands, it costs a few vector additions and one cache line a game.
class StyleAccumulator {
public:
    using Result = StyleResults;

    void Add(const SelectedGame& selected);
    Result Finish() const;

private:
    // The user's records of a game, from the totals of the user's seat.
    void AddRecords(const SelectedGame& selected, std::int64_t wins, std::int32_t largestWin,
                    std::int32_t largestDealIn) {
        if (wins > 0 && largestWin > bestWin_) {
            bestWin_ = largestWin;
            largestWin_ = {true, largestWin, selected.game.startTime};
        }
        if (largestDealIn < bestDealIn_) {
            bestDealIn_ = largestDealIn;
            largestDealIn_ = {true, largestDealIn, selected.game.startTime};
        }
    }

    // A seat's stored totals as vectors: the first kLaneCounts bytes of the counts and the sums
    // add up lane by lane (unsigned lanes wrap back to the signed sums), the dora square sum as a
    // number of its own.
    using SeatCounts = std::uint8_t __attribute__((vector_size(16)));
    using SeatSums = std::uint32_t __attribute__((vector_size(16)));
    struct SeatLanes {
        SeatCounts counts{};
        SeatSums sums{};
        std::uint32_t doraSquares = 0;

        void Load(const scorelog::StoredSeatTotals& seat);
        SeatLanes& operator-=(const SeatLanes& other);
    };

    // The sums of one side. The counts are moved into wider sums every kMoveEvery games, before
    // their lanes could overflow.
    static constexpr int kMoveEvery = 1 << 16;
    struct SideTotals {
        using Counts = std::uint32_t __attribute__((vector_size(16)));
        std::int64_t hands = 0;
        std::int64_t draws = 0;
        std::array<Counts, 4> counts{};      // four counts a vector, in the counts' order
        std::array<std::int64_t, 4> sums{};  // winSum, dealInSum, then the two square sums in units
        std::int64_t doraSquareSum = 0;
        std::array<std::int64_t, 16> countsMoved{};

        void Add(const SeatLanes& seat);
        void Move();
        StyleSums Sums() const;
    };

    // The stored totals of a game; summed here for games the reader did not sum for their seats.
    const scorelog::StoredHandTotals* TotalsOf(const scorelog::GameRecord& game,
                                               const std::array<scorelog::NameId, 4>& names, int seatLimit) {
        const scorelog::StoredHandTotals* stored = game.Hands().totals();
        return stored != nullptr && stored->SummedFor(names, seatLimit) ? stored
                                                                        : SumAgain(game, names, seatLimit);
    }
    [[gnu::noinline]] const scorelog::StoredHandTotals* SumAgain(const scorelog::GameRecord& game,
                                                                 const std::array<scorelog::NameId, 4>& names,
                                                                 int seatLimit);

    SideTotals own_;
    SideTotals field_;
    int gamesBeforeMove_ = kMoveEvery;
    // Sums of games too large to store (see SumAndStoreHands), by side.
    scorelog::SeatHandTotals ownLarge_;
    scorelog::SeatHandTotals fieldLarge_;
    // The records so far, or a value every record passes.
    std::int64_t bestWin_ = INT64_MIN;
    std::int64_t bestDealIn_ = 0;
    StyleRecord largestWin_;
    StyleRecord largestDealIn_;
    StyleRecord longestGame_;
    scorelog::StoredHandTotals summed_;
    scorelog::GameHandTotals largeSums_;
    // The yaku words' codes of the last pool met, for games whose hands the reader did not sum.
    scorelog::YakuWordCodes codes_;
};

}  // namespace obrenta::tally
