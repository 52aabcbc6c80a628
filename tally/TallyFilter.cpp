#include "tally/TallyFilter.h"

#include <algorithm>

#include "tally/StatHelpers.h"

namespace obrenta::tally {

using scorelog::GameRecord;
using settings::AppSettings;

TallyFilter TallyFilter::FromSettings(const AppSettings& settings) {
    TallyFilter filter;
    const int usable = settings.UsableIdCount();
    for (int i = 0; i < usable; ++i) {
        if (settings.userIdEnabled[i] != 0) {
            filter.userIds[filter.userIdCount++] = {i, settings.userIds[i]};
        }
    }
    filter.dateFrom = settings.dateFrom;
    filter.dateTo = settings.dateTo;
    // The panel lists the table kinds from the highest down.
    for (int flag = 0; flag < 4; ++flag) {
        filter.tableKinds[3 - flag] = settings.tableKindFilter[flag] == 1;
    }
    filter.fourPlayer = settings.gameKindFilter[0] == 1;
    filter.threePlayer = settings.gameKindFilter[1] == 1;
    filter.eastOnly = settings.gameKindFilter[2] == 1;
    filter.eastSouth = settings.gameKindFilter[3] == 1;
    for (int r = 0; r < 4; ++r) {
        filter.ranks[r] = settings.rankFilter[r] == 1;
        filter.ratingRanks[r] = settings.ratingRankFilter[r] == 1;
    }
    filter.recentCount = static_cast<std::size_t>(std::max(settings.recentCount, 0));
    return filter;
}

bool TallyFilter::SameUserIds(const AppSettings& settings) const {
    const int usable = settings.UsableIdCount();
    int n = 0;
    for (int i = 0; i < usable; ++i) {
        if (settings.userIdEnabled[i] == 0) {
            continue;
        }
        if (n == userIdCount || userIds[n].slot != i || userIds[n].id != settings.userIds[i]) {
            return false;
        }
        ++n;
    }
    return n == userIdCount;
}

bool TallyFilter::Passes(const GameRecord& game, const UserSeat& user) const {
    if (!user.found) {
        return false;
    }
    if (game.startTime < dateFrom || game.startTime > dateTo) {
        return false;
    }
    const int kind = static_cast<int>(game.tableKind) - 1;
    if (kind >= 0 && kind < 4 && !tableKinds[kind]) {
        return false;
    }
    if (!(game.eastSouth ? eastSouth : eastOnly)) {
        return false;
    }
    if ((game.playerCount == 3 && !threePlayer) || (game.playerCount == 4 && !fourPlayer)) {
        return false;
    }
    const scorelog::SeatResult& seat = game.seats[user.seat];
    if (seat.rank < 1 || seat.rank > 4 || !ranks[seat.rank - 1]) {
        return false;
    }
    return seat.ratingRank >= 1 && seat.ratingRank <= 4 && ratingRanks[seat.ratingRank - 1];
}

UserSeatFinder::UserSeatFinder(const TallyFilter& filter) : filter_(filter) {}

UserSeat UserSeatFinder::Find(const GameRecord& game) {
    UserSeat result;
    const scorelog::NamePool* pool = game.names.get();
    if (pool == nullptr) {
        return result;
    }
    if (pool != pool_ || poolRef_.expired() || pool->Size() != poolSize_) {
        Resolve(game.names);
    }
    const int seatLimit = stat::SeatLimit(game);
    int matches = 0;
    for (int j = 0; j < resolvedCount_; ++j) {
        for (int k = 0; k < seatLimit; ++k) {
            if (game.seats[k].name == resolvedIds_[j]) {
                ++matches;
                result.slot = resolvedSlots_[j];
                result.seat = k;
            }
        }
    }
    result.found = matches == 1;
    return result;
}

void UserSeatFinder::Resolve(const scorelog::NamePoolPtr& pool) {
    pool_ = pool.get();
    poolRef_ = pool;
    poolSize_ = pool->Size();
    resolvedCount_ = 0;
    for (int j = 0; j < filter_.userIdCount; ++j) {
        const TallyFilter::UserId& user = filter_.userIds[j];
        // Seat names are cut to 63 bytes, so a longer ID names nobody (though the pool may hold
        // the same bytes as a yaku).
        if (user.id.size() > scorelog::kMaxNameBytes) {
            continue;
        }
        if (auto id = pool->Find(user.id)) {
            resolvedSlots_[resolvedCount_] = user.slot;
            resolvedIds_[resolvedCount_] = *id;
            ++resolvedCount_;
        }
    }
}

UserSeat FindUserSeat(const GameRecord& game, const AppSettings& settings) {
    // Callers ask for many games in turn; keep the resolved IDs between calls.
    thread_local std::unique_ptr<UserSeatFinder> finder;
    if (!finder || !finder->SameUserIds(settings)) {
        finder = std::make_unique<UserSeatFinder>(TallyFilter::FromSettings(settings));
    }
    return finder->Find(game);
}

bool PassesFilter(const GameRecord& game, const AppSettings& settings) {
    return TallyFilter::FromSettings(settings).Passes(game, FindUserSeat(game, settings));
}

}  // namespace obrenta::tally
