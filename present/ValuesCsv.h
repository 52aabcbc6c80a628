#pragma once

#include <string>

#include "present/ListDefinitions.h"
#include "present/ListView.h"
#include "settings/AppSettings.h"
#include "tally/TallyEngine.h"

namespace obrenta::present {

// The "数値" form of a list's CSV, for spreadsheets that compute with it: the rows and shown
// columns of shown (a list filled from engine's last tally, sorted as it is shown), each number
// plain in the C locale with no unit, sign of a mark or separator; an interval or range as three
// columns (value, low, high), a pair and a dated record as two; dates and times in ISO 8601 local
// time ("2024-05-17T20:00", "2024-05", "2024"), durations in seconds; "---" as an empty field.
// UTF-8 with a byte order mark, CRLF, as FormatCsv.
std::string FormatValuesCsv(ListId list, const ListView& shown, const tally::TallyEngine& engine,
                            const settings::AppSettings& settings);

// Sets up pages, fills them from the engine's last tally and formats one list in the "数値" form.
std::string RenderListValuesCsv(const tally::TallyEngine& engine, const settings::AppSettings& settings,
                                ListId list);

}  // namespace obrenta::present
