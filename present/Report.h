#pragma once

#include <array>
#include <string>
#include <string_view>

#include "present/InMemoryChart.h"
#include "present/InMemoryListView.h"
#include "present/PageContent.h"
#include "present/RatingCalculator.h"

namespace obrenta::present {

// Every list and chart of the pages in memory, wired into PageLists and PageCharts, each list as
// wide as its place on the page. Not copyable: the PageLists point into it.
struct InMemoryPages {
    InMemoryPages();
    InMemoryPages(const InMemoryPages&) = delete;
    InMemoryPages& operator=(const InMemoryPages&) = delete;

    InMemoryListView& operator[](ListId list) { return views[static_cast<int>(list)]; }

    std::array<InMemoryListView, kListCount> views;
    InMemoryChart scoreChart;
    InMemoryChart windowScoreChart;
    InMemoryChart ownRatingDist;
    InMemoryChart opponentRatingDist;
    // The period list both ways, for the report's own sections.
    InMemoryListView periodMonthly;
    InMemoryListView periodYearly;
    PageLists lists;
    PageCharts charts;
};

// One list section of the report: "# name", the headings, then one line per row; cells separated
// by tabs, converted to UTF-8, every line ended by LF.
std::string FormatListSection(std::string_view name, const ListView& view);
// The chart sections: the score chart's axis line ("axis", its bounds and label spacing) and its
// rows, a histogram's rows; labels and values as decimal numbers.
std::string FormatScoreChartSection(const ChartContent& content);
std::string FormatRatingDistSection(std::string_view name, const ChartContent& content);
std::string FormatRatingPredictionSection(const RatingPrediction& prediction);

// The whole report from filled pages: the lists up to the opponent list, the graph page's score
// chart, the two rating distributions, the rating prediction, then the period list by month and
// by year and the form box.
std::string FormatReport(const InMemoryPages& pages, const RatingPrediction& prediction);

// Sets up pages, fills them from the engine's last tally and formats the report.
std::string RenderReport(const tally::TallyEngine& engine, const settings::AppSettings& settings);

}  // namespace obrenta::present
