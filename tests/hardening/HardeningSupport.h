#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <iconv.h>
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

namespace obrenta::hardening::test {

// A fresh directory, removed with everything in it at the end of the test.
class TempDir {
public:
    TempDir() {
        std::string pattern = testing::TempDir() + "obrenta-hardening-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline void AppendBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

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

// The tests write their Japanese text as UTF-8; the log and the settings file are code page 932.
inline std::string Sj(std::string_view utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no CP932 converter");
    std::string out(utf8.size() * 2 + 1, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == static_cast<std::size_t>(-1) || inLeft != 0) {
        throw std::runtime_error("not convertible to CP932: " + std::string(utf8));
    }
    out.resize(out.size() - outLeft);
    return out;
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
