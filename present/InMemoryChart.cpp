#include "present/InMemoryChart.h"

#include <algorithm>

namespace obrenta::present {

void InMemoryChart::SetRowCount(int rows) {
    rows = std::max(rows, 0);
    rowLabels_.resize(rows);
    for (auto& values : series_) values.resize(rows);
}

bool InMemoryChart::CurrentCellValid() const {
    return row_ >= 1 && row_ <= RowCount() && column_ >= 1;
}

void InMemoryChart::SetData(std::string_view value) {
    if (!CurrentCellValid()) return;
    if (static_cast<std::size_t>(column_) > series_.size()) {
        series_.resize(column_, std::vector<std::string>(rowLabels_.size()));
    }
    series_[column_ - 1][row_ - 1] = value;
}

void InMemoryChart::SetRowLabel(std::string_view label) {
    if (row_ >= 1 && row_ <= RowCount()) rowLabels_[row_ - 1] = label;
}

void InMemoryChart::SetSeriesLegendText(int series, std::string_view text) {
    legendTexts[series] = std::string(text);
}

void InMemoryChart::SetStatLineStyle(int series, int lineKind, int penStyle) {
    statLineStyles[series] = {lineKind, penStyle};
}

void InMemoryChart::SetValueMinimum(double minimum) {
    valueMinimum = minimum;
    ++valueMinimumSets;
}

void InMemoryChart::SetValueMaximum(double maximum) {
    valueMaximum = maximum;
    ++valueMaximumSets;
}

void InMemoryChart::SetTickLength(Axis axis, float length) {
    tickLength[static_cast<int>(axis) & 1] = length;
}

void InMemoryChart::SetTickStyle(Axis axis, int style) {
    tickStyle[static_cast<int>(axis) & 1] = style;
}

void InMemoryChart::SetRedraw(bool on) {
    if (!on) ++redrawSuspendCount;
    redraw = on;
}

std::string InMemoryChart::Value(int row, int series) const {
    if (row < 1 || row > RowCount() || series < 1 || static_cast<std::size_t>(series) > series_.size()) {
        return {};
    }
    return series_[series - 1][row - 1];
}

std::string InMemoryChart::RowLabel(int row) const {
    if (row < 1 || row > RowCount()) return {};
    return rowLabels_[row - 1];
}

int InMemoryChart::StatLineFlag(int series) const {
    auto it = statLineFlags.find(series);
    return it == statLineFlags.end() ? 0 : it->second;
}

std::string InMemoryChart::LegendText(int series) const {
    auto it = legendTexts.find(series);
    return it == legendTexts.end() ? std::string() : it->second;
}

}  // namespace obrenta::present
