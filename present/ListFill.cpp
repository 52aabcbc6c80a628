#include "present/ListFill.h"

#include <algorithm>

#include "present/CellFormat.h"
#include "present/ListSort.h"

namespace obrenta::present {
namespace {

using tally::TallyEngine;

// Inserts a row at the top holding the record's cells.
template <class Record>
void InsertAtTop(ListView& view, const std::vector<RecordColumn<Record>>& columns, const Record& record) {
    const int row = view.InsertRow(0, CellText(columns[0].format.bytes, columns[0].value(record)));
    for (std::size_t c = 1; c < columns.size(); ++c) {
        view.SetCell(row, static_cast<int>(c), CellText(columns[c].format.bytes, columns[c].value(record)));
    }
}

void FillFixedRows(const ListDef& def, ListView& view, const tally::TallyResults& results) {
    if (def.manyRows) view.SetRedraw(false);
    for (std::size_t r = 0; r < def.rows.size(); ++r) {
        const RowDef& row = def.rows[r];
        for (const CellDef& cell : row.cells) {
            if (cell.value == nullptr) continue;
            view.SetCell(static_cast<int>(r), cell.column,
                         CellText(cell.format.bytes, cell.value(results, row.index)));
        }
    }
    if (def.manyRows) view.SetRedraw(true);
}

void FillRecentGames(ListView& view, const TallyEngine& engine) {
    view.SetRedraw(false);
    view.DeleteAllRows();
    const std::size_t count = engine.selectedGames.size();
    const std::size_t shown = std::min(count, kRecentGamesShown);
    // Newest first, each at the top: the oldest shown ends up on top.
    for (std::size_t i = 0; i < shown; ++i) {
        InsertAtTop(view, RecentGameColumns(), RecentGame::Of(engine.selectedGames[count - 1 - i]));
    }
    if (view.RowCount() > 0) view.EnsureVisible(view.RowCount() - 1);
    view.SetRedraw(true);
}

// A yaku or opponent list: one row per entry that shown() takes, in descending key order until a
// sort applies.
template <class Map, class Shown>
void FillMapList(ListId list, ListView& view, const Map& map,
                 const std::vector<RecordColumn<typename Map::value_type>>& columns,
                 const settings::AppSettings& settings, Shown shown) {
    view.SetRedraw(false);
    view.DeleteAllRows();
    int rows = 0;
    for (const auto& entry : map) {
        if (!shown(entry)) continue;
        InsertAtTop(view, columns, entry);
        ++rows;
    }
    view.SetFirstHeading(FormatCell(Definition(list).countHeading.bytes.c_str(), rows));
    ApplySavedSort(list, view, SortStates(list, settings));
    view.SetRedraw(true);
}

constexpr auto Every = [](const auto&) { return true; };

// The largest deal-ins, the largest first.
void FillLargestDealIns(ListView& view, const TallyEngine& engine) {
    view.DeleteAllRows();
    const std::vector<tally::DealInRecord>& records = engine.dealInLargest;
    for (std::size_t i = records.size(); i-- > 0;)
        InsertAtTop(view, DealInLargestColumns(),
                    LargestDealIn::Of(static_cast<std::int32_t>(i + 1), records[i]));
}

// The newest FormGames selected games against the earlier ones, then their difference.
void FillFormTable(ListView& view, const TallyEngine& engine, const settings::AppSettings& settings) {
    const tally::FormComparison form = tally::CompareForm(engine.selectedGames, settings.FormGames);
    view.DeleteAllRows();
    InsertAtTop(view, FormColumns(), FormSide{FormEarlierLabel(), form.earlier});
    InsertAtTop(view, FormColumns(), FormSide{FormRecentLabel(form.recentGames), form.recent});
    const std::vector<std::string> difference = FormDifferenceCells(form);
    const int row = view.InsertRow(2, difference[0]);
    for (std::size_t c = 1; c < difference.size(); ++c) view.SetCell(row, static_cast<int>(c), difference[c]);
}

}  // namespace

void FillPeriodList(ListView& view, const TallyEngine& engine, const settings::AppSettings& settings,
                    bool yearly) {
    const std::vector<tally::PeriodStats>& periods = yearly ? engine.yearlyPeriods : engine.monthlyPeriods;
    view.SetRedraw(false);
    view.DeleteAllRows();
    for (auto period = periods.rbegin(); period != periods.rend(); ++period) {
        InsertAtTop(view, PeriodColumns(), *period);
    }
    ApplySavedSort(ListId::PeriodList, view, SortStates(ListId::PeriodList, settings));
    if (view.RowCount() > 0) view.EnsureVisible(view.RowCount() - 1);
    view.SetRedraw(true);
}

void SetUpList(ListId list, ListView& view) {
    const ListDef& def = Definition(list);
    for (std::size_t c = 0; c < def.columns.size(); ++c) {
        const ColumnDef& column = def.columns[c];
        view.InsertColumn(static_cast<int>(c), column.heading.bytes, column.width, column.align);
    }
    for (std::size_t r = 0; r < def.rows.size(); ++r) {
        const RowDef& row = def.rows[r];
        view.InsertRow(static_cast<int>(r), row.label.bytes);
        for (const CellDef& cell : row.cells) {
            if (cell.value == nullptr) view.SetCell(static_cast<int>(r), cell.column, cell.format.bytes);
        }
    }
    if (def.columnsFill) view.FillLastColumn();
}

void FillList(ListId list, ListView& view, const TallyEngine& engine, const settings::AppSettings& settings) {
    switch (list) {
        case ListId::RecentGamesList:
            FillRecentGames(view, engine);
            return;
        case ListId::YakuListOwn:
            FillMapList(list, view, engine.ownYaku, YakuColumns(), settings, Every);
            return;
        case ListId::YakuListOther:
            FillMapList(list, view, engine.otherYaku, YakuColumns(), settings, Every);
            return;
        case ListId::OpponentList:
            FillMapList(list, view, engine.opponentStats, OpponentColumns(), settings, Every);
            return;
        case ListId::DealInYaku:
            FillMapList(list, view, engine.dealInYaku, DealInYakuColumns(), settings, Every);
            return;
        case ListId::DealInOpponents:
            FillMapList(
                list, view, engine.dealInOpponents, DealInOpponentColumns(), settings,
                [&](const DealInOpponentEntry& e) { return DealInOpponentShown(e.second, settings); });
            return;
        case ListId::DealInLargest:
            FillLargestDealIns(view, engine);
            return;
        case ListId::PeriodList:
            FillPeriodList(view, engine, settings, settings.PeriodYearly != 0);
            return;
        case ListId::FormTable:
            FillFormTable(view, engine, settings);
            return;
        default:
            FillFixedRows(Definition(list), view, engine);
            return;
    }
}

}  // namespace obrenta::present
