#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scorelog/GameRecord.h"

namespace obrenta::scorelog {

// The label each hand of game has in the log at path ("東1局 0本場(リーチ1)", code page 932),
// in log order. The reader keeps no hand labels (they would cost every game memory for the sake
// of the few ever opened), so they are read again from the file: the block whose header has the
// game's start minute, whose seats bear the game's names and whose hands move the same points.
// Nothing when no such block is found, or the file cannot be read; the file is read in pieces,
// never whole.
std::optional<std::vector<std::string>> ReadHandLabels(const std::string& path, const GameRecord& game);

// The label of a hand's first line: the one or two words in front of its entries, as the
// parser splits them, joined by one space.
std::string HandLabelOf(std::string_view firstLine);

}  // namespace obrenta::scorelog
