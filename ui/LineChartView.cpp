#include "ui/LineChartView.h"

#include <QChart>
#include <QChartView>
#include <QFontMetrics>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "present/ChartContent.h"
#include "ui/QtText.h"

namespace obrenta::ui {

namespace {

using Values = std::vector<std::int64_t>;

const std::array<QColor, LineChartView::kSeries> kSeriesColors = {QColor(0x20, 0x5f, 0xb0),
                                                                  QColor(0xd0, 0x6a, 0x10)};

const Values& ValuesOf(const present::ChartContent& content, int s) {
    static const Values none;
    return static_cast<std::size_t>(s) < content.series.size() ? content.series[s].values : none;
}

// The least-squares line through (i, y[i]), i from 0: its ends at the first and last point.
bool FitLine(const Values& y, QPointF& first, QPointF& last) {
    const std::size_t n = y.size();
    if (n < 2) return false;
    const double meanX = (static_cast<double>(n) - 1) / 2;
    double meanY = 0;
    for (std::int64_t v : y) meanY += static_cast<double>(v);
    meanY /= static_cast<double>(n);
    double sxy = 0;
    double sxx = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double dx = static_cast<double>(i) - meanX;
        sxy += dx * (static_cast<double>(y[i]) - meanY);
        sxx += dx * dx;
    }
    const double slope = sxy / sxx;
    const double lastX = static_cast<double>(n - 1);
    first = QPointF(0, meanY - slope * meanX);
    last = QPointF(lastX, meanY + slope * (lastX - meanX));
    return true;
}

// A line of tens of thousands of points is drawn no better than one of a few points per pixel
// column, only far slower: Qt Charts builds a path and a stroke outline of every point on every
// replace and every resize. Above kDrawBuckets * 4 rows the line is drawn from the first, lowest,
// highest and last point of each of kDrawBuckets runs of neighbouring rows, which looks the same
// at any width up to kDrawBuckets pixels. The regression line is still fitted to every row.
constexpr int kDrawBuckets = 2048;

// The points of rows first..last (all of them by default), thinned as above.
QList<QPointF> DrawnPoints(const Values& y, int first = 0, int last = -1) {
    if (last < 0) last = static_cast<int>(y.size()) - 1;
    const int n = last - first + 1;
    QList<QPointF> points;
    if (n <= 4 * kDrawBuckets) {
        points.reserve(std::max(n, 0));
        for (int i = first; i <= last; ++i) points.append(QPointF(i, static_cast<double>(y[i])));
        return points;
    }
    points.reserve(4 * kDrawBuckets);
    for (int b = 0; b < kDrawBuckets; ++b) {
        const int begin = first + static_cast<int>(static_cast<long long>(n) * b / kDrawBuckets);
        const int end = first + static_cast<int>(static_cast<long long>(n) * (b + 1) / kDrawBuckets);
        int low = begin;
        int high = begin;
        for (int i = begin + 1; i < end; ++i) {
            if (y[i] < y[low]) low = i;
            if (y[i] > y[high]) high = i;
        }
        int previous = -1;
        for (int i : {begin, std::min(low, high), std::max(low, high), end - 1}) {
            if (i == previous) continue;
            points.append(QPointF(i, static_cast<double>(y[i])));
            previous = i;
        }
    }
    return points;
}

}  // namespace

LineChartView::LineChartView(QWidget* parent) {
    xAxis_ = new QValueAxis(chart_);
    xAxis_->setLabelFormat(QStringLiteral("%d"));
    StyleAxis(xAxis_);
    chart_->addAxis(xAxis_, Qt::AlignBottom);
    for (int s = 0; s < kSeries; ++s) {
        auto* axis = new QValueAxis(chart_);
        axis->setLabelFormat(QStringLiteral("%d"));
        StyleAxis(axis);
        axis->setLabelsColor(kSeriesColors[s]);
        axis->setTitleBrush(kSeriesColors[s]);
        if (s > 0) axis->setGridLineVisible(false);
        chart_->addAxis(axis, s == 0 ? Qt::AlignLeft : Qt::AlignRight);
        yAxes_[s] = axis;

        lines_[s] = new QLineSeries(chart_);
        QPen pen(kSeriesColors[s]);
        pen.setWidthF(1.2);
        lines_[s]->setPen(pen);
        lines_[s]->setMarkerSize(6);
        chart_->addSeries(lines_[s]);
        lines_[s]->attachAxis(xAxis_);
        lines_[s]->attachAxis(axis);

        trends_[s] = new QLineSeries(chart_);
        chart_->addSeries(trends_[s]);
        trends_[s]->attachAxis(xAxis_);
        trends_[s]->attachAxis(axis);
        trends_[s]->setVisible(false);
        for (QLegendMarker* marker : chart_->legend()->markers(trends_[s])) marker->setVisible(false);
    }
    CreateView(parent);
}

void LineChartView::Draw() {
    const double valueMin = static_cast<double>(content_.valueMinimum);
    const double valueMax = static_cast<double>(content_.valueMaximum);
    // Ranges first: replacing the points of a series whose axes still hold the old ranges
    // makes Qt Charts lay out every point twice.
    SetGameAxis();
    const double top = valueMax > valueMin ? valueMax : valueMin + 1;
    SetValueAxisTicks(yAxes_[0], valueMin, top, NiceStep((top - valueMin) / 8), valueMin);
    // The further series (the running points total) have an axis of their own on the right;
    // the value axis bounds only ever follow the first series.
    for (int s = 1; s < kSeries; ++s) {
        const Values& v = ValuesOf(content_, s);
        double low = 0;
        double high = 0;
        if (!v.empty()) {
            const auto [mn, mx] = std::minmax_element(v.begin(), v.end());
            low = std::min(static_cast<double>(*mn), 0.0);
            high = std::max(static_cast<double>(*mx), 0.0);
        }
        const double step = NiceStep(std::max(high - low, 1.0) / 6);
        low = std::floor(low / step) * step;
        high = std::ceil(high / step) * step;
        if (high <= low) high = low + step;
        SetValueAxisTicks(yAxes_[s], low, high, step, 0);
    }
    for (int s = 0; s < kSeries; ++s) {
        const bool present = static_cast<std::size_t>(s) < content_.series.size();
        const QString name = present ? ToQString(content_.series[s].legendText) : QString();
        lines_[s]->setName(name);
        yAxes_[s]->setTitleText(name);
        lines_[s]->replace(DrawnPoints(ValuesOf(content_, s)));

        QPointF first;
        QPointF last;
        const bool drawn =
            present && content_.series[s].regressionLine && FitLine(content_.series[s].values, first, last);
        QPen pen(kSeriesColors[s].darker(150));
        pen.setWidthF(1.5);
        pen.setStyle(Qt::SolidLine);
        trends_[s]->setPen(pen);
        trends_[s]->replace(drawn ? QList<QPointF>{first, last} : QList<QPointF>{});
        trends_[s]->setVisible(drawn);
        for (QLegendMarker* marker : chart_->legend()->markers(trends_[s])) marker->setVisible(false);
    }
    xAxis_->setGridLineVisible(content_.categoryTickMarks);
    if (zoomed()) ReplaceZoomedPoints();
}

void LineChartView::SetGameAxis() {
    const int rows = content_.RowCount();
    const auto [from, to] = VisibleRows();
    // A single game sits in the middle, with its label under it.
    if (rows <= 1)
        SetValueAxisTicks(xAxis_, -0.5, 0.5, 1, 0);
    else
        SetValueAxisTicks(xAxis_, from, to, GameTickInterval(), 0);
    const bool markers = std::floor(to) - std::ceil(from) + 1 <= kMarkerRows;
    for (QLineSeries* line : lines_) line->setPointsVisible(markers);
}

void LineChartView::ReplaceZoomedPoints() {
    const int rows = content_.RowCount();
    if (rows <= 4 * kDrawBuckets) return;
    const auto [from, to] = VisibleRows();
    // One row beyond each end, so the line runs on to the plot's edges.
    const int first = std::max(static_cast<int>(std::floor(from)) - 1, 0);
    const int last = std::min(static_cast<int>(std::ceil(to)) + 1, rows - 1);
    for (int s = 0; s < kSeries; ++s) {
        const Values& v = ValuesOf(content_, s);
        if (static_cast<int>(v.size()) == rows) lines_[s]->replace(DrawnPoints(v, first, last));
    }
}

void LineChartView::ApplyZoom() {
    SetGameAxis();
    ReplaceZoomedPoints();
}

int LineChartView::NearestRow(QPointF chartPos) const {
    const int rows = content_.RowCount();
    if (rows == 0 || !chart_->plotArea().adjusted(-6, -6, 6, 6).contains(chartPos)) return -1;
    const auto [from, to] = VisibleRows();
    const double x = chart_->mapToValue(chartPos, lines_[0]).x();
    const double lo = std::ceil(from);
    const double hi = std::min(std::floor(to), static_cast<double>(rows - 1));
    return static_cast<int>(std::clamp(std::round(x), lo, std::max(lo, hi)));
}

std::string LineChartView::RowToolTip(int row) const {
    return present::ScoreChartToolTip(content_, row);
}

double LineChartView::AxisValueAt(QPoint viewportPos) const {
    return chart_->mapToValue(ToChart(viewportPos), lines_[0]).x();
}

QPoint LineChartView::RowPosition(int row) const {
    const Values& v = ValuesOf(content_, 0);
    if (row < 0 || static_cast<std::size_t>(row) >= v.size()) return {};
    return FromChart(chart_->mapToPosition(QPointF(row, static_cast<double>(v[row])), lines_[0]));
}

bool LineChartView::DrawsPointMarkers() const {
    return lines_[0]->pointsVisible();
}

void LineChartView::UpdateCategoryLabels() {
    SetGameAxis();
}

double LineChartView::GameTickInterval() const {
    const int rows = content_.RowCount();
    const double plotWidth = std::max(chart_->plotArea().width(), view_->width() * 0.75);
    // The spacing present/ asks for while it gives 4 to 10 labels over the rows in view;
    // otherwise round steps of about an eighth of them, never less than a game.
    const auto [from, to] = VisibleRows();
    const double span = std::max(to - from, 1.0);
    const double asked = content_.tickSpacing;
    double interval =
        asked > 0 && span / asked >= 3 && span / asked < 10 ? asked : std::max(1.0, NiceStep(span / 8));
    // Widened to a multiple of it when the labels would run into each other at the chart's
    // present width.
    const QFontMetrics metrics(xAxis_->labelsFont());
    const double labelWidth = metrics.horizontalAdvance(QString::number(std::max(rows - 1, 1))) + 14.0;
    const double fits = std::max(2.0, plotWidth / labelWidth);
    const double base = interval;
    for (double factor : {1.0, 2.0, 5.0, 10.0, 20.0, 50.0, 100.0}) {
        interval = base * factor;
        if (span / interval <= fits) break;
    }
    return interval;
}

int LineChartView::DrawnPointCount(int series) const {
    if (series < 1 || series > kSeries) return 0;
    return static_cast<int>(lines_[series - 1]->count());
}

bool LineChartView::DrawsRegressionLine(int series) const {
    if (series < 1 || series > kSeries) return false;
    const QLineSeries* trend = trends_[series - 1];
    return trend->isVisible() && trend->count() == 2 && trend->pen().style() == Qt::SolidLine;
}

std::vector<std::pair<double, double>> LineChartView::RegressionLine(int series) const {
    std::vector<std::pair<double, double>> ends;
    if (!DrawsRegressionLine(series)) return ends;
    for (const QPointF& p : trends_[series - 1]->points()) ends.emplace_back(p.x(), p.y());
    return ends;
}

double LineChartView::DrawnTickInterval() const {
    return xAxis_->tickInterval();
}

}  // namespace obrenta::ui
