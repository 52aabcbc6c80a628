#pragma once

#include <string>

namespace obrenta::bench {

// The score log a benchmark works on, and the player whose games it tallies.
struct BenchLog {
    std::string path;
    std::string player;  // code page 932
    long long bytes = 0;
};

// Takes --log=PATH and --player=NAME (UTF-8) out of argv, after the benchmark library has taken
// its own flags. Without --log, a 10 MB log is generated into the temporary directory once.
// Exits with a message when the log can't be had.
void InitBenchLog(int& argc, char** argv);
const BenchLog& TheBenchLog();

}  // namespace obrenta::bench
