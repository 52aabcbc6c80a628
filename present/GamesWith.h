#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "present/ListView.h"
#include "tally/TallyEngine.h"

namespace obrenta::present {

// The selected games in which name (code page 932) sat at another seat than the user's, newest
// first, as copies (they outlive the engine's next read).
std::vector<tally::SelectedGame> GamesWith(const tally::TallyEngine& engine, std::string_view name);

// Sets up view with the columns of the list of games with one opponent: 日時, 卓, 順位, 得点,
// 相手順位, 相手得点, 先着.
void SetUpGamesWith(ListView& view);
// Fills the set-up view with one row per game of games, in their order.
void FillGamesWith(ListView& view, std::span<const tally::SelectedGame> games, std::string_view name);
// Whether column of the list is sorted by its leading number (else by its text).
bool GamesWithColumnIsNumber(int column);
// The order of the rows when sorted by column, ascending or not (equal rows keep their order).
std::vector<int> GamesWithSortOrder(const ListView& view, int column, bool ascending);

// The title of the list's window: "kenji との対局 (12 試合)" (code page 932).
std::string GamesWithTitle(std::string_view name, std::size_t games);

// The section "# GamesWith" of the games with the opponent named nameCp932.
std::string RenderGamesWith(const tally::TallyEngine& engine, std::string_view nameCp932);

}  // namespace obrenta::present
