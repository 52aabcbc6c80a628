#include "tally/HandStats.h"

#include "tally/StatHelpers.h"

namespace obrenta::tally {

HandOutcomeStats HandAccumulator::OutcomeSums::Finish(std::int64_t hands) const {
    HandOutcomeStats stats;
    stats.count = count;
    if (count >= 1) {
        stats.rate = stat::Rate(count, hands);
        stats.avgPointChange = changeSum / count;
    }
    return stats;
}

HandResults HandAccumulator::Finish() const {
    HandResults result;
    result.ownWinCount = ownWins_;
    result.otherWinCount = otherWins_;
    result.ownWinRate = stat::Rate(ownWins_, hands_);
    result.otherWinRate = stat::Rate(otherWins_, hands_);
    result.ownHanCount = ownHan_;
    result.otherHanCount = otherHan_;
    for (int han = 1; han < scorelog::kHanClassCount; ++han) {
        result.ownHanRateOfHands[han] = stat::Rate(ownHan_[han], hands_);
        result.otherHanRateOfHands[han] = stat::Rate(otherHan_[han], hands_);
        result.ownHanRateOfWins[han] = stat::Rate(ownHan_[han], ownWins_);
        result.otherHanRateOfWins[han] = stat::Rate(otherHan_[han], otherWins_);
    }
    for (int change = 0; change < kPointChangeCount; ++change) {
        for (int kind = 0; kind < scorelog::kHandKindCount; ++kind) {
            result.handOutcome[change][kind] = outcome_[change][kind].Finish(hands_);
        }
        result.handOutcomeTotal[change] = outcomeTotal_[change].Finish(hands_);
    }
    return result;
}

YakuResults YakuAccumulator::Finish() const {
    YakuResults result;
    // Same names from different pools are the same name: merge them by their bytes.
    for (const auto& table : pools_.All()) {
        if (table->pool == nullptr) {
            continue;
        }
        const scorelog::NamePool& names = *table->pool;
        for (scorelog::NameId id = 0; id < table->byName.size(); ++id) {
            const Counts& counts = table->byName[id];
            if (counts.own != 0) {
                result.ownYaku[std::string(names.View(id))].count += counts.own;
            }
            if (counts.other != 0) {
                result.otherYaku[std::string(names.View(id))].count += counts.other;
            }
        }
    }
    for (auto& [name, yaku] : result.ownYaku) {
        yaku.rateOfHands = stat::Rate(yaku.count, hands_);
        yaku.rateOfWins = stat::Rate(yaku.count, ownWins_);
    }
    for (auto& [name, yaku] : result.otherYaku) {
        yaku.rateOfHands = stat::Rate(yaku.count, hands_);
        yaku.rateOfWins = stat::Rate(yaku.count, otherWins_);
    }
    return result;
}

LastHandStats LastHandAccumulator::Finish() const {
    LastHandStats result;
    if (games_ < 1) {
        return result;
    }
    result.rankTransition = rankTransition_;
    result.rankTransitionWon = rankTransitionWon_;
    double changeAll = 0;
    double changeAllWon = 0;
    for (int pre = 1; pre <= 4; ++pre) {
        double change = 0;
        double changeWon = 0;
        for (int rank = 1; rank <= 4; ++rank) {
            const std::int32_t won = rankTransitionWon_[pre][rank];
            result.preLastRankCount[pre] += rankTransition_[pre][rank];
            result.preLastRankWonCount[pre] += won;
            result.lastHandWinCount += won;
            result.lastHandWinByFinalRank[rank] += won;
            change += (rank - pre) * rankTransition_[pre][rank];
            changeWon += (rank - pre) * won;
        }
        result.avgRankChange[pre] = stat::Quotient(change, result.preLastRankCount[pre]);
        result.avgRankChangeWon[pre] = stat::Quotient(changeWon, result.preLastRankWonCount[pre]);
        changeAll += change;
        changeAllWon += changeWon;
    }
    result.avgRankChangeAll = stat::Quotient(changeAll, games_);
    result.avgRankChangeAllWon = stat::Quotient(changeAllWon, result.lastHandWinCount);
    return result;
}

}  // namespace obrenta::tally
