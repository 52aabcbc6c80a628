#include "scorelog/HandTotals.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstring>
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
    // The reader sums every game, so the entries are taken as four lanes without branches on
    // their seats or signs: an entry that names no seat, and a place past the count, add to a
    // fifth seat that is dropped.
    constexpr int kNone = 4;
    const int limit = std::clamp(seatLimit, 0, 4);
    const std::size_t lastCode = codes.empty() ? 0 : codes.size() - 1;
    const std::uint8_t* codeAt = codes.data();
    std::array<SeatHandTotals, 5> seats{};
    std::int64_t draws = 0;
    for (const HandRecord& hand : hands) {
        const int entryCount = std::clamp(hand.entryCount, 0, 4);
        std::array<int, 4> seat;
        for (int i = 0; i < 4; ++i) {
            int found = kNone;
            for (int k = 3; k >= 0; --k) found = k < limit && seatNames[k] == hand.entryNames[i] ? k : found;
            seat[i] = i < entryCount ? found : kNone;
        }
        const bool tsumo = hand.kind == HandKind::Tsumo;
        const bool ron = hand.kind == HandKind::Ron;
        const bool draw = hand.kind == HandKind::ExhaustiveDraw;
        draws += draw ? 1 : 0;
        std::array<std::int32_t, 5> change{};
        for (int i = 0; i < 4; ++i) {
            const std::int32_t delta = hand.entryDeltas[i];
            SeatHandTotals& entry = seats[seat[i]];
            // The winner may have a second entry; it is no loss.
            const bool loss = delta < 0 && seat[i] != seat[0];
            entry.tsumoLosses += tsumo && loss ? 1 : 0;
            const bool dealIn = ron && loss;
            entry.dealIns += dealIn ? 1 : 0;
            const std::int32_t dealt = dealIn ? delta : 0;
            entry.dealInSum += dealt;
            entry.dealInSquareSum += static_cast<double>(dealt) * dealt;
            entry.drawEntries += draw ? 1 : 0;
            entry.tenpaiDraws += draw && delta > 0 ? 1 : 0;
            // Each seat's change in another's ロン: its last entry's.
            change[seat[i]] = delta;
        }
        if (ron) {
            for (int k = 0; k < limit; ++k) {
                SeatHandTotals& other = seats[k];
                const std::int32_t lowest = std::min(other.largestDealIn, change[k]);
                other.largestDealIn = k != seat[0] ? lowest : other.largestDealIn;
            }
        }
        if (!(tsumo || ron) || seat[0] == kNone) continue;

        SeatHandTotals& winner = seats[seat[0]];
        const std::int32_t value = hand.entryDeltas[0];
        winner.largestWin = winner.wins == 0 ? value : std::max(winner.largestWin, value);
        ++winner.wins;
        winner.tsumoWins += tsumo ? 1 : 0;
        winner.winSum += value;
        winner.winSquareSum += static_cast<double>(value) * value;
        winner.yakumanWins += hand.hanClass == HanClass::Yakuman ? 1 : 0;
        std::int64_t dora = 0;
        unsigned flags = 0;
        if (codeAt != nullptr) {
            for (const NameId yaku : hand.yaku) {
                const unsigned code = codeAt[std::min<std::size_t>(yaku, lastCode)];
                dora += code & kDoraBits;
                flags |= code;
            }
        }
        winner.doraSum += static_cast<double>(dora);
        winner.doraSquareSum += static_cast<double>(dora) * static_cast<double>(dora);
        const bool riichi = (flags & kRiichiBit) != 0;
        winner.riichiWins += riichi ? 1 : 0;
        winner.uraWins += riichi && (flags & kUraBit) != 0 ? 1 : 0;
    }
    GameHandTotals totals;
    std::copy_n(seats.begin(), 4, totals.seats.begin());
    totals.draws = draws;
    return totals;
}

namespace {

// Whether To holds value.
template <typename To>
bool Store(std::int64_t value, To& to) {
    if (value < std::numeric_limits<To>::lowest() || value > std::numeric_limits<To>::max()) return false;
    to = static_cast<To>(value);
    return true;
}

}  // namespace

bool SumAndStoreHands(std::span<const HandRecord> hands, const std::array<NameId, 4>& seatNames,
                      int seatLimit, std::span<const std::uint8_t> codes, StoredHandTotals& stored) {
    if (hands.size() > kMaxSummedHands) return false;
    // Eight 8-bit counts of a seat in one word, in the stored order; with at most 63 hands no
    // count passes 252, so none carries into the next. A fifth seat takes the entries that name
    // no seat and the places past a hand's count, and is dropped.
    constexpr int kNone = 4;
    enum : int {
        kWins = 0,
        kTsumoWins = 8,
        kDealIns = 16,
        kTsumoLosses = 24,
        kDrawEntries = 32,
        kTenpaiDraws = 40,
        kRiichiWins = 48,
        kUraWins = 56
    };
    constexpr std::int32_t kMaxChange = 1 << 26;
    struct Seat {
        std::uint64_t counts = 0;
        std::int64_t yakumanWins = 0;
        std::int64_t doraSum = 0;
        std::int64_t doraSquareSum = 0;
        std::int64_t winSum = 0;
        std::int64_t dealInSum = 0;
        std::uint64_t winSquareSum = 0;  // below 63 × 2^52: no overflow
        std::uint64_t dealInSquareSum = 0;
        std::int32_t largestWin = 0;
        std::int32_t largestDealIn = 0;
    };
    std::array<Seat, 5> seats{};
    const int limit = std::clamp(seatLimit, 0, 4);
    const std::size_t lastCode = codes.empty() ? 0 : codes.size() - 1;
    // The seats past the limit take a name no entry has (a pool never holds 2^32 - 1 names).
    std::array<NameId, 4> seated;
    for (int k = 0; k < 4; ++k) seated[k] = k < limit ? seatNames[k] : ~NameId{0};
    std::int64_t draws = 0;
    for (const HandRecord& hand : hands) {
        const int entryCount = std::clamp(hand.entryCount, 0, 4);
        std::array<int, 4> seat;
        std::int32_t outside = 0;
        for (int i = 0; i < 4; ++i) {
            const NameId name = hand.entryNames[i];
            int found = name == seated[3] ? 3 : kNone;
            found = name == seated[2] ? 2 : found;
            found = name == seated[1] ? 1 : found;
            found = name == seated[0] ? 0 : found;
            seat[i] = i < entryCount ? found : kNone;
            const std::int32_t delta = hand.entryDeltas[i];
            outside |= static_cast<std::int32_t>(delta >= kMaxChange || delta <= -kMaxChange);
        }
        if (outside != 0) return false;
        const std::uint64_t tsumo = hand.kind == HandKind::Tsumo;
        const std::uint64_t ron = hand.kind == HandKind::Ron;
        const std::uint64_t draw = hand.kind == HandKind::ExhaustiveDraw;
        draws += static_cast<std::int64_t>(draw);
        std::array<std::int32_t, 5> change{};
        for (int i = 0; i < 4; ++i) {
            const std::int32_t delta = hand.entryDeltas[i];
            Seat& entry = seats[static_cast<std::size_t>(seat[i])];
            // The winner may have a second entry; it is no loss.
            const std::uint64_t loss = delta < 0 && seat[i] != seat[0];
            const std::uint64_t tenpai = delta > 0;
            entry.counts += (tsumo & loss) << kTsumoLosses | (ron & loss) << kDealIns | draw << kDrawEntries |
                            (draw & tenpai) << kTenpaiDraws;
            const std::int64_t dealt = (ron & loss) != 0 ? delta : 0;
            entry.dealInSum += dealt;
            entry.dealInSquareSum += static_cast<std::uint64_t>(dealt * dealt);
            // Each seat's change in another's ロン: its last entry's.
            change[static_cast<std::size_t>(seat[i])] = delta;
        }
        if (ron != 0) {
            for (int k = 0; k < limit; ++k) {
                Seat& other = seats[static_cast<std::size_t>(k)];
                const std::int32_t lowest =
                    std::min(other.largestDealIn, change[static_cast<std::size_t>(k)]);
                other.largestDealIn = k != seat[0] ? lowest : other.largestDealIn;
            }
        }
        if ((tsumo | ron) == 0 || seat[0] == kNone) continue;

        Seat& winner = seats[static_cast<std::size_t>(seat[0])];
        const std::int32_t value = hand.entryDeltas[0];
        winner.largestWin = (winner.counts & 0xFF) == 0 ? value : std::max(winner.largestWin, value);
        std::int64_t dora = 0;
        unsigned flags = 0;
        if (!codes.empty()) {
            for (const NameId yaku : hand.yaku) {
                const unsigned code = codes[std::min<std::size_t>(yaku, lastCode)];
                dora += code & kDoraBits;
                flags |= code;
            }
        }
        const std::uint64_t riichi = (flags & kRiichiBit) != 0;
        const std::uint64_t ura = riichi & static_cast<std::uint64_t>((flags & kUraBit) != 0);
        winner.counts +=
            std::uint64_t{1} << kWins | tsumo << kTsumoWins | riichi << kRiichiWins | ura << kUraWins;
        winner.yakumanWins += hand.hanClass == HanClass::Yakuman ? 1 : 0;
        winner.winSum += value;
        winner.winSquareSum += static_cast<std::uint64_t>(std::int64_t{value} * value);
        winner.doraSum += dora;
        winner.doraSquareSum += dora * dora;
    }

    // Into the stored form, checking that each sum fits it.
    const auto half = [](std::int64_t value, std::uint8_t* to) {
        std::int16_t stored16 = 0;
        if (value % 100 != 0 || !Store(value / 100, stored16)) return false;
        std::memcpy(to, &stored16, sizeof stored16);
        return true;
    };
    const auto units = [](std::uint64_t squares, std::uint32_t& to) {
        constexpr auto kUnit = static_cast<std::uint64_t>(kStoredSquareUnit);
        if (squares % kUnit != 0 || squares / kUnit > UINT32_MAX) return false;
        to = static_cast<std::uint32_t>(squares / kUnit);
        return true;
    };
    stored.seatsKey = SeatsKey(seatNames, seatLimit);
    bool fits = Store(draws, stored.draws);
    Seat all;
    for (std::size_t k = 0; k < 4; ++k) {
        const Seat& from = seats[k];
        StoredSeatTotals& to = stored.seats[k];
        std::memcpy(to.counts.data(), &from.counts, sizeof from.counts);
        fits = Store(from.yakumanWins, to.counts[8]) && fits;
        fits = Store(from.doraSum, to.counts[9]) && fits;
        std::uint16_t doraSquares = 0;
        fits = Store(from.doraSquareSum, doraSquares) && fits;
        std::memcpy(&to.counts[10], &doraSquares, sizeof doraSquares);
        fits = half(from.largestWin, &to.counts[12]) && half(from.largestDealIn, &to.counts[14]) && fits;
        std::int32_t winSum = 0;
        std::int32_t dealInSum = 0;
        fits = Store(from.winSum, winSum) && Store(from.dealInSum, dealInSum) && fits;
        to.sums[0] = static_cast<std::uint32_t>(winSum);
        to.sums[1] = static_cast<std::uint32_t>(dealInSum);
        fits = units(from.winSquareSum, to.sums[2]) && units(from.dealInSquareSum, to.sums[3]) && fits;
        all.counts += from.counts;  // each count of all seats stays below 253: no carry
        all.yakumanWins += from.yakumanWins;
        all.doraSum += from.doraSum;
        all.doraSquareSum += doraSquares;
        all.winSum += winSum;
        all.dealInSum += dealInSum;
        all.winSquareSum += to.sums[2];
        all.dealInSquareSum += to.sums[3];
    }
    StoredSeatTotals& to = stored.allSeats;
    to = StoredSeatTotals{};
    std::memcpy(to.counts.data(), &all.counts, sizeof all.counts);
    fits = Store(all.yakumanWins, to.counts[8]) && Store(all.doraSum, to.counts[9]) && fits;
    std::uint16_t allDoraSquares = 0;
    fits = Store(all.doraSquareSum, allDoraSquares) && fits;
    std::memcpy(&to.counts[10], &allDoraSquares, sizeof allDoraSquares);
    std::int32_t allWins = 0;
    std::int32_t allDealIns = 0;
    fits = Store(all.winSum, allWins) && Store(all.dealInSum, allDealIns) && fits;
    to.sums[0] = static_cast<std::uint32_t>(allWins);
    to.sums[1] = static_cast<std::uint32_t>(allDealIns);
    fits = all.winSquareSum <= UINT32_MAX && all.dealInSquareSum <= UINT32_MAX && fits;
    to.sums[2] = static_cast<std::uint32_t>(all.winSquareSum);
    to.sums[3] = static_cast<std::uint32_t>(all.dealInSquareSum);
    return fits;
}

}  // namespace obrenta::scorelog
