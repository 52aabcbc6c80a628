#pragma once

#include <array>
#include <cstdint>
#include <span>

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

    [[gnu::always_inline]] void AddHand(const SelectedGame& selected, const HandView& hand);
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
    WinWords ReadWords(const scorelog::HandRecord& hand) const;
    static void AddWin(Side& side, std::int32_t change, bool tsumo, const WinWords& words,
                       const scorelog::HandRecord& hand);
    static void AddDealIn(Side& side, std::int32_t change);
    void StartGame(const SelectedGame& selected);

    Side own_;
    Side field_;
    // The game whose hands are being read, the user's seat and the field's as masks.
    const SelectedGame* current_ = nullptr;
    unsigned ownMask_ = 0;
    unsigned fieldMask_ = 0;
    std::int64_t fieldSeats_ = 0;
    std::span<const scorelog::YakuWord> words_;  // the readings of the game's pool
    StyleRecord largestWin_;
    StyleRecord largestDealIn_;
    StyleRecord longestGame_;
};

namespace style {

// The seats of a mask of four. (std::popcount may become a library call where the processor
// has no instruction for it.)
inline int SeatCount(unsigned mask) {
    static constexpr std::array<std::int8_t, 16> kCounts{0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4};
    return kCounts[mask & 15];
}

inline std::uint64_t SquareOf(std::int64_t value) {
    const std::uint64_t magnitude = static_cast<std::uint64_t>(std::llabs(value));
    return magnitude * magnitude;
}

}  // namespace style

// Inlined into the tally's walk over the hands, as every accumulator's hand is.
inline StyleAccumulator::WinWords StyleAccumulator::ReadWords(const scorelog::HandRecord& hand) const {
    WinWords words;
    for (const scorelog::NameId id : hand.yaku) {
        if (id >= words_.size()) continue;
        const scorelog::YakuWord& word = words_[id];
        words.dora += word.dora;
        words.riichi |= word.riichi;
        words.ura |= word.ura;
    }
    return words;
}

inline void StyleAccumulator::AddWin(Side& side, std::int32_t change, bool tsumo, const WinWords& words,
                                     const scorelog::HandRecord& hand) {
    ++side.wins;
    side.tsumoWins += tsumo ? 1 : 0;
    side.winSum += change;
    side.winSquares.Add(style::SquareOf(change));
    side.doraSum += words.dora;
    side.doraSquares.Add(style::SquareOf(words.dora));
    side.riichiWins += words.riichi ? 1 : 0;
    side.uraWins += words.riichi && words.ura ? 1 : 0;
    side.yakumanWins += hand.hanClass == scorelog::HanClass::Yakuman ? 1 : 0;
}

inline void StyleAccumulator::AddDealIn(Side& side, std::int32_t change) {
    ++side.dealIns;
    side.dealInSum += change;
    side.dealInSquares.Add(style::SquareOf(change));
}

inline void StyleAccumulator::AddHand(const SelectedGame& selected, const HandView& view) {
    if (current_ != &selected) StartGame(selected);
    const HandOutcome& outcome = view.outcome;
    // At most one seat won and one dealt in: each goes to the user's side, the field's or
    // neither.
    if (outcome.won != 0) {
        const std::int32_t change = outcome.change[static_cast<std::size_t>(outcome.winner)];
        const bool tsumo = outcome.tsumoWin != 0;
        if ((outcome.won & ownMask_) != 0) {
            AddWin(own_, change, tsumo, ReadWords(view.hand), view.hand);
            // The records: the first of equal values stays, so a tie goes to the older game.
            if (!largestWin_.found || change > largestWin_.value) {
                largestWin_ = {true, change, selected.game.startTime};
            }
        } else if ((outcome.won & fieldMask_) != 0) {
            AddWin(field_, change, tsumo, ReadWords(view.hand), view.hand);
        }
    }
    if (outcome.dealtIn != 0) {
        const std::int32_t change =
            outcome.change[static_cast<std::size_t>(std::countr_zero(outcome.dealtIn))];
        if ((outcome.dealtIn & ownMask_) != 0) {
            AddDealIn(own_, change);
            if (!largestDealIn_.found || change < largestDealIn_.value) {
                largestDealIn_ = {true, change, selected.game.startTime};
            }
        } else if ((outcome.dealtIn & fieldMask_) != 0) {
            AddDealIn(field_, change);
        }
    }
    const bool draw = view.hand.kind == scorelog::HandKind::ExhaustiveDraw;
    own_.draws += draw ? 1 : 0;
    field_.draws += draw ? fieldSeats_ : 0;
    const unsigned atDraw = outcome.tenpai | outcome.noten;
    own_.tsumoLosses += style::SeatCount(outcome.paidTsumo & ownMask_);
    own_.drawsWithEntry += style::SeatCount(atDraw & ownMask_);
    own_.tenpaiDraws += style::SeatCount(outcome.tenpai & ownMask_);
    field_.tsumoLosses += style::SeatCount(outcome.paidTsumo & fieldMask_);
    field_.drawsWithEntry += style::SeatCount(atDraw & fieldMask_);
    field_.tenpaiDraws += style::SeatCount(outcome.tenpai & fieldMask_);
}

}  // namespace obrenta::tally
