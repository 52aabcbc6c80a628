#pragma once

#include <cstddef>

#include "present/CellFormat.h"
#include "tally/TallyEngine.h"

// The value getters of the fixed rows, by where the value sits in the results: each is a
// ResultGetter (TableDefinitions.h) that takes the results and the row's own index (a rank, a han
// class, an hour, a hand kind). Only the table definitions include this.
namespace obrenta::present::getters {

using R = tally::TallyResults;

// A field as it is.
template <auto field>
CellValue Get(const R& r, int) {
    return r.*field;
}
// A field of seconds, shown by a duration format.
template <auto field>
CellValue Seconds(const R& r, int) {
    return CellValue::Duration(r.*field);
}
// The element of the row's index.
template <auto field>
CellValue At(const R& r, int i) {
    return (r.*field)[i];
}
// Element k, whatever the row.
template <auto field, int k>
CellValue AtK(const R& r, int) {
    return (r.*field)[k];
}
// "longest ( current )" of two fields.
template <auto longest, auto current>
CellValue Streak(const R& r, int) {
    return CellValue::Pair(r.*longest, r.*current);
}
template <auto longest, auto current>
CellValue StreakAt(const R& r, int i) {
    return CellValue::Pair((r.*longest)[i], (r.*current)[i]);
}
// The hour of the row's index.
template <auto field>
CellValue Hour(const R& r, int h) {
    return r.hourStats[h].*field;
}
template <int k>
CellValue HourRank(const R& r, int h) {
    return r.hourStats[h].rankCount[k];
}
template <auto field>
CellValue HourOrDashes(const R& r, int h) {
    const tally::HourStats& hour = r.hourStats[h];
    return hour.games == 0 ? CellValue::Dashes() : CellValue(hour.*field);
}
// Group g (score gained, unchanged, lost) of the hand kind of the row's index.
template <int g>
CellValue OutcomeCount(const R& r, int kind) {
    return r.handOutcome[g][kind].count;
}
template <int g, auto field>
CellValue OutcomeOrDashes(const R& r, int kind) {
    const tally::HandOutcomeStats& s = r.handOutcome[g][kind];
    return s.count == 0 ? CellValue::Dashes() : CellValue(s.*field);
}
template <int g, auto field>
CellValue OutcomeTotal(const R& r, int) {
    return r.handOutcomeTotal[g].*field;
}
// rankTransition[pre-last rank of the row][final rank f]
template <auto table, int f>
CellValue Transition(const R& r, int p) {
    return (r.*table)[p][f];
}
// A cell whose format is its whole text.
inline CellValue NoValue(const R&, int) {
    return {};
}

// 打ち筋: the user's measure, the field's, and their difference with " *" after it when its
// interval excludes zero. A figure without its interval (a rate of nothing, a mean of fewer than
// two values, a difference of two means without variance) is dashes. The row's index is its
// StyleRow.
template <bool own>
CellValue StyleMeasureCell(const R& r, int row) {
    const tally::StyleLine& line = r.styleLines[static_cast<std::size_t>(row)];
    return EstimateCell(own ? line.own : line.field);
}
inline CellValue StyleDifferenceCell(const R& r, int row) {
    const tally::StyleLine& line = r.styleLines[static_cast<std::size_t>(row)];
    return DifferenceCell(line.difference, line.significant);
}
template <auto field>
CellValue StyleRecordCell(const R& r, int) {
    const tally::StyleRecord& record = r.*field;
    return record.found ? CellValue::Dated(record.value, record.startTime) : CellValue::Dashes();
}

}  // namespace obrenta::present::getters
