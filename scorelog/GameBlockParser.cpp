#include "scorelog/GameBlockParser.h"

#include <array>
#include <cstring>

#include "scorelog/Bytes.h"
#include "scorelog/LineScanner.h"

namespace obrenta::scorelog {

namespace {

// Code page 932 bytes of the words the parsers look for.
constexpr std::string_view kEastSouth = "\x93\x8c\x93\xec";                        // 東南
constexpr std::string_view kSuperAdvanced = "\x92\xb4\x8f\xe3\x8b\x89";            // 超上級
constexpr std::string_view kAdvanced = "\x8f\xe3\x8b\x89";                         // 上級
constexpr std::string_view kRanking = "\x83\x89\x83\x93\x83\x4c\x83\x93\x83\x4f";  // ランキング
constexpr std::string_view kHandWord = "\x8b\xc7";                                 // 局
constexpr std::string_view kResultHeader =
    "  ---- \x8e\x8e\x8d\x87\x8c\x8b\x89\xca ----\n";        // "  ---- 試合結果 ----\n"
constexpr std::string_view kFuWord = "\x95\x84";             // 符
constexpr std::string_view kRonWord = "\x83\x8d\x83\x93";    // ロン
constexpr std::string_view kTsumoWord = "\x83\x63\x83\x82";  // ツモ
constexpr std::string_view kChomboWord = "\x83\x60\x83\x87\x83\x93\x83\x7b";  // チョンボ

// The date-time of a header or end line starts this many bytes before the end of the line.
constexpr std::size_t kDateTimeOffset = 23;

struct HanWord {
    std::string_view word;
    HanClass hanClass;
};
// "３倍満" must be tried before "倍満", which it contains, and "満貫" last.
constexpr std::array<HanWord, 9> kHanWords = {{
    {"\x88\xea\xe3\xca", HanClass::Han1},               // 一飜
    {"\x93\xf1\xe3\xca", HanClass::Han2},               // 二飜
    {"\x8e\x4f\xe3\xca", HanClass::Han3},               // 三飜
    {"\x8e\x6c\xe3\xca", HanClass::Han4},               // 四飜
    {"\x82\x52\x94\x7b\x96\x9e", HanClass::Sanbaiman},  // ３倍満
    {"\x94\x7b\x96\x9e", HanClass::Baiman},             // 倍満
    {"\x83\x6e\x83\x6c\x96\x9e", HanClass::Haneman},    // ハネ満
    {"\x96\xf0\x96\x9e", HanClass::Yakuman},            // 役満
    {"\x96\x9e\x8a\xd1", HanClass::Mangan},             // 満貫
}};

struct DrawLine {
    std::string_view line;
    HandKind kind;
};
constexpr std::array<DrawLine, 7> kDrawLines = {{
    {"    \x97\xac\x8b\xc7\n", HandKind::ExhaustiveDraw},                 // 流局
    {"    \x97\xac\x82\xb5\x96\x9e\x8a\xd1\n", HandKind::NagashiMangan},  // 流し満貫
    {"    \x8e\x6c\x95\x97\x98\x41\x91\xc5\n", HandKind::FourWinds},      // 四風連打
    {"    \x8e\x4f\x89\xc6\x98\x61\n", HandKind::TripleRon},              // 三家和
    {"    \x8e\x6c\x8a\x4a\x9e\xc8\n", HandKind::FourKans},               // 四開槓
    {"    \x8b\xe3\x8e\xed\x8c\xf6\x8b\xe3\x94\x76\x93\x7c\x94\x76\n",
     HandKind::NineTerminals},  // 九種公九牌倒牌
    {"    \x8e\x6c\x89\xc6\x83\x8a\x81\x5b\x83\x60\n", HandKind::FourRiichi},  // 四家リーチ
}};

// A byte-wise substring search (strstr on the code page 932 bytes). The texts searched are
// short, so a plain loop beats the library's vectorised search and its call.
inline bool Contains(std::string_view text, std::string_view word) {
    if (word.size() > text.size())
        return false;
    const char first = word[0];
    const char* last = text.data() + (text.size() - word.size());
    for (const char* p = text.data(); p <= last; ++p) {
        if (*p != first)
            continue;
        std::size_t k = 1;
        while (k < word.size() && p[k] == word[k])
            ++k;
        if (k == word.size())
            return true;
    }
    return false;
}

std::string_view CutName(std::string_view name) {
    return name.substr(0, kMaxNameBytes);
}

// strtok over one line: each call skips the delimiters (the space, and the newline when asked
// for), then returns the run up to the next delimiter, which is consumed with it.
class Tokenizer {
public:
    explicit Tokenizer(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

    bool Next(bool newlineSplits, std::string_view& token) {
        auto isDelimiter = [newlineSplits](char c) {
            return c == ' ' || (newlineSplits && c == '\n');
        };
        while (p_ != end_ && isDelimiter(*p_))
            ++p_;
        if (p_ == end_)
            return false;
        const char* start = p_;
        while (p_ != end_ && !isDelimiter(*p_))
            ++p_;
        token = std::string_view(start, p_ - start);
        if (p_ != end_)
            ++p_;
        return true;
    }

private:
    const char* p_;
    const char* end_;
};

// The seat names of the game being parsed: hand entries nearly always name one of them, which
// is cheaper to find here than in the pool.
struct KnownNames {
    std::array<std::string_view, 4> views{};
    std::array<NameId, 4> ids{};
    int count = 0;
};

NameId InternName(NamePool& pool, std::string_view name, const KnownNames* known) {
    name = CutName(name);
    if (known != nullptr) {
        for (int k = 0; k < known->count; ++k) {
            if (SameBytes(known->views[k], name))
                return known->ids[k];
        }
    }
    return pool.Intern(name);
}

// The start or end time of a game from a header or end line.
bool ReadLineTime(std::string_view line, LocalTimeCache& times, std::int64_t& seconds) {
    if (line.size() < kDateTimeOffset)
        return false;
    std::array<std::int32_t, 5> f{};
    if (ScanDateTime(line.substr(line.size() - kDateTimeOffset), f) != 5)
        return false;
    seconds = times.ToSeconds(f[0], f[1], f[2], f[3], f[4]);
    return true;
}

HandRecord ParseHandLines(std::string_view firstLine, std::string_view resultLine, NamePool& pool,
                          const KnownNames* known) {
    HandRecord hand;

    EntryScan entries = ScanEntries(firstLine, 2);
    if (entries.fields / 2 == 0)
        entries = ScanEntries(firstLine, 1);
    hand.entryCount = entries.fields / 2;
    for (int k = 0; k < hand.entryCount; ++k) {
        hand.entryNames[k] = InternName(pool, entries.names[k], known);
        hand.entryDeltas[k] = entries.deltas[k];
    }

    // Only the space byte separates the tokens that decide the outcome; a token at the end of
    // the line keeps its newline.
    Tokenizer tokens(resultLine);
    std::string_view first;
    if (!tokens.Next(false, first))
        return hand;
    std::string_view key = first;
    if (Contains(first, kFuWord) && !tokens.Next(false, key))
        return hand;

    const bool ron = Contains(key, kRonWord);
    if (ron || Contains(key, kTsumoWord)) {
        hand.kind = ron ? HandKind::Ron : HandKind::Tsumo;
        // Every han word holds 飜 or 満; a key token with neither has no class.
        if (Contains(key, "\xe3\xca") || Contains(key, "\x96\x9e")) {
            for (const HanWord& han : kHanWords) {
                if (Contains(key, han.word)) {
                    hand.hanClass = han.hanClass;
                    break;
                }
            }
        }
        std::array<NameId, 32> found;
        std::size_t count = 0;
        std::string_view yaku;
        while (tokens.Next(true, yaku)) {
            if (count == found.size()) {
                hand.yaku.insert(hand.yaku.end(), found.begin(), found.end());
                count = 0;
            }
            found[count++] = pool.Intern(yaku);
        }
        hand.yaku.insert(hand.yaku.end(), found.begin(), found.begin() + count);
        return hand;
    }

    // Splitting cut the line after its first token, so a draw line matches only when nothing
    // but the newline follows the draw word.
    const std::string_view head =
        resultLine.substr(0, first.data() + first.size() - resultLine.data());
    for (const DrawLine& draw : kDrawLines) {
        if (head == draw.line) {
            hand.kind = draw.kind;
            return hand;
        }
    }
    if (Contains(head, kChomboWord))
        hand.kind = HandKind::Chombo;
    return hand;
}

}  // namespace

HandRecord ParseHand(std::string_view firstLine, std::string_view resultLine, NamePool& pool) {
    return ParseHandLines(firstLine, resultLine, pool, nullptr);
}

bool ParseGameBlock(GameRecord& record, std::span<const std::string_view> lines, NamePool& pool,
                    LocalTimeCache& times) {
    NamePoolPtr names = std::move(record.names);
    record = GameRecord{};
    record.names = std::move(names);

    // Every block that is accepted has a header, a seat line and the result header at least;
    // shorter blocks are turned down before any line past their end is looked at.
    const auto n = static_cast<std::ptrdiff_t>(lines.size());
    if (n < 3)
        return false;

    const std::string_view header = lines[0];
    record.eastSouth = Contains(header, kEastSouth);
    if (Contains(header, kSuperAdvanced)) {
        record.tableKind = TableKind::SuperAdvanced;
    } else if (Contains(header, kAdvanced)) {
        record.tableKind = TableKind::Advanced;
    } else if (Contains(header, kRanking)) {
        record.tableKind = TableKind::Ranking;
    } else {
        record.tableKind = TableKind::Other;
    }
    if (!ReadLineTime(header, times, record.startTime))
        return false;

    const SeatLineScan seatScan = ScanSeatLine(lines[1]);
    record.playerCount = seatScan.fields == 6 ? 3 : 4;
    for (int k = 0; k < record.playerCount; ++k) {
        if (seatScan.fields > 2 * k)
            record.seats[k].name = pool.Intern(CutName(seatScan.names[k]));
        if (seatScan.fields > 2 * k + 1)
            record.seats[k].rating = RatingFromToken(seatScan.ratings[k]);
    }
    if (ScanStartPoints(lines[1], record.startPoints) != 1)
        record.startPoints = 0;

    KnownNames known;
    known.count = record.playerCount;
    for (int k = 0; k < record.playerCount; ++k) {
        known.ids[k] = record.seats[k].name;
        known.views[k] = pool.View(known.ids[k]);
    }

    HandList hands;
    // Two lines per hand; the header, seat line, result section and end line take the rest.
    hands.reserve(static_cast<std::size_t>(n > 6 ? (n - 6) / 2 : 0));
    std::ptrdiff_t i = 2;
    while (lines[i] != kResultHeader) {
        // A hand needs its two lines and one more line inside the block.
        if (i > n - 3)
            return false;
        hands.push_back(ParseHandLines(lines[i], lines[i + 1], pool, &known));
        i += 2;
        // Lines between hands that are neither a hand nor the result header are skipped.
        while (lines[i] != kResultHeader && !Contains(lines[i], kHandWord)) {
            if (++i > n - 3)
                return false;
        }
    }
    std::array<bool, 4> placed{};
    for (int r = 0; r < record.playerCount; ++r) {
        if (++i >= n)
            return false;
        std::int32_t rank = 0;
        std::int32_t points = 0;
        std::string_view name;
        if (ScanResultLine(lines[i], rank, name, points) < 3)
            return false;
        if (rank < 1 || rank > 4)
            return false;
        name = CutName(name);
        int seat = -1;
        for (int k = 0; k < record.playerCount; ++k) {
            if (pool.View(record.seats[k].name) == name) {
                seat = k;
                break;
            }
        }
        // A seat named twice would leave another seat without its placing.
        if (seat < 0 || placed[seat])
            return false;
        placed[seat] = true;
        record.seats[seat].rank = rank;
        record.seats[seat].points = points;
    }
    if (++i >= n)
        return false;
    if (!ReadLineTime(lines[i], times, record.endTime))
        return false;

    for (int k = 0; k < record.playerCount; ++k) {
        std::int32_t higher = 0;
        for (int l = 0; l < record.playerCount; ++l) {
            if (l != k && record.seats[l].rating > record.seats[k].rating)
                ++higher;
        }
        record.seats[k].ratingRank = 1 + higher;
    }
    record.SetHands(std::move(hands));
    return true;
}

bool ParseGameBlock(GameRecord& record, std::span<const std::string_view> lines, NamePool& pool) {
    LocalTimeCache times;
    return ParseGameBlock(record, lines, pool, times);
}

bool ParseGameBlock(GameRecord& record, std::span<const std::string_view> lines) {
    if (!record.names)
        record.names = std::make_shared<NamePool>();
    NamePoolPtr pool = record.names;
    return ParseGameBlock(record, lines, *pool);
}

}  // namespace obrenta::scorelog
