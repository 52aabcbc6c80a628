#include "scorelog/GameBlockParser.h"

#include <array>
#include <bit>
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
    "  ---- \x8e\x8e\x8d\x87\x8c\x8b\x89\xca ----\n";                         // "  ---- 試合結果 ----\n"
constexpr std::string_view kFuWord = "\x95\x84";                              // 符
constexpr std::string_view kRonWord = "\x83\x8d\x83\x93";                     // ロン
constexpr std::string_view kTsumoWord = "\x83\x63\x83\x82";                   // ツモ
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
     HandKind::NineTerminals},                                                 // 九種公九牌倒牌
    {"    \x8e\x6c\x89\xc6\x83\x8a\x81\x5b\x83\x60\n", HandKind::FourRiichi},  // 四家リーチ
}};

// A byte-wise substring search (strstr on the code page 932 bytes). The texts searched are
// short, so a plain loop beats the library's vectorised search and its call.
inline bool Contains(std::string_view text, std::string_view word) {
    if (word.size() > text.size()) return false;
    const char first = word[0];
    const char* last = text.data() + (text.size() - word.size());
    const char* p = text.data();
    if constexpr (std::endian::native == std::endian::little) {
        // Eight bytes at a time up to the next byte equal to the word's first.
        constexpr std::uint64_t kOnes = 0x0101010101010101ull;
        const std::uint64_t pattern = kOnes * static_cast<unsigned char>(first);
        const char* end = text.data() + text.size();
        while (end - p >= 8) {
            const std::uint64_t x = Load8(p) ^ pattern;
            const std::uint64_t mask = (x - kOnes) & ~x & (kOnes * 0x80);
            if (mask == 0) {
                p += 8;
                continue;
            }
            p += std::countr_zero(mask) >> 3;
            if (p > last) return false;
            if (std::memcmp(p + 1, word.data() + 1, word.size() - 1) == 0) return true;
            ++p;
        }
    }
    for (; p <= last; ++p) {
        if (*p != first) continue;
        std::size_t k = 1;
        while (k < word.size() && p[k] == word[k]) ++k;
        if (k == word.size()) return true;
    }
    return false;
}

// Whether line is the result header. Hand lines are often as long, so their first eight bytes
// settle it before any call.
inline bool IsResultHeader(std::string_view line) {
    static_assert(kResultHeader.size() >= 8);
    return line.size() == kResultHeader.size() && Load8(line.data()) == Load8(kResultHeader.data()) &&
           std::memcmp(line.data() + 8, kResultHeader.data() + 8, kResultHeader.size() - 8) == 0;
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
        auto isDelimiter = [newlineSplits](char c) { return c == ' ' || (newlineSplits && c == '\n'); };
        while (p_ != end_ && isDelimiter(*p_)) ++p_;
        if (p_ == end_) return false;
        const char* start = p_;
        p_ = FindLowStop(p_ + 1, end_, isDelimiter);
        token = std::string_view(start, p_ - start);
        if (p_ != end_) ++p_;
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
    std::array<ShortText, 4> texts{};  // left matching nothing for a name too long to hold
    std::array<NameId, 4> ids{};
    int count = 0;
    bool anyLong = false;

    void Add(std::string_view view, NameId id) {
        views[count] = view;
        anyLong |= !texts[count].Set(view);
        ids[count] = id;
        ++count;
    }
};

NameId InternName(NamePool& pool, std::string_view name, const KnownNames* known) {
    name = CutName(name);
    if (known != nullptr) {
        ShortText text;
        if (text.Set(name)) {
            // Every seat is compared, the first match kept; unused seats hold no text.
            int seat = -1;
            for (int k = 3; k >= 0; --k) seat = known->texts[k] == text ? k : seat;
            if (seat >= 0) return known->ids[seat];
        } else if (known->anyLong) {
            for (int k = 0; k < known->count; ++k) {
                if (SameBytes(known->views[k], name)) return known->ids[k];
            }
        }
    }
    return pool.Intern(name);
}

// The start or end time of a game from a header or end line.
bool ReadLineTime(std::string_view line, LocalTimeCache& times, std::int64_t& seconds) {
    if (line.size() < kDateTimeOffset) return false;
    std::array<std::int32_t, 5> f{};
    if (ScanDateTime(line.substr(line.size() - kDateTimeOffset), f) != 5) return false;
    seconds = times.ToSeconds(f[0], f[1], f[2], f[3], f[4]);
    return true;
}

// What the outcome token of a result line says: ron or tsumo, and the han class.
struct KeyClass {
    bool ron = false;
    bool tsumo = false;
    HanClass hanClass = HanClass::None;
};

KeyClass ClassifyKey(std::string_view key) {
    KeyClass result;
    result.ron = Contains(key, kRonWord);
    result.tsumo = !result.ron && Contains(key, kTsumoWord);
    // Every han word holds 飜 or 満; a key token with neither has no class.
    if ((result.ron || result.tsumo) && (Contains(key, "\xe3\xca") || Contains(key, "\x96\x9e"))) {
        for (const HanWord& han : kHanWords) {
            if (Contains(key, han.word)) {
                result.hanClass = han.hanClass;
                break;
            }
        }
    }
    return result;
}

// The answers of ClassifyKey for the outcome tokens met lately: a log spells them in a few dozen
// ways. It holds the token bytes exactly, so it serves any log and any pool.
class KeyClassMemo {
public:
    KeyClass Classify(std::string_view key) {
        ShortText text;
        if (!text.Set(key)) return ClassifyKey(key);
        Entry& entry = entries_[text.Slot(kBits)];
        if (!(entry.text == text)) {
            entry.text = text;
            entry.keyClass = ClassifyKey(key);
        }
        return entry.keyClass;
    }

private:
    static constexpr int kBits = 8;
    struct Entry {
        ShortText text;
        KeyClass keyClass;
    };
    std::array<Entry, std::size_t{1} << kBits> entries_{};
};

// Adds the hand of the two lines to the game being built in arena; game (when given) holds the
// seats its entries belong to.
void ParseHandLines(HandArena& arena, std::string_view firstLine, std::string_view resultLine, NamePool& pool,
                    const KnownNames* known, KeyClassMemo& keys, const GameRecord* game) {
    HandRecord& hand = arena.AddHand();
    EntryScan entries = ScanEntries(firstLine, 2);
    if (entries.fields / 2 == 0) entries = ScanEntries(firstLine, 1);
    hand.entryCount = entries.fields / 2;
    for (int k = 0; k < hand.entryCount; ++k) {
        hand.entryNames[k] = InternName(pool, entries.names[k], known);
        hand.entryDeltas[k] = entries.deltas[k];
    }
    if (game != nullptr) game->FindEntrySeats(hand);

    // Only the space byte separates the tokens that decide the outcome; a token at the end of
    // the line keeps its newline.
    Tokenizer tokens(resultLine);
    std::string_view first;
    if (!tokens.Next(false, first)) return;
    std::string_view key = first;
    if (Contains(first, kFuWord) && !tokens.Next(false, key)) return;

    const KeyClass keyClass = keys.Classify(key);
    if (keyClass.ron || keyClass.tsumo) {
        hand.kind = keyClass.ron ? HandKind::Ron : HandKind::Tsumo;
        hand.hanClass = keyClass.hanClass;
        std::string_view yaku;
        while (tokens.Next(true, yaku)) arena.AddYaku(pool.Intern(yaku));
        return;
    }

    // Splitting cut the line after its first token, so a draw line matches only when nothing
    // but the newline follows the draw word.
    const std::string_view head = resultLine.substr(0, first.data() + first.size() - resultLine.data());
    for (const DrawLine& draw : kDrawLines) {
        if (head == draw.line) {
            hand.kind = draw.kind;
            return;
        }
    }
    if (Contains(head, kChomboWord)) hand.kind = HandKind::Chombo;
}

// Shared by every read on a thread: the outcome tokens are spelt alike in every log.
thread_local KeyClassMemo tKeyClasses;

}  // namespace

std::shared_ptr<const HandRecord> ParseHand(std::string_view firstLine, std::string_view resultLine,
                                            NamePool& pool) {
    HandArena arena(0);
    ParseHandLines(arena, firstLine, resultLine, pool, nullptr, tKeyClasses, nullptr);
    const std::shared_ptr<const HandList> list = arena.EndGame();
    return std::shared_ptr<const HandRecord>(list, list->data());
}

bool ParseGameBlock(GameRecord& record, std::span<const std::string_view> lines, NamePool& pool,
                    LocalTimeCache& times, HandArena& arena) {
    arena.BeginGame();
    NamePoolPtr names = std::move(record.names);
    record = GameRecord{};
    record.names = std::move(names);

    // Every block that is accepted has a header, a seat line and the result header at least;
    // shorter blocks are turned down before any line past their end is looked at.
    const auto n = static_cast<std::ptrdiff_t>(lines.size());
    if (n < 3) return false;

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
    if (!ReadLineTime(header, times, record.startTime)) return false;

    const SeatLineScan seatScan = ScanSeatLine(lines[1]);
    record.playerCount = seatScan.fields == 6 ? 3 : 4;
    for (int k = 0; k < record.playerCount; ++k) {
        if (seatScan.fields > 2 * k) record.seats[k].name = pool.Intern(CutName(seatScan.names[k]));
        if (seatScan.fields > 2 * k + 1) record.seats[k].rating = RatingFromToken(seatScan.ratings[k]);
    }
    if (ScanStartPoints(lines[1], record.startPoints) != 1) record.startPoints = 0;

    KeyClassMemo& keys = tKeyClasses;
    KnownNames known;
    for (int k = 0; k < record.playerCount; ++k)
        known.Add(pool.View(record.seats[k].name), record.seats[k].name);

    std::ptrdiff_t i = 2;
    while (!IsResultHeader(lines[i])) {
        // A hand needs its two lines and one more line inside the block.
        if (i > n - 3) return false;
        ParseHandLines(arena, lines[i], lines[i + 1], pool, &known, keys, &record);
        i += 2;
        // Lines between hands that are neither a hand nor the result header are skipped.
        while (!IsResultHeader(lines[i]) && !Contains(lines[i], kHandWord)) {
            if (++i > n - 3) return false;
        }
    }
    std::array<bool, 4> placed{};
    for (int r = 0; r < record.playerCount; ++r) {
        if (++i >= n) return false;
        std::int32_t rank = 0;
        std::int32_t points = 0;
        std::string_view name;
        if (ScanResultLine(lines[i], rank, name, points) < 3) return false;
        if (rank < 1 || rank > 4) return false;
        name = CutName(name);
        int seat = -1;
        for (int k = 0; k < record.playerCount; ++k) {
            if (pool.View(record.seats[k].name) == name) {
                seat = k;
                break;
            }
        }
        // A seat named twice would leave another seat without its placing.
        if (seat < 0 || placed[seat]) return false;
        placed[seat] = true;
        record.seats[seat].rank = rank;
        record.seats[seat].points = points;
    }
    if (++i >= n) return false;
    if (!ReadLineTime(lines[i], times, record.endTime)) return false;

    for (int k = 0; k < record.playerCount; ++k) {
        std::int32_t higher = 0;
        for (int l = 0; l < record.playerCount; ++l) {
            if (l != k && record.seats[l].rating > record.seats[k].rating) ++higher;
        }
        record.seats[k].ratingRank = 1 + higher;
    }
    record.handCount = static_cast<std::int32_t>(arena.HandCount());
    record.hands = arena.EndGame();
    return true;
}

bool ParseGameBlock(GameRecord& record, std::span<const std::string_view> lines, NamePool& pool,
                    LocalTimeCache& times) {
    HandArena arena(0);
    return ParseGameBlock(record, lines, pool, times, arena);
}

bool ParseGameBlock(GameRecord& record, std::span<const std::string_view> lines, NamePool& pool) {
    LocalTimeCache times;
    return ParseGameBlock(record, lines, pool, times);
}

bool ParseGameBlock(GameRecord& record, std::span<const std::string_view> lines) {
    if (!record.names) record.names = std::make_shared<NamePool>();
    NamePoolPtr pool = record.names;
    return ParseGameBlock(record, lines, *pool);
}

}  // namespace obrenta::scorelog
