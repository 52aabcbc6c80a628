#include "ui/ListModel.h"

#include <algorithm>

#include "ui/QtText.h"

namespace obrenta::ui {

ListModel::ListModel(QObject* parent) : QAbstractTableModel(parent) {}

void ListModel::InsertColumn(int column, std::string_view heading, int width, present::Align align) {
    column = ColumnInsertPosition(column);
    if (Live()) {
        beginInsertColumns(QModelIndex(), column, column);
    } else {
        BeginSuspendedReset();
    }
    ListStore::InsertColumn(column, heading, width, align);
    if (Live()) endInsertColumns();
    emit ColumnLayoutChanged();
}

void ListModel::FillLastColumn() {
    ListStore::FillLastColumn();
    emit ColumnLayoutChanged();
}

int ListModel::InsertRow(int row, std::string_view text) {
    row = RowInsertPosition(row);
    if (Live()) {
        beginInsertRows(QModelIndex(), row, row);
    } else {
        BeginSuspendedReset();
    }
    ListStore::InsertRow(row, text);
    if (Live()) endInsertRows();
    return row;
}

void ListModel::SetCell(int row, int column, std::string_view text) {
    if (!ChangeCell(row, column, text)) return;
    if (!Live()) {
        cellsChanged_ = true;
        return;
    }
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

void ListModel::DeleteAllRows() {
    if (RowCount() == 0) return;
    if (Live()) {
        beginResetModel();
    } else {
        BeginSuspendedReset();
    }
    ListStore::DeleteAllRows();
    if (Live()) endResetModel();
}

void ListModel::EnsureVisible(int row) {
    if (row < 0 || row >= RowCount()) return;
    ListStore::EnsureVisible(row);
    // While the model is being rebuilt the view has no rows to scroll to yet.
    if (!Live()) {
        pendingVisibleRow_ = row;
        return;
    }
    emit EnsureVisibleRequested(row);
}

void ListModel::SetFirstHeading(std::string_view heading) {
    if (ColumnCount() == 0) return;
    ListStore::SetFirstHeading(heading);
    if (Live()) {
        emit headerDataChanged(Qt::Horizontal, 0, 0);
    } else {
        headingChanged_ = true;
    }
}

void ListModel::SetRedraw(bool on) {
    ListStore::SetRedraw(on);
    // Suspending turns a whole refill into one model reset, which a view with tens of thousands
    // of rows handles far faster than a signal per inserted row. A refill that only rewrites
    // cells is no reset at all, so its views keep their selection and scroll position.
    if (!on) {
        ++redrawOff_;
        return;
    }
    if (redrawOff_ == 0) return;
    if (--redrawOff_ > 0) return;
    if (resetBegun_) {
        resetBegun_ = false;
        endResetModel();
    } else {
        if (cellsChanged_ && RowCount() > 0 && ColumnCount() > 0)
            emit dataChanged(index(0, 0), index(RowCount() - 1, ColumnCount() - 1), {Qt::DisplayRole});
        if (headingChanged_) emit headerDataChanged(Qt::Horizontal, 0, 0);
    }
    cellsChanged_ = false;
    headingChanged_ = false;
    emit ColumnLayoutChanged();
    if (pendingVisibleRow_ >= 0) {
        const int row = pendingVisibleRow_;
        pendingVisibleRow_ = -1;
        if (row < RowCount()) emit EnsureVisibleRequested(row);
    }
}

void ListModel::SortRows(const std::function<bool(int rowA, int rowB)>& less) {
    const std::vector<int> order = SortOrder(less);
    if (std::is_sorted(order.begin(), order.end())) return;
    if (!Live()) {
        BeginSuspendedReset();
        Reorder(order);
        return;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    Reorder(order);
    std::vector<int> newRowOf(order.size());
    for (std::size_t newRow = 0; newRow < order.size(); ++newRow) newRowOf[order[newRow]] = newRow;
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before) after.append(index(newRowOf[old.row()], old.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ListModel::BeginSuspendedReset() {
    if (resetBegun_) return;
    resetBegun_ = true;
    beginResetModel();
}

int ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RowCount();
}

int ListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount();
}

namespace {

QVariant AlignmentOf(present::Align align) {
    return QVariant::fromValue(Qt::AlignVCenter |
                               (align == present::Align::Right ? Qt::AlignRight : Qt::AlignLeft));
}

}  // namespace

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= RowCount() || index.column() >= ColumnCount()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return ToQString(Cell(index.row(), index.column()));
        case Qt::TextAlignmentRole:
            return AlignmentOf(ColumnAlign(index.column()));
        default:
            return {};
    }
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return ToQString(Heading(section));
        case Qt::TextAlignmentRole:
            return AlignmentOf(ColumnAlign(section));
        default:
            return {};
    }
}

}  // namespace obrenta::ui
