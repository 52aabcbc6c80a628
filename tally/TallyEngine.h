#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "scorelog/GameRecord.h"
#include "scorelog/ScoreLog.h"
#include "settings/AppSettings.h"

namespace obrenta::tally {

using scorelog::GameRecord;
using settings::AppSettings;

// The user's score movement in one hand.
enum class PointChange : int { Gain = 0, Unchanged = 1, Loss = 2 };
inline constexpr int kPointChangeCount = 3;

struct OpponentStats {
    std::int32_t games = 0;
    double avgUserRank = 0;      // a sum during the pass
    double avgOpponentRank = 0;  // a sum during the pass
    double avgOpponentR = 0;     // a sum during the pass
    std::int32_t wins = 0;
    std::int32_t losses = 0;
    std::int32_t ties = 0;
};

struct HourStats {
    std::int32_t games = 0;
    std::array<std::int32_t, 5> rankCount{};  // [1..4]
    double avgRank = 0;
    double avgPoints = 0;
};

struct HandOutcomeStats {
    std::int32_t count = 0;
    double rate = 0;
    // Holds the sum of the changes during the pass, the truncated mean after it.
    std::int64_t avgPointChange = 0;
};

struct YakuStats {
    std::int32_t count = 0;
    double rateOfHands = 0;
    double rateOfWins = 0;
};

// Result maps are keyed by the code page 932 bytes; std::string compares them as unsigned bytes.
using OpponentMap = std::map<std::string, OpponentStats>;
using YakuMap = std::map<std::string, YakuStats>;

struct UserSeat {
    int slot = -1;
    int seat = -1;
    bool found = false;
};

inline constexpr int kHistogramBins = 300;

// Every result of a tally; ResetResults() sets them all back to these values.
struct TallyResults {
    // --- summary -------------------------------------------------------------------------
    std::int32_t gameCount = 0;
    std::int32_t totalHandCount = 0;
    double avgHandsPerGame = 0;
    std::int64_t shortestGameSeconds = 0;
    std::int64_t longestGameSeconds = 0;
    std::int64_t avgGameSeconds = 0;
    std::int64_t totalGameSeconds = 0;
    std::int32_t ownRMin = 0;
    std::int32_t ownRMax = 0;
    std::int32_t ownRLast = 0;
    double ownRMean = 0;
    double ownRDeviation = 0;
    std::int32_t opponentSeatCount = 0;
    std::int32_t opponentRMin = 0;
    std::int32_t opponentRMax = 0;
    double opponentRMean = 0;
    double opponentRDeviation = 0;
    std::array<std::int32_t, 5> rankCount{};  // [1..4]
    std::array<double, 5> rankRate{};         // [1..4]
    double avgRank = 0;
    double predictedR = 0;
    std::array<std::int32_t, 5> currentRankStreak{};
    std::array<std::int32_t, 5> currentNoRankStreak{};
    std::array<std::int32_t, 5> longestRankStreak{};
    std::array<std::int32_t, 5> longestNoRankStreak{};
    std::int32_t pointsMax = 0;
    std::int32_t pointsMin = 0;
    std::int32_t pointsTotal = 0;
    double pointsMean = 0;
    double pointsDeviation = 0;
    std::int32_t ownWinCount = 0;
    std::int32_t otherWinCount = 0;
    double ownWinRate = 0;
    double otherWinRate = 0;
    std::int32_t yakitoriCount = 0;
    double yakitoriRate = 0;
    std::int32_t currentYakitoriStreak = 0;
    std::int32_t longestYakitoriStreak = 0;
    std::int32_t currentNoYakitoriStreak = 0;
    std::int32_t longestNoYakitoriStreak = 0;
    std::int32_t boxOutCount = 0;
    double boxOutRate = 0;
    std::int32_t currentBoxOutStreak = 0;
    std::int32_t longestBoxOutStreak = 0;
    std::int32_t currentNoBoxOutStreak = 0;
    std::int32_t longestNoBoxOutStreak = 0;

    // --- opponents, hours, histograms ----------------------------------------------------
    OpponentMap opponentStats;
    std::array<HourStats, 24> hourStats{};
    std::array<std::int32_t, kHistogramBins> ownRHistogram{};
    std::array<std::int32_t, kHistogramBins> opponentRHistogram{};

    // --- hands ---------------------------------------------------------------------------
    // handOutcome[PointChange][HandKind]
    std::array<std::array<HandOutcomeStats, scorelog::kHandKindCount>, kPointChangeCount> handOutcome{};
    std::array<HandOutcomeStats, kPointChangeCount> handOutcomeTotal{};
    std::array<std::int32_t, scorelog::kHanClassCount> ownHanCount{};
    std::array<std::int32_t, scorelog::kHanClassCount> otherHanCount{};
    std::array<double, scorelog::kHanClassCount> ownHanRateOfHands{};
    std::array<double, scorelog::kHanClassCount> otherHanRateOfHands{};
    std::array<double, scorelog::kHanClassCount> ownHanRateOfWins{};
    std::array<double, scorelog::kHanClassCount> otherHanRateOfWins{};
    YakuMap ownYaku;
    YakuMap otherYaku;

    // --- last hand: [pre-last rank 1..4][final rank 1..4] ----------------------------------
    std::array<std::array<std::int32_t, 5>, 5> rankTransition{};
    std::array<std::array<std::int32_t, 5>, 5> rankTransitionWon{};
    std::array<std::int32_t, 5> preLastRankCount{};
    std::array<std::int32_t, 5> preLastRankWonCount{};
    std::int32_t lastHandWinCount = 0;
    std::array<std::int32_t, 5> lastHandWinByFinalRank{};
    std::array<double, 5> avgRankChange{};
    std::array<double, 5> avgRankChangeWon{};
    double avgRankChangeAll = 0;
    double avgRankChangeAllWon = 0;
};

class TallyEngine : public TallyResults {
public:
    explicit TallyEngine(const AppSettings& settings) : settings_(&settings) {}

    // Reads the log named by the settings' MJSFileName when it changed. See ScoreLog.
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
    std::vector<GameRecord> selectedGames;

private:
    const AppSettings* settings_;
    scorelog::ScoreLog scoreLog_;
    // The user's seat in each game of selectedGames, found while selecting.
    std::vector<int> selectedSeats_;
    std::vector<std::size_t> picked_;
};

// The user's own seat in a game: exactly one seat named by an ID in use.
UserSeat FindUserSeat(const GameRecord& game, const AppSettings& settings);
bool PassesFilter(const GameRecord& game, const AppSettings& settings);

}  // namespace obrenta::tally
