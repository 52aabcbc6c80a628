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
    const double games = games_;
    RatingResults result;
    result.ownRMin = own_.min;
    result.ownRMax = own_.max;
    result.ownRLast = ownLast_;
    result.ownRMean = own_.sum / games;
    result.ownRDeviation = stat::Deviation(own_.squareSum, own_.sum, games);
    result.opponentSeatCount = opponents_.count;
    result.opponentRMin = opponents_.min;
    result.opponentRMax = opponents_.max;
    if (opponents_.count > 0) {
        result.opponentRMean = opponents_.sum / opponents_.count;
        result.opponentRDeviation = stat::Deviation(opponents_.squareSum, opponents_.sum, opponents_.count);
    }
    result.predictedR = PredictedR(result.opponentRMean, rankSum_ / games);
    return result;
}

PointsResults PointsAccumulator::Finish() const {
    if (games_ < 1) {
        return {};
    }
    const double games = games_;
    PointsResults result;
    result.pointsMax = max_;
    result.pointsMin = min_;
    result.pointsTotal = static_cast<std::int32_t>(sum_);
    result.pointsMean = static_cast<double>(sum_) / games;
    result.pointsDeviation = stat::Deviation(squareSum_, static_cast<double>(sum_), games);
    return result;
}

RankResults RankAccumulator::Finish() const {
    if (games_ < 1) {
        return {};
    }
    RankResults result;
    result.rankCount = rankCount_;
    for (int rank = 1; rank <= 4; ++rank) {
        result.rankRate[rank] = stat::Rate(rankCount_[rank], games_);
        result.currentRankStreak[rank] = rankStreaks_[rank].current;
        result.longestRankStreak[rank] = rankStreaks_[rank].longest;
        result.currentNoRankStreak[rank] = rankStreaks_[rank].currentNo;
        result.longestNoRankStreak[rank] = rankStreaks_[rank].longestNo;
    }
    result.avgRank = rankSum_ / games_;
    result.yakitoriCount = yakitoriCount_;
    result.yakitoriRate = stat::Rate(yakitoriCount_, games_);
    result.currentYakitoriStreak = yakitori_.current;
    result.longestYakitoriStreak = yakitori_.longest;
    result.currentNoYakitoriStreak = yakitori_.currentNo;
    result.longestNoYakitoriStreak = yakitori_.longestNo;
    result.boxOutCount = boxOutCount_;
    result.boxOutRate = stat::Rate(boxOutCount_, games_);
    result.currentBoxOutStreak = boxOut_.current;
    result.longestBoxOutStreak = boxOut_.longest;
    result.currentNoBoxOutStreak = boxOut_.currentNo;
    result.longestNoBoxOutStreak = boxOut_.longestNo;
    return result;
}

}  // namespace obrenta::tally
