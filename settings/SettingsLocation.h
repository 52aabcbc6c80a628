#pragma once

#include <string>

namespace obrenta::settings {

// Where the settings file lives: "Obrenta.ini" in executableDir only when that file is already
// there (a portable copy); otherwise "obrenta/Obrenta.ini" in the user's configuration directory
// ($XDG_CONFIG_HOME, else ~/.config; the roaming application data folder on Windows). An
// installed program never writes into its own folder, not even when run by root. The directory
// of the returned path may not exist yet; SaveSettings creates it.
std::string LocateSettingsFile(const std::string& executableDir);

}  // namespace obrenta::settings
