#include <QChartView>
#include <QLineSeries>
#include <QTest>
#include <cmath>

#include "UiTestSupport.h"
#include "present/PageContent.h"
#include "ui/QtChartControl.h"

namespace obrenta::ui::test {

class ChartControlTest : public QObject {
    Q_OBJECT

private slots:
    void lineChartTakesGridAndFitsRegression() {
        QtChartControl chart(QtChartControl::Kind::Line, 2);
        chart.SetRedraw(false);
        chart.SetRowCount(3);
        const char* r[] = {"1", "3", "5"};
        for (int d = 1; d <= 3; ++d) {
            chart.SetRow(d);
            chart.SetColumn(1);
            chart.SetData(r[d - 1]);
            chart.SetColumn(2);
            chart.SetData("10");
            chart.SetRowLabel(std::to_string(d - 1));
        }
        chart.SetStatLineStyle(1, present::kStatLineRegression, present::kPenSolid);
        chart.SetStatLineFlag(1, present::kStatLineRegression);
        chart.SetRedraw(true);
        QCOMPARE(chart.DrawnPointCount(1), 3);
        QCOMPARE(chart.DrawnPointCount(2), 3);
        QVERIFY(chart.DrawsRegressionLine(1));
        QVERIFY(!chart.DrawsRegressionLine(2));
        const auto ends = chart.RegressionLine(1);
        QCOMPARE(ends.size(), std::size_t(2));
        QCOMPARE(ends[0].second, 1.0);
        QCOMPARE(ends[1].first, 2.0);
        QCOMPARE(ends[1].second, 5.0);
        chart.SetStatLineFlag(1, 0);
        chart.Flush();
        QVERIFY(!chart.DrawsRegressionLine(1));
    }

    void scoreChartSpacingAndBoundsAsFilled() {
        // 600 games: labels every 100 rows, and the value axis as the fill left it.
        QtChartControl chart(QtChartControl::Kind::Line, 2);
        chart.view()->resize(2000, 400);
        chart.SetRowCount(600);
        chart.SetCategoryScaleAuto(false);
        chart.SetDivisionsPerLabel(100);
        chart.SetDivisionsPerTick(100);
        chart.SetValueMinimum(1600);
        chart.SetValueMaximum(1900);
        chart.Flush();
        QCOMPARE(chart.DrawnTickInterval(), 100.0);
        QCOMPARE(chart.ValueMinimum(), 1600.0);
        QCOMPARE(chart.ValueMaximum(), 1900.0);
        // A narrow chart widens the spacing to a multiple of it instead of crowding the labels.
        chart.view()->resize(200, 200);
        chart.Flush();
        QVERIFY(chart.DrawnTickInterval() > 100.0);
        QCOMPARE(std::fmod(chart.DrawnTickInterval(), 100.0), 0.0);
    }

    void histogramBarsFromPresent() {
        QtChartControl chart(QtChartControl::Kind::Bar, 1);
        std::array<std::int32_t, tally::kHistogramBins> histogram{};
        histogram[150] = 2;
        histogram[152] = 1;
        present::FillRatingDistChart(chart, histogram);
        chart.Flush();
        QCOMPARE(chart.RowCount(), 3);
        QCOMPARE(chart.RowLabel(1), std::string("1500"));
        QCOMPARE(chart.RowLabel(3), std::string("1520"));
        QCOMPARE(chart.Value(2, 1), 0.0);
        QCOMPARE(chart.DrawnBarCount(), 3);
        histogram.fill(0);
        present::FillRatingDistChart(chart, histogram);
        chart.Flush();
        QCOMPARE(chart.DrawnBarCount(), 0);
    }

    // A very long line is drawn from fewer points, but never loses its ends or its extremes,
    // and its regression line is still fitted to every row.
    void longLineDrawnFromItsOutlineAndFittedToEveryRow() {
        const int rows = 30001;
        QtChartControl chart(QtChartControl::Kind::Line, 2);
        chart.SetRedraw(false);
        chart.SetRowCount(rows);
        double sumY = 0;
        for (int d = 1; d <= rows; ++d) {
            // A rising saw tooth, with one spike up and one down in the middle.
            int r = 1500 + d / 10 + (d * 7919) % 97;
            if (d == 15000) r = 9000;
            if (d == 15001) r = -200;
            sumY += r;
            chart.SetRow(d);
            chart.SetColumn(1);
            chart.SetData(std::to_string(r));
            chart.SetColumn(2);
            chart.SetData(d % 2 ? "+5" : "-5");
        }
        chart.SetStatLineFlag(1, present::kStatLineRegression);
        chart.SetRedraw(true);
        QCOMPARE(chart.RowCount(), rows);
        QCOMPARE(chart.Value(rows, 2), 5.0);
        QVERIFY(chart.DrawnPointCount(1) < rows / 3);
        QVERIFY(chart.DrawnPointCount(1) > 2000);
        const QList<QPointF> drawn = static_cast<QLineSeries*>(chart.chart()->series().at(0))->points();
        QCOMPARE(drawn.first(), QPointF(0, chart.Value(1, 1)));
        QCOMPARE(drawn.last(), QPointF(rows - 1, chart.Value(rows, 1)));
        QVERIFY(drawn.contains(QPointF(14999, 9000)));
        QVERIFY(drawn.contains(QPointF(15000, -200)));
        for (int i = 1; i < drawn.size(); ++i) QVERIFY(drawn[i - 1].x() < drawn[i].x());

        // The fit through all rows passes through the mean point (the middle row, mean value).
        const auto ends = chart.RegressionLine(1);
        QCOMPARE(ends.size(), std::size_t(2));
        const double midY = (ends[0].second + ends[1].second) / 2;
        QVERIFY(std::abs(midY - sumY / rows) < 1e-6);
    }

    void changesWithDrawingOnReachTheChartFromTheEventLoop() {
        QtChartControl chart(QtChartControl::Kind::Line, 2);
        chart.SetRowCount(2);
        QCOMPARE(chart.DrawnPointCount(1), 0);
        QTRY_COMPARE(chart.DrawnPointCount(1), 2);
    }
};

static RegisterSuite<ChartControlTest> registerChartControlTest("ChartControlTest");

}  // namespace obrenta::ui::test

#include "ChartControlTest.moc"
