#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "present/CellFormat.h"
#include "present/ListDef.h"
#include "present/RecordColumns.h"
#include "present/TableDefinitions.h"

// Every list's definition, found by its ListId: the fixed-row tables (TableDefinitions.cpp) and
// the record lists (RecordColumns.cpp).
namespace obrenta::present {

// Every definition, in no particular order; one for each ListId.
const std::vector<ListDef>& AllListDefinitions();
// The definition of list.
const ListDef& Definition(ListId list);

// "GameSummaryTable", ...
std::string_view ListName(ListId list);
// Whether the list's last column is widened to the list's width after set-up.
bool ListColumnsFill(ListId list);
// Whether a click on a heading sorts the list: the lists whose definitions keep sort states.
bool IsSortable(ListId list);
ListSize ListSizeUnits(ListId list);
// The fixed ratio at which the report and the tests turn a list's dialog-unit width into the
// pixel width that FillLastColumn fills (a 9-point proportional Gothic font gives about this).
inline constexpr double kPixelsPerDialogUnitX = 1.5;
int ListWidthPixels(ListId list);
// The explanation of a column's heading (code page 932), or "" when it has none.
const std::string& ColumnToolTip(ListId list, int column);
// The row of a fixed-row list labelled label (UTF-8), or -1.
int RowOfLabel(ListId list, std::string_view label);

}  // namespace obrenta::present
