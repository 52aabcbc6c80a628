#pragma once

#include "present/ChartContent.h"

namespace obrenta::present {

// The chart component as the pages drive it: it is handed everything it shows at once and draws
// it; only the regression lines of the score charts are switched on their own.
class ChartControl {
public:
    virtual ~ChartControl() = default;

    virtual void SetContent(const ChartContent& content) = 0;
    // Shows or hides the regression line of a series (1-based) of the content last set.
    virtual void SetRegressionLine(int series, bool on) = 0;
};

}  // namespace obrenta::present
