#pragma once

#include "present/ListStore.h"

namespace obrenta::present {

// The list view of the text report, the tests and the benchmarks: the list store as it is.
using InMemoryListView = ListStore;

}  // namespace obrenta::present
