#include "present/ListStore.h"

#include <algorithm>
#include <numeric>

namespace obrenta::present {

int ListStore::ColumnInsertPosition(int column) const {
    return std::clamp(column, 0, ColumnCount());
}

int ListStore::RowInsertPosition(int row) const {
    return std::clamp(row, 0, RowCount());
}

void ListStore::InsertColumn(int column, std::string_view heading, int width, Align align) {
    column = ColumnInsertPosition(column);
    columns_.insert(columns_.begin() + column, Column{std::string(heading), std::max(width, 0), align});
    for (auto& row : rows_) row.insert(row.begin() + column, std::string());
}

std::string ListStore::Heading(int column) const {
    if (column < 0 || column >= ColumnCount()) return {};
    return columns_[column].heading;
}

int ListStore::ColumnWidth(int column) const {
    if (column < 0 || column >= ColumnCount()) return 0;
    return columns_[column].width;
}

Align ListStore::ColumnAlign(int column) const {
    if (column <= 0 || column >= ColumnCount()) return Align::Left;
    return columns_[column].align;
}

void ListStore::FillLastColumn() {
    fillsLast_ = true;
    if (columns_.empty()) return;
    int others = 0;
    for (std::size_t c = 0; c + 1 < columns_.size(); ++c) others += columns_[c].width;
    // Takes the rest of the width; a list too narrow for its columns keeps the last one as it is.
    columns_.back().width = std::max(columns_.back().width, listWidth_ - others);
}

int ListStore::InsertRow(int row, std::string_view text) {
    row = RowInsertPosition(row);
    std::vector<std::string> cells(std::max<std::size_t>(columns_.size(), 1));
    cells[0] = text;
    rows_.insert(rows_.begin() + row, std::move(cells));
    return row;
}

bool ListStore::ChangeCell(int row, int column, std::string_view text) {
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return false;
    std::string& cell = rows_[row][column];
    if (cell == text) return false;
    cell = text;
    return true;
}

std::string ListStore::Cell(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return {};
    return rows_[row][column];
}

void ListStore::SetFirstHeading(std::string_view heading) {
    if (!columns_.empty()) columns_[0].heading = heading;
}

void ListStore::SetRedraw(bool on) {
    if (!on) ++redrawSuspendCount_;
    redraw_ = on;
}

std::vector<int> ListStore::SortOrder(const std::function<bool(int rowA, int rowB)>& less) const {
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), less);
    return order;
}

void ListStore::Reorder(const std::vector<int>& order) {
    std::deque<std::vector<std::string>> sorted;
    for (int index : order) sorted.push_back(std::move(rows_[index]));
    rows_.swap(sorted);
}

void ListStore::SortRows(const std::function<bool(int rowA, int rowB)>& less) {
    const std::vector<int> order = SortOrder(less);
    if (!std::is_sorted(order.begin(), order.end())) Reorder(order);
}

}  // namespace obrenta::present
