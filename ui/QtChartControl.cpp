#include "ui/QtChartControl.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QFontMetrics>
#include <QLegendMarker>
#include <QLineSeries>
#include <QTimer>
#include <QValueAxis>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "ui/QtText.h"
#include "ui/UiStyle.h"

namespace obrenta::ui {

namespace {

const std::array<QColor, QtChartControl::kMaxSeries> kSeriesColors = {QColor(0x20, 0x5f, 0xb0),
                                                                      QColor(0xd0, 0x6a, 0x10)};

// 1, 2, 5, 10, 20, 50, ... : the smallest such step not below raw.
double NiceStep(double raw) {
    if (!(raw > 0)) return 1;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * magnitude >= raw) return factor * magnitude;
    }
    return 10 * magnitude;
}

Qt::PenStyle PenStyleOf(int penStyle) {
    switch (penStyle) {
        case 0:
            return Qt::NoPen;
        case 2:
            return Qt::DashLine;
        case 3:
            return Qt::DotLine;
        case 4:
            return Qt::DashDotLine;
        case 5:
            return Qt::DashDotDotLine;
        default:
            return Qt::SolidLine;
    }
}

// The least-squares line through (i, y[i]), i from 0: its ends at the first and last point.
bool FitLine(const std::vector<double>& y, QPointF& first, QPointF& last) {
    const std::size_t n = y.size();
    if (n < 2) return false;
    const double meanX = (static_cast<double>(n) - 1) / 2;
    double meanY = 0;
    for (double v : y) meanY += v;
    meanY /= static_cast<double>(n);
    double sxy = 0;
    double sxx = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double dx = static_cast<double>(i) - meanX;
        sxy += dx * (y[i] - meanY);
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

QList<QPointF> DrawnPoints(const std::vector<double>& y) {
    const int n = static_cast<int>(y.size());
    QList<QPointF> points;
    if (n <= 4 * kDrawBuckets) {
        points.reserve(n);
        for (int i = 0; i < n; ++i) points.append(QPointF(i, y[i]));
        return points;
    }
    points.reserve(4 * kDrawBuckets);
    for (int b = 0; b < kDrawBuckets; ++b) {
        const int begin = static_cast<int>(static_cast<long long>(n) * b / kDrawBuckets);
        const int end = static_cast<int>(static_cast<long long>(n) * (b + 1) / kDrawBuckets);
        int low = begin;
        int high = begin;
        for (int i = begin + 1; i < end; ++i) {
            if (y[i] < y[low]) low = i;
            if (y[i] > y[high]) high = i;
        }
        int previous = -1;
        for (int i : {begin, std::min(low, high), std::max(low, high), end - 1}) {
            if (i == previous) continue;
            points.append(QPointF(i, y[i]));
            previous = i;
        }
    }
    return points;
}

void StyleAxis(QAbstractAxis* axis) {
    axis->setLabelsFont(UiFont());
    axis->setTitleFont(UiFont());
    axis->setGridLineColor(QColor(0xdd, 0xdd, 0xdd));
}

}  // namespace

QtChartControl::QtChartControl(Kind kind, int seriesCount, QWidget* parent)
    : QObject(parent), kind_(kind), seriesCount_(std::clamp(seriesCount, 1, kMaxSeries)) {
    chart_ = new QChart();
    chart_->setAnimationOptions(QChart::NoAnimation);
    chart_->setBackgroundRoundness(0);
    chart_->setMargins(QMargins(4, 4, 4, 4));
    chart_->legend()->setFont(UiFont());
    chart_->legend()->setAlignment(Qt::AlignBottom);

    if (kind_ == Kind::Line) {
        xAxis_ = new QValueAxis(chart_);
        xAxis_->setLabelFormat(QStringLiteral("%d"));
        StyleAxis(xAxis_);
        chart_->addAxis(xAxis_, Qt::AlignBottom);
        for (int s = 0; s < seriesCount_; ++s) {
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
    } else {
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
    }

    view_ = new QChartView(chart_, parent);
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setMinimumSize(120, 90);
    view_->installEventFilter(this);
    Flush();
}

QtChartControl::~QtChartControl() = default;

void QtChartControl::Changed() {
    dirty_ = true;
    if (redrawOff_ > 0 || flushQueued_) return;
    flushQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        flushQueued_ = false;
        if (dirty_ && redrawOff_ == 0) Flush();
    });
}

void QtChartControl::SetRowCount(int rows) {
    rows = std::max(rows, 0);
    labels_.resize(rows);
    for (auto& series : values_) series.resize(rows, 0.0);
    Changed();
}

void QtChartControl::SetRow(int row) {
    row_ = row;
}

void QtChartControl::SetColumn(int column) {
    column_ = column;
}

void QtChartControl::SetData(std::string_view value) {
    if (row_ < 1 || row_ > RowCount() || !ValidSeries(column_)) return;
    // Whole numbers in decimal text, tens of thousands per fill: no locale, no copy.
    double number = 0;
    const char* first = value.data();
    if (!value.empty() && *first == '+') ++first;
    std::from_chars(first, value.data() + value.size(), number);
    values_[column_ - 1][row_ - 1] = number;
    Changed();
}

void QtChartControl::SetRowLabel(std::string_view label) {
    if (row_ < 1 || row_ > RowCount()) return;
    labels_[row_ - 1] = std::string(label);
    Changed();
}

void QtChartControl::SetShowLegend(bool show) {
    showLegend_ = show;
    Changed();
}

void QtChartControl::SetSeriesLegendText(int series, std::string_view text) {
    if (!ValidSeries(series)) return;
    legendTexts_[series - 1] = std::string(text);
    Changed();
}

void QtChartControl::SetStatLineFlag(int series, int flag) {
    if (!ValidSeries(series)) return;
    statLineFlags_[series - 1] = flag;
    Changed();
}

void QtChartControl::SetStatLineStyle(int series, int lineKind, int penStyle) {
    // Only the regression line is ever drawn, so only its pen matters.
    if (!ValidSeries(series) || lineKind != present::kStatLineRegression) return;
    statLinePens_[series - 1] = penStyle;
    Changed();
}

void QtChartControl::SetCategoryScaleAuto(bool automatic) {
    categoryAuto_ = automatic;
    Changed();
}

void QtChartControl::SetDivisionsPerLabel(int divisions) {
    divisionsPerLabel_ = std::max(divisions, 1);
    Changed();
}

void QtChartControl::SetDivisionsPerTick(int divisions) {
    divisionsPerTick_ = std::max(divisions, 1);
    Changed();
}

void QtChartControl::SetLabelTick(bool) {
    // Labels always sit on their tick marks with a numeric axis.
}

void QtChartControl::SetValueMinimum(double minimum) {
    valueMin_ = minimum;
    Changed();
}

void QtChartControl::SetValueMaximum(double maximum) {
    valueMax_ = maximum;
    Changed();
}

void QtChartControl::SetTickLength(present::Axis, float) {
    // Qt Charts draws no separate tick marks whose length could be set.
}

void QtChartControl::SetTickStyle(present::Axis axis, int style) {
    tickStyles_[axis == present::Axis::Category ? 0 : 1] = style;
    Changed();
}

void QtChartControl::SetColumnSpacing(float spacing) {
    columnSpacing_ = std::max(spacing, 0.0f);
    Changed();
}

void QtChartControl::SetRedraw(bool on) {
    if (!on) {
        if (redrawOff_++ == 0) view_->setUpdatesEnabled(false);
        return;
    }
    if (redrawOff_ == 0 || --redrawOff_ > 0) return;
    view_->setUpdatesEnabled(true);
    if (dirty_) Flush();
}

void QtChartControl::Invalidate() {
    if (dirty_ && redrawOff_ == 0) Flush();
    view_->viewport()->update();
}

void QtChartControl::Flush() {
    dirty_ = false;
    if (kind_ == Kind::Line) {
        FlushLine();
    } else {
        FlushBar();
    }
    chart_->legend()->setVisible(showLegend_);
}

void QtChartControl::FlushLine() {
    const int rows = RowCount();
    // Ranges first: replacing the points of a series whose axes still hold the old ranges
    // makes Qt Charts lay out every point twice.
    xAxis_->setRange(0, std::max(rows - 1, 1));
    const double top = valueMax_ > valueMin_ ? valueMax_ : valueMin_ + 1;
    yAxes_[0]->setRange(valueMin_, top);
    yAxes_[0]->setTickType(QValueAxis::TicksDynamic);
    yAxes_[0]->setTickAnchor(valueMin_);
    yAxes_[0]->setTickInterval(NiceStep((top - valueMin_) / 8));
    // The further series (the running points total) have an axis of their own on the right;
    // the value axis bounds only ever follow the first series.
    for (int s = 1; s < seriesCount_; ++s) {
        const auto& v = values_[s];
        double low = 0;
        double high = 0;
        if (!v.empty()) {
            const auto [mn, mx] = std::minmax_element(v.begin(), v.end());
            low = std::min(*mn, 0.0);
            high = std::max(*mx, 0.0);
        }
        const double step = NiceStep(std::max(high - low, 1.0) / 6);
        low = std::floor(low / step) * step;
        high = std::ceil(high / step) * step;
        if (high <= low) high = low + step;
        yAxes_[s]->setRange(low, high);
        yAxes_[s]->setTickType(QValueAxis::TicksDynamic);
        yAxes_[s]->setTickAnchor(0);
        yAxes_[s]->setTickInterval(step);
    }
    for (int s = 0; s < seriesCount_; ++s) {
        const QString name = ToQString(legendTexts_[s]);
        lines_[s]->setName(name);
        yAxes_[s]->setTitleText(name);
        lines_[s]->replace(DrawnPoints(values_[s]));

        QPointF first;
        QPointF last;
        const bool drawn =
            statLineFlags_[s] == present::kStatLineRegression && FitLine(values_[s], first, last);
        QPen pen(kSeriesColors[s].darker(150));
        pen.setWidthF(1.5);
        pen.setStyle(PenStyleOf(statLinePens_[s]));
        trends_[s]->setPen(pen);
        trends_[s]->replace(drawn ? QList<QPointF>{first, last} : QList<QPointF>{});
        trends_[s]->setVisible(drawn);
        for (QLegendMarker* marker : chart_->legend()->markers(trends_[s])) marker->setVisible(false);
    }
    xAxis_->setGridLineVisible(tickStyles_[0] != 0);
    UpdateCategoryLabels();
}

void QtChartControl::FlushBar() {
    const int rows = RowCount();
    double highest = 0;
    QList<qreal> counts;
    counts.reserve(rows);
    for (int i = 0; i < rows; ++i) {
        counts.append(values_[0][i]);
        highest = std::max(highest, values_[0][i]);
    }
    const double step = std::max(1.0, NiceStep(highest / 5));
    countAxis_->setRange(0, std::max(step, std::ceil(highest / step) * step));
    countAxis_->setTickType(QValueAxis::TicksDynamic);
    countAxis_->setTickAnchor(0);
    countAxis_->setTickInterval(step);
    categoryAxis_->setStartValue(-0.5);
    categoryAxis_->setRange(-0.5, std::max(rows, 1) - 0.5);
    categoryAxis_->setGridLineVisible(tickStyles_[0] != 0);

    // Spacing is a percentage of a bar's width, as the component counted it.
    bars_->setBarWidth(1.0 / (1.0 + columnSpacing_ / 100.0));
    barSet_->setLabel(ToQString(legendTexts_[0]));
    if (barSet_->count() > 0) barSet_->remove(0, barSet_->count());
    barSet_->append(counts);
    UpdateCategoryLabels();
}

void QtChartControl::UpdateCategoryLabels() {
    const int rows = RowCount();
    const double plotWidth = std::max(chart_->plotArea().width(), view_->width() * 0.75);
    if (kind_ == Kind::Line) {
        // The spacing present/ asks for, widened to a multiple of it when the labels would
        // run into each other at the chart's present width.
        double interval = categoryAuto_ ? NiceStep(std::max(rows, 1) / 8.0) : divisionsPerTick_;
        const QFontMetrics metrics(xAxis_->labelsFont());
        const double labelWidth = metrics.horizontalAdvance(QString::number(std::max(rows - 1, 1))) + 14.0;
        const double fits = std::max(2.0, plotWidth / labelWidth);
        const double base = interval;
        for (double factor : {1.0, 2.0, 5.0, 10.0, 20.0, 50.0, 100.0}) {
            interval = base * factor;
            if (std::max(rows - 1, 1) / interval <= fits) break;
        }
        xAxis_->setTickType(QValueAxis::TicksDynamic);
        xAxis_->setTickAnchor(0);
        xAxis_->setTickInterval(interval);
        return;
    }
    for (const QString& label : categoryAxis_->categoriesLabels()) categoryAxis_->remove(label);
    if (rows == 0) return;
    const QFontMetrics metrics(categoryAxis_->labelsFont());
    int widest = 0;
    for (const auto& label : labels_) widest = std::max(widest, metrics.horizontalAdvance(ToQString(label)));
    const double fits = std::max(1.0, plotWidth / (widest + 12.0));
    const int every = static_cast<int>(NiceStep(std::max(1.0, rows / fits)));
    // Numeric labels in even steps start on a round value (1400, not 1390).
    int first = 0;
    char* end = nullptr;
    const long firstValue = std::strtol(labels_[0].c_str(), &end, 10);
    if (rows > 1 && end != labels_[0].c_str() && *end == '\0') {
        const long stride = (std::strtol(labels_[1].c_str(), nullptr, 10) - firstValue) * every;
        for (int i = 0; stride > 0 && i < every && i < rows; ++i) {
            if (std::strtol(labels_[i].c_str(), nullptr, 10) % stride == 0) {
                first = i;
                break;
            }
        }
    }
    for (int i = first; i < rows; i += every) {
        const QString label = ToQString(labels_[i]);
        if (!categoryAxis_->categoriesLabels().contains(label)) categoryAxis_->append(label, i);
    }
}

bool QtChartControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::Resize) {
        QTimer::singleShot(0, this, [this] { UpdateCategoryLabels(); });
    }
    return QObject::eventFilter(watched, event);
}

double QtChartControl::Value(int row, int series) const {
    if (row < 1 || row > RowCount() || !ValidSeries(series)) return 0;
    return values_[series - 1][row - 1];
}

std::string QtChartControl::RowLabel(int row) const {
    if (row < 1 || row > RowCount()) return {};
    return labels_[row - 1];
}

int QtChartControl::StatLineFlag(int series) const {
    return ValidSeries(series) ? statLineFlags_[series - 1] : 0;
}

int QtChartControl::DrawnPointCount(int series) const {
    if (kind_ != Kind::Line || !ValidSeries(series)) return 0;
    return static_cast<int>(lines_[series - 1]->count());
}

bool QtChartControl::DrawsRegressionLine(int series) const {
    if (kind_ != Kind::Line || !ValidSeries(series)) return false;
    const QLineSeries* trend = trends_[series - 1];
    return trend->isVisible() && trend->count() == 2 && trend->pen().style() == Qt::SolidLine;
}

std::vector<std::pair<double, double>> QtChartControl::RegressionLine(int series) const {
    std::vector<std::pair<double, double>> ends;
    if (!DrawsRegressionLine(series)) return ends;
    for (const QPointF& p : trends_[series - 1]->points()) ends.emplace_back(p.x(), p.y());
    return ends;
}

double QtChartControl::DrawnTickInterval() const {
    return xAxis_ ? xAxis_->tickInterval() : 0;
}

int QtChartControl::DrawnBarCount() const {
    return barSet_ ? static_cast<int>(barSet_->count()) : 0;
}

}  // namespace obrenta::ui
