#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "present/ChartControl.h"

namespace obrenta::present {

// A chart component that draws nothing and records what it was given: the grid of values and
// labels, the legend and statistics-line settings and the axis settings. Used by the text
// report, the tests and the benchmarks. Rows and series are 1-based, as on the interface.
class InMemoryChart : public ChartControl {
public:
    void SetRowCount(int rows) override;
    void SetRow(int row) override { row_ = row; }
    void SetColumn(int column) override { column_ = column; }
    void SetData(std::string_view value) override;
    void SetRowLabel(std::string_view label) override;
    void SetShowLegend(bool show) override { showLegend = show; }
    void SetSeriesLegendText(int series, std::string_view text) override;
    void SetStatLineFlag(int series, int flag) override { statLineFlags[series] = flag; }
    void SetStatLineStyle(int series, int lineKind, int penStyle) override;
    void SetCategoryScaleAuto(bool automatic) override { categoryScaleAuto = automatic; }
    void SetDivisionsPerLabel(int divisions) override { divisionsPerLabel = divisions; }
    void SetDivisionsPerTick(int divisions) override { divisionsPerTick = divisions; }
    void SetLabelTick(bool labelTick) override { this->labelTick = labelTick; }
    void SetValueMinimum(double minimum) override;
    void SetValueMaximum(double maximum) override;
    void SetTickLength(Axis axis, float length) override;
    void SetTickStyle(Axis axis, int style) override;
    void SetColumnSpacing(float spacing) override { columnSpacing = spacing; }
    void SetRedraw(bool on) override;
    void Invalidate() override { ++invalidateCount; }

    int RowCount() const { return static_cast<int>(rowLabels_.size()); }
    // The value text of a cell, "" when never set.
    std::string Value(int row, int series) const;
    std::string RowLabel(int row) const;
    // The statistics-line flag of a series, 0 when never set.
    int StatLineFlag(int series) const;
    std::string LegendText(int series) const;

    // Everything the chart was told besides its grid; unset values stay empty.
    std::optional<bool> showLegend;
    std::map<int, std::string> legendTexts;
    std::map<int, int> statLineFlags;
    std::map<int, std::pair<int, int>> statLineStyles;  // series -> (line kind, pen style)
    std::optional<bool> categoryScaleAuto;
    std::optional<int> divisionsPerLabel;
    std::optional<int> divisionsPerTick;
    std::optional<bool> labelTick;
    std::optional<double> valueMinimum;
    std::optional<double> valueMaximum;
    int valueMinimumSets = 0;
    int valueMaximumSets = 0;
    std::array<std::optional<float>, 2> tickLength;
    std::array<std::optional<int>, 2> tickStyle;
    std::optional<float> columnSpacing;
    bool redraw = true;
    int redrawSuspendCount = 0;
    int invalidateCount = 0;

private:
    bool CurrentCellValid() const;

    int row_ = 1;
    int column_ = 1;
    std::vector<std::string> rowLabels_;
    std::vector<std::vector<std::string>> series_;  // [series - 1][row - 1]
};

}  // namespace obrenta::present
