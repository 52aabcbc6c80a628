#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "base/Decimal.h"
#include "scorelog/Bytes.h"

namespace obrenta::scorelog {

// scanf's white space: space, tab, newline, vertical tab, form feed, carriage return.
inline bool IsScanSpace(char c) {
    return base::IsCSpace(c);
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
    // at most width bytes counting the sign. The value is stored as %d stores it.
    bool Int(std::int32_t& out, int width = -1) {
        SkipSpace();
        const std::size_t room = static_cast<std::size_t>(end_ - p_);
        const base::Decimal d =
            base::ParseDecimal(std::string_view(p_, width >= 0 ? std::min(room, std::size_t(width)) : room));
        if (d.length == 0) return false;
        p_ += d.length;
        out = base::NarrowAsAtoi(d.value);
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
inline std::int32_t AtoiLike(std::string_view text) {
    return base::NarrowAsAtoi(base::ParseDecimal(text).value);
}

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
