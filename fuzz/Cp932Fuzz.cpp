// Cp932ToUtf8 must give valid UTF-8 for any bytes; text that Utf8ToCp932 accepts must come back
// unchanged from code page 932.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "present/TextCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace obrenta::present;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string utf8 = Cp932ToUtf8(bytes);
    OBRENTA_FUZZ_CHECK(obrenta::fuzz::IsValidUtf8(utf8));
    // Every input byte gives at least one character and none more than two bytes' worth.
    OBRENTA_FUZZ_CHECK(utf8.size() <= bytes.size() * 3);

    // The input as UTF-8: code page 932 bytes for it, and back to the same text.
    if (obrenta::fuzz::IsValidUtf8(bytes)) {
        if (const std::optional<std::string> cp932 = Utf8ToCp932(bytes)) {
            const std::string back = Cp932ToUtf8(*cp932);
            OBRENTA_FUZZ_CHECK(obrenta::fuzz::IsValidUtf8(back));
            const std::optional<std::string> again = Utf8ToCp932(back);
            OBRENTA_FUZZ_CHECK(again.has_value() && *again == *cp932);
        }
    } else {
        OBRENTA_FUZZ_CHECK(!Utf8ToCp932(bytes).has_value());
    }

    // Whatever the decoder made of the bytes, the characters that are not U+FFFD convert back.
    if (utf8.find("\xEF\xBF\xBD") == std::string::npos) {
        const std::optional<std::string> cp932 = Utf8ToCp932(utf8);
        OBRENTA_FUZZ_CHECK(cp932.has_value());
        OBRENTA_FUZZ_CHECK(Cp932ToUtf8(*cp932) == utf8);
    }
    return 0;
}
