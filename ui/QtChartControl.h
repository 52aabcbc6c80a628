#pragma once

#include <QObject>
#include <array>
#include <string>
#include <vector>

#include "present/ChartControl.h"

class QBarSeries;
class QBarSet;
class QCategoryAxis;
class QChart;
class QChartView;
class QLineSeries;
class QValueAxis;
class QWidget;

namespace obrenta::ui {

// The chart component on Qt Charts. It keeps the grid that present/ writes (rows, series,
// labels, axis settings) and turns it into Qt Charts objects on Flush: a line chart of up to two
// series over numeric axes, or one series of touching bars. Regression lines are least-squares
// lines through a series' points, drawn when the series' statistics-line flag asks for one.
class QtChartControl : public QObject, public present::ChartControl {
    Q_OBJECT

public:
    enum class Kind { Line, Bar };
    static constexpr int kMaxSeries = 2;

    QtChartControl(Kind kind, int seriesCount, QWidget* parent = nullptr);
    ~QtChartControl() override;

    QChartView* view() const { return view_; }
    QChart* chart() const { return chart_; }

    // present::ChartControl
    void SetRowCount(int rows) override;
    void SetRow(int row) override;
    void SetColumn(int column) override;
    void SetData(std::string_view value) override;
    void SetRowLabel(std::string_view label) override;
    void SetShowLegend(bool show) override;
    void SetSeriesLegendText(int series, std::string_view text) override;
    void SetStatLineFlag(int series, int flag) override;
    void SetStatLineStyle(int series, int lineKind, int penStyle) override;
    void SetCategoryScaleAuto(bool automatic) override;
    void SetDivisionsPerLabel(int divisions) override;
    void SetDivisionsPerTick(int divisions) override;
    void SetLabelTick(bool labelTick) override;
    void SetValueMinimum(double minimum) override;
    void SetValueMaximum(double maximum) override;
    void SetTickLength(present::Axis axis, float length) override;
    void SetTickStyle(present::Axis axis, int style) override;
    void SetColumnSpacing(float spacing) override;
    void SetRedraw(bool on) override;
    void Invalidate() override;

    // Hands everything written so far to Qt Charts. Changes made while drawing is on are
    // flushed from the event loop as well; a caller that grabs the chart at once calls this.
    void Flush();

    // What the chart holds (rows and series 1-based, as on the interface).
    int RowCount() const { return static_cast<int>(labels_.size()); }
    double Value(int row, int series) const;
    std::string RowLabel(int row) const;
    double ValueMinimum() const { return valueMin_; }
    double ValueMaximum() const { return valueMax_; }
    int StatLineFlag(int series) const;
    bool ShowsLegend() const { return showLegend_; }
    int DivisionsPerTick() const { return divisionsPerTick_; }
    // Whether something written has not reached Qt Charts yet.
    bool Dirty() const { return dirty_; }
    // What Qt Charts draws. A line of very many rows is drawn from fewer points than it has.
    int DrawnPointCount(int series) const;
    bool DrawsRegressionLine(int series) const;
    // The regression line's end points (x = row index from 0); empty when none is drawn.
    std::vector<std::pair<double, double>> RegressionLine(int series) const;
    double DrawnTickInterval() const;
    int DrawnBarCount() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Changed();
    void FlushLine();
    void FlushBar();
    void UpdateCategoryLabels();
    bool ValidSeries(int series) const { return series >= 1 && series <= seriesCount_; }

    Kind kind_;
    int seriesCount_;
    QChartView* view_;
    QChart* chart_;

    // The grid: values_[series - 1][row - 1].
    std::array<std::vector<double>, kMaxSeries> values_;
    std::vector<std::string> labels_;
    int row_ = 1;
    int column_ = 1;
    std::array<std::string, kMaxSeries> legendTexts_;
    std::array<int, kMaxSeries> statLineFlags_{};
    std::array<int, kMaxSeries> statLinePens_{present::kPenSolid, present::kPenSolid};
    bool showLegend_ = false;
    bool categoryAuto_ = true;
    int divisionsPerLabel_ = 1;
    int divisionsPerTick_ = 1;
    double valueMin_ = 0;
    double valueMax_ = 100;
    std::array<int, 2> tickStyles_{1, 1};
    float columnSpacing_ = 30;
    int redrawOff_ = 0;
    bool dirty_ = true;
    bool flushQueued_ = false;

    // Line charts.
    std::array<QLineSeries*, kMaxSeries> lines_{};
    std::array<QLineSeries*, kMaxSeries> trends_{};
    QValueAxis* xAxis_ = nullptr;
    std::array<QValueAxis*, kMaxSeries> yAxes_{};
    // Bar charts.
    QBarSeries* bars_ = nullptr;
    QBarSet* barSet_ = nullptr;
    QCategoryAxis* categoryAxis_ = nullptr;
    QValueAxis* countAxis_ = nullptr;
};

}  // namespace obrenta::ui
