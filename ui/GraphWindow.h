#pragma once

#include <QRect>
#include <QWidget>

namespace obrenta::ui {

class LineChartView;

// The separate, resizable chart window: a second score chart filling the whole window. It is
// refilled with every tally whether shown or not.
class GraphWindow : public QWidget {
    Q_OBJECT

public:
    GraphWindow();

    LineChartView& chart() const { return *chart_; }

    // Where the window goes the first time it is shown: the saved place (position and size),
    // when one is saved and lies on a screen; otherwise its default size centred on the screen
    // of anchor.
    void SetPlacement(const QRect& saved, const QWidget* anchor);
    // The place to save: where the window last was in its normal state, or the place given to
    // SetPlacement while it was never shown.
    QRect Placement() const;

signals:
    // The user closed the window with its caption button (not hidden by the program).
    void ClosedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    LineChartView* chart_;
    const QWidget* anchor_ = nullptr;
    QRect saved_;
    bool placed_ = false;
};

}  // namespace obrenta::ui
