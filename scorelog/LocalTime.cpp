#include "scorelog/LocalTime.h"

#include <ctime>

namespace obrenta::scorelog {

namespace {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool ShowsAs(std::int64_t seconds, int year, int month, int day, int hour, int minute) {
    const auto t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    if (localtime_r(&t, &tm) == nullptr) return false;
    return tm.tm_year == year - 1900 && tm.tm_mon == month - 1 && tm.tm_mday == day && tm.tm_hour == hour &&
           tm.tm_min == minute && tm.tm_sec == 0;
}

}  // namespace

std::int64_t LocalToSeconds(int year, int month, int day, int hour, int minute) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = 0;
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
}

std::int64_t LocalTimeCache::ToSeconds(int year, int month, int day, int hour, int minute) {
    const bool plain = year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
                       day <= DaysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
                       minute <= 59;
    if (!plain) return LocalToSeconds(year, month, day, hour, minute);

    const std::int64_t key = (static_cast<std::int64_t>(year) * 16 + month) * 32 + day;
    Day& slot = days_[static_cast<std::uint64_t>(key) * 0x9E3779B97F4A7C15ull >> 58];
    if (slot.key != key) {
        // A day keeps one UTC offset when the next midnight is exactly 24 hours later and its
        // first and last minute convert back to themselves; only then is every minute of it
        // midnight plus the minutes since (and no minute of it is missing or repeated).
        const std::int64_t first = LocalToSeconds(year, month, day, 0, 0);
        const std::int64_t next = LocalToSeconds(year, month, day + 1, 0, 0);
        const std::int64_t lastMinute = first + 23 * 3600 + 59 * 60;
        slot.key = key;
        slot.midnight = first;
        slot.uniform = next - first == 24 * 3600 && ShowsAs(first, year, month, day, 0, 0) &&
                       ShowsAs(lastMinute, year, month, day, 23, 59);
    }
    if (!slot.uniform) return LocalToSeconds(year, month, day, hour, minute);
    return slot.midnight + hour * 3600 + minute * 60;
}

}  // namespace obrenta::scorelog
