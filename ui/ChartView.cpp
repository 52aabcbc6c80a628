#include "ui/ChartView.h"

#include <QAbstractAxis>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QEvent>
#include <QFileDialog>
#include <QGraphicsLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QLegend>
#include <QMenu>
#include <QMessageBox>
#include <QMetaMethod>
#include <QPainter>
#include <QResizeEvent>
#include <QRubberBand>
#include <QSvgGenerator>
#include <QToolTip>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/ExportFiles.h"
#include "ui/QtText.h"
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

void SetValueAxisTicks(QValueAxis* axis, double min, double max, double interval, double anchor) {
    // A fixed axis has as many ticks as it is told whatever its interval; it turns dynamic last.
    const bool widen = axis->tickType() != QValueAxis::TicksDynamic || interval >= axis->tickInterval();
    if (widen) axis->setTickInterval(interval);
    axis->setRange(min, max);
    if (!widen) axis->setTickInterval(interval);
    axis->setTickAnchor(anchor);
    axis->setTickType(QValueAxis::TicksDynamic);
}

ChartGraphicsView::ChartGraphicsView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
    setRenderHint(QPainter::Antialiasing);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ChartGraphicsView::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    // The chart takes its new size at once; its axes and plot follow before anything reads them.
    if (QGraphicsLayout* layout = chart()->layout()) layout->activate();
    if (onResized) onResized();
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
    auto* view = new ChartGraphicsView(chart_, parent);
    view->onResized = [this] { UpdateCategoryLabels(); };
    view_ = view;
    view_->setMinimumSize(120, 90);
    view_->installEventFilter(this);
    view_->viewport()->installEventFilter(this);
    view_->viewport()->setMouseTracking(true);
    // Focus by a click or Tab, so that Ctrl+C and Esc reach the chart.
    view_->setFocusPolicy(Qt::StrongFocus);
    Redraw();
}

void ChartView::Redraw() {
    Draw();
    chart_->legend()->setVisible(content_.showLegend);
}

void ChartView::SetContent(const present::ChartContent& content) {
    content_ = content;
    // A refill keeps the zoom while its rows are still there (a live refresh adds games).
    if (zoom_ && zoom_->second > std::max(content_.RowCount() - 1, 1)) zoom_.reset();
    Redraw();
    view_->viewport()->update();
}

void ChartView::SetRegressionLine(int series, bool on) {
    present::SetRegressionLine(content_, series, on);
    Redraw();
}

void LayOutForPicture(QChartView* view) {
    if (view->isVisible()) return;
    // A chart on a page not shown takes the size it has when its page is shown: the page is
    // given the room of its shown parent (the page stack), and every layout from the page down
    // to the chart is laid out in it.
    std::vector<QWidget*> hidden{view};
    while (hidden.back()->parentWidget() && !hidden.back()->parentWidget()->isVisible())
        hidden.push_back(hidden.back()->parentWidget());
    if (QWidget* shown = hidden.back()->parentWidget()) {
        hidden.back()->resize(shown->contentsRect().size());
        for (auto w = hidden.rbegin(); w != hidden.rend(); ++w) {
            if (QLayout* layout = (*w)->layout()) {
                layout->invalidate();
                layout->activate();
            }
        }
    }
    // A chart with no shown window around it, or never laid out, is drawn at a usual size.
    if (view->width() < 300) view->resize(800, 500);
    // A hidden widget keeps its resize to itself until it is shown: hand it over now, so that
    // the chart and the labels placed for its width are laid out at the size it is saved at.
    QResizeEvent resize(view->size(), view->size());
    QCoreApplication::sendEvent(view, &resize);
}

QImage ChartImage(QChartView* view) {
    LayOutForPicture(view);
    return view->grab().toImage();
}

bool SaveChartImage(QChartView* view, const QString& path) {
    if (!path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive))
        return ChartImage(view).save(path, "PNG");
    LayOutForPicture(view);
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(view->size());
    svg.setViewBox(QRect(QPoint(0, 0), view->size()));
    svg.setTitle(QStringLiteral("Obrenta"));
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    view->render(&painter);
    return painter.end();
}

void SaveChartImageAs(QChartView* view, const QString& name) {
    QString path = QFileDialog::getSaveFileName(
        view, QStringLiteral("画像として保存"),
        InLastSaveFolder((name.isEmpty() ? QStringLiteral("chart") : name) + QStringLiteral(".png")),
        QStringLiteral("PNG 画像 (*.png);;SVG 画像 (*.svg)"));
    if (path.isEmpty()) return;
    RememberSaveFolder(path);
    if (!path.contains(QLatin1Char('.'))) path += QStringLiteral(".png");
    if (!SaveChartImage(view, path))
        QMessageBox::warning(view, QStringLiteral("Obrenta"),
                             QStringLiteral("画像を保存できませんでした: ") + path);
}

QImage ChartView::Image() const {
    return ChartImage(view_);
}

bool ChartView::SaveImage(const QString& path) const {
    return SaveChartImage(view_, path);
}

void ChartView::CopyImage() const {
    QApplication::clipboard()->setImage(Image());
}

void ChartView::SaveImageAs() {
    SaveChartImageAs(view_, objectName());
}

QPointF ChartView::ToChart(QPoint viewportPos) const {
    return chart_->mapFromScene(view_->mapToScene(viewportPos));
}

QPoint ChartView::FromChart(QPointF chartPos) const {
    return view_->mapFromScene(chart_->mapToScene(chartPos));
}

QString ChartView::ToolTipAt(QPoint viewportPos) const {
    const int row = NearestRow(ToChart(viewportPos));
    return row < 0 ? QString() : ToQString(RowToolTip(row));
}

void ChartView::ShowToolTip(QPoint viewportPos) {
    QWidget* viewport = view_->viewport();
    const QString text = ToolTipAt(viewportPos);
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else if (text != shownToolTip_ || !QToolTip::isVisible()) {
        QToolTip::showText(viewport->mapToGlobal(viewportPos), text, viewport, QRect(), kToolTipMilliseconds);
    }
    shownToolTip_ = text;
}

std::pair<double, double> ChartView::VisibleRows() const {
    if (zoom_) return *zoom_;
    return {0.0, static_cast<double>(std::max(content_.RowCount() - 1, 1))};
}

void ChartView::ZoomTo(double from, double to) {
    if (!Zooms()) return;
    const double last = std::max(content_.RowCount() - 1, 1);
    if (from > to) std::swap(from, to);
    // At least two neighbouring rows stay in view.
    if (to - from < 1) {
        const double middle = (from + to) / 2;
        from = middle - 0.5;
        to = middle + 0.5;
    }
    if (from < 0) to -= from, from = 0;
    if (to > last) from -= to - last, to = last;
    from = std::max(from, 0.0);
    if (from <= 0 && to >= last)
        zoom_.reset();
    else
        zoom_ = std::pair(from, to);
    ApplyZoom();
}

void ChartView::ResetZoom() {
    if (!zoom_) return;
    zoom_.reset();
    ApplyZoom();
}

void ChartView::ShowContextMenu(QPoint globalPos) {
    QMenu menu(view_);
    menu.addAction(QStringLiteral("画像として保存..."), this, &ChartView::SaveImageAs);
    menu.addAction(QStringLiteral("コピー"), this, &ChartView::CopyImage);
    if (zoom_) menu.addAction(QStringLiteral("ズームを戻す"), this, &ChartView::ResetZoom);
    menu.exec(globalPos);
}

bool ChartView::ViewportEvent(QEvent* event) {
    QWidget* viewport = view_->viewport();
    switch (event->type()) {
        case QEvent::MouseMove: {
            const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (dragStart_) {
                const QRectF plot = chart_->plotArea();
                const int top = FromChart(plot.topLeft()).y();
                const int bottom = FromChart(plot.bottomLeft()).y();
                rubberBand_->setGeometry(QRect(QPoint(std::min(dragStart_->x(), pos.x()), top),
                                               QPoint(std::max(dragStart_->x(), pos.x()), bottom)));
                return true;
            }
            ShowToolTip(pos);
            return false;
        }
        case QEvent::ToolTip:
            // The scene would answer the resting pointer with a hover text of its own, which is
            // none, and hide the row's: the row's text answers it instead.
            ShowToolTip(static_cast<QHelpEvent*>(event)->pos());
            return true;
        case QEvent::Leave:
            QToolTip::hideText();
            return false;
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton || !Zooms()) return false;
            view_->setFocus(Qt::MouseFocusReason);
            dragStart_ = mouse->position().toPoint();
            if (!rubberBand_) rubberBand_ = new QRubberBand(QRubberBand::Rectangle, viewport);
            rubberBand_->setGeometry(QRect(*dragStart_, QSize()));
            rubberBand_->show();
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton || !dragStart_) return false;
            const QPoint start = *dragStart_;
            dragStart_.reset();
            rubberBand_->hide();
            const QPoint end = mouse->position().toPoint();
            // A click is not a zoom.
            if (std::abs(end.x() - start.x()) >= 5) ZoomTo(AxisValueAt(start), AxisValueAt(end));
            return true;
        }
        case QEvent::MouseButtonDblClick: {
            // On a point it opens the point's game (when something opens games); anywhere else it
            // undoes the zoom.
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            const int row = NearestRow(ToChart(at));
            if (row >= 0 && (RowPosition(row) - at).manhattanLength() <= 10 &&
                isSignalConnected(QMetaMethod::fromSignal(&ChartView::RowActivated))) {
                emit RowActivated(row);
                return true;
            }
            if (!Zooms()) return false;
            ResetZoom();
            return true;
        }
        case QEvent::Wheel: {
            auto* wheel = static_cast<QWheelEvent*>(event);
            if (!Zooms() || wheel->angleDelta().y() == 0 || content_.RowCount() < 3) return false;
            const auto [from, to] = VisibleRows();
            const double at = std::clamp(AxisValueAt(wheel->position().toPoint()), from, to);
            const double factor = std::pow(0.8, wheel->angleDelta().y() / 120.0);
            ZoomTo(at - (at - from) * factor, at + (to - at) * factor);
            return true;
        }
        default:
            return false;
    }
}

bool ChartView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_->viewport()) {
        if (ViewportEvent(event)) return true;
    } else if (watched == view_) {
        switch (event->type()) {
            case QEvent::ShortcutOverride:
            case QEvent::KeyPress: {
                // Esc runs the tally everywhere else in the window; on a zoomed chart it resets the zoom.
                auto* key = static_cast<QKeyEvent*>(event);
                const bool copy = key->matches(QKeySequence::Copy);
                const bool reset =
                    key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier && zoom_;
                if (!copy && !reset) break;
                if (event->type() == QEvent::ShortcutOverride) {
                    event->accept();
                    return true;
                }
                if (copy) CopyImage();
                if (reset) ResetZoom();
                return true;
            }
            case QEvent::ContextMenu:
                ShowContextMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
                return true;
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace obrenta::ui
