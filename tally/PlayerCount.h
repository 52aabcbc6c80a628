#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "scorelog/GameRecord.h"

namespace obrenta::tally {

// A player name of the score log (code page 932) and the number of games it sits in.
struct PlayerCount {
    std::string name;
    std::int64_t games = 0;

    bool operator==(const PlayerCount&) const = default;
};

// Every name seated in games, the most frequent first (equal counts by name bytes), each counted
// once per game; empty names are left out. On a first start the user's own name is almost always
// at the top, since it sits in every game of the log.
std::vector<PlayerCount> CountPlayers(std::span<const scorelog::GameRecord> games);

}  // namespace obrenta::tally
