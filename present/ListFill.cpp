#include "present/ListFill.h"

#include <algorithm>

#include "present/CellFormat.h"
#include "present/ListSort.h"

namespace obrenta::present {
namespace {

using tally::TallyEngine;

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

// Writes each row it is handed under the earlier ones.
class ViewSink final : public RowSink {
public:
    explicit ViewSink(ListView& view) : view_(view) {}

    void Row(std::span<const RecordCell> cells) override {
        if (cells.empty()) return;
        const int row = view_.InsertRow(view_.RowCount(), CellText(*cells[0].format, cells[0].value));
        for (std::size_t c = 1; c < cells.size(); ++c)
            view_.SetCell(row, static_cast<int>(c), CellText(*cells[c].format, cells[c].value));
        ++rows;
    }
    void TextRow(std::span<const std::string> texts) override {
        if (texts.empty()) return;
        const int row = view_.InsertRow(view_.RowCount(), texts[0]);
        for (std::size_t c = 1; c < texts.size(); ++c) view_.SetCell(row, static_cast<int>(c), texts[c]);
        ++rows;
    }

    int rows = 0;

private:
    ListView& view_;
};

// A record list: its rows rebuilt, the count in its first heading, its saved sort applied.
void FillRecordList(const ListDef& def, ListView& view, const TallyEngine& engine,
                    const settings::AppSettings& settings) {
    if (def.manyRows) view.SetRedraw(false);
    view.DeleteAllRows();
    ViewSink sink(view);
    def.records(engine, settings, sink);
    if (!def.countHeading.bytes.empty())
        view.SetFirstHeading(FormatCell(def.countHeading.bytes.c_str(), sink.rows));
    if (def.sortStates != nullptr) ApplySavedSort(def.id, view, SortStates(def.id, settings));
    if (def.showsLastRow && view.RowCount() > 0) view.EnsureVisible(view.RowCount() - 1);
    if (def.manyRows) view.SetRedraw(true);
}

}  // namespace

void FillPeriodList(ListView& view, const TallyEngine& engine, const settings::AppSettings& settings,
                    bool yearly) {
    settings::AppSettings chosen = settings;
    chosen.PeriodYearly = yearly ? 1 : 0;
    FillRecordList(Definition(ListId::PeriodList), view, engine, chosen);
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
    const ListDef& def = Definition(list);
    if (def.records != nullptr) {
        FillRecordList(def, view, engine, settings);
    } else {
        FillFixedRows(def, view, engine);
    }
}

}  // namespace obrenta::present
