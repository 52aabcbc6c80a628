#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>

namespace obrenta::base {

// Local calendar time to seconds since 1970-01-01 00:00 UTC, as mktime converts it with the
// daylight-saving flag left to the library (-1): a time in summer is taken as summer time, so
// midnight is midnight all year. Fields outside their ranges are normalised as mktime does.
std::int64_t LocalToSeconds(int year, int month, int day, int hour, int minute, int second = 0);

// Seconds since 1970-01-01 00:00 UTC to the local calendar (localtime_r); nothing when the
// library can't represent the time.
std::optional<std::tm> SecondsToLocal(std::int64_t seconds);

// LocalToSeconds with seconds 0, for many times on few distinct days. mktime is slow and a log
// holds tens of thousands of games on few distinct days, so each day's midnight is remembered;
// a day on which the UTC offset changes, and any value outside the plain calendar ranges, goes
// to mktime itself. One cache must not outlive a change of the time zone.
class LocalTimeCache {
public:
    std::int64_t ToSeconds(int year, int month, int day, int hour, int minute);

private:
    struct Day {
        std::int64_t key = -1;
        std::int64_t midnight = 0;
        bool uniform = false;
    };
    std::array<Day, 64> days_{};
};

// The local hour of a time, exactly as localtime_r gives it, with one or two localtime_r calls
// per UTC day instead of one per time. A day whose clock runs evenly from its first second to
// its last (no zone change, no leap second) maps every second by plain arithmetic; any other day
// falls back to localtime_r for each time.
class HourOfDay {
public:
    HourOfDay();

    int Hour(std::int64_t t);

private:
    struct Entry {
        std::int64_t day = 0;
        std::int64_t firstSecondOfDay = 0;
        bool valid = false;
        bool even = false;
    };

    static void Fill(Entry& e, std::int64_t day);

    std::array<Entry, 64> cache_{};
};

// The local calendar month of a time, as year * 12 + month - 1, exactly as localtime_r gives it.
// A month runs from local midnight of its first day to that of the next month's, so one
// localtime_r and two mktime calls serve every time of the month last met.
class MonthOfTime {
public:
    int Month(std::int64_t t);

private:
    std::int64_t from_ = 0;
    std::int64_t to_ = 0;  // exclusive; from_ == to_ holds nothing
    int month_ = 0;
};

}  // namespace obrenta::base
