#pragma once

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

// Byte-wise equality of two short texts, player names mostly, without a library call.
inline bool SameBytes(std::string_view a, std::string_view b) {
    const std::size_t n = a.size();
    if (n != b.size())
        return false;
    if (n >= 8 && n <= 16) {
        return Load8(a.data()) == Load8(b.data()) &&
               Load8(a.data() + n - 8) == Load8(b.data() + n - 8);
    }
    if (n >= 4 && n < 8) {
        return Load4(a.data()) == Load4(b.data()) &&
               Load4(a.data() + n - 4) == Load4(b.data() + n - 4);
    }
    return n == 0 || std::memcmp(a.data(), b.data(), n) == 0;
}

}  // namespace obrenta::scorelog
