#pragma once

#include <cstdint>
#include <span>

#include "present/ListDefinitions.h"
#include "present/ListView.h"
#include "settings/AppSettings.h"

namespace obrenta::present {

// The sort states of a sortable list inside the settings (the member its definition names: SortYaku1,
// SortVs, ...); empty for the other lists.
std::span<std::int32_t> SortStates(ListId list, settings::AppSettings& settings);
std::span<const std::int32_t> SortStates(ListId list, const settings::AppSettings& settings);
// A click on heading column of a sortable list: the click rule, then the sort.
void OnColumnClick(ListId list, int column, ListView& view, settings::AppSettings& settings);
// Sorts by column in the given direction (1 = first order, anything else = reverse), as the
// column's definition says (its SortBy and key column); nothing for a list that is not sortable.
void SortList(ListId list, int column, int direction, ListView& view);
void ApplySavedSort(ListId list, ListView& view, std::span<const std::int32_t> states);

}  // namespace obrenta::present
