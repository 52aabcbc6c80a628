#pragma once

#include "present/ChartControl.h"

namespace obrenta::present {

// A chart component that draws nothing and keeps the content it was last given. Used by the text
// report, the tests and the benchmarks.
class InMemoryChart : public ChartControl {
public:
    void SetContent(const ChartContent& content) override;
    void SetRegressionLine(int series, bool on) override;

    ChartContent content;
    // How many times a content was handed over: one per set-up and per refill.
    int contentSets = 0;
};

}  // namespace obrenta::present
