#pragma once

#include <deque>
#include <string>
#include <vector>

#include "present/ListView.h"

namespace obrenta::present {

// The rows and columns of one list, the one copy every list view keeps: the text report, the tests
// and the benchmarks use it as it is, the window's item model adapts it to Qt. Rows sit in a
// deque, so the refill's insertions at the top stay cheap. Every cell a row holds is addressable:
// a row has at least as many cells as the list has columns.
class ListStore : public ListView {
public:
    struct Column {
        std::string heading;
        int width = 0;
        Align align = Align::Left;
    };

    // listWidth is the list's client width in pixels, which FillLastColumn fills; 0 leaves the
    // last column as it is (the window's view stretches it on screen instead).
    explicit ListStore(int listWidth = 0) : listWidth_(listWidth) {}

    void InsertColumn(int column, std::string_view heading, int width, Align align) override;
    int ColumnCount() const override { return static_cast<int>(columns_.size()); }
    std::string Heading(int column) const override;
    int ColumnWidth(int column) const override;
    void FillLastColumn() override;

    int InsertRow(int row, std::string_view text) override;
    void SetCell(int row, int column, std::string_view text) override { ChangeCell(row, column, text); }
    void DeleteAllRows() override { rows_.clear(); }
    std::string Cell(int row, int column) const override;
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    void EnsureVisible(int row) override { ensuredVisibleRow_ = row; }
    void SetFirstHeading(std::string_view heading) override;
    void SetRedraw(bool on) override;
    void SortRows(const std::function<bool(int rowA, int rowB)>& less) override;

    // Where InsertColumn and InsertRow put a column or row asked for at index.
    int ColumnInsertPosition(int column) const;
    int RowInsertPosition(int row) const;
    // Writes a cell; false when the cell is out of range or already held the text.
    bool ChangeCell(int row, int column, std::string_view text);
    // The sorted order by less (rows that compare equal keep their order): the old index of the row
    // that goes to each position.
    std::vector<int> SortOrder(const std::function<bool(int rowA, int rowB)>& less) const;
    // Puts the rows in order, as SortOrder gave it.
    void Reorder(const std::vector<int>& order);

    void SetListWidth(int width) { listWidth_ = width; }
    int ListWidth() const { return listWidth_; }
    bool FillsLastColumn() const { return fillsLast_; }
    const Column& ColumnAt(int column) const { return columns_.at(column); }
    // The drawn alignment: the first column is always left-aligned.
    Align ColumnAlign(int column) const;
    // The row last passed to EnsureVisible, -1 before any.
    int EnsuredVisibleRow() const { return ensuredVisibleRow_; }
    bool RedrawOn() const { return redraw_; }
    int RedrawSuspendCount() const { return redrawSuspendCount_; }

private:
    int listWidth_;
    bool fillsLast_ = false;
    std::vector<Column> columns_;
    std::deque<std::vector<std::string>> rows_;
    int ensuredVisibleRow_ = -1;
    bool redraw_ = true;
    int redrawSuspendCount_ = 0;
};

}  // namespace obrenta::present
