#include "base/Decimal.h"

namespace obrenta::base {

std::int64_t LongDigitsValue(const char* digits, const char* end, bool negative) {
    constexpr std::uint64_t kMaxMagnitude = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t magnitude = 0;
    bool overflow = false;
    for (const char* p = digits; p != end; ++p) {
        const auto digit = static_cast<std::uint64_t>(*p - '0');
        if (magnitude > (kMaxMagnitude - digit) / 10) {
            overflow = true;
            break;
        }
        magnitude = magnitude * 10 + digit;
    }
    constexpr auto kLongMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (!negative) {
        return (overflow || magnitude > kLongMax) ? std::numeric_limits<std::int64_t>::max()
                                                  : static_cast<std::int64_t>(magnitude);
    }
    if (overflow || magnitude > kLongMax + 1) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(0 - magnitude);
}

}  // namespace obrenta::base
