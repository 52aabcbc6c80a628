#pragma once

#include <string>
#include <vector>

#include "present/ListDef.h"

namespace obrenta::present {

// The definitions of the fixed-row lists (the tables: each row's label, value and format), in no
// particular order.
std::vector<ListDef> FixedRowListDefs();

// The note under the 打ち筋 list (code page 932): what the figures can't say and how to read the
// marks.
const std::string& StylePageNote();

// The note under the 放銃 breakdown (code page 932): what the log lets one say of the winner's hand,
// how a deal-in is found, and how to read the shares and marks.
const std::string& DealInPageNote();

}  // namespace obrenta::present
