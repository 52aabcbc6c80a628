#pragma once

#include <QWidget>

#include "present/ChartContent.h"

class QAreaSeries;
class QCategoryAxis;
class QChart;
class QChartView;
class QLineSeries;
class QValueAxis;

namespace obrenta::ui {

// The period chart of the 推移 page: the average rank per period as a line over a shaded 95%
// band, and a dashed line at the middle rank; the rank axis runs downward so that better is up.
// Hovering a point shows its period, games and interval.
class PeriodChartView : public QWidget {
    Q_OBJECT

public:
    explicit PeriodChartView(QWidget* parent = nullptr);

    void SetContent(const present::PeriodChartContent& content);
    const present::PeriodChartContent& content() const { return content_; }
    QChartView* view() const { return view_; }
    QChart* chart() const { return chart_; }
    // The band's points as drawn: lower and upper bound per period, oldest first.
    int BandPointCount() const;

private:
    void ShowPoint(int index, bool shown);

    present::PeriodChartContent content_;
    QChart* chart_;
    QChartView* view_;
    QLineSeries* line_;
    QLineSeries* upper_;
    QLineSeries* lower_;
    QAreaSeries* band_;
    QLineSeries* reference_;
    QCategoryAxis* xAxis_;
    QValueAxis* yAxis_;
};

}  // namespace obrenta::ui
