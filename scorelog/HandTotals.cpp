#include "scorelog/HandTotals.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "scorelog/GameRecord.h"

namespace obrenta::scorelog {

static_assert(sizeof(StoredSeatTotals) == 32 && offsetof(StoredHandTotals, seats) == 40 &&
                  sizeof(StoredHandTotals) == 168,
              "after a 24-byte HandList at a cache line's start, allSeats shares its line, every seat "
              "lies in one line and the hands start at a line");

namespace {

// Code page 932 bytes of the words the dora count reads.
constexpr std::string_view kDora = "\x83\x68\x83\x89";             // ドラ
constexpr std::string_view kRed = "\x90\xD4";                      // 赤
constexpr std::string_view kUra = "\x97\xA0";                      // 裏
constexpr std::string_view kUraDora = "\x97\xA0\x83\x68\x83\x89";  // 裏ドラ
constexpr std::string_view kRiichi = "\x97\xA7\x92\xBC";           // 立直

// The number after prefix, or -1 when word is not prefix and ASCII digits.
int NumberAfter(std::string_view word, std::string_view prefix) {
    if (word.size() <= prefix.size() || word.substr(0, prefix.size()) != prefix) return -1;
    int number = 0;
    for (const char c : word.substr(prefix.size())) {
        if (c < '0' || c > '9') return -1;
        number = std::min(number * 10 + (c - '0'), 999);
    }
    return number;
}

constexpr unsigned kDoraBits = 0x3F;
constexpr unsigned kRiichiBit = 0x40;
constexpr unsigned kUraBit = 0x80;

}  // namespace

YakuWord ReadYakuWord(std::string_view word) {
    YakuWord read;
    read.dora = 0;
    read.riichi = word == kRiichi;
    // The client writes 裏ドラN; 裏N is read the same way.
    for (const std::string_view prefix : {kDora, kRed, kUra, kUraDora}) {
        const int number = NumberAfter(word, prefix);
        if (number < 0) continue;
        read.dora = static_cast<std::int16_t>(number);
        read.ura = (prefix == kUra || prefix == kUraDora) && number >= 1;
    }
    return read;
}

std::uint8_t YakuWordCode(std::string_view word) {
    const YakuWord read = ReadYakuWord(word);
    return static_cast<std::uint8_t>(std::min<unsigned>(static_cast<unsigned>(read.dora), kDoraBits) |
                                     (read.riichi ? kRiichiBit : 0) | (read.ura ? kUraBit : 0));
}

std::span<const std::uint8_t> YakuWordCodes::For(const NamePool* pool) {
    if (pool != pool_) {
        pool_ = pool;
        codes_.assign(1, 0);
    }
    const std::size_t size = pool != nullptr ? pool->Size() : 0;
    if (codes_.size() < size + 1) {
        codes_.pop_back();
        for (std::size_t id = codes_.size(); id < size; ++id) {
            codes_.push_back(YakuWordCode(pool->View(static_cast<NameId>(id))));
        }
        codes_.push_back(0);
    }
    return codes_;
}

GameHandTotals SumHands(std::span<const HandRecord> hands, const std::array<NameId, 4>& seatNames,
                        int seatLimit, std::span<const std::uint8_t> codes) {
    constexpr int kNone = -1;
    const int limit = std::clamp(seatLimit, 0, 4);
    const auto seatOf = [&](NameId name) {
        for (int k = 0; k < limit; ++k) {
            if (seatNames[k] == name) return k;
        }
        return kNone;
    };
    const std::size_t lastCode = codes.empty() ? 0 : codes.size() - 1;

    GameHandTotals totals;
    for (const HandRecord& hand : hands) {
        const int entryCount = std::clamp(hand.entryCount, 0, 4);
        std::array<int, 4> seat{kNone, kNone, kNone, kNone};
        for (int i = 0; i < entryCount; ++i) seat[i] = seatOf(hand.entryNames[i]);

        switch (hand.kind) {
            case HandKind::Tsumo:
            case HandKind::Ron:
                for (int i = 0; i < entryCount; ++i) {
                    const std::int32_t delta = hand.entryDeltas[i];
                    // The winner may have a second entry; it is no loss.
                    if (seat[i] == kNone || delta >= 0 || seat[i] == seat[0]) continue;
                    SeatHandTotals& loser = totals.seats[seat[i]];
                    if (hand.kind == HandKind::Tsumo) {
                        ++loser.tsumoLosses;
                    } else {
                        ++loser.dealIns;
                        loser.dealInSum += delta;
                        loser.dealInSquareSum += static_cast<double>(delta) * delta;
                    }
                }
                break;
            case HandKind::ExhaustiveDraw:
                ++totals.draws;
                for (int i = 0; i < entryCount; ++i) {
                    if (seat[i] == kNone) continue;
                    SeatHandTotals& entry = totals.seats[seat[i]];
                    ++entry.drawEntries;
                    entry.tenpaiDraws += hand.entryDeltas[i] > 0 ? 1 : 0;
                }
                break;
            default:
                break;
        }
        if (hand.kind == HandKind::Ron) {
            // Each seat's change in another's ロン: its last entry's.
            std::array<std::int32_t, 4> change{};
            for (int i = 0; i < entryCount; ++i) {
                if (seat[i] != kNone) change[seat[i]] = hand.entryDeltas[i];
            }
            for (int k = 0; k < limit; ++k) {
                SeatHandTotals& other = totals.seats[k];
                if (k != seat[0]) other.largestDealIn = std::min(other.largestDealIn, change[k]);
            }
        }
        if (!hand.IsWin() || seat[0] == kNone) continue;

        SeatHandTotals& winner = totals.seats[seat[0]];
        const std::int32_t value = hand.entryDeltas[0];
        winner.largestWin = winner.wins == 0 ? value : std::max(winner.largestWin, value);
        ++winner.wins;
        winner.tsumoWins += hand.kind == HandKind::Tsumo ? 1 : 0;
        winner.winSum += value;
        winner.winSquareSum += static_cast<double>(value) * value;
        winner.yakumanWins += hand.hanClass == HanClass::Yakuman ? 1 : 0;
        std::int64_t dora = 0;
        unsigned flags = 0;
        for (const NameId yaku : hand.yaku) {
            const unsigned code = codes.empty() ? 0 : codes[std::min<std::size_t>(yaku, lastCode)];
            dora += code & kDoraBits;
            flags |= code;
        }
        winner.doraSum += static_cast<double>(dora);
        winner.doraSquareSum += static_cast<double>(dora) * static_cast<double>(dora);
        const bool riichi = (flags & kRiichiBit) != 0;
        winner.riichiWins += riichi ? 1 : 0;
        winner.uraWins += riichi && (flags & kUraBit) != 0 ? 1 : 0;
    }
    return totals;
}

namespace {

// Whether value is a whole number that To holds (and, for the square sums, below 2^53, where every
// partial sum was exact).
template <typename To>
bool Store(double value, To& to, double limit = static_cast<double>(std::numeric_limits<To>::max())) {
    const double low = static_cast<double>(std::numeric_limits<To>::lowest());
    if (!(value >= low && value <= limit) || std::trunc(value) != value) return false;
    to = static_cast<To>(value);
    return true;
}

template <typename To>
bool Store(std::int64_t value, To& to) {
    if (value < std::numeric_limits<To>::lowest() || value > std::numeric_limits<To>::max()) return false;
    to = static_cast<To>(value);
    return true;
}

}  // namespace

bool StoreTotals(const GameHandTotals& totals, const std::array<NameId, 4>& seatNames, int seatLimit,
                 StoredHandTotals& stored) {
    stored.seatsKey = SeatsKey(seatNames, seatLimit);
    bool fits = Store(totals.draws, stored.draws);
    // A square sum or a record in hundreds: the sums of doubles were exact below 2^53.
    const auto storeSquares = [](double sum, std::uint32_t& to) {
        constexpr double kExact = 9007199254740992.0;  // 2^53
        return sum <= kExact && std::fmod(sum, kStoredSquareUnit) == 0 && Store(sum / kStoredSquareUnit, to);
    };
    const auto storeHalf = [](std::int64_t value, std::uint8_t* to) {
        std::int16_t half = 0;
        if (value % 100 != 0 || !Store(value / 100, half)) return false;
        std::memcpy(to, &half, sizeof half);
        return true;
    };
    std::array<std::int64_t, 16> allCounts{};
    std::array<std::int64_t, 4> allSums{};
    for (std::size_t k = 0; k < 4; ++k) {
        const SeatHandTotals& from = totals.seats[k];
        StoredSeatTotals& to = stored.seats[k];
        to = StoredSeatTotals{};
        const std::array<std::int64_t, 9> counts{from.wins,        from.tsumoWins,   from.dealIns,
                                                 from.tsumoLosses, from.drawEntries, from.tenpaiDraws,
                                                 from.riichiWins,  from.uraWins,     from.yakumanWins};
        for (std::size_t c = 0; c < counts.size(); ++c) fits = Store(counts[c], to.counts[c]) && fits;
        fits = Store(from.doraSum, to.counts[9]) && fits;
        std::uint16_t doraSquares = 0;
        fits = Store(from.doraSquareSum, doraSquares) && fits;
        std::memcpy(&to.counts[10], &doraSquares, sizeof doraSquares);
        fits = storeHalf(from.largestWin, &to.counts[12]) && fits;
        fits = storeHalf(from.largestDealIn, &to.counts[14]) && fits;
        std::int32_t winSum = 0;
        std::int32_t dealInSum = 0;
        fits = Store(from.winSum, winSum) && fits;
        fits = Store(from.dealInSum, dealInSum) && fits;
        to.sums[0] = static_cast<std::uint32_t>(winSum);
        to.sums[1] = static_cast<std::uint32_t>(dealInSum);
        fits = storeSquares(from.winSquareSum, to.sums[2]) && fits;
        fits = storeSquares(from.dealInSquareSum, to.sums[3]) && fits;
        for (std::size_t c = 0; c < StoredSeatTotals::kLaneCounts; ++c) allCounts[c] += to.counts[c];
        allCounts[10] += doraSquares;
        allSums[0] += winSum;
        allSums[1] += dealInSum;
        allSums[2] += to.sums[2];
        allSums[3] += to.sums[3];
    }
    // The four seats together must fit too.
    StoredSeatTotals& all = stored.allSeats;
    all = StoredSeatTotals{};
    for (std::size_t c = 0; c < StoredSeatTotals::kLaneCounts; ++c)
        fits = Store(allCounts[c], all.counts[c]) && fits;
    std::uint16_t allDoraSquares = 0;
    fits = Store(allCounts[10], allDoraSquares) && fits;
    std::memcpy(&all.counts[10], &allDoraSquares, sizeof allDoraSquares);
    std::int32_t allWins = 0;
    std::int32_t allDealIns = 0;
    fits = Store(allSums[0], allWins) && Store(allSums[1], allDealIns) && fits;
    all.sums[0] = static_cast<std::uint32_t>(allWins);
    all.sums[1] = static_cast<std::uint32_t>(allDealIns);
    fits = Store(allSums[2], all.sums[2]) && Store(allSums[3], all.sums[3]) && fits;
    return fits;
}

}  // namespace obrenta::scorelog
