// A settings file that is damaged, huge or can't be written: the program keeps working, and a
// save that fails never costs the file that was there.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "HardeningSupport.h"
#include "settings/AppSettings.h"
#include "tally/TallyEngine.h"

namespace obrenta::hardening::test {
namespace {

using settings::AppSettings;

AppSettings Defaults() {
    AppSettings s;
    s.SetDefaults();
    return s;
}

std::string HardeningData(const std::string& name) {
    return std::string(OBRENTA_TEST_DATA) + "/hardening/" + name;
}

// Loaded settings must still drive a whole tally, and save to a file that loads back the same.
void ExpectUsable(const AppSettings& loaded, const TempDir& dir) {
    const std::string log = dir.File("mjscore.txt");
    WriteBytes(log, Games(0, 3));
    AppSettings s = loaded;
    s.MJSFileName = log;
    tally::TallyEngine engine(s);
    engine.ReadScoreLog();
    EXPECT_TRUE(engine.Tally());

    s.iniPath = dir.File("resaved.ini");
    ASSERT_TRUE(s.SaveSettings());
    AppSettings again;
    again.userIdEnabled = s.userIdEnabled;
    again.iniPath = s.iniPath;
    again.LoadSettings();
    EXPECT_EQ(settings::FormatSettings(again), settings::FormatSettings(s));
}

std::string TenThousandIds() {
    std::string text = "nUserID\t10000\n";
    for (int i = 0; i < 10000; ++i) {
        text +=
            "UserID" + std::string(i < 10 ? "0" : "") + std::to_string(i) + "\tid" + std::to_string(i) + "\n";
        text += "UseID" + std::string(i < 10 ? "0" : "") + std::to_string(i) + "\t1\n";
    }
    return text;
}

std::string HugeWordsAndNumbers() {
    std::string text = "X\t" + std::string(40, '9') + "\nY\t-" + std::string(40, '9') + "\n";
    text += "UserID00\t" + std::string(5000, 'k') + "\nUseID00\t1\n";
    text += std::string(100000, 'w') + " 1 2 3\n";
    text += "MJSFileName\n" + std::string(5000, 'p') + "\n";
    text += "Date1\t-99999999999999999999999\nRecent\t-5\nSortVs\t1 2 3\n";
    return text;
}

std::string DataFile(const char* name) {
    return ReadBytes(HardeningData(name));
}

struct DamagedFile {
    const char* name;
    std::string (*bytes)();
};

class DamagedSettingsTest : public testing::TestWithParam<DamagedFile> {};

TEST_P(DamagedSettingsTest, LoadsAndKeepsWorking) {
    TempDir dir;
    const std::string bytes = GetParam().bytes();
    ASSERT_FALSE(bytes.empty());
    AppSettings s;
    s.iniPath = dir.File("Obrenta.ini");
    WriteBytes(s.iniPath, bytes);
    s.LoadSettings();
    EXPECT_GE(s.recentCount, 0);
    EXPECT_GE(s.UsableIdCount(), 0);
    EXPECT_LE(s.UsableIdCount(), settings::kMaxUserIds);
    for (const std::string& id : s.userIds) EXPECT_LE(id.size(), settings::kMaxUserIdBytes);
    EXPECT_EQ(ReadBytes(s.iniPath), bytes) << "loading changed the file";
    ExpectUsable(s, dir);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedSettingsTest,
    testing::Values(DamagedFile{"BinaryGarbage", [] { return DataFile("binary-garbage.ini"); }},
                    DamagedFile{"TruncatedMidLine", [] { return DataFile("truncated-mid-line.ini"); }},
                    DamagedFile{"TenThousandIds", TenThousandIds},
                    DamagedFile{"HugeWordsAndNumbers", HugeWordsAndNumbers}),
    [](const testing::TestParamInfo<DamagedFile>& info) { return std::string(info.param.name); });

TEST(DamagedSettings, HugeValuesAreCutAndClamped) {
    AppSettings s = Defaults();
    settings::ParseSettings(s, HugeWordsAndNumbers());
    EXPECT_EQ(s.X, 2147483647);
    EXPECT_EQ(s.Y, -2147483647 - 1);
    EXPECT_EQ(s.userIds[0], std::string(127, 'k'));
    EXPECT_EQ(s.MJSFileName, std::string(1022, 'p'));
    EXPECT_EQ(s.dateFrom, INT64_MIN);
    EXPECT_EQ(s.recentCount, 10000);
    EXPECT_EQ(s.SortVs, (std::array<std::int32_t, 8>{1, 2, 3, 0, 0, 0, 0, 0}));
}

TEST(DamagedSettings, TruncatedFileKeepsWhatWasBeforeTheCut) {
    AppSettings s = Defaults();
    s.iniPath = HardeningData("truncated-mid-line.ini");
    s.LoadSettings();
    EXPECT_EQ(s.X, 120);
    EXPECT_EQ(s.userIdCount, 1);
    EXPECT_EQ(s.userIds[0], "kenji");
    EXPECT_EQ(s.MJSFileName, "/home/kenji/mjscore.txt");
    EXPECT_EQ(s.Tab, 2);
    EXPECT_EQ(s.dateFrom, 883580400);
    // The file ends inside the key "Recent": the rest keeps its defaults.
    EXPECT_EQ(s.recentCount, 10000);
    EXPECT_EQ(s.dateTo, settings::DefaultDateTo());
}

TEST(DamagedSettings, TenThousandIdsUseFiveSlotsAndSaveFive) {
    TempDir dir;
    AppSettings s = Defaults();
    settings::ParseSettings(s, TenThousandIds());
    EXPECT_EQ(s.userIdCount, 10000);
    EXPECT_EQ(s.UsableIdCount(), 5);
    EXPECT_EQ(s.userIds[4], "id4");
    s.iniPath = dir.File("Obrenta.ini");
    ASSERT_TRUE(s.SaveSettings());
    const std::string saved = ReadBytes(s.iniPath);
    EXPECT_NE(saved.find("nUserID\t5\n"), std::string::npos);
    EXPECT_EQ(saved.find("UserID05"), std::string::npos);
}

// A configured settings file with a known content, and the save that has to fail over it.
class FailedSaveTest : public testing::Test {
protected:
    void SetUp() override {
        AppSettings old = Defaults();
        old.iniPath = path;
        old.X = 77;
        old.userIds[0] = "kenji";
        ASSERT_TRUE(old.SaveSettings());
        oldBytes = ReadBytes(path);
        changed = old;
        changed.X = 999;
        changed.MJSFileName = std::string(4000, 'p');  // long enough to pass any small write
    }

    void ExpectOldFileIntact() {
        EXPECT_EQ(ReadBytes(path), oldBytes);
        AppSettings loaded;
        loaded.iniPath = path;
        loaded.LoadSettings();
        EXPECT_EQ(loaded.X, 77);
    }

    TempDir dir;
    std::string path = dir.File("Obrenta.ini");
    std::string oldBytes;
    AppSettings changed;
};

// Writes fail beyond a file size limit, for root as well: the same as a disk that is full.
TEST_F(FailedSaveTest, WriteErrorLeavesTheOldFileByteForByte) {
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    struct sigaction ignore {};
    struct sigaction previous {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignore, &previous);
    struct rlimit small = old;
    small.rlim_cur = 512;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = changed.SaveSettings().ok();
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::sigaction(SIGXFSZ, &previous, nullptr);

    EXPECT_FALSE(saved);
    ExpectOldFileIntact();
    // No half-written temporary file is left beside it.
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()),
        1);
}

// The process dies in the middle of writing (the file size signal kills it): the file that was
// there is what the next start reads.
TEST_F(FailedSaveTest, ProcessKilledDuringSaveLeavesTheOldFile) {
    const pid_t child = ::fork();
    if (child == 0) {
        const struct rlimit noCore { 0, 0 };
        ::setrlimit(RLIMIT_CORE, &noCore);
        struct rlimit small {};
        ::getrlimit(RLIMIT_FSIZE, &small);
        small.rlim_cur = 512;
        ::setrlimit(RLIMIT_FSIZE, &small);
        changed.SaveSettings();
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ)
        << "the save was expected to die on the size limit, status " << status;
    ExpectOldFileIntact();
}

// Makes a directory read-only for everyone, root included, while it lives: root ignores the
// permission bits, so root gets the immutable attribute instead (no file can be created in it).
class ReadOnlyDirectory {
public:
    explicit ReadOnlyDirectory(const std::string& path) : path_(path) {
        if (::geteuid() != 0) {
            std::filesystem::permissions(
                path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
            ok_ = true;
            return;
        }
        ok_ = SetImmutable(true);
        immutable_ = ok_;
    }
    ~ReadOnlyDirectory() {
        if (immutable_) {
            SetImmutable(false);
        } else {
            std::error_code ignored;
            std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        }
    }
    ReadOnlyDirectory(const ReadOnlyDirectory&) = delete;
    ReadOnlyDirectory& operator=(const ReadOnlyDirectory&) = delete;

    bool ok() const { return ok_; }

private:
    bool SetImmutable(bool on) {
        const int fd = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    }

    std::string path_;
    bool ok_ = false;
    bool immutable_ = false;
};

TEST_F(FailedSaveTest, ReadOnlyDirectoryLeavesTheOldFile) {
    {
        ReadOnlyDirectory readOnly(dir.Path());
        if (!readOnly.ok()) {
            GTEST_SKIP() << "running as root on a file system without the immutable attribute: "
                            "no directory can be made read-only here (the write error test covers "
                            "the failed save)";
        }
        EXPECT_FALSE(changed.SaveSettings());
        // The program goes on: the settings in memory are still the changed ones, and loading
        // the old file works.
        EXPECT_EQ(changed.X, 999);
        ExpectOldFileIntact();
    }
    EXPECT_TRUE(changed.SaveSettings());
}

// A settings path that can never be created: saving fails, nothing else does.
TEST(UnwritableSettings, SaveFailsAndTheProgramGoesOn) {
    TempDir dir;
    AppSettings s = Defaults();
    s.iniPath = "/proc/obrenta-no-such-dir/Obrenta.ini";
    EXPECT_FALSE(s.SaveSettings());
    const AppSettings before = s;
    s.LoadSettings();  // nothing there: the defaults
    EXPECT_EQ(settings::FormatSettings(s), settings::FormatSettings(before));
    ExpectUsable(s, dir);
}

TEST(UnwritableSettings, LeftoverTemporaryFileIsIgnored) {
    TempDir dir;
    AppSettings s = Defaults();
    s.iniPath = dir.File("Obrenta.ini");
    s.X = 5;
    ASSERT_TRUE(s.SaveSettings());
    WriteBytes(s.iniPath + ".tmp-abcdef", "X\t-1\n");
    s.X = 6;
    ASSERT_TRUE(s.SaveSettings());
    AppSettings loaded;
    loaded.iniPath = s.iniPath;
    loaded.LoadSettings();
    EXPECT_EQ(loaded.X, 6);
}

}  // namespace
}  // namespace obrenta::hardening::test
