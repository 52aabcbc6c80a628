#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "scorelog/GameRecord.h"
#include "scorelog/LogSet.h"
#include "scorelog/ScoreLog.h"
#include "settings/AppSettings.h"
#include "tally/DealInStats.h"
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
              HistogramAccumulator, PeriodAccumulator, StyleAccumulator, DealInAccumulator>;

// Every result of a tally; ResetResults() sets them all back to these values.
struct TallyResults : TallyStatistics::Results {};

class TallyEngine : public TallyResults {
public:
    explicit TallyEngine(const AppSettings& settings) : settings_(&settings) {}

    // Reads every log the settings name (ScoreLogPaths) when it changed, as one (see LogSet).
    // The outcome of each log, in the list's order.
    std::vector<scorelog::ReadOutcome> ReadScoreLogs();
    // The same, told as one outcome: that of the first log that failed, else Read when any log
    // was read again, else Unchanged.
    scorelog::ReadOutcome ReadScoreLog();
    // Selects the games and computes every statistic. Always true.
    bool Tally();
    // The same over a given game list (oldest first) instead of the logs' games.
    bool Tally(const std::vector<GameRecord>& games);
    void SelectGames();
    void SelectGames(const std::vector<GameRecord>& games);
    void ResetResults();

    // The games of every log as one, those Tally() reads.
    const std::vector<GameRecord>& games() const { return logs_.games(); }
    const scorelog::LogSet& logs() const { return logs_; }
    scorelog::LogSet& logs() { return logs_; }
    // The first log.
    const scorelog::ScoreLog& scoreLog() const { return logs_.log(0); }
    scorelog::ScoreLog& scoreLog() { return logs_.log(0); }
    const AppSettings& settings() const { return *settings_; }

    // --- selection -----------------------------------------------------------------------
    std::vector<SelectedGame> selectedGames;

private:
    const AppSettings* settings_;
    scorelog::LogSet logs_;
    // The passing games by index in the game list, newest first, with the user's seat.
    std::vector<std::pair<std::size_t, int>> picked_;
};

}  // namespace obrenta::tally
