#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace obrenta::settings {

inline constexpr int kMaxUserIds = 5;
// IDs longer than this many bytes are cut.
inline constexpr std::size_t kMaxUserIdBytes = 127;
// The score logs read as one at most: MJSFileName and the further ones of extraLogs.
inline constexpr int kMaxScoreLogs = 16;
// The recent-games count of a new settings file, and what a negative count stands for.
inline constexpr std::int32_t kDefaultRecentCount = 10000;
// The 放銃 page's opponent list shows, unless told to show all, the opponents of at least this
// many shared hands.
inline constexpr std::int64_t kDealInOpponentHands = 20;

// How loading the settings file went. The fields hold the defaults wherever the file did not
// set them, whatever the status.
struct LoadOutcome {
    enum class Status { Loaded, NotFound, NotRegularFile, PermissionDenied, IoError };

    Status status = Status::Loaded;
    // The errno of a failed open or read; 0 otherwise.
    int error = 0;

    bool ok() const { return status == Status::Loaded; }
    explicit operator bool() const { return ok(); }
    // "not a regular file" or the C library's text for error; empty when the file was loaded.
    std::string reason() const;
};

// How saving the settings file went: the step that failed, with its errno.
struct SaveOutcome {
    enum class Step { None, CreateDirectory, CreateTemporaryFile, KeepMode, Write, Sync, Close, Rename };

    Step failedStep = Step::None;
    int error = 0;

    bool ok() const { return failedStep == Step::None; }
    explicit operator bool() const { return ok(); }
    // The failed step and the C library's text for error, as in "renaming the file: Is a
    // directory"; empty when the file was saved.
    std::string reason() const;
};

// Every persisted setting of the program, with the defaults it starts from. Text is code page
// 932 bytes.
struct AppSettings {
    std::string iniPath;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::string MJSFileName = "mjscore.txt";
    std::int32_t userIdCount = 2;
    std::array<std::string, kMaxUserIds> userIds{};
    std::array<std::int32_t, kMaxUserIds> userIdEnabled{1, 1, 1, 1, 1};
    std::int32_t Tab = 0;
    std::int64_t dateFrom = 0;
    std::int64_t dateTo = 0;
    std::int32_t recentCount = kDefaultRecentCount;
    std::array<std::int32_t, 4> tableKindFilter{1, 1, 1, 1};
    std::array<std::int32_t, 4> gameKindFilter{1, 1, 1, 1};
    std::array<std::int32_t, 4> rankFilter{1, 1, 1, 1};
    std::array<std::int32_t, 4> ratingRankFilter{1, 1, 1, 1};
    std::int32_t StatLine1 = 0;
    std::int32_t StatLine2 = 0;
    std::array<std::int32_t, 4> SortYaku1{0, 1, 0, 0};
    std::array<std::int32_t, 4> SortYaku2{0, 1, 0, 0};
    std::array<std::int32_t, 8> SortVs{1, 0, 0, 0, 0, 0, 0, 0};
    // Tally again by itself when the score log changes; 0 leaves it to the Tally command.
    std::int32_t AutoTally = 1;
    // The separate chart window's place and size; a width or height of 0 means never placed.
    std::int32_t GraphX = 0;
    std::int32_t GraphY = 0;
    std::int32_t GraphW = 0;
    std::int32_t GraphH = 0;
    // The 推移 page: 0 shows months, 1 years; the games of the form box; the period list's sort.
    std::int32_t PeriodYearly = 0;
    std::int32_t FormGames = 100;
    std::array<std::int32_t, 15> SortPeriod{};
    // The main window's size inside its frame (0: the default size) and whether it was maximised.
    std::int32_t MainW = 0;
    std::int32_t MainH = 0;
    std::int32_t MainMaximized = 0;
    // The 放銃 page: the sorts of its yaku and opponent lists, and whether the opponent list
    // shows every opponent (1) or those with kDealInOpponentHands shared hands or more (0).
    std::array<std::int32_t, 4> SortDealInYaku{0, 1, 0, 0};
    std::array<std::int32_t, 8> SortDealInVs{0, 1, 0, 0, 0, 0, 0, 0};
    std::int32_t DealInAllOpponents = 0;
    // The score logs read beside MJSFileName, in the list's order (keys MJSFileName2 ..
    // MJSFileName16). Empty paths are dropped when the file is read.
    std::vector<std::string> extraLogs;

    AppSettings() = default;
    // Sets iniPath and loads the file.
    explicit AppSettings(std::string path);

    // Sets every field but iniPath and userIdEnabled to its default.
    void SetDefaults();
    // Sets every field but iniPath and userIdEnabled to its default, then reads iniPath over them.
    // Only a regular file is read; a missing one leaves the defaults.
    LoadOutcome LoadSettings();
    // Writes every field to iniPath through a temporary file renamed over it. When the file could
    // not be written the old file is left as it was.
    SaveOutcome SaveSettings() const;

    // The number of ID slots in use: userIdCount clamped to 0..5.
    int UsableIdCount() const;
    // The score log to read: MJSFileName, a relative one taken from the settings file's folder
    // (not the current directory, which depends on how the program was started).
    std::string ScoreLogPath() const;
    // Every score log to read as one: ScoreLogPath() first, then extraLogs resolved the same way
    // (at most kMaxScoreLogs in all).
    std::vector<std::string> ScoreLogPaths() const;

    bool operator==(const AppSettings&) const = default;
};

// The default date range ends: 1998-01-01 00:00:00 and 2037-12-31 23:59:59, local time.
std::int64_t DefaultDateFrom();
std::int64_t DefaultDateTo();

// The settings text SaveSettings writes, LF line ends (the file itself uses the platform's).
std::string FormatSettings(const AppSettings& settings);
// Reads settings text over settings, as LoadSettings does with the file's bytes.
void ParseSettings(AppSettings& settings, std::string_view text);

}  // namespace obrenta::settings
