#include "tally/PlayerCount.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace obrenta::tally {

std::vector<PlayerCount> CountPlayers(std::span<const scorelog::GameRecord> games) {
    std::unordered_map<std::string_view, std::int64_t> counts;
    for (const scorelog::GameRecord& game : games) {
        const int seats = std::clamp(game.playerCount, 0, 4);
        for (int seat = 0; seat < seats; ++seat) {
            const std::string_view name = game.SeatName(seat);
            // A name seated twice in one game still played that game once.
            if (!name.empty() && game.FindSeatByName(game.seats[seat].name) == seat) ++counts[name];
        }
    }
    std::vector<PlayerCount> players;
    players.reserve(counts.size());
    for (const auto& [name, count] : counts) players.push_back({std::string(name), count});
    std::sort(players.begin(), players.end(), [](const PlayerCount& a, const PlayerCount& b) {
        return a.games != b.games ? a.games > b.games : a.name < b.name;
    });
    return players;
}

}  // namespace obrenta::tally
