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

// What a cell shows, before the cell's format turns it into text.
struct CellValue {
    enum class Kind {
        None,       // the format alone, with no argument
        Integer,    // "%d" of first; "%lld" and "%+lld" take all its 64 bits
        Decimal,    // the format of decimal
        Duration,   // a duration format of first seconds
        Pair,       // the format of first and second
        LocalTime,  // the format of month, day, hour and minute of first seconds, in local time
        Text,       // text as it is
        Dashes,     // "---": a rate or average of nothing
        Period,     // first the year, second the month: "%04d/%02d", or "%04d" for a month of 0
        Interval,   // decimal and halfWidth by a format of two; " ±---" for the second without one
        Range,      // decimal, low and high by a format of three
        Dated,      // "%d" of first, then year, month, day, hour and minute of second seconds, local
        DateTime,   // the format of year, month, day, hour and minute of first seconds, local
    };

    CellValue() = default;
    CellValue(std::int32_t value) : kind(Kind::Integer), first(value) {}
    CellValue(std::int64_t value) : kind(Kind::Integer), first(value) {}
    CellValue(double value) : kind(Kind::Decimal), decimal(value) {}
    static CellValue Duration(std::int64_t seconds);
    static CellValue Pair(std::int64_t a, std::int64_t b);
    static CellValue LocalTime(std::int64_t seconds);
    static CellValue Text(std::string_view text);
    static CellValue Dashes();
    static CellValue Period(std::int32_t year, std::int32_t month);
    static CellValue Interval(double value, double halfWidth, bool hasInterval);
    static CellValue Range(double value, double low, double high);
    static CellValue Dated(std::int64_t value, std::int64_t seconds);
    static CellValue DateTime(std::int64_t seconds);

    Kind kind = Kind::None;
    std::int64_t first = 0;
    std::int64_t second = 0;
    double decimal = 0;
    double halfWidth = 0;
    bool hasInterval = false;
    double low = 0;
    double high = 0;
    // The cell of Kind::Text; for the other kinds, put in front of the formatted value.
    std::string_view text;
    // Put after the formatted value (not for Kind::Text).
    std::string_view suffix;
};

// The text of a cell: its format (code page 932) applied to its value.
std::string CellText(const std::string& format, const CellValue& value);

}  // namespace obrenta::present
