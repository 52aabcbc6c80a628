#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "scorelog/GameRecord.h"
#include "tally/HandOutcome.h"
#include "tally/StatHelpers.h"

namespace obrenta::tally {

// One hand as the user's seat saw it.
struct HandView {
    const scorelog::HandRecord& hand;
    const HandOutcome& outcome;   // the hand for every seat
    std::int32_t userChange = 0;  // the user's score change; 0 when the user has no entry
    std::int32_t kind = 0;        // the HandKind, Other for a value out of range
    std::int32_t hanClass = 0;    // the HanClass, None for a value out of range
    bool win = false;             // Tsumo or Ron
    bool ownWin = false;          // a win whose winner is the user
};

// What the walk over a game's hands found about the game.
struct HandWalk {
    std::int64_t hands = 0;  // the hands walked: every figure's count of hands
    bool yakitori = true;    // the user won no hand
    bool boxedOut = false;
    bool lastHandWon = false;
    int preLastRank = 1;  // the user's rank going into the last hand
};

// Walks a game's hands once, in order, handing each to onHand(const HandView&), and returns what
// the walk found. The statistics that read hands all share this one walk. It is the hot part of
// the tally, so it is always inlined into the pass.
template <typename OnHand>
[[gnu::always_inline]] inline HandWalk WalkHands(const scorelog::GameRecord& game, int userSeat,
                                                 OnHand&& onHand) {
    HandWalk walk;
    const int seatLimit = stat::SeatLimit(game);
    // A fifth running sum takes the entries that name no seat.
    constexpr int kNoSeatSlot = 4;
    std::array<std::int64_t, 5> running{};
    if (game.hands) {
        std::int32_t handNumber = 0;
        for (const scorelog::HandRecord& hand : *game.hands) {
            ++handNumber;
            const HandOutcome outcome = OutcomeOf(hand);
            const bool win = hand.IsWin();
            const bool ownWin = outcome.winner == userSeat;
            walk.yakitori = walk.yakitori && !ownWin;

            const bool lastHand = handNumber == game.handCount;
            std::int64_t lastHandGain = 0;
            const int entryCount = std::clamp(hand.entryCount, 0, 4);
            for (int i = 0; i < entryCount; ++i) {
                const int k = hand.entrySeats[i];
                const std::int32_t delta = hand.entryDeltas[i];
                const int slot = k >= 0 && k < 4 ? k : kNoSeatSlot;
                running[static_cast<std::size_t>(slot)] += lastHand ? 0 : delta;
                lastHandGain += k == userSeat ? delta : 0;
            }
            if (lastHand) {
                // The last hand decides the box-out but stays out of the running sums, which
                // give the rank going into it.
                walk.lastHandWon = ownWin;
                walk.boxedOut = std::int64_t{game.startPoints} + running[userSeat] + lastHandGain < 0;
            }
            onHand(HandView{hand, outcome, outcome.change[static_cast<std::size_t>(userSeat & 3)],
                            stat::KindIndex(hand.kind), stat::HanIndex(hand.hanClass), win, ownWin});
        }
        walk.hands = handNumber;
    }
    for (int k = 0; k < seatLimit; ++k) {
        if (running[k] > running[userSeat]) {
            ++walk.preLastRank;
        }
    }
    return walk;
}

}  // namespace obrenta::tally
