#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "scorelog/GameRecord.h"

// Small arithmetic shared by the accumulators.
namespace obrenta::tally::stat {

// Seats the tally may look at: a damaged record never sends a loop past the fourth seat.
inline int SeatLimit(const scorelog::GameRecord& game) {
    return std::clamp(game.playerCount, 0, 4);
}

// The field of a game, as a mask with bit k for seat k: every seat other than the user's among
// the game's first playerCount (at most four) whose name is neither empty nor the user's. The
// 打ち筋 and 放銃 pages set the user beside these seats.
inline unsigned FieldMask(const scorelog::GameRecord& game, int userSeat) {
    const scorelog::NameId userName = game.seats[static_cast<std::size_t>(userSeat & 3)].name;
    const int seatLimit = SeatLimit(game);
    unsigned mask = 0;
    for (int k = 0; k < 4; ++k) {
        const scorelog::NameId name = game.seats[static_cast<std::size_t>(k)].name;
        const bool field = (k < seatLimit) & (name != userName) & (name != scorelog::kEmptyName);
        mask |= static_cast<unsigned>(field) << k;
    }
    return mask;
}

inline double Quotient(double dividend, double divisor) {
    return divisor != 0 ? dividend / divisor : 0;
}

inline double Rate(std::int64_t count, std::int64_t of) {
    return of != 0 ? static_cast<double>(count) / static_cast<double>(of) * 100 : 0;
}

// Rounding can leave E[x²] − E[x]² a hair below zero when every value is the same.
inline double Deviation(double squareSum, double sum, double count) {
    const double mean = sum / count;
    const double variance = squareSum / count - mean * mean;
    return variance > 0 ? std::sqrt(variance) : 0;
}

// The sample variance (n − 1 in the divisor) of count values, 0 below two values; rounding can
// leave it a hair below zero when every value is the same.
inline double SampleVariance(double sum, double squareSum, double count) {
    if (count < 2) return 0;
    const double variance = (squareSum - sum * sum / count) / (count - 1);
    return variance > 0 ? variance : 0;
}

inline double Square(std::int32_t value) {
    return static_cast<double>(std::int64_t{value} * value);
}

// Runs of games with and without some outcome: the current ones end with the newest game.
struct Streak {
    std::int32_t current = 0;
    std::int32_t longest = 0;
    std::int32_t currentNo = 0;
    std::int32_t longestNo = 0;

    void Add(bool hit) {
        if (hit) {
            ++current;
            longest = std::max(longest, current);
            currentNo = 0;
        } else {
            current = 0;
            ++currentNo;
            longestNo = std::max(longestNo, currentNo);
        }
    }
};

inline int KindIndex(scorelog::HandKind kind) {
    const int index = static_cast<int>(kind);
    return index >= 0 && index < scorelog::kHandKindCount ? index
                                                          : static_cast<int>(scorelog::HandKind::Other);
}

inline int HanIndex(scorelog::HanClass han) {
    const int index = static_cast<int>(han);
    return index >= 0 && index < scorelog::kHanClassCount ? index : 0;
}

}  // namespace obrenta::tally::stat
