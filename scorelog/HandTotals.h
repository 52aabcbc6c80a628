#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "scorelog/NamePool.h"

// What each seat's hands came to in one game: wins, deal-ins, draws, win values and dora. The
// reader sums them once per game, so that statistics over thousands of games add a few numbers a
// game instead of reading every hand again.
namespace obrenta::scorelog {

struct HandRecord;
class HandList;

// What a yaku word adds to the dora of a win: ドラN, 赤N, 裏N and 裏ドラN (N a number) give N.
struct YakuWord {
    std::int16_t dora = -1;  // -1: not read yet
    bool riichi = false;
    bool ura = false;  // 裏N or 裏ドラN with N ≥ 1
};
// Reads a yaku word of code page 932 bytes.
YakuWord ReadYakuWord(std::string_view word);
// A yaku word in one byte: the dora count (at most 63) in bits 0-5, 立直 in bit 6, 裏N (N ≥ 1)
// in bit 7.
std::uint8_t YakuWordCode(std::string_view word);

// The YakuWordCode of every word of a pool by id, then a 0 for any id past them. The codes are
// kept while the pool grows, so a reader reads each new word once.
class YakuWordCodes {
public:
    std::span<const std::uint8_t> For(const NamePool* pool);

private:
    const NamePool* pool_ = nullptr;
    std::vector<std::uint8_t> codes_{0};
};

// The sums of one seat over one game's hands. An entry counts for the first seat that has its
// name; the winner is a win's first entry.
struct SeatHandTotals {
    std::int64_t wins = 0;
    std::int64_t tsumoWins = 0;
    std::int64_t dealIns = 0;      // ロン hands with a negative change, not the winner
    std::int64_t tsumoLosses = 0;  // ツモ hands with a negative change, not the winner
    std::int64_t drawEntries = 0;  // entries in exhaustive draws
    std::int64_t tenpaiDraws = 0;  // of those, the positive ones
    std::int64_t riichiWins = 0;   // wins that list 立直
    std::int64_t uraWins = 0;      // of those, the ones that list 裏N with N ≥ 1
    std::int64_t yakumanWins = 0;
    double winSum = 0;
    double winSquareSum = 0;
    double dealInSum = 0;
    double dealInSquareSum = 0;
    double doraSum = 0;
    double doraSquareSum = 0;
    std::int32_t largestWin = 0;     // of the seat's wins; 0 when it has none
    std::int32_t largestDealIn = 0;  // the lowest change of the seat's last entry in another's
                                     // ロン hand, 0 for an entry-less seat: at most 0
};

struct GameHandTotals {
    std::array<SeatHandTotals, 4> seats{};
    std::int64_t draws = 0;  // exhaustive draws
};

// Sums hands for the first seatLimit of the seats named seatNames; codes are the YakuWordCodes of
// the hands' pool.
GameHandTotals SumHands(std::span<const HandRecord> hands, const std::array<NameId, 4>& seatNames,
                        int seatLimit, std::span<const std::uint8_t> codes);

// One seat of GameHandTotals as a read game keeps it, in half a cache line laid out for vector
// arithmetic: bytes 0-9 of counts and the four sums also hold the four seats added up. The
// client's changes are whole hundreds, so square sums and records are kept in hundreds.
struct StoredSeatTotals {
    // Bytes 0-8 the nine counts (wins … yakumanWins), 9 the dora sum, 10-11 the dora square sum,
    // 12-13 largestWin / 100 and 14-15 largestDealIn / 100 (little-endian, the last two signed).
    std::array<std::uint8_t, 16> counts{};
    // winSum and dealInSum (as int32), winSquareSum and dealInSquareSum / 10000.
    std::array<std::uint32_t, 4> sums{};

    static constexpr std::size_t kLaneCounts = 10;  // the bytes that add up lane by lane
    std::uint16_t DoraSquareSum() const { return Half<std::uint16_t>(10); }
    std::int32_t LargestWin() const { return Half<std::int16_t>(12) * 100; }
    std::int32_t LargestDealIn() const { return Half<std::int16_t>(14) * 100; }

private:
    template <typename T>
    T Half(std::size_t at) const {
        T value;
        std::memcpy(&value, counts.data() + at, sizeof value);
        return value;
    }
};
inline constexpr double kStoredSquareUnit = 10000;

// A 32-bit key of a game's seat names and seat limit, to tell whether totals were summed for them.
inline std::uint32_t SeatsKey(const std::array<NameId, 4>& seatNames, int seatLimit) {
    // Independent products, so that the key costs one multiplication's wait.
    const std::uint64_t key = seatNames[0] * 0x9E3779B97F4A7C15u ^ seatNames[1] * 0xC2B2AE3D27D4EB4Fu ^
                              seatNames[2] * 0x165667B19E3779F9u ^ seatNames[3] * 0xD6E8FEB86659FD93u ^
                              static_cast<std::uint64_t>(seatLimit);
    return static_cast<std::uint32_t>(key >> 32) ^ static_cast<std::uint32_t>(key);
}

// GameHandTotals as a read game keeps them. A tally reads allSeats, which shares a cache line
// with the game's HandList, and the user's seat.
struct StoredHandTotals {
    StoredSeatTotals allSeats;  // counts 0-11 and the sums of the four seats
    std::uint32_t seatsKey = 0;
    std::uint16_t draws = 0;
    std::uint16_t unused = 0;
    std::array<StoredSeatTotals, 4> seats{};

    bool SummedFor(const std::array<NameId, 4>& names, int limit) const {
        return seatsKey == SeatsKey(names, limit);
    }
};

// Sums hands as SumHands does, in integers, as fast as a reader needs it, into stored; false for
// a game of more than kMaxSummedHands hands, a change beyond ±2^26 points, or a sum the stored
// form can't hold exactly (changes that are not whole hundreds, or too large). Such a game keeps
// no totals.
inline constexpr std::size_t kMaxSummedHands = 63;
bool SumAndStoreHands(std::span<const HandRecord> hands, const std::array<NameId, 4>& seatNames,
                      int seatLimit, std::span<const std::uint8_t> codes, StoredHandTotals& stored);

}  // namespace obrenta::scorelog
