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

    // The order first: of the heads of the logs the one that starts first, and of heads that
    // start together the one of the earlier log. A handful of logs: a look at each head beats a
    // heap.
    struct Entry {
        const GameRecord* game;
        std::uint64_t log;  // the bit of its log
    };
    std::vector<Entry> order;
    order.reserve(total);
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::size_t> next(logs.size(), 0);
    for (;;) {
        std::size_t from = kNone;
        for (std::size_t k = 0; k < logs.size(); ++k) {
            if (next[k] == logs[k]->size()) continue;
            if (from == kNone || (*logs[k])[next[k]].startTime < (*logs[from])[next[from]].startTime)
                from = k;
        }
        if (from == kNone) break;
        order.push_back({&(*logs[from])[next[from]++], std::uint64_t{1} << from});
    }

    // Then each game is matched with a game kept before it, or kept: a game kept is matched at
    // most once by each other log, with the logs that matched it in logs. The candidates are
    // the games kept with the same start time, chained from the last one kept.
    struct Kept {
        std::size_t index;
        std::uint64_t logs;
        std::size_t previous;
    };
    std::vector<GameRecord> merged;
    merged.reserve(total);
    std::vector<Kept> kept;
    kept.reserve(total);
    std::unordered_map<std::int64_t, std::size_t> lastByStart;
    lastByStart.reserve(total);
    for (const Entry& entry : order) {
        std::size_t& last = lastByStart.try_emplace(entry.game->startTime, kNone).first->second;
        bool matched = false;
        for (std::size_t at = last; at != kNone && !matched; at = kept[at].previous) {
            if ((kept[at].logs & entry.log) == 0 && SameGame(merged[kept[at].index], *entry.game)) {
                kept[at].logs |= entry.log;
                matched = true;
            }
        }
        if (matched) continue;
        kept.push_back({merged.size(), entry.log, last});
        last = kept.size() - 1;
        merged.push_back(*entry.game);
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
