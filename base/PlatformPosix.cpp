// The POSIX side of Platform.h and RegularFile (Linux with glibc).

#include <fcntl.h>
#include <iconv.h>
#include <locale.h>
#include <pwd.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "base/Platform.h"
#include "base/RegularFile.h"

namespace obrenta::base {
namespace {

FileStatus StatusOf(const struct stat& st) {
    FileStatus status;
    status.regular = S_ISREG(st.st_mode);
    status.size = static_cast<std::uint64_t>(st.st_size);
    status.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    status.device = static_cast<std::uint64_t>(st.st_dev);
    status.fileId = static_cast<std::uint64_t>(st.st_ino);
    return status;
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The file creation mask, read without changing it (setting it and back would race with any
// other thread that creates a file).
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == "Umask:" && status >> word)
            return static_cast<mode_t>(std::strtoul(word.c_str(), nullptr, 8));
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

void SyncDirectory(const std::filesystem::path& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of in as possible, appending to out. Returns false at a byte sequence
    // that does not convert; in then points at it.
    bool Convert(std::string_view& in, std::string& out, int& error) {
        char buffer[1024];
        while (!in.empty()) {
            char* src = const_cast<char*>(in.data());
            std::size_t srcLeft = in.size();
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            error = rc == static_cast<std::size_t>(-1) ? errno : 0;
            out.append(buffer, dst);
            in.remove_prefix(in.size() - srcLeft);
            if (error != 0 && error != E2BIG) {
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
                return false;
            }
        }
        return true;
    }

private:
    iconv_t cd_;
};

}  // namespace

// --- RegularFile ---

RegularFile::RegularFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    handle_ = fd;
    if (fd < 0) {
        Fail(errno);
        return;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        Fail(errno);
        return;
    }
    info_ = StatusOf(st);
    if (!info_.regular) {
        problem_ = FileProblem::NotRegularFile;
        error_ = 0;
    }
}

RegularFile::~RegularFile() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

std::ptrdiff_t RegularFile::Read(char* to, std::size_t room) {
    if (!ok()) return -1;
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(handle_), to, room);
        if (got >= 0) return got;
        if (errno != EINTR) {
            Fail(errno);
            return -1;
        }
    }
}

std::ptrdiff_t RegularFile::ReadAt(char* to, std::size_t room, std::uint64_t offset, int& error) const {
    if (!ok()) {
        error = error_;
        return -1;
    }
    for (;;) {
        const ssize_t got = ::pread(static_cast<int>(handle_), to, room, static_cast<off_t>(offset));
        if (got >= 0) return got;
        if (errno != EINTR) {
            error = errno;
            return -1;
        }
    }
}

// --- files and folders ---

int QueryFileStatus(const std::string& path, FileStatus& status) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return errno;
    status = StatusOf(st);
    return 0;
}

std::filesystem::path NativePath(const std::string& path) {
    return std::filesystem::path(path);
}

std::string PathBytes(const std::filesystem::path& path) {
    return path.string();
}

std::string UserConfigDirectory() {
    // Relative values of the variable are to be ignored, like an unset one.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && config[0] == '/') {
        return WithoutTrailingSlashes(config);
    }
    std::string home;
    if (const char* value = std::getenv("HOME"); value != nullptr && value[0] != '\0') {
        home = value;
    } else if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir) {
        home = entry->pw_dir;
    }
    home = WithoutTrailingSlashes(home);
    return (home == "/" ? "" : home) + "/.config";
}

ReplaceResult ReplaceFileContents(const std::string& path, std::string_view bytes) {
    std::string temporaryPath = path + ".tmp-XXXXXX";
    const int fd = ::mkostemp(temporaryPath.data(), O_CLOEXEC);
    if (fd < 0) return {ReplaceStep::CreateTemporaryFile, errno};
    // Replacing the file must not widen who may read it; a new file gets the usual mode.
    struct stat old {};
    const bool replacing = ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    const mode_t mode = replacing ? old.st_mode & 07777 : 0644 & ~CurrentUmask();

    ReplaceResult result;
    auto fail = [&](ReplaceStep step) {
        if (result.failedStep == ReplaceStep::None) result = {step, errno};
    };
    if (::fchmod(fd, mode) != 0) fail(ReplaceStep::KeepMode);
    if (result.failedStep == ReplaceStep::None && !WriteAll(fd, bytes)) fail(ReplaceStep::Write);
    if (result.failedStep == ReplaceStep::None && ::fsync(fd) != 0) fail(ReplaceStep::Sync);
    if (::close(fd) != 0) fail(ReplaceStep::Close);
    if (result.failedStep == ReplaceStep::None && std::rename(temporaryPath.c_str(), path.c_str()) != 0)
        fail(ReplaceStep::Rename);
    if (result.failedStep != ReplaceStep::None) {
        ::unlink(temporaryPath.c_str());
        return result;
    }
    const std::filesystem::path directory = std::filesystem::path(path).parent_path();
    SyncDirectory(directory.empty() ? std::filesystem::path(".") : directory);
    return result;
}

std::string ErrorText(int error) {
    return std::strerror(error);
}

// --- local time ---

bool ToLocalCalendar(std::int64_t seconds, std::tm& local) {
    const auto t = static_cast<std::time_t>(seconds);
    return localtime_r(&t, &local) != nullptr;
}

std::int64_t UtcOffsetOf(const std::tm& local, std::int64_t) {
    return local.tm_gmtoff;
}

void ReloadTimeZone() {
    tzset();
}

// --- code page 932 ---

std::string Cp932BytesToUtf8(std::string_view cp932) {
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    // Opening a converter costs far more than most texts take to convert: keep one per thread.
    thread_local Converter converter("UTF-8", "CP932");
    if (!converter.ok()) {
        // Without the converter only ASCII can be trusted.
        for (unsigned char c : cp932) {
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else {
                out += kReplacement;
            }
        }
        return out;
    }
    int error = 0;
    while (!converter.Convert(cp932, out, error)) {
        // EILSEQ or EINVAL: the byte at the front begins no character. Replace that one byte and
        // go on with the next, which may well be a character of its own.
        out += kReplacement;
        cp932.remove_prefix(1);
    }
    return out;
}

std::optional<std::string> Utf8BytesToCp932(std::string_view utf8) {
    thread_local Converter converter("CP932", "UTF-8");
    if (!converter.ok()) return std::nullopt;
    std::string out;
    int error = 0;
    if (!converter.Convert(utf8, out, error)) return std::nullopt;
    return out;
}

// --- locale ---

namespace {

locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

}  // namespace

ClassicLocaleScope::ClassicLocaleScope()
    : previous_(CLocale() ? uselocale(CLocale()) : static_cast<locale_t>(nullptr)) {}

ClassicLocaleScope::~ClassicLocaleScope() {
    if (previous_) uselocale(static_cast<locale_t>(previous_));
}

// --- standard streams and arguments ---

void SetBinaryStandardOutput() {}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}

std::string PathFromArgument(const std::string& argument) {
    return argument;
}

void AdviseLargePages(void* address, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kLargePage = std::uintptr_t{1} << 21;
    const auto start = reinterpret_cast<std::uintptr_t>(address);
    const std::uintptr_t from = (start + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t to = (start + bytes) & ~(kLargePage - 1);
    if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#else
    (void)address;
    (void)bytes;
#endif
}

}  // namespace obrenta::base
