#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace obrenta::ui {

// Everything inside the program is code page 932; Qt wants UTF-16. These are the only two
// crossings between them.
QString ToQString(std::string_view cp932);
// nullopt when the text holds a character code page 932 cannot represent.
std::optional<std::string> ToCp932(const QString& text);

// A path as the file system spells it (bytes) and back; paths are never code page 932 here.
std::string ToLocalPath(const QString& path);
QString FromLocalPath(const std::string& path);

}  // namespace obrenta::ui
