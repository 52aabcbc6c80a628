#include "ui/ChartView.h"

#include <QAbstractAxis>
#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QLegend>
#include <QTimer>
#include <cmath>

#include "ui/UiStyle.h"

namespace obrenta::ui {

double NiceStep(double raw) {
    if (!(raw > 0)) return 1;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * magnitude >= raw) return factor * magnitude;
    }
    return 10 * magnitude;
}

void StyleAxis(QAbstractAxis* axis) {
    axis->setLabelsFont(UiFont());
    axis->setTitleFont(UiFont());
    axis->setGridLineColor(QColor(0xdd, 0xdd, 0xdd));
}

ChartView::ChartView() {
    chart_ = new QChart();
    chart_->setAnimationOptions(QChart::NoAnimation);
    chart_->setBackgroundRoundness(0);
    chart_->setMargins(QMargins(4, 4, 4, 4));
    chart_->legend()->setFont(UiFont());
    chart_->legend()->setAlignment(Qt::AlignBottom);
}

ChartView::~ChartView() = default;

void ChartView::CreateView(QWidget* parent) {
    setParent(parent);
    view_ = new QChartView(chart_, parent);
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setMinimumSize(120, 90);
    view_->installEventFilter(this);
    Redraw();
}

void ChartView::Redraw() {
    Draw();
    chart_->legend()->setVisible(content_.showLegend);
}

void ChartView::SetContent(const present::ChartContent& content) {
    content_ = content;
    Redraw();
    view_->viewport()->update();
}

void ChartView::SetRegressionLine(int series, bool on) {
    present::SetRegressionLine(content_, series, on);
    Redraw();
}

bool ChartView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::Resize) {
        QTimer::singleShot(0, this, [this] { UpdateCategoryLabels(); });
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace obrenta::ui
