#pragma once

#include <array>

#include "present/ChartContent.h"
#include "present/ListDefinitions.h"
#include "present/ListFill.h"
#include "present/ListSort.h"
#include "present/ListView.h"
#include "settings/AppSettings.h"
#include "tally/TallyEngine.h"

namespace obrenta::present {

struct PageLists {
    std::array<ListView*, kListCount> views{};
    ListView& operator[](ListId list) const { return *views[static_cast<int>(list)]; }
};

// Every list's columns and fixed rows, then both score charts and their regression lines.
void SetUpPages(PageLists& lists, PageCharts& charts, const settings::AppSettings& settings);

// Writes every list and chart from the results of the last tally, saved sorts applied.
void RefillPages(const tally::TallyEngine& engine, const settings::AppSettings& settings, PageLists& lists,
                 PageCharts& charts);

}  // namespace obrenta::present
