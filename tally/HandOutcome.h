#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "scorelog/GameRecord.h"

// What a hand was for each seat of its game: the one place that reads a hand's entries for that.
namespace obrenta::tally {

// One seat in one hand.
struct SeatOutcome {
    bool hasEntry = false;
    bool won = false;
    bool tsumoWin = false;
    bool dealtIn = false;
    bool paidTsumo = false;
    bool tenpai = false;
    bool noten = false;
    std::int32_t change = 0;
};

// A hand for all four seats, each flag a mask with bit k for seat k. An entry belongs to the
// first seat with its name (the reader stores that seat with the entry), and a seat's change is
// that of its last entry.
struct HandOutcome {
    std::array<std::int32_t, 4> change{};  // 0 for a seat without an entry
    std::uint8_t entry = 0;                // seats with an entry
    // The winner of a ツモ or ロン hand: the seat of its first entry (none when that entry names
    // no seat); of those, the ツモ hands.
    std::uint8_t won = 0;
    std::uint8_t tsumoWin = 0;
    // The seat that dealt in: in a ロン hand, of the entries that are the last of their name and
    // do not carry the winner's name, the one with the most negative change (below 0; the first
    // such entry on a tie). Other negative entries paid riichi deposits.
    std::uint8_t dealtIn = 0;
    // A seat other than the winner's with a change below 0 in a ツモ hand.
    std::uint8_t paidTsumo = 0;
    // Seats with an entry in an exhaustive draw: a change above 0, and 0 or below.
    std::uint8_t tenpai = 0;
    std::uint8_t noten = 0;
    int winner = scorelog::kNoSeat;

    SeatOutcome For(int seat) const {
        const unsigned bit = 1u << seat;
        return {(entry & bit) != 0,     (won & bit) != 0,    (tsumoWin & bit) != 0, (dealtIn & bit) != 0,
                (paidTsumo & bit) != 0, (tenpai & bit) != 0, (noten & bit) != 0,    change[seat]};
    }
};

// Reads a hand once for every seat. Inlined into the tally's walk over the hands, where it runs
// once a hand.
[[gnu::always_inline]] inline HandOutcome OutcomeOf(const scorelog::HandRecord& hand) {
    using scorelog::HandKind;
    HandOutcome out;
    const int count = std::clamp(hand.entryCount, 0, 4);
    for (int i = 0; i < count; ++i) {
        const int seat = hand.entrySeats[i];
        if (seat < 0 || seat > 3) continue;
        out.entry |= static_cast<std::uint8_t>(1u << seat);
        out.change[seat] = hand.entryDeltas[i];
    }
    if (count == 0) return out;
    const int first = hand.entrySeats[0];
    switch (hand.kind) {
        case HandKind::Tsumo:
        case HandKind::Ron: {
            const unsigned winnerBit = first >= 0 && first <= 3 ? 1u << first : 0;
            out.winner = winnerBit != 0 ? first : scorelog::kNoSeat;
            out.won = static_cast<std::uint8_t>(winnerBit);
            if (hand.kind == HandKind::Tsumo) {
                out.tsumoWin = out.won;
                for (int k = 0; k < 4; ++k) {
                    const bool paid = (out.entry >> k & 1) != 0 && out.change[k] < 0;
                    out.paidTsumo |= static_cast<std::uint8_t>(paid ? 1u << k : 0);
                }
                out.paidTsumo &= static_cast<std::uint8_t>(~winnerBit);
                break;
            }
            std::int32_t lowest = 0;
            int dealer = -1;
            for (int i = 1; i < count; ++i) {
                const scorelog::NameId name = hand.entryNames[i];
                bool last = name != hand.entryNames[0];
                for (int j = i + 1; j < count; ++j) last = last && hand.entryNames[j] != name;
                if (last && hand.entryDeltas[i] < lowest) {
                    lowest = hand.entryDeltas[i];
                    dealer = hand.entrySeats[i];
                }
            }
            out.dealtIn = static_cast<std::uint8_t>(dealer >= 0 && dealer <= 3 ? 1u << dealer : 0);
            break;
        }
        case HandKind::ExhaustiveDraw:
            for (int k = 0; k < 4; ++k) {
                const unsigned bit = out.entry & (1u << k);
                out.tenpai |= static_cast<std::uint8_t>(out.change[k] > 0 ? bit : 0);
                out.noten |= static_cast<std::uint8_t>(out.change[k] > 0 ? 0 : bit);
            }
            break;
        default:
            break;
    }
    return out;
}

}  // namespace obrenta::tally
