#include "tally/SummaryStats.h"

#include "tally/Rating.h"

namespace obrenta::tally {

GameSummaryResults GameSummaryAccumulator::Finish() const {
    if (games_ < 1) {
        return {};
    }
    GameSummaryResults result;
    result.gameCount = games_;
    result.totalHandCount = static_cast<std::int32_t>(hands_);
    result.avgHandsPerGame = static_cast<double>(hands_) / games_;
    result.shortestGameSeconds = shortest_;
    result.longestGameSeconds = longest_;
    result.avgGameSeconds = totalSeconds_ / games_;
    result.totalGameSeconds = totalSeconds_;
    return result;
}

RatingResults RatingAccumulator::Finish() const {
    if (games_ < 1) {
        return {};
    }
    const double n = games_;
    RatingResults result;
    result.ownRMin = own_.min;
    result.ownRMax = own_.max;
    result.ownRLast = ownLast_;
    result.ownRMean = own_.sum / n;
    result.ownRDeviation = stat::Deviation(own_.squareSum, own_.sum, n);
    result.opponentSeatCount = opponents_.count;
    result.opponentRMin = opponents_.min;
    result.opponentRMax = opponents_.max;
    if (opponents_.count > 0) {
        result.opponentRMean = opponents_.sum / opponents_.count;
        result.opponentRDeviation = stat::Deviation(opponents_.squareSum, opponents_.sum, opponents_.count);
    }
    result.predictedR = PredictedR(result.opponentRMean, rankSum_ / n);
    return result;
}

PointsResults PointsAccumulator::Finish() const {
    if (games_ < 1) {
        return {};
    }
    const double n = games_;
    PointsResults result;
    result.pointsMax = max_;
    result.pointsMin = min_;
    result.pointsTotal = static_cast<std::int32_t>(sum_);
    result.pointsMean = static_cast<double>(sum_) / n;
    result.pointsDeviation = stat::Deviation(squareSum_, static_cast<double>(sum_), n);
    return result;
}

RankResults RankAccumulator::Finish() const {
    if (games_ < 1) {
        return {};
    }
    RankResults result = counts_;
    for (int rank = 1; rank <= 4; ++rank) {
        result.rankRate[rank] = stat::Rate(result.rankCount[rank], games_);
    }
    result.avgRank = rankSum_ / games_;
    result.yakitoriRate = stat::Rate(result.yakitoriCount, games_);
    result.boxOutRate = stat::Rate(result.boxOutCount, games_);
    return result;
}

}  // namespace obrenta::tally
