#include "ui/PeriodChartView.h"

#include <QApplication>
#include <QAreaSeries>
#include <QBoxLayout>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QHelpEvent>
#include <QLineSeries>
#include <QMenu>
#include <QMouseEvent>
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
    // Four ranks at most: their labels are never cut short, however low the chart.
    yAxis_->setTruncateLabels(false);
    xAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    StyleAxis(xAxis_);
    StyleAxis(yAxis_);
    chart_->legend()->hide();
    chart_->setMargins(QMargins(2, 2, 2, 2));
    view_ = new ChartGraphicsView(chart_, this);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
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
    view_->viewport()->setMouseTracking(true);
    view_->viewport()->installEventFilter(this);
    SetContent({});
}

void PeriodChartView::SetContent(const present::PeriodChartContent& content) {
    content_ = content;
    // The band never runs past the ranks a game can have.
    const auto clip = [&content](double rank) {
        return std::clamp(rank, content.rankMinimum, content.rankMaximum);
    };
    QList<QPointF> line;
    QList<QPointF> upper;
    QList<QPointF> lower;
    for (std::size_t i = 0; i < content.points.size(); ++i) {
        const auto& point = content.points[i];
        const double x = static_cast<double>(i);
        line.append({x, point.avgRank});
        upper.append({x, clip(point.upper)});
        lower.append({x, clip(point.lower)});
    }
    // Half a period beyond the first and the last, so that their labels stand whole under them.
    const double last = std::max<double>(0, static_cast<double>(content.points.size()) - 1);
    for (const QString& label : xAxis_->categoriesLabels()) xAxis_->remove(label);
    xAxis_->setStartValue(-0.5);
    xAxis_->setRange(-0.5, last + 0.5);
    // About eight period labels, whatever the number of periods.
    const std::size_t step = std::max<std::size_t>(1, (content.points.size() + 7) / 8);
    for (std::size_t i = 0; i < content.points.size(); i += step) {
        xAxis_->append(ToQString(content.points[i].label), static_cast<double>(i));
    }
    // A tick and a label at every rank a game can have.
    yAxis_->setRange(content.rankMinimum, content.rankMaximum);
    yAxis_->setTickCount(static_cast<int>(std::lround(content.rankMaximum - content.rankMinimum)) + 1);
    line_->replace(line);
    upper_->replace(upper);
    lower_->replace(lower);
    reference_->clear();
    if (content.referenceRank > 0)
        reference_->append({{-0.5, content.referenceRank}, {last + 0.5, content.referenceRank}});
}

int PeriodChartView::BandPointCount() const {
    return static_cast<int>(upper_->count());
}

QList<QPointF> PeriodChartView::BandUpperPoints() const {
    return upper_->points();
}

QList<QPointF> PeriodChartView::BandLowerPoints() const {
    return lower_->points();
}

QPoint PeriodChartView::PointPosition(int index) const {
    if (index < 0 || index >= static_cast<int>(content_.points.size())) return {};
    const QPointF value(index, content_.points[index].avgRank);
    return view_->mapFromScene(chart_->mapToScene(chart_->mapToPosition(value, line_)));
}

QString PeriodChartView::ToolTipAt(QPoint viewportPos) const {
    const int count = static_cast<int>(content_.points.size());
    const QPointF pos = chart_->mapFromScene(view_->mapToScene(viewportPos));
    if (count == 0 || !chart_->plotArea().adjusted(-6, -6, 6, 6).contains(pos)) return {};
    const double x = chart_->mapToValue(pos, line_).x();
    const int index = std::clamp(static_cast<int>(std::lround(x)), 0, count - 1);
    return ToQString(present::PeriodPointText(content_.points[index]));
}

void PeriodChartView::ShowToolTip(QPoint viewportPos) {
    QWidget* viewport = view_->viewport();
    const QString text = ToolTipAt(viewportPos);
    if (text.isEmpty())
        QToolTip::hideText();
    else if (text != QToolTip::text() || !QToolTip::isVisible())
        QToolTip::showText(viewport->mapToGlobal(viewportPos), text, viewport, QRect(), kToolTipMilliseconds);
}

bool PeriodChartView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_->viewport()) {
        switch (event->type()) {
            case QEvent::MouseMove:
                ShowToolTip(static_cast<QMouseEvent*>(event)->position().toPoint());
                break;
            case QEvent::ToolTip:
                // Answered here: the scene has no hover text of its own and would hide this one.
                ShowToolTip(static_cast<QHelpEvent*>(event)->pos());
                return true;
            case QEvent::Leave:
                QToolTip::hideText();
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace obrenta::ui
