#pragma once

#include <array>
#include <cstdint>

#include "tally/HandWalk.h"
#include "tally/Intervals.h"
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

// A row: the user's rate or mean, the field's, and the user minus the field. The rates'
// intervals are Wilson's and their difference's Newcombe's; the means' are Student's t and their
// difference's Welch's. significant: the difference's interval excludes zero.
struct StyleLine {
    Estimate own;
    Estimate field;
    Estimate difference;
    bool significant = false;
    bool ownOnly = false;  // a figure the same for every seat of a hand: no field, no difference
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
    StyleRecord styleLargestDealIn;  // the most negative change of a hand the user dealt in
    StyleRecord styleLongestGame;    // in hands
};

// Reads every hand for the user's seat and for the field's seats: every other seat among the
// game's first playerCount whose name is neither empty nor the user's (a seat whose name an
// earlier seat also has counts its hands, but no entry belongs to it).
class StyleAccumulator {
public:
    using Result = StyleResults;

    void AddHand(const SelectedGame& selected, const HandView& hand);
    void Add(const SelectedGame& selected, const HandWalk& walk);
    Result Finish() const;

private:
    // A sum of squares in two 64-bit words: a square of a 32-bit change is below 2^62.
    struct WideSum {
        std::uint64_t low = 0;
        std::uint64_t high = 0;
        void Add(std::uint64_t value) {
            low += value;
            high += low < value ? 1 : 0;
        }
        double Value() const {
            return static_cast<double>(high) * 18446744073709551616.0 + static_cast<double>(low);
        }
    };
    struct Side {
        std::int64_t hands = 0;
        std::int64_t wins = 0;
        std::int64_t tsumoWins = 0;
        std::int64_t dealIns = 0;
        std::int64_t tsumoLosses = 0;
        std::int64_t draws = 0;
        std::int64_t drawsWithEntry = 0;
        std::int64_t tenpaiDraws = 0;
        std::int64_t riichiWins = 0;
        std::int64_t uraWins = 0;
        std::int64_t yakumanWins = 0;
        std::int64_t winSum = 0;
        std::int64_t dealInSum = 0;
        std::int64_t doraSum = 0;
        WideSum winSquares;
        WideSum dealInSquares;
        WideSum doraSquares;

        StyleSums Sums() const;
    };
    // What a win's yaku words say.
    struct WinWords {
        std::int64_t dora = 0;
        bool riichi = false;
        bool ura = false;
    };
    static WinWords ReadWords(const SelectedGame& selected, const scorelog::HandRecord& hand);
    static void AddSeat(Side& side, const SeatOutcome& seat, const scorelog::HandRecord& hand,
                        const WinWords& words);
    void StartGame(const SelectedGame& selected);

    Side own_;
    Side field_;
    // The game whose hands are being read, and its field seats.
    const SelectedGame* current_ = nullptr;
    std::array<bool, 4> fieldSeat_{};
    std::int64_t fieldSeats_ = 0;
    StyleRecord largestWin_;
    StyleRecord largestDealIn_;
    StyleRecord longestGame_;
};

}  // namespace obrenta::tally
