#pragma once

#include "scorelog/GameRecord.h"

namespace obrenta::tally {

// One game of the selection with what the tally learnt about it; the game itself stays as the
// parser made it.
struct SelectedGame {
    scorelog::GameRecord game;  // as the parser made it
    int userSeat = 0;           // 0..3
    bool yakitori = false;      // the user won no hand
    bool boxedOut = false;
    const scorelog::SeatResult& user() const { return game.seats[userSeat]; }
};

}  // namespace obrenta::tally
