#include "tally/StyleStats.h"

#include <algorithm>
#include <cmath>

#include "tally/PeriodStats.h"

namespace obrenta::tally {

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

}  // namespace

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

namespace {

// A yaku word as StyleAccumulator's word codes hold it.
std::uint8_t WordCodeOf(std::string_view word) {
    const YakuWord read = ReadYakuWord(word);
    return static_cast<std::uint8_t>(std::min<int>(read.dora, 63) | (read.riichi ? 0x40 : 0) |
                                     (read.ura ? 0x80 : 0));
}

}  // namespace

void StyleAccumulator::StartGame(const SelectedGame& selected) {
    const scorelog::GameRecord& game = selected.game;
    game_ = &selected;
    const scorelog::NamePool* pool = game.names.get();
    PoolSums<std::uint8_t>& words = words_.For(pool);
    const std::size_t poolSize = pool != nullptr ? pool->Size() : 0;
    if (words.byName.size() != poolSize + 1) {
        // The pool's words are read once, when the pass first meets it.
        words.byName.assign(poolSize + 1, 0);
        for (std::size_t id = 0; id < poolSize; ++id) {
            words.byName[id] = WordCodeOf(pool->View(static_cast<scorelog::NameId>(id)));
        }
    }
    wordCodes_ = words.byName.data();
    wordCount_ = poolSize;

    // The walk hands over the first seat of an entry's name. Which seat is the user's differs from
    // game to game: no branches on it.
    const scorelog::NameId userName = game.seats[selected.userSeat].name;
    const int seatLimit = stat::SeatLimit(game);
    std::int32_t userSlot = -1;
    std::int32_t emptySlot = -1;
    std::int64_t fieldSeats = 0;
    for (int k = 3; k >= 0; --k) {
        const scorelog::NameId name = game.seats[k].name;
        const int seated = k < seatLimit;
        const int own = -(seated & static_cast<int>(name == userName));
        const int empty = -(seated & static_cast<int>(name == scorelog::kEmptyName));
        userSlot = (k & own) | (userSlot & ~own);
        emptySlot = (k & empty) | (emptySlot & ~empty);
        fieldSeats += seated & ~own & ~empty & 1;
    }
    userSlot_ = userSlot;
    emptySlot_ = emptySlot;
    fieldSeats_ = fieldSeats;
}

void StyleAccumulator::EndGame(const SelectedGame& selected) {
    const scorelog::GameRecord& game = selected.game;
    if (!longestGame_.found || game.handCount > longestGame_.value) {
        longestGame_ = {true, game.handCount, game.startTime};
    }
    // Every hand of the game was added: the game started with its first.
    const auto hands = static_cast<std::int64_t>(game.hands->size());
    sums_[kUser].hands += hands;
    sums_[kField].hands += hands * fieldSeats_;
    sums_[kUser].draws += gameDraws_;
    sums_[kField].draws += gameDraws_ * fieldSeats_;
    gameDraws_ = 0;
    game_ = nullptr;
}

void StyleAccumulator::FlushCounts(std::array<StyleSums, 3>& sums) const {
    for (const Side side : {kUser, kField}) {
        const Lanes counts = side == kUser ? userCounts_ : fieldCounts_;
        StyleSums& to = sums[side];
        for (int i = 0; i < 4; ++i) {
            const auto lane = static_cast<std::uint32_t>(counts[i]);
            to.tsumoLosses += lane & 0xFF;
            to.dealIns += lane >> 8 & 0xFF;
            to.drawsWithEntry += lane >> 16 & 0xFF;
            to.tenpaiDraws += lane >> 24 & 0xFF;
        }
    }
}

void StyleAccumulator::FlushCounts() {
    FlushCounts(sums_);
    userCounts_ = Lanes{};
    fieldCounts_ = Lanes{};
    handsBeforeFlush_ = kFlushHands;
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
    std::array<StyleSums, 3> sums = sums_;
    FlushCounts(sums);
    result.styleOwn = sums[kUser];
    result.styleField = sums[kField];
    for (int i = 0; i < 4; ++i) {
        result.styleOwn.dealInSum += userLoss_[i];
        result.styleOwn.dealInSquareSum += userLossSquare_[i];
        result.styleField.dealInSum += fieldLoss_[i];
        result.styleField.dealInSquareSum += fieldLossSquare_[i];
    }
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
