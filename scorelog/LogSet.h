#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "scorelog/GameRecord.h"
#include "scorelog/ScoreLog.h"

namespace obrenta::scorelog {

// A set reads at most this many logs; further paths are left out.
inline constexpr std::size_t kMaxMergedLogs = 64;

// Whether two games are one game written into two logs (a copied or backed-up log): the same
// start and end time, table kind, players, and each seat's name (by its bytes), R, final
// placing and points. Hands are not compared, so a copy damaged only in its hand lines is the
// same game; a copy whose heading or result differs is another game.
bool SameGame(const GameRecord& a, const GameRecord& b);

// The games of several logs as one list ordered by start time. The merge is stable: the games
// of one log keep their order, and of games that start together those of an earlier log come
// first. A game of one log that is SameGame as a game of another counts once: each game is
// matched with at most one game of every other log, so a game written twice into one log and
// once into another is kept twice, as in its own log. The games are copies: their hands and
// names stay shared with, and keep alive, the reads they came from. At most kMaxMergedLogs
// lists.
std::vector<GameRecord> MergeGames(std::span<const std::vector<GameRecord>* const> logs);

// The outcomes of the reads of several logs told as one: that of the first log that failed,
// else Read when any log was read again, else Unchanged.
ReadOutcome CombineOutcomes(std::span<const ReadOutcome> outcomes);

// Several score logs read as one. Each log keeps a ScoreLog of its own, so it is read only when
// it changed, and only what was appended when it grew.
class LogSet {
public:
    // One log with no path, whose games are none until it is read.
    LogSet();

    // Reads each of paths (in list order; the first kMaxMergedLogs) when it changed, the logs
    // on threads of their own. A path that stays in the list, wherever it moves, keeps its
    // reader; one no longer listed is forgotten. The outcomes, one per log, in list order.
    std::vector<ReadOutcome> ReadLogs(std::span<const std::string> paths);

    // The games of every log as one (see MergeGames); with one log, that log's games as its
    // ScoreLog holds them.
    const std::vector<GameRecord>& games() const {
        return logs_.size() == 1 ? logs_[0].log->games() : merged_;
    }

    std::size_t size() const { return logs_.size(); }
    const std::string& path(std::size_t k) const { return logs_[k].path; }
    // The outcome of the last read of log k (Unchanged before any).
    const ReadOutcome& outcome(std::size_t k) const { return logs_[k].outcome; }
    const ScoreLog& log(std::size_t k) const { return *logs_[k].log; }
    // A log's games changed by other means (ScoreLog::ParseBuffer) are merged again by Merge.
    ScoreLog& log(std::size_t k) { return *logs_[k].log; }
    void Merge();

private:
    struct Entry {
        std::string path;
        std::unique_ptr<ScoreLog> log;
        ReadOutcome outcome;
    };
    std::vector<Entry> logs_;
    std::vector<GameRecord> merged_;
};

}  // namespace obrenta::scorelog
