#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "scorelog/GameRecord.h"

// What a hand was for each seat of its game: the one place that reads a hand's entries for that.
namespace obrenta::tally {

// One seat in one hand. An entry belongs to the first seat with its name (the reader stores that
// seat with the entry), and a seat's change is that of its last entry.
struct SeatOutcome {
    bool hasEntry = false;
    bool won = false;        // the winner of a ツモ or ロン hand: the seat of its first entry
    bool tsumoWin = false;   // of those, the ツモ hands
    bool dealtIn = false;    // see HandOutcome::dealInEntry
    bool paidTsumo = false;  // a seat other than the winner's with a change below 0 in a ツモ hand
    bool tenpai = false;     // an exhaustive draw with a change above 0
    bool noten = false;      // an exhaustive draw with a change of 0 or below
    std::int32_t change = 0;
};

struct HandOutcome {
    std::array<SeatOutcome, 4> seats{};
    int winner = scorelog::kNoSeat;  // the winning seat, or kNoSeat
    // The entry that dealt in: in a ロン hand, of the entries that are the last of their name and
    // do not carry the winner's name, the one with the most negative change (below 0; the first
    // such entry on a tie). Other negative entries paid riichi deposits. -1 when there is none;
    // its seat may be kNoSeat.
    int dealInEntry = -1;
};

// Reads a hand once for every seat.
inline HandOutcome OutcomeOf(const scorelog::HandRecord& hand) {
    using scorelog::HandKind;
    HandOutcome out;
    const int count = std::clamp(hand.entryCount, 0, 4);
    for (int i = 0; i < count; ++i) {
        const int seat = hand.entrySeats[i];
        if (seat < 0 || seat > 3) continue;
        out.seats[seat].hasEntry = true;
        out.seats[seat].change = hand.entryDeltas[i];
    }
    if (count == 0) return out;
    const bool tsumo = hand.kind == HandKind::Tsumo;
    if (tsumo || hand.kind == HandKind::Ron) {
        out.winner =
            hand.entrySeats[0] >= 0 && hand.entrySeats[0] <= 3 ? hand.entrySeats[0] : scorelog::kNoSeat;
        if (out.winner != scorelog::kNoSeat) {
            out.seats[out.winner].won = true;
            out.seats[out.winner].tsumoWin = tsumo;
        }
        if (tsumo) {
            for (int k = 0; k < 4; ++k) {
                SeatOutcome& seat = out.seats[k];
                seat.paidTsumo = k != out.winner && seat.hasEntry && seat.change < 0;
            }
            return out;
        }
        std::int32_t lowest = 0;
        for (int i = 1; i < count; ++i) {
            const scorelog::NameId name = hand.entryNames[i];
            if (name == hand.entryNames[0]) continue;
            bool last = true;
            for (int j = i + 1; j < count; ++j) last = last && hand.entryNames[j] != name;
            if (last && hand.entryDeltas[i] < lowest) {
                lowest = hand.entryDeltas[i];
                out.dealInEntry = i;
            }
        }
        const int dealer = out.dealInEntry >= 0 ? hand.entrySeats[out.dealInEntry] : scorelog::kNoSeat;
        if (dealer >= 0 && dealer <= 3) out.seats[dealer].dealtIn = true;
        return out;
    }
    if (hand.kind == HandKind::ExhaustiveDraw) {
        for (SeatOutcome& seat : out.seats) {
            seat.tenpai = seat.hasEntry && seat.change > 0;
            seat.noten = seat.hasEntry && seat.change <= 0;
        }
    }
    return out;
}

}  // namespace obrenta::tally
