#include "ui/GraphWindow.h"

#include <QChartView>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/LineChartView.h"
#include "ui/UiStyle.h"

namespace obrenta::ui {

GraphWindow::GraphWindow() : QWidget(nullptr, Qt::Window) {
    setWindowTitle(QStringLiteral("Obrenta グラフ"));
    setWindowIcon(AppIcon());
    setFont(UiFont());
    // The main window alone decides when the program ends.
    setAttribute(Qt::WA_QuitOnClose, false);
    chart_ = new LineChartView(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chart_->view());
    resize(DialogUnits(font(), 274, 263));
}

void GraphWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit ClosedByUser();
}

void GraphWindow::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QWidget::showEvent(event);
}

}  // namespace obrenta::ui
