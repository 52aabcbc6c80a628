// ScoreLog::ParseBuffer on arbitrary bytes. Besides the invariants of every game: CR LF line
// ends read as LF ends do, a log that grows by whole blocks keeps its earlier games, and neither
// the blocks nor the games depend on how many bytes each read of the file delivers or on where
// the log is split among threads.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "scorelog/ScoreLog.h"

namespace {

using obrenta::scorelog::ScoreLog;

bool ContainsSeparator(std::string_view line) {
    return line.find("=====") != std::string_view::npos;
}

// The offset of the last line that the reader will surely take as a separator (its first piece
// holds "=====" and no NUL comes before it), or npos.
std::size_t LastSeparatorLine(std::string_view bytes) {
    std::size_t start = bytes.size();
    while (start > 0) {
        const std::size_t previous = bytes.rfind('\n', start - 1);
        if (previous == std::string_view::npos) break;
        const std::size_t lineStart = previous + 1;
        if (lineStart < bytes.size()) {
            std::string_view line = bytes.substr(lineStart, obrenta::scorelog::kMaxLinePieceBytes);
            line = line.substr(0, line.find('\n'));
            line = line.substr(0, line.find('\0'));
            if (ContainsSeparator(line)) return lineStart;
        }
        start = previous;
    }
    return std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    ScoreLog log;
    log.ParseBuffer(bytes);
    for (const auto& game : log.games()) obrenta::fuzz::CheckGame(game);

    // The reader takes a file in large chunks, so fuzz inputs would never cross one: small
    // chunks put lines, CR LF pairs and pieces across the boundaries.
    if (size > 0) {
        const std::size_t chunk = 1 + (static_cast<std::size_t>(data[0]) * 7 + size) % 600;
        OBRENTA_FUZZ_CHECK(obrenta::scorelog::SplitLogBlocks(bytes, chunk) ==
                           obrenta::scorelog::SplitLogBlocks(bytes));

        // Splits aimed anywhere, the chunk size apart, one to three of them.
        std::vector<std::uint64_t> targets;
        for (std::size_t at = chunk / 2; at < size && targets.size() < 1 + data[0] % 3u; at += chunk) {
            targets.push_back(at);
        }
        ScoreLog one;
        ScoreLog split;
        one.ParseBuffer(bytes, {});
        split.ParseBuffer(bytes, targets);
        OBRENTA_FUZZ_CHECK(obrenta::fuzz::SameGames(one.games(), split.games()));
        OBRENTA_FUZZ_CHECK(obrenta::fuzz::SameGames(one.games(), log.games()));
        if (!one.games().empty()) {
            OBRENTA_FUZZ_CHECK(one.games()[0].names->Size() == split.games()[0].names->Size());
        }
    }

    if (bytes.find('\r') == std::string_view::npos) {
        std::string crlf;
        crlf.reserve(size + size / 8);
        for (char c : bytes) {
            if (c == '\n') crlf.push_back('\r');
            crlf.push_back(c);
        }
        ScoreLog other;
        other.ParseBuffer(crlf);
        OBRENTA_FUZZ_CHECK(obrenta::fuzz::SameGames(log.games(), other.games()));
    }

    // Everything before a separator line ends with a whole line, so the games of the two parts
    // read alone are the games of the whole.
    if (const std::size_t split = LastSeparatorLine(bytes); split != std::string_view::npos) {
        ScoreLog head;
        ScoreLog tail;
        head.ParseBuffer(bytes.substr(0, split));
        tail.ParseBuffer(bytes.substr(split));
        std::vector<obrenta::scorelog::GameRecord> joined = head.games();
        joined.insert(joined.end(), tail.games().begin(), tail.games().end());
        OBRENTA_FUZZ_CHECK(obrenta::fuzz::SameGames(log.games(), joined));
    }
    return 0;
}
