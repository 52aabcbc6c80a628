#include "scorelog/NamePool.h"

#include <algorithm>
#include <cstring>

#include "scorelog/Bytes.h"

namespace obrenta::scorelog {

namespace {

constexpr std::size_t kBlockBytes = 64 * 1024;
constexpr std::size_t kInitialSlots = 1024;

// Names are short and looked up often, so they are read in overlapping eight- and four-byte
// loads instead of byte by byte.
std::uint32_t HashBytes(std::string_view text) {
    constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ull;
    const char* p = text.data();
    const std::size_t n = text.size();
    std::uint64_t h = 0x243F6A8885A308D3ull ^ (n * kMul);
    auto mix = [&](std::uint64_t chunk) {
        h = (h ^ chunk) * kMul;
        h ^= h >> 29;
    };
    if (n >= 8) {
        std::size_t i = 0;
        for (; i + 8 < n; i += 8) mix(Load8(p + i));
        mix(Load8(p + n - 8));
    } else if (n >= 4) {
        mix(Load4(p) | static_cast<std::uint64_t>(Load4(p + n - 4)) << 32);
    } else if (n > 0) {
        mix(static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[n / 2]) << 8 |
            static_cast<std::uint64_t>(static_cast<unsigned char>(p[n - 1])) << 16);
    }
    h *= kMul;
    return static_cast<std::uint32_t>(h >> 32);
}

// Code page 932 bytes of the words a yaku reading looks for.
constexpr std::string_view kDora = "\x83\x68\x83\x89";             // ドラ
constexpr std::string_view kRed = "\x90\xD4";                      // 赤
constexpr std::string_view kUra = "\x97\xA0";                      // 裏
constexpr std::string_view kUraDora = "\x97\xA0\x83\x68\x83\x89";  // 裏ドラ
constexpr std::string_view kRiichi = "\x97\xA7\x92\xBC";           // 立直
constexpr int kMaxDora = 999;

// The number after prefix, or -1 when word is not prefix and ASCII digits. A longer number
// stays at 999, as a saturating reader would.
int NumberAfter(std::string_view word, std::string_view prefix) {
    if (word.size() <= prefix.size() || word.substr(0, prefix.size()) != prefix) return -1;
    int number = 0;
    for (const char c : word.substr(prefix.size())) {
        if (c < '0' || c > '9') return -1;
        number = std::min(number * 10 + (c - '0'), kMaxDora);
    }
    return number;
}

}  // namespace

YakuWord ReadYakuWord(std::string_view word) {
    YakuWord read;
    read.riichi = word == kRiichi;
    for (const std::string_view prefix : {kDora, kRed, kUra, kUraDora}) {
        const int number = NumberAfter(word, prefix);
        if (number < 0) continue;
        read.dora = static_cast<std::uint16_t>(number);
        read.ura = (prefix == kUra || prefix == kUraDora) && number >= 1;
    }
    return read;
}

NamePool::NamePool() : slots_(kInitialSlots) {
    views_.reserve(256);
    words_.reserve(256);
    Intern(std::string_view());
}

std::size_t NamePool::FindSlot(std::string_view text, std::uint32_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    for (;;) {
        const Slot& slot = slots_[i];
        if (slot.idPlusOne == 0) return i;
        if (slot.hash == hash && SameBytes(views_[slot.idPlusOne - 1], text)) return i;
        i = (i + 1) & mask;
    }
}

NameId NamePool::Intern(std::string_view text) {
    ShortText key;
    if (!key.Set(text)) return InternSlow(text);
    Recent& recent = recent_[key.Slot(kRecentBits)];
    if (recent.text == key) return recent.id;
    const NameId id = InternSlow(text);
    recent.text = key;
    recent.id = id;
    return id;
}

NameId NamePool::InternSlow(std::string_view text) {
    const std::uint32_t hash = HashBytes(text);
    std::size_t i = FindSlot(text, hash);
    if (slots_[i].idPlusOne != 0) return slots_[i].idPlusOne - 1;
    if ((views_.size() + 1) * 2 > slots_.size()) {
        Grow();
        i = FindSlot(text, hash);
    }
    const auto id = static_cast<NameId>(views_.size());
    views_.push_back(Store(text));
    words_.push_back(ReadYakuWord(text));
    slots_[i] = Slot{id + 1, hash};
    return id;
}

std::optional<NameId> NamePool::Find(std::string_view text) const {
    const std::size_t i = FindSlot(text, HashBytes(text));
    if (slots_[i].idPlusOne == 0) return std::nullopt;
    return slots_[i].idPlusOne - 1;
}

std::string_view NamePool::Store(std::string_view text) {
    if (text.empty()) return std::string_view();
    if (blocks_.empty() || blocks_.back().capacity - blocks_.back().used < text.size()) {
        Block block;
        block.capacity = std::max(kBlockBytes, text.size());
        block.bytes = std::make_unique<char[]>(block.capacity);
        blocks_.push_back(std::move(block));
    }
    Block& block = blocks_.back();
    char* at = block.bytes.get() + block.used;
    std::memcpy(at, text.data(), text.size());
    block.used += text.size();
    return std::string_view(at, text.size());
}

void NamePool::Grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.idPlusOne == 0) continue;
        std::size_t i = slot.hash & mask;
        while (slots_[i].idPlusOne != 0) i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

}  // namespace obrenta::scorelog
