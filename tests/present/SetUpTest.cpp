#include <gtest/gtest.h>

#include "PresentTestSupport.h"
#include "present/InMemoryChart.h"
#include "present/InMemoryListView.h"
#include "present/PageContent.h"
#include "present/Report.h"

namespace obrenta::present {
namespace {

using test::Sj;
using test::U8;

std::vector<std::string> Headings(const ListView& view) {
    std::vector<std::string> out;
    for (int c = 0; c < view.ColumnCount(); ++c) out.push_back(U8(view.Heading(c)));
    return out;
}

std::vector<std::string> Column(const ListView& view, int column) {
    std::vector<std::string> out;
    for (int r = 0; r < view.RowCount(); ++r) out.push_back(U8(view.Cell(r, column)));
    return out;
}

using Texts = std::vector<std::string>;

TEST(SetUpListTest, RankTableHasSeparatorsAndFills) {
    InMemoryListView view(ListWidthPixels(ListId::RankTable));
    SetUpList(ListId::RankTable, view);
    EXPECT_EQ(Headings(view), (Texts{"順位", "回数", "割合"}));
    EXPECT_EQ(Column(view, 0), (Texts{"1位", "2位", "3位", "4位", "", "焼鳥", "箱割", "", "平均順位"}));
    EXPECT_EQ(view.ColumnWidth(0), 60);
    EXPECT_EQ(view.ColumnWidth(1), 60);
    // 110 dialog units at 1.5 pixels each, less the two other columns.
    EXPECT_EQ(ListWidthPixels(ListId::RankTable), 165);
    // Only 45 pixels are left: the last column keeps its own 60 rather than shrink.
    EXPECT_EQ(view.ColumnWidth(2), 60);
    EXPECT_EQ(view.ColumnAlign(2), Align::Right);
}

TEST(SetUpListTest, StreakTableCarriesColumnTwoLabels) {
    InMemoryListView view(ListWidthPixels(ListId::StreakTable));
    SetUpList(ListId::StreakTable, view);
    EXPECT_EQ(Headings(view), (Texts{"連続記録", "", "連続なし", ""}));
    EXPECT_EQ(Column(view, 0),
              (Texts{"連続1位", "連続2位", "連続3位", "連続4位", "", "連続焼鳥", "連続箱割"}));
    EXPECT_EQ(Column(view, 2),
              (Texts{"1位なし", "2位なし", "3位なし", "4位なし", "", "焼鳥なし", "箱割なし"}));
    EXPECT_EQ(view.ColumnAlign(2), Align::Left);
    EXPECT_EQ(Column(view, 1), Texts(7, ""));
}

TEST(SetUpListTest, HourlyTableHas26Rows) {
    InMemoryListView view;
    SetUpList(ListId::HourlyTable, view);
    ASSERT_EQ(view.RowCount(), 26);
    EXPECT_EQ(U8(view.Cell(0, 0)), "00 - 01");
    EXPECT_EQ(U8(view.Cell(23, 0)), "23 - 24");
    EXPECT_EQ(U8(view.Cell(24, 0)), "");
    EXPECT_EQ(U8(view.Cell(25, 0)), "計");
    EXPECT_EQ(Headings(view), (Texts{"時間", "試合数", "1位", "2位", "3位", "4位", "平均順位", "平均得点"}));
}

TEST(SetUpListTest, HandOutcomeHidesColumnSix) {
    InMemoryListView view(ListWidthPixels(ListId::HandOutcomeTable));
    SetUpList(ListId::HandOutcomeTable, view);
    ASSERT_EQ(view.ColumnCount(), 10);
    EXPECT_EQ(view.ColumnWidth(6), 0);
    EXPECT_EQ(Headings(view), (Texts{"", "得点", "", "", "なし", "", "", "失点", "", ""}));
    EXPECT_EQ(Column(view, 0), (Texts{"ツモ", "ロン", "流局", "流し満貫", "チョンボ", "九種九牌", "四風連打",
                                      "四家立直", "三家和", "四開槓", "", "合計"}));
    // The other columns already overflow the list: the last one keeps its width.
    EXPECT_EQ(view.ColumnWidth(9), 50);
}

TEST(SetUpListTest, VariableListsHaveNoRowsAndDoNotFill) {
    struct Case {
        ListId list;
        Texts headings;
        int lastWidth;
    };
    for (const Case& c : {Case{ListId::RecentGamesList, {"開始日時", "得点", "R", "順位"}, 40},
                          Case{ListId::YakuListOwn, {"役(0種類)", "回数", "%(全体)", "%(和了)"}, 55},
                          Case{ListId::OpponentList,
                               {"名前", "試合数", "勝", "負", "分", "平均R", "平均順位", "U平均順位"},
                               70}}) {
        InMemoryListView view(2000);
        SetUpList(c.list, view);
        EXPECT_EQ(Headings(view), c.headings) << ListName(c.list);
        EXPECT_EQ(view.RowCount(), 0);
        EXPECT_EQ(view.ColumnWidth(view.ColumnCount() - 1), c.lastWidth) << ListName(c.list);
        EXPECT_FALSE(ListColumnsFill(c.list));
    }
}

TEST(SetUpListTest, FixedTablesFillTheirWidth) {
    InMemoryListView view(ListWidthPixels(ListId::GameSummaryTable));
    SetUpList(ListId::GameSummaryTable, view);
    EXPECT_EQ(view.ColumnWidth(1), ListWidthPixels(ListId::GameSummaryTable) - 70);
    EXPECT_EQ(Column(view, 0),
              (Texts{"ゲーム数", "局数", "平均局数", "平均時間", "最短時間", "最長時間", "合計時間"}));
}

TEST(SetUpListTest, LastHandTablesDifferOnlyInFirstHeading) {
    InMemoryListView plain, won;
    SetUpList(ListId::LastHandTable, plain);
    SetUpList(ListId::LastHandWonTable, won);
    EXPECT_EQ(Headings(plain), (Texts{"オーラス", "回数", "1位", "2位", "3位", "4位", "平均"}));
    EXPECT_EQ(Headings(won), (Texts{"和了時", "回数", "1位", "2位", "3位", "4位", "平均"}));
    EXPECT_EQ(Column(won, 0), (Texts{"1位", "2位", "3位", "4位", "計"}));
}

// Every label a fixed-row list shows after set-up leads back to its row (the first of equal ones).
TEST(SetUpListTest, RowOfLabelFindsEveryShownLabel) {
    for (int i = 0; i < kListCount; ++i) {
        const ListId list = static_cast<ListId>(i);
        InMemoryListView view;
        SetUpList(list, view);
        for (int r = 0; r < view.RowCount(); ++r) {
            const std::string label = U8(view.Cell(r, 0));
            EXPECT_EQ(U8(view.Cell(RowOfLabel(list, label), 0)), label) << ListName(list) << " row " << r;
        }
    }
    EXPECT_EQ(RowOfLabel(ListId::RankTable, "割合"), -1);
    EXPECT_EQ(RowOfLabel(ListId::OpponentList, "名前"), -1);
}

TEST(ListNamesTest, NamesAndSortability) {
    EXPECT_EQ(ListName(ListId::GameSummaryTable), "GameSummaryTable");
    EXPECT_EQ(ListName(ListId::OpponentList), "OpponentList");
    EXPECT_EQ(ListName(ListId::HanTableOther), "HanTableOther");
    int sortable = 0;
    for (int i = 0; i < kListCount; ++i) sortable += IsSortable(static_cast<ListId>(i));
    EXPECT_EQ(sortable, 6);
    EXPECT_TRUE(IsSortable(ListId::DealInOpponents));
    EXPECT_FALSE(IsSortable(ListId::DealInLargest));
    EXPECT_TRUE(IsSortable(ListId::YakuListOther));
    EXPECT_EQ(Sj("３倍満").size(), 6u);
}

TEST(ListNamesTest, EveryIdHasExactlyOneDefinition) {
    std::array<int, kListCount> definitions{};
    for (const ListDef& def : AllListDefinitions()) {
        ASSERT_GE(static_cast<int>(def.id), 0) << def.name;
        ASSERT_LT(static_cast<int>(def.id), kListCount) << def.name;
        ++definitions[static_cast<int>(def.id)];
    }
    for (int i = 0; i < kListCount; ++i) {
        EXPECT_EQ(definitions[i], 1) << i;
        EXPECT_EQ(Definition(static_cast<ListId>(i)).id, static_cast<ListId>(i));
    }
}

TEST(SetUpPagesTest, BuildsEveryListAndBothScoreCharts) {
    InMemoryPages pages;
    settings::AppSettings s;
    s.StatLine2 = 5;
    SetUpPages(pages.lists, pages.charts, s);
    for (int i = 0; i < kListCount; ++i) EXPECT_GT(pages.views[i].ColumnCount(), 0) << i;
    for (InMemoryChart* chart : {&pages.scoreChart, &pages.windowScoreChart}) {
        const ChartContent& content = chart->content;
        EXPECT_EQ(content.RowCount(), 1);
        ASSERT_EQ(content.series.size(), 2u);
        EXPECT_EQ(U8(content.series[0].legendText), "R値");
        EXPECT_EQ(U8(content.series[1].legendText), "得点");
        EXPECT_FALSE(content.series[0].regressionLine);
        EXPECT_TRUE(content.series[1].regressionLine);
    }
    EXPECT_EQ(pages.ownRatingDist.content.RowCount(), 0);
    EXPECT_EQ(pages.ownRatingDist.contentSets, 0);
}

}  // namespace
}  // namespace obrenta::present
