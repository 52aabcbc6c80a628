// mjlog-gen: writes a deterministic, realistic score log for tests, samples and benchmarks.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "base/Platform.h"
#include "tools/mjlog-gen/LogGenerator.h"

namespace {

constexpr const char* kUsage =
    "usage: mjlog-gen [--seed N] [--games N | --size-mb M] [--three-player-share F]\n"
    "                 [--others-share F] [--player NAME] [--lf] [--out FILE]\n"
    "\n"
    "Writes a score log in code page 932 with CR LF line ends (LF with --lf) to FILE or to\n"
    "standard output. The same options always give the same bytes.\n"
    "  --seed N                 seed of the game sequence (default 1)\n"
    "  --games N                number of games (default 300)\n"
    "  --size-mb M              write games until the log holds M * 1000000 bytes instead\n"
    "  --three-player-share F   share of three-player games, 0..1 (default 0.2)\n"
    "  --others-share F         share of games without the player, 0..1 (default 0.03)\n"
    "  --player NAME            the player's ID, UTF-8 (default the built-in sample name)\n"
    "  --lf                     end lines with LF alone\n";

// 2^63: a double below it converts to a 64-bit count; one at or above it does not fit.
constexpr double kInt64Bound = 9223372036854775808.0;

bool ParseNumber(const char* text, double& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text, &end);
    return errno == 0 && end != text && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
    obrenta::tools::GeneratorOptions options;
    std::string outPath;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--lf") {
            options.crlf = false;
            continue;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "mjlog-gen: %s needs a value\n%s", argv[i], kUsage);
            return 2;
        }
        const char* value = argv[++i];
        double number = 0;
        const bool isNumber = ParseNumber(value, number);
        if (arg == "--out") {
            outPath = value;
        } else if (arg == "--player") {
            if (!obrenta::tools::Utf8ToCp932(value, options.player) || options.player.empty() ||
                options.player.size() > 63 || options.player.find_first_of(" \t\r\n") != std::string::npos) {
                std::fprintf(stderr,
                             "mjlog-gen: the player ID must be 1 to 63 bytes of code page 932 "
                             "without blanks: %s\n",
                             value);
                return 2;
            }
        } else if (arg == "--seed" && isNumber && number >= 0) {
            options.seed = std::strtoull(value, nullptr, 10);
        } else if (arg == "--games" && isNumber && number >= 0 && number < kInt64Bound) {
            options.games = static_cast<std::int64_t>(number);
        } else if (arg == "--size-mb" && isNumber && number > 0 && number * 1000000.0 < kInt64Bound) {
            options.sizeBytes = static_cast<std::int64_t>(number * 1000000.0);
        } else if (arg == "--three-player-share" && isNumber && number >= 0 && number <= 1) {
            options.threePlayerShare = number;
        } else if (arg == "--others-share" && isNumber && number >= 0 && number <= 1) {
            options.othersShare = number;
        } else {
            std::fprintf(stderr, "mjlog-gen: bad option or value: %s %s\n%s", argv[i - 1], value, kUsage);
            return 2;
        }
    }

    obrenta::base::SetBinaryStandardOutput();
    std::FILE* file = stdout;
    if (!outPath.empty()) {
        file = std::fopen(outPath.c_str(), "wb");
        if (file == nullptr) {
            std::fprintf(stderr, "mjlog-gen: cannot write %s: %s\n", outPath.c_str(),
                         obrenta::base::ErrorText(errno).c_str());
            return 2;
        }
    }
    const std::int64_t games = obrenta::tools::WriteLog(options, file);
    const bool closed = file == stdout || std::fclose(file) == 0;
    if (games < 0 || !closed) {
        std::fprintf(stderr, "mjlog-gen: writing %s failed\n",
                     outPath.empty() ? "standard output" : outPath.c_str());
        return 2;
    }
    return 0;
}
