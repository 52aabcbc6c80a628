#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "tally/HandWalk.h"
#include "tally/PoolTable.h"
#include "tally/SelectedGame.h"

// Statistics drawn from the hands: outcomes by kind, win values, yaku and the last hand.
namespace obrenta::tally {

// The user's score movement in one hand.
enum class PointChange : int { Gain = 0, Unchanged = 1, Loss = 2 };
inline constexpr int kPointChangeCount = 3;

struct HandOutcomeStats {
    std::int32_t count = 0;
    double rate = 0;
    std::int64_t avgPointChange = 0;  // truncated toward zero
};

// Wins by value class, indexed by HanClass; class None is counted but gets no rate.
struct HanClassStats {
    std::array<std::int32_t, scorelog::kHanClassCount> ownHanCount{};
    std::array<std::int32_t, scorelog::kHanClassCount> otherHanCount{};
    std::array<double, scorelog::kHanClassCount> ownHanRateOfHands{};
    std::array<double, scorelog::kHanClassCount> otherHanRateOfHands{};
    std::array<double, scorelog::kHanClassCount> ownHanRateOfWins{};
    std::array<double, scorelog::kHanClassCount> otherHanRateOfWins{};
};

struct HandResults : HanClassStats {
    // handOutcome[PointChange][HandKind]
    std::array<std::array<HandOutcomeStats, scorelog::kHandKindCount>, kPointChangeCount> handOutcome{};
    std::array<HandOutcomeStats, kPointChangeCount> handOutcomeTotal{};
    std::int32_t ownWinCount = 0;
    std::int32_t otherWinCount = 0;
    double ownWinRate = 0;
    double otherWinRate = 0;
};

class HandAccumulator {
public:
    using Result = HandResults;

    void AddHand(const SelectedGame&, const HandView& hand) {
        if (hand.ownWin) {
            ++ownWins_;
            ++ownHan_[hand.hanClass];
        } else if (hand.win) {
            ++otherWins_;
            ++otherHan_[hand.hanClass];
        }
        const int change = hand.userChange > 0   ? static_cast<int>(PointChange::Gain)
                           : hand.userChange < 0 ? static_cast<int>(PointChange::Loss)
                                                 : static_cast<int>(PointChange::Unchanged);
        outcome_[change][hand.kind].Add(hand.userChange);
        outcomeTotal_[change].Add(hand.userChange);
    }
    void Add(const SelectedGame&, const HandWalk& walk) { hands_ += walk.hands; }
    Result Finish() const;

private:
    struct OutcomeSums {
        std::int32_t count = 0;
        std::int64_t changeSum = 0;

        void Add(std::int32_t change) {
            ++count;
            changeSum += change;
        }
        HandOutcomeStats Finish(std::int64_t hands) const;
    };

    std::int64_t hands_ = 0;
    std::int32_t ownWins_ = 0;
    std::int32_t otherWins_ = 0;
    std::array<std::int32_t, scorelog::kHanClassCount> ownHan_{};
    std::array<std::int32_t, scorelog::kHanClassCount> otherHan_{};
    std::array<std::array<OutcomeSums, scorelog::kHandKindCount>, kPointChangeCount> outcome_{};
    std::array<OutcomeSums, kPointChangeCount> outcomeTotal_{};
};

struct YakuStats {
    std::int32_t count = 0;
    double rateOfHands = 0;
    double rateOfWins = 0;
};

// Keyed by the code page 932 bytes; std::string compares them as unsigned bytes.
using YakuMap = std::map<std::string, YakuStats>;

struct YakuResults {
    YakuMap ownYaku;
    YakuMap otherYaku;
};

class YakuAccumulator {
public:
    using Result = YakuResults;

    void AddHand(const SelectedGame& selected, const HandView& hand) {
        if (!hand.win) {
            return;
        }
        ++(hand.ownWin ? ownWins_ : otherWins_);
        PoolSums<Counts>& counts = pools_.For(selected.game.names.get());
        // A yaku listed twice in one hand counts twice.
        for (scorelog::NameId yaku : hand.hand.yaku) {
            if (Counts* yakuCounts = counts.At(yaku)) {
                ++(hand.ownWin ? yakuCounts->own : yakuCounts->other);
            }
        }
    }
    void Add(const SelectedGame&, const HandWalk& walk) { hands_ += walk.hands; }
    Result Finish() const;

private:
    struct Counts {
        std::int32_t own = 0;
        std::int32_t other = 0;
    };

    std::int64_t hands_ = 0;
    std::int32_t ownWins_ = 0;
    std::int32_t otherWins_ = 0;
    PoolTable<Counts> pools_;
};

// The last hand of each game: arrays by rank are indexed 1..4, [pre-last rank][final rank].
struct LastHandStats {
    std::array<std::array<std::int32_t, 5>, 5> rankTransition{};
    std::array<std::array<std::int32_t, 5>, 5> rankTransitionWon{};
    std::array<std::int32_t, 5> preLastRankCount{};
    std::array<std::int32_t, 5> preLastRankWonCount{};
    std::int32_t lastHandWinCount = 0;
    std::array<std::int32_t, 5> lastHandWinByFinalRank{};
    std::array<double, 5> avgRankChange{};
    std::array<double, 5> avgRankChangeWon{};
    double avgRankChangeAll = 0;
    double avgRankChangeAllWon = 0;
};

class LastHandAccumulator {
public:
    using Result = LastHandStats;

    void Add(const SelectedGame& selected, const HandWalk& walk) {
        const int pre = walk.preLastRank;
        const int rank = selected.user().rank;
        ++games_;
        ++rankTransition_[pre][rank];
        rankTransitionWon_[pre][rank] += walk.lastHandWon ? 1 : 0;
    }
    Result Finish() const;

private:
    std::int32_t games_ = 0;
    // Every count of the result is a sum over these two.
    std::array<std::array<std::int32_t, 5>, 5> rankTransition_{};
    std::array<std::array<std::int32_t, 5>, 5> rankTransitionWon_{};
};

}  // namespace obrenta::tally
