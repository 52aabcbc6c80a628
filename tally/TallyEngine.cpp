#include "tally/TallyEngine.h"

#include <algorithm>

namespace obrenta::tally {

std::vector<scorelog::ReadOutcome> TallyEngine::ReadScoreLogs() {
    return logs_.ReadLogs(settings().ScoreLogPaths());
}

scorelog::ReadOutcome TallyEngine::ReadScoreLog() {
    return scorelog::CombineOutcomes(ReadScoreLogs());
}

void TallyEngine::SelectGames() {
    SelectGames(logs_.games());
}

void TallyEngine::SelectGames(const std::vector<GameRecord>& games) {
    const TallyFilter filter = TallyFilter::FromSettings(settings());
    UserSeatFinder finder(filter);
    const std::size_t keep = filter.recentCount;
    // Only the newest `keep` passing games survive, so look from the newest and stop there;
    // the copies are then made oldest first into a vector of the right size.
    picked_.clear();
    for (std::size_t i = games.size(); i-- > 0 && picked_.size() < keep;) {
        const UserSeat user = finder.Find(games[i]);
        if (filter.Passes(games[i], user)) {
            picked_.emplace_back(i, user.seat);
        }
    }
    // Assigned over the last selection rather than cleared and copied again: a game selected
    // again shares its hands and names with the copy already there, and assigning a shared
    // pointer its own value skips the two atomic count updates that a new copy costs.
    const std::size_t count = picked_.size();
    const std::size_t reused = std::min(count, selectedGames.size());
    selectedGames.reserve(count);
    auto it = picked_.rbegin();
    for (std::size_t j = 0; j < reused; ++j, ++it) {
        SelectedGame& selected = selectedGames[j];
        selected.game = games[it->first];
        selected.userSeat = it->second;
        selected.yakitori = false;
        selected.boxedOut = false;
    }
    for (; it != picked_.rend(); ++it) {
        selectedGames.push_back({games[it->first], it->second});
    }
    selectedGames.resize(count);
}

void TallyEngine::ResetResults() {
    static_cast<TallyResults&>(*this) = TallyResults{};
}

bool TallyEngine::Tally() {
    return Tally(logs_.games());
}

bool TallyEngine::Tally(const std::vector<GameRecord>& games) {
    SelectGames(games);
    TallyStatistics statistics;
    statistics.Run(selectedGames);
    statistics.Finish(*this);
    return true;
}

}  // namespace obrenta::tally
