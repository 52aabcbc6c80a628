#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace obrenta::tools {

struct GeneratorOptions {
    std::uint64_t seed = 1;
    // Number of games to write; ignored when sizeBytes is above 0.
    std::int64_t games = 300;
    // Above 0: write games until the output holds at least this many bytes.
    std::int64_t sizeBytes = 0;
    // Share of the games played by three players.
    double threePlayerShare = 0.2;
    // Share of the games in which the player does not sit (other people's games in the log).
    double othersShare = 0.03;
    // The player's ID as code page 932 bytes; empty means the built-in default.
    std::string player;
    bool crlf = true;
    int firstYear = 2019;
};

// A seeded, platform-independent pseudo-random source (splitmix64), so that a seed gives the
// same log on every machine; the standard distributions may differ between libraries.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next();
    // Uniform in [0, n); n > 0.
    int Below(int n);
    // Uniform in [lo, hi].
    int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
    // Uniform in [0, 1).
    double Unit();
    bool Chance(double p) { return Unit() < p; }
    // Roughly normal with mean 0 and deviation 1 (sum of four uniforms, scaled).
    double Bell();
    // Index picked with probability proportional to weights[i].
    int Pick(const std::vector<double>& weights);

private:
    std::uint64_t state_;
};

// Writes a deterministic score log game by game.
class LogGenerator {
public:
    explicit LogGenerator(const GeneratorOptions& options);
    ~LogGenerator();
    LogGenerator(const LogGenerator&) = delete;
    LogGenerator& operator=(const LogGenerator&) = delete;

    // Appends the next game's lines to out.
    void WriteGame(std::string& out);
    std::int64_t gamesWritten() const { return gamesWritten_; }
    const std::string& player() const;

private:
    struct State;
    std::unique_ptr<State> state_;
    std::int64_t gamesWritten_ = 0;
};

// The whole log that options describe, as one string.
std::string GenerateLog(const GeneratorOptions& options);
// Writes the log to file; returns the number of games, or -1 when writing failed.
std::int64_t WriteLog(const GeneratorOptions& options, std::FILE* file);

// UTF-8 to code page 932; false when the text holds a character code page 932 lacks.
bool Utf8ToCp932(std::string_view utf8, std::string& cp932);

}  // namespace obrenta::tools
