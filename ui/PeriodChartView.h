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
// Hovering a point shows its period, games and interval while the pointer stays there.
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
    QList<QPointF> BandUpperPoints() const;
    QList<QPointF> BandLowerPoints() const;
    // Where a period's point sits in the view's viewport; the hover text of the period nearest
    // to a point of the viewport (empty outside the plot).
    QPoint PointPosition(int index) const;
    QString ToolTipAt(QPoint viewportPos) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowToolTip(QPoint viewportPos);

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
