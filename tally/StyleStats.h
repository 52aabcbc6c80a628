#pragma once

#include <algorithm>
#include <array>
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

class StyleAccumulator {
public:
    using Result = StyleResults;

    // The hands are the tally's hot loop, and which seat an entry names and the sign of its change
    // are guessed badly, so the four entries are taken at once, as lanes, without a branch.
    [[gnu::always_inline]] void AddHand(const SelectedGame& selected, const HandView& hand) {
        if (&selected != game_) StartGame(selected);
        const scorelog::HandRecord& record = hand.hand;
        Lanes names;
        Lanes deltas;
        std::memcpy(&names, record.entryNames.data(), sizeof names);
        std::memcpy(&deltas, record.entryDeltas.data(), sizeof deltas);
        const Lanes lane{0, 1, 2, 3};
        const Lanes valid = lane < record.entryCount;
        const Lanes user = (names == userName_) & valid;
        const Lanes field =
            ((names == fieldNames_[0]) | (names == fieldNames_[1]) | (names == fieldNames_[2])) & valid &
            ~user;
        // Every negative change counts but the winner's, who may have a second entry.
        const Lanes winner = ((lane == 0) | (names == names[0])) & -static_cast<std::int32_t>(hand.win);
        const Lanes loss = (deltas < 0) & ~winner;
        const std::int32_t kind = hand.kind;
        const std::int32_t draw = -static_cast<std::int32_t>(kind == kDraw);
        const Lanes counts = (loss & (kind == kTsumo ? 1
                                      : kind == kRon ? 0x100
                                                     : 0)) |
                             (draw & 0x10000) | ((deltas > 0) & draw & 0x1000000);
        userCounts_ += counts & user;
        fieldCounts_ += counts & field;
        const Lanes dealIn = deltas & loss & -static_cast<std::int32_t>(kind == kRon);
        const Doubles userLoss = __builtin_convertvector(dealIn & user, Doubles);
        const Doubles fieldLoss = __builtin_convertvector(dealIn & field, Doubles);
        userLoss_ += userLoss;
        fieldLoss_ += fieldLoss;
        userLossSquare_ += userLoss * userLoss;
        fieldLossSquare_ += fieldLoss * fieldLoss;
        ++gameHands_;
        gameDraws_ -= draw;
        if (hand.win) AddWin(hand, user[0] != 0, field[0] != 0);
        // The 8-bit counters take at most one a hand.
        if (gameHands_ % 255 == 0) FlushCounts();
    }
    void Add(const SelectedGame& selected) {
        if (game_ != nullptr) EndGame(selected);
    }
    Result Finish() const;

private:
    // 1 for another named seat, 0 for the user, -1 for a name that is no player of the game.
    int SideOf(scorelog::NameId id) const {
        const auto name = static_cast<std::int32_t>(id);
        int side = -1;
        for (int k = 0; k < 3; ++k) side = name == fieldNames_[static_cast<std::size_t>(k)] ? 1 : side;
        return name == userName_ ? 0 : side;
    }
    void StartGame(const SelectedGame& selected);
    // Inline: it runs for most hands, and a call costs more than its work.
    void AddWin(const HandView& hand, bool userWins, bool fieldWins) {
        const scorelog::HandRecord& record = hand.hand;
        const std::int32_t value = record.entryDeltas[0];
        if (hand.ownWin && value > bestWin_) NoteRecord(largestWin_, bestWin_, value);
        if (!hand.ownWin && hand.kind == kRon && hand.userChange < bestDealIn_) {
            NoteRecord(largestDealIn_, bestDealIn_, hand.userChange);
        }
        if (!userWins && !fieldWins) return;
        StyleSums& sums = sums_[fieldWins ? 1 : 0];
        sums.wins += 1;
        sums.tsumoWins += hand.kind == kTsumo ? 1 : 0;
        sums.winSum += value;
        sums.winSquareSum += stat::Square(value);
        sums.yakumanWins += hand.hanClass == static_cast<int>(scorelog::HanClass::Yakuman) ? 1 : 0;
        int dora = 0;
        unsigned flags = 0;
        for (const scorelog::NameId yaku : record.yaku) {
            std::uint8_t code = yaku < wordCount_ ? wordTable_[yaku].code : 0;
            if (code == kUnread) code = ReadWord(yaku);
            dora += code & 0x3F;
            flags |= code;
        }
        sums.doraSum += dora;
        sums.doraSquareSum += static_cast<double>(dora) * dora;
        const bool riichi = (flags & 0x40) != 0;
        sums.riichiWins += riichi ? 1 : 0;
        sums.uraWins += riichi && (flags & 0x80) != 0 ? 1 : 0;
    }
    void NoteRecord(StyleRecord& record, std::int64_t& best, std::int32_t value) {
        best = value;
        record = {true, value, game_->game.startTime};
    }
    std::uint8_t ReadWord(scorelog::NameId yaku);
    void FlushCounts();

    // Four lanes of an entry's seat; an entry past the hand's count is no lane.
    using Lanes = std::int32_t __attribute__((vector_size(16)));
    using Doubles = double __attribute__((vector_size(32)));
    static constexpr std::int32_t kTsumo = static_cast<std::int32_t>(scorelog::HandKind::Tsumo);
    static constexpr std::int32_t kRon = static_cast<std::int32_t>(scorelog::HandKind::Ron);
    static constexpr std::int32_t kDraw = static_cast<std::int32_t>(scorelog::HandKind::ExhaustiveDraw);

    void EndGame(const SelectedGame& selected);

    // Four 8-bit counters a lane: paid for a tsumo, dealt in, had an entry in a draw, tenpai.
    Lanes userCounts_{};
    Lanes fieldCounts_{};
    Doubles userLoss_{};
    Doubles fieldLoss_{};
    Doubles userLossSquare_{};
    Doubles fieldLossSquare_{};
    std::int64_t gameHands_ = 0;
    std::int64_t gameDraws_ = 0;
    std::array<StyleSums, 2> sums_{};  // the user's, the field's
    // The records so far, or a value every record passes.
    std::int64_t bestWin_ = INT64_MIN;
    std::int64_t bestDealIn_ = 0;
    StyleRecord largestWin_;
    StyleRecord largestDealIn_;
    StyleRecord longestGame_;
    const SelectedGame* game_ = nullptr;
    std::int32_t userName_ = 0;
    // The other named seats; an unused slot holds a name no entry can match.
    std::array<std::int32_t, 3> fieldNames_{};
    std::int64_t fieldSeats_ = 0;
    // Per name id: the dora count in bits 0-5, 立直 in bit 6, 裏N (N ≥ 1) in bit 7; kUnread until
    // the word is first met.
    static constexpr std::uint8_t kUnread = 0xFF;
    struct WordCode {
        std::uint8_t code = kUnread;
    };
    PoolTable<WordCode> words_;
    // The codes of the current game's pool.
    WordCode* wordTable_ = nullptr;
    std::size_t wordCount_ = 0;
};

}  // namespace obrenta::tally
