#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "present/ListDefinitions.h"
#include "present/ListView.h"
#include "settings/AppSettings.h"
#include "tally/TallyEngine.h"

namespace obrenta::present {

// One CSV field (RFC 4180): quoted, with its quotes doubled, when it holds a comma, a quote, a CR
// or an LF; otherwise as it is.
std::string CsvField(std::string_view text);

// A list as a spreadsheet program opens it: UTF-8 with a byte order mark, the headings and then
// every row, fields separated by commas, every line ended by CRLF. Only the columns that are shown
// (a column of width 0 is hidden on screen and left out here too); cells as the list shows them.
std::string FormatCsv(const ListView& view);

// The list whose section name (ListName) is name.
std::optional<ListId> FindListByName(std::string_view name);

// Sets up pages, fills them from the engine's last tally and formats one list as CSV.
std::string RenderListCsv(const tally::TallyEngine& engine, const settings::AppSettings& settings,
                          ListId list);

}  // namespace obrenta::present
