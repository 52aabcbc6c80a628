#include "tally/HourOfDay.h"

#include <algorithm>
#include <ctime>

namespace obrenta::tally {
namespace {

bool Local(std::int64_t t, std::tm& out) {
    const std::time_t tt = static_cast<std::time_t>(t);
    return localtime_r(&tt, &out) != nullptr;
}

}  // namespace

HourOfDay::HourOfDay() {
    tzset();
}

int HourOfDay::LocalHour(std::int64_t t) {
    std::tm tm{};
    return Local(t, tm) ? std::clamp(tm.tm_hour, 0, 23) : 0;
}

void HourOfDay::Fill(Entry& e, std::int64_t day) {
    e.day = day;
    e.valid = true;
    e.even = false;
    std::tm first{};
    std::tm last{};
    if (!Local(day * kDay, first) || !Local(day * kDay + kDay - 1, last)) {
        return;
    }
    const std::int64_t a = first.tm_hour * 3600 + first.tm_min * 60 + first.tm_sec;
    const std::int64_t b = last.tm_hour * 3600 + last.tm_min * 60 + last.tm_sec;
    e.firstSecondOfDay = a;
    e.even = first.tm_gmtoff == last.tm_gmtoff && first.tm_sec < 60 && last.tm_sec < 60 &&
             (a + kDay - 1) % kDay == b;
}

}  // namespace obrenta::tally
