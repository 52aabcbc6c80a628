#pragma once

#include <array>
#include <cstdint>

namespace obrenta::scorelog {

// Local calendar time (seconds 0) to seconds since 1970-01-01 00:00 UTC, exactly as mktime with
// the daylight-saving flag left to the library (-1) converts it. mktime is slow and a log holds
// tens of thousands of games on few distinct days, so each day's midnight is remembered; a day
// on which the UTC offset changes, and any value outside the plain calendar ranges, goes to
// mktime itself. One cache must not outlive a change of the time zone.
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

// A single conversion through mktime, without any cache.
std::int64_t LocalToSeconds(int year, int month, int day, int hour, int minute);

}  // namespace obrenta::scorelog
