// The Windows side of Platform.h and RegularFile. Paths are code page 932 bytes, opened through
// their UTF-16 form; Win32 error codes are turned into the errno values the callers tell apart.

#include <fcntl.h>
#include <io.h>
#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <utility>

#include "base/Platform.h"
#include "base/RegularFile.h"

namespace obrenta::base {
namespace {

constexpr UINT kCodePage = 932;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
// 1601-01-01 to 1970-01-01 in the 100-nanosecond steps of a FILETIME.
constexpr std::int64_t kFileTimeOf1970 = 116444736000000000;

int ErrnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_PATHNAME:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_DIRECTORY:
            return ENOTDIR;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        default:
            return EIO;
    }
}

int LastErrno() {
    return ErrnoOf(GetLastError());
}

std::wstring Wide(std::string_view bytes, UINT codePage, DWORD flags = 0) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int count = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    if (count > 0) MultiByteToWideChar(codePage, flags, bytes.data(), size, wide.data(), count);
    return wide;
}

std::string Narrow(std::wstring_view wide, UINT codePage) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int count = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(count), '\0');
    if (count > 0) WideCharToMultiByte(codePage, 0, wide.data(), size, bytes.data(), count, nullptr, nullptr);
    return bytes;
}

std::wstring WidePath(const std::string& path) {
    return Wide(path, kCodePage);
}

HANDLE AsHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// Shared for writing and deleting as well, so that the program appending to a log is never
// stopped by our reading it. Backup semantics let a directory be opened, to be refused as such.
HANDLE OpenShared(const std::string& path, DWORD access) {
    return CreateFileW(WidePath(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

int StatusOfHandle(HANDLE handle, FileStatus& status) {
    status = FileStatus();
    // Pipes, consoles and devices such as NUL are no regular files.
    if (GetFileType(handle) != FILE_TYPE_DISK) return 0;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info)) return LastErrno();
    status.regular = (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
    status.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    const std::int64_t written =
        static_cast<std::int64_t>((static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                                  info.ftLastWriteTime.dwLowDateTime);
    status.modifiedNs = (written - kFileTimeOf1970) * 100;
    status.device = info.dwVolumeSerialNumber;
    status.fileId = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return 0;
}

DWORD ChunkOf(std::size_t room) {
    return static_cast<DWORD>(std::min<std::size_t>(room, 1u << 30));
}

std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// Bytes of one code page 932 character at the front of text: 1 or 2, or 0 when the front byte
// begins none (0x80, 0xA0, 0xFD-0xFF, a lead byte without a trail byte).
std::size_t CharacterBytes(std::string_view text) {
    const auto c = static_cast<unsigned char>(text[0]);
    if (c < 0x80 || (c >= 0xA1 && c <= 0xDF)) return 1;
    if (!((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) || text.size() < 2) return 0;
    const auto trail = static_cast<unsigned char>(text[1]);
    return trail >= 0x40 && trail <= 0xFC && trail != 0x7F ? 2 : 0;
}

bool AppendConverted(std::string_view cp932, std::string& out) {
    const int size = static_cast<int>(cp932.size());
    const int count = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, cp932.data(), size, nullptr, 0);
    if (count <= 0) return false;
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, cp932.data(), size, wide.data(), count);
    out += Narrow(wide, CP_UTF8);
    return true;
}

// Converts the well-formed characters at the front of text, appending them to out, and returns
// how many bytes they took; conversion stops before a character the code page does not assign.
std::size_t AppendWellFormed(std::string_view text, std::string& out) {
    std::size_t end = 0;
    for (std::size_t n = 0; end < text.size() && (n = CharacterBytes(text.substr(end))) > 0;) end += n;
    if (end == 0 || AppendConverted(text.substr(0, end), out)) return end;
    // Some character of the run is unassigned: one by one up to it.
    std::size_t done = 0;
    for (std::size_t n = 0; done < end; done += n) {
        n = CharacterBytes(text.substr(done));
        if (!AppendConverted(text.substr(done, n), out)) break;
    }
    return done;
}

}  // namespace

// --- RegularFile ---

RegularFile::RegularFile(const std::string& path) {
    const HANDLE handle = OpenShared(path, GENERIC_READ);
    if (handle == INVALID_HANDLE_VALUE) {
        Fail(LastErrno());
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(handle);
    if (const int error = StatusOfHandle(handle, info_); error != 0) {
        Fail(error);
        return;
    }
    if (!info_.regular) {
        problem_ = FileProblem::NotRegularFile;
        error_ = 0;
    }
}

RegularFile::~RegularFile() {
    if (AsHandle(handle_) != INVALID_HANDLE_VALUE) CloseHandle(AsHandle(handle_));
}

std::ptrdiff_t RegularFile::Read(char* to, std::size_t room) {
    if (!ok()) return -1;
    DWORD got = 0;
    if (ReadFile(AsHandle(handle_), to, ChunkOf(room), &got, nullptr)) return got;
    if (GetLastError() == ERROR_HANDLE_EOF) return 0;
    Fail(LastErrno());
    return -1;
}

std::ptrdiff_t RegularFile::ReadAt(char* to, std::size_t room, std::uint64_t offset, int& error) const {
    if (!ok()) {
        error = error_;
        return -1;
    }
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    if (ReadFile(AsHandle(handle_), to, ChunkOf(room), &got, &at)) return got;
    if (GetLastError() == ERROR_HANDLE_EOF) return 0;
    error = LastErrno();
    return -1;
}

// --- files and folders ---

int QueryFileStatus(const std::string& path, FileStatus& status) {
    const HANDLE handle = OpenShared(path, FILE_READ_ATTRIBUTES);
    if (handle == INVALID_HANDLE_VALUE) return LastErrno();
    const int error = StatusOfHandle(handle, status);
    CloseHandle(handle);
    return error;
}

std::filesystem::path NativePath(const std::string& path) {
    return std::filesystem::path(WidePath(path));
}

std::string PathBytes(const std::filesystem::path& path) {
    // Joined parts are separated by '/', as on POSIX.
    return Narrow(path.generic_wstring(), kCodePage);
}

std::string UserConfigDirectory() {
    PWSTR folder = nullptr;
    std::string directory;
    if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder) == S_OK) {
        directory = Narrow(folder, kCodePage);
    } else if (const wchar_t* value = _wgetenv(L"APPDATA"); value != nullptr && value[0] != L'\0') {
        directory = Narrow(value, kCodePage);
    }
    CoTaskMemFree(folder);
    return directory.empty() ? "." : directory;
}

ReplaceResult ReplaceFileContents(const std::string& path, std::string_view bytes) {
    static std::atomic<unsigned> serial{0};
    const std::wstring target = WidePath(path);
    std::wstring temporary;
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (int attempt = 0; handle == INVALID_HANDLE_VALUE; ++attempt) {
        temporary =
            target + L".tmp-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(serial++);
        handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
        const DWORD error = GetLastError();
        if (handle == INVALID_HANDLE_VALUE && (error != ERROR_FILE_EXISTS || attempt == 100))
            return {ReplaceStep::CreateTemporaryFile, ErrnoOf(error)};
    }
    // The new file takes the folder's permissions, as the old one did; there is no mode to keep.
    ReplaceResult result;
    auto fail = [&](ReplaceStep step) {
        if (result.failedStep == ReplaceStep::None) result = {step, LastErrno()};
    };
    for (std::string_view left = bytes; !left.empty() && result.failedStep == ReplaceStep::None;) {
        DWORD written = 0;
        if (!WriteFile(handle, left.data(), ChunkOf(left.size()), &written, nullptr))
            fail(ReplaceStep::Write);
        left.remove_prefix(written);
    }
    if (result.failedStep == ReplaceStep::None && !FlushFileBuffers(handle)) fail(ReplaceStep::Sync);
    if (!CloseHandle(handle)) fail(ReplaceStep::Close);
    // A read-only file in the way is not replaced: the save fails and the old file stays. Asked
    // first, so that the answer does not depend on how the file system treats the attribute.
    if (result.failedStep == ReplaceStep::None) {
        const DWORD attributes = GetFileAttributesW(target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            result = {ReplaceStep::Rename, EACCES};
        } else if (!MoveFileExW(temporary.c_str(), target.c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            fail(ReplaceStep::Rename);
        }
    }
    if (result.failedStep != ReplaceStep::None) DeleteFileW(temporary.c_str());
    return result;
}

std::string ErrorText(int error) {
    return std::strerror(error);
}

// --- local time ---

bool ToLocalCalendar(std::int64_t seconds, std::tm& local) {
    const auto t = static_cast<__time64_t>(seconds);
    return _localtime64_s(&local, &t) == 0;
}

std::int64_t UtcOffsetOf(const std::tm& local, std::int64_t seconds) {
    const std::int64_t asUtc =
        DaysFromCivil(local.tm_year + 1900LL, local.tm_mon + 1, local.tm_mday) * 86400 +
        local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    return asUtc - seconds;
}

void ReloadTimeZone() {
    _tzset();
}

// --- code page 932 ---

std::string Cp932BytesToUtf8(std::string_view cp932) {
    // The code page's own conversion neither marks every bad byte nor goes on after it: find the
    // well-formed runs here, and give each byte that begins no character one U+FFFD, as iconv does.
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    while (!cp932.empty()) {
        cp932.remove_prefix(AppendWellFormed(cp932, out));
        if (cp932.empty()) break;
        out += kReplacement;
        cp932.remove_prefix(1);
    }
    return out;
}

std::optional<std::string> Utf8BytesToCp932(std::string_view utf8) {
    if (utf8.empty()) return std::string();
    const std::wstring decoded = Wide(utf8, CP_UTF8, MB_ERR_INVALID_CHARS);
    if (decoded.empty()) return std::nullopt;
    // Made to convert exactly as iconv's CP932 does: it also takes these characters one way to the
    // bytes of their look-alikes, refuses what the code page table gives back for bytes that are
    // no characters, and leaves out language tags (U+E0000-U+E007F).
    std::wstring wide;
    wide.reserve(decoded.size());
    // Each character iconv takes one way, and the look-alike whose bytes it writes.
    static constexpr std::pair<wchar_t, wchar_t> kOneWay[] = {
        {0x00A2, 0xFFE0}, {0x00A3, 0xFFE1}, {0x00A5, L'\\'},  {0x00AC, 0xFFE2}, {0x2014, 0x2015},
        {0x2016, 0x2225}, {0x203E, L'~'},   {0x2212, 0xFF0D}, {0x301C, 0xFF5E}};
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        const wchar_t c = decoded[i];
        if (c == 0x0080 || (c >= 0xF8F0 && c <= 0xF8F3)) return std::nullopt;
        if (c == 0xDB40 && i + 1 < decoded.size() && decoded[i + 1] >= 0xDC00 && decoded[i + 1] <= 0xDC7F) {
            ++i;
            continue;
        }
        const auto* oneWay = std::find_if(std::begin(kOneWay), std::end(kOneWay),
                                          [c](const auto& pair) { return pair.first == c; });
        wide += oneWay != std::end(kOneWay) ? oneWay->second : c;
    }
    if (wide.empty()) return std::string();
    const int size = static_cast<int>(wide.size());
    BOOL lossy = FALSE;
    const int count =
        WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, &lossy);
    if (count <= 0 || lossy) return std::nullopt;
    std::string out(static_cast<std::size_t>(count), '\0');
    WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, out.data(), count, nullptr,
                        &lossy);
    return out;
}

// --- locale ---

ClassicLocaleScope::ClassicLocaleScope() : mode_(_configthreadlocale(_ENABLE_PER_THREAD_LOCALE)) {
    const char* current = std::setlocale(LC_NUMERIC, nullptr);
    name_ = current != nullptr ? current : "C";
    std::setlocale(LC_NUMERIC, "C");
}

ClassicLocaleScope::~ClassicLocaleScope() {
    std::setlocale(LC_NUMERIC, name_.c_str());
    _configthreadlocale(mode_);
}

// --- standard streams and arguments ---

void SetBinaryStandardOutput() {
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
}

std::vector<std::string> ProgramArguments(int, char**) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(Narrow(wide[i], CP_UTF8));
    LocalFree(wide);
    return arguments;
}

std::string PathFromArgument(const std::string& argument) {
    std::optional<std::string> path = Utf8BytesToCp932(argument);
    return path ? *path : argument;
}

// Large pages need a privilege on Windows that a user's program does not have.
void AdviseLargePages(void*, std::size_t) {}

}  // namespace obrenta::base
