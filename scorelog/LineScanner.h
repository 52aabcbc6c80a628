#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "scorelog/Bytes.h"

namespace obrenta::scorelog {

// scanf's white space: space, tab, newline, vertical tab, form feed, carriage return. No byte of
// code page 932 text at or above 0x80 is one of them.
inline bool IsScanSpace(char c) {
    // One test settles every byte above the space, which is nearly every byte looked at.
    constexpr std::uint64_t kSpaces = std::uint64_t{1} << ' ' | std::uint64_t{0x1f} << '\t';
    const auto u = static_cast<unsigned char>(c);
    return u <= ' ' && ((kSpaces >> u) & 1) != 0;
}

// The value the C library gives a run of decimal digits with a sign, as strtol reads it into a
// 64-bit long (saturating) and then narrowed to int, as a %d or atoi stores it.
std::int32_t LongDigitsToInt(const char* digits, const char* end, bool negative);
inline std::int32_t DigitsToInt(const char* digits, const char* end, bool negative) {
    if (end - digits > 9) return LongDigitsToInt(digits, end, negative);
    std::int32_t value = 0;
    for (const char* p = digits; p != end; ++p) value = value * 10 + (*p - '0');
    return negative ? -value : value;
}

// The directives of a scanf format, one call each, on a line that ends where the view ends.
// Every call reproduces what the C library's scanf does with the same directive, so the fixed
// scans below assign exactly the fields a scanf with their format would.
class LineScanner {
public:
    explicit LineScanner(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

    // White space in a format: any amount of white space, none included.
    void SkipSpace() {
        while (p_ != end_ && IsScanSpace(*p_)) ++p_;
    }
    // Ordinary bytes in a format: each must be the next input byte (no white space skipped).
    bool Literal(std::string_view bytes) {
        for (char c : bytes) {
            if (p_ == end_ || *p_ != c) return false;
            ++p_;
        }
        return true;
    }
    // %s: white space skipped, then a non-empty run of non-white-space bytes.
    bool Token(std::string_view& out) {
        SkipSpace();
        const char* start = p_;
        p_ = FindLowStop(p_, end_, IsScanSpace);
        if (p_ == start) return false;
        out = std::string_view(start, p_ - start);
        return true;
    }
    // %d, or %Nd with width N: white space skipped, an optional sign and at least one digit,
    // at most width bytes counting the sign.
    bool Int(std::int32_t& out, int width = -1) {
        SkipSpace();
        if (p_ == end_) return false;
        bool negative = false;
        if (*p_ == '-' || *p_ == '+') {
            negative = *p_ == '-';
            ++p_;
            if (width > 0) --width;
        }
        const char* digits = p_;
        const char* limit = width >= 0 && end_ - p_ > width ? p_ + width : end_;
        // Nine digits always fit; the value of a longer run is worked out again below.
        std::uint64_t value = 0;
        for (; p_ != limit; ++p_) {
            const auto digit = static_cast<unsigned>(static_cast<unsigned char>(*p_)) - '0';
            if (digit > 9) break;
            value = value * 10 + digit;
        }
        if (p_ == digits) return false;
        if (p_ - digits > 9) {
            out = LongDigitsToInt(digits, p_, negative);
        } else {
            const auto magnitude = static_cast<std::int32_t>(value);
            out = negative ? -magnitude : magnitude;
        }
        return true;
    }

    std::string_view Rest() const { return std::string_view(p_, end_ - p_); }

private:
    const char* p_;
    const char* end_;
};

// C's atoi as the C library reads it: leading white space, an optional sign, digits up to the
// first non-digit; 0 when no digit follows. Out-of-range values saturate to the long range
// and are then narrowed to int.
std::int32_t AtoiLike(std::string_view text);

// The rating of a seat-line rating token ("R1712"): its first byte skipped, the rest read as
// AtoiLike does.
std::int32_t RatingFromToken(std::string_view token);

// "%*s [1]%s %s [2]%s %s [3]%s %s [4]%s %s"
struct SeatLineScan {
    int fields = 0;
    std::array<std::string_view, 4> names{};
    std::array<std::string_view, 4> ratings{};
};
SeatLineScan ScanSeatLine(std::string_view line);

// "    持点%d"; the number of fields assigned (0 or 1).
int ScanStartPoints(std::string_view line, std::int32_t& points);

// "%*s %*s %s %d %s %d %s %d %s %d" (skippedWords 2) or "%*s %s %d %s %d %s %d %s %d" (1).
struct EntryScan {
    int fields = 0;
    std::array<std::string_view, 4> names{};
    std::array<std::int32_t, 4> deltas{};
};
EntryScan ScanEntries(std::string_view line, int skippedWords);

// "%d位 %s %d"
int ScanResultLine(std::string_view line, std::int32_t& rank, std::string_view& name, std::int32_t& points);

// "%4d/%2d/%2d %2d:%2d" into year, month, day, hour, minute.
int ScanDateTime(std::string_view text, std::array<std::int32_t, 5>& fields);

}  // namespace obrenta::scorelog
