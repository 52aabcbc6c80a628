#include "present/Report.h"

#include "present/CellFormat.h"
#include "present/TextCodec.h"

namespace obrenta::present {

InMemoryPages::InMemoryPages() {
    for (int i = 0; i < kListCount; ++i) {
        views[i].SetListWidth(ListWidthPixels(static_cast<ListId>(i)));
        lists.views[i] = &views[i];
    }
    charts.scoreChart = &scoreChart;
    charts.windowScoreChart = &windowScoreChart;
    charts.ownRatingDist = &ownRatingDist;
    charts.opponentRatingDist = &opponentRatingDist;
}

std::string FormatListSection(std::string_view name, const ListView& view) {
    std::string out = "# ";
    out += name;
    out += '\n';
    const int columns = view.ColumnCount();
    for (int c = 0; c < columns; ++c) {
        if (c > 0) out += '\t';
        out += Cp932ToUtf8(view.Heading(c));
    }
    out += '\n';
    const int rows = view.RowCount();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (c > 0) out += '\t';
            out += Cp932ToUtf8(view.Cell(r, c));
        }
        out += '\n';
    }
    return out;
}

std::string FormatScoreChartSection(const InMemoryChart& chart) {
    std::string out = "# ScoreChart\n";
    out += FormatCell("axis\t%d\t%d\t%d\n", static_cast<int>(chart.valueMinimum.value_or(0)),
                      static_cast<int>(chart.valueMaximum.value_or(0)), chart.divisionsPerLabel.value_or(0));
    for (int row = 1; row <= chart.RowCount(); ++row) {
        out += Cp932ToUtf8(chart.RowLabel(row));
        out += '\t';
        out += chart.Value(row, 1);
        out += '\t';
        out += chart.Value(row, 2);
        out += '\n';
    }
    return out;
}

std::string FormatRatingDistSection(std::string_view name, const InMemoryChart& chart) {
    std::string out = "# ";
    out += name;
    out += '\n';
    for (int row = 1; row <= chart.RowCount(); ++row) {
        out += Cp932ToUtf8(chart.RowLabel(row));
        out += '\t';
        out += chart.Value(row, 1);
        out += '\n';
    }
    return out;
}

std::string FormatRatingPredictionSection(const RatingPrediction& prediction) {
    return "# RatingPrediction\n" + prediction.texts[kBoxA] + '\t' + prediction.texts[kBoxK] + '\t' +
           prediction.texts[kBoxP] + '\n';
}

std::string FormatReport(const InMemoryPages& pages, const RatingPrediction& prediction) {
    std::string out;
    for (int i = 0; i < kListCount; ++i) {
        ListId list = static_cast<ListId>(i);
        out += FormatListSection(ListName(list), pages.views[i]);
    }
    out += FormatScoreChartSection(pages.scoreChart);
    out += FormatRatingDistSection("OwnRatingDist", pages.ownRatingDist);
    out += FormatRatingDistSection("OpponentRatingDist", pages.opponentRatingDist);
    out += FormatRatingPredictionSection(prediction);
    return out;
}

std::string RenderReport(const tally::TallyEngine& engine, const settings::AppSettings& settings) {
    InMemoryPages pages;
    SetUpPages(pages.lists, pages.charts, settings);
    RefillPages(engine, settings, pages.lists, pages.charts);
    return FormatReport(pages, OpenRatingPrediction(engine.opponentRMean, engine.avgRank));
}

}  // namespace obrenta::present
