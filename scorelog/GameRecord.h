#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
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

// The yaku of a hand, as ids of its game's name pool in the order of the line. It views ids held
// with the hands of its game (or, while a hand is built, by whoever builds it).
class YakuList {
public:
    using value_type = NameId;
    using const_iterator = const NameId*;
    using iterator = const_iterator;

    YakuList() = default;
    explicit YakuList(std::span<const NameId> ids)
        : data_(ids.data()), size_(static_cast<std::uint32_t>(ids.size())) {}

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const NameId* data() const { return data_; }
    const NameId& operator[](std::size_t i) const { return data_[i]; }
    const NameId& front() const { return data_[0]; }
    const NameId& back() const { return data_[size_ - 1]; }
    const_iterator begin() const { return data_; }
    const_iterator end() const { return data_ + size_; }

    friend bool operator==(const YakuList& a, const YakuList& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    const NameId* data_ = nullptr;
    std::uint32_t size_ = 0;
};

// The seat of an entry whose name is none of the game's seats.
inline constexpr std::int8_t kNoSeat = -1;

struct HandRecord {
    std::int32_t entryCount = 0;
    std::array<NameId, 4> entryNames{};
    std::array<std::int32_t, 4> entryDeltas{};
    HandKind kind = HandKind::Other;
    HanClass hanClass = HanClass::None;
    // The seat each entry belongs to: the first of the game's seats with the entry's name, found
    // once when the hand is read (see GameRecord::FindSeatByName); kNoSeat past entryCount.
    std::array<std::int8_t, 4> entrySeats{kNoSeat, kNoSeat, kNoSeat, kNoSeat};
    YakuList yaku;

    bool IsWin() const { return kind == HandKind::Tsumo || kind == HandKind::Ron; }
};

// The hands of a game in log order, viewed where they are stored (see HandArena).
class HandList {
public:
    using value_type = HandRecord;
    using const_iterator = const HandRecord*;
    using iterator = const_iterator;

    HandList() = default;
    explicit HandList(std::span<const HandRecord> hands) : data_(hands.data()), size_(hands.size()) {}

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const HandRecord* data() const { return data_; }
    const HandRecord& operator[](std::size_t i) const { return data_[i]; }
    const HandRecord& front() const { return data_[0]; }
    const HandRecord& back() const { return data_[size_ - 1]; }
    const_iterator begin() const { return data_; }
    const_iterator end() const { return data_ + size_; }

private:
    const HandRecord* data_ = nullptr;
    std::size_t size_ = 0;
};

// Stores the hands and yaku of many games in a few large blocks: a game's list, its hands and
// their yaku lie side by side, in the order the tally reads them, and a read makes a few dozen
// heap blocks instead of one per hand. Each game's hands pointer shares the ownership of the
// blocks, so a game copied out of a read outlives the read and its other games.
// A game is built with BeginGame, AddHand and AddYaku, and stored by EndGame.
class HandArena {
public:
    // firstBlockBytes: the size of the first block; later ones double up to 8 MB.
    explicit HandArena(std::size_t firstBlockBytes = 4096);
    HandArena(const HandArena&) = delete;
    HandArena& operator=(const HandArena&) = delete;

    // Forgets the hands added since the last EndGame.
    void BeginGame();
    // A new hand at the end of the game's hands, with no yaku.
    HandRecord& AddHand();
    // Appends id to the yaku of the last hand added.
    void AddYaku(NameId id) {
        yaku_.push_back(id);
        ++yakuCounts_.back();
    }
    std::size_t HandCount() const { return hands_.size(); }

    // Stores the hands added since BeginGame and returns the game's pointer to them.
    std::shared_ptr<const HandList> EndGame();

private:
    struct Blocks {
        std::vector<std::unique_ptr<std::byte[]>> list;
    };
    std::byte* Allocate(std::size_t bytes, std::size_t alignment);

    std::vector<HandRecord> hands_;
    std::vector<NameId> yaku_;
    std::vector<std::uint32_t> yakuCounts_;  // per hand, how many of yaku_ are its
    std::shared_ptr<Blocks> blocks_;
    std::byte* next_ = nullptr;
    std::size_t room_ = 0;
    std::size_t nextBlockBytes_;
};

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
    // Replaces the hands with copies of list and of the yaku its hands view, in storage of their
    // own (later copies of the game share it), and sets handCount to their number. The copies'
    // entry seats are found from the seats as they are now.
    void SetHands(std::span<const HandRecord> list);
    // Sets the entry seats of hand from its entry names and this game's seats.
    void FindEntrySeats(HandRecord& hand) const;

    std::int64_t GameSeconds() const { return endTime - startTime; }
    // Index of the first of the first playerCount seats named name, or -1.
    std::int32_t FindSeatByName(NameId name) const;
    std::int32_t FindSeatByName(std::string_view name) const;
    std::string_view Name(NameId id) const { return names ? names->View(id) : std::string_view(); }
    std::string_view SeatName(int seat) const { return Name(seats[seat].name); }
};

}  // namespace obrenta::scorelog
