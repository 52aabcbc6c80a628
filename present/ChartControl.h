#pragma once

#include <string_view>

namespace obrenta::present {

enum class Axis { Category = 0, Value = 1 };

// The statistics-line flag that draws a regression line, and the pen style of a solid line.
inline constexpr int kStatLineRegression = 16;
inline constexpr int kPenSolid = 1;

// The chart component as the pages drive it: a grid of rows (categories) and columns (series),
// a label per row, a legend text per series, a category axis and a value axis. Rows and
// columns are 1-based, as the component counts them. Values arrive as decimal integer text.
class ChartControl {
public:
    virtual ~ChartControl() = default;

    virtual void SetRowCount(int rows) = 0;
    virtual void SetRow(int row) = 0;
    virtual void SetColumn(int column) = 0;
    virtual void SetData(std::string_view value) = 0;
    virtual void SetRowLabel(std::string_view label) = 0;
    virtual void SetShowLegend(bool show) = 0;
    virtual void SetSeriesLegendText(int series, std::string_view text) = 0;
    virtual void SetStatLineFlag(int series, int flag) = 0;
    virtual void SetStatLineStyle(int series, int lineKind, int penStyle) = 0;
    virtual void SetCategoryScaleAuto(bool automatic) = 0;
    virtual void SetDivisionsPerLabel(int divisions) = 0;
    virtual void SetDivisionsPerTick(int divisions) = 0;
    virtual void SetLabelTick(bool labelTick) = 0;
    virtual void SetValueMinimum(double minimum) = 0;
    virtual void SetValueMaximum(double maximum) = 0;
    virtual void SetTickLength(Axis axis, float length) = 0;
    virtual void SetTickStyle(Axis axis, int style) = 0;
    virtual void SetColumnSpacing(float spacing) = 0;
    // Suspends (false) and resumes (true) drawing around a fill.
    virtual void SetRedraw(bool on) = 0;
    virtual void Invalidate() = 0;
};

}  // namespace obrenta::present
