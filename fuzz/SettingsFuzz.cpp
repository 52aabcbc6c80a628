// ParseSettings on arbitrary bytes, then the round trip through FormatSettings: whatever was
// read, once written and read again, gives back every written field, and writing is then a
// fixed point.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "settings/AppSettings.h"

namespace {

using obrenta::settings::AppSettings;

AppSettings Defaults() {
    AppSettings settings;
    settings.SetDefaults();
    return settings;
}

// Text the file format itself can't carry: an empty ID is written as an empty value, so the
// next word is taken for it, and a path that ends in CR loses the CR to the CR LF rule.
bool Representable(const AppSettings& s) {
    for (int i = 0; i < s.UsableIdCount(); ++i) {
        if (s.userIds[i].empty()) return false;
    }
    for (const std::string& log : s.extraLogs) {
        if (log.back() == '\r') return false;
    }
    return s.MJSFileName.empty() || s.MJSFileName.back() != '\r';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace obrenta::settings;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    AppSettings read = Defaults();
    ParseSettings(read, bytes);
    OBRENTA_FUZZ_CHECK(read.recentCount >= 0);
    OBRENTA_FUZZ_CHECK(read.UsableIdCount() >= 0 && read.UsableIdCount() <= kMaxUserIds);
    for (const std::string& id : read.userIds) {
        OBRENTA_FUZZ_CHECK(id.size() <= kMaxUserIdBytes);
        OBRENTA_FUZZ_CHECK(id.find('\0') == std::string::npos);
    }
    OBRENTA_FUZZ_CHECK(read.MJSFileName.find('\n') == std::string::npos);
    OBRENTA_FUZZ_CHECK(read.MJSFileName.find('\0') == std::string::npos);
    OBRENTA_FUZZ_CHECK(read.MJSFileName.size() < 1024);
    OBRENTA_FUZZ_CHECK(read.extraLogs.size() < static_cast<std::size_t>(kMaxScoreLogs));
    for (const std::string& log : read.extraLogs) {
        OBRENTA_FUZZ_CHECK(!log.empty() && log.size() < 1024);
        OBRENTA_FUZZ_CHECK(log.find('\n') == std::string::npos && log.find('\0') == std::string::npos);
    }

    const std::string written = FormatSettings(read);
    if (!Representable(read)) return 0;

    AppSettings back = Defaults();
    ParseSettings(back, written);
    // Only the first UsableIdCount IDs are written; the rest come back as defaults.
    AppSettings expected = read;
    const AppSettings defaults = Defaults();
    expected.userIdCount = read.UsableIdCount();
    for (int i = expected.userIdCount; i < kMaxUserIds; ++i) {
        expected.userIds[i] = defaults.userIds[i];
        expected.userIdEnabled[i] = defaults.userIdEnabled[i];
    }
    OBRENTA_FUZZ_CHECK(back == expected);
    OBRENTA_FUZZ_CHECK(FormatSettings(back) == written);

    // The file on disk has CR LF line ends on some platforms; they read the same.
    std::string crlf;
    for (char c : written) {
        if (c == '\n') crlf.push_back('\r');
        crlf.push_back(c);
    }
    AppSettings fromCrlf = Defaults();
    ParseSettings(fromCrlf, crlf);
    OBRENTA_FUZZ_CHECK(fromCrlf == back);
    return 0;
}
