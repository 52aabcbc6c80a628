#include "present/Report.h"

#include <string>

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

namespace {

void AppendRowLabel(std::string& out, const ChartContent& content, int row) {
    out += std::to_string(content.rowLabels[row]);
}

void AppendValue(std::string& out, const ChartContent& content, int series, int row) {
    if (static_cast<std::size_t>(series) < content.series.size()) {
        out += std::to_string(content.series[series].values[row]);
    }
}

}  // namespace

std::string FormatScoreChartSection(const ChartContent& content) {
    std::string out = "# ScoreChart\naxis\t";
    // The bounds are 64-bit: a rating near the ends of the 32-bit range moves them beyond it.
    out += std::to_string(content.valueMinimum);
    out += '\t';
    out += std::to_string(content.valueMaximum);
    out += '\t';
    out += std::to_string(content.labelSpacing);
    out += '\n';
    for (int row = 0; row < content.RowCount(); ++row) {
        AppendRowLabel(out, content, row);
        out += '\t';
        AppendValue(out, content, 0, row);
        out += '\t';
        AppendValue(out, content, 1, row);
        out += '\n';
    }
    return out;
}

std::string FormatRatingDistSection(std::string_view name, const ChartContent& content) {
    std::string out = "# ";
    out += name;
    out += '\n';
    for (int row = 0; row < content.RowCount(); ++row) {
        AppendRowLabel(out, content, row);
        out += '\t';
        AppendValue(out, content, 0, row);
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
    for (int i = 0; i <= static_cast<int>(ListId::OpponentList); ++i) {
        ListId list = static_cast<ListId>(i);
        out += FormatListSection(ListName(list), pages.views[i]);
    }
    out += FormatScoreChartSection(pages.scoreChart.content);
    out += FormatRatingDistSection("OwnRatingDist", pages.ownRatingDist.content);
    out += FormatRatingDistSection("OpponentRatingDist", pages.opponentRatingDist.content);
    out += FormatRatingPredictionSection(prediction);
    // Later additions come after everything that was there before, so older readers still match.
    out += FormatListSection("PeriodListMonthly", pages.periodMonthly);
    out += FormatListSection("PeriodListYearly", pages.periodYearly);
    out += FormatListSection(ListName(ListId::FormTable), pages.views[static_cast<int>(ListId::FormTable)]);
    out += FormatListSection(ListName(ListId::StyleTable), pages.views[static_cast<int>(ListId::StyleTable)]);
    for (int i = static_cast<int>(ListId::DealInBreakdown); i < kListCount; ++i)
        out += FormatListSection(ListName(static_cast<ListId>(i)), pages.views[i]);
    return out;
}

std::string RenderReport(const tally::TallyEngine& engine, const settings::AppSettings& settings) {
    InMemoryPages pages;
    SetUpPages(pages.lists, pages.charts, settings);
    RefillPages(engine, settings, pages.lists, pages.charts);
    for (const bool yearly : {false, true}) {
        InMemoryListView& view = yearly ? pages.periodYearly : pages.periodMonthly;
        SetUpList(ListId::PeriodList, view);
        FillPeriodList(view, engine, settings, yearly);
    }
    return FormatReport(pages, OpenRatingPrediction(engine.opponentRMean, engine.avgRank));
}

}  // namespace obrenta::present
