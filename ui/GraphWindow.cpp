#include "ui/GraphWindow.h"

#include <QChartView>
#include <QCloseEvent>
#include <QVBoxLayout>

#include "ui/LineChartView.h"
#include "ui/UiStyle.h"
#include "ui/WindowPlacement.h"

namespace obrenta::ui {

GraphWindow::GraphWindow() : QWidget(nullptr, Qt::Window) {
    setWindowTitle(QStringLiteral("Obrenta グラフ"));
    setWindowIcon(AppIcon());
    setFont(UiFont());
    // The main window alone decides when the program ends.
    setAttribute(Qt::WA_QuitOnClose, false);
    chart_ = new LineChartView(this);
    chart_->setObjectName(QStringLiteral("ScoreChart"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chart_->view());
    resize(DialogUnits(font(), 274, 263));
}

void GraphWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit ClosedByUser();
}

void GraphWindow::SetPlacement(const QRect& saved, const QWidget* anchor) {
    saved_ = saved;
    anchor_ = anchor;
    // Placed before the window first exists, the window manager puts the frame's corner at the
    // saved place. Moved later, before the frame is known, the inside would land there instead,
    // and the window would climb by a title bar at every start.
    if (!placed_ && saved_.width() > 0 && saved_.height() > 0 && ReachableOnScreen(saved_)) {
        placed_ = true;
        resize(saved_.size());
        move(saved_.topLeft());
    }
}

QRect GraphWindow::Placement() const {
    if (!placed_ || windowState() != Qt::WindowNoState) return saved_;
    // The frame's corner and the inside's size, as they are restored.
    return QRect(frameGeometry().topLeft(), size());
}

void GraphWindow::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        move(CentredOnScreenOf(anchor_, frameGeometry().size()));
    }
    QWidget::showEvent(event);
}

}  // namespace obrenta::ui
