#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "scorelog/GameRecord.h"
#include "settings/AppSettings.h"

namespace obrenta::tally {

struct UserSeat {
    int slot = -1;
    int seat = -1;
    bool found = false;
};

// The filter of the settings, read once per tally: which IDs are the user's and which games
// count. A flag lets a game through only when it is exactly 1.
struct TallyFilter {
    struct UserId {
        int slot = 0;
        std::string id;
    };

    std::array<UserId, settings::kMaxUserIds> userIds{};  // the IDs in use, in slot order
    int userIdCount = 0;
    std::int64_t dateFrom = 0;
    std::int64_t dateTo = 0;
    // Indexed by TableKind - 1: other, ranking, advanced, super-advanced tables.
    std::array<bool, 4> tableKinds{};
    bool fourPlayer = false;
    bool threePlayer = false;
    bool eastOnly = false;
    bool eastSouth = false;
    std::array<bool, 4> ranks{};        // final rank r at [r - 1]
    std::array<bool, 4> ratingRanks{};  // R rank q at [q - 1]
    std::size_t recentCount = 0;

    static TallyFilter FromSettings(const settings::AppSettings& settings);

    // Whether the IDs in use are the same as those of the settings.
    bool SameUserIds(const settings::AppSettings& settings) const;
    // The checks that follow finding the user's seat.
    bool Passes(const scorelog::GameRecord& game, const UserSeat& user) const;
};

// Finds the user's seat by the IDs of a filter. The IDs are resolved to the name ids of one
// pool at a time, so that a game costs integer comparisons only.
class UserSeatFinder {
public:
    explicit UserSeatFinder(const TallyFilter& filter);

    UserSeat Find(const scorelog::GameRecord& game);
    bool SameUserIds(const settings::AppSettings& settings) const { return filter_.SameUserIds(settings); }

private:
    void Resolve(const scorelog::NamePoolPtr& pool);

    TallyFilter filter_;
    // Held weakly: a live pool can't share its address with a new one, so the pointer test is
    // safe against a pool freed and another allocated in its place.
    const scorelog::NamePool* pool_ = nullptr;
    std::weak_ptr<const scorelog::NamePool> poolRef_;
    std::size_t poolSize_ = 0;
    int resolvedCount_ = 0;
    std::array<int, settings::kMaxUserIds> resolvedSlots_{};
    std::array<scorelog::NameId, settings::kMaxUserIds> resolvedIds_{};
};

// The user's own seat in a game: exactly one seat named by an ID in use.
UserSeat FindUserSeat(const scorelog::GameRecord& game, const settings::AppSettings& settings);
bool PassesFilter(const scorelog::GameRecord& game, const settings::AppSettings& settings);

}  // namespace obrenta::tally
