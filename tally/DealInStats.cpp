#include "tally/DealInStats.h"

#include <algorithm>
#include <utility>

#include "tally/StatHelpers.h"
#include "tally/StyleStats.h"

namespace obrenta::tally {

void DealInAccumulator::StartGame(const SelectedGame& selected) {
    current_ = &selected;
    const scorelog::GameRecord& game = selected.game;
    const int user = selected.userSeat & 3;
    ownMask_ = 1u << user;
    fieldMask_ = stat::FieldMask(game, user);
    // Each seat adds its changes to its side's parts: the user's, the field's or nobody's.
    for (int k = 0; k < 4; ++k) {
        const int side = k == user ? 0 : 2 - static_cast<int>(fieldMask_ >> k & 1u);
        pointsAt_[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(side * kHandPartCount);
    }
    fieldSeats_ = style::SeatCount(fieldMask_);
    words_ = game.names ? game.names->Words() : std::span<const scorelog::YakuWord>();
}

void DealInAccumulator::Add(const SelectedGame& selected, const HandWalk& walk) {
    if (current_ != &selected) StartGame(selected);
    own_.hands += walk.hands;
    field_.hands += walk.hands * fieldSeats_;
    if (walk.hands != 0 && fieldMask_ != 0) {
        PoolSums<OpponentSums>& opponents = opponents_.For(selected.game.names.get());
        for (unsigned seats = fieldMask_; seats != 0; seats &= seats - 1) {
            const auto seat = static_cast<std::size_t>(std::countr_zero(seats));
            if (OpponentSums* opponent = opponents.At(selected.game.seats[seat].name)) {
                opponent->hands += walk.hands;
            }
        }
    }
    ++gameIndex_;
    current_ = nullptr;
}

void DealInAccumulator::AddDealIn(const SelectedGame& selected, const HandView& view) {
    const HandOutcome& outcome = view.outcome;
    const scorelog::GameRecord& game = selected.game;
    const auto dealer = static_cast<std::size_t>(std::countr_zero(outcome.dealtIn));
    const std::int64_t lost = -std::int64_t{outcome.change[dealer]};
    const bool own = (outcome.dealtIn & ownMask_) != 0;
    // An id outside the pool (only in a damaged record) reads a word that is then ignored.
    const std::size_t words = words_.size();
    bool riichi = false;
    for (const scorelog::NameId id : words != 0 ? view.hand.yaku : scorelog::YakuList()) {
        riichi |= words_[std::min<std::size_t>(id, words - 1)].riichi & (id < words);
    }
    // Into the rows All, IntoRiichi (with a weight of 0 when it was none) and the class's.
    Side& side = own ? own_ : field_;
    const double square = static_cast<double>(lost) * static_cast<double>(lost);
    const auto add = [&](std::size_t row, std::int64_t weight) {
        DealInSums& sums = side.rows[row];
        sums.count += weight;
        sums.pointsLost += lost * weight;
        sums.pointsLostSquareSum += square * static_cast<double>(weight);
    };
    add(static_cast<std::size_t>(DealInRow::All), 1);
    add(static_cast<std::size_t>(DealInRow::IntoRiichi), riichi ? 1 : 0);
    const int row = kDealInRowOfHan[static_cast<std::size_t>(view.hanClass)];
    add(row >= 0 ? static_cast<std::size_t>(row) : std::size_t{kDealInRowCount}, 1);

    if (own) {
        AddOwnDealIn(selected, view, lost);
    } else if (view.ownWin) {
        if (OpponentSums* opponent = opponents_.For(game.names.get()).At(game.seats[dealer].name)) {
            ++opponent->dealInsFrom;
            opponent->pointsWonFrom += lost;
        }
    }
}

void DealInAccumulator::AddOwnDealIn(const SelectedGame& selected, const HandView& view, std::int64_t lost) {
    const HandOutcome& outcome = view.outcome;
    const scorelog::GameRecord& game = selected.game;
    PoolSums<std::int64_t>& yaku = yaku_.For(game.names.get());
    // A yaku listed twice in one hand counts twice, as on the 役 page.
    for (const scorelog::NameId id : view.hand.yaku) {
        if (std::int64_t* count = yaku.At(id)) ++*count;
    }
    if ((outcome.won & fieldMask_) != 0) {
        const scorelog::NameId name = game.seats[static_cast<std::size_t>(outcome.winner)].name;
        if (OpponentSums* opponent = opponents_.For(game.names.get()).At(name)) {
            ++opponent->dealInsTo;
            opponent->pointsLostTo += lost;
        }
    }
    AddRecord(selected, view, lost);
}

void DealInAccumulator::AddRecord(const SelectedGame& selected, const HandView& view, std::int64_t lost) {
    // Sorted by points, most first; the first of equal deal-ins stays ahead, so a tie goes to the
    // older game and the earlier hand.
    if (recordCount_ == kDealInRecordCount && lost <= records_.back().pointsLost) return;
    std::size_t at = std::min(recordCount_, kDealInRecordCount - 1);
    for (; at > 0 && records_[at - 1].pointsLost < lost; --at) records_[at] = std::move(records_[at - 1]);
    const scorelog::GameRecord& game = selected.game;
    records_[at] = {lost,       game.startTime,
                    gameIndex_, static_cast<std::size_t>(&view.hand - game.hands->data()),
                    game.hands, game.names};
    recordCount_ = std::min(recordCount_ + 1, kDealInRecordCount);
}

namespace {

PointsSplit SplitOf(std::int64_t hands, std::span<const std::int64_t, kHandPartCount> parts) {
    PointsSplit split;
    split.hands = hands;
    for (const std::int64_t part : parts) split.total += part;
    std::copy(parts.begin(), parts.end(), split.parts.begin());
    split.meanTotal = stat::Quotient(static_cast<double>(split.total), static_cast<double>(hands));
    for (std::size_t p = 0; p < parts.size(); ++p) {
        split.means[p] = stat::Quotient(static_cast<double>(parts[p]), static_cast<double>(hands));
    }
    return split;
}

}  // namespace

DealInResults DealInAccumulator::Finish() const {
    DealInResults result;

    DealInBreakdown& breakdown = result.dealInBreakdown;
    breakdown.ownHands = own_.hands;
    breakdown.fieldHands = field_.hands;
    const std::int64_t ownDealIns = own_.rows[static_cast<std::size_t>(DealInRow::All)].count;
    const std::int64_t fieldDealIns = field_.rows[static_cast<std::size_t>(DealInRow::All)].count;
    for (std::size_t r = 0; r < breakdown.lines.size(); ++r) {
        DealInLine& line = breakdown.lines[r];
        line.own = own_.rows[r];
        line.field = field_.rows[r];
        const bool all = r == static_cast<std::size_t>(DealInRow::All);
        line.ownShare = WilsonRate(line.own.count, all ? own_.hands : ownDealIns);
        line.fieldShare = WilsonRate(line.field.count, all ? field_.hands : fieldDealIns);
        line.difference = NewcombeDifference(line.ownShare, line.fieldShare);
        line.significant = ExcludesZero(line.difference);
        line.ownMean =
            MeanOf(static_cast<double>(line.own.pointsLost), line.own.pointsLostSquareSum, line.own.count);
        line.fieldMean = MeanOf(static_cast<double>(line.field.pointsLost), line.field.pointsLostSquareSum,
                                line.field.count);
    }

    // Same names from different pools are the same name: merged by their bytes.
    for (const auto& table : yaku_.All()) {
        if (table->pool == nullptr) continue;
        for (scorelog::NameId id = 0; id < table->byName.size(); ++id) {
            if (table->byName[id] != 0) {
                result.dealInYaku[std::string(table->pool->View(id))].count += table->byName[id];
            }
        }
    }
    for (auto& [name, yaku] : result.dealInYaku) {
        yaku.rateOfDealIns = stat::Rate(yaku.count, ownDealIns);
        yaku.rateOfHands = stat::Rate(yaku.count, own_.hands);
    }

    for (const auto& table : opponents_.All()) {
        if (table->pool == nullptr) continue;
        for (scorelog::NameId id = 0; id < table->byName.size(); ++id) {
            const OpponentSums& sums = table->byName[id];
            if (sums.hands == 0 && sums.dealInsTo == 0 && sums.dealInsFrom == 0) continue;
            DealInOpponentStats& stats = result.dealInOpponents[std::string(table->pool->View(id))];
            stats.hands += sums.hands;
            stats.dealInsTo += sums.dealInsTo;
            stats.pointsLostTo += sums.pointsLostTo;
            stats.dealInsFrom += sums.dealInsFrom;
            stats.pointsWonFrom += sums.pointsWonFrom;
        }
    }
    for (auto& [name, stats] : result.dealInOpponents) {
        stats.dealInRate = WilsonRate(stats.dealInsTo, stats.hands);
    }

    result.dealInLargest.reserve(recordCount_);
    for (std::size_t i = 0; i < recordCount_; ++i) {
        const Record& record = records_[i];
        const scorelog::HandRecord& hand = (*record.hands)[record.handIndex];
        const auto text = [&](scorelog::NameId id) {
            return record.names && id < record.names->Size() ? std::string(record.names->View(id))
                                                             : std::string();
        };
        DealInRecord& out = result.dealInLargest.emplace_back();
        out.pointsLost = record.pointsLost;
        out.startTime = record.startTime;
        out.gameIndex = record.gameIndex;
        out.handNumber = static_cast<std::int32_t>(record.handIndex + 1);
        out.winnerName = text(hand.entryNames[0]);
        out.hanClass = static_cast<scorelog::HanClass>(stat::HanIndex(hand.hanClass));
        for (const scorelog::NameId id : hand.yaku) out.yaku.push_back(text(id));
    }

    result.pointsPerHand.own = SplitOf(own_.hands, std::span(points_).first<kHandPartCount>());
    result.pointsPerHand.field =
        SplitOf(field_.hands, std::span(points_).subspan<kHandPartCount, kHandPartCount>());
    return result;
}

}  // namespace obrenta::tally
