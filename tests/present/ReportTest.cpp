#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PresentTestSupport.h"
#include "present/CsvWriter.h"
#include "present/Report.h"
#include "scorelog/ScoreLog.h"
#include "tools/mjlog-gen/LogGenerator.h"

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
        "PeriodListYearly", "FormTable",        "StyleTable",         "DealInBreakdown",  "DealInYaku",
        "DealInOpponents",  "DealInLargest",    "PointsPerHand"};
    EXPECT_EQ(sections, expected);
    EXPECT_NE(report.find("# ScoreChart\naxis\t1500\t1600\t50\n# OwnRatingDist\n# OpponentRatingDist\n"
                          "# RatingPrediction\n0\t0\t3000\n"),
              std::string::npos);
    EXPECT_EQ(report.back(), '\n');
    EXPECT_EQ(report.find("\n\n"), std::string::npos);
}

// The report of several logs read as one equals the report of their union, each game once and in
// order of start time, written as one log.
TEST(MergedReportTest, EqualsTheReportOfTheUnionWrittenAsOneLog) {
    tools::GeneratorOptions options;
    options.seed = 24;
    options.games = 120;
    options.othersShare = 0.1;
    std::vector<std::string> blocks;
    for (const auto& lines : scorelog::SplitLogBlocks(tools::GenerateLog(options))) {
        std::string block;
        for (const std::string& line : lines) block += line;
        blocks.push_back(block);
    }
    ASSERT_EQ(blocks.size(), 120u);
    const auto range = [&](std::size_t from, std::size_t to, std::size_t step = 1) {
        std::string log;
        for (std::size_t k = from; k < to; k += step) log += blocks[k];
        return log;
    };
    const std::string all = range(0, blocks.size());
    // Game 60 with its end a minute off, as a damaged copy: another game, which counts as well.
    std::string damaged = blocks[60];
    const std::size_t end = damaged.find(Sj("終了 "));
    ASSERT_NE(end, std::string::npos);
    char& minute = damaged[end + Sj("終了 ").size() + 15];
    minute = minute == '9' ? '8' : static_cast<char>(minute + 1);

    const struct {
        const char* name;
        std::vector<std::string> logs;  // "" for a log that is not there
        std::string unionLog;
        std::int32_t recent = settings::kDefaultRecentCount;
    } rows[] = {
        {"overlapping", {range(0, 80), range(40, 120)}, all},
        {"overlapping, the newest 30 games", {range(40, 120), range(0, 80)}, all, 30},
        {"an older backup", {all, range(0, 50)}, all},
        {"interleaved", {range(0, 120, 2), range(1, 120, 2)}, all},
        {"three logs", {range(0, 50), range(30, 90), range(70, 120)}, all},
        {"one missing", {all, ""}, all},
        {"a damaged copy", {all, damaged}, range(0, 61) + damaged + range(61, 120)},
    };
    for (const auto& row : rows) {
        obrenta::test::TempDir dir;
        settings::AppSettings s;
        s.userIdCount = 1;
        s.userIds[0] = tools::LogGenerator(options).player();
        s.recentCount = row.recent;
        s.MJSFileName = dir.File("union.txt");
        obrenta::test::WriteBytes(s.MJSFileName, row.unionLog);
        tally::TallyEngine one(s);
        ASSERT_TRUE(one.ReadScoreLog()) << row.name;
        one.Tally();
        const std::string expected = RenderReport(one, s);

        s.MJSFileName.clear();
        for (std::size_t k = 0; k < row.logs.size(); ++k) {
            const std::string path = dir.File("log" + std::to_string(k) + ".txt");
            if (!row.logs[k].empty()) obrenta::test::WriteBytes(path, row.logs[k]);
            (k == 0 ? s.MJSFileName : s.extraLogs.emplace_back()) = path;
        }
        tally::TallyEngine merged(s);
        merged.ReadScoreLogs();
        merged.Tally();
        EXPECT_EQ(merged.selectedGames.size(), one.selectedGames.size()) << row.name;
        EXPECT_EQ(RenderReport(merged, s), expected) << row.name;
    }
}

}  // namespace
}  // namespace obrenta::present
