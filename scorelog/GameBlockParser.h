#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "base/LocalTime.h"
#include "scorelog/GameRecord.h"

namespace obrenta::scorelog {

using base::LocalTimeCache;

// Turns the lines of one block (each ending with its newline, as the reader hands them on) into
// a game. On false the record is partial and must not be used. Names and yaku are interned in
// pool; record.names is left as it is (the caller points it at pool).
bool ParseGameBlock(GameRecord& record, std::span<const std::string_view> lines, NamePool& pool);

// The same, with the local-time conversions of a whole read going through one cache.
bool ParseGameBlock(GameRecord& record, std::span<const std::string_view> lines, NamePool& pool,
                    LocalTimeCache& times);

// The same, with the hands stored in arena (see HandArena).
bool ParseGameBlock(GameRecord& record, std::span<const std::string_view> lines, NamePool& pool,
                    LocalTimeCache& times, HandArena& arena);

// The same, interning in record.names (a new pool is made when it is null).
bool ParseGameBlock(GameRecord& record, std::span<const std::string_view> lines);

// Parses a hand's first line and its result line (both ending with their newline). The hand and
// its yaku are held in storage of their own, which the pointer keeps.
std::shared_ptr<const HandRecord> ParseHand(std::string_view firstLine, std::string_view resultLine,
                                            NamePool& pool);

}  // namespace obrenta::scorelog
