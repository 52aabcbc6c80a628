#include "present/TextCodec.h"

#include "base/Platform.h"

namespace obrenta::present {

std::string Cp932ToUtf8(std::string_view cp932) {
    bool ascii = true;
    for (unsigned char c : cp932) ascii = ascii && c < 0x80;
    if (ascii) return std::string(cp932);
    return base::Cp932BytesToUtf8(cp932);
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
    return base::Utf8BytesToCp932(utf8);
}

std::string Cp932Literal(std::string_view utf8) {
    std::optional<std::string> converted = Utf8ToCp932(utf8);
    return converted ? *converted : std::string(utf8);
}

}  // namespace obrenta::present
