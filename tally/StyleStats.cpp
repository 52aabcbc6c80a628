#include "tally/StyleStats.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstdlib>

namespace obrenta::tally {

namespace {}  // namespace

void StyleAccumulator::StartGame(const SelectedGame& selected) {
    current_ = &selected;
    const scorelog::GameRecord& game = selected.game;
    ownMask_ = 1u << (selected.userSeat & 3);
    fieldMask_ = stat::FieldMask(game, selected.userSeat);
    fieldSeats_ = style::SeatCount(fieldMask_);
    words_ = game.names ? game.names->Words() : std::span<const scorelog::YakuWord>();
}

void StyleAccumulator::Add(const SelectedGame& selected, const HandWalk& walk) {
    if (current_ != &selected) StartGame(selected);
    own_.hands += walk.hands;
    field_.hands += walk.hands * fieldSeats_;
    const auto hands = static_cast<std::int32_t>(std::min<std::int64_t>(walk.hands, INT32_MAX));
    if (!longestGame_.found || hands > longestGame_.value) {
        longestGame_ = {true, hands, selected.game.startTime};
    }
    current_ = nullptr;
}

StyleSums StyleAccumulator::Side::Sums() const {
    StyleSums out;
    out.hands = hands;
    out.wins = wins;
    out.tsumoWins = tsumoWins;
    out.dealIns = dealIns;
    out.tsumoLosses = tsumoLosses;
    out.draws = draws;
    out.drawsWithEntry = drawsWithEntry;
    out.tenpaiDraws = tenpaiDraws;
    out.riichiWins = riichiWins;
    out.uraWins = uraWins;
    out.yakumanWins = yakumanWins;
    out.winSum = static_cast<double>(winSum);
    out.winSquareSum = winSquares.Value();
    out.dealInSum = static_cast<double>(dealInSum);
    out.dealInSquareSum = dealInSquares.Value();
    out.doraSum = static_cast<double>(doraSum);
    out.doraSquareSum = doraSquares.Value();
    return out;
}

namespace {

bool IsMean(StyleRow row) {
    return row == StyleRow::WinValue || row == StyleRow::DealInValue || row == StyleRow::DoraPerWin;
}

MeanEstimate MeanOfRow(const StyleSums& s, StyleRow row) {
    switch (row) {
        case StyleRow::WinValue:
            return MeanOf(s.winSum, s.winSquareSum, s.wins);
        case StyleRow::DealInValue:
            return MeanOf(s.dealInSum, s.dealInSquareSum, s.dealIns);
        default:
            return MeanOf(s.doraSum, s.doraSquareSum, s.wins);
    }
}

Estimate RateOfRow(const StyleSums& s, StyleRow row) {
    switch (row) {
        case StyleRow::WinRate:
            return WilsonRate(s.wins, s.hands);
        case StyleRow::TsumoRate:
            return WilsonRate(s.tsumoWins, s.wins);
        case StyleRow::DealInRate:
            return WilsonRate(s.dealIns, s.hands);
        case StyleRow::TsumoLossRate:
            return WilsonRate(s.tsumoLosses, s.hands);
        case StyleRow::DrawRate:
            return WilsonRate(s.draws, s.hands);
        case StyleRow::TenpaiAtDrawRate:
            return WilsonRate(s.tenpaiDraws, s.drawsWithEntry);
        case StyleRow::UraRate:
            return WilsonRate(s.uraWins, s.riichiWins);
        default:
            return WilsonRate(s.yakumanWins, s.hands, 1000);
    }
}

}  // namespace

StyleResults StyleAccumulator::Finish() const {
    StyleResults result;
    result.styleOwn = own_.Sums();
    result.styleField = field_.Sums();
    for (int r = 0; r < kStyleRowCount; ++r) {
        const auto row = static_cast<StyleRow>(r);
        StyleLine& line = result.styleLines[static_cast<std::size_t>(r)];
        if (IsMean(row)) {
            const MeanEstimate own = MeanOfRow(result.styleOwn, row);
            const MeanEstimate field = MeanOfRow(result.styleField, row);
            line.own = own;
            line.field = field;
            line.difference = WelchDifference(own, field);
        } else {
            line.own = RateOfRow(result.styleOwn, row);
            line.field = RateOfRow(result.styleField, row);
            line.difference = NewcombeDifference(line.own, line.field);
        }
        // An exhaustive draw is the same hand for every seat: the field's rate is the user's.
        line.ownOnly = row == StyleRow::DrawRate;
        if (line.ownOnly) {
            line.field = {};
            line.difference = {};
        }
        line.significant = ExcludesZero(line.difference);
    }
    result.styleLargestWin = largestWin_;
    result.styleLargestDealIn = largestDealIn_;
    result.styleLongestGame = longestGame_;
    return result;
}

}  // namespace obrenta::tally
