#include "scorelog/HandLabels.h"

#include <cstdio>

#include "base/LocalTime.h"
#include "base/RegularFile.h"
#include "scorelog/LineScanner.h"

namespace obrenta::scorelog {

namespace {

constexpr std::string_view kStartWord = "\x8a\x4a\x8e\x6e ";                                // "開始 "
constexpr std::string_view kHandWord = "\x8b\xc7";                                          // 局
constexpr std::string_view kResultHeader = "  ---- \x8e\x8e\x8d\x87\x8c\x8b\x89\xca ----";  // 試合結果
constexpr std::string_view kHeaderStart = "=====";
constexpr std::size_t kChunkBytes = std::size_t{1} << 20;
// A block is a few kilobytes; this much after a header always holds the whole of it.
constexpr std::size_t kBlockRoom = std::size_t{256} << 10;

std::string_view TrimNewline(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

// The lines of the block whose header starts at begin, up to the next header or end.
std::vector<std::string_view> BlockLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end = bytes.find('\n', at);
        end = end == std::string_view::npos ? bytes.size() : end + 1;
        const std::string_view line = bytes.substr(at, end - at);
        if (!lines.empty() && line.starts_with(kHeaderStart)) break;
        lines.push_back(TrimNewline(line));
        at = end;
    }
    return lines;
}

// The labels of the block's hands when the block is game's, walking its hands as the parser
// does; nothing otherwise.
std::optional<std::vector<std::string>> LabelsIfSame(const std::vector<std::string_view>& lines,
                                                     const GameRecord& game) {
    if (lines.size() < 3) return std::nullopt;
    const SeatLineScan seats = ScanSeatLine(lines[1]);
    for (int k = 0; k < game.playerCount; ++k) {
        if (seats.fields <= 2 * k || seats.names[k].substr(0, kMaxNameBytes) != game.SeatName(k))
            return std::nullopt;
    }
    const HandList& hands = game.Hands();
    std::vector<std::string> labels;
    std::size_t i = 2;
    while (lines[i] != kResultHeader) {
        if (i + 2 >= lines.size() || labels.size() >= hands.size()) return std::nullopt;
        const HandRecord& hand = hands[labels.size()];
        EntryScan entries = ScanEntries(lines[i], 2);
        if (entries.fields / 2 == 0) entries = ScanEntries(lines[i], 1);
        if (entries.fields / 2 != hand.entryCount) return std::nullopt;
        for (int k = 0; k < hand.entryCount; ++k) {
            if (entries.deltas[k] != hand.entryDeltas[k]) return std::nullopt;
        }
        labels.push_back(HandLabelOf(lines[i]));
        i += 2;
        while (lines[i] != kResultHeader && lines[i].find(kHandWord) == std::string_view::npos) {
            if (++i + 2 >= lines.size()) return std::nullopt;
        }
    }
    if (labels.size() != hands.size()) return std::nullopt;
    return labels;
}

}  // namespace

std::string HandLabelOf(std::string_view firstLine) {
    firstLine = TrimNewline(firstLine);
    // The words in front of the first entry the parser reads; a line with no entry is all label.
    int words = 2;
    if (ScanEntries(firstLine, 2).fields / 2 == 0) words = ScanEntries(firstLine, 1).fields / 2 == 0 ? 64 : 1;
    LineScanner scan(firstLine);
    std::string label;
    std::string_view word;
    for (int w = 0; w < words && scan.Token(word); ++w) {
        if (!label.empty()) label += ' ';
        label += word;
    }
    return label;
}

std::optional<std::vector<std::string>> ReadHandLabels(const std::string& path, const GameRecord& game) {
    const std::optional<std::tm> start = base::SecondsToLocal(game.startTime);
    if (!start) return std::nullopt;
    char time[64];
    std::snprintf(time, sizeof time, "%04d/%02d/%02d %02d:%02d", start->tm_year + 1900, start->tm_mon + 1,
                  start->tm_mday, start->tm_hour, start->tm_min);
    const std::string needle = std::string(kStartWord) + time;

    base::RegularFile file(path);
    if (!file.ok()) return std::nullopt;
    std::string buffer;
    std::size_t searchFrom = 0;
    bool atEnd = false;
    auto readMore = [&] {
        const std::size_t had = buffer.size();
        buffer.resize(had + kChunkBytes);
        const std::ptrdiff_t got = file.Read(buffer.data() + had, kChunkBytes);
        buffer.resize(had + static_cast<std::size_t>(got > 0 ? got : 0));
        atEnd = got <= 0;
    };
    while (true) {
        const std::size_t found = buffer.find(needle, searchFrom);
        if (found == std::string::npos) {
            if (atEnd) return std::nullopt;
            // Keep the bytes a match could still start in.
            const std::size_t keep = std::min(buffer.size(), needle.size());
            buffer.erase(0, buffer.size() - keep);
            searchFrom = 0;
            readMore();
            continue;
        }
        while (!atEnd && buffer.size() - found < kBlockRoom) readMore();
        const std::size_t lineStart = buffer.rfind('\n', found);
        const std::size_t begin = lineStart == std::string::npos ? 0 : lineStart + 1;
        if (auto labels = LabelsIfSame(BlockLines(std::string_view(buffer).substr(begin)), game))
            return labels;
        searchFrom = found + 1;
    }
}

}  // namespace obrenta::scorelog
