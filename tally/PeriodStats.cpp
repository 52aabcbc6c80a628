#include "tally/PeriodStats.h"

#include <algorithm>
#include <cmath>

#include "tally/Rating.h"

namespace obrenta::tally {

void RankSums::Add(const SelectedGame& selected) {
    const scorelog::GameRecord& game = selected.game;
    const scorelog::SeatResult& user = selected.user();
    const int rank = std::clamp(user.rank, 1, 4);
    if (games == 0) firstR = user.rating;
    lastR = user.rating;
    ++games;
    ++rankCount[rank];
    rankSum += rank;
    rankSquareSum += rank * rank;
    pointsTotal += user.points;
    yakitoriCount += selected.yakitori ? 1 : 0;
    boxOutCount += selected.boxedOut ? 1 : 0;
    const int seatLimit = stat::SeatLimit(game);
    for (int k = 0; k < seatLimit; ++k) {
        if (k != selected.userSeat) {
            opponentRSum += game.seats[k].rating;
            ++opponentSeatCount;
        }
    }
}

void RankSums::Merge(const RankSums& later) {
    if (later.games == 0) return;
    if (games == 0) firstR = later.firstR;
    lastR = later.lastR;
    games += later.games;
    for (std::size_t r = 0; r < rankCount.size(); ++r) rankCount[r] += later.rankCount[r];
    yakitoriCount += later.yakitoriCount;
    boxOutCount += later.boxOutCount;
    rankSum += later.rankSum;
    rankSquareSum += later.rankSquareSum;
    pointsTotal += later.pointsTotal;
    opponentRSum += later.opponentRSum;
    opponentSeatCount += later.opponentSeatCount;
}

double RankVariance(const RankSums& sums) {
    if (sums.games < 2) return 0;
    const double n = sums.games;
    const double variance = (sums.rankSquareSum - sums.rankSum * sums.rankSum / n) / (n - 1);
    return variance > 0 ? variance : 0;
}

PeriodStats StatsOf(const RankSums& sums) {
    PeriodStats stats;
    if (sums.games < 1) return stats;
    const double n = sums.games;
    stats.games = sums.games;
    stats.avgRank = sums.rankSum / n;
    stats.hasInterval = sums.games >= 2;
    stats.rankHalfWidth = kZ95 * std::sqrt(RankVariance(sums)) / std::sqrt(n);
    stats.rankCount = sums.rankCount;
    for (int r = 1; r <= 4; ++r) stats.rankRate[r] = stat::Rate(sums.rankCount[r], sums.games);
    stats.yakitoriRate = stat::Rate(sums.yakitoriCount, sums.games);
    stats.boxOutRate = stat::Rate(sums.boxOutCount, sums.games);
    stats.pointsTotal = static_cast<std::int32_t>(sums.pointsTotal);
    stats.pointsMean = static_cast<double>(sums.pointsTotal) / n;
    stats.firstR = sums.firstR;
    stats.lastR = sums.lastR;
    stats.rChange = sums.lastR - sums.firstR;
    const double opponentRMean = stat::Quotient(sums.opponentRSum, sums.opponentSeatCount);
    stats.predictedR = PredictedR(opponentRMean, stats.avgRank);
    stats.predictedRHalfWidth = 1200 * stats.rankHalfWidth;
    return stats;
}

PeriodResults PeriodAccumulator::Finish() const {
    PeriodResults result;
    RankSums all;
    std::map<int, RankSums> byYear;
    for (const auto& [key, sums] : byMonth_) {
        PeriodStats& month = result.monthlyPeriods.emplace_back(StatsOf(sums));
        month.year = key / 12;
        month.month = key % 12 + 1;
        byYear[key / 12].Merge(sums);
        all.Merge(sums);
    }
    for (const auto& [year, sums] : byYear) {
        result.yearlyPeriods.emplace_back(StatsOf(sums)).year = year;
    }
    if (all.games > 0) result.middleRank = middleRankSum_ / all.games;
    return result;
}

FormComparison CompareForm(const std::vector<SelectedGame>& games, std::int32_t recentGames) {
    FormComparison form;
    form.recentGames = std::max(recentGames, 0);
    const std::size_t split =
        games.size() - std::min(games.size(), static_cast<std::size_t>(form.recentGames));
    RankSums earlier;
    RankSums recent;
    for (std::size_t i = 0; i < games.size(); ++i) (i < split ? earlier : recent).Add(games[i]);
    form.recent = StatsOf(recent);
    form.earlier = StatsOf(earlier);
    form.comparable = recent.games >= 2 && earlier.games >= 2;
    if (!form.comparable) return form;
    form.rankDifference = form.recent.avgRank - form.earlier.avgRank;
    form.differenceHalfWidth =
        kZ95 * std::sqrt(RankVariance(recent) / recent.games + RankVariance(earlier) / earlier.games);
    if (form.rankDifference + form.differenceHalfWidth < 0) {
        form.verdict = FormComparison::Verdict::Better;
    } else if (form.rankDifference - form.differenceHalfWidth > 0) {
        form.verdict = FormComparison::Verdict::Worse;
    } else {
        form.verdict = FormComparison::Verdict::Chance;
    }
    return form;
}

}  // namespace obrenta::tally
