#include "present/ListSort.h"

#include <algorithm>
#include <string>
#include <vector>

#include "present/CellFormat.h"

namespace obrenta::present {

std::span<std::int32_t> SortStates(ListId list, settings::AppSettings& settings) {
    const SortStatesOf states = Definition(list).sortStates;
    if (states == nullptr) return {};
    return states(settings);
}

std::span<const std::int32_t> SortStates(ListId list, const settings::AppSettings& settings) {
    // The same fields, handed out read-only.
    return SortStates(list, const_cast<settings::AppSettings&>(settings));
}

void OnColumnClick(ListId list, int column, ListView& view, settings::AppSettings& settings) {
    std::span<std::int32_t> states = SortStates(list, settings);
    if (column < 0 || static_cast<std::size_t>(column) >= states.size()) return;
    std::int32_t old = states[column];
    std::fill(states.begin(), states.end(), 0);
    if (old == 0 || old == 2) {
        states[column] = 1;
    } else if (old == 1) {
        states[column] = 2;
    }
    // Starting from the order a refill leaves (its first column's, a name or a period), equal
    // keys end up as a refill with the saved state puts them, so a row does not swap places
    // with its equals when the log is read again.
    if (column != 0 && states[column] != 0) SortList(list, 0, Definition(list).filledIn, view);
    SortList(list, column, states[column], view);
}

void SortList(ListId list, int column, int direction, ListView& view) {
    const std::vector<ColumnSort>& sorts = Definition(list).sorts;
    if (column < 0 || column >= view.ColumnCount() || static_cast<std::size_t>(column) >= sorts.size())
        return;
    const SortBy kind = sorts[column].by;
    const int keyColumn = sorts[column].keyColumn;
    const bool firstOrder = direction == 1;
    const int rows = view.RowCount();
    // Keys are read once from the shown texts, so the order is that of the values as shown.
    if (kind == SortBy::Text) {
        std::vector<std::string> keys(rows);
        for (int r = 0; r < rows; ++r) keys[r] = view.Cell(r, keyColumn);
        // std::string compares as unsigned bytes, a prefix first.
        view.SortRows([&](int a, int b) { return firstOrder ? keys[a] < keys[b] : keys[b] < keys[a]; });
    } else if (kind == SortBy::Integer) {
        std::vector<std::int64_t> keys(rows);
        for (int r = 0; r < rows; ++r) keys[r] = LeadingInteger(view.Cell(r, keyColumn));
        view.SortRows([&](int a, int b) { return firstOrder ? keys[a] > keys[b] : keys[a] < keys[b]; });
    } else if (kind == SortBy::Decimal) {
        std::vector<double> keys(rows);
        for (int r = 0; r < rows; ++r) keys[r] = LeadingDouble(view.Cell(r, keyColumn));
        view.SortRows([&](int a, int b) { return firstOrder ? keys[a] > keys[b] : keys[a] < keys[b]; });
    }
}

void ApplySavedSort(ListId list, ListView& view, std::span<const std::int32_t> states) {
    int columns = std::min(static_cast<int>(states.size()), view.ColumnCount());
    for (int c = 0; c < columns; ++c) {
        if (states[c] != 0) SortList(list, c, states[c], view);
    }
}

}  // namespace obrenta::present
