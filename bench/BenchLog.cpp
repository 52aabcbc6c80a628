#include "bench/BenchLog.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "tools/mjlog-gen/LogGenerator.h"

namespace obrenta::bench {

namespace {

BenchLog theLog;

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "bench: %s\n", message.c_str());
    std::exit(2);
}

}  // namespace

void InitBenchLog(int& argc, char** argv) {
    std::string playerUtf8;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with("--log=")) {
            theLog.path = arg.substr(6);
        } else if (arg.starts_with("--player=")) {
            playerUtf8 = arg.substr(9);
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;

    tools::GeneratorOptions options;
    if (!playerUtf8.empty() && !tools::Utf8ToCp932(playerUtf8, options.player)) {
        Fail("the player ID has no code page 932 form: " + playerUtf8);
    }
    theLog.player = tools::LogGenerator(options).player();
    if (theLog.path.empty()) {
        theLog.path = (std::filesystem::temp_directory_path() / "obrenta-bench-10mb.txt").string();
        if (!std::filesystem::exists(theLog.path)) {
            options.seed = 1;
            options.sizeBytes = 10000000;
            std::FILE* file = std::fopen(theLog.path.c_str(), "wb");
            const bool written = file != nullptr && tools::WriteLog(options, file) >= 0;
            if (file != nullptr && std::fclose(file) != 0) Fail("cannot write " + theLog.path);
            if (!written) Fail("cannot write " + theLog.path);
        }
    }
    std::error_code error;
    theLog.bytes = static_cast<long long>(std::filesystem::file_size(theLog.path, error));
    if (error) Fail("cannot read " + theLog.path + ": " + error.message());
}

const BenchLog& TheBenchLog() {
    return theLog;
}

}  // namespace obrenta::bench
