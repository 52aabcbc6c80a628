#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "scorelog/GameRecord.h"
#include "tally/HandWalk.h"
#include "tally/Intervals.h"
#include "tally/PoolTable.h"
#include "tally/SelectedGame.h"

// Where the points go: the user's deal-ins taken apart beside the field's (the same seats as the
// 打ち筋 page's field), the yaku and the players they went to, the largest of them, and the
// user's points per hand split by what the hand was.
namespace obrenta::tally {

// The rows of the breakdown: every deal-in, those into a riichi hand, then by the value class of
// the winning hand. A deal-in whose hand has no class (None, or a value out of range) is counted
// in All (and in IntoRiichi when it was one) but in no class, so the classes may add up to fewer
// than All.
enum class DealInRow {
    All,
    IntoRiichi,
    BelowMangan,  // 1 to 4 飜
    Mangan,
    Haneman,
    BaimanOrMore,  // 倍満 and 三倍満
    Yakuman,
};
inline constexpr int kDealInRowCount = 7;

// The row of a HanClass index (0..kHanClassCount − 1), −1 for None.
inline constexpr std::array<std::int8_t, scorelog::kHanClassCount> kDealInRowOfHan{-1, 2, 2, 2, 2,
                                                                                   3,  4, 5, 5, 6};

// The deal-ins of one side in one row, and the points they lost (each a positive number).
struct DealInSums {
    std::int64_t count = 0;
    std::int64_t pointsLost = 0;
    double pointsLostSquareSum = 0;
};

// A row for the user and for the field. The shares are in percent with Wilson's interval: of
// the side's hands in the row All (its deal-in rate), of the side's deal-ins in every other row;
// difference is the user's minus the field's with Newcombe's interval, significant when that
// excludes zero. The means are of the points lost, with Student's t interval (none below two).
struct DealInLine {
    DealInSums own;
    DealInSums field;
    Estimate ownShare;
    Estimate fieldShare;
    Estimate difference;
    bool significant = false;
    MeanEstimate ownMean;
    MeanEstimate fieldMean;
};

struct DealInBreakdown {
    std::int64_t ownHands = 0;
    std::int64_t fieldHands = 0;  // every field seat's hands
    std::array<DealInLine, kDealInRowCount> lines{};
};

// A yaku of the hands the user dealt into: how many such hands had it (a yaku listed twice in
// one hand counts twice, as on the 役 page), in percent of the user's deal-ins and of the
// user's hands.
struct DealInYakuStats {
    std::int64_t count = 0;
    double rateOfDealIns = 0;
    double rateOfHands = 0;
};
// Keyed by the code page 932 bytes, as YakuMap.
using DealInYakuMap = std::map<std::string, DealInYakuStats>;

// The user and one opponent: the hands they played together (the hands of each game in which
// the opponent held a field seat, once per such seat), the user's deal-ins to them and theirs
// to the user, with the points those moved (positive), and the user's deal-ins to them in
// percent of those hands with Wilson's interval.
struct DealInOpponentSums {
    std::int64_t hands = 0;
    std::int64_t dealInsTo = 0;
    std::int64_t pointsLostTo = 0;
    std::int64_t dealInsFrom = 0;
    std::int64_t pointsWonFrom = 0;
};
struct DealInOpponentStats : DealInOpponentSums {
    Estimate dealInRate;
};
// Keyed by the opponent's name in code page 932 bytes; one name met in several logs or under
// several of the user's IDs is one row.
using DealInOpponentMap = std::map<std::string, DealInOpponentStats>;

// One of the user's largest deal-ins. The game is found again by its start time (the minute
// the 対局 page looks games up by) or, until the next tally, by its index in selectedGames.
struct DealInRecord {
    std::int64_t pointsLost = 0;
    std::int64_t startTime = 0;
    std::size_t gameIndex = 0;
    std::int32_t handNumber = 0;  // from 1
    std::string winnerName;       // the first entry's name, also when it names no seat
    scorelog::HanClass hanClass = scorelog::HanClass::None;  // None also for a value out of range
    std::vector<std::string> yaku;                           // code page 932, in the hand's order
};
inline constexpr std::size_t kDealInRecordCount = 10;

// What a hand was for a seat, each hand in exactly one part: the seat won it, dealt in, paid
// for another's ツモ, the hand was an exhaustive draw, or anything else (riichi deposits paid in
// another's ロン hand, a ロン hand without a deal-in, chombo and the other kinds of hands).
enum class HandPart { Win, DealIn, TsumoPaid, ExhaustiveDraw, Rest };
inline constexpr int kHandPartCount = 5;

// A side's score changes over its hands: the parts add up to total exactly. means[p] is
// parts[p] / hands, meanTotal total / hands (0 without hands). The hands of each part are the
// 打ち筋 page's counts (wins, deal-ins, tsumo losses, draws; the rest is what is left).
struct PointsSplit {
    std::int64_t hands = 0;
    std::int64_t total = 0;
    std::array<std::int64_t, kHandPartCount> parts{};
    double meanTotal = 0;
    std::array<double, kHandPartCount> means{};
};

// The user's split and the field's (every field seat's hands taken together).
struct PointsPerHand {
    PointsSplit own;
    PointsSplit field;
};

struct DealInResults {
    DealInBreakdown dealInBreakdown;
    DealInYakuMap dealInYaku;
    DealInOpponentMap dealInOpponents;
    std::vector<DealInRecord> dealInLargest;  // at most kDealInRecordCount, most points first
    PointsPerHand pointsPerHand;
};

// The user is the user's seat; the field every other seat among the game's first playerCount
// whose name is neither empty nor the user's, as StyleAccumulator has them, so the deal-ins
// counted here are those of the 打ち筋 page.
class DealInAccumulator {
public:
    using Result = DealInResults;

    [[gnu::always_inline]] void AddHand(const SelectedGame& selected, const HandView& hand);
    void Add(const SelectedGame& selected, const HandWalk& walk);
    Result Finish() const;

private:
    struct Side {
        // By DealInRow, and one more that takes the deal-ins of no class.
        std::array<DealInSums, kDealInRowCount + 1> rows{};
        std::int64_t hands = 0;
    };
    using OpponentSums = DealInOpponentSums;
    // A largest deal-in, holding on to its game's hands and names until the texts are made.
    struct Record {
        std::int64_t pointsLost = 0;
        std::int64_t startTime = 0;
        std::size_t gameIndex = 0;
        std::size_t handIndex = 0;
        std::shared_ptr<const scorelog::HandList> hands;
        scorelog::NamePoolPtr names;
    };

    void StartGame(const SelectedGame& selected);
    // A hand in which the user or a field seat dealt in.
    void AddDealIn(const SelectedGame& selected, const HandView& view);
    // The user's deal-in: its yaku, the opponent it went to and the records.
    [[gnu::noinline]] void AddOwnDealIn(const SelectedGame& selected, const HandView& view,
                                        std::int64_t lost);
    void AddRecord(const SelectedGame& selected, const HandView& view, std::int64_t lost);

    Side own_;
    Side field_;
    PoolTable<std::int64_t> yaku_;
    PoolTable<OpponentSums> opponents_;
    std::array<Record, kDealInRecordCount> records_{};
    std::size_t recordCount_ = 0;
    // The index in the pass of the game being read.
    std::size_t gameIndex_ = 0;
    const SelectedGame* current_ = nullptr;
    unsigned ownMask_ = 0;
    unsigned fieldMask_ = 0;
    std::int64_t fieldSeats_ = 0;
    std::span<const scorelog::YakuWord> words_;
    // The changes by HandPart of the user's seat, of the field's seats and of the other seats,
    // one after the other, and where in it each seat of the game adds.
    std::array<std::int64_t, 3 * kHandPartCount> points_{};
    std::array<std::uint8_t, 4> pointsAt_{};
};

namespace dealin {

// Bit k of a mask of four seats at bit 4k.
inline constexpr std::array<std::uint16_t, 16> kNibbles = [] {
    std::array<std::uint16_t, 16> nibbles{};
    for (unsigned mask = 0; mask < 16; ++mask) {
        for (unsigned k = 0; k < 4; ++k)
            nibbles[mask] |= static_cast<std::uint16_t>((mask >> k & 1u) << 4 * k);
    }
    return nibbles;
}();

// The part of a hand for a seat by the bits of its nibble: won 1, dealt in 2, paid a ツモ 4, an
// exhaustive draw 8. No seat is in two of the first three in any hand (a win and a deal-in are
// never the same seat's, a payment for a ツモ never the winner's), and a draw has none of them;
// the first bit set would decide.
inline constexpr std::array<std::uint8_t, 16> kPartOfNibble{4, 0, 1, 0, 2, 0, 1, 0, 3, 0, 1, 0, 2, 0, 1, 0};

}  // namespace dealin

// Inlined into the tally's walk over the hands, as every accumulator's hand is. Each seat's
// change goes to its side's sum of its part, found without a branch.
inline void DealInAccumulator::AddHand(const SelectedGame& selected, const HandView& view) {
    if (current_ != &selected) StartGame(selected);
    const HandOutcome& outcome = view.outcome;
    const unsigned nibbles = static_cast<unsigned>(dealin::kNibbles[outcome.won & 15u]) |
                             static_cast<unsigned>(dealin::kNibbles[outcome.dealtIn & 15u]) << 1 |
                             static_cast<unsigned>(dealin::kNibbles[outcome.paidTsumo & 15u]) << 2 |
                             (view.hand.kind == scorelog::HandKind::ExhaustiveDraw ? 0x8888u : 0u);
    points_[pointsAt_[0] + dealin::kPartOfNibble[nibbles & 15u]] += outcome.change[0];
    points_[pointsAt_[1] + dealin::kPartOfNibble[nibbles >> 4 & 15u]] += outcome.change[1];
    points_[pointsAt_[2] + dealin::kPartOfNibble[nibbles >> 8 & 15u]] += outcome.change[2];
    points_[pointsAt_[3] + dealin::kPartOfNibble[nibbles >> 12]] += outcome.change[3];
    if ((outcome.dealtIn & (ownMask_ | fieldMask_)) != 0) AddDealIn(selected, view);
}

}  // namespace obrenta::tally
