#pragma once

#include <array>
#include <utility>
#include <vector>

#include "ui/ChartView.h"

class QLineSeries;
class QValueAxis;

namespace obrenta::ui {

// The score chart: two series as lines over numeric axes, the first on the value axis present/
// bounds, the second (the running points total) on an axis of its own on the right. A series
// flagged for it gets its least-squares regression line.
class LineChartView : public ChartView {
    Q_OBJECT

public:
    static constexpr int kSeries = 2;

    explicit LineChartView(QWidget* parent = nullptr);

    // What Qt Charts draws (series 1-based). A line of very many rows is drawn from fewer points
    // than it has.
    int DrawnPointCount(int series) const;
    bool DrawsRegressionLine(int series) const;
    // The regression line's end points (x = row index from 0); empty when none is drawn.
    std::vector<std::pair<double, double>> RegressionLine(int series) const;
    double DrawnTickInterval() const;
    bool DrawsPointMarkers() const;
    QPoint RowPosition(int row) const override;

    // Point markers are drawn when at most this many rows are in view.
    static constexpr int kMarkerRows = 100;

protected:
    void Draw() override;
    void UpdateCategoryLabels() override;
    int NearestRow(QPointF chartPos) const override;
    std::string RowToolTip(int row) const override;
    bool Zooms() const override { return true; }
    double AxisValueAt(QPoint viewportPos) const override;
    void ApplyZoom() override;

private:
    // The horizontal axis' range and labels for the rows in view; the markers for as many rows.
    void SetGameAxis();
    // The spacing of the game labels for the rows in view at the chart's present width.
    double GameTickInterval() const;
    // The lines' points for the rows in view, only when the whole line is drawn from fewer points.
    void ReplaceZoomedPoints();

    std::array<QLineSeries*, kSeries> lines_{};
    std::array<QLineSeries*, kSeries> trends_{};
    QValueAxis* xAxis_ = nullptr;
    std::array<QValueAxis*, kSeries> yAxes_{};
};

}  // namespace obrenta::ui
