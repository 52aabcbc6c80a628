#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace obrenta::present {

// printf into a string, always with the "C" locale's decimal point, whatever locale the program
// runs under (the desktop toolkit sets the user's locale at start-up).
std::string FormatCell(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Formats a duration in seconds: "%D" the whole days, unpadded; "%H" the hours within the day,
// "%M" the minutes within the hour, "%S" the seconds within the minute, each two digits; "%%" a
// single "%"; every other byte is copied. A negative duration is formatted from its magnitude
// with a "-" in front.
std::string FormatDuration(std::string_view format, std::int64_t seconds);

// The leading integer of a cell text as C's atoi reads it (leading blanks, an optional sign,
// digits up to the first non-digit; 0 when no digit follows).
std::int64_t LeadingInteger(std::string_view text);
// The leading decimal number of a cell text as C's atof reads plain decimals; 0 when none.
double LeadingDouble(std::string_view text);

}  // namespace obrenta::present
