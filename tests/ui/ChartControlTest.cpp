#include <QChartView>
#include <QTest>

#include <cmath>

#include "UiTestSupport.h"
#include "present/PageContent.h"
#include "ui/QtChartControl.h"

namespace obrenta::ui::test {

class ChartControlTest : public QObject {
    Q_OBJECT

private slots:
    void lineChartTakesGridAndFitsRegression()
    {
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

    void scoreChartSpacingAndBoundsAsFilled()
    {
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

    void histogramBarsFromPresent()
    {
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

    void changesWithDrawingOnReachTheChartFromTheEventLoop()
    {
        QtChartControl chart(QtChartControl::Kind::Line, 2);
        chart.SetRowCount(2);
        QCOMPARE(chart.DrawnPointCount(1), 0);
        QTRY_COMPARE(chart.DrawnPointCount(1), 2);
    }
};

static RegisterSuite<ChartControlTest> registerChartControlTest("ChartControlTest");

}  // namespace obrenta::ui::test

#include "ChartControlTest.moc"
