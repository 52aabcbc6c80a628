#include "settings/AppSettings.h"

#include <algorithm>
#include <filesystem>
#include <type_traits>
#include <utility>
#include <variant>

#include "base/Decimal.h"
#include "base/LocalTime.h"
#include "base/Platform.h"
#include "base/RegularFile.h"

namespace obrenta::settings {
namespace {

namespace fs = std::filesystem;

// The loader's word buffer holds 1024 bytes with its terminator, the path line buffer as well.
constexpr std::size_t kMaxWordBytes = 1023;
constexpr std::size_t kMaxLineBytes = 1023;

constexpr int kEndOfText = -1;

// Text stops at its first NUL byte, as the file format's strings always have.
std::string_view CString(std::string_view text) {
    return text.substr(0, std::min(text.find('\0'), text.size()));
}

bool IsSpace(int c) {
    return c != kEndOfText && base::IsCSpace(static_cast<char>(c));
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

    // "%d" / "%ld", the value saturated at T's bounds. A failed scan consumes a lone sign, as
    // scanf does.
    template <typename T>
    bool ReadInteger(T& value) {
        if (!SkipSpace()) return false;
        const base::Decimal d = base::ParseDecimal(text_.substr(pos_));
        if (d.length == 0) {
            if (text_[pos_] == '+' || text_[pos_] == '-') Get();
            if (pos_ == text_.size()) Get();
            return false;
        }
        pos_ += d.length;
        // The scan looks one byte past the digits, and so meets the end after a last number.
        if (pos_ == text_.size()) Get();
        value = base::SaturateTo<T>(d.value);
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
    static constexpr int kEnd = kEndOfText;

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

template <typename T>
void ReadNumber(SettingsReader& in, T& field) {
    T value = 0;
    if (in.ReadInteger(value)) field = value;
}

// "%d %d ...": the first value that does not scan ends the read and leaves the rest as they were.
template <std::size_t N>
void ReadNumber(SettingsReader& in, std::array<std::int32_t, N>& fields) {
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0) in.SkipSpace();
        if (!in.ReadInteger(fields[i])) return;
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

// --- the keys ---

// "ここにIDを" and "入れて下さい": together they ask the user to enter an ID.
constexpr std::array<std::string_view, kMaxUserIds> kDefaultUserIds = {
    "\x82\xb1\x82\xb1\x82\xc9"
    "ID"
    "\x82\xf0",
    "\x93\xfc\x82\xea\x82\xc4\x89\xba\x82\xb3\x82\xa2", "", "", ""};

template <typename T>
struct Value {
    std::string_view key;
    T AppSettings::*field;
    T byDefault;
};
// The dates' defaults are local times, worked out when they are set.
struct Date {
    std::string_view key;
    std::int64_t AppSettings::*field;
    std::int64_t (*byDefault)();
};
// The key alone on its line and the path on the next, so that it may hold blanks.
struct Path {
    std::string_view key;
    std::string AppSettings::*field;
    std::string_view byDefault;
};
// The ID count, then per ID slot "UserID%02d" (the ID) and "UseID%02d" (its in-use flag), only
// for the IDs there are. The flags have no default: they keep what they held.
struct UserIds {
    std::string_view countKey;
    std::string_view idKey;
    std::string_view flagKey;
    std::int32_t byDefault;
};

// The further score logs: "MJSFileName2" .. the last one, each a path key of its own, written
// only for the logs there are.
struct ExtraLogs {
    std::string_view keyPrefix;
    std::vector<std::string> AppSettings::*field;
};

using Flags4 = std::array<std::int32_t, 4>;
using Flags8 = std::array<std::int32_t, 8>;
using Flags15 = std::array<std::int32_t, 15>;
using Row = std::variant<Value<std::int32_t>, Value<Flags4>, Value<Flags8>, Value<Flags15>, Date, Path,
                         UserIds, ExtraLogs>;

// Every key of the file, in the order SaveSettings writes them.
const Row kRows[] = {
    Value<std::int32_t>{"X", &AppSettings::X, 0},
    Value<std::int32_t>{"Y", &AppSettings::Y, 0},
    UserIds{"nUserID", "UserID", "UseID", 2},
    Path{"MJSFileName", &AppSettings::MJSFileName, "mjscore.txt"},
    Value<std::int32_t>{"Tab", &AppSettings::Tab, 0},
    Date{"Date1", &AppSettings::dateFrom, &DefaultDateFrom},
    Date{"Date2", &AppSettings::dateTo, &DefaultDateTo},
    Value<std::int32_t>{"Recent", &AppSettings::recentCount, kDefaultRecentCount},
    Value<Flags4>{"Taku", &AppSettings::tableKindFilter, {1, 1, 1, 1}},
    Value<Flags4>{"Taisen", &AppSettings::gameKindFilter, {1, 1, 1, 1}},
    Value<Flags4>{"Rank", &AppSettings::rankFilter, {1, 1, 1, 1}},
    Value<Flags4>{"RRank", &AppSettings::ratingRankFilter, {1, 1, 1, 1}},
    Value<std::int32_t>{"StatLine1", &AppSettings::StatLine1, 0},
    Value<std::int32_t>{"StatLine2", &AppSettings::StatLine2, 0},
    Value<Flags4>{"SortYaku1", &AppSettings::SortYaku1, {0, 1, 0, 0}},
    Value<Flags4>{"SortYaku2", &AppSettings::SortYaku2, {0, 1, 0, 0}},
    Value<Flags8>{"SortVs", &AppSettings::SortVs, {1, 0, 0, 0, 0, 0, 0, 0}},
    // Written last: a reader that does not know a key skips it with its value.
    Value<std::int32_t>{"AutoTally", &AppSettings::AutoTally, 1},
    Value<std::int32_t>{"GraphX", &AppSettings::GraphX, 0},
    Value<std::int32_t>{"GraphY", &AppSettings::GraphY, 0},
    Value<std::int32_t>{"GraphW", &AppSettings::GraphW, 0},
    Value<std::int32_t>{"GraphH", &AppSettings::GraphH, 0},
    Value<std::int32_t>{"PeriodYearly", &AppSettings::PeriodYearly, 0},
    Value<std::int32_t>{"FormGames", &AppSettings::FormGames, 100},
    Value<Flags15>{"SortPeriod", &AppSettings::SortPeriod, {}},
    Value<std::int32_t>{"MainW", &AppSettings::MainW, 0},
    Value<std::int32_t>{"MainH", &AppSettings::MainH, 0},
    Value<std::int32_t>{"MainMaximized", &AppSettings::MainMaximized, 0},
    Value<Flags4>{"SortDealInYaku", &AppSettings::SortDealInYaku, {0, 1, 0, 0}},
    Value<Flags8>{"SortDealInVs", &AppSettings::SortDealInVs, {0, 1, 0, 0, 0, 0, 0, 0}},
    Value<std::int32_t>{"DealInAllOpponents", &AppSettings::DealInAllOpponents, 0},
    ExtraLogs{"MJSFileName", &AppSettings::extraLogs},
};

// The place in extraLogs of a key "MJSFileName2" .. "MJSFileName16", or -1.
int ExtraLogSlot(std::string_view word, std::string_view prefix) {
    if (!word.starts_with(prefix) || word.size() == prefix.size() || word.size() > prefix.size() + 2 ||
        word[prefix.size()] == '0') {
        return -1;
    }
    int number = 0;
    for (const char c : word.substr(prefix.size())) {
        if (c < '0' || c > '9') return -1;
        number = number * 10 + (c - '0');
    }
    return number >= 2 && number <= kMaxScoreLogs ? number - 2 : -1;
}

void SetDefault(AppSettings& s, const Row& row) {
    std::visit(
        [&s](const auto& r) {
            using R = std::decay_t<decltype(r)>;
            if constexpr (std::is_same_v<R, Date>) {
                s.*r.field = r.byDefault();
            } else if constexpr (std::is_same_v<R, Path>) {
                s.*r.field = std::string(r.byDefault);
            } else if constexpr (std::is_same_v<R, ExtraLogs>) {
                (s.*r.field).clear();
            } else if constexpr (std::is_same_v<R, UserIds>) {
                s.userIdCount = r.byDefault;
                for (int i = 0; i < kMaxUserIds; ++i) s.userIds[i] = std::string(kDefaultUserIds[i]);
            } else {
                s.*r.field = r.byDefault;
            }
        },
        row);
}

// Reads the value of key when key belongs to row; false when it does not.
bool ReadValue(AppSettings& s, const Row& row, std::string_view key, SettingsReader& in) {
    return std::visit(
        [&](const auto& r) {
            using R = std::decay_t<decltype(r)>;
            if constexpr (std::is_same_v<R, UserIds>) {
                if (key == r.countKey) {
                    ReadNumber(in, s.userIdCount);
                } else if (const int slot = SlotOf(key, r.idKey); slot >= 0) {
                    std::string word;
                    if (in.ReadWord(word, kMaxUserIdBytes)) s.userIds[slot] = word;
                } else if (const int slot = SlotOf(key, r.flagKey); slot >= 0) {
                    ReadNumber(in, s.userIdEnabled[slot]);
                } else {
                    return false;
                }
                return true;
            } else if constexpr (std::is_same_v<R, ExtraLogs>) {
                const int slot = ExtraLogSlot(key, r.keyPrefix);
                if (slot < 0) return false;
                std::vector<std::string>& logs = s.*r.field;
                if (logs.size() <= static_cast<std::size_t>(slot))
                    logs.resize(static_cast<std::size_t>(slot) + 1);
                ReadPathLines(in, logs[static_cast<std::size_t>(slot)]);
                return true;
            } else {
                if (key != r.key) return false;
                if constexpr (std::is_same_v<R, Path>) {
                    ReadPathLines(in, s.*r.field);
                } else {
                    ReadNumber(in, s.*r.field);
                }
                return true;
            }
        },
        row);
}

// The bytes of the file; a read error ends the data like the end of the file does.
LoadOutcome ReadWholeFile(const std::string& path, std::string& bytes) {
    base::RegularFile file(path);
    char buffer[8192];
    std::ptrdiff_t got = 0;
    while ((got = file.Read(buffer, sizeof buffer)) > 0) bytes.append(buffer, static_cast<std::size_t>(got));
    using Status = LoadOutcome::Status;
    switch (file.problem()) {
        case base::FileProblem::None:
            return {};
        case base::FileProblem::NotFound:
            return {Status::NotFound, file.error()};
        case base::FileProblem::NotRegularFile:
            return {Status::NotRegularFile, 0};
        case base::FileProblem::PermissionDenied:
            return {Status::PermissionDenied, file.error()};
        default:
            return {Status::IoError, file.error()};
    }
}

// --- writing ---

void AppendNumber(std::string& out, std::int64_t value) {
    out.append(std::to_string(value));
}

template <std::size_t N>
void AppendNumber(std::string& out, const std::array<std::int32_t, N>& values) {
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0) out.push_back(' ');
        out.append(std::to_string(values[i]));
    }
}

// Two digits of an ID slot, as "%02d" writes them.
std::string SlotKey(std::string_view prefix, int slot) {
    std::string key(prefix);
    key.push_back(static_cast<char>('0' + slot / 10));
    key.push_back(static_cast<char>('0' + slot % 10));
    return key;
}

void AppendRow(std::string& out, const AppSettings& s, const Row& row) {
    std::visit(
        [&](const auto& r) {
            using R = std::decay_t<decltype(r)>;
            if constexpr (std::is_same_v<R, UserIds>) {
                // The count written is the number of ID lines that follow, never more.
                const int idCount = s.UsableIdCount();
                out.append(r.countKey).append("\t");
                AppendNumber(out, idCount);
                out.append("\n");
                for (int i = 0; i < idCount; ++i) {
                    out.append(SlotKey(r.idKey, i)).append("\t").append(CString(s.userIds[i])).append("\n");
                    out.append(SlotKey(r.flagKey, i)).append("\t");
                    AppendNumber(out, s.userIdEnabled[i]);
                    out.append("\n");
                }
            } else if constexpr (std::is_same_v<R, Path>) {
                out.append(r.key).append("\n").append(CString(s.*r.field)).append("\n");
            } else if constexpr (std::is_same_v<R, ExtraLogs>) {
                // Numbered from 2 without gaps: the empty paths a reader drops are not written.
                int number = 2;
                for (const std::string& log : s.*r.field) {
                    if (CString(log).empty() || number > kMaxScoreLogs) continue;
                    out.append(r.keyPrefix).append(std::to_string(number++)).append("\n");
                    out.append(CString(log)).append("\n");
                }
            } else {
                out.append(r.key).append("\t");
                AppendNumber(out, s.*r.field);
                out.append("\n");
            }
        },
        row);
}

fs::path DirectoryOf(const std::string& path) {
    const fs::path directory = base::NativePath(path).parent_path();
    return directory.empty() ? fs::path(".") : directory;
}

// Creates the directory and its missing parents, private to the user as configuration folders
// should be.
std::error_code MakeDirectories(const fs::path& directory) {
    std::error_code error;
    const fs::file_status status = fs::status(directory, error);
    if (fs::exists(status)) {
        return fs::is_directory(status) ? std::error_code{}
                                        : std::make_error_code(std::errc::not_a_directory);
    }
    if (error && error != std::errc::no_such_file_or_directory) return error;
    const fs::path parent = directory.parent_path();
    if (!parent.empty() && parent != directory) {
        if (const std::error_code parentError = MakeDirectories(parent)) return parentError;
    }
    if (fs::create_directory(directory, error)) {
        fs::permissions(directory, fs::perms::owner_all, fs::perm_options::replace, error);
    }
    return error;
}

SaveOutcome Failed(SaveOutcome::Step step, int error) {
    return {step, error};
}

}  // namespace

std::string LoadOutcome::reason() const {
    switch (status) {
        case Status::Loaded:
            return "";
        case Status::NotRegularFile:
            return base::ProblemText(base::FileProblem::NotRegularFile, error);
        default:
            return base::ProblemText(base::FileProblem::IoError, error);
    }
}

std::string SaveOutcome::reason() const {
    const char* step = "";
    switch (failedStep) {
        case Step::None:
            return "";
        case Step::CreateDirectory:
            step = "creating the directory";
            break;
        case Step::CreateTemporaryFile:
            step = "creating the temporary file";
            break;
        case Step::KeepMode:
            step = "keeping the file's permissions";
            break;
        case Step::Write:
            step = "writing";
            break;
        case Step::Sync:
            step = "flushing to disk";
            break;
        case Step::Close:
            step = "closing the file";
            break;
        case Step::Rename:
            step = "renaming the file";
            break;
    }
    return std::string(step) + ": " + base::ErrorText(error);
}

AppSettings::AppSettings(std::string path) : iniPath(std::move(path)) {
    LoadSettings();
}

void AppSettings::SetDefaults() {
    for (const Row& row : kRows) SetDefault(*this, row);
}

LoadOutcome AppSettings::LoadSettings() {
    SetDefaults();
    std::string bytes;
    const LoadOutcome outcome = ReadWholeFile(iniPath, bytes);
    ParseSettings(*this, bytes);
    return outcome;
}

SaveOutcome AppSettings::SaveSettings() const {
    using Step = SaveOutcome::Step;
    const std::string text = FormatSettings(*this);
    const fs::path directory = DirectoryOf(iniPath);
    if (const std::error_code error = MakeDirectories(directory))
        return Failed(Step::CreateDirectory, error.value());

    // The steps in the order of base::ReplaceStep.
    static constexpr Step kSteps[] = {
        Step::None,  Step::CreateTemporaryFile, Step::KeepMode, Step::Write, Step::Sync, Step::Close,
        Step::Rename};
    const base::ReplaceResult replaced = base::ReplaceFileContents(iniPath, text);
    return Failed(kSteps[static_cast<int>(replaced.failedStep)], replaced.error);
}

int AppSettings::UsableIdCount() const {
    return std::clamp(userIdCount, 0, kMaxUserIds);
}

namespace {

// A log path as given, or a relative one taken from the settings file's folder.
std::string ResolveLogPath(const std::string& iniPath, const std::string& given) {
    const fs::path log = base::NativePath(given);
    if (given.empty() || log.is_absolute()) return given;
    const fs::path directory = base::NativePath(iniPath).parent_path();
    if (directory.empty()) return given;
    return base::PathBytes(directory / log);
}

}  // namespace

std::string AppSettings::ScoreLogPath() const {
    return ResolveLogPath(iniPath, MJSFileName);
}

std::vector<std::string> AppSettings::ScoreLogPaths() const {
    std::vector<std::string> paths{ScoreLogPath()};
    for (const std::string& log : extraLogs) {
        if (paths.size() >= static_cast<std::size_t>(kMaxScoreLogs)) break;
        if (!log.empty()) paths.push_back(ResolveLogPath(iniPath, log));
    }
    return paths;
}

std::int64_t DefaultDateFrom() {
    return base::LocalToSeconds(1998, 1, 1, 0, 0, 0);
}
std::int64_t DefaultDateTo() {
    return base::LocalToSeconds(2037, 12, 31, 23, 59, 59);
}

std::string FormatSettings(const AppSettings& s) {
    std::string out;
    for (const Row& row : kRows) AppendRow(out, s, row);
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
        for (const Row& row : kRows) {
            if (ReadValue(settings, row, word, in)) break;
        }
    }
    if (settings.recentCount < 0) settings.recentCount = kDefaultRecentCount;
    std::erase(settings.extraLogs, std::string());
}

}  // namespace obrenta::settings
