#include "present/TextCodec.h"

#include <iconv.h>

#include <cerrno>

namespace obrenta::present {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of in as possible, appending to out. Returns false at a byte sequence
    // that does not convert; in then points at it.
    bool Convert(std::string_view& in, std::string& out, int& error) {
        char buffer[1024];
        while (!in.empty()) {
            char* src = const_cast<char*>(in.data());
            std::size_t srcLeft = in.size();
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            error = rc == static_cast<std::size_t>(-1) ? errno : 0;
            out.append(buffer, dst);
            in.remove_prefix(in.size() - srcLeft);
            if (error != 0 && error != E2BIG) {
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
                return false;
            }
        }
        return true;
    }

private:
    iconv_t cd_;
};

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
    bool ascii = true;
    for (unsigned char c : cp932) ascii = ascii && c < 0x80;
    if (ascii) return std::string(cp932);
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    // Opening a converter costs far more than most texts take to convert: keep one per thread.
    thread_local Converter converter("UTF-8", "CP932");
    if (!converter.ok()) {
        // Without the converter only ASCII can be trusted.
        for (unsigned char c : cp932) {
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else {
                out += kReplacement;
            }
        }
        return out;
    }
    int error = 0;
    while (!converter.Convert(cp932, out, error)) {
        // EILSEQ or EINVAL: the byte at the front begins no character. Replace that one byte and
        // go on with the next, which may well be a character of its own.
        out += kReplacement;
        cp932.remove_prefix(1);
    }
    return out;
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
    thread_local Converter converter("CP932", "UTF-8");
    if (!converter.ok()) return std::nullopt;
    std::string out;
    int error = 0;
    if (!converter.Convert(utf8, out, error)) return std::nullopt;
    return out;
}

std::string Cp932Literal(std::string_view utf8) {
    std::optional<std::string> converted = Utf8ToCp932(utf8);
    return converted ? *converted : std::string(utf8);
}

}  // namespace obrenta::present
