#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "TestSupport.h"
#include "settings/AppSettings.h"

namespace obrenta::settings {
namespace {

using namespace std::string_view_literals;
using test::DataFile;
using test::ReadBytes;
using test::ScopedEnv;
using test::TempDir;
using test::WriteBytes;

// "雀士A" in code page 932.
const std::string kPlayerName =
    "\x90\x9d\x8e\x6d"
    "A";

AppSettings Defaults() {
    AppSettings settings;
    settings.SetDefaults();
    return settings;
}

// The values of Written.ini and of the other fixtures made from it.
AppSettings WrittenValues() {
    AppSettings s = Defaults();
    s.X = 120;
    s.Y = -40;
    s.userIdCount = 3;
    s.userIds = {kPlayerName, "bob", "carol", "", ""};
    s.userIdEnabled = {1, 0, 1, 1, 1};
    s.MJSFileName = "/home/user/My Logs/mjscore.txt";
    s.Tab = 5;
    s.dateFrom = 1262271600;
    s.dateTo = 1293807599;
    s.recentCount = 300;
    s.tableKindFilter = {1, 0, 1, 0};
    s.gameKindFilter = {0, 1, 1, 0};
    s.rankFilter = {1, 1, 0, 0};
    s.ratingRankFilter = {0, 0, 1, 1};
    s.StatLine1 = 1;
    s.StatLine2 = 0;
    s.SortYaku1 = {0, 0, 2, 0};
    s.SortYaku2 = {1, 0, 0, 0};
    s.SortVs = {0, 0, 0, 2, 0, 0, 0, 0};
    return s;
}

AppSettings Load(const std::string& path) {
    AppSettings settings(path);
    settings.iniPath.clear();
    return settings;
}

AppSettings Parse(std::string_view text) {
    AppSettings settings = Defaults();
    ParseSettings(settings, text);
    return settings;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

std::vector<std::string> DirectoryEntries(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(DefaultDates, AreTheLocalRangeEnds) {
    {
        ScopedEnv tz("TZ", "Asia/Tokyo");
        EXPECT_EQ(DefaultDateFrom(), 883580400);
        EXPECT_EQ(DefaultDateTo(), 2145884399);
        EXPECT_EQ(Defaults().dateFrom, 883580400);
        EXPECT_EQ(Defaults().dateTo, 2145884399);
    }
    ScopedEnv tz("TZ", "UTC");
    EXPECT_EQ(DefaultDateFrom(), 883612800);
    EXPECT_EQ(DefaultDateTo(), 2145916799);
}

TEST(LoadSettings, MissingFileGivesDefaultsAndLeavesEnabledFlags) {
    TempDir dir;
    AppSettings settings = WrittenValues();
    settings.userIdEnabled = {0, 1, 0, 1, 0};
    settings.iniPath = dir.File("absent.ini");
    settings.LoadSettings();

    AppSettings expected = Defaults();
    expected.iniPath = settings.iniPath;
    expected.userIdEnabled = {0, 1, 0, 1, 0};
    EXPECT_EQ(settings, expected);
    EXPECT_EQ(settings.userIds[0],
              "\x82\xb1\x82\xb1\x82\xc9"
              "ID"
              "\x82\xf0");
    EXPECT_EQ(settings.userIds[1], "\x93\xfc\x82\xea\x82\xc4\x89\xba\x82\xb3\x82\xa2");
    EXPECT_EQ(AppSettings().userIdEnabled, (std::array<std::int32_t, 5>{1, 1, 1, 1, 1}));
}

TEST(LoadSettings, FixtureFiles) {
    struct Case {
        const char* file;
        std::function<void(AppSettings&)> expect;  // applied to the defaults
    };
    const Case cases[] = {
        {"Written.ini", [](AppSettings& s) { s = WrittenValues(); }},
        {"Reversed.ini", [](AppSettings& s) { s = WrittenValues(); }},
        {"UnknownKey.ini", [](AppSettings& s) { s = WrittenValues(); }},
        {"NegativeRecent.ini",
         [](AppSettings& s) {
             s.X = 7;
             s.Y = 8;
         }},
        {"PathAtEndNoNewline.ini",
         [](AppSettings& s) {
             s.Tab = 2;
             s.MJSFileName = "D:\\logs\\mjscore.tx";
         }},
        {"PathKeyLast.ini", [](AppSettings& s) { s.Tab = 3; }},
        {"Truncated.ini",
         [](AppSettings& s) {
             const AppSettings written = WrittenValues();
             s = written;
             s.gameKindFilter = {0, 1, 1, 1};
             s.rankFilter = s.ratingRankFilter = {1, 1, 1, 1};
             s.StatLine1 = 0;
             s.SortYaku1 = s.SortYaku2 = {0, 1, 0, 0};
             s.SortVs = {1, 0, 0, 0, 0, 0, 0, 0};
         }},
        {"Garbage.bin", [](AppSettings&) {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        AppSettings expected = Defaults();
        c.expect(expected);
        EXPECT_EQ(Load(DataFile(c.file)), expected);
    }
}

TEST(LoadSettings, CrLfLineEndsReadAsLf) {
    std::string crlf;
    for (const char c : ReadBytes(DataFile("Written.ini"))) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    TempDir dir;
    WriteBytes(dir.File("Obrenta.ini"), crlf);
    EXPECT_EQ(Load(dir.File("Obrenta.ini")), WrittenValues());
}

TEST(ParseSettings, PathKeyAsLastLineKeepsThePathItHad) {
    for (const std::string_view text : {"MJSFileName\n"sv, "MJSFileName"sv, "MJSFileName  "sv}) {
        AppSettings settings = Defaults();
        settings.MJSFileName = "old/path.txt";
        ParseSettings(settings, text);
        EXPECT_EQ(settings.MJSFileName, "old/path.txt") << text;
    }
}

TEST(ParseSettings, Scanning) {
    constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
    const std::string longWord = std::string(1023, 'A') + "X 5\nY 7\n";
    const std::string longId = "UserID00\t" + std::string(127, 'a') + "X 9\nY 1\n";
    const std::string longPath = "MJSFileName\n" + std::string(1500, 'p') + "\nTab 6\n";
    struct Case {
        const char* name;
        std::string text;
        std::function<void(AppSettings&)> expect;  // applied to the defaults
    };
    const Case cases[] = {
        {"LastValueWins", "X 1\nX 2\n", [](AppSettings& s) { s.X = 2; }},
        {"ValueRunningIntoEndOfFile", "Tab\t4", [](AppSettings& s) { s.Tab = 4; }},
        {"ArrayStopsAtFirstBadValue", "Taku\t0 0 x 0\nY 3\n",
         [](AppSettings& s) {
             s.tableKindFilter = {0, 0, 1, 1};
             s.Y = 3;
         }},
        {"UnscannedValueIsMetAsWords", "Rank\tX 9\n", [](AppSettings& s) { s.X = 9; }},
        {"FailedScanConsumesALoneSign", "Y\t-X 4\n", [](AppSettings& s) { s.X = 4; }},
        {"RRankIsNotRank", "RRank 0 0 0 0\n",
         [](AppSettings& s) {
             s.ratingRankFilter = {0, 0, 0, 0};
         }},
        {"KeysMatchWholeWordsOnly", "Xylophone 5\nTabs 3\nUserID0 x\nUseID05 0\n", [](AppSettings&) {}},
        {"SortVsReadsEightValues", "SortVs 0 0 0 0 0 0 0 2\n",
         [](AppSettings& s) { s.SortVs = {0, 0, 0, 0, 0, 0, 0, 2}; }},
        {"AutoTallyOff", "AutoTally 0\n", [](AppSettings& s) { s.AutoTally = 0; }},
        {"LongWordIsCutAndItsRestSkipped", longWord, [](AppSettings& s) { s.Y = 7; }},
        {"LongIdIsCutAndItsRestSkipped", longId,
         [](AppSettings& s) {
             s.userIds[0] = std::string(127, 'a');
             s.Y = 1;
         }},
        {"PathLineIsCutAt1023Bytes", longPath,
         [](AppSettings& s) {
             s.MJSFileName = std::string(1022, 'p');
             s.Tab = 6;
         }},
        {"PathLineKeepsBlanks", "MJSFileName\n  C:\\My Logs\\a b.txt \t\nTab 1\n",
         [](AppSettings& s) {
             s.MJSFileName = "  C:\\My Logs\\a b.txt \t";
             s.Tab = 1;
         }},
        {"RestOfPathKeyLineIsDropped", "MJSFileName junk here\nlog.txt\n",
         [](AppSettings& s) { s.MJSFileName = "log.txt"; }},
        {"EmptyPathLine", "MJSFileName\n\nTab 1\n",
         [](AppSettings& s) {
             s.MJSFileName = "";
             s.Tab = 1;
         }},
        {"IdSlotsAndFlags", "UserID04 e\nUseID04 0\nUserID05 f\n",
         [](AppSettings& s) {
             s.userIds[4] = "e";
             s.userIdEnabled[4] = 0;
         }},
        {"NulEndsAWord", std::string("X\0junk 5\n", 9), [](AppSettings& s) { s.X = 5; }},
        {"Int32Clamps", "X 99999999999\nY -99999999999\n",
         [&](AppSettings& s) {
             s.X = kIntMax;
             s.Y = kIntMin;
         }},
        {"DatesAre64Bit", "Date1 -4102444800\nDate2 32503680000\n",
         [](AppSettings& s) {
             s.dateFrom = -4102444800;
             s.dateTo = 32503680000;
         }},
        {"DateClamps", "Date1 -99999999999999999999\nDate2 99999999999999999999\n",
         [](AppSettings& s) {
             s.dateFrom = std::numeric_limits<std::int64_t>::min();
             s.dateTo = std::numeric_limits<std::int64_t>::max();
         }},
        {"NegativeRecentBecomes10000", "Recent -2147483648\nX 1\n", [](AppSettings& s) { s.X = 1; }},
        {"UserIdCountIsKeptAsRead", "nUserID 10000\n", [](AppSettings& s) { s.userIdCount = 10000; }},
        {"GraphWindowPlace", "GraphX -5\nGraphY 6\nGraphW 700\nGraphH 500\n",
         [](AppSettings& s) { s.GraphX = -5, s.GraphY = 6, s.GraphW = 700, s.GraphH = 500; }},
        {"FurtherLogsInKeyOrderWithGapsAndEmptiesDropped",
         "MJSFileName4\nd.txt\nMJSFileName2\n b c.txt\nMJSFileName3\n\nMJSFileName16\np.txt\n",
         [](AppSettings& s) {
             s.extraLogs = {" b c.txt", "d.txt", "p.txt"};
         }},
        {"FurtherLogKeysOutOfRangeAreNoKeys",
         "MJSFileName1\nX 1\nMJSFileName17\nY 2\nMJSFileName02\nTab 3\nMJSFileNamex\nRecent 4\n",
         [](AppSettings& s) { s.X = 1, s.Y = 2, s.Tab = 3, s.recentCount = 4; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppSettings expected = Defaults();
        c.expect(expected);
        EXPECT_EQ(Parse(c.text), expected);
    }
}

TEST(AppSettings, ScoreLogPathIsTakenFromTheSettingsFolder) {
    const struct {
        const char* iniPath;
        const char* log;
        const char* expected;
    } cases[] = {
        {"/home/u/.config/obrenta/Obrenta.ini", "mjscore.txt", "/home/u/.config/obrenta/mjscore.txt"},
        {"/opt/obrenta/Obrenta.ini", "logs/my log.txt", "/opt/obrenta/logs/my log.txt"},
        {"/opt/obrenta/Obrenta.ini", "/var/log/mjscore.txt", "/var/log/mjscore.txt"},
        {"Obrenta.ini", "mjscore.txt", "mjscore.txt"},
        {"", "mjscore.txt", "mjscore.txt"},
        {"/opt/obrenta/Obrenta.ini", "", ""},
        // 表 ends in the byte of '\\', which is no separator in code page 932.
        {"/opt/成績表/Obrenta.ini", "表.txt", "/opt/成績表/表.txt"},
    };
    for (const auto& c : cases) {
        AppSettings settings;
        settings.iniPath = obrenta::test::Sj(c.iniPath);
        settings.MJSFileName = obrenta::test::Sj(c.log);
        EXPECT_EQ(settings.ScoreLogPath(), obrenta::test::Sj(c.expected)) << c.iniPath << " " << c.log;
        // A further log is resolved the same way, behind the first; an empty one is left out.
        settings.MJSFileName = "first.txt";
        settings.extraLogs = {obrenta::test::Sj(c.log)};
        const std::vector<std::string> paths = settings.ScoreLogPaths();
        EXPECT_EQ(std::vector<std::string>(paths.begin() + 1, paths.end()),
                  std::string(c.expected).empty() ? std::vector<std::string>{}
                                                  : std::vector<std::string>{obrenta::test::Sj(c.expected)})
            << c.iniPath << " " << c.log;
    }
}

TEST(ParseSettings, TenThousandIdsUseOnlyFiveSlots) {
    std::string text = "nUserID\t10000\n";
    for (int i = 0; i < 10000; ++i) {
        char lines[64];
        std::snprintf(lines, sizeof lines, "UserID%02d\tid%d\nUseID%02d\t0\n", i, i, i);
        text += lines;
    }
    const AppSettings settings = Parse(text);
    EXPECT_EQ(settings.userIdCount, 10000);
    EXPECT_EQ(settings.UsableIdCount(), 5);
    EXPECT_EQ(settings.userIds, (std::array<std::string, 5>{"id0", "id1", "id2", "id3", "id4"}));
    EXPECT_EQ(settings.userIdEnabled, (std::array<std::int32_t, 5>{0, 0, 0, 0, 0}));

    const std::string written = FormatSettings(settings);
    EXPECT_NE(written.find("nUserID\t5\n"), std::string::npos);
    EXPECT_NE(written.find("UseID04\t0\n"), std::string::npos);
    EXPECT_EQ(written.find("UserID05"), std::string::npos);
}

TEST(FormatSettings, IdCountIsClamped) {
    AppSettings settings = Defaults();
    settings.userIdCount = -3;
    EXPECT_EQ(settings.UsableIdCount(), 0);
    const std::string written = FormatSettings(settings);
    EXPECT_NE(written.find("nUserID\t0\nMJSFileName\n"), std::string::npos);
}

TEST(SaveSettings, WritesTheExactText) {
    TempDir dir;
    AppSettings settings = WrittenValues();
    settings.userIdCount = 2;
    settings.GraphW = 640;
    settings.MainW = 1100;
    settings.MainMaximized = 1;
    settings.SortDealInVs = {0, 0, 0, 0, 0, 0, 0, 1};
    settings.DealInAllOpponents = 1;
    // An empty entry is not written, and leaves no gap in the numbers.
    settings.extraLogs = {"/home/user/old pc/mjscore.txt", "", "backup.txt"};
    settings.iniPath = dir.File("Obrenta.ini");
    ASSERT_TRUE(settings.SaveSettings());
    EXPECT_EQ(ReadBytes(settings.iniPath),
              "X\t120\n"
              "Y\t-40\n"
              "nUserID\t2\n"
              "UserID00\t\x90\x9d\x8e\x6d"
              "A\n"
              "UseID00\t1\n"
              "UserID01\tbob\n"
              "UseID01\t0\n"
              "MJSFileName\n"
              "/home/user/My Logs/mjscore.txt\n"
              "Tab\t5\n"
              "Date1\t1262271600\n"
              "Date2\t1293807599\n"
              "Recent\t300\n"
              "Taku\t1 0 1 0\n"
              "Taisen\t0 1 1 0\n"
              "Rank\t1 1 0 0\n"
              "RRank\t0 0 1 1\n"
              "StatLine1\t1\n"
              "StatLine2\t0\n"
              "SortYaku1\t0 0 2 0\n"
              "SortYaku2\t1 0 0 0\n"
              "SortVs\t0 0 0 2 0 0 0 0\n"
              "AutoTally\t1\n"
              "GraphX\t0\n"
              "GraphY\t0\n"
              "GraphW\t640\n"
              "GraphH\t0\n"
              "PeriodYearly\t0\n"
              "FormGames\t100\n"
              "SortPeriod\t0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n"
              "MainW\t1100\n"
              "MainH\t0\n"
              "MainMaximized\t1\n"
              "SortDealInYaku\t0 1 0 0\n"
              "SortDealInVs\t0 0 0 0 0 0 0 1\n"
              "DealInAllOpponents\t1\n"
              "MJSFileName2\n"
              "/home/user/old pc/mjscore.txt\n"
              "MJSFileName3\n"
              "backup.txt\n");
    EXPECT_EQ(DirectoryEntries(dir.Path()), std::vector<std::string>{"Obrenta.ini"});
}

TEST(SaveSettings, FolderNamedInJapanese) {
    TempDir dir;
    AppSettings settings = WrittenValues();
    settings.iniPath = dir.Path() + "/" + obrenta::test::Sj("成績表/設定") + "/Obrenta.ini";
    ASSERT_TRUE(settings.SaveSettings());
    ASSERT_TRUE(settings.SaveSettings());  // replacing the file as well
    EXPECT_EQ(Load(settings.iniPath), WrittenValues());
}

TEST(SaveSettings, TwoIdsGiveTheirLinesInOrderAndNoOthers) {
    AppSettings settings = Defaults();
    settings.userIds = {"alice", "bob", "carol", "dave", "eve"};
    settings.userIdEnabled = {1, 0, 1, 1, 1};
    std::vector<std::string> idLines;
    for (const std::string& line : Lines(FormatSettings(settings))) {
        if (line.starts_with("UserID") || line.starts_with("UseID")) idLines.push_back(line);
    }
    EXPECT_EQ(idLines,
              (std::vector<std::string>{"UserID00\talice", "UseID00\t1", "UserID01\tbob", "UseID01\t0"}));
}

TEST(SaveSettings, RoundTripsEveryField) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    const std::pair<std::int64_t, std::int64_t> dates[] = {
        {883580400, 2145884399}, {-1, 4102444800}, {kMin, kMax}, {-86400LL * 365 * 3000, 0}};
    TempDir dir;
    for (const auto& [from, to] : dates) {
        SCOPED_TRACE(from);
        AppSettings saved = WrittenValues();
        saved.userIdCount = 5;
        saved.userIds = {"a", "b b", "c", "d", "e"};  // a blank ends an ID when it is read back
        saved.userIdEnabled = {0, 1, 0, 2, -1};
        saved.MJSFileName = " /tmp/with blanks\tand tab/mjscore.txt ";
        saved.extraLogs = {"b.txt", " /tmp/c d.txt "};
        saved.dateFrom = from;
        saved.dateTo = to;
        saved.recentCount = 0;
        saved.iniPath = dir.File("Obrenta.ini");
        ASSERT_TRUE(saved.SaveSettings());

        AppSettings expected = saved;
        expected.userIds[1] = "b";
        expected.iniPath.clear();
        EXPECT_EQ(Load(saved.iniPath), expected);
    }
}

TEST(SaveSettings, CreatesMissingDirectoriesAndHonoursUmask) {
#ifdef _WIN32
    OBRENTA_SKIP_ON_WINDOWS("no umask and no mode bits");
#else
    TempDir dir;
    AppSettings settings = Defaults();
    settings.iniPath = dir.Path() + "/config/obrenta/Obrenta.ini";
    const mode_t oldMask = ::umask(022);
    const bool saved = settings.SaveSettings().ok();
    ::umask(oldMask);
    ASSERT_TRUE(saved);
    struct stat info {};
    ASSERT_EQ(::stat(settings.iniPath.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    EXPECT_EQ(Load(settings.iniPath), Defaults());
#endif
}

TEST(SaveSettings, KeepsTheModeOfTheFileItReplaces) {
#ifdef _WIN32
    OBRENTA_SKIP_ON_WINDOWS("no mode bits (a new file takes the folder's permissions)");
#else
    TempDir dir;
    AppSettings settings = Defaults();
    settings.iniPath = dir.File("Obrenta.ini");
    WriteBytes(settings.iniPath, "X 1\n");
    ASSERT_EQ(::chmod(settings.iniPath.c_str(), 0600), 0);
    ASSERT_TRUE(settings.SaveSettings());
    struct stat info {};
    ASSERT_EQ(::stat(settings.iniPath.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
#endif
}

// Each case makes the save fail in a different step; the old file must stay byte for byte and
// no temporary file may be left behind.
class FailedSave : public testing::Test {
protected:
    void SetUp() override {
        settings_ = WrittenValues();
        settings_.iniPath = dir_.File("Obrenta.ini");
        WriteBytes(settings_.iniPath, kOldText);
    }
    void ExpectUntouched() {
        EXPECT_EQ(ReadBytes(settings_.iniPath), kOldText);
        EXPECT_EQ(DirectoryEntries(dir_.Path()), std::vector<std::string>{"Obrenta.ini"});
    }

    static constexpr const char* kOldText = "X\t5\nY\t6\nMJSFileName\nold.txt\n";
    TempDir dir_;
    AppSettings settings_;
};

TEST_F(FailedSave, DirectoryComponentIsARegularFile) {
    settings_.iniPath = dir_.File("Obrenta.ini") + "/Obrenta.ini";
    EXPECT_FALSE(settings_.SaveSettings());
    settings_.iniPath = dir_.File("Obrenta.ini") + "/sub/Obrenta.ini";
    EXPECT_FALSE(settings_.SaveSettings());
    settings_.iniPath = dir_.File("Obrenta.ini");
    ExpectUntouched();
}

TEST_F(FailedSave, ReadOnlyDirectory) {
#ifdef _WIN32
    OBRENTA_SKIP_ON_WINDOWS("the read-only attribute of a folder does not stop writing in it");
#else
    ASSERT_EQ(::chmod(dir_.Path().c_str(), 0555), 0);
    const std::string probe = dir_.File("probe");
    if (std::FILE* file = std::fopen(probe.c_str(), "w")) {
        std::fclose(file);
        std::remove(probe.c_str());
        ::chmod(dir_.Path().c_str(), 0755);
        GTEST_SKIP() << "permission bits do not stop this user from writing (running as root?); "
                        "the other FailedSave cases cover the failure paths";
    }
    EXPECT_FALSE(settings_.SaveSettings());
    ::chmod(dir_.Path().c_str(), 0755);
    ExpectUntouched();
#endif
}

TEST_F(FailedSave, WriteFailsPartWay) {
#ifdef _WIN32
    OBRENTA_SKIP_ON_WINDOWS("no file size limit to make a write fail");
#else
    // A file size limit makes write() fail after the first bytes, whoever runs the test.
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 16;
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = settings_.SaveSettings().ok();
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    ExpectUntouched();
#endif
}

// A read-only file is replaced where the folder's permissions decide (POSIX; its mode is kept);
// on Windows its attribute forbids the replacement and the save fails.
TEST_F(FailedSave, ReadOnlyFile) {
    namespace fs = std::filesystem;
    fs::permissions(settings_.iniPath,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const SaveOutcome saved = settings_.SaveSettings();
    fs::permissions(settings_.iniPath, fs::perms::owner_write, fs::perm_options::add);
#ifdef _WIN32
    EXPECT_EQ(saved.failedStep, SaveOutcome::Step::Rename);
    ExpectUntouched();
#else
    EXPECT_TRUE(saved.ok()) << saved.reason();
    AppSettings expected = settings_;
    expected.iniPath.clear();
    EXPECT_EQ(Load(settings_.iniPath), expected);
#endif
}

TEST_F(FailedSave, RenameFails) {
    // A non-empty directory in the file's place cannot be replaced by a rename.
    const std::string blocker = dir_.File("Blocked.ini");
    ASSERT_TRUE(std::filesystem::create_directory(blocker));
    WriteBytes(blocker + "/keep", "k");
    settings_.iniPath = blocker;
    EXPECT_FALSE(settings_.SaveSettings());
    EXPECT_EQ(ReadBytes(blocker + "/keep"), "k");
    std::filesystem::remove_all(blocker);
    settings_.iniPath = dir_.File("Obrenta.ini");
    ExpectUntouched();
}

}  // namespace
}  // namespace obrenta::settings
