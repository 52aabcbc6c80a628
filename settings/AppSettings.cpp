#include "settings/AppSettings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <limits>
#include <random>
#include <utility>

namespace obrenta::settings {
namespace {

// The loader's word buffer holds 1024 bytes with its terminator, the path line buffer as well.
constexpr std::size_t kMaxWordBytes = 1023;
constexpr std::size_t kMaxLineBytes = 1023;

// "ここにIDを" and "入れて下さい": together they ask the user to enter an ID.
constexpr std::string_view kDefaultUserId0 =
    "\x82\xb1\x82\xb1\x82\xc9"
    "ID"
    "\x82\xf0";
constexpr std::string_view kDefaultUserId1 = "\x93\xfc\x82\xea\x82\xc4\x89\xba\x82\xb3\x82\xa2";

std::int64_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
}

// Text stops at its first NUL byte, as the file format's strings always have.
std::string_view CString(std::string_view text) {
    return text.substr(0, std::min(text.find('\0'), text.size()));
}

bool IsSpace(int c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

// Reading a text-mode file turns every CR LF into LF.
std::string FromTextMode(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        text.push_back(bytes[i]);
    }
    return text;
}

// A byte stream read the way fscanf and fgets read it: the end-of-file flag is set by any read
// that tries to go past the last byte, even one that then succeeds with what it already had.
class SettingsReader {
public:
    explicit SettingsReader(std::string_view text) : text_(text) {}

    bool AtEnd() const { return atEnd_; }

    // "%s": false when only white space was left. Bytes past maxBytes are read but dropped.
    bool ReadWord(std::string& word, std::size_t maxBytes) {
        if (!SkipSpace()) return false;
        word.clear();
        for (int c = Get(); c != kEnd; c = Get()) {
            if (IsSpace(c)) {
                Unget();
                break;
            }
            if (word.size() < maxBytes) word.push_back(static_cast<char>(c));
        }
        word.resize(CString(word).size());
        return true;
    }

    // "%d" / "%ld", clamped to [low, high]. A failed scan consumes a lone sign, as scanf does.
    bool ReadInteger(std::int64_t& value, std::int64_t low, std::int64_t high) {
        if (!SkipSpace()) return false;
        int c = Get();
        const bool negative = c == '-';
        if (c == '+' || c == '-') c = Get();
        if (!IsDigit(c)) {
            if (c != kEnd) Unget();
            return false;
        }
        constexpr std::uint64_t kSaturated = std::numeric_limits<std::uint64_t>::max();
        std::uint64_t magnitude = 0;
        for (; IsDigit(c); c = Get()) {
            const auto digit = static_cast<std::uint64_t>(c - '0');
            magnitude = magnitude <= (kSaturated - digit) / 10 ? magnitude * 10 + digit : kSaturated;
        }
        if (c != kEnd) Unget();
        if (negative) {
            const std::uint64_t limit = 0 - static_cast<std::uint64_t>(low);
            value = magnitude >= limit ? low : -static_cast<std::int64_t>(magnitude);
        } else {
            value =
                magnitude >= static_cast<std::uint64_t>(high) ? high : static_cast<std::int64_t>(magnitude);
        }
        return true;
    }

    // fgets: up to maxBytes bytes, stopping after a newline. False when nothing was left.
    bool ReadLine(std::string& line, std::size_t maxBytes) {
        line.clear();
        while (line.size() < maxBytes) {
            const int c = Get();
            if (c == kEnd) break;
            line.push_back(static_cast<char>(c));
            if (c == '\n') break;
        }
        return !line.empty();
    }

    // The white-space directive of a scanf format: never fails.
    bool SkipSpace() {
        for (int c = Get(); c != kEnd; c = Get()) {
            if (!IsSpace(c)) {
                Unget();
                return true;
            }
        }
        return false;
    }

private:
    static constexpr int kEnd = -1;

    int Get() {
        if (pos_ >= text_.size()) {
            atEnd_ = true;
            return kEnd;
        }
        return static_cast<unsigned char>(text_[pos_++]);
    }
    void Unget() { --pos_; }

    std::string_view text_;
    std::size_t pos_ = 0;
    bool atEnd_ = false;
};

void ReadInt32(SettingsReader& in, std::int32_t& field) {
    std::int64_t value = 0;
    if (in.ReadInteger(value, std::numeric_limits<std::int32_t>::min(),
                       std::numeric_limits<std::int32_t>::max())) {
        field = static_cast<std::int32_t>(value);
    }
}

void ReadInt64(SettingsReader& in, std::int64_t& field) {
    std::int64_t value = 0;
    if (in.ReadInteger(value, std::numeric_limits<std::int64_t>::min(),
                       std::numeric_limits<std::int64_t>::max())) {
        field = value;
    }
}

// "%d %d ...": the first value that does not scan ends the read and leaves the rest as they were.
template <std::size_t N>
void ReadInt32s(SettingsReader& in, std::array<std::int32_t, N>& fields) {
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0) in.SkipSpace();
        std::int64_t value = 0;
        if (!in.ReadInteger(value, std::numeric_limits<std::int32_t>::min(),
                            std::numeric_limits<std::int32_t>::max())) {
            return;
        }
        fields[i] = static_cast<std::int32_t>(value);
    }
}

// The ID slot a key such as "UserID03" names, or -1.
int SlotOf(std::string_view word, std::string_view prefix) {
    if (word.size() != prefix.size() + 2 || !word.starts_with(prefix)) return -1;
    const char tens = word[prefix.size()];
    const char ones = word[prefix.size() + 1];
    if (tens != '0' || ones < '0' || ones >= '0' + kMaxUserIds) return -1;
    return ones - '0';
}

void ReadPathLines(SettingsReader& in, std::string& path) {
    std::string line;
    in.ReadLine(line, kMaxLineBytes);  // the rest of the key's own line
    // With no line after the key the path stays as it was.
    if (!in.ReadLine(line, kMaxLineBytes)) return;
    line.resize(CString(line).size());
    // The last byte is dropped whatever it is: a path on the file's last line without a newline
    // loses its last character. Files written by SaveSettings always end their lines.
    if (!line.empty()) line.pop_back();
    path = std::move(line);
}

void ReadValue(AppSettings& s, std::string_view key, SettingsReader& in) {
    std::string word;
    if (key == "X") {
        ReadInt32(in, s.X);
    } else if (key == "Y") {
        ReadInt32(in, s.Y);
    } else if (key == "nUserID") {
        ReadInt32(in, s.userIdCount);
    } else if (const int slot = SlotOf(key, "UserID"); slot >= 0) {
        if (in.ReadWord(word, kMaxUserIdBytes)) s.userIds[slot] = word;
    } else if (const int slot = SlotOf(key, "UseID"); slot >= 0) {
        ReadInt32(in, s.userIdEnabled[slot]);
    } else if (key == "MJSFileName") {
        ReadPathLines(in, s.MJSFileName);
    } else if (key == "Tab") {
        ReadInt32(in, s.Tab);
    } else if (key == "Date1") {
        ReadInt64(in, s.dateFrom);
    } else if (key == "Date2") {
        ReadInt64(in, s.dateTo);
    } else if (key == "Recent") {
        ReadInt32(in, s.recentCount);
    } else if (key == "Taku") {
        ReadInt32s(in, s.tableKindFilter);
    } else if (key == "Taisen") {
        ReadInt32s(in, s.gameKindFilter);
    } else if (key == "RRank") {
        ReadInt32s(in, s.ratingRankFilter);
    } else if (key == "Rank") {
        ReadInt32s(in, s.rankFilter);
    } else if (key == "StatLine1") {
        ReadInt32(in, s.StatLine1);
    } else if (key == "StatLine2") {
        ReadInt32(in, s.StatLine2);
    } else if (key == "SortYaku1") {
        ReadInt32s(in, s.SortYaku1);
    } else if (key == "SortYaku2") {
        ReadInt32s(in, s.SortYaku2);
    } else if (key == "SortVs") {
        ReadInt32s(in, s.SortVs);
    }
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    char buffer[8192];
    std::size_t got = 0;
    // A read error ends the data like the end of the file does.
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    std::fclose(file);
    return true;
}

// --- writing ---

template <typename... Args>
void AppendFormat(std::string& out, const char* format, Args... args) {
    char line[64];
    const int length = std::snprintf(line, sizeof line, format, args...);
    out.append(line, static_cast<std::size_t>(std::clamp(length, 0, static_cast<int>(sizeof line) - 1)));
}

void AppendLine(std::string& out, std::string_view key, std::string_view value) {
    out.append(key).append("\t").append(value).append("\n");
}

template <std::size_t N>
void AppendInts(std::string& out, std::string_view key, const std::array<std::int32_t, N>& values) {
    out.append(key).append("\t");
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0) out.push_back(' ');
        out.append(std::to_string(values[i]));
    }
    out.append("\n");
}

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Creates the directory and its missing parents, private to the user as configuration folders
// should be. False when it does not exist afterwards.
bool MakeDirectories(const std::string& directory) {
    struct stat info {};
    if (::stat(directory.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
    if (errno != ENOENT) return false;
    const std::string parent = DirectoryOf(directory);
    if (parent != directory && !MakeDirectories(parent)) return false;
    return ::mkdir(directory.c_str(), 0700) == 0 || errno == EEXIST;
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

// Creates a new file beside target with a random suffix; -1 when that is impossible.
int CreateTemporaryFile(const std::string& target, std::string& temporaryPath) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = target + ".tmp-";
        for (int i = 0; i < 6; ++i) temporaryPath.push_back(kLetters[pick(random)]);
        const int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

void SyncDirectory(const std::string& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

AppSettings::AppSettings(std::string path) : iniPath(std::move(path)) {
    LoadSettings();
}

void AppSettings::SetDefaults() {
    X = 0;
    Y = 0;
    MJSFileName = "mjscore.txt";
    userIdCount = 2;
    userIds = {std::string(kDefaultUserId0), std::string(kDefaultUserId1), "", "", ""};
    Tab = 0;
    dateFrom = DefaultDateFrom();
    dateTo = DefaultDateTo();
    recentCount = kDefaultRecentCount;
    tableKindFilter = {1, 1, 1, 1};
    gameKindFilter = {1, 1, 1, 1};
    rankFilter = {1, 1, 1, 1};
    ratingRankFilter = {1, 1, 1, 1};
    StatLine1 = 0;
    StatLine2 = 0;
    SortYaku1 = {0, 1, 0, 0};
    SortYaku2 = {0, 1, 0, 0};
    SortVs = {1, 0, 0, 0, 0, 0, 0, 0};
}

void AppSettings::LoadSettings() {
    SetDefaults();
    std::string bytes;
    if (ReadWholeFile(iniPath, bytes)) ParseSettings(*this, bytes);
}

bool AppSettings::SaveSettings() const {
    const std::string text = FormatSettings(*this);
    if (!MakeDirectories(DirectoryOf(iniPath))) return false;

    std::string temporaryPath;
    const int fd = CreateTemporaryFile(iniPath, temporaryPath);
    if (fd < 0) return false;
    // Replacing the file must not widen who may read it.
    struct stat old {};
    bool ok = true;
    if (::stat(iniPath.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    }
    ok = ok && WriteAll(fd, text) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && std::rename(temporaryPath.c_str(), iniPath.c_str()) == 0;
    if (!ok) {
        ::unlink(temporaryPath.c_str());
        return false;
    }
    SyncDirectory(DirectoryOf(iniPath));
    return true;
}

int AppSettings::UsableIdCount() const {
    return std::clamp(userIdCount, 0, kMaxUserIds);
}

std::int64_t DefaultDateFrom() {
    return LocalTime(1998, 1, 1, 0, 0, 0);
}
std::int64_t DefaultDateTo() {
    return LocalTime(2037, 12, 31, 23, 59, 59);
}

std::string FormatSettings(const AppSettings& s) {
    std::string out;
    AppendFormat(out, "X\t%d\n", s.X);
    AppendFormat(out, "Y\t%d\n", s.Y);
    // The count written is the number of ID lines that follow, never more.
    const int idCount = s.UsableIdCount();
    AppendFormat(out, "nUserID\t%d\n", idCount);
    for (int i = 0; i < idCount; ++i) {
        char key[24];
        std::snprintf(key, sizeof key, "UserID%02d", i);
        AppendLine(out, key, CString(s.userIds[i]));
        AppendFormat(out, "UseID%02d\t%d\n", i, s.userIdEnabled[i]);
    }
    // The path has a line of its own so that it may hold blanks.
    out.append("MJSFileName\n").append(CString(s.MJSFileName)).append("\n");
    AppendFormat(out, "Tab\t%d\n", s.Tab);
    AppendFormat(out, "Date1\t%" PRId64 "\n", s.dateFrom);
    AppendFormat(out, "Date2\t%" PRId64 "\n", s.dateTo);
    AppendFormat(out, "Recent\t%d\n", s.recentCount);
    AppendInts(out, "Taku", s.tableKindFilter);
    AppendInts(out, "Taisen", s.gameKindFilter);
    AppendInts(out, "Rank", s.rankFilter);
    AppendInts(out, "RRank", s.ratingRankFilter);
    AppendFormat(out, "StatLine1\t%d\n", s.StatLine1);
    AppendFormat(out, "StatLine2\t%d\n", s.StatLine2);
    AppendInts(out, "SortYaku1", s.SortYaku1);
    AppendInts(out, "SortYaku2", s.SortYaku2);
    AppendInts(out, "SortVs", s.SortVs);
    return out;
}

void ParseSettings(AppSettings& settings, std::string_view text) {
    const std::string lines = FromTextMode(text);
    SettingsReader in(lines);
    std::string word;
    for (;;) {
        in.ReadWord(word, kMaxWordBytes);
        // A last word that runs into the end of the file is not looked at: the loop stops as
        // soon as any read has met the end.
        if (in.AtEnd()) break;
        ReadValue(settings, word, in);
    }
    if (settings.recentCount < 0) settings.recentCount = kDefaultRecentCount;
}

}  // namespace obrenta::settings
