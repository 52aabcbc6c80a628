#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "TestSupport.h"
#include "settings/SettingsLocation.h"

namespace obrenta::settings {
namespace {

using test::ScopedEnv;
using test::TempDir;
using test::WriteBytes;

TEST(LocateSettingsFile, WritableExecutableDirectoryHoldsTheFile) {
    TempDir dir;
    EXPECT_EQ(LocateSettingsFile(dir.Path()), dir.File("Obrenta.ini"));
    EXPECT_EQ(LocateSettingsFile(dir.Path() + "//"), dir.File("Obrenta.ini"));
}

TEST(LocateSettingsFile, UnusableExecutableDirectoryFallsBackToUserConfig) {
    TempDir dir;
    const std::string missing = dir.File("no-such-dir");
    {
        ScopedEnv config("XDG_CONFIG_HOME", (dir.Path() + "/xdg/").c_str());
        EXPECT_EQ(LocateSettingsFile(missing), dir.Path() + "/xdg/obrenta/Obrenta.ini");
    }
    ScopedEnv home("HOME", dir.Path().c_str());
    for (const char* config : {"relative/config", "", static_cast<const char*>(nullptr)}) {
        ScopedEnv xdg("XDG_CONFIG_HOME", config);
        EXPECT_EQ(LocateSettingsFile(missing), dir.Path() + "/.config/obrenta/Obrenta.ini")
            << (config ? config : "(unset)");
    }
}

TEST(LocateSettingsFile, ExistingFileWinsOverAReadOnlyDirectory) {
    TempDir dir;
    WriteBytes(dir.File("Obrenta.ini"), "X 1\n");
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0555), 0);
    ScopedEnv config("XDG_CONFIG_HOME", "/elsewhere");
    EXPECT_EQ(LocateSettingsFile(dir.Path()), dir.File("Obrenta.ini"));
    ::chmod(dir.Path().c_str(), 0755);
}

}  // namespace
}  // namespace obrenta::settings
