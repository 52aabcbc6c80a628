#include "tally/PeriodStats.h"

#include <algorithm>
#include <cmath>

#include "tally/Intervals.h"
#include "tally/Rating.h"

namespace obrenta::tally {

void RankSums::Add(const SelectedGame& selected, std::int64_t at) {
    const scorelog::GameRecord& game = selected.game;
    const scorelog::SeatResult& user = selected.user();
    const int rank = std::clamp(user.rank, 1, 4);
    if (games == 0 || at < firstAt) {
        firstR = user.rating;
        firstAt = at;
    }
    if (games == 0 || at > lastAt) {
        lastR = user.rating;
        lastAt = at;
    }
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

void RankSums::Merge(const RankSums& other) {
    if (other.games == 0) return;
    if (games == 0 || other.firstAt < firstAt) {
        firstR = other.firstR;
        firstAt = other.firstAt;
    }
    if (games == 0 || other.lastAt > lastAt) {
        lastR = other.lastR;
        lastAt = other.lastAt;
    }
    games += other.games;
    for (std::size_t r = 0; r < rankCount.size(); ++r) rankCount[r] += other.rankCount[r];
    yakitoriCount += other.yakitoriCount;
    boxOutCount += other.boxOutCount;
    rankSum += other.rankSum;
    rankSquareSum += other.rankSquareSum;
    pointsTotal += other.pointsTotal;
    opponentRSum += other.opponentRSum;
    opponentSeatCount += other.opponentSeatCount;
}

namespace {

MeanEstimate RankMean(const RankSums& sums) {
    return MeanOf(sums.rankSum, sums.rankSquareSum, sums.games);
}

}  // namespace

PeriodStats StatsOf(const RankSums& sums) {
    PeriodStats stats;
    if (sums.games < 1) return stats;
    const double n = sums.games;
    stats.games = sums.games;
    const MeanEstimate rank = RankMean(sums);
    stats.avgRank = rank.value;
    stats.hasInterval = rank.hasInterval;
    stats.rankHalfWidth = rank.halfWidth;
    stats.rankCount = sums.rankCount;
    for (int r = 1; r <= 4; ++r) stats.rankRate[r] = stat::Rate(sums.rankCount[r], sums.games);
    stats.yakitoriRate = stat::Rate(sums.yakitoriCount, sums.games);
    stats.boxOutRate = stat::Rate(sums.boxOutCount, sums.games);
    stats.pointsTotal = static_cast<std::int32_t>(sums.pointsTotal);
    stats.pointsMean = static_cast<double>(sums.pointsTotal) / n;
    stats.firstR = sums.firstR;
    stats.lastR = sums.lastR;
    stats.rChange = std::int64_t{sums.lastR} - sums.firstR;
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
    for (std::size_t i = 0; i < games.size(); ++i) {
        (i < split ? earlier : recent).Add(games[i], static_cast<std::int64_t>(i));
    }
    form.recent = StatsOf(recent);
    form.earlier = StatsOf(earlier);
    const Estimate difference = WelchDifference(RankMean(recent), RankMean(earlier));
    form.comparable = difference.hasInterval;
    if (!form.comparable) return form;
    form.rankDifference = difference.value;
    form.differenceHalfWidth = difference.halfWidth;
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
