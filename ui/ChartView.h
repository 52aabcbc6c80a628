#pragma once

#include <QObject>

#include "present/ChartControl.h"

class QAbstractAxis;
class QChart;
class QChartView;
class QWidget;

namespace obrenta::ui {

// The chart component on Qt Charts: it keeps the content present/ hands over and draws it at
// once. LineChartView and BarChartView decide how.
class ChartView : public QObject, public present::ChartControl {
    Q_OBJECT

public:
    ~ChartView() override;

    QChartView* view() const { return view_; }
    QChart* chart() const { return chart_; }
    const present::ChartContent& content() const { return content_; }

    // present::ChartControl
    void SetContent(const present::ChartContent& content) override;
    void SetRegressionLine(int series, bool on) override;

protected:
    ChartView();
    // Puts the chart, with every axis and series added, into its view, and draws it.
    void CreateView(QWidget* parent);
    // Hands the content to Qt Charts.
    virtual void Draw() = 0;
    // Places the labels of the horizontal axis for the chart's present width.
    virtual void UpdateCategoryLabels() = 0;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Redraws everything: the content, then the legend.
    void Redraw();

    present::ChartContent content_;
    QChart* chart_;
    QChartView* view_ = nullptr;
};

// 1, 2, 5, 10, 20, 50, ... : the smallest such step not below raw.
double NiceStep(double raw);
void StyleAxis(QAbstractAxis* axis);

}  // namespace obrenta::ui
