#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QHelpEvent>
#include <QLineSeries>
#include <QStackedWidget>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

#include "UiTestSupport.h"
#include "base/LocalTime.h"
#include "present/ChartContent.h"
#include "ui/BarChartView.h"
#include "ui/LineChartView.h"
#include "ui/PeriodChartView.h"

namespace obrenta::ui::test {

namespace {

// A score chart's content of the given R values, the second series all at points.
present::ChartContent LineContent(const std::vector<std::int64_t>& ratings, std::int64_t points) {
    present::ChartContent content;
    present::SetUpScoreChart(content);
    content.SetRowCount(static_cast<int>(ratings.size()));
    content.series[0].values = ratings;
    for (int d = 0; d < content.RowCount(); ++d) {
        content.series[1].values[d] = points;
        content.rowLabels[d] = d;
    }
    return content;
}

// A histogram of n games over two bins; a period chart of up to n months whose bands run past the
// ranks.
present::ChartContent HistogramOfGames(int n) {
    std::array<std::int32_t, tally::kHistogramBins> histogram{};
    histogram[150] = histogram[160] = n;
    present::ChartContent content;
    present::FillRatingDistChart(content, histogram);
    return content;
}
present::PeriodChartContent PeriodsOfGames(int n) {
    present::PeriodChartContent content;
    for (int m = 0; m < std::min(n, 600); ++m)
        content.points.push_back({"2024/01", 10, 2.5, 0.4 + m % 3, 4.6 - m % 3, true});
    return content;
}

// The most ticks an axis of a chart has had in any state Qt Charts lays out since.
struct TickWatch {
    explicit TickWatch(QChart* chart) {
        for (QAbstractAxis* a : chart->axes()) {
            auto* axis = static_cast<QValueAxis*>(a);
            auto* categories = qobject_cast<QCategoryAxis*>(axis);
            auto check = [this, axis, categories] {
                most = std::max(most, categories || axis->tickType() == QValueAxis::TicksFixed
                                          ? axis->tickCount() + (categories ? categories->count() : 0)
                                          : (axis->max() - axis->min()) / axis->tickInterval());
            };
            QObject::connect(axis, &QValueAxis::rangeChanged, &guard, check);
            QObject::connect(axis, &QValueAxis::tickIntervalChanged, &guard, check);
            QObject::connect(axis, &QValueAxis::tickTypeChanged, &guard, check);
            if (categories) QObject::connect(categories, &QCategoryAxis::categoriesChanged, &guard, check);
        }
    }
    double most = 0;
    QObject guard;
};

// The hover text on show once the pointer has rested on a place past the moment the toolkit asks.
QString ToolTipAfterRest(QWidget* viewport, QPoint pos) {
    QTest::mouseMove(viewport, pos);
    QHelpEvent rest(QEvent::ToolTip, pos, viewport->mapToGlobal(pos));
    QCoreApplication::sendEvent(viewport, &rest);
    QTest::qWait(500);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

}  // namespace

class ChartViewTest : public QObject {
    Q_OBJECT

private slots:
    void lineChartTakesContentAndFitsRegression() {
        LineChartView chart;
        present::ChartContent content = LineContent({1, 3, 5}, 10);
        content.series[0].regressionLine = true;
        chart.SetContent(content);
        QCOMPARE(chart.DrawnPointCount(1), 3);
        QCOMPARE(chart.DrawnPointCount(2), 3);
        QVERIFY(chart.DrawsRegressionLine(1));
        QVERIFY(!chart.DrawsRegressionLine(2));
        const auto ends = chart.RegressionLine(1);
        QCOMPARE(ends.size(), std::size_t(2));
        QCOMPARE(ends[0].second, 1.0);
        QCOMPARE(ends[1].first, 2.0);
        QCOMPARE(ends[1].second, 5.0);
        chart.SetRegressionLine(1, false);
        QVERIFY(!chart.DrawsRegressionLine(1));
        QVERIFY(!chart.content().series[0].regressionLine);
        chart.SetRegressionLine(2, true);
        QVERIFY(chart.DrawsRegressionLine(2));
    }

    void scoreChartSpacingAndBoundsAsFilled() {
        // 600 games: labels every 100 rows, and the value axis as the fill left it.
        LineChartView chart;
        chart.view()->resize(2000, 400);
        present::ChartContent content = LineContent(std::vector<std::int64_t>(600, 1700), 0);
        content.labelSpacing = 100;
        content.tickSpacing = 100;
        content.valueMinimum = 1600;
        content.valueMaximum = 1900;
        chart.SetContent(content);
        QCOMPARE(chart.DrawnTickInterval(), 100.0);
        const auto* valueAxis = static_cast<QValueAxis*>(chart.chart()->axes(Qt::Vertical).at(0));
        QCOMPARE(valueAxis->min(), 1600.0);
        QCOMPARE(valueAxis->max(), 1900.0);
        // A narrow chart widens the spacing to a multiple of it instead of crowding the labels.
        chart.view()->resize(200, 200);
        chart.SetContent(content);
        QVERIFY(chart.DrawnTickInterval() > 100.0);
        QCOMPARE(std::fmod(chart.DrawnTickInterval(), 100.0), 0.0);
        // Where that spacing would give fewer than 4 or more than 10 labels, round steps give 4 to 10.
        chart.view()->resize(1000, 500);
        for (int games : {5, 50, 100, 499, 2000, 5000, 50000}) {
            content = LineContent(std::vector<std::int64_t>(games, 1700), 0);
            content.tickSpacing = games < 500 ? 50 : 1000;
            chart.SetContent(content);
            const int labels = static_cast<int>((games - 1) / chart.DrawnTickInterval()) + 1;
            QVERIFY2(labels >= 4 && labels <= 10,
                     qPrintable(QStringLiteral("%1: %2").arg(games).arg(labels)));
        }
    }

    void histogramBarsFromPresent() {
        BarChartView chart;
        std::array<std::int32_t, tally::kHistogramBins> histogram{};
        histogram[150] = 2;
        histogram[152] = 1;
        present::ChartContent content;
        present::FillRatingDistChart(content, histogram);
        chart.SetContent(content);
        QCOMPARE(chart.content().RowCount(), 3);
        QCOMPARE(chart.DrawnBarCount(), 3);
        histogram.fill(0);
        present::FillRatingDistChart(content, histogram);
        chart.SetContent(content);
        QCOMPARE(chart.DrawnBarCount(), 0);
    }

    // A very long line is drawn from fewer points, but never loses its ends or its extremes,
    // and its regression line is still fitted to every row.
    void longLineDrawnFromItsOutlineAndFittedToEveryRow() {
        const int rows = 30001;
        std::vector<std::int64_t> ratings;
        double sumY = 0;
        for (int d = 1; d <= rows; ++d) {
            // A rising saw tooth, with one spike up and one down in the middle.
            int r = 1500 + d / 10 + (d * 7919) % 97;
            if (d == 15000) r = 9000;
            if (d == 15001) r = -200;
            sumY += r;
            ratings.push_back(r);
        }
        present::ChartContent content = LineContent(ratings, 5);
        content.series[0].regressionLine = true;
        LineChartView chart;
        chart.SetContent(content);
        QVERIFY(chart.DrawnPointCount(1) < rows / 3);
        QVERIFY(chart.DrawnPointCount(1) > 2000);
        const QList<QPointF> drawn = static_cast<QLineSeries*>(chart.chart()->series().at(0))->points();
        QCOMPARE(drawn.first(), QPointF(0, ratings.front()));
        QCOMPARE(drawn.last(), QPointF(rows - 1, ratings.back()));
        QVERIFY(drawn.contains(QPointF(14999, 9000)));
        QVERIFY(drawn.contains(QPointF(15000, -200)));
        for (int i = 1; i < drawn.size(); ++i) QVERIFY(drawn[i - 1].x() < drawn[i].x());

        // The fit through all rows passes through the mean point (the middle row, mean value).
        const auto ends = chart.RegressionLine(1);
        QCOMPARE(ends.size(), std::size_t(2));
        const double midY = (ends[0].second + ends[1].second) / 2;
        QVERIFY(std::abs(midY - sumY / rows) < 1e-6);
    }

    void hoverNamesTheNearestGameAndZoomLeavesTheContent() {
        LineChartView chart;
        chart.view()->resize(640, 400);
        present::ChartContent content = LineContent({1500, 1520, 1490, 1510, 1530, 1550, 1540, 1560}, 0);
        content.series[1].values = {10, 20, 30, 40, 50, 60, 70, 80};
        content.rowTimes.assign(8, base::LocalToSeconds(2024, 3, 5, 21, 7));
        content.valueMinimum = 1400;
        content.valueMaximum = 1600;
        chart.SetContent(content);
        chart.view()->show();
        QVERIFY(QTest::qWaitForWindowExposed(chart.view()));
        QVERIFY(chart.DrawsPointMarkers());
        QWidget* viewport = chart.view()->viewport();
        QTest::mouseMove(viewport, chart.RowPosition(2) + QPoint(4, 3));
        QCOMPARE(chart.shownToolTip(), QString::fromUtf8("3 戦目\n2024/03/05 21:07\nR 1490\n得点計 30"));
        QCOMPARE(ToolTipAfterRest(viewport, chart.RowPosition(2) + QPoint(4, 3)), chart.shownToolTip());

        // A rectangle dragged from game 2 to game 5 zooms there; Esc shows every game again.
        QTest::mousePress(viewport, Qt::LeftButton, {}, chart.RowPosition(1));
        QTest::mouseMove(viewport, chart.RowPosition(4));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, chart.RowPosition(4));
        QVERIFY(chart.zoomed());
        QCOMPARE(std::round(chart.VisibleRows().first), 1.0);
        QCOMPARE(std::round(chart.VisibleRows().second), 4.0);
        QCOMPARE(chart.content(), content);
        chart.view()->setFocus();
        QTest::keyClick(chart.view(), Qt::Key_Escape);
        QVERIFY(!chart.zoomed());
        chart.ZoomTo(2, 6);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, chart.RowPosition(3));
        QVERIFY(!chart.zoomed());

        BarChartView bars;
        bars.view()->resize(640, 400);
        std::array<std::int32_t, tally::kHistogramBins> histogram{};
        histogram[150] = 4;
        histogram[151] = 7;
        present::ChartContent dist;
        present::FillRatingDistChart(dist, histogram);
        bars.SetContent(dist);
        bars.view()->show();
        QVERIFY(QTest::qWaitForWindowExposed(bars.view()));
        QCOMPARE(bars.ToolTipAt(bars.RowPosition(1)), QString::fromUtf8("R 1510 - 1519\n7 件"));
    }

    // No state between two contents has more than a few dozen ticks on any axis of any chart.
    void axesKeepFewTicksThroughEveryChange() {
        for (auto [from, to] : {std::pair(0, 50000), {50000, 0}, {1, 50000}, {50000, 1}}) {
            LineChartView score;
            BarChartView bars;
            PeriodChartView periods;
            score.SetContent(LineContent(std::vector<std::int64_t>(from, 1700), 5 * from));
            bars.SetContent(HistogramOfGames(from));
            periods.SetContent(PeriodsOfGames(from));
            TickWatch ticks[] = {TickWatch(score.chart()), TickWatch(bars.chart()),
                                 TickWatch(periods.chart())};
            score.SetContent(LineContent(std::vector<std::int64_t>(to, 1700), 5 * to));
            bars.SetContent(HistogramOfGames(to));
            periods.SetContent(PeriodsOfGames(to));
            score.ZoomTo(0, 3);
            score.ResetZoom();
            for (const TickWatch& watch : ticks)
                QVERIFY2(watch.most <= 40,
                         qPrintable(QStringLiteral("%1 to %2: %3").arg(from).arg(to).arg(watch.most)));
        }
    }

    // Rank axis and band keep to the possible ranks, whose labels stay whole on a low chart; the
    // first and last periods stand half a period inside the plot, their labels uncut. A hover
    // text stays while the pointer rests.
    void periodChartKeepsToThePossibleRanks() {
        PeriodChartView periods;
        periods.resize(640, 130);
        present::PeriodChartContent content = PeriodsOfGames(5);
        content.rankMaximum = 3;
        periods.SetContent(content);
        periods.show();
        QVERIFY(QTest::qWaitForWindowExposed(&periods));
        const auto* ranks = static_cast<QValueAxis*>(periods.chart()->axes(Qt::Vertical).at(0));
        QCOMPARE(std::make_pair(ranks->min(), ranks->max()), std::make_pair(1.0, 3.0));
        QVERIFY(!ranks->labelsTruncated());
        for (const QPointF& p : periods.BandUpperPoints() + periods.BandLowerPoints())
            QVERIFY(p.y() >= 1.0 && p.y() <= 3.0);
        const auto* time = static_cast<QValueAxis*>(periods.chart()->axes(Qt::Horizontal).at(0));
        QCOMPARE(std::make_pair(time->min(), time->max()), std::make_pair(-0.5, 4.5));
        QCOMPARE(ToolTipAfterRest(periods.view()->viewport(), periods.PointPosition(1)),
                 QString::fromUtf8("2024/01  10試合\n平均順位 2.500 ±1.100"));
    }

    // A chart of a page never shown is saved at its page's size, with the labels of that size.
    void chartOfAHiddenPageSavedAsWhenShown() {
        QStackedWidget stack;
        stack.resize(900, 500);
        auto* bars = new BarChartView(&stack);
        stack.addWidget(new QWidget(&stack));
        stack.addWidget(bars->view());
        bars->SetContent(HistogramOfGames(3));
        stack.show();
        QVERIFY(QTest::qWaitForWindowExposed(&stack));
        auto* labels = static_cast<QCategoryAxis*>(bars->chart()->axes(Qt::Horizontal).at(0));
        const QImage hidden = bars->Image();
        const int hiddenLabels = labels->count();
        stack.setCurrentWidget(bars->view());
        QCOMPARE(hidden.size(), bars->Image().size());
        QCOMPARE(hiddenLabels, labels->count());
    }

    void contentIsDrawnAtOnce() {
        LineChartView chart;
        QCOMPARE(chart.DrawnPointCount(1), 0);
        chart.SetContent(LineContent({1500, 1510}, 0));
        QCOMPARE(chart.DrawnPointCount(1), 2);
    }
};

static RegisterSuite<ChartViewTest> registerChartViewTest("ChartViewTest");

}  // namespace obrenta::ui::test

#include "ChartViewTest.moc"
