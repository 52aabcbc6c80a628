#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "scorelog/GameRecord.h"

namespace obrenta::fuzz {

// A broken invariant is a finding: say which, then abort so that libFuzzer keeps the input.
#define OBRENTA_FUZZ_CHECK(condition)                                                              \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// Cuts bytes after every LF, keeping the LF; a last piece without one is kept too. Unlike the
// reader there is no piece length and no NUL cut: the parsers must stand any line they are given.
inline std::vector<std::string_view> SplitRawLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const std::size_t newline = bytes.find('\n');
        const std::size_t length = newline == std::string_view::npos ? bytes.size() : newline + 1;
        lines.push_back(bytes.substr(0, length));
        bytes.remove_prefix(length);
    }
    return lines;
}

// Well-formed UTF-8 as Unicode defines it: shortest forms only, no surrogates, at most U+10FFFF.
inline bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        int length = 0;
        std::uint32_t code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            code = c & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        for (int k = 1; k < length; ++k) {
            const auto t = static_cast<unsigned char>(text[i + k]);
            if ((t & 0xC0) != 0x80) return false;
            code = code << 6 | (t & 0x3F);
        }
        if ((length == 3 && code < 0x800) || (length == 4 && code < 0x10000) || code > 0x10FFFF ||
            (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

inline bool IsValidName(const scorelog::GameRecord& game, scorelog::NameId id) {
    return id < game.names->Size() && game.Name(id).size() <= scorelog::kMaxNameBytes;
}

inline void CheckHand(const scorelog::GameRecord& game, const scorelog::HandRecord& hand) {
    using scorelog::HanClass;
    OBRENTA_FUZZ_CHECK(hand.entryCount >= 0 && hand.entryCount <= 4);
    for (int k = 0; k < hand.entryCount; ++k) {
        OBRENTA_FUZZ_CHECK(IsValidName(game, hand.entryNames[k]));
        OBRENTA_FUZZ_CHECK(!game.Name(hand.entryNames[k]).empty());
    }
    const int kind = static_cast<int>(hand.kind);
    const int han = static_cast<int>(hand.hanClass);
    OBRENTA_FUZZ_CHECK(kind >= 0 && kind < scorelog::kHandKindCount);
    OBRENTA_FUZZ_CHECK(han >= 0 && han < scorelog::kHanClassCount);
    if (!hand.IsWin()) {
        OBRENTA_FUZZ_CHECK(hand.yaku.empty());
        OBRENTA_FUZZ_CHECK(hand.hanClass == HanClass::None);
    }
    for (scorelog::NameId yaku : hand.yaku) {
        OBRENTA_FUZZ_CHECK(yaku < game.names->Size());
        const std::string_view name = game.Name(yaku);
        OBRENTA_FUZZ_CHECK(!name.empty());
        OBRENTA_FUZZ_CHECK(name.find_first_of(" \n") == std::string_view::npos);
    }
}

// What every accepted game holds, however odd its lines were.
inline void CheckGame(const scorelog::GameRecord& game) {
    OBRENTA_FUZZ_CHECK(game.names != nullptr);
    OBRENTA_FUZZ_CHECK(game.playerCount == 3 || game.playerCount == 4);
    const int tableKind = static_cast<int>(game.tableKind);
    OBRENTA_FUZZ_CHECK(tableKind >= 1 && tableKind <= 4);
    for (int k = 0; k < game.playerCount; ++k) {
        const scorelog::SeatResult& seat = game.seats[k];
        OBRENTA_FUZZ_CHECK(IsValidName(game, seat.name));
        // Every seat was named by a result line, and those names are never empty.
        OBRENTA_FUZZ_CHECK(!game.Name(seat.name).empty());
        OBRENTA_FUZZ_CHECK(seat.rank >= 1 && seat.rank <= 4);
        OBRENTA_FUZZ_CHECK(seat.ratingRank >= 1 && seat.ratingRank <= game.playerCount);
        OBRENTA_FUZZ_CHECK(game.FindSeatByName(seat.name) >= 0);
    }
    OBRENTA_FUZZ_CHECK(game.handCount == static_cast<std::int32_t>(game.Hands().size()));
    for (const scorelog::HandRecord& hand : game.Hands()) CheckHand(game, hand);
}

// Two games hold the same values; their names may live in different pools.
inline bool SameGame(const scorelog::GameRecord& a, const scorelog::GameRecord& b) {
    if (a.playerCount != b.playerCount || a.eastSouth != b.eastSouth || a.tableKind != b.tableKind ||
        a.handCount != b.handCount || a.startPoints != b.startPoints || a.startTime != b.startTime ||
        a.endTime != b.endTime) {
        return false;
    }
    for (int k = 0; k < a.playerCount; ++k) {
        const scorelog::SeatResult& sa = a.seats[k];
        const scorelog::SeatResult& sb = b.seats[k];
        if (a.Name(sa.name) != b.Name(sb.name) || sa.rating != sb.rating || sa.points != sb.points ||
            sa.rank != sb.rank || sa.ratingRank != sb.ratingRank) {
            return false;
        }
    }
    const scorelog::HandList& ha = a.Hands();
    const scorelog::HandList& hb = b.Hands();
    if (ha.size() != hb.size()) return false;
    for (std::size_t h = 0; h < ha.size(); ++h) {
        const scorelog::HandRecord& x = ha[h];
        const scorelog::HandRecord& y = hb[h];
        if (x.entryCount != y.entryCount || x.kind != y.kind || x.yaku.size() != y.yaku.size()) {
            return false;
        }
        if (x.IsWin() && x.hanClass != y.hanClass) return false;
        for (int k = 0; k < x.entryCount; ++k) {
            if (a.Name(x.entryNames[k]) != b.Name(y.entryNames[k]) || x.entryDeltas[k] != y.entryDeltas[k]) {
                return false;
            }
        }
        for (std::size_t i = 0; i < x.yaku.size(); ++i) {
            if (a.Name(x.yaku[i]) != b.Name(y.yaku[i])) return false;
        }
    }
    return true;
}

inline bool SameGames(const std::vector<scorelog::GameRecord>& a,
                      const std::vector<scorelog::GameRecord>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!SameGame(a[i], b[i])) return false;
    }
    return true;
}

}  // namespace obrenta::fuzz
