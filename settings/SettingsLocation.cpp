#include "settings/SettingsLocation.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace obrenta::settings {
namespace {

constexpr char kFileName[] = "Obrenta.ini";

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
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

}  // namespace

std::string LocateSettingsFile(const std::string& executableDir) {
    std::string directory = WithoutTrailingSlashes(executableDir.empty() ? "." : executableDir);
    const std::string beside = (directory == "/" ? "" : directory) + "/" + kFileName;
    struct stat info {};
    const bool fileExists = ::stat(beside.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    if (fileExists || ::access(directory.c_str(), W_OK) == 0) return beside;
    return UserConfigDirectory() + "/obrenta/" + kFileName;
}

}  // namespace obrenta::settings
