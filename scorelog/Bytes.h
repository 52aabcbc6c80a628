#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace obrenta::scorelog {

inline std::uint64_t Load8(const char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

inline std::uint32_t Load4(const char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// Flags (top bit of each byte) the bytes of v below 0x21: control bytes and the space. Borrows
// only run upwards, so the lowest flag is exact; flags above it may be false.
inline std::uint64_t LowBytesMask(std::uint64_t v) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    return (v - kOnes * 0x21) & ~v & (kOnes * 0x80);
}

// The first byte in [p, end) for which isStop holds, or end. Every stop byte must be below 0x21
// (so bytes of code page 932 text never are): whole words without such a byte are skipped.
template <typename IsStop>
inline const char* FindLowStop(const char* p, const char* end, IsStop isStop) {
    if constexpr (std::endian::native == std::endian::little) {
        while (end - p >= 8) {
            const std::uint64_t mask = LowBytesMask(Load8(p));
            if (mask == 0) {
                p += 8;
                continue;
            }
            const char* low = p + (std::countr_zero(mask) >> 3);
            if (isStop(*low)) return low;
            p = low + 1;
        }
    }
    while (p != end && !isStop(*p)) ++p;
    return p;
}

// A text of at most 16 bytes as two words: with its size they give back every byte, so equal
// keys mean equal texts (the words overlap for sizes between 9 and 15, and between 5 and 7).
struct ShortText {
    std::uint64_t a = 0;
    std::uint64_t b = 0;
    std::uint64_t size = ~std::uint64_t{0};  // matches no text

    static constexpr std::size_t kMaxBytes = 16;

    // False when the text is too long to be held.
    bool Set(std::string_view text) {
        const char* p = text.data();
        const std::size_t n = text.size();
        if (n >= 8) {
            if (n > kMaxBytes) return false;
            a = Load8(p);
            b = Load8(p + n - 8);
        } else if (n >= 4) {
            a = Load4(p) | static_cast<std::uint64_t>(Load4(p + n - 4)) << 32;
            b = 0;
        } else {
            a = n == 0 ? 0
                       : static_cast<unsigned char>(p[0]) |
                             static_cast<std::uint64_t>(static_cast<unsigned char>(p[n / 2])) << 8 |
                             static_cast<std::uint64_t>(static_cast<unsigned char>(p[n - 1])) << 16;
            b = 0;
        }
        size = n;
        return true;
    }
    // Without a branch per word: lookups compare against several texts, and which one matches
    // is not predictable.
    bool operator==(const ShortText& other) const {
        return ((a ^ other.a) | (b ^ other.b) | (size ^ other.size)) == 0;
    }
    // A slot of a direct-mapped table of 2^bits entries.
    std::size_t Slot(int bits) const {
        const std::uint64_t h = (a ^ (b * 0x9E3779B97F4A7C15ull) ^ size) * 0xD6E8FEB86659FD93ull;
        return static_cast<std::size_t>(h >> (64 - bits));
    }
};

// Byte-wise equality of two short texts, player names mostly, without a library call.
inline bool SameBytes(std::string_view a, std::string_view b) {
    const std::size_t n = a.size();
    if (n != b.size()) return false;
    if (n >= 8 && n <= 16) {
        return Load8(a.data()) == Load8(b.data()) && Load8(a.data() + n - 8) == Load8(b.data() + n - 8);
    }
    if (n >= 4 && n < 8) {
        return Load4(a.data()) == Load4(b.data()) && Load4(a.data() + n - 4) == Load4(b.data() + n - 4);
    }
    return n == 0 || std::memcmp(a.data(), b.data(), n) == 0;
}

}  // namespace obrenta::scorelog
