#pragma once

#include "present/ListDefinitions.h"
#include "present/ListView.h"
#include "settings/AppSettings.h"
#include "tally/TallyEngine.h"

namespace obrenta::present {

// Columns, fixed rows and fixed labels of one list, then the last column widened where the
// list's columns fill.
void SetUpList(ListId list, ListView& view);

// Writes one list from the results of the last tally: the value cells of a fixed-row list, or
// every row of a record list, rebuilt with its saved sort applied.
void FillList(ListId list, ListView& view, const tally::TallyEngine& engine,
              const settings::AppSettings& settings);

// The period list by month or by year, oldest at the top and the newest in view, sort applied.
void FillPeriodList(ListView& view, const tally::TallyEngine& engine, const settings::AppSettings& settings,
                    bool yearly);

}  // namespace obrenta::present
