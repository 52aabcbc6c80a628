#include "scorelog/LineScanner.h"

#include <cstring>

namespace obrenta::scorelog {

namespace {

// Code page 932 bytes of the literal words in the formats.
constexpr std::string_view kStartPointsWord = "\x8e\x9d\x93\x5f";  // 持点
constexpr std::string_view kPlaceWord = "\x88\xca";                // 位

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::int32_t RatingFromToken(std::string_view token) {
    return token.empty() ? 0 : AtoiLike(token.substr(1));
}

SeatLineScan ScanSeatLine(std::string_view line) {
    SeatLineScan scan;
    LineScanner s(line);
    std::string_view skipped;
    if (!s.Token(skipped)) return scan;
    static constexpr std::string_view kTags[4] = {"[1]", "[2]", "[3]", "[4]"};
    for (int k = 0; k < 4; ++k) {
        s.SkipSpace();
        if (!s.Literal(kTags[k]) || !s.Token(scan.names[k])) return scan;
        ++scan.fields;
        if (!s.Token(scan.ratings[k])) return scan;
        ++scan.fields;
    }
    return scan;
}

int ScanStartPoints(std::string_view line, std::int32_t& points) {
    LineScanner s(line);
    s.SkipSpace();
    std::int32_t value;
    if (!s.Literal(kStartPointsWord) || !s.Int(value)) return 0;
    points = value;
    return 1;
}

EntryScan ScanEntries(std::string_view line, int skippedWords) {
    EntryScan scan;
    LineScanner s(line);
    std::string_view skipped;
    for (int w = 0; w < skippedWords; ++w) {
        if (!s.Token(skipped)) return scan;
    }
    for (int k = 0; k < 4; ++k) {
        if (!s.Token(scan.names[k])) return scan;
        ++scan.fields;
        if (!s.Int(scan.deltas[k])) return scan;
        ++scan.fields;
    }
    return scan;
}

int ScanResultLine(std::string_view line, std::int32_t& rank, std::string_view& name, std::int32_t& points) {
    LineScanner s(line);
    if (!s.Int(rank)) return 0;
    if (!s.Literal(kPlaceWord) || !s.Token(name)) return 1;
    if (!s.Int(points)) return 2;
    return 3;
}

int ScanDateTime(std::string_view text, std::array<std::int32_t, 5>& fields) {
    // "yyyy/mm/dd hh:mm" with every digit in place, as the client writes it, reads the same
    // without the general scan.
    static constexpr std::string_view kShape = "0000/00/00 00:00";
    if (text.size() >= kShape.size()) {
        bool plain = true;
        for (std::size_t i = 0; i < kShape.size(); ++i) {
            plain &= kShape[i] == '0' ? IsDigit(text[i]) : text[i] == kShape[i];
        }
        if (plain) {
            auto two = [&](std::size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); };
            fields = {two(0) * 100 + two(2), two(5), two(8), two(11), two(14)};
            return 5;
        }
    }
    LineScanner s(text);
    static constexpr int kWidths[5] = {4, 2, 2, 2, 2};
    static constexpr std::string_view kSeparators[5] = {"", "/", "/", "", ":"};
    for (int k = 0; k < 5; ++k) {
        if (k == 3) s.SkipSpace();
        if (!s.Literal(kSeparators[k]) || !s.Int(fields[k], kWidths[k])) return k;
    }
    return 5;
}

}  // namespace obrenta::scorelog
