#include "present/InMemoryChart.h"

namespace obrenta::present {

void InMemoryChart::SetContent(const ChartContent& newContent) {
    content = newContent;
    ++contentSets;
}

void InMemoryChart::SetRegressionLine(int series, bool on) {
    present::SetRegressionLine(content, series, on);
}

}  // namespace obrenta::present
