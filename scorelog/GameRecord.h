#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "scorelog/NamePool.h"

namespace obrenta::scorelog {

// Names longer than this many bytes are cut, so a long name still matches itself everywhere.
inline constexpr std::size_t kMaxNameBytes = 63;

enum class TableKind : std::int32_t {
    Other = 1,
    Ranking = 2,
    Advanced = 3,
    SuperAdvanced = 4,
};

enum class HandKind : std::int32_t {
    Other = 0,
    Tsumo = 1,
    Ron = 2,
    ExhaustiveDraw = 3,
    NagashiMangan = 4,
    Chombo = 5,
    NineTerminals = 6,
    FourWinds = 7,
    FourRiichi = 8,
    TripleRon = 9,
    FourKans = 10,
};
inline constexpr int kHandKindCount = 11;

enum class HanClass : std::int32_t {
    None = 0,
    Han1 = 1,
    Han2 = 2,
    Han3 = 3,
    Han4 = 4,
    Mangan = 5,
    Haneman = 6,
    Baiman = 7,
    Sanbaiman = 8,
    Yakuman = 9,
};
inline constexpr int kHanClassCount = 10;

struct SeatResult {
    NameId name = kEmptyName;
    std::int32_t rating = 0;
    std::int32_t points = 0;
    std::int32_t rank = 0;
    std::int32_t ratingRank = 0;
};

struct HandRecord {
    std::int32_t entryCount = 0;
    std::array<NameId, 4> entryNames{};
    std::array<std::int32_t, 4> entryDeltas{};
    HandKind kind = HandKind::Other;
    HanClass hanClass = HanClass::None;
    std::vector<NameId> yaku;

    bool IsWin() const { return kind == HandKind::Tsumo || kind == HandKind::Ron; }
};

using HandList = std::vector<HandRecord>;

// One finished game. Seconds are 64-bit so that dates after 2038 neither wrap nor misorder.
// The hands and the name pool never change once parsed, so copies share them: a copy behaves as
// a deep copy (it outlives its source) while the tally's selection stays cheap to build.
struct GameRecord {
    std::array<SeatResult, 4> seats{};
    std::int32_t playerCount = 0;
    bool eastSouth = false;
    TableKind tableKind = TableKind::Other;
    std::int32_t handCount = 0;
    std::int32_t startPoints = 0;
    std::int64_t startTime = 0;
    std::int64_t endTime = 0;
    std::shared_ptr<const HandList> hands;
    NamePoolPtr names;

    // The hands in log order; an empty list when none were set.
    const HandList& Hands() const;
    // Replaces the hands (later copies share them) and sets handCount to their number.
    void SetHands(HandList list);

    std::int64_t GameSeconds() const { return endTime - startTime; }
    // Index of the first of the first playerCount seats named name, or -1.
    std::int32_t FindSeatByName(NameId name) const;
    std::int32_t FindSeatByName(std::string_view name) const;
    std::string_view Name(NameId id) const { return names ? names->View(id) : std::string_view(); }
    std::string_view SeatName(int seat) const { return Name(seats[seat].name); }
};

}  // namespace obrenta::scorelog
