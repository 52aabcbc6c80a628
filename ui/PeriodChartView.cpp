#include "ui/PeriodChartView.h"

#include <QApplication>
#include <QAreaSeries>
#include <QBoxLayout>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QCursor>
#include <QLineSeries>
#include <QMenu>
#include <QPen>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "ui/ChartView.h"
#include "ui/QtText.h"

namespace obrenta::ui {

PeriodChartView::PeriodChartView(QWidget* parent)
    : QWidget(parent),
      chart_(new QChart()),
      line_(new QLineSeries()),
      upper_(new QLineSeries()),
      lower_(new QLineSeries()),
      band_(new QAreaSeries(upper_, lower_)),
      reference_(new QLineSeries()),
      xAxis_(new QCategoryAxis()),
      yAxis_(new QValueAxis()) {
    QColor shade(70, 120, 200, 60);
    band_->setBrush(shade);
    band_->setPen(Qt::NoPen);
    line_->setPen(QPen(QColor(40, 80, 170), 2));
    line_->setPointsVisible(true);
    QPen dashed(Qt::darkGray, 1, Qt::DashLine);
    reference_->setPen(dashed);
    chart_->addSeries(band_);
    chart_->addSeries(reference_);
    chart_->addSeries(line_);
    chart_->addAxis(xAxis_, Qt::AlignBottom);
    chart_->addAxis(yAxis_, Qt::AlignLeft);
    for (QAbstractSeries* series : std::initializer_list<QAbstractSeries*>{band_, reference_, line_}) {
        series->attachAxis(xAxis_);
        series->attachAxis(yAxis_);
    }
    yAxis_->setReverse(true);
    yAxis_->setLabelFormat(QStringLiteral("%.0f"));
    xAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    StyleAxis(xAxis_);
    StyleAxis(yAxis_);
    chart_->legend()->hide();
    chart_->setMargins(QMargins(2, 2, 2, 2));
    view_ = new QChartView(chart_, this);
    view_->setRenderHint(QPainter::Antialiasing);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    // The same picture commands as every chart: save as PNG or SVG, copy.
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, [this](QPoint pos) {
        QMenu menu(view_);
        menu.addAction(QStringLiteral("画像として保存..."), this,
                       [this] { SaveChartImageAs(view_, QStringLiteral("PeriodChart")); });
        menu.addAction(QStringLiteral("コピー"), this,
                       [this] { QApplication::clipboard()->setImage(ChartImage(view_)); });
        menu.exec(view_->mapToGlobal(pos));
    });
    connect(line_, &QLineSeries::hovered, this, [this](const QPointF& point, bool state) {
        ShowPoint(static_cast<int>(std::lround(point.x())), state);
    });
    SetContent({});
}

void PeriodChartView::SetContent(const present::PeriodChartContent& content) {
    content_ = content;
    QList<QPointF> line;
    QList<QPointF> upper;
    QList<QPointF> lower;
    for (std::size_t i = 0; i < content.points.size(); ++i) {
        const auto& point = content.points[i];
        const double x = static_cast<double>(i);
        line.append({x, point.avgRank});
        upper.append({x, point.upper});
        lower.append({x, point.lower});
    }
    line_->replace(line);
    upper_->replace(upper);
    lower_->replace(lower);
    const double last = std::max<double>(1, static_cast<double>(content.points.size()) - 1);
    reference_->clear();
    if (content.referenceRank > 0)
        reference_->append({{0, content.referenceRank}, {last, content.referenceRank}});
    for (const QString& label : xAxis_->categoriesLabels()) xAxis_->remove(label);
    // About eight period labels, whatever the number of periods.
    const std::size_t step = std::max<std::size_t>(1, (content.points.size() + 7) / 8);
    for (std::size_t i = 0; i < content.points.size(); i += step) {
        xAxis_->append(ToQString(content.points[i].label), static_cast<double>(i));
    }
    xAxis_->setStartValue(0);
    xAxis_->setRange(0, last);
    yAxis_->setRange(content.rankMinimum, content.rankMaximum);
    // A tick at every whole rank.
    yAxis_->setTickCount(static_cast<int>(std::lround(content.rankMaximum - content.rankMinimum)) + 1);
}

int PeriodChartView::BandPointCount() const {
    return static_cast<int>(upper_->count());
}

void PeriodChartView::ShowPoint(int index, bool shown) {
    if (!shown || index < 0 || index >= static_cast<int>(content_.points.size())) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(QCursor::pos(), ToQString(present::PeriodPointText(content_.points[index])), view_);
}

}  // namespace obrenta::ui
