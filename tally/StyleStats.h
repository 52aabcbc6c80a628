#pragma once

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <string_view>

#include "tally/HandWalk.h"
#include "tally/PoolTable.h"
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

// What a yaku word adds to the dora of a win: ドラN, 赤N, 裏N and 裏ドラN (N a number) give N.
struct YakuWord {
    std::int16_t dora = -1;  // -1: not read yet
    bool riichi = false;
    bool ura = false;  // 裏N or 裏ドラN with N ≥ 1
};
// Reads a yaku word of code page 932 bytes.
YakuWord ReadYakuWord(std::string_view word);

namespace detail {

// What an entry of a hand of one kind adds to its seat's counts, which hold four 16-bit counts:
// paid for a tsumo, dealt in, had an entry in a draw, tenpai at a draw.
struct StyleIncrements {
    std::uint64_t loss = 0;
    std::uint64_t entry = 0;
    std::uint64_t tenpai = 0;
    std::int32_t dealInMask = 0;
    std::int32_t draw = 0;
};

constexpr std::array<StyleIncrements, scorelog::kHandKindCount> MakeStyleIncrements() {
    std::array<StyleIncrements, scorelog::kHandKindCount> table{};
    table[static_cast<std::size_t>(scorelog::HandKind::Tsumo)].loss = 1;
    table[static_cast<std::size_t>(scorelog::HandKind::Ron)].loss = std::uint64_t{1} << 16;
    table[static_cast<std::size_t>(scorelog::HandKind::Ron)].dealInMask = -1;
    StyleIncrements& draw = table[static_cast<std::size_t>(scorelog::HandKind::ExhaustiveDraw)];
    draw.entry = std::uint64_t{1} << 32;
    draw.tenpai = std::uint64_t{1} << 48;
    draw.draw = 1;
    return table;
}

inline constexpr std::array<StyleIncrements, scorelog::kHandKindCount> kStyleIncrements =
    MakeStyleIncrements();

}  // namespace detail

class StyleAccumulator {
public:
    using Result = StyleResults;

    // The hands are the tally's hot loop: each entry adds to the counts of the seat the walk found
    // for it, and the seats' counts go to the user or the field once a game.
    [[gnu::always_inline]] void AddHand(const SelectedGame& selected, const HandView& hand) {
        if (&selected != game_) StartGame(selected);
        const scorelog::HandRecord& record = hand.hand;
        const Increments& inc = kIncrements[static_cast<std::size_t>(hand.kind)];
        const unsigned winnerSeat = hand.entrySeats[0];
        for (std::size_t i = 0; i < 4; ++i) {
            const unsigned seat = hand.entrySeats[i];
            const std::int32_t delta = record.entryDeltas[i];
            // Every negative change counts but the winner's, who may have a second entry; outside
            // a win nothing counts as a loss.
            const bool loss = delta < 0 && seat != winnerSeat;
            seatCounts_[seat] += (loss ? inc.loss : 0) + inc.entry + (delta > 0 ? inc.tenpai : 0);
            const std::int64_t dealIn = loss ? delta & inc.dealInMask : 0;
            seatDealIns_[seat] += dealIn;
            seatDealInSquares_[seat] += dealIn * dealIn;
        }
        ++gameHands_;
        gameDraws_ += inc.draw;
        if (hand.win) AddWin(hand, winnerSeat);
        if (--handsBeforeFlush_ == 0) FlushSeats();
    }
    void Add(const SelectedGame& selected) {
        if (game_ != nullptr) EndGame(selected);
    }
    Result Finish() const;

private:
    // The integer sums of one side; StyleSums once the pass is over.
    struct Totals {
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
        std::int64_t winSquareSum = 0;
        std::int64_t dealInSum = 0;
        std::int64_t dealInSquareSum = 0;
        std::int64_t doraSum = 0;
        std::int64_t doraSquareSum = 0;
    };
    enum Side : std::uint8_t { kUser, kField, kNeither };

    using Increments = detail::StyleIncrements;
    static constexpr auto& kIncrements = detail::kStyleIncrements;
    // A hand adds at most 4 to a seat's 16-bit count.
    static constexpr std::int32_t kFlushHands = 0xFFFF / 4;

    void StartGame(const SelectedGame& selected);
    void EndGame(const SelectedGame& selected);
    void FlushSeats();
    static StyleSums SumsOf(const Totals& totals);
    // Inline: it runs for most hands, and a call costs more than its work.
    void AddWin(const HandView& hand, unsigned winnerSeat) {
        const scorelog::HandRecord& record = hand.hand;
        const std::int32_t value = record.entryDeltas[0];
        if (hand.ownWin && value > bestWin_) NoteRecord(largestWin_, bestWin_, value);
        if (!hand.ownWin && hand.kind == kRon && hand.userChange < bestDealIn_) {
            NoteRecord(largestDealIn_, bestDealIn_, hand.userChange);
        }
        // A winner who is neither side adds to the third, unread totals.
        Totals& totals = totals_[sideOf_[winnerSeat]];
        totals.wins += 1;
        totals.tsumoWins += hand.kind == kTsumo ? 1 : 0;
        totals.winSum += value;
        totals.winSquareSum += std::int64_t{value} * value;
        totals.yakumanWins += hand.hanClass == static_cast<int>(scorelog::HanClass::Yakuman) ? 1 : 0;
        int dora = 0;
        unsigned flags = 0;
        const std::uint8_t* codes = wordCodes_;
        const std::size_t last = wordCount_;
        for (const scorelog::NameId yaku : record.yaku) {
            const std::uint8_t code = codes[std::min<std::size_t>(yaku, last)];
            dora += code & 0x3F;
            flags |= code;
        }
        totals.doraSum += dora;
        totals.doraSquareSum += dora * dora;
        const unsigned riichi = flags >> 6 & 1;
        totals.riichiWins += riichi;
        totals.uraWins += riichi & flags >> 7;
    }
    void NoteRecord(StyleRecord& record, std::int64_t& best, std::int32_t value) {
        best = value;
        record = {true, value, game_->game.startTime};
    }

    static constexpr std::int32_t kTsumo = static_cast<std::int32_t>(scorelog::HandKind::Tsumo);
    static constexpr std::int32_t kRon = static_cast<std::int32_t>(scorelog::HandKind::Ron);

    // The current game's, per seat, kNoSeat last.
    std::array<std::uint64_t, 5> seatCounts_{};
    std::array<std::int64_t, 5> seatDealIns_{};
    std::array<std::int64_t, 5> seatDealInSquares_{};
    std::array<std::uint8_t, 5> sideOf_{};
    std::int32_t handsBeforeFlush_ = kFlushHands;
    std::int64_t gameHands_ = 0;
    std::int64_t gameDraws_ = 0;
    std::int64_t fieldSeats_ = 0;
    std::array<Totals, 3> totals_{};  // the user's, the field's, neither's
    // The records so far, or a value every record passes.
    std::int64_t bestWin_ = INT64_MIN;
    std::int64_t bestDealIn_ = 0;
    StyleRecord largestWin_;
    StyleRecord largestDealIn_;
    StyleRecord longestGame_;
    const SelectedGame* game_ = nullptr;
    // Per name id of a pool: the dora count in bits 0-5, 立直 in bit 6, 裏N (N ≥ 1) in bit 7;
    // then a 0 for the ids past the pool.
    PoolTable<std::uint8_t> words_;
    // The codes of the current game's pool, and the index of its last, the 0.
    const std::uint8_t* wordCodes_ = nullptr;
    std::size_t wordCount_ = 0;
};

}  // namespace obrenta::tally
