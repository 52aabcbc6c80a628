#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

// What the tests of every folder share: code page 932 text from UTF-8 literals, whole-file reads
// and writes, local calendar times, temporary directories and environment variables.
namespace obrenta::test {

// Code page 932 bytes of a UTF-8 literal (the log and the settings file are code page 932, the
// tests are written in UTF-8). Throws when the text has no code page 932 form.
std::string Sj(std::string_view utf8);

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, std::string_view bytes);
void AppendBytes(const std::string& path, std::string_view bytes);

// A file under tests/data, e.g. DataPath("settings/full.ini").
std::string DataPath(std::string_view relative);

// Seconds of a local calendar time, as the log's reader makes them (daylight saving left to the
// library).
std::int64_t LocalSeconds(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
// Seconds of a calendar time in UTC.
std::int64_t UtcSeconds(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// A fresh directory, removed with everything in it at the end of the test (made writable first,
// so a test may take its permissions away).
class TempDir {
public:
    explicit TempDir(std::string_view prefix = "obrenta");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Sets (or, with nullptr, removes) an environment variable and takes up a change of TZ. On
// Windows TZ=Asia/Tokyo is set in the POSIX form the C runtime reads (WindowsZone).
void SetEnv(const char* name, const char* value);
const char* WindowsZone(const char* zone);
// Whether the zone converts here as the tests expect: every zone on Linux; on Windows only those
// without summer time that the C runtime can be told (its changeover days are the US ones).
bool ZoneWorksHere(std::string_view zone);
// Skips the test, saying why, where the zone can't be had.
#define OBRENTA_SKIP_UNLESS_ZONE(zone) \
    if (!::obrenta::test::ZoneWorksHere(zone)) GTEST_SKIP() << "time zone " << (zone) << " needs Linux"
// The Windows C runtime has no local time before 1970.
constexpr bool TimesBefore1970WorkHere() {
#ifdef _WIN32
    return false;
#else
    return true;
#endif
}
// A file opened for writing at its end, as the game client holds its log: on Windows it shares
// only reading with others.
class OpenForWriting {
public:
    explicit OpenForWriting(const std::string& path);
    ~OpenForWriting();
    OpenForWriting(const OpenForWriting&) = delete;
    OpenForWriting& operator=(const OpenForWriting&) = delete;

    void Append(std::string_view bytes);

private:
    std::intptr_t handle_;
};

// Sets a file's modification time, to the nanosecond where the file system keeps it.
void SetModifiedTime(const std::string& path, std::int64_t seconds, std::int64_t nanoseconds);
// For a row of a table: true, having said so, when the zone can't be had here.
bool SkipZoneRow(std::string_view zone, std::string_view row);
// Skips the test on Windows, saying why.
#ifdef _WIN32
#define OBRENTA_SKIP_ON_WINDOWS(why) GTEST_SKIP() << "not on Windows: " << why
#else
#define OBRENTA_SKIP_ON_WINDOWS(why) static_cast<void>(0)
#endif

// Sets (or, with nullptr, removes) an environment variable for one scope and puts the old value
// back afterwards; TZ changes take effect at once.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace obrenta::test

#ifdef _WIN32
// The few POSIX time and environment calls the tests make, for the Windows build.
inline int setenv(const char* name, const char* value, int) {
    obrenta::test::SetEnv(name, value);
    return 0;
}
inline int unsetenv(const char* name) {
    obrenta::test::SetEnv(name, nullptr);
    return 0;
}
inline std::time_t timegm(std::tm* tm) {
    return _mkgmtime(tm);
}
inline std::tm* gmtime_r(const std::time_t* t, std::tm* out) {
    return gmtime_s(out, t) == 0 ? out : nullptr;
}
inline std::tm* localtime_r(const std::time_t* t, std::tm* out) {
    return localtime_s(out, t) == 0 ? out : nullptr;
}
#endif
