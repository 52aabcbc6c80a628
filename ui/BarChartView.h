#pragma once

#include "ui/ChartView.h"

class QBarSeries;
class QBarSet;
class QCategoryAxis;
class QValueAxis;

namespace obrenta::ui {

// A rating histogram: the first series as bars over the row labels, as wide as the content's
// column spacing leaves them (touching at 0), with a count axis of round steps.
class BarChartView : public ChartView {
    Q_OBJECT

public:
    explicit BarChartView(QWidget* parent = nullptr);

    int DrawnBarCount() const;
    QPoint RowPosition(int row) const override;

protected:
    void Draw() override;
    void UpdateCategoryLabels() override;
    int NearestRow(QPointF chartPos) const override;
    std::string RowToolTip(int row) const override;

private:
    QBarSeries* bars_ = nullptr;
    QBarSet* barSet_ = nullptr;
    QCategoryAxis* categoryAxis_ = nullptr;
    QValueAxis* countAxis_ = nullptr;
};

}  // namespace obrenta::ui
