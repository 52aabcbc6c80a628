#pragma once

#include <iconv.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace obrenta::scorelog::test {

// The score log is code page 932; the tests write their Japanese text as UTF-8 and convert it.
inline std::string Sj(std::string_view utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no CP932 converter");
    std::string out(utf8.size() * 2 + 1, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == static_cast<std::size_t>(-1) || inLeft != 0) {
        throw std::runtime_error("text not convertible to CP932: " + std::string(utf8));
    }
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace obrenta::scorelog::test
