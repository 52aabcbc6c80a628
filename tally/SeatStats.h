#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "base/LocalTime.h"
#include "tally/PoolTable.h"
#include "tally/SelectedGame.h"
#include "tally/StatHelpers.h"

// Statistics drawn from the seats: results against each opponent, by hour of the day, and the
// R histograms.
namespace obrenta::tally {

struct OpponentStats {
    std::int32_t games = 0;
    double avgUserRank = 0;
    double avgOpponentRank = 0;
    double avgOpponentR = 0;
    std::int32_t wins = 0;
    std::int32_t losses = 0;
    std::int32_t ties = 0;
};

// Keyed by the code page 932 bytes; std::string compares them as unsigned bytes.
using OpponentMap = std::map<std::string, OpponentStats>;

struct OpponentResults {
    OpponentMap opponentStats;
};

class OpponentAccumulator {
public:
    using Result = OpponentResults;

    void Add(const SelectedGame& selected) {
        const scorelog::GameRecord& game = selected.game;
        const int seatLimit = stat::SeatLimit(game);
        const int userRank = selected.user().rank;
        PoolSums<Sums>& sums = pools_.For(game.names.get());
        for (int k = 0; k < seatLimit; ++k) {
            const scorelog::SeatResult& seat = game.seats[k];
            if (k == selected.userSeat) {
                continue;
            }
            if (Sums* opponent = sums.At(seat.name)) {
                ++opponent->games;
                opponent->userRankSum += userRank;
                opponent->opponentRankSum += seat.rank;
                opponent->ratingSum += seat.rating;
                if (userRank < seat.rank) {
                    ++opponent->wins;
                } else if (userRank > seat.rank) {
                    ++opponent->losses;
                } else {
                    ++opponent->ties;
                }
            }
        }
    }
    Result Finish() const;

private:
    struct Sums {
        std::int32_t games = 0;
        std::int32_t wins = 0;
        std::int32_t losses = 0;
        std::int32_t ties = 0;
        double userRankSum = 0;
        double opponentRankSum = 0;
        double ratingSum = 0;
    };

    PoolTable<Sums> pools_;
};

struct HourStats {
    std::int32_t games = 0;
    std::array<std::int32_t, 5> rankCount{};  // [1..4]
    double avgRank = 0;                       // 0 when the hour has no game
    double avgPoints = 0;                     // 0 when the hour has no game
};

struct HourResults {
    std::array<HourStats, 24> hourStats{};  // by the local hour of the start
};

class HourAccumulator {
public:
    using Result = HourResults;

    void Add(const SelectedGame& selected) {
        const int rank = selected.user().rank;
        Sums& hour = hours_[hourOfDay_.Hour(selected.game.startTime)];
        ++hour.games;
        ++hour.rankCount[rank];
        hour.rankSum += rank;
        hour.pointsSum += selected.user().points;
    }
    Result Finish() const;

private:
    struct Sums {
        std::int32_t games = 0;
        std::array<std::int32_t, 5> rankCount{};
        double rankSum = 0;
        double pointsSum = 0;
    };

    base::HourOfDay hourOfDay_;
    std::array<Sums, 24> hours_{};
};

inline constexpr int kHistogramBins = 300;

// Counter b counts the R values from 10b to 10b + 9.
struct HistogramResults {
    std::array<std::int32_t, kHistogramBins> ownRHistogram{};
    std::array<std::int32_t, kHistogramBins> opponentRHistogram{};
};

class HistogramAccumulator {
public:
    using Result = HistogramResults;

    void Add(const SelectedGame& selected) {
        const int seatLimit = stat::SeatLimit(selected.game);
        for (int k = 0; k < seatLimit; ++k) {
            const int bin = selected.game.seats[k].rating / 10;
            if (bin >= 0 && bin < kHistogramBins) {
                ++(k == selected.userSeat ? counts_.ownRHistogram : counts_.opponentRHistogram)[bin];
            }
        }
    }
    Result Finish() const { return counts_; }

private:
    HistogramResults counts_;
};

}  // namespace obrenta::tally
