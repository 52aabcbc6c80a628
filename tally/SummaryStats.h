#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "tally/HandWalk.h"
#include "tally/SelectedGame.h"
#include "tally/StatHelpers.h"

// The summary of the general page: game counts and lengths, R, points, ranks and streaks.
namespace obrenta::tally {

struct GameSummaryResults {
    std::int32_t gameCount = 0;
    std::int32_t totalHandCount = 0;
    double avgHandsPerGame = 0;
    std::int64_t shortestGameSeconds = 0;
    std::int64_t longestGameSeconds = 0;
    std::int64_t avgGameSeconds = 0;
    std::int64_t totalGameSeconds = 0;
};

class GameSummaryAccumulator {
public:
    using Result = GameSummaryResults;

    void Add(const SelectedGame& selected, const HandWalk& walk) {
        ++games_;
        hands_ += walk.hands;
        const std::int64_t length = selected.game.GameSeconds();
        shortest_ = std::min(shortest_, length);
        longest_ = std::max(longest_, length);
        totalSeconds_ += length;
    }
    Result Finish() const;

private:
    std::int32_t games_ = 0;
    std::int64_t hands_ = 0;
    std::int64_t shortest_ = 36000;
    std::int64_t longest_ = 0;
    std::int64_t totalSeconds_ = 0;
};

struct RatingResults {
    std::int32_t ownRMin = 0;
    std::int32_t ownRMax = 0;
    std::int32_t ownRLast = 0;
    double ownRMean = 0;
    double ownRDeviation = 0;
    std::int32_t opponentSeatCount = 0;
    std::int32_t opponentRMin = 0;
    std::int32_t opponentRMax = 0;
    double opponentRMean = 0;
    double opponentRDeviation = 0;
    double predictedR = 0;
};

class RatingAccumulator {
public:
    using Result = RatingResults;

    void Add(const SelectedGame& selected) {
        const scorelog::GameRecord& game = selected.game;
        const int seatLimit = stat::SeatLimit(game);
        ++games_;
        rankSum_ += selected.user().rank;
        for (int k = 0; k < seatLimit; ++k) {
            const std::int32_t rating = game.seats[k].rating;
            if (k == selected.userSeat) {
                own_.Add(rating);
                ownLast_ = rating;
            } else {
                opponents_.Add(rating);
            }
        }
    }
    Result Finish() const;

private:
    struct Sums {
        std::int32_t count = 0;
        std::int32_t min = 10000;
        std::int32_t max = 0;
        double sum = 0;
        double squareSum = 0;

        void Add(std::int32_t rating) {
            ++count;
            sum += rating;
            squareSum += stat::Square(rating);
            max = std::max(max, rating);
            min = std::min(min, rating);
        }
    };

    std::int32_t games_ = 0;
    // The predicted R needs the mean rank too; summed here so that the family finishes alone.
    double rankSum_ = 0;
    std::int32_t ownLast_ = 0;
    Sums own_;
    Sums opponents_;
};

struct PointsResults {
    std::int32_t pointsMax = 0;
    std::int32_t pointsMin = 0;
    std::int32_t pointsTotal = 0;
    double pointsMean = 0;
    double pointsDeviation = 0;
};

class PointsAccumulator {
public:
    using Result = PointsResults;

    void Add(const SelectedGame& selected) {
        const std::int32_t points = selected.user().points;
        ++games_;
        max_ = std::max(max_, points);
        min_ = std::min(min_, points);
        sum_ += points;
        squareSum_ += stat::Square(points);
    }
    Result Finish() const;

private:
    std::int32_t games_ = 0;
    std::int32_t max_ = -10000;
    std::int32_t min_ = 10000;
    std::int64_t sum_ = 0;
    double squareSum_ = 0;
};

// Ranks and the streaks of ranks, yakitori and box-outs. Arrays by rank are indexed 1..4.
struct RankResults {
    std::array<std::int32_t, 5> rankCount{};
    std::array<double, 5> rankRate{};
    double avgRank = 0;
    std::array<std::int32_t, 5> currentRankStreak{};
    std::array<std::int32_t, 5> currentNoRankStreak{};
    std::array<std::int32_t, 5> longestRankStreak{};
    std::array<std::int32_t, 5> longestNoRankStreak{};
    std::int32_t yakitoriCount = 0;
    double yakitoriRate = 0;
    std::int32_t currentYakitoriStreak = 0;
    std::int32_t longestYakitoriStreak = 0;
    std::int32_t currentNoYakitoriStreak = 0;
    std::int32_t longestNoYakitoriStreak = 0;
    std::int32_t boxOutCount = 0;
    double boxOutRate = 0;
    std::int32_t currentBoxOutStreak = 0;
    std::int32_t longestBoxOutStreak = 0;
    std::int32_t currentNoBoxOutStreak = 0;
    std::int32_t longestNoBoxOutStreak = 0;
};

class RankAccumulator {
public:
    using Result = RankResults;

    void Add(const SelectedGame& selected) {
        const int rank = selected.user().rank;
        const int seatLimit = stat::SeatLimit(selected.game);
        ++games_;
        ++rankCount_[rank];
        rankSum_ += rank;
        // A three-player game has no fourth place; its streaks neither grow nor break there.
        for (int j = 1; j <= seatLimit; ++j) {
            rankStreaks_[j].Add(rank == j);
        }
        yakitoriCount_ += selected.yakitori ? 1 : 0;
        yakitori_.Add(selected.yakitori);
        boxOutCount_ += selected.boxedOut ? 1 : 0;
        boxOut_.Add(selected.boxedOut);
    }
    Result Finish() const;

private:
    std::int32_t games_ = 0;
    std::array<std::int32_t, 5> rankCount_{};
    double rankSum_ = 0;
    std::array<stat::Streak, 5> rankStreaks_{};
    std::int32_t yakitoriCount_ = 0;
    stat::Streak yakitori_;
    std::int32_t boxOutCount_ = 0;
    stat::Streak boxOut_;
};

}  // namespace obrenta::tally
