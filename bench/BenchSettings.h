#pragma once

#include "bench/BenchLog.h"
#include "settings/AppSettings.h"

namespace obrenta::bench {

// Settings that select every game of the bench log's player: all dates, all kinds, no limit
// on the number of recent games.
inline settings::AppSettings OpenFilterSettings(const BenchLog& log) {
    settings::AppSettings s;
    s.MJSFileName = log.path;
    s.userIdCount = 1;
    s.userIds[0] = log.player;
    s.userIdEnabled[0] = 1;
    s.dateFrom = settings::DefaultDateFrom();
    s.dateTo = settings::DefaultDateTo();
    s.recentCount = 100000000;
    return s;
}

}  // namespace obrenta::bench
