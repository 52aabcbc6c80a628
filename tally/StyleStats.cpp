#include "tally/StyleStats.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace obrenta::tally {

namespace {

std::uint64_t SquareOf(std::int64_t value) {
    const std::uint64_t magnitude = static_cast<std::uint64_t>(std::llabs(value));
    return magnitude * magnitude;
}

}  // namespace

void StyleAccumulator::StartGame(const SelectedGame& selected) {
    current_ = &selected;
    const scorelog::GameRecord& game = selected.game;
    const scorelog::NameId userName = game.seats[static_cast<std::size_t>(selected.userSeat)].name;
    const int seatLimit = stat::SeatLimit(game);
    fieldSeats_ = 0;
    for (int k = 0; k < 4; ++k) {
        const scorelog::NameId name = game.seats[static_cast<std::size_t>(k)].name;
        fieldSeat_[k] = k < seatLimit && name != userName && name != scorelog::kEmptyName;
        fieldSeats_ += fieldSeat_[k] ? 1 : 0;
    }
}

StyleAccumulator::WinWords StyleAccumulator::ReadWords(const SelectedGame& selected,
                                                       const scorelog::HandRecord& hand) {
    WinWords words;
    const scorelog::NamePool* pool = selected.game.names.get();
    if (pool == nullptr) return words;
    for (const scorelog::NameId id : hand.yaku) {
        if (id >= pool->Size()) continue;
        const scorelog::YakuWord& word = pool->Word(id);
        words.dora += word.dora;
        words.riichi = words.riichi || word.riichi;
        words.ura = words.ura || word.ura;
    }
    return words;
}

void StyleAccumulator::AddSeat(Side& side, const SeatOutcome& seat, const scorelog::HandRecord& hand,
                               const WinWords& words) {
    if (seat.won) {
        ++side.wins;
        side.tsumoWins += seat.tsumoWin ? 1 : 0;
        side.winSum += seat.change;
        side.winSquares.Add(SquareOf(seat.change));
        side.doraSum += words.dora;
        side.doraSquares.Add(SquareOf(words.dora));
        side.riichiWins += words.riichi ? 1 : 0;
        side.uraWins += words.riichi && words.ura ? 1 : 0;
        side.yakumanWins += hand.hanClass == scorelog::HanClass::Yakuman ? 1 : 0;
    }
    if (seat.dealtIn) {
        ++side.dealIns;
        side.dealInSum += seat.change;
        side.dealInSquares.Add(SquareOf(seat.change));
    }
    side.tsumoLosses += seat.paidTsumo ? 1 : 0;
    side.drawsWithEntry += seat.tenpai || seat.noten ? 1 : 0;
    side.tenpaiDraws += seat.tenpai ? 1 : 0;
}

void StyleAccumulator::AddHand(const SelectedGame& selected, const HandView& view) {
    if (current_ != &selected) StartGame(selected);
    const HandOutcome& outcome = view.outcome;
    const int user = selected.userSeat & 3;
    const bool someoneWon = outcome.winner >= 0 && (outcome.winner == user || fieldSeat_[outcome.winner]);
    const WinWords words = someoneWon ? ReadWords(selected, view.hand) : WinWords{};
    if (view.hand.kind == scorelog::HandKind::ExhaustiveDraw) {
        ++own_.draws;
        field_.draws += fieldSeats_;
    }
    const SeatOutcome& own = outcome.seats[static_cast<std::size_t>(user)];
    AddSeat(own_, own, view.hand, words);
    for (int k = 0; k < 4; ++k) {
        if (fieldSeat_[k]) AddSeat(field_, outcome.seats[static_cast<std::size_t>(k)], view.hand, words);
    }
    // The records: the first of equal values stays, so a tie goes to the older game.
    if (own.won && (!largestWin_.found || own.change > largestWin_.value)) {
        largestWin_ = {true, own.change, selected.game.startTime};
    }
    if (own.dealtIn && (!largestDealIn_.found || own.change < largestDealIn_.value)) {
        largestDealIn_ = {true, own.change, selected.game.startTime};
    }
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
