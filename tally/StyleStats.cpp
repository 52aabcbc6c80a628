#include "tally/StyleStats.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "tally/PeriodStats.h"

namespace obrenta::tally {

namespace {

// Code page 932 bytes of the words the dora count reads.
constexpr std::string_view kDora = "\x83\x68\x83\x89";             // ドラ
constexpr std::string_view kRed = "\x90\xD4";                      // 赤
constexpr std::string_view kUra = "\x97\xA0";                      // 裏
constexpr std::string_view kUraDora = "\x97\xA0\x83\x68\x83\x89";  // 裏ドラ
constexpr std::string_view kRiichi = "\x97\xA7\x92\xBC";           // 立直

constexpr scorelog::NameId kNoName = std::numeric_limits<scorelog::NameId>::max();

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

void StyleAccumulator::StartGame(const SelectedGame& selected) {
    const scorelog::GameRecord& game = selected.game;
    game_ = &selected;
    const scorelog::NameId userName = game.seats[selected.userSeat].name;
    userName_ = static_cast<std::int32_t>(userName);
    fieldNames_.fill(static_cast<std::int32_t>(kNoName));
    fieldSeats_ = 0;
    PoolSums<WordCode>& words = words_.For(game.names.get());
    wordTable_ = words.byName.data();
    wordCount_ = words.byName.size();
    const int seatLimit = stat::SeatLimit(game);
    for (int k = 0; k < seatLimit; ++k) {
        const scorelog::NameId name = game.seats[k].name;
        if (k == selected.userSeat || name == scorelog::kEmptyName || name == userName) continue;
        fieldNames_[static_cast<std::size_t>(fieldSeats_++)] = static_cast<std::int32_t>(name);
    }
}

void StyleAccumulator::EndGame(const SelectedGame& selected) {
    const scorelog::GameRecord& game = selected.game;
    if (!longestGame_.found || game.handCount > longestGame_.value) {
        longestGame_ = {true, game.handCount, game.startTime};
    }
    sums_[0].hands += gameHands_;
    sums_[1].hands += gameHands_ * fieldSeats_;
    sums_[0].draws += gameDraws_;
    sums_[1].draws += gameDraws_ * fieldSeats_;
    gameHands_ = 0;
    gameDraws_ = 0;
    FlushCounts();
    game_ = nullptr;
}

void StyleAccumulator::FlushCounts() {
    for (const bool user : {true, false}) {
        Lanes& counts = user ? userCounts_ : fieldCounts_;
        StyleSums& sums = sums_[user ? 0 : 1];
        for (int i = 0; i < 4; ++i) {
            const auto lane = static_cast<std::uint32_t>(counts[i]);
            sums.tsumoLosses += lane & 0xFF;
            sums.dealIns += lane >> 8 & 0xFF;
            sums.drawsWithEntry += lane >> 16 & 0xFF;
            sums.tenpaiDraws += lane >> 24 & 0xFF;
        }
        counts = Lanes{};
    }
}

std::uint8_t StyleAccumulator::ReadWord(scorelog::NameId yaku) {
    const YakuWord read = ReadYakuWord(game_->game.Name(yaku));
    const auto code = static_cast<std::uint8_t>(std::min<int>(read.dora, 63) | (read.riichi ? 0x40 : 0) |
                                                (read.ura ? 0x80 : 0));
    wordTable_[yaku].code = code;
    return code;
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
    result.styleOwn = sums_[0];
    result.styleField = sums_[1];
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
