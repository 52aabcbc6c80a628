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
}

QRect GraphWindow::Placement() const {
    if (!placed_ || windowState() != Qt::WindowNoState) return saved_;
    // The inside of the frame, as it is restored: the frame is not known before the first show.
    return geometry();
}

void GraphWindow::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        if (saved_.width() > 0 && saved_.height() > 0 && ReachableOnScreen(saved_)) {
            setGeometry(saved_);
        } else {
            move(CentredOnScreenOf(anchor_, frameGeometry().size()));
        }
    }
    QWidget::showEvent(event);
}

}  // namespace obrenta::ui
