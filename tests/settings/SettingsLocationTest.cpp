#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <string>

#include "TestSupport.h"
#include "settings/SettingsLocation.h"

namespace obrenta::settings {
namespace {

using test::ScopedEnv;
using test::TempDir;
using test::WriteBytes;

TEST(LocateSettingsFile, ExistingFileBesideTheProgramIsAPortableCopy) {
    TempDir dir;
    WriteBytes(dir.File("Obrenta.ini"), "X 1\n");
    EXPECT_EQ(LocateSettingsFile(dir.Path()), dir.File("Obrenta.ini"));
    EXPECT_EQ(LocateSettingsFile(dir.Path() + "//"), dir.File("Obrenta.ini"));
}

// An installed program run by root could write its own folder; it must still go to the user's.
TEST(LocateSettingsFile, WritableProgramFolderWithoutTheFileIsNotUsed) {
    TempDir dir;
    OBRENTA_SKIP_ON_WINDOWS("the application data folder is the system's, XDG_CONFIG_HOME is not read");
    ScopedEnv config("XDG_CONFIG_HOME", (dir.Path() + "/xdg").c_str());
    EXPECT_EQ(LocateSettingsFile(dir.Path()), dir.Path() + "/xdg/obrenta/Obrenta.ini");
    // A directory of that name is no settings file.
    std::filesystem::create_directory(dir.File("Obrenta.ini"));
    EXPECT_EQ(LocateSettingsFile(dir.Path()), dir.Path() + "/xdg/obrenta/Obrenta.ini");
}

TEST(LocateSettingsFile, UnusableExecutableDirectoryFallsBackToUserConfig) {
    TempDir dir;
    const std::string missing = dir.File("no-such-dir");
#ifdef _WIN32
    const std::string located = LocateSettingsFile(missing);
    EXPECT_TRUE(located.ends_with("/obrenta/Obrenta.ini") && located.find(':') == 1) << located;
    OBRENTA_SKIP_ON_WINDOWS(
        "the application data folder is the system's, XDG_CONFIG_HOME and HOME are not read");
#endif
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
#ifdef _WIN32
    OBRENTA_SKIP_ON_WINDOWS("the read-only attribute of a folder does not stop writing in it");
#else
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0555), 0);
    ScopedEnv config("XDG_CONFIG_HOME", "/elsewhere");
    EXPECT_EQ(LocateSettingsFile(dir.Path()), dir.File("Obrenta.ini"));
    ::chmod(dir.Path().c_str(), 0755);
#endif
}

}  // namespace
}  // namespace obrenta::settings
