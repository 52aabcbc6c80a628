#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "present/ChartContent.h"
#include "present/ListView.h"
#include "settings/AppSettings.h"
#include "tally/TallyEngine.h"

namespace obrenta::present {

// Every list of the pages, in the order the report prints them.
enum class ListId {
    GameSummaryTable,
    RatingTable,
    PointsTable,
    RankTable,
    StreakTable,
    RecentGamesList,
    HanTableOwn,
    HanTableOther,
    YakuListOwn,
    YakuListOther,
    HourlyTable,
    HandOutcomeTable,
    LastHandTable,
    LastHandWonTable,
    OpponentList,
};
inline constexpr int kListCount = 15;

// "GameSummaryTable", ...
std::string_view ListName(ListId list);
// Whether the list's last column is widened to the list's width after set-up.
bool ListColumnsFill(ListId list);

// Where a list sits on its page, in dialog units, with its control ID.
struct ListPlace {
    int controlId = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
ListPlace ListPlacement(ListId list);
// The fixed ratio at which the report and the tests turn a list's dialog-unit width into the
// pixel width that FillLastColumn fills (a 9-point proportional Gothic font gives about this).
inline constexpr double kPixelsPerDialogUnitX = 1.5;
int ListWidthPixels(ListId list);
// The yaku lists and the opponent list.
bool IsSortable(ListId list);

struct PageLists {
    std::array<ListView*, kListCount> views{};
    ListView& operator[](ListId list) const { return *views[static_cast<int>(list)]; }
};

// Columns, fixed rows and fixed labels of one list, then the last column widened where the
// list's columns fill.
void SetUpList(ListId list, ListView& view);
// Every list in the order the window builds them, then both score charts and their regression
// lines.
void SetUpPages(PageLists& lists, PageCharts& charts, const settings::AppSettings& settings);

// Writes every list and chart from the results of the last tally, saved sorts applied.
void RefillPages(const tally::TallyEngine& engine, const settings::AppSettings& settings, PageLists& lists,
                 PageCharts& charts);

// --- sorting ------------------------------------------------------------------------------
// The sort states of a sortable list inside the settings (SortYaku1, SortYaku2 or SortVs).
std::span<std::int32_t> SortStates(ListId list, settings::AppSettings& settings);
std::span<const std::int32_t> SortStates(ListId list, const settings::AppSettings& settings);
// A click on heading column of a sortable list: the click rule, then the sort.
void OnColumnClick(ListId list, int column, ListView& view, settings::AppSettings& settings);
// Sorts by column in the given direction (1 = first order, anything else = reverse).
void SortList(ListId list, int column, int direction, ListView& view);
void ApplySavedSort(ListId list, ListView& view, std::span<const std::int32_t> states);

}  // namespace obrenta::present
