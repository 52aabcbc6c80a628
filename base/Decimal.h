#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

namespace obrenta::base {

// C's white space (isspace in the "C" locale): space, tab, newline, vertical tab, form feed,
// carriage return. No byte of code page 932 text at or above 0x80 is one of them.
inline bool IsCSpace(char c) {
    // One test settles every byte above the space, which is nearly every byte looked at.
    constexpr std::uint64_t kSpaces = std::uint64_t{1} << ' ' | std::uint64_t{0x1f} << '\t';
    const auto u = static_cast<unsigned char>(c);
    return u <= ' ' && ((kSpaces >> u) & 1) != 0;
}

// The value of a run of decimal digits with its sign, saturated at the 64-bit bounds.
std::int64_t LongDigitsValue(const char* digits, const char* end, bool negative);

struct Decimal {
    std::int64_t value = 0;
    // Bytes read (white space, sign and digits); 0 when no digit follows the sign.
    std::size_t length = 0;
};

// Reads a decimal integer the way the C library reads one for strtol(..., 10), atoi and scanf's
// %d: leading white space, an optional sign, then digits up to the first non-digit. A value
// past the 64-bit bounds saturates at them, as strtol's does.
inline Decimal ParseDecimal(std::string_view text) {
    const char* const start = text.data();
    const char* const end = start + text.size();
    const char* p = start;
    while (p != end && IsCSpace(*p)) ++p;
    bool negative = false;
    if (p != end && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    const char* const digits = p;
    // Eighteen digits always fit; the value of a longer run is worked out again.
    std::uint64_t magnitude = 0;
    for (; p != end; ++p) {
        const auto digit = static_cast<unsigned>(static_cast<unsigned char>(*p)) - '0';
        if (digit > 9) break;
        magnitude = magnitude * 10 + digit;
    }
    if (p == digits) return {};
    const auto length = static_cast<std::size_t>(p - start);
    if (p - digits > 18) return {LongDigitsValue(digits, p, negative), length};
    const auto value = static_cast<std::int64_t>(magnitude);
    return {negative ? -value : value, length};
}

// A 64-bit value held in a narrower type, saturated at that type's bounds.
template <std::signed_integral T>
T SaturateTo(std::int64_t value) {
    if (value < std::numeric_limits<T>::min()) return std::numeric_limits<T>::min();
    if (value > std::numeric_limits<T>::max()) return std::numeric_limits<T>::max();
    return static_cast<T>(value);
}

// The int C's atoi and %d store on a platform with a 64-bit long: the value read as strtol reads
// it, then narrowed to 32 bits (it wraps, it does not saturate).
inline std::int32_t NarrowAsAtoi(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

}  // namespace obrenta::base
