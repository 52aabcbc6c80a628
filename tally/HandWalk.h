#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "scorelog/GameRecord.h"
#include "tally/StatHelpers.h"

namespace obrenta::tally {

// One hand as the user's seat saw it.
struct HandView {
    const scorelog::HandRecord& hand;
    std::int32_t userChange = 0;  // the user's score change; 0 when the user has no entry
    std::int32_t kind = 0;        // the HandKind, Other for a value out of range
    std::int32_t hanClass = 0;    // the HanClass, None for a value out of range
    bool win = false;             // Tsumo or Ron
    bool ownWin = false;          // a win whose winner is the user
};

// The running sums' slot of an entry that names no seat.
inline constexpr int kNoSeat = 4;

// What the walk over a game's hands found about the game.
struct HandWalk {
    bool yakitori = true;  // the user won no hand
    bool boxedOut = false;
    bool lastHandWon = false;
    int preLastRank = 1;  // the user's rank going into the last hand
};

namespace detail {

// The seat names of one game, for finding the seat a hand entry names: the same seat as
// GameRecord::FindSeatByName(NameId) within the first seatLimit seats. Which seat an entry names
// differs from hand to hand, so every seat is tested rather than stopping at the first match
// after a branch that is often guessed wrong.
class SeatNames {
public:
    SeatNames(const scorelog::GameRecord& game, int seatLimit) : limit_(seatLimit) {
        for (int k = 0; k < 4; ++k) {
            names_[k] = game.seats[k].name;
        }
    }

    int Of(scorelog::NameId name) const {
        int seat = -1;
        for (int k = 3; k >= 0; --k) {
            seat = k < limit_ && names_[k] == name ? k : seat;
        }
        return seat;
    }

private:
    std::array<scorelog::NameId, 4> names_{};
    int limit_;
};

}  // namespace detail

// Walks a game's hands once, in order, handing each to onHand(const HandView&), and returns what
// the walk found. The statistics that read hands all share this one walk. It is the hot part of
// the tally, so it is always inlined into the pass, where the hands' memory loads overlap the
// per-game work.
template <typename OnHand>
[[gnu::always_inline]] inline HandWalk WalkHands(const scorelog::GameRecord& game, int userSeat,
                                                 OnHand&& onHand) {
    HandWalk walk;
    const scorelog::NameId userName = game.seats[userSeat].name;
    const int seatLimit = stat::SeatLimit(game);
    const detail::SeatNames seatNames(game, seatLimit);
    // The fifth running sum takes the entries that name no seat.
    std::array<std::int64_t, 5> running{};
    if (game.hands) {
        std::int32_t handNumber = 0;
        for (const scorelog::HandRecord& hand : *game.hands) {
            ++handNumber;
            const int entryCount = std::clamp(hand.entryCount, 0, 4);
            const bool win = hand.IsWin();
            const bool ownWin = win && hand.entryNames[0] == userName;
            walk.yakitori = walk.yakitori && !ownWin;

            // One pass over the entries gives the user's change and each entry's seat.
            const bool lastHand = handNumber == game.handCount;
            std::int32_t change = 0;
            std::int64_t lastHandGain = 0;
            for (int i = 0; i < entryCount; ++i) {
                const scorelog::NameId name = hand.entryNames[i];
                const std::int32_t delta = hand.entryDeltas[i];
                change = name == userName ? delta : change;
                const int k = seatNames.Of(name);
                const int slot = k >= 0 ? k : kNoSeat;
                running[static_cast<std::size_t>(slot)] += lastHand ? 0 : delta;
                lastHandGain += k == userSeat ? delta : 0;
            }
            if (lastHand) {
                // The last hand decides the box-out but stays out of the running sums, which
                // give the rank going into it.
                walk.lastHandWon = ownWin;
                walk.boxedOut = std::int64_t{game.startPoints} + running[userSeat] + lastHandGain < 0;
            }
            onHand(HandView{hand, change, stat::KindIndex(hand.kind), stat::HanIndex(hand.hanClass), win,
                            ownWin});
        }
    }
    for (int k = 0; k < seatLimit; ++k) {
        if (running[k] > running[userSeat]) {
            ++walk.preLastRank;
        }
    }
    return walk;
}

}  // namespace obrenta::tally
