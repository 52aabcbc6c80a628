#pragma once

#include <array>
#include <cstdint>

namespace obrenta::tally {

// The local hour of a start time, exactly as localtime_r gives it, with one or two localtime_r
// calls per UTC day instead of one per game. A day whose clock runs evenly from its first
// second to its last (no zone change, no leap second) maps every second by plain arithmetic;
// any other day falls back to localtime_r for each time.
class HourOfDay {
public:
    HourOfDay();

    int Hour(std::int64_t t) {
        const std::int64_t day = FloorDiv(t, kDay);
        Entry& e = cache_[static_cast<std::size_t>(day) % cache_.size()];
        if (!e.valid || e.day != day) {
            Fill(e, day);
        }
        if (!e.even) {
            return LocalHour(t);
        }
        const std::int64_t second = (e.firstSecondOfDay + (t - day * kDay)) % kDay;
        return static_cast<int>(second / 3600);
    }

private:
    static constexpr std::int64_t kDay = 86400;

    struct Entry {
        std::int64_t day = 0;
        std::int64_t firstSecondOfDay = 0;
        bool valid = false;
        bool even = false;
    };

    static std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
        std::int64_t q = a / b;
        return (a % b != 0 && a < 0) ? q - 1 : q;
    }

    static int LocalHour(std::int64_t t);
    static void Fill(Entry& e, std::int64_t day);

    std::array<Entry, 64> cache_{};
};

}  // namespace obrenta::tally
