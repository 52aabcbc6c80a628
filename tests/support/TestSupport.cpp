#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "base/LocalTime.h"
#include "base/Platform.h"

namespace obrenta::test {

std::string Sj(std::string_view utf8) {
    std::optional<std::string> cp932 = base::Utf8BytesToCp932(utf8);
    if (!cp932) throw std::runtime_error("text not convertible to CP932: " + std::string(utf8));
    return *cp932;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(base::NativePath(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream(base::NativePath(path), std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void AppendBytes(const std::string& path, std::string_view bytes) {
    std::ofstream(base::NativePath(path), std::ios::binary | std::ios::app)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string DataPath(std::string_view relative) {
    return std::string(OBRENTA_TEST_DATA) + "/" + std::string(relative);
}

std::int64_t LocalSeconds(int year, int month, int day, int hour, int minute, int second) {
    return base::LocalToSeconds(year, month, day, hour, minute, second);
}

std::int64_t UtcSeconds(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    return static_cast<std::int64_t>(timegm(&tm));
}

TempDir::TempDir(std::string_view prefix) {
    std::mt19937_64 random(
        std::random_device{}() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        std::string path =
            testing::TempDir() + std::string(prefix) + "-" + std::to_string(random() % 1000000000);
        std::error_code error;
        if (std::filesystem::create_directory(path, error)) path_ = path;
    }
    if (path_.empty()) throw std::runtime_error("no temporary directory");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
    std::filesystem::remove_all(path_, ignored);
}

void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
    if (value != nullptr && std::string_view(name) == "TZ") value = WindowsZone(value);
    // An empty value removes the variable here.
    ::_putenv_s(name, value != nullptr ? value : "");
#else
    if (value != nullptr) {
        ::setenv(name, value, 1);
    } else {
        ::unsetenv(name);
    }
#endif
    base::ReloadTimeZone();
}

const char* WindowsZone(const char* zone) {
    // The C runtime reads only the POSIX form; Japan has had no summer time since 1951.
    return std::string_view(zone) == "Asia/Tokyo" ? "JST-9" : zone;
}

bool ZoneWorksHere(std::string_view zone) {
#ifdef _WIN32
    return zone == "Asia/Tokyo" || zone == "UTC" || zone == "JST-9";
#else
    (void)zone;
    return true;
#endif
}

#ifdef _WIN32
OpenForWriting::OpenForWriting(const std::string& path)
    : handle_(reinterpret_cast<std::intptr_t>(CreateFileW(base::NativePath(path).c_str(), FILE_APPEND_DATA,
                                                          FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                          FILE_ATTRIBUTE_NORMAL, nullptr))) {
    EXPECT_NE(reinterpret_cast<HANDLE>(handle_), INVALID_HANDLE_VALUE) << path;
}

OpenForWriting::~OpenForWriting() {
    CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

void OpenForWriting::Append(std::string_view bytes) {
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(reinterpret_cast<HANDLE>(handle_), bytes.data(), static_cast<DWORD>(bytes.size()),
                          &written, nullptr));
}
#else
OpenForWriting::OpenForWriting(const std::string& path) : handle_(::open(path.c_str(), O_WRONLY | O_APPEND)) {
    EXPECT_GE(handle_, 0) << path;
}

OpenForWriting::~OpenForWriting() {
    ::close(static_cast<int>(handle_));
}

void OpenForWriting::Append(std::string_view bytes) {
    EXPECT_EQ(::write(static_cast<int>(handle_), bytes.data(), bytes.size()),
              static_cast<ssize_t>(bytes.size()));
}
#endif

void SetModifiedTime(const std::string& path, std::int64_t seconds, std::int64_t nanoseconds) {
#ifdef _WIN32
    // FILETIME: 100 ns steps since 1601.
    const auto ticks = static_cast<std::uint64_t>((seconds + 11644473600) * 10000000 + nanoseconds / 100);
    const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    const HANDLE file = CreateFileW(base::NativePath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
    CloseHandle(file);
#else
    const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
#endif
}

bool SkipZoneRow(std::string_view zone, std::string_view row) {
    if (ZoneWorksHere(zone)) return false;
    std::printf("row \"%.*s\" skipped: time zone %.*s needs Linux\n", static_cast<int>(row.size()),
                row.data(), static_cast<int>(zone.size()), zone.data());
    return true;
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    SetEnv(name, value);
}

ScopedEnv::~ScopedEnv() {
    SetEnv(name_.c_str(), old_ ? old_->c_str() : nullptr);
}

}  // namespace obrenta::test
