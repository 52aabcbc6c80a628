#include "base/LocalTime.h"

#include <algorithm>

#include "base/Platform.h"

namespace obrenta::base {

namespace {

constexpr std::int64_t kDay = 86400;

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool Local(std::int64_t seconds, std::tm& out) {
    return ToLocalCalendar(seconds, out);
}

bool ShowsAs(std::int64_t seconds, int year, int month, int day, int hour, int minute) {
    std::tm tm{};
    if (!Local(seconds, tm)) return false;
    return tm.tm_year == year - 1900 && tm.tm_mon == month - 1 && tm.tm_mday == day && tm.tm_hour == hour &&
           tm.tm_min == minute && tm.tm_sec == 0;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

int LocalHour(std::int64_t t) {
    std::tm tm{};
    return Local(t, tm) ? std::clamp(tm.tm_hour, 0, 23) : 0;
}

}  // namespace

std::int64_t LocalToSeconds(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
}

std::optional<std::tm> SecondsToLocal(std::int64_t seconds) {
    std::tm tm{};
    if (!Local(seconds, tm)) return std::nullopt;
    return tm;
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

HourOfDay::HourOfDay() {
    ReloadTimeZone();
}

int HourOfDay::Hour(std::int64_t t) {
    const std::int64_t day = FloorDiv(t, kDay);
    Entry& e = cache_[static_cast<std::size_t>(day) % cache_.size()];
    if (!e.valid || e.day != day) Fill(e, day);
    if (!e.even) return LocalHour(t);
    const std::int64_t second = (e.firstSecondOfDay + (t - day * kDay)) % kDay;
    return static_cast<int>(second / 3600);
}

void HourOfDay::Fill(Entry& e, std::int64_t day) {
    e.day = day;
    e.valid = true;
    e.even = false;
    std::tm first{};
    std::tm last{};
    if (!Local(day * kDay, first) || !Local(day * kDay + kDay - 1, last)) return;
    const std::int64_t a = first.tm_hour * 3600 + first.tm_min * 60 + first.tm_sec;
    const std::int64_t b = last.tm_hour * 3600 + last.tm_min * 60 + last.tm_sec;
    e.firstSecondOfDay = a;
    e.even = UtcOffsetOf(first, day * kDay) == UtcOffsetOf(last, day * kDay + kDay - 1) &&
             first.tm_sec < 60 && last.tm_sec < 60 && (a + kDay - 1) % kDay == b;
}

int MonthOfTime::Month(std::int64_t t) {
    if (t >= from_ && t < to_) return month_;
    std::tm tm{};
    if (!Local(t, tm)) {
        from_ = to_ = 0;
        return month_ = 1970 * 12;
    }
    const int year = tm.tm_year + 1900;
    month_ = year * 12 + tm.tm_mon;
    from_ = LocalToSeconds(year, tm.tm_mon + 1, 1, 0, 0);
    to_ = LocalToSeconds(year, tm.tm_mon + 2, 1, 0, 0);
    // A zone whose clock skips the first midnight of a month gives odd bounds: keep nothing.
    if (!(t >= from_ && t < to_)) from_ = to_ = 0;
    return month_;
}

}  // namespace obrenta::base
