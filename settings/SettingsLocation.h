#pragma once

#include <string>

namespace obrenta::settings {

// Where the settings file lives: "Obrenta.ini" in executableDir when that file already exists or
// the directory is writable (a portable folder), otherwise "obrenta/Obrenta.ini" in the user's
// configuration directory ($XDG_CONFIG_HOME, else ~/.config; the roaming application data folder
// on Windows). The directory of the returned path
// may not exist yet; SaveSettings creates it.
std::string LocateSettingsFile(const std::string& executableDir);

}  // namespace obrenta::settings
