#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "base/LocalTime.h"
#include "tally/SelectedGame.h"
#include "tally/StatHelpers.h"

// Results by calendar month and year of the local start time, with 95% intervals, and the most
// recent games against all earlier ones.
namespace obrenta::tally {

// What one group of games adds up to; months are merged into years and the form box's sides.
struct RankSums {
    std::int32_t games = 0;
    std::array<std::int32_t, 5> rankCount{};  // [1..4]
    std::int32_t yakitoriCount = 0;
    std::int32_t boxOutCount = 0;
    double rankSum = 0;
    double rankSquareSum = 0;
    std::int64_t pointsTotal = 0;
    // The user's R at the group's first and last game in the selection's order, and those
    // games' places in it (a year merges months that need not follow each other in it).
    std::int32_t firstR = 0;
    std::int32_t lastR = 0;
    std::int64_t firstAt = 0;
    std::int64_t lastAt = 0;
    double opponentRSum = 0;
    std::int32_t opponentSeatCount = 0;

    // at: the game's place in the selection.
    void Add(const SelectedGame& selected, std::int64_t at);
    void Merge(const RankSums& other);
};

struct PeriodStats {
    std::int32_t year = 0;
    std::int32_t month = 0;  // 1..12; 0 for a whole year
    std::int32_t games = 0;
    double avgRank = 0;
    // t(0.975, n − 1) s / sqrt(n) with s the sample deviation of the ranks; valid from two
    // games on.
    double rankHalfWidth = 0;
    bool hasInterval = false;
    std::array<std::int32_t, 5> rankCount{};
    std::array<double, 5> rankRate{};
    double yakitoriRate = 0;
    double boxOutRate = 0;
    double pointsMean = 0;
    std::int32_t pointsTotal = 0;
    std::int32_t firstR = 0;
    std::int32_t lastR = 0;
    std::int64_t rChange = 0;  // lastR − firstR, which a 32-bit difference can overflow
    double predictedR = 0;
    double predictedRHalfWidth = 0;  // 1200 times the rank's half-width
};

// The statistics of a group of games from its sums; all 0 for no game.
PeriodStats StatsOf(const RankSums& sums);

struct PeriodResults {
    std::vector<PeriodStats> monthlyPeriods;  // oldest first
    std::vector<PeriodStats> yearlyPeriods;   // oldest first
    // The mean over the games of their tables' middle rank (2.5 with four players, 2 with three).
    double middleRank = 0;
};

class PeriodAccumulator {
public:
    using Result = PeriodResults;

    void Add(const SelectedGame& selected) {
        const int month = months_.Month(selected.game.startTime);
        if (current_ == nullptr || month != currentMonth_) {
            current_ = &byMonth_[month];
            currentMonth_ = month;
        }
        current_->Add(selected, added_++);
        middleRankSum_ += (stat::SeatLimit(selected.game) + 1) * 0.5;
    }
    Result Finish() const;

private:
    base::MonthOfTime months_;
    std::map<int, RankSums> byMonth_;  // year * 12 + month - 1
    RankSums* current_ = nullptr;
    int currentMonth_ = 0;
    std::int64_t added_ = 0;
    double middleRankSum_ = 0;
};

// The most recent games of the selection against all the earlier ones.
struct FormComparison {
    std::int32_t recentGames = 0;  // the N asked for
    PeriodStats recent;
    PeriodStats earlier;
    // recent minus earlier: below 0 is better. Comparable when both sides have two games or
    // more and not both have all ranks equal.
    bool comparable = false;
    double rankDifference = 0;
    // Welch: t(0.975, ν) sqrt(s1²/n1 + s2²/n2), ν by Welch–Satterthwaite.
    double differenceHalfWidth = 0;
    enum class Verdict { None, Better, Worse, Chance } verdict = Verdict::None;
};

// The newest recentGames selected games against the ones before them; a negative count is 0.
FormComparison CompareForm(const std::vector<SelectedGame>& games, std::int32_t recentGames);

}  // namespace obrenta::tally
