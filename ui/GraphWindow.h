#pragma once

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

signals:
    // The user closed the window with its caption button (not hidden by the program).
    void ClosedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    LineChartView* chart_;
    bool placed_ = false;
};

}  // namespace obrenta::ui
