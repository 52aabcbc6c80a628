#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "base/LocalTime.h"
#include "support/TestSupport.h"

namespace obrenta::base {
namespace {

// Switches the process's time zone for one test and back afterwards.
class ZoneTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        OBRENTA_SKIP_UNLESS_ZONE(GetParam());
        if (const char* tz = std::getenv("TZ")) saved_ = tz;
        setenv("TZ", GetParam(), 1);
        tzset();
    }
    void TearDown() override {
        if (saved_) {
            setenv("TZ", saved_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::optional<std::string> saved_;
};

// Every minute of the days around each daylight-saving change, and a stride through other
// years, must convert exactly as mktime does.
TEST_P(ZoneTest, CacheGivesMktimeResults) {
    LocalTimeCache cache;
    int checked = 0;
    for (int year : {1996, 2011, 2024, 2040}) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 31; ++day) {
                for (int hour = 0; hour < 24; ++hour) {
                    for (int minute = 0; minute < 60; minute += (hour <= 3 || hour == 23) ? 1 : 29) {
                        ASSERT_EQ(cache.ToSeconds(year, month, day, hour, minute),
                                  LocalToSeconds(year, month, day, hour, minute))
                            << year << '-' << month << '-' << day << ' ' << hour << ':' << minute;
                        ++checked;
                    }
                }
            }
        }
    }
    EXPECT_GT(checked, 100000);
}

TEST_P(ZoneTest, OutOfRangeFieldsAreNormalisedAsMktimeDoes) {
    LocalTimeCache cache;
    const int cases[][5] = {{2024, 13, 1, 0, 0},  {2024, 2, 30, 10, 0},  {2024, 5, 0, 0, 0},
                            {2024, 5, 18, 24, 0}, {2024, 5, 18, 23, 60}, {2024, 0, 0, 0, 0},
                            {-99, 1, 1, 0, 0},    {0, 1, 1, 0, 0},       {9999, 99, 99, 99, 99}};
    for (const auto& c : cases) {
        EXPECT_EQ(cache.ToSeconds(c[0], c[1], c[2], c[3], c[4]),
                  LocalToSeconds(c[0], c[1], c[2], c[3], c[4]));
    }
}

// The cached hour must be localtime_r's own answer, across the changes as well.
TEST_P(ZoneTest, HourOfDayGivesLocaltimeHours) {
    HourOfDay hours;
    for (int year : {1951, 2024}) {
        if (year < 1970 && !obrenta::test::TimesBefore1970WorkHere()) continue;
        for (int month : {3, 4, 10, 11}) {
            const std::int64_t start = LocalToSeconds(year, month, 1, 0, 0);
            for (std::int64_t t = start; t < start + 31 * 86400; t += 7 * 60) {
                ASSERT_EQ(hours.Hour(t), SecondsToLocal(t)->tm_hour) << t;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(LocalTime, ZoneTest,
                         ::testing::Values("Asia/Tokyo", "Europe/Berlin", "Australia/Lord_Howe",
                                           "America/Sao_Paulo"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name) {
                                 if (c == '/') c = '_';
                             }
                             return name;
                         });

std::int64_t Utc(int year, int month, int day, int hour, int minute) {
    return test::UtcSeconds(year, month, day, hour, minute);
}

TEST(LocalTimeTest, BerlinSummerAndWinterOffsets) {
    OBRENTA_SKIP_UNLESS_ZONE("Europe/Berlin");
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    LocalTimeCache cache;
    const std::int64_t winter = cache.ToSeconds(2024, 1, 15, 12, 0);
    const std::int64_t summer = cache.ToSeconds(2024, 7, 15, 12, 0);
    const std::int64_t beforeChange = cache.ToSeconds(2024, 3, 31, 1, 59);
    const std::int64_t afterChange = cache.ToSeconds(2024, 3, 31, 3, 0);
    const std::int64_t late2040 = cache.ToSeconds(2040, 8, 1, 0, 0);
    setenv("TZ", "Asia/Tokyo", 1);
    tzset();
    EXPECT_EQ(winter, Utc(2024, 1, 15, 11, 0));
    EXPECT_EQ(summer, Utc(2024, 7, 15, 10, 0));
    EXPECT_EQ(afterChange - beforeChange, 60);
    EXPECT_EQ(late2040, Utc(2040, 7, 31, 22, 0));
}

}  // namespace
}  // namespace obrenta::base
