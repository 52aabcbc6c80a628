#include "tally/SeatStats.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

namespace obrenta::tally {

OpponentResults OpponentAccumulator::Finish() const {
    // Same names from different pools are the same name: sorted by their bytes, the sums of one
    // name lie side by side, in the order of their pools.
    std::vector<std::pair<std::string_view, const Sums*>> named;
    for (const auto& table : pools_.All()) {
        if (table->pool == nullptr) {
            continue;
        }
        for (scorelog::NameId id = 0; id < table->byName.size(); ++id) {
            if (table->byName[id].games != 0) {
                named.emplace_back(table->pool->View(id), &table->byName[id]);
            }
        }
    }
    std::stable_sort(named.begin(), named.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    OpponentResults result;
    for (auto it = named.begin(); it != named.end();) {
        Sums sums;
        const std::string_view name = it->first;
        for (; it != named.end() && it->first == name; ++it) {
            const Sums& fromPool = *it->second;
            sums.games += fromPool.games;
            sums.userRankSum += fromPool.userRankSum;
            sums.opponentRankSum += fromPool.opponentRankSum;
            sums.ratingSum += fromPool.ratingSum;
            sums.wins += fromPool.wins;
            sums.losses += fromPool.losses;
            sums.ties += fromPool.ties;
        }
        OpponentStats& stats =
            result.opponentStats.emplace_hint(result.opponentStats.end(), name, OpponentStats{})->second;
        stats.games = sums.games;
        stats.avgUserRank = sums.userRankSum / sums.games;
        stats.avgOpponentRank = sums.opponentRankSum / sums.games;
        stats.avgOpponentR = sums.ratingSum / sums.games;
        stats.wins = sums.wins;
        stats.losses = sums.losses;
        stats.ties = sums.ties;
    }
    return result;
}

HourResults HourAccumulator::Finish() const {
    HourResults result;
    for (std::size_t h = 0; h < hours_.size(); ++h) {
        const Sums& sums = hours_[h];
        HourStats& hour = result.hourStats[h];
        hour.games = sums.games;
        hour.rankCount = sums.rankCount;
        if (sums.games >= 1) {
            hour.avgRank = sums.rankSum / sums.games;
            hour.avgPoints = sums.pointsSum / sums.games;
        }
    }
    return result;
}

}  // namespace obrenta::tally
