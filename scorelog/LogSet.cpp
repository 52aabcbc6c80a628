#include "scorelog/LogSet.h"

#include <algorithm>
#include <cstdint>
#include <system_error>
#include <thread>
#include <unordered_map>

namespace obrenta::scorelog {

bool SameGame(const GameRecord& a, const GameRecord& b) {
    if (a.startTime != b.startTime || a.endTime != b.endTime || a.tableKind != b.tableKind ||
        a.playerCount != b.playerCount) {
        return false;
    }
    // The logs of two reads have name pools of their own; within one read an id is its name.
    const bool onePool = a.names == b.names;
    for (std::size_t k = 0; k < a.seats.size(); ++k) {
        const SeatResult& x = a.seats[k];
        const SeatResult& y = b.seats[k];
        if (x.rating != y.rating || x.points != y.points || x.rank != y.rank) return false;
        if (onePool ? x.name != y.name : a.Name(x.name) != b.Name(y.name)) return false;
    }
    return true;
}

std::vector<GameRecord> MergeGames(std::span<const std::vector<GameRecord>* const> logs) {
    logs = logs.first(std::min(logs.size(), kMaxMergedLogs));
    std::size_t total = 0;
    for (const auto* log : logs) total += log->size();
    std::vector<GameRecord> merged;
    merged.reserve(total);

    // Each game kept, with the logs whose copy of it has been matched, chained to the game kept
    // before it with the same start time.
    struct Kept {
        std::size_t index;
        std::uint64_t logs;
        std::size_t previous;
    };
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<Kept> kept;
    kept.reserve(total);
    std::unordered_map<std::int64_t, std::size_t> lastByStart;
    lastByStart.reserve(total);

    std::vector<std::size_t> next(logs.size(), 0);
    for (;;) {
        // A handful of logs: a look at each head beats a heap.
        std::size_t from = kNone;
        for (std::size_t k = 0; k < logs.size(); ++k) {
            if (next[k] == logs[k]->size()) continue;
            if (from == kNone || (*logs[k])[next[k]].startTime < (*logs[from])[next[from]].startTime)
                from = k;
        }
        if (from == kNone) break;
        const GameRecord& game = (*logs[from])[next[from]++];
        const std::uint64_t bit = std::uint64_t{1} << from;
        auto [slot, first] = lastByStart.try_emplace(game.startTime, kNone);
        bool matched = false;
        for (std::size_t at = slot->second; at != kNone; at = kept[at].previous) {
            if ((kept[at].logs & bit) == 0 && SameGame(merged[kept[at].index], game)) {
                kept[at].logs |= bit;
                matched = true;
                break;
            }
        }
        if (matched) continue;
        kept.push_back({merged.size(), bit, slot->second});
        slot->second = kept.size() - 1;
        merged.push_back(game);
    }
    return merged;
}

ReadOutcome CombineOutcomes(std::span<const ReadOutcome> outcomes) {
    ReadOutcome combined;
    for (const ReadOutcome& outcome : outcomes) {
        if (!outcome.ok()) return outcome;
        if (outcome.status == ReadOutcome::Status::Read) combined = outcome;
    }
    return combined;
}

LogSet::LogSet() {
    logs_.push_back({std::string(), std::make_unique<ScoreLog>(), ReadOutcome()});
}

std::vector<ReadOutcome> LogSet::ReadLogs(std::span<const std::string> paths) {
    paths = paths.first(std::min(paths.size(), kMaxMergedLogs));
    // Readers are taken over by path, so a log moved in the list is not read again; a path
    // listed twice gets a second reader.
    std::vector<Entry> entries;
    entries.reserve(std::max<std::size_t>(paths.size(), 1));
    bool listChanged = paths.size() != logs_.size();
    for (std::size_t k = 0; k < paths.size(); ++k) {
        auto old = std::find_if(logs_.begin(), logs_.end(),
                                [&](const Entry& e) { return e.log && e.path == paths[k]; });
        if (old != logs_.end()) {
            listChanged = listChanged || old - logs_.begin() != static_cast<std::ptrdiff_t>(k);
            entries.push_back(std::move(*old));
        } else {
            listChanged = true;
            entries.push_back({paths[k], std::make_unique<ScoreLog>(), ReadOutcome()});
        }
    }
    if (entries.empty()) entries.push_back({std::string(), std::make_unique<ScoreLog>(), ReadOutcome()});
    logs_ = std::move(entries);

    const auto read = [this](std::size_t k) { logs_[k].outcome = logs_[k].log->ReadScoreLog(logs_[k].path); };
    {
        std::vector<std::jthread> threads;
        for (std::size_t k = 1; k < paths.size(); ++k) {
            try {
                threads.emplace_back(read, k);
            } catch (const std::system_error&) {
                read(k);
            }
        }
        if (!paths.empty()) read(0);
    }

    std::vector<ReadOutcome> outcomes;
    bool anyRead = false;
    for (std::size_t k = 0; k < paths.size(); ++k) {
        outcomes.push_back(logs_[k].outcome);
        anyRead = anyRead || logs_[k].outcome.status == ReadOutcome::Status::Read;
    }
    if (listChanged || anyRead) Merge();
    return outcomes;
}

void LogSet::Merge() {
    merged_.clear();
    if (logs_.size() < 2) return;
    std::vector<const std::vector<GameRecord>*> lists;
    for (const Entry& entry : logs_) lists.push_back(&entry.log->games());
    merged_ = MergeGames(lists);
}

}  // namespace obrenta::scorelog
