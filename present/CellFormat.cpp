#include "present/CellFormat.h"

#include <cctype>
#include <charconv>
#include <cstdarg>
#include <cstdio>

#include "base/Decimal.h"
#include "base/Platform.h"

namespace obrenta::present {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

void AppendTwoDigits(std::string& out, std::uint64_t value) {
    out += static_cast<char>('0' + value / 10 % 10);
    out += static_cast<char>('0' + value % 10);
}

}  // namespace

std::string FormatCell(const char* format, ...) {
    base::ClassicLocaleScope scope;
    char buffer[256];
    va_list args;
    va_start(args, format);
    int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < sizeof buffer) return std::string(buffer, length);
    std::string text(static_cast<std::size_t>(length), '\0');
    va_start(args, format);
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    return text;
}

std::string FormatDuration(std::string_view format, std::int64_t seconds) {
    std::string out;
    // The magnitude as unsigned, so that even the most negative value has one.
    std::uint64_t magnitude =
        seconds < 0 ? 0 - static_cast<std::uint64_t>(seconds) : static_cast<std::uint64_t>(seconds);
    if (seconds < 0) out += '-';
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        switch (format[i + 1]) {
            case 'D':
                out += std::to_string(magnitude / 86400);
                break;
            case 'H':
                AppendTwoDigits(out, magnitude / 3600 % 24);
                break;
            case 'M':
                AppendTwoDigits(out, magnitude / 60 % 60);
                break;
            case 'S':
                AppendTwoDigits(out, magnitude % 60);
                break;
            case '%':
                out += '%';
                break;
            default:
                out += format[i];
                out += format[i + 1];
                break;
        }
        ++i;
    }
    return out;
}

std::int64_t LeadingInteger(std::string_view text) {
    return base::ParseDecimal(text).value;
}

double LeadingDouble(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    double value = 0;
    std::from_chars_result result =
        std::from_chars(text.data() + i, text.data() + text.size(), value, std::chars_format::fixed);
    if (result.ec != std::errc()) return 0;
    return negative ? -value : value;
}

}  // namespace obrenta::present
