#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace obrenta::present {

// Code page 932 bytes to UTF-8. Every byte that forms no code page 932 character (a lead byte
// without a valid trail byte, a lead byte cut off at the end, 0x80, 0xA0, 0xFD-0xFF, ...) becomes
// one U+FFFD. Never fails.
std::string Cp932ToUtf8(std::string_view cp932);

// UTF-8 to code page 932; nullopt when the text is not valid UTF-8 or holds a character that code
// page 932 cannot represent.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

// A fixed text of the program's own, written in UTF-8 in the source, as code page 932 bytes.
// Falls back to the UTF-8 bytes should the conversion be unavailable.
std::string Cp932Literal(std::string_view utf8);

}  // namespace obrenta::present
