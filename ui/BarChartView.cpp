#include "ui/BarChartView.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QFontMetrics>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "ui/QtText.h"

namespace obrenta::ui {

BarChartView::BarChartView(QWidget* parent) {
    bars_ = new QBarSeries(chart_);
    barSet_ = new QBarSet(QString());
    barSet_->setColor(QColor(0x3a, 0x7c, 0xc4));
    barSet_->setBorderColor(QColor(0x1d, 0x4f, 0x87));
    bars_->append(barSet_);
    chart_->addSeries(bars_);
    categoryAxis_ = new QCategoryAxis(chart_);
    categoryAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    StyleAxis(categoryAxis_);
    chart_->addAxis(categoryAxis_, Qt::AlignBottom);
    countAxis_ = new QValueAxis(chart_);
    countAxis_->setLabelFormat(QStringLiteral("%d"));
    StyleAxis(countAxis_);
    chart_->addAxis(countAxis_, Qt::AlignLeft);
    bars_->attachAxis(categoryAxis_);
    bars_->attachAxis(countAxis_);
    CreateView(parent);
}

void BarChartView::Draw() {
    const int rows = content_.RowCount();
    double highest = 0;
    QList<qreal> counts;
    counts.reserve(rows);
    if (!content_.series.empty()) {
        for (std::int64_t count : content_.series[0].values) {
            counts.append(static_cast<double>(count));
            highest = std::max(highest, static_cast<double>(count));
        }
    }
    const double step = std::max(1.0, NiceStep(highest / 5));
    SetValueAxisTicks(countAxis_, 0, std::max(step, std::ceil(highest / step) * step), step, 0);
    categoryAxis_->setStartValue(-0.5);
    categoryAxis_->setRange(-0.5, std::max(rows, 1) - 0.5);
    categoryAxis_->setGridLineVisible(content_.categoryTickMarks);

    // Spacing is a percentage of a bar's width, as the component counted it.
    bars_->setBarWidth(1.0 / (1.0 + std::max(content_.columnSpacing, 0) / 100.0));
    barSet_->setLabel(content_.series.empty() ? QString() : ToQString(content_.series[0].legendText));
    if (barSet_->count() > 0) barSet_->remove(0, barSet_->count());
    barSet_->append(counts);
    UpdateCategoryLabels();
}

void BarChartView::UpdateCategoryLabels() {
    const int rows = content_.RowCount();
    const double plotWidth = std::max(chart_->plotArea().width(), view_->width() * 0.75);
    for (const QString& label : categoryAxis_->categoriesLabels()) categoryAxis_->remove(label);
    if (rows == 0) return;
    const auto& labels = content_.rowLabels;
    const QFontMetrics metrics(categoryAxis_->labelsFont());
    int widest = 0;
    for (std::int64_t label : labels)
        widest = std::max(widest, metrics.horizontalAdvance(QString::number(label)));
    const double fits = std::max(1.0, plotWidth / (widest + 12.0));
    const int every = static_cast<int>(NiceStep(std::max(1.0, rows / fits)));
    // Labels in even steps start on a round value (1400, not 1390).
    int first = 0;
    if (rows > 1) {
        const std::int64_t stride = (labels[1] - labels[0]) * every;
        for (int i = 0; stride > 0 && i < every && i < rows; ++i) {
            if (labels[i] % stride == 0) {
                first = i;
                break;
            }
        }
    }
    for (int i = first; i < rows; i += every) {
        const QString label = QString::number(labels[i]);
        if (!categoryAxis_->categoriesLabels().contains(label)) categoryAxis_->append(label, i);
    }
}

int BarChartView::NearestRow(QPointF chartPos) const {
    const int rows = content_.RowCount();
    if (rows == 0 || !chart_->plotArea().contains(chartPos)) return -1;
    const double x = chart_->mapToValue(chartPos, bars_).x();
    return std::clamp(static_cast<int>(std::round(x)), 0, rows - 1);
}

std::string BarChartView::RowToolTip(int row) const {
    return present::RatingDistToolTip(content_, row);
}

QPoint BarChartView::RowPosition(int row) const {
    if (row < 0 || row >= content_.RowCount() || content_.series.empty()) return {};
    const double half = static_cast<double>(content_.series[0].values[row]) / 2;
    return FromChart(chart_->mapToPosition(QPointF(row, half), bars_));
}

int BarChartView::DrawnBarCount() const {
    return static_cast<int>(barSet_->count());
}

}  // namespace obrenta::ui
