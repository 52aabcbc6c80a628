#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

#include "support/TestSupport.h"

namespace obrenta::hardening::test {

using obrenta::test::AppendBytes;
using obrenta::test::ReadBytes;
using obrenta::test::Sj;
using obrenta::test::TempDir;
using obrenta::test::WriteBytes;

// Writes the bytes to a new file and renames it over path, as an editor saving a file does.
inline void ReplaceFile(const std::string& path, std::string_view bytes) {
    const std::string temporary = path + ".new";
    WriteBytes(temporary, bytes);
    std::filesystem::rename(temporary, path);
}

inline struct timespec ModifiedTime(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) throw std::runtime_error("stat failed: " + path);
    return st.st_mtim;
}

inline void SetModifiedTime(const std::string& path, struct timespec when) {
    const struct timespec times[2] = {when, when};
    if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) {
        throw std::runtime_error("utimensat failed: " + path);
    }
}

inline bool operator==(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

struct GameDate {
    int month;
    int day;
    int hour;
    int minute;
};

// The start of game number index, in 2024: every index below 400,000 gives a different one.
inline GameDate StartOf(int index) {
    const int day = 1 + index / 1200;
    const int minute = index % 1200;
    return {1 + (day / 28) % 12, 1 + day % 28, minute / 60, minute % 60};
}

// Seconds of that start, local time, as the log's reader makes them.
inline std::int64_t StartSeconds(int index) {
    const GameDate date = StartOf(index);
    std::tm tm{};
    tm.tm_year = 2024 - 1900;
    tm.tm_mon = date.month - 1;
    tm.tm_mday = date.day;
    tm.tm_hour = date.hour;
    tm.tm_min = date.minute;
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
}

// One well-formed four-player game of "kenji" and three others, starting at StartOf(index),
// with extraHands more draw hands.
inline std::string GameText(int index, int extraHands = 0, std::string_view lineEnd = "\n") {
    const GameDate date = StartOf(index);
    char start[64];
    char end[64];
    std::snprintf(start, sizeof start, "2024/%02d/%02d %02d:%02d", date.month, date.day, date.hour,
                  date.minute);
    std::snprintf(end, sizeof end, "2024/%02d/%02d %02d:%02d", date.month, date.day, date.hour,
                  date.minute < 59 ? date.minute + 1 : date.minute);
    std::string nl(lineEnd);
    std::string text;
    text += Sj("===== 対局 ランキング 東南戦 開始 ") + start + " =====" + nl;
    text += Sj("    持点25000 [1]kenji R1856 [2]Guest042 R1523 [3]mame_x R1712 [4]sora R1600") + nl;
    text += Sj("  東1局 0本場(リーチ0) kenji +8000 sora -8000") + nl;
    text += Sj("    30符 満貫ロン 立直 ドラ2") + nl;
    for (int h = 0; h < extraHands; ++h) {
        text += Sj("  東2局 0本場(リーチ0) kenji +1500 Guest042 -1500") + nl;
        text += Sj("    流局") + nl;
    }
    text += Sj("  ---- 試合結果 ----") + nl;
    text += Sj("1位 kenji +38") + nl;
    text += Sj("2位 Guest042 +2") + nl;
    text += Sj("3位 mame_x -12") + nl;
    text += Sj("4位 sora -28") + nl;
    text += Sj("  終了 ") + end + " -----" + nl;
    return text;
}

inline std::string Games(int first, int count) {
    std::string text;
    for (int i = first; i < first + count; ++i) text += GameText(i);
    return text;
}

}  // namespace obrenta::hardening::test
