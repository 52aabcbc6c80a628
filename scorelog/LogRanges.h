#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "scorelog/GameRecord.h"

namespace obrenta::scorelog {

// Bytes of a log that can be read at any offset, from several threads at once.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to room bytes at offset: the count read, 0 at the end, -1 on failure with its errno in
    // error.
    virtual std::ptrdiff_t ReadAt(char* to, std::size_t room, std::uint64_t offset, int& error) = 0;
};

// Where a parse stopped, so that a later one can go on from the last block it saw (that block
// may have been cut short by the end of the bytes).
struct ParseEnd {
    std::uint64_t end = 0;             // the offset after the last byte read
    std::uint64_t lastBlockStart = 0;  // the offset of the last block's first line
    std::size_t gamesBeforeLastBlock = 0;
    std::size_t namesBeforeLastBlock = 0;  // the size of the name pool before that block
};

// The first offset in [from, limit) at which a line begins whose first piece holds "=====",
// the line that a block begins with; limit when there is none. from > 0.
std::uint64_t FindBlockStart(ByteSource& bytes, std::uint64_t from, std::uint64_t limit);

// The offsets at which the ranges of a parse from begin begin: begin, then the first block start
// at or after each target below limit, with none twice.
std::vector<std::uint64_t> RangeStarts(ByteSource& bytes, std::uint64_t begin, std::uint64_t limit,
                                       std::span<const std::uint64_t> targets);

// How many ranges a log of that many bytes is read in: one per hardware thread, each of at least
// a megabyte, and one for a small log, where a thread costs more than it saves.
std::size_t RangeCountFor(std::uint64_t bytes);

enum class RangeParseStatus { Parsed, ReadFailed, NamesDiffer };

// Parses the bytes from starts[0] to their end, each range (from one start to the next, the last
// to the end) on a thread of its own, and joins the games in file order after the first keep of
// games (those after them are dropped). The games are exactly those of one parse of the same
// bytes, with their names in pool:
// - pool null: a new pool, which gets the names in the order one parse interns them;
// - otherwise the pool of the games before starts[0]. Its names from confirmedNames on were
//   interned by the last parse of the block at starts[0]; they must come again first and in the
//   same order, or NamesDiffer is returned.
// On failure games and pool are left as they were (error holds the read's errno).
RangeParseStatus ParseRanges(ByteSource& bytes, std::span<const std::uint64_t> starts, std::uint64_t sizeHint,
                             std::vector<GameRecord>& games, std::size_t keep, NamePoolPtr& pool,
                             std::size_t confirmedNames, ParseEnd& parseEnd, int& error);

// Empties games. The hands of a read lie in a few large blocks (see HandArena), so freeing them
// is quick on one thread.
void ReleaseGames(std::vector<GameRecord>& games);

}  // namespace obrenta::scorelog
