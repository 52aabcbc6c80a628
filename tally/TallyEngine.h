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
              HistogramAccumulator, PeriodAccumulator>;

// The statistics of a second pass: the 打ち筋 figures read every seat of every hand, a third of
// the work of all the others together, so a window that does not show them can leave them out
// (see withSideStatistics). The pass runs on another core beside TallyStatistics when the
// selection is large; its accumulators must not read the games' flags (see RunAlongside).
using SideStatistics = TallyPass<StyleAccumulator>;

// Every result of a tally; ResetResults() sets them all back to these values.
struct TallyResults : TallyStatistics::Results, SideStatistics::Results {};

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
    // Selections of at least this many games run SideStatistics on a second thread (when the
    // machine has more than one); below it, a thread's start costs about what it saves.
    std::size_t secondThreadFrom = 1000;
    // Whether Tally() computes SideStatistics too. When not, their results are reset and
    // sideStatisticsCurrent() is false until TallySide() computes them for the same selection.
    bool withSideStatistics = true;
    bool sideStatisticsCurrent() const { return sideStatisticsCurrent_; }
    void TallySide();

private:
    const AppSettings* settings_;
    bool sideStatisticsCurrent_ = false;
    scorelog::ScoreLog scoreLog_;
    // The passing games by index in the game list, newest first, with the user's seat.
    std::vector<std::pair<std::size_t, int>> picked_;
};

}  // namespace obrenta::tally
