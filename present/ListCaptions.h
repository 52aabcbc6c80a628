#pragma once

#include <string>

#include "present/ListDefinitions.h"

namespace obrenta::present {

// A sentence the window shows under a list whose headings, or a number standing without a
// label, would leave the reader guessing; empty for the other lists. Code page 932, like every
// cell text. The report prints no captions, so its sections keep their bytes.
const std::string& ListCaption(ListId list);

}  // namespace obrenta::present
