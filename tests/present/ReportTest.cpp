#include <gtest/gtest.h>

#include "PresentTestSupport.h"
#include "present/CsvWriter.h"
#include "present/Report.h"

namespace obrenta::present {
namespace {

using test::Sj;

TEST(FormatListSectionTest, OneLinePerRowWithEveryCell) {
    InMemoryListView view;
    view.InsertColumn(0, Sj("名前"), 10, Align::Left);
    view.InsertColumn(1, "", 10, Align::Right);
    view.InsertColumn(2, "x", 10, Align::Right);
    view.InsertRow(0, "");
    int r = view.InsertRow(1, "a\x82");  // cut inside a double-byte character
    view.SetCell(r, 2, Sj("箱 3"));
    EXPECT_EQ(FormatListSection("Some", view), "# Some\n名前\t\tx\n\t\t\na\xEF\xBF\xBD\t\t箱 3\n");
}

TEST(CsvFieldTest, QuotesOnlyWhereNeeded) {
    const struct {
        std::string_view in;
        std::string_view out;
    } rows[] = {
        {"", ""},
        {"1.5 %", "1.5 %"},
        {"a,b", "\"a,b\""},
        {"say \"x\"", "\"say \"\"x\"\"\""},
        {"a\nb", "\"a\nb\""},
        {"a\rb", "\"a\rb\""},
    };
    for (const auto& row : rows) EXPECT_EQ(CsvField(row.in), row.out) << row.in;
}

TEST(FormatCsvTest, BomCrlfAndShownColumnsOnly) {
    InMemoryListView view;
    view.InsertColumn(0, Sj("名前"), 10, Align::Left);
    view.InsertColumn(1, "hidden", 0, Align::Right);
    view.InsertColumn(2, "x", 10, Align::Right);
    int r = view.InsertRow(0, "a,b");
    view.SetCell(r, 1, "never");
    view.SetCell(r, 2, Sj("箱"));
    EXPECT_EQ(FormatCsv(view), "\xEF\xBB\xBF名前,x\r\n\"a,b\",箱\r\n");
    EXPECT_EQ(FindListByName("HandOutcomeTable"), ListId::HandOutcomeTable);
    EXPECT_FALSE(FindListByName("handoutcometable"));
}

TEST(FormatReportTest, SectionsInOrder) {
    settings::AppSettings s;
    tally::TallyEngine engine(s);
    std::string report = RenderReport(engine, s);
    std::vector<std::string> sections;
    std::size_t pos = 0;
    while ((pos = report.find("# ", pos)) != std::string::npos) {
        if (pos == 0 || report[pos - 1] == '\n') {
            sections.push_back(report.substr(pos + 2, report.find('\n', pos) - pos - 2));
        }
        ++pos;
    }
    const std::vector<std::string> expected{
        "GameSummaryTable", "RatingTable",      "PointsTable",        "RankTable",        "StreakTable",
        "RecentGamesList",  "HanTableOwn",      "HanTableOther",      "YakuListOwn",      "YakuListOther",
        "HourlyTable",      "HandOutcomeTable", "LastHandTable",      "LastHandWonTable", "OpponentList",
        "ScoreChart",       "OwnRatingDist",    "OpponentRatingDist", "RatingPrediction", "PeriodListMonthly",
        "PeriodListYearly", "FormTable",        "StyleTable"};
    EXPECT_EQ(sections, expected);
    EXPECT_NE(report.find("# ScoreChart\naxis\t1500\t1600\t50\n# OwnRatingDist\n# OpponentRatingDist\n"
                          "# RatingPrediction\n0\t0\t3000\n"),
              std::string::npos);
    EXPECT_EQ(report.back(), '\n');
    EXPECT_EQ(report.find("\n\n"), std::string::npos);
}

}  // namespace
}  // namespace obrenta::present
