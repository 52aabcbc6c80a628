#include "scorelog/LogRanges.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>

#include "base/Platform.h"
#include "scorelog/BlockCutter.h"
#include "scorelog/GameBlockParser.h"

namespace obrenta::scorelog {

namespace {

constexpr std::uint64_t kNoLimit = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint64_t kMinRangeBytes = std::uint64_t{1} << 20;
constexpr std::uint64_t kOneRangeBelow = std::uint64_t{4} << 20;
constexpr std::size_t kSearchWindow = 64 * 1024;
constexpr std::size_t kFirstHandBlockBytes = 64 * 1024;
// Fewer games than this are renamed and moved on one thread.
constexpr std::size_t kMinGamesPerPart = 2048;
// A separator in a line's first piece begins at most this far after the line's newline.
constexpr std::size_t kLookBack = kMaxLinePieceBytes - 4;

// A game takes about a kilobyte of log, so room for one per 768 bytes nearly always suffices
// and the vector is not copied as it grows; the pages of room never used are never touched. The
// cap keeps a huge file from asking for much memory before it has shown any game.
std::size_t ExpectedGames(std::uint64_t logBytes) {
    constexpr std::uint64_t kBytesPerGame = 768;
    constexpr std::uint64_t kMaxGuess = std::uint64_t{1} << 20;
    return static_cast<std::size_t>(std::min(logBytes / kBytesPerGame + 16, kMaxGuess));
}

struct Range {
    std::uint64_t begin = 0;
    std::uint64_t limit = kNoLimit;  // the next range's start
    std::vector<GameRecord> games;
    NamePoolPtr pool;
    bool failed = false;
    int error = 0;
    std::uint64_t end = 0;
    bool sawBlock = false;
    std::uint64_t lastBlockStart = 0;
    std::size_t gamesBeforeLastBlock = 0;
    std::size_t namesBeforeLastBlock = 0;

    // Filled when the parse is joined: the joined pool's id of each id of pool (empty when the
    // range's own pool becomes the joined one), and the index of its first game in the join.
    std::vector<NameId> joinedIds;
    bool adopted = false;
    std::size_t at = 0;
};

// Parses a range into its own pool; every game points at gamesPool, the pool of the joined games.
void ParseRange(ByteSource& bytes, Range& range, std::size_t expectedGames, const NamePoolPtr& gamesPool) {
    range.games.reserve(expectedGames);
    base::AdviseLargePages(range.games.data(), range.games.capacity() * sizeof(GameRecord));
    NamePool& pool = *range.pool;
    LocalTimeCache times;
    HandArena arena(kFirstHandBlockBytes);
    std::uint64_t at = range.begin;
    auto source = [&](char* to, std::size_t room) -> std::ptrdiff_t {
        room = static_cast<std::size_t>(std::min<std::uint64_t>(room, range.limit - at));
        if (room == 0) return 0;
        const std::ptrdiff_t got = bytes.ReadAt(to, room, at, range.error);
        if (got > 0) at += static_cast<std::uint64_t>(got);
        return got;
    };
    range.failed =
        !CutBlocks(source, kReadChunkBytes,
                   [&](const std::vector<std::string_view>& lines, std::size_t count, std::uint64_t start) {
                       range.sawBlock = true;
                       range.lastBlockStart = range.begin + start;
                       range.gamesBeforeLastBlock = range.games.size();
                       range.namesBeforeLastBlock = pool.Size();
                       if (count > kMaxBlockLines) return;
                       GameRecord& game = range.games.emplace_back();
                       game.names = gamesPool;
                       if (!ParseGameBlock(game, lines, pool, times, arena)) range.games.pop_back();
                   });
    range.end = at;
}

// Interns the names of the ranges' pools, range after range, into one pool in the order a single
// parse would have interned them. The pool may hold names at the end that an earlier parse of the
// same bytes interned; those must be met again first, in the same order.
class NameJoiner {
public:
    NameJoiner(NamePool& target, std::size_t confirmed)
        : target_(target), next_(confirmed), held_(target.Size()) {}

    // Fills ids with the joined id of each id of from, and namesAtWatch with the joined pool's size
    // before from's id watch. False when the names differ from those held.
    bool Join(const NamePool& from, std::vector<NameId>& ids, std::size_t watch, std::size_t& namesAtWatch) {
        ids.resize(from.Size());
        for (std::size_t id = 0; id <= from.Size(); ++id) {
            if (id == watch) namesAtWatch = next_;
            if (id == from.Size()) break;
            const std::string_view name = from.View(static_cast<NameId>(id));
            const std::optional<NameId> found = target_.Find(name);
            if (found && *found < next_) {
                ids[id] = *found;
            } else if (next_ < held_) {
                if (found != next_) return false;
                ids[id] = static_cast<NameId>(next_++);
            } else {
                ids[id] = target_.Intern(name);
                ++next_;
            }
        }
        return true;
    }
    bool AllHeldMet() const { return next_ >= held_; }
    std::size_t Size() const { return next_; }

private:
    NamePool& target_;
    std::size_t next_;  // the size of the joined pool so far
    std::size_t held_;  // the size of the pool before the join
};

void Rename(GameRecord& game, const std::vector<NameId>& ids) {
    auto rename = [&](NameId& id) { id = id < ids.size() ? ids[id] : id; };
    for (SeatResult& seat : game.seats) rename(seat.name);
    // The hands were made by this read and nobody else holds them yet.
    for (const HandRecord& stored : game.Hands()) {
        auto& hand = const_cast<HandRecord&>(stored);
        for (NameId& id : hand.entryNames) rename(id);
        for (NameId& id : std::span(const_cast<NameId*>(hand.yaku.data()), hand.yaku.size())) rename(id);
    }
}

// Runs work(k) for each k < count: k = 0 on this thread, the others on threads of their own (or
// here, when no thread can be started).
template <typename Work>
void RunEach(std::size_t count, Work&& work) {
    std::vector<std::jthread> threads;
    threads.reserve(count);
    for (std::size_t k = 1; k < count; ++k) {
        try {
            threads.emplace_back(work, k);
        } catch (const std::system_error&) {
            work(k);
        }
    }
    work(0);
}

}  // namespace

std::uint64_t FindBlockStart(ByteSource& bytes, std::uint64_t from, std::uint64_t limit) {
    std::vector<char> buffer(kLookBack + kSearchWindow);
    constexpr std::string_view kSeparator = "=====";
    std::uint64_t searchFrom = from;
    while (searchFrom < limit) {
        const std::uint64_t windowStart = searchFrom > kLookBack ? searchFrom - kLookBack : 0;
        int error = 0;
        const std::ptrdiff_t got = bytes.ReadAt(buffer.data(), buffer.size(), windowStart, error);
        if (got <= 0) return limit;
        const std::string_view window(buffer.data(), static_cast<std::size_t>(got));
        for (std::size_t at = window.find(kSeparator, searchFrom - windowStart); at != std::string_view::npos;
             at = window.find(kSeparator, at + 1)) {
            const std::size_t lookFrom = at > kLookBack ? at - kLookBack : 0;
            const std::size_t newline = window.substr(lookFrom, at - lookFrom).rfind('\n');
            if (newline == std::string_view::npos) continue;
            const std::size_t lineStart = lookFrom + newline + 1;
            const std::uint64_t offset = windowStart + lineStart;
            if (offset < from) continue;
            if (offset >= limit) return limit;
            // The line handed on ends at its first NUL byte.
            if (window.substr(lineStart, at + kSeparator.size() - lineStart).find('\0') ==
                std::string_view::npos) {
                return offset;
            }
        }
        if (window.size() < buffer.size()) return limit;
        // The next window starts early enough to find a separator cut by this one's end.
        searchFrom = windowStart + window.size() - (kSeparator.size() - 1);
    }
    return limit;
}

std::vector<std::uint64_t> RangeStarts(ByteSource& bytes, std::uint64_t begin, std::uint64_t limit,
                                       std::span<const std::uint64_t> targets) {
    std::vector<std::uint64_t> starts{begin};
    for (std::size_t k = 0; k < targets.size(); ++k) {
        const std::uint64_t from = std::max(targets[k], starts.back() + 1);
        const std::uint64_t until = k + 1 < targets.size() ? std::min(targets[k + 1], limit) : limit;
        if (from >= until) continue;
        const std::uint64_t start = FindBlockStart(bytes, from, until);
        if (start < until) starts.push_back(start);
    }
    return starts;
}

void ReleaseGames(std::vector<GameRecord>& games) {
    games = std::vector<GameRecord>();
}

std::size_t RangeCountFor(std::uint64_t bytes) {
    if (bytes < kOneRangeBelow) return 1;
    const std::uint64_t threads = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<std::size_t>(std::clamp<std::uint64_t>(bytes / kMinRangeBytes, 1, threads));
}

RangeParseStatus ParseRanges(ByteSource& bytes, std::span<const std::uint64_t> starts, std::uint64_t sizeHint,
                             std::vector<GameRecord>& games, std::size_t keep, NamePoolPtr& pool,
                             std::size_t confirmedNames, ParseEnd& parseEnd, int& error) {
    std::vector<Range> ranges(starts.size());
    for (std::size_t k = 0; k < ranges.size(); ++k) {
        ranges[k].begin = starts[k];
        if (k + 1 < ranges.size()) ranges[k].limit = starts[k + 1];
    }
    // A whole read keeps the first range's games and pool as they are and joins the rest to them.
    // The games point at the joined pool from the start, so joining them changes no reference count.
    const bool adoptFirst = pool == nullptr && keep == 0 && games.empty();
    for (Range& range : ranges) range.pool = std::make_shared<NamePool>();
    const NamePoolPtr joined = adoptFirst ? ranges[0].pool : pool;
    RunEach(ranges.size(), [&](std::size_t k) {
        Range& range = ranges[k];
        const std::uint64_t bytesOfRange =
            adoptFirst && k == 0 ? sizeHint
                                 : std::min(range.limit, sizeHint) - std::min(range.begin, sizeHint);
        ParseRange(bytes, range, ExpectedGames(bytesOfRange), joined);
    });

    for (const Range& range : ranges) {
        if (range.failed) {
            error = range.error;
            return RangeParseStatus::ReadFailed;
        }
    }

    NameJoiner joiner(*joined, adoptFirst ? joined->Size() : confirmedNames);
    ranges[0].adopted = adoptFirst;
    std::size_t at = adoptFirst ? 0 : keep;
    parseEnd.lastBlockStart = starts[0];
    parseEnd.gamesBeforeLastBlock = keep;
    bool sawBlock = false;
    for (Range& range : ranges) {
        std::size_t namesAtLastBlock = range.namesBeforeLastBlock;
        if (!range.adopted &&
            !joiner.Join(*range.pool, range.joinedIds, range.namesBeforeLastBlock, namesAtLastBlock)) {
            return RangeParseStatus::NamesDiffer;
        }
        range.at = at;
        if (range.sawBlock) {
            sawBlock = true;
            parseEnd.lastBlockStart = range.lastBlockStart;
            parseEnd.gamesBeforeLastBlock = at + range.gamesBeforeLastBlock;
            parseEnd.namesBeforeLastBlock = namesAtLastBlock;
        }
        at += range.games.size();
    }
    if (!joiner.AllHeldMet()) return RangeParseStatus::NamesDiffer;
    if (!sawBlock) parseEnd.namesBeforeLastBlock = joiner.Size();
    parseEnd.end = ranges.back().end;

    if (adoptFirst) {
        games = std::move(ranges[0].games);
    } else {
        games.erase(games.begin() + static_cast<std::ptrdiff_t>(std::min(keep, games.size())), games.end());
    }
    if (games.capacity() < at) {
        // Sized once, and backed by large pages before it is filled.
        std::vector<GameRecord> joinedGames;
        joinedGames.reserve(at);
        base::AdviseLargePages(joinedGames.data(), at * sizeof(GameRecord));
        std::move(games.begin(), games.end(), std::back_inserter(joinedGames));
        games = std::move(joinedGames);
    }
    games.resize(at);
    pool = joined;

    // The games of the ranges not adopted are renamed and moved into place, shared out evenly
    // among the threads (a whole read adopts the first range, which leaves one to move).
    std::vector<std::pair<Range*, std::size_t>> moved;  // each range moved, and the games before it
    std::size_t movedGames = 0;
    for (Range& range : ranges) {
        if (range.adopted) continue;
        moved.emplace_back(&range, movedGames);
        movedGames += range.games.size();
    }
    const std::size_t parts =
        std::max<std::size_t>(1, std::min(ranges.size(), movedGames / kMinGamesPerPart));
    RunEach(parts, [&](std::size_t k) {
        const std::size_t from = movedGames * k / parts;
        const std::size_t to = movedGames * (k + 1) / parts;
        for (const auto& [range, before] : moved) {
            const std::size_t first = std::max(from, before);
            const std::size_t last = std::min(to, before + range->games.size());
            for (std::size_t n = first; n < last; ++n) {
                GameRecord& game = range->games[n - before];
                Rename(game, range->joinedIds);
                games[range->at + (n - before)] = std::move(game);
            }
        }
    });
    return RangeParseStatus::Parsed;
}

}  // namespace obrenta::scorelog
