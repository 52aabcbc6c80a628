#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "scorelog/GameRecord.h"
#include "scorelog/ScoreLog.h"
#include "settings/AppSettings.h"
#include "tally/HandStats.h"
#include "tally/PeriodStats.h"
#include "tally/SeatStats.h"
#include "tally/SelectedGame.h"
#include "tally/StyleStats.h"
#include "tally/SummaryStats.h"
#include "tally/TallyFilter.h"
#include "tally/TallyPass.h"

namespace obrenta::tally {

using scorelog::GameRecord;
using settings::AppSettings;

// Every statistic of a tally, one accumulator each.
using TallyStatistics =
    TallyPass<GameSummaryAccumulator, RatingAccumulator, PointsAccumulator, RankAccumulator, HandAccumulator,
              YakuAccumulator, LastHandAccumulator, HourAccumulator, OpponentAccumulator,
              HistogramAccumulator, PeriodAccumulator, StyleAccumulator>;

// Every result of a tally; ResetResults() sets them all back to these values.
struct TallyResults : TallyStatistics::Results {};

class TallyEngine : public TallyResults {
public:
    explicit TallyEngine(const AppSettings& settings) : settings_(&settings) {}

    // Reads the log named by the settings' ScoreLogPath when it changed. See ScoreLog.
    scorelog::ReadOutcome ReadScoreLog();
    // Selects the games and computes every statistic. Always true.
    bool Tally();
    // The same over a given game list (oldest first) instead of the score log's games.
    bool Tally(const std::vector<GameRecord>& games);
    void SelectGames();
    void SelectGames(const std::vector<GameRecord>& games);
    void ResetResults();

    const scorelog::ScoreLog& scoreLog() const { return scoreLog_; }
    scorelog::ScoreLog& scoreLog() { return scoreLog_; }
    const AppSettings& settings() const { return *settings_; }

    // --- selection -----------------------------------------------------------------------
    std::vector<SelectedGame> selectedGames;

private:
    const AppSettings* settings_;
    scorelog::ScoreLog scoreLog_;
    // The passing games by index in the game list, newest first, with the user's seat.
    std::vector<std::pair<std::size_t, int>> picked_;
};

}  // namespace obrenta::tally
