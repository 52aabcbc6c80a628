#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
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

// What an entry of a hand of one kind adds to its lane's four 8-bit counts: paid for a tsumo,
// dealt in, had an entry in a draw, tenpai at a draw.
struct StyleIncrements {
    std::int32_t loss = 0;
    std::int32_t entry = 0;
    std::int32_t tenpai = 0;
    std::int32_t dealInMask = 0;
    std::int32_t draw = 0;
};

constexpr std::array<StyleIncrements, scorelog::kHandKindCount> MakeStyleIncrements() {
    std::array<StyleIncrements, scorelog::kHandKindCount> table{};
    table[static_cast<std::size_t>(scorelog::HandKind::Tsumo)].loss = 1;
    table[static_cast<std::size_t>(scorelog::HandKind::Ron)].loss = 0x100;
    table[static_cast<std::size_t>(scorelog::HandKind::Ron)].dealInMask = -1;
    StyleIncrements& draw = table[static_cast<std::size_t>(scorelog::HandKind::ExhaustiveDraw)];
    draw.entry = 0x10000;
    draw.tenpai = 0x1000000;
    draw.draw = 1;
    return table;
}

inline constexpr std::array<StyleIncrements, scorelog::kHandKindCount> kStyleIncrements =
    MakeStyleIncrements();

}  // namespace detail

class StyleAccumulator {
public:
    using Result = StyleResults;

    // The hands are the tally's hot loop, and which seat an entry names and the sign of its change
    // are guessed badly, so the four entries are taken at once, as lanes, without a branch. The
    // walk hands over each entry's seat, so a lane is the user's or the field's by its seat.
    [[gnu::always_inline]] void AddHand(const SelectedGame& selected, const HandView& hand) {
        if (&selected != game_) StartGame(selected);
        const scorelog::HandRecord& record = hand.hand;
        const Bytes seatBytes = reinterpret_cast<Bytes>(Lanes{static_cast<std::int32_t>(hand.entrySeats)});
        Lanes deltas;
        std::memcpy(&deltas, record.entryDeltas.data(), sizeof deltas);
        // Byte i of the word to lane i (little-endian).
        const Lanes seats = reinterpret_cast<Lanes>(__builtin_shufflevector(
            seatBytes, Bytes{}, 0, 16, 16, 16, 1, 16, 16, 16, 2, 16, 16, 16, 3, 16, 16, 16));
        const Lanes user = seats == userSlot_;
        // Every seat an entry can name is the user's, the empty name's, or another player's.
        const Lanes field = ~(user | (seats == emptySlot_) | (seats == kNoSeat));
        // Every negative change counts but the winner's, who may have a second entry; the kinds
        // other than wins count no loss.
        const Lanes loss = (deltas < 0) & (seats != seats[0]);
        const Increments& inc = kIncrements[static_cast<std::size_t>(hand.kind)];
        const Lanes counts = (loss & inc.loss) | inc.entry | ((deltas > 0) & inc.tenpai);
        userCounts_ += counts & user;
        fieldCounts_ += counts & field;
        const Lanes dealIn = deltas & loss & inc.dealInMask;
        const Doubles userLoss = __builtin_convertvector(dealIn & user, Doubles);
        const Doubles fieldLoss = __builtin_convertvector(dealIn & field, Doubles);
        userLoss_ += userLoss;
        fieldLoss_ += fieldLoss;
        userLossSquare_ += userLoss * userLoss;
        fieldLossSquare_ += fieldLoss * fieldLoss;
        gameDraws_ += inc.draw;
        // The winner's side from lane 0's masks (-1 where true): kUser, kField or kNeither.
        if (hand.win) AddWin(hand, static_cast<std::size_t>(2 + 2 * user[0] + field[0]));
        if (--handsBeforeFlush_ == 0) FlushCounts();
    }
    void Add(const SelectedGame& selected) {
        if (game_ != nullptr) EndGame(selected);
    }
    Result Finish() const;

private:
    // Four lanes, one an entry; a lane past the hand's count names kNoSeat, neither side.
    using Lanes = std::int32_t __attribute__((vector_size(16)));
    using Bytes = std::uint8_t __attribute__((vector_size(16)));
    static_assert(std::endian::native == std::endian::little, "the seats' bytes are read as lanes");
    using Doubles = double __attribute__((vector_size(32)));
    using Increments = detail::StyleIncrements;
    static constexpr auto& kIncrements = detail::kStyleIncrements;
    static constexpr std::int32_t kTsumo = static_cast<std::int32_t>(scorelog::HandKind::Tsumo);
    static constexpr std::int32_t kRon = static_cast<std::int32_t>(scorelog::HandKind::Ron);
    enum Side : std::uint8_t { kUser, kField, kNeither };
    // A lane takes at most one a hand in each 8-bit count.
    static constexpr std::int32_t kFlushHands = 255;

    void StartGame(const SelectedGame& selected);
    void EndGame(const SelectedGame& selected);
    void FlushCounts();
    // Adds the counts not yet flushed to sums.
    void FlushCounts(std::array<StyleSums, 3>& sums) const;
    // Inline: it runs for most hands, and a call costs more than its work.
    void AddWin(const HandView& hand, std::size_t side) {
        const scorelog::HandRecord& record = hand.hand;
        const std::int32_t value = record.entryDeltas[0];
        if (hand.ownWin && value > bestWin_) NoteRecord(largestWin_, bestWin_, value);
        if (!hand.ownWin && hand.kind == kRon && hand.userChange < bestDealIn_) {
            NoteRecord(largestDealIn_, bestDealIn_, hand.userChange);
        }
        // A winner who is neither the user nor the field adds to the third sums, never read.
        StyleSums& sums = sums_[side];
        sums.wins += 1;
        sums.tsumoWins += hand.kind == kTsumo ? 1 : 0;
        sums.winSum += value;
        sums.winSquareSum += stat::Square(value);
        sums.yakumanWins += hand.hanClass == static_cast<int>(scorelog::HanClass::Yakuman) ? 1 : 0;
        int dora = 0;
        unsigned flags = 0;
        const std::uint8_t* codes = wordCodes_;
        const std::size_t last = wordCount_;
        for (const scorelog::NameId yaku : record.yaku) {
            const unsigned code = codes[std::min<std::size_t>(yaku, last)];
            dora += static_cast<int>(code & 0x3F);
            flags |= code;
        }
        sums.doraSum += dora;
        sums.doraSquareSum += static_cast<double>(dora) * dora;
        const unsigned riichi = flags >> 6 & 1;
        sums.riichiWins += riichi;
        sums.uraWins += riichi & flags >> 7;
    }
    void NoteRecord(StyleRecord& record, std::int64_t& best, std::int32_t value) {
        best = value;
        record = {true, value, game_->game.startTime};
    }

    // Four 8-bit counters a lane: paid for a tsumo, dealt in, had an entry in a draw, tenpai.
    Lanes userCounts_{};
    Lanes fieldCounts_{};
    Doubles userLoss_{};
    Doubles fieldLoss_{};
    Doubles userLossSquare_{};
    Doubles fieldLossSquare_{};
    std::int32_t handsBeforeFlush_ = kFlushHands;
    std::int64_t gameDraws_ = 0;
    std::array<StyleSums, 3> sums_{};  // the user's, the field's, neither's
    // The records so far, or a value every record passes.
    std::int64_t bestWin_ = INT64_MIN;
    std::int64_t bestDealIn_ = 0;
    StyleRecord largestWin_;
    StyleRecord largestDealIn_;
    StyleRecord longestGame_;
    const SelectedGame* game_ = nullptr;
    // The first seat of the user's name and of the empty name (-1 for none): the walk hands over
    // the first seat of an entry's name.
    std::int32_t userSlot_ = -1;
    std::int32_t emptySlot_ = -1;
    std::int64_t fieldSeats_ = 0;
    // Per name id of a pool: the dora count in bits 0-5, 立直 in bit 6, 裏N (N ≥ 1) in bit 7;
    // then a 0 that every id past the pool reads.
    PoolTable<std::uint8_t> words_;
    // The codes of the current game's pool, and the index of the last, the 0.
    const std::uint8_t* wordCodes_ = nullptr;
    std::size_t wordCount_ = 0;
};

}  // namespace obrenta::tally
