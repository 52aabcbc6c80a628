#include "settings/SettingsLocation.h"

#include "base/Platform.h"

namespace obrenta::settings {
namespace {

constexpr char kFileName[] = "Obrenta.ini";

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

std::string LocateSettingsFile(const std::string& executableDir) {
    std::string directory = WithoutTrailingSlashes(executableDir.empty() ? "." : executableDir);
    const std::string beside = (directory == "/" ? "" : directory) + "/" + kFileName;
    base::FileStatus info;
    if (base::QueryFileStatus(beside, info) == 0 && info.regular) return beside;
    return base::UserConfigDirectory() + "/obrenta/" + kFileName;
}

}  // namespace obrenta::settings
