#include "present/CellFormat.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <ctime>

#include "base/Decimal.h"
#include "base/LocalTime.h"
#include "base/Platform.h"
#include "present/TextCodec.h"

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

CellValue CellValue::Duration(std::int64_t seconds) {
    CellValue value(seconds);
    value.kind = Kind::Duration;
    return value;
}

CellValue CellValue::Pair(std::int64_t a, std::int64_t b) {
    CellValue value(a);
    value.kind = Kind::Pair;
    value.second = b;
    return value;
}

CellValue CellValue::LocalTime(std::int64_t seconds) {
    CellValue value(seconds);
    value.kind = Kind::LocalTime;
    return value;
}

CellValue CellValue::Text(std::string_view text) {
    CellValue value;
    value.kind = Kind::Text;
    value.text = text;
    return value;
}

CellValue CellValue::Period(std::int32_t year, std::int32_t month) {
    CellValue value = Pair(year, month);
    value.kind = Kind::Period;
    return value;
}

CellValue CellValue::Interval(double value, double halfWidth, bool hasInterval) {
    CellValue cell(value);
    cell.kind = Kind::Interval;
    cell.halfWidth = halfWidth;
    cell.hasInterval = hasInterval;
    return cell;
}

CellValue CellValue::Range(double value, double low, double high) {
    CellValue cell(value);
    cell.kind = Kind::Range;
    cell.low = low;
    cell.high = high;
    return cell;
}

CellValue CellValue::DateTime(std::int64_t seconds) {
    CellValue value(seconds);
    value.kind = Kind::DateTime;
    return value;
}

CellValue CellValue::Dated(std::int64_t value, std::int64_t seconds) {
    CellValue cell(value);
    cell.kind = Kind::Dated;
    cell.second = seconds;
    return cell;
}

CellValue CellValue::Dashes() {
    CellValue value;
    value.kind = Kind::Dashes;
    return value;
}

namespace {

// A quotient whose divisor was 0 is shown as 0 in its cell's format, should a NaN ever reach here.
double Shown(double value) {
    return std::isnan(value) ? 0.0 : value;
}

std::string LocalTimeText(const char* format, std::int64_t seconds) {
    const std::tm local = base::SecondsToLocal(seconds).value_or(std::tm{});
    return FormatCell(format, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min);
}

// Below two games there is no deviation, so the half-width is dashes.
std::string IntervalText(const std::string& format, const CellValue& value) {
    if (value.hasInterval) return FormatCell(format.c_str(), Shown(value.decimal), Shown(value.halfWidth));
    static const std::string plusMinus = Cp932Literal(" ±");
    const std::string first = format.substr(0, format.find(plusMinus));
    return FormatCell(first.c_str(), Shown(value.decimal)) + plusMinus + "---";
}

std::string Formatted(const std::string& format, const CellValue& value) {
    const char* f = format.c_str();
    switch (value.kind) {
        case CellValue::Kind::None:
            return FormatCell(f, 0);
        case CellValue::Kind::Integer:
            if (format == "%d") return std::to_string(value.first);
            // All 64 bits, without relying on a C library's long long.
            if (format == "%lld" || format == "%+lld") {
                return (format[1] == '+' && value.first >= 0 ? "+" : "") + std::to_string(value.first);
            }
            return FormatCell(f, static_cast<int>(value.first));
        case CellValue::Kind::Decimal:
            return FormatCell(f, Shown(value.decimal));
        case CellValue::Kind::Duration:
            return FormatDuration(format, value.first);
        case CellValue::Kind::Pair:
            return FormatCell(f, static_cast<int>(value.first), static_cast<int>(value.second));
        case CellValue::Kind::LocalTime:
            return LocalTimeText(f, value.first);
        case CellValue::Kind::Text:
            return std::string(value.text);
        case CellValue::Kind::Dashes:
            return "---";
        case CellValue::Kind::Period:
            return value.second != 0
                       ? FormatCell(f, static_cast<int>(value.first), static_cast<int>(value.second))
                       : FormatCell("%04d", static_cast<int>(value.first));
        case CellValue::Kind::Interval:
            return IntervalText(format, value);
        case CellValue::Kind::Range:
            return FormatCell(f, Shown(value.decimal), Shown(value.low), Shown(value.high));
        case CellValue::Kind::Dated: {
            const std::tm local = base::SecondsToLocal(value.second).value_or(std::tm{});
            return FormatCell(f, static_cast<int>(value.first), local.tm_year + 1900, local.tm_mon + 1,
                              local.tm_mday, local.tm_hour, local.tm_min);
        }
        case CellValue::Kind::DateTime: {
            const std::tm local = base::SecondsToLocal(value.first).value_or(std::tm{});
            return FormatCell(f, local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                              local.tm_min);
        }
    }
    return {};
}

}  // namespace

std::string CellText(const std::string& format, const CellValue& value) {
    if (value.kind == CellValue::Kind::Text) return Formatted(format, value);
    if (value.text.empty() && value.suffix.empty()) return Formatted(format, value);
    return std::string(value.text) + Formatted(format, value) + std::string(value.suffix);
}

}  // namespace obrenta::present
