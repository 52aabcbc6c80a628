#include "present/InMemoryListView.h"

#include <algorithm>
#include <numeric>

namespace obrenta::present {

void InMemoryListView::InsertColumn(int column, std::string_view heading, int width, Align align) {
    column = std::clamp(column, 0, ColumnCount());
    columns_.insert(columns_.begin() + column, Column{std::string(heading), width, align});
    for (auto& row : rows_) row.insert(row.begin() + column, std::string());
}

std::string InMemoryListView::Heading(int column) const {
    if (column < 0 || column >= ColumnCount()) return {};
    return columns_[column].heading;
}

int InMemoryListView::ColumnWidth(int column) const {
    if (column < 0 || column >= ColumnCount()) return 0;
    return columns_[column].width;
}

Align InMemoryListView::ColumnAlign(int column) const {
    if (column <= 0) return Align::Left;
    return columns_.at(column).align;
}

void InMemoryListView::FillLastColumn() {
    if (columns_.empty()) return;
    int others = 0;
    for (std::size_t c = 0; c + 1 < columns_.size(); ++c) others += columns_[c].width;
    // Takes the rest of the width; a list too narrow for its columns keeps the last one as it is.
    columns_.back().width = std::max(columns_.back().width, listWidth_ - others);
}

int InMemoryListView::InsertRow(int row, std::string_view text) {
    row = std::clamp(row, 0, RowCount());
    std::vector<std::string> cells(std::max<std::size_t>(columns_.size(), 1));
    cells[0] = text;
    rows_.insert(rows_.begin() + row, std::move(cells));
    return row;
}

void InMemoryListView::SetCell(int row, int column, std::string_view text) {
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return;
    rows_[row][column] = text;
}

std::string InMemoryListView::Cell(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return {};
    return rows_[row][column];
}

void InMemoryListView::SetFirstHeading(std::string_view heading) {
    if (!columns_.empty()) columns_[0].heading = heading;
}

void InMemoryListView::SetRedraw(bool on) {
    if (!on) ++redrawSuspendCount_;
    redraw_ = on;
}

void InMemoryListView::SortRows(const std::function<bool(int rowA, int rowB)>& less) {
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), less);
    std::deque<std::vector<std::string>> sorted;
    for (int index : order) sorted.push_back(std::move(rows_[index]));
    rows_.swap(sorted);
}

}  // namespace obrenta::present
