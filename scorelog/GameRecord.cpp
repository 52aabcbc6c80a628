#include "scorelog/GameRecord.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

#include "base/Platform.h"

namespace obrenta::scorelog {

namespace {

// Hands and yaku are copied into the blocks byte for byte.
static_assert(std::is_trivially_copyable_v<HandRecord> && std::is_trivially_destructible_v<HandRecord>);
static_assert(std::is_trivially_destructible_v<HandList>);
static_assert(sizeof(HandList) % alignof(HandRecord) == 0 && sizeof(HandRecord) % alignof(NameId) == 0);
// The entry seats fill the padding before the yaku view: a hand stays one cache line.
static_assert(sizeof(void*) != 8 || sizeof(HandRecord) == 64);

constexpr std::size_t kMaxBlockBytes = std::size_t{8} << 20;
// Blocks from this size on are backed by large pages where the system can.
constexpr std::size_t kLargePageBlockBytes = std::size_t{4} << 20;

}  // namespace

HandArena::HandArena(std::size_t firstBlockBytes) : nextBlockBytes_(firstBlockBytes) {}

void HandArena::BeginGame() {
    hands_.clear();
    yaku_.clear();
    yakuCounts_.clear();
}

HandRecord& HandArena::AddHand() {
    yakuCounts_.push_back(0);
    return hands_.emplace_back();
}

std::byte* HandArena::Allocate(std::size_t bytes, std::size_t alignment) {
    bytes = (bytes + alignof(HandRecord) - 1) / alignof(HandRecord) * alignof(HandRecord);
    const auto padding = [&] {
        return (alignment - reinterpret_cast<std::uintptr_t>(next_) % alignment) % alignment;
    };
    if (next_ == nullptr || bytes + padding() > room_) {
        // A block of 0 bytes asked for gives every game a block of exactly its size.
        const std::size_t size = std::max(bytes + alignment, nextBlockBytes_);
        nextBlockBytes_ = std::min(nextBlockBytes_ * 2, kMaxBlockBytes);
        if (!blocks_) blocks_ = std::make_shared<Blocks>();
        blocks_->list.push_back(std::make_unique_for_overwrite<std::byte[]>(size));
        next_ = blocks_->list.back().get();
        if (size >= kLargePageBlockBytes) base::AdviseLargePages(next_, size);
        room_ = size;
    }
    const std::size_t skip = padding();
    std::byte* at = next_ + skip;
    next_ += skip + bytes;
    room_ -= skip + bytes;
    return at;
}

std::shared_ptr<const HandList> HandArena::EndGame() {
    // The list, the hands and their yaku, side by side.
    const std::size_t handBytes = hands_.size() * sizeof(HandRecord);
    const std::size_t yakuBytes = yaku_.size() * sizeof(NameId);
    std::byte* at = Allocate(sizeof(HandList) + handBytes + yakuBytes, alignof(HandRecord));
    auto* hands = reinterpret_cast<HandRecord*>(at + sizeof(HandList));
    auto* yaku = reinterpret_cast<NameId*>(at + sizeof(HandList) + handBytes);
    if (!hands_.empty()) std::memcpy(static_cast<void*>(hands), hands_.data(), handBytes);
    if (!yaku_.empty()) std::memcpy(yaku, yaku_.data(), yakuBytes);
    const NameId* from = yaku;
    for (std::size_t k = 0; k < hands_.size(); ++k) {
        hands[k].yaku = YakuList(std::span<const NameId>(from, yakuCounts_[k]));
        from += yakuCounts_[k];
    }
    const HandList* list = new (at) HandList(std::span<const HandRecord>(hands, hands_.size()));
    BeginGame();
    return std::shared_ptr<const HandList>(blocks_, list);
}

const HandList& GameRecord::Hands() const {
    static const HandList kNoHands;
    return hands ? *hands : kNoHands;
}

void GameRecord::SetHands(std::span<const HandRecord> list) {
    HandArena arena(0);
    for (const HandRecord& hand : list) {
        HandRecord& added = arena.AddHand();
        added = hand;
        added.yaku = YakuList();
        FindEntrySeats(added);
        for (const NameId id : hand.yaku) arena.AddYaku(id);
    }
    handCount = static_cast<std::int32_t>(list.size());
    hands = arena.EndGame();
}

std::int32_t GameRecord::FindSeatByName(NameId name) const {
    for (std::int32_t k = 0; k < playerCount && k < 4; ++k) {
        if (seats[k].name == name) return k;
    }
    return -1;
}

void GameRecord::FindEntrySeats(HandRecord& hand) const {
    for (int i = 0; i < 4; ++i) {
        hand.entrySeats[i] =
            i < hand.entryCount ? static_cast<std::int8_t>(FindSeatByName(hand.entryNames[i])) : kNoSeat;
    }
}

std::int32_t GameRecord::FindSeatByName(std::string_view name) const {
    if (!names) return -1;
    const auto id = names->Find(name.substr(0, kMaxNameBytes));
    return id ? FindSeatByName(*id) : -1;
}

}  // namespace obrenta::scorelog
