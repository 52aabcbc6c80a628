#include "tally/StyleStats.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "tally/PeriodStats.h"

namespace obrenta::tally {

StyleMeasure WilsonRate(std::int64_t count, std::int64_t n, double scale) {
    StyleMeasure measure;
    if (n <= 0) return measure;
    const double size = static_cast<double>(n);
    const double p = static_cast<double>(count) / size;
    const double z2 = kZ95 * kZ95;
    const double centre = (p + z2 / (2 * size)) / (1 + z2 / size);
    const double half = kZ95 / (1 + z2 / size) * std::sqrt(p * (1 - p) / size + z2 / (4 * size * size));
    measure.valid = true;
    measure.hasInterval = true;
    measure.value = p * scale;
    measure.low = std::max(centre - half, 0.0) * scale;
    measure.high = std::min(centre + half, 1.0) * scale;
    measure.standardError = std::sqrt(p * (1 - p) / size) * scale;
    return measure;
}

StyleMeasure NormalMean(double sum, double squareSum, std::int64_t n) {
    StyleMeasure measure;
    if (n <= 0) return measure;
    const double size = static_cast<double>(n);
    measure.value = sum / size;
    if (n < 2) return measure;
    measure.valid = true;
    const double variance = (squareSum - sum * sum / size) / (size - 1);
    measure.standardError = std::sqrt(variance > 0 ? variance : 0) / std::sqrt(size);
    measure.hasInterval = true;
    measure.low = measure.value - kZ95 * measure.standardError;
    measure.high = measure.value + kZ95 * measure.standardError;
    return measure;
}

StyleDifference DifferenceOf(const StyleMeasure& own, const StyleMeasure& field) {
    StyleDifference difference;
    if (!own.hasInterval || !field.hasInterval) return difference;
    difference.valid = true;
    difference.value = own.value - field.value;
    difference.halfWidth =
        kZ95 * std::sqrt(own.standardError * own.standardError + field.standardError * field.standardError);
    difference.significant = std::fabs(difference.value) > difference.halfWidth;
    return difference;
}

namespace {

using scorelog::SeatHandTotals;
using scorelog::StoredHandTotals;

// to += seat, into a seat's totals or a side's StyleSums (the records are not sums).
template <typename To>
void AddTo(To& to, const SeatHandTotals& seat) {
    if constexpr (std::is_same_v<To, SeatHandTotals>) {
        to.drawEntries += seat.drawEntries;
    } else {
        to.drawsWithEntry += seat.drawEntries;
    }
    to.wins += seat.wins;
    to.tsumoWins += seat.tsumoWins;
    to.dealIns += seat.dealIns;
    to.tsumoLosses += seat.tsumoLosses;
    to.tenpaiDraws += seat.tenpaiDraws;
    to.riichiWins += seat.riichiWins;
    to.uraWins += seat.uraWins;
    to.yakumanWins += seat.yakumanWins;
    to.winSum += seat.winSum;
    to.winSquareSum += seat.winSquareSum;
    to.dealInSum += seat.dealInSum;
    to.dealInSquareSum += seat.dealInSquareSum;
    to.doraSum += seat.doraSum;
    to.doraSquareSum += seat.doraSquareSum;
}

}  // namespace

void StyleAccumulator::SeatLanes::Load(const scorelog::StoredSeatTotals& seat) {
    static_assert(sizeof seat == sizeof counts + sizeof sums);
    std::memcpy(&counts, seat.counts.data(), sizeof counts);
    std::memcpy(&sums, seat.sums.data(), sizeof sums);
    doraSquares = seat.DoraSquareSum();
}

StyleAccumulator::SeatLanes& StyleAccumulator::SeatLanes::operator-=(const SeatLanes& other) {
    counts -= other.counts;
    sums -= other.sums;
    doraSquares -= other.doraSquares;
    return *this;
}

void StyleAccumulator::SideTotals::Add(const SeatLanes& seat) {
#if defined(__SSE2__)
    // Widened by interleaving with zeros, which compilers make of a conversion byte by byte.
    __m128i bytes;
    std::memcpy(&bytes, &seat.counts, sizeof bytes);
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = _mm_unpacklo_epi8(bytes, zero);
    const __m128i high = _mm_unpackhi_epi8(bytes, zero);
    counts[0] += reinterpret_cast<Counts>(_mm_unpacklo_epi16(low, zero));
    counts[1] += reinterpret_cast<Counts>(_mm_unpackhi_epi16(low, zero));
    counts[2] += reinterpret_cast<Counts>(_mm_unpacklo_epi16(high, zero));
    counts[3] += reinterpret_cast<Counts>(_mm_unpackhi_epi16(high, zero));
#else
    for (int c = 0; c < 16; ++c) counts[static_cast<std::size_t>(c / 4)][c % 4] += seat.counts[c];
#endif
    // The two sums are signed, the two square sums not.
    sums[0] += static_cast<std::int32_t>(seat.sums[0]);
    sums[1] += static_cast<std::int32_t>(seat.sums[1]);
    sums[2] += seat.sums[2];
    sums[3] += seat.sums[3];
    doraSquareSum += seat.doraSquares;
}

void StyleAccumulator::SideTotals::Move() {
    for (std::size_t c = 0; c < 16; ++c) countsMoved[c] += counts[c / 4][static_cast<int>(c % 4)];
    counts = {};
}

StyleSums StyleAccumulator::SideTotals::Sums() const {
    SideTotals moved = *this;
    moved.Move();
    const std::array<std::int64_t, 16>& c = moved.countsMoved;
    StyleSums out;
    out.hands = hands;
    out.draws = draws;
    out.wins = c[0];
    out.tsumoWins = c[1];
    out.dealIns = c[2];
    out.tsumoLosses = c[3];
    out.drawsWithEntry = c[4];
    out.tenpaiDraws = c[5];
    out.riichiWins = c[6];
    out.uraWins = c[7];
    out.yakumanWins = c[8];
    out.doraSum = static_cast<double>(c[9]);
    out.winSum = static_cast<double>(sums[0]);
    out.dealInSum = static_cast<double>(sums[1]);
    out.winSquareSum = static_cast<double>(sums[2]) * scorelog::kStoredSquareUnit;
    out.dealInSquareSum = static_cast<double>(sums[3]) * scorelog::kStoredSquareUnit;
    out.doraSquareSum = static_cast<double>(doraSquareSum);
    return out;
}

const StoredHandTotals* StyleAccumulator::SumAgain(const scorelog::GameRecord& game,
                                                   const std::array<scorelog::NameId, 4>& names,
                                                   int seatLimit) {
    // Hands set by other means than a read, or read for other seats.
    const scorelog::HandList& hands = game.Hands();
    const std::span<const std::uint8_t> codes = codes_.For(game.names.get());
    const std::span<const scorelog::HandRecord> list(hands.data(), hands.size());
    if (scorelog::SumAndStoreHands(list, names, seatLimit, codes, summed_)) return &summed_;
    const scorelog::GameHandTotals sums = scorelog::SumHands(list, names, seatLimit, codes);
    // Too large to store: Add adds them as doubles.
    largeSums_ = sums;
    return nullptr;
}

void StyleAccumulator::Add(const SelectedGame& selected) {
    const scorelog::GameRecord& game = selected.game;
    if (!longestGame_.found || game.handCount > longestGame_.value) {
        longestGame_ = {true, game.handCount, game.startTime};
    }
    const int seatLimit = stat::SeatLimit(game);
    std::array<scorelog::NameId, 4> names;
    for (int k = 0; k < 4; ++k) names[k] = game.seats[k].name;

    // An entry counts for the first seat with its name, so the user's totals are all on the
    // user's first seat and the empty name's on its first, and the other seats of those names
    // hold none. Every other seat is the field's.
    const scorelog::NameId userName = names[selected.userSeat];
    int userSlot = selected.userSeat;
    int emptySlot = -1;
    std::int64_t fieldSeats = 0;
    for (int k = seatLimit - 1; k >= 0; --k) {
        userSlot = names[k] == userName ? k : userSlot;
        emptySlot = names[k] == scorelog::kEmptyName ? k : emptySlot;
        fieldSeats += names[k] != userName && names[k] != scorelog::kEmptyName ? 1 : 0;
    }
    const auto handCount = static_cast<std::int64_t>(game.Hands().size());
    const StoredHandTotals* totals = TotalsOf(game, names, seatLimit);
    const std::int64_t draws = totals != nullptr ? totals->draws : largeSums_.draws;
    own_.hands += handCount;
    own_.draws += draws;
    field_.hands += handCount * fieldSeats;
    field_.draws += draws * fieldSeats;
    if (totals != nullptr) {
        const auto user = static_cast<std::size_t>(userSlot);
        const scorelog::StoredSeatTotals& ownSeat = totals->seats[user];
        SeatLanes own;
        SeatLanes field;
        own.Load(ownSeat);
        field.Load(totals->allSeats);
        field -= own;
        if (emptySlot >= 0 && emptySlot != userSlot) {
            SeatLanes seat;
            seat.Load(totals->seats[static_cast<std::size_t>(emptySlot)]);
            field -= seat;
        }
        AddRecords(selected, ownSeat.counts[0], ownSeat.LargestWin(), ownSeat.LargestDealIn());
        own_.Add(own);
        field_.Add(field);
        if (--gamesBeforeMove_ == 0) {
            own_.Move();
            field_.Move();
            gamesBeforeMove_ = kMoveEvery;
        }
        return;
    }
    const scorelog::SeatHandTotals& user = largeSums_.seats[static_cast<std::size_t>(userSlot)];
    AddRecords(selected, user.wins, user.largestWin, user.largestDealIn);
    for (int k = 0; k < seatLimit; ++k) {
        if (k == userSlot) {
            AddTo(ownLarge_, largeSums_.seats[static_cast<std::size_t>(k)]);
        } else if (names[k] != userName && names[k] != scorelog::kEmptyName) {
            AddTo(fieldLarge_, largeSums_.seats[static_cast<std::size_t>(k)]);
        }
    }
}

namespace {

std::array<StyleMeasure, kStyleRowCount> MeasuresOf(const StyleSums& s) {
    std::array<StyleMeasure, kStyleRowCount> m;
    const auto at = [&](StyleRow row) -> StyleMeasure& { return m[static_cast<std::size_t>(row)]; };
    at(StyleRow::WinRate) = WilsonRate(s.wins, s.hands);
    at(StyleRow::TsumoRate) = WilsonRate(s.tsumoWins, s.wins);
    at(StyleRow::DealInRate) = WilsonRate(s.dealIns, s.hands);
    at(StyleRow::TsumoLossRate) = WilsonRate(s.tsumoLosses, s.hands);
    at(StyleRow::DrawRate) = WilsonRate(s.draws, s.hands);
    at(StyleRow::TenpaiAtDrawRate) = WilsonRate(s.tenpaiDraws, s.drawsWithEntry);
    at(StyleRow::WinValue) = NormalMean(s.winSum, s.winSquareSum, s.wins);
    at(StyleRow::DealInValue) = NormalMean(s.dealInSum, s.dealInSquareSum, s.dealIns);
    at(StyleRow::DoraPerWin) = NormalMean(s.doraSum, s.doraSquareSum, s.wins);
    at(StyleRow::UraRate) = WilsonRate(s.uraWins, s.riichiWins);
    at(StyleRow::YakumanPerThousand) = WilsonRate(s.yakumanWins, s.hands, 1000);
    return m;
}

}  // namespace

StyleResults StyleAccumulator::Finish() const {
    StyleResults result;
    result.styleOwn = own_.Sums();
    result.styleField = field_.Sums();
    AddTo(result.styleOwn, ownLarge_);
    AddTo(result.styleField, fieldLarge_);
    const std::array<StyleMeasure, kStyleRowCount> own = MeasuresOf(result.styleOwn);
    const std::array<StyleMeasure, kStyleRowCount> field = MeasuresOf(result.styleField);
    for (int r = 0; r < kStyleRowCount; ++r) {
        StyleLine& line = result.styleLines[static_cast<std::size_t>(r)];
        line.own = own[static_cast<std::size_t>(r)];
        line.field = field[static_cast<std::size_t>(r)];
        line.difference = DifferenceOf(line.own, line.field);
    }
    result.styleLargestWin = largestWin_;
    result.styleLargestDealIn = largestDealIn_;
    result.styleLongestGame = longestGame_;
    return result;
}

}  // namespace obrenta::tally
