#include "ui/ListModel.h"

#include <algorithm>
#include <numeric>

#include "ui/QtText.h"

namespace obrenta::ui {

ListModel::ListModel(QObject* parent) : QAbstractTableModel(parent) {}

void ListModel::InsertColumn(int column, std::string_view heading, int width, present::Align align) {
    column = std::clamp(column, 0, ColumnCount());
    if (Live()) beginInsertColumns(QModelIndex(), column, column);
    columns_.insert(columns_.begin() + column, Column{std::string(heading), std::max(width, 0), align});
    for (auto& row : rows_) {
        if (static_cast<int>(row.size()) >= column) row.insert(row.begin() + column, std::string());
    }
    if (Live()) endInsertColumns();
    emit ColumnLayoutChanged();
}

std::string ListModel::Heading(int column) const {
    if (column < 0 || column >= ColumnCount()) return {};
    return columns_[column].heading;
}

int ListModel::ColumnWidth(int column) const {
    if (column < 0 || column >= ColumnCount()) return 0;
    return columns_[column].width;
}

void ListModel::FillLastColumn() {
    fillLast_ = true;
    emit ColumnLayoutChanged();
}

present::Align ListModel::ColumnAlign(int column) const {
    if (column <= 0 || column >= ColumnCount()) return present::Align::Left;
    return columns_[column].align;
}

int ListModel::InsertRow(int row, std::string_view text) {
    row = std::clamp(row, 0, RowCount());
    if (Live()) beginInsertRows(QModelIndex(), row, row);
    std::vector<std::string> cells(std::max<std::size_t>(columns_.size(), 1));
    cells[0] = std::string(text);
    rows_.insert(rows_.begin() + row, std::move(cells));
    if (Live()) endInsertRows();
    return row;
}

void ListModel::SetCell(int row, int column, std::string_view text) {
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return;
    auto& cells = rows_[row];
    if (static_cast<int>(cells.size()) <= column) cells.resize(column + 1);
    if (cells[column] == text) return;
    cells[column] = std::string(text);
    if (Live()) {
        const QModelIndex changed = index(row, column);
        emit dataChanged(changed, changed, {Qt::DisplayRole});
    }
}

void ListModel::DeleteAllRows() {
    if (rows_.empty()) return;
    if (Live()) beginResetModel();
    rows_.clear();
    if (Live()) endResetModel();
}

std::string ListModel::Cell(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0) return {};
    const auto& cells = rows_[row];
    return column < static_cast<int>(cells.size()) ? cells[column] : std::string();
}

void ListModel::EnsureVisible(int row) {
    if (row < 0 || row >= RowCount()) return;
    // While the model is being rebuilt the view has no rows to scroll to yet.
    if (!Live()) {
        pendingVisibleRow_ = row;
        return;
    }
    emit EnsureVisibleRequested(row);
}

void ListModel::SetFirstHeading(std::string_view heading) {
    if (columns_.empty()) return;
    columns_[0].heading = std::string(heading);
    if (Live()) emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void ListModel::SetRedraw(bool on) {
    // Suspending turns a whole refill into one model reset, which a view with tens of thousands
    // of rows handles far faster than a signal per inserted row.
    if (!on) {
        if (redrawOff_++ == 0) beginResetModel();
        return;
    }
    if (redrawOff_ == 0) return;
    if (--redrawOff_ > 0) return;
    endResetModel();
    emit ColumnLayoutChanged();
    if (pendingVisibleRow_ >= 0) {
        const int row = pendingVisibleRow_;
        pendingVisibleRow_ = -1;
        if (row < RowCount()) emit EnsureVisibleRequested(row);
    }
}

void ListModel::SortRows(const std::function<bool(int rowA, int rowB)>& less) {
    const int count = RowCount();
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), less);
    if (std::is_sorted(order.begin(), order.end())) return;

    if (Live()) emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::deque<std::vector<std::string>> sorted;
    for (int oldRow : order) sorted.push_back(std::move(rows_[oldRow]));
    rows_.swap(sorted);
    if (Live()) {
        std::vector<int> newRowOf(count);
        for (int newRow = 0; newRow < count; ++newRow) newRowOf[order[newRow]] = newRow;
        const QModelIndexList before = persistentIndexList();
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex& old : before) after.append(index(newRowOf[old.row()], old.column()));
        changePersistentIndexList(before, after);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }
}

int ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RowCount();
}

int ListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount();
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= RowCount() || index.column() >= ColumnCount()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return ToQString(Cell(index.row(), index.column()));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(
                Qt::AlignVCenter |
                (ColumnAlign(index.column()) == present::Align::Right ? Qt::AlignRight : Qt::AlignLeft));
        default:
            return {};
    }
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return ToQString(columns_[section].heading);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(
                Qt::AlignVCenter |
                (ColumnAlign(section) == present::Align::Right ? Qt::AlignRight : Qt::AlignLeft));
        default:
            return {};
    }
}

}  // namespace obrenta::ui
