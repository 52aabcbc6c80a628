#pragma once

#include <QChartView>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "present/ChartControl.h"

class QAbstractAxis;
class QChart;
class QRubberBand;
class QValueAxis;
class QWidget;

namespace obrenta::ui {

// The view of every chart: it grows with its page, and whatever depends on its width (the
// labels of an axis) is placed again as soon as it is resized, also when it has never been shown
// and is only drawn into a picture.
class ChartGraphicsView : public QChartView {
    Q_OBJECT

public:
    ChartGraphicsView(QChart* chart, QWidget* parent);
    std::function<void()> onResized;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

// The chart component on Qt Charts: it keeps the content present/ hands over and draws it at
// once. LineChartView and BarChartView decide how.
class ChartView : public QObject, public present::ChartControl {
    Q_OBJECT

public:
    ~ChartView() override;

    QChartView* view() const { return view_; }
    QChart* chart() const { return chart_; }
    const present::ChartContent& content() const { return content_; }

    // present::ChartControl
    void SetContent(const present::ChartContent& content) override;
    void SetRegressionLine(int series, bool on) override;

    // The chart as drawn now, as a picture.
    QImage Image() const;
    // PNG, or SVG when the name ends in .svg; false when the file could not be written.
    bool SaveImage(const QString& path) const;
    void CopyImage() const;
    // Asks for a file and saves the chart there ("画像として保存...").
    void SaveImageAs();

    // The hover text of the row nearest to a point of the view's viewport (empty when the point
    // lies outside the plot or there is no row), and the text the last hover showed.
    QString ToolTipAt(QPoint viewportPos) const;
    // Shows the hover text for a point of the viewport (hides it when there is none there).
    void ShowToolTip(QPoint viewportPos);
    const QString& shownToolTip() const { return shownToolTip_; }
    // Where a row's point or bar sits in the view's viewport.
    virtual QPoint RowPosition(int row) const = 0;

    // The rows of the horizontal axis in view: all of them unless zoomed.
    std::pair<double, double> VisibleRows() const;
    bool zoomed() const { return zoom_.has_value(); }
    // Shows only the rows from..to (a chart that does not zoom ignores it); never refills.
    void ZoomTo(double from, double to);
    void ResetZoom();

signals:
    // A double click on a row's point or bar (the row's game opens from the score chart).
    void RowActivated(int row);

protected:
    ChartView();
    // Puts the chart, with every axis and series added, into its view, and draws it.
    void CreateView(QWidget* parent);
    // Hands the content to Qt Charts.
    virtual void Draw() = 0;
    // Places the labels of the horizontal axis for the chart's present width.
    virtual void UpdateCategoryLabels() = 0;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Redraws everything: the content, then the legend.
    void Redraw();

    // The row nearest to a point in chart coordinates, or -1.
    virtual int NearestRow(QPointF chartPos) const = 0;
    virtual std::string RowToolTip(int row) const = 0;
    // Only the score chart zooms its game axis.
    virtual bool Zooms() const { return false; }
    // The horizontal axis value at a point of the viewport.
    virtual double AxisValueAt(QPoint viewportPos) const { return viewportPos.x(); }
    // Shows VisibleRows() on the horizontal axis.
    virtual void ApplyZoom() {}
    // Chart coordinates of a point in the view's viewport and back.
    QPointF ToChart(QPoint viewportPos) const;
    QPoint FromChart(QPointF chartPos) const;

    present::ChartContent content_;
    QChart* chart_;
    QChartView* view_ = nullptr;
    std::optional<std::pair<double, double>> zoom_;

private:
    bool ViewportEvent(QEvent* event);
    void ShowContextMenu(QPoint globalPos);

    QString shownToolTip_;
    QRubberBand* rubberBand_ = nullptr;
    std::optional<QPoint> dragStart_;
};

// What every chart of the program does with its picture, whatever draws it.
// A chart never shown yet is given a usual size and laid out at it, labels and all.
void LayOutForPicture(QChartView* view);
// The chart as drawn now, laid out first when it was never shown.
QImage ChartImage(QChartView* view);
// PNG, or SVG when the name ends in .svg; false when the file could not be written.
bool SaveChartImage(QChartView* view, const QString& path);
// Asks for a file (PNG or SVG, suggested name.png) and saves the chart there.
void SaveChartImageAs(QChartView* view, const QString& name);

// 1, 2, 5, 10, 20, 50, ... : the smallest such step not below raw.
double NiceStep(double raw);
void StyleAxis(QAbstractAxis* axis);
// How long a hover text stays while the pointer rests on its point or bar: until it moves away.
inline constexpr int kToolTipMilliseconds = 3600 * 1000;
// A value axis with a tick every interval from anchor over min..max. Qt Charts lays an axis'
// ticks out on every change of its range, so the spacing is widened before the range changes
// and narrowed after it: no state in between has more ticks than the old or the new one.
void SetValueAxisTicks(QValueAxis* axis, double min, double max, double interval, double anchor);

}  // namespace obrenta::ui
