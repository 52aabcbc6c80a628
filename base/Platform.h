#pragma once

// The operating system as the libraries see it. Everything that differs between POSIX systems and
// Windows is behind these functions and RegularFile; PlatformPosix.cpp and PlatformWindows.cpp
// hold the two implementations. Paths are the program's own bytes: file-system bytes on POSIX,
// code page 932 on Windows (opened through their UTF-16 form). Errors are errno values on both.

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace obrenta::base {

// What the file system tells of a file without reading it.
struct FileStatus {
    bool regular = false;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;  // since 1970-01-01 00:00 UTC
    // Together they name the file itself, whatever its path: device and inode, or the volume
    // serial number and file index.
    std::uint64_t device = 0;
    std::uint64_t fileId = 0;
};

// The status of the file at path (following links); 0, or the errno of the failure.
int QueryFileStatus(const std::string& path, FileStatus& status);

// The path as the standard library takes it, and back to the program's bytes (with '/' between
// the parts on Windows too).
std::filesystem::path NativePath(const std::string& path);
std::string PathBytes(const std::filesystem::path& path);

// The user's folder for configuration files, without a trailing separator: $XDG_CONFIG_HOME (when
// absolute), else ~/.config; the roaming application data folder on Windows.
std::string UserConfigDirectory();

// The steps of ReplaceFileContents, in the order they are taken.
enum class ReplaceStep { None, CreateTemporaryFile, KeepMode, Write, Sync, Close, Rename };
struct ReplaceResult {
    ReplaceStep failedStep = ReplaceStep::None;
    int error = 0;
};
// Writes bytes to a new file beside path, flushes it to the disk and puts it in path's place in
// one step, so that a crash leaves either the old file or the new one. On POSIX a file that is
// replaced keeps its mode; on Windows a read-only file is not replaced (the Rename step fails).
// On failure the temporary file is removed and path is left as it was.
ReplaceResult ReplaceFileContents(const std::string& path, std::string_view bytes);

// The C library's text for an errno value.
std::string ErrorText(int error);

// Local calendar time of seconds since 1970 (localtime_r, localtime_s); false when the library
// can't represent it.
bool ToLocalCalendar(std::int64_t seconds, std::tm& local);
// The UTC offset in seconds of local, which ToLocalCalendar made of seconds.
std::int64_t UtcOffsetOf(const std::tm& local, std::int64_t seconds);
// Takes up a changed TZ variable (tzset).
void ReloadTimeZone();

// Code page 932 to UTF-8: every byte that begins no code page 932 character becomes one U+FFFD and
// the conversion goes on with the next byte.
std::string Cp932BytesToUtf8(std::string_view cp932);
// UTF-8 to code page 932; nullopt when the text is not UTF-8 or has no code page 932 form.
std::optional<std::string> Utf8BytesToCp932(std::string_view utf8);

// The calling thread formats and reads numbers as the "C" locale does while the object lives
// (uselocale; a thread-local locale on Windows).
class ClassicLocaleScope {
public:
    ClassicLocaleScope();
    ~ClassicLocaleScope();
    ClassicLocaleScope(const ClassicLocaleScope&) = delete;
    ClassicLocaleScope& operator=(const ClassicLocaleScope&) = delete;

private:
#ifdef _WIN32
    int mode_ = 0;      // the thread-locale mode
    std::string name_;  // the LC_NUMERIC name
#else
    void* previous_ = nullptr;  // the thread's locale_t
#endif
};

// Standard output passes bytes through unchanged (no LF to CRLF on Windows).
void SetBinaryStandardOutput();
// The command line's arguments after the program's name: as given on POSIX; read in UTF-16 and
// made UTF-8 on Windows, whose char arguments lose what the ANSI code page lacks.
std::vector<std::string> ProgramArguments(int argc, char** argv);
// A path from ProgramArguments as the program's path bytes (code page 932 on Windows).
std::string PathFromArgument(const std::string& argument);

// Asks for large pages behind the 2 MB-aligned part of a block that is about to be filled: a
// read of a large log fills tens of megabytes of new memory, and one large page costs one page
// fault where small pages cost 512. A hint only; nothing where the system has no such advice.
void AdviseLargePages(void* address, std::size_t bytes);

}  // namespace obrenta::base
