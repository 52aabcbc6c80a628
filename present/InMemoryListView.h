#pragma once

#include <deque>
#include <string>
#include <vector>

#include "present/ListView.h"

namespace obrenta::present {

// A list view that only keeps its columns and cells: used by the text report, the tests and the
// benchmarks. Rows sit in a deque, so the refill's insertions at the top stay cheap.
class InMemoryListView : public ListView {
public:
    struct Column {
        std::string heading;
        int width = 0;
        Align align = Align::Left;
    };

    // listWidth is the list's client width in pixels, which FillLastColumn fills.
    explicit InMemoryListView(int listWidth = 0) : listWidth_(listWidth) {}

    void InsertColumn(int column, std::string_view heading, int width, Align align) override;
    int ColumnCount() const override { return static_cast<int>(columns_.size()); }
    std::string Heading(int column) const override;
    int ColumnWidth(int column) const override;
    void FillLastColumn() override;

    int InsertRow(int row, std::string_view text) override;
    void SetCell(int row, int column, std::string_view text) override;
    void DeleteAllRows() override { rows_.clear(); }
    std::string Cell(int row, int column) const override;
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    void EnsureVisible(int row) override { ensuredVisibleRow_ = row; }
    void SetFirstHeading(std::string_view heading) override;
    void SetRedraw(bool on) override;
    void SortRows(const std::function<bool(int rowA, int rowB)>& less) override;

    void SetListWidth(int width) { listWidth_ = width; }
    int ListWidth() const { return listWidth_; }
    const Column& ColumnAt(int column) const { return columns_.at(column); }
    // The drawn alignment: the first column is always left-aligned.
    Align ColumnAlign(int column) const;
    // The row last passed to EnsureVisible, -1 before any.
    int EnsuredVisibleRow() const { return ensuredVisibleRow_; }
    bool RedrawOn() const { return redraw_; }
    int RedrawSuspendCount() const { return redrawSuspendCount_; }

private:
    int listWidth_;
    std::vector<Column> columns_;
    std::deque<std::vector<std::string>> rows_;
    int ensuredVisibleRow_ = -1;
    bool redraw_ = true;
    int redrawSuspendCount_ = 0;
};

}  // namespace obrenta::present
