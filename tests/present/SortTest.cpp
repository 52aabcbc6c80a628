#include <gtest/gtest.h>

#include <random>

#include "PresentTestSupport.h"
#include "present/InMemoryListView.h"
#include "present/PageContent.h"

namespace obrenta::present {
namespace {

using test::Sj;
using States4 = std::array<std::int32_t, 4>;
using States8 = std::array<std::int32_t, 8>;

// A yaku list holding (name, count) rows in the given order.
InMemoryListView YakuList(const std::vector<std::pair<std::string, int>>& rows) {
    InMemoryListView view;
    SetUpList(ListId::YakuListOwn, view);
    for (const auto& [name, count] : rows) {
        int r = view.InsertRow(view.RowCount(), name);
        view.SetCell(r, 1, std::to_string(count));
    }
    return view;
}

std::vector<std::string> Names(const ListView& view) {
    std::vector<std::string> names;
    for (int r = 0; r < view.RowCount(); ++r) names.push_back(view.Cell(r, 0));
    return names;
}

using Names_ = std::vector<std::string>;

TEST(ClickRuleTest, StatesFollowTheClicks) {
    struct Step {
        int column;
        States4 after;
    };
    settings::AppSettings s;  // SortYaku1 starts 0 1 0 0
    InMemoryListView view = YakuList({});
    const Step steps[] = {
        {3, {0, 0, 0, 1}},  // a new column starts in its first order
        {3, {0, 0, 0, 2}},  // then reverses
        {3, {0, 0, 0, 1}},  // then back to the first order
        {1, {0, 1, 0, 0}}, {0, {1, 0, 0, 0}},
    };
    for (const Step& step : steps) {
        OnColumnClick(ListId::YakuListOwn, step.column, view, s);
        EXPECT_EQ(s.SortYaku1, step.after) << "click on " << step.column;
    }
    EXPECT_EQ(s.SortYaku2, (States4{0, 1, 0, 0}));
}

TEST(ClickRuleTest, OddOldValueLeavesTheColumnUnsorted) {
    settings::AppSettings s;
    s.SortVs = {0, 0, 0, 0, 0, 7, 1, 0};
    InMemoryListView view;
    SetUpList(ListId::OpponentList, view);
    OnColumnClick(ListId::OpponentList, 5, view, s);
    EXPECT_EQ(s.SortVs, (States8{0, 0, 0, 0, 0, 0, 0, 0}));
    OnColumnClick(ListId::OpponentList, 5, view, s);
    EXPECT_EQ(s.SortVs, (States8{0, 0, 0, 0, 0, 1, 0, 0}));
    OnColumnClick(ListId::OpponentList, 5, view, s);
    EXPECT_EQ(s.SortVs, (States8{0, 0, 0, 0, 0, 2, 0, 0}));
}

TEST(ClickRuleTest, NonSortableListsAndBadColumnsDoNothing) {
    settings::AppSettings s;
    settings::AppSettings before = s;
    InMemoryListView view;
    SetUpList(ListId::RankTable, view);
    OnColumnClick(ListId::RankTable, 1, view, s);
    OnColumnClick(ListId::YakuListOwn, 4, view, s);
    OnColumnClick(ListId::YakuListOwn, -1, view, s);
    EXPECT_EQ(s.SortYaku1, before.SortYaku1);
    EXPECT_EQ(view.Cell(0, 0), Sj("1位"));
}

TEST(YakuSortTest, CountColumnsSortByCount) {
    settings::AppSettings s;
    InMemoryListView view = YakuList({{"b", 2}, {"a", 10}, {"c", 9}});
    OnColumnClick(ListId::YakuListOwn, 3, view, s);  // a rate column orders by the count
    EXPECT_EQ(Names(view), (Names_{"a", "c", "b"}));
    OnColumnClick(ListId::YakuListOwn, 3, view, s);
    EXPECT_EQ(Names(view), (Names_{"b", "c", "a"}));
    OnColumnClick(ListId::YakuListOwn, 1, view, s);
    OnColumnClick(ListId::YakuListOwn, 0, view, s);
    EXPECT_EQ(s.SortYaku1, (States4{1, 0, 0, 0}));
    EXPECT_EQ(Names(view), (Names_{"a", "b", "c"}));
}

TEST(YakuSortTest, NamesCompareAsUnsignedBytesPrefixFirst) {
    InMemoryListView view = YakuList({{Sj("立直"), 1}, {"ab", 1}, {"a", 1}, {"\x7f", 1}});
    SortList(ListId::YakuListOwn, 0, 1, view);
    EXPECT_EQ(Names(view), (Names_{"a", "ab", "\x7f", Sj("立直")}));
    SortList(ListId::YakuListOwn, 0, 2, view);
    EXPECT_EQ(Names(view), (Names_{Sj("立直"), "\x7f", "ab", "a"}));
}

TEST(YakuSortTest, EqualCountsKeepTheirOrder) {
    InMemoryListView view = YakuList({{"d", 1}, {"c", 2}, {"b", 1}, {"a", 2}});
    SortList(ListId::YakuListOwn, 1, 1, view);
    EXPECT_EQ(Names(view), (Names_{"c", "a", "d", "b"}));
    SortList(ListId::YakuListOwn, 2, 2, view);
    EXPECT_EQ(Names(view), (Names_{"d", "b", "c", "a"}));
}

InMemoryListView Opponents(const std::vector<std::array<const char*, 8>>& rows) {
    InMemoryListView view;
    SetUpList(ListId::OpponentList, view);
    for (const auto& row : rows) {
        int r = view.InsertRow(view.RowCount(), row[0]);
        for (int c = 1; c < 8; ++c) view.SetCell(r, c, row[c]);
    }
    return view;
}

TEST(OpponentSortTest, ColumnsAndDirections) {
    InMemoryListView view = Opponents({
        {"x", "3", "1", "2", "0", "1600.00", " 2.500", " 2.000"},
        {"y", "12", "0", "9", "3", "1523.46", " 3.000", " 1.500"},
        {"z", "3", "2", "0", "1", "1700.10", " 1.250", " 3.250"},
    });
    struct Case {
        int column;
        int direction;
        Names_ expected;
    };
    const Case cases[] = {
        {1, 1, {"y", "x", "z"}},  // integer, not text: 12 above 3
        {1, 2, {"x", "z", "y"}}, {3, 1, {"y", "x", "z"}},
        {5, 2, {"y", "x", "z"}},                           // two clicks on 平均R: smallest first
        {5, 1, {"z", "x", "y"}}, {6, 1, {"y", "x", "z"}},  // the worst average rank first
        {7, 0, {"y", "x", "z"}},                           // any direction but 1 is the reverse
        {0, 2, {"z", "y", "x"}},
    };
    for (const Case& c : cases) {
        SortList(ListId::OpponentList, c.column, c.direction, view);
        EXPECT_EQ(Names(view), c.expected) << "column " << c.column << " direction " << c.direction;
    }
}

TEST(OpponentSortTest, EqualShownTextsAreEqualKeys) {
    // Averages equal to two decimals compare equal, whatever the values behind them.
    InMemoryListView view = Opponents({
        {"b", "1", "0", "0", "0", "1500.00", "1.000", "1.000"},
        {"a", "1", "0", "0", "0", "1600.00", "1.000", "1.000"},
        {"c", "1", "0", "0", "0", "1500.00", "1.000", "1.000"},
    });
    SortList(ListId::OpponentList, 5, 2, view);
    EXPECT_EQ(Names(view), (Names_{"b", "c", "a"}));
}

TEST(OpponentSortTest, ClickedOrderIsTheOrderOfARefill) {
    // Filled by name, descending, as a refill puts each opponent on top of the earlier ones; x
    // and z tie on games and on 平均R.
    const std::vector<std::array<const char*, 8>> filled = {
        {"z", "3", "2", "0", "1", "1600.00", " 1.250", " 3.250"},
        {"y", "12", "0", "9", "3", "1500.00", " 3.000", " 1.500"},
        {"x", "3", "1", "2", "0", "1600.00", " 2.500", " 2.000"},
        {"w", "5", "1", "2", "0", "1500.00", " 2.500", " 2.000"},
    };
    settings::AppSettings s;
    InMemoryListView clicked = Opponents(filled);
    for (int column : {6, 1, 5, 5}) {
        OnColumnClick(ListId::OpponentList, column, clicked, s);
        InMemoryListView refilled = Opponents(filled);
        ApplySavedSort(ListId::OpponentList, refilled, s.SortVs);
        EXPECT_EQ(Names(clicked), Names(refilled)) << "after a click on " << column;
    }
    EXPECT_EQ(Names(clicked), (Names_{"y", "w", "z", "x"}));
}

TEST(ApplySavedSortTest, EveryNonZeroColumnInAscendingOrder) {
    InMemoryListView view = Opponents({
        {"b", "2", "0", "0", "0", "1500.00", "1.000", "1.000"},
        {"a", "1", "0", "0", "0", "1600.00", "1.000", "1.000"},
        {"c", "1", "0", "0", "0", "1500.00", "1.000", "1.000"},
        {"d", "2", "0", "0", "0", "1600.00", "1.000", "1.000"},
    });
    settings::AppSettings s;
    s.SortVs = {1, 0, 0, 0, 0, 1, 0, 0};
    ApplySavedSort(ListId::OpponentList, view, SortStates(ListId::OpponentList, std::as_const(s)));
    // By name, then (stably) by average R, largest first: the last column decides.
    EXPECT_EQ(Names(view), (Names_{"a", "d", "b", "c"}));

    s.SortVs = {0, 0, 0, 0, 0, 0, 0, 0};
    ApplySavedSort(ListId::OpponentList, view, SortStates(ListId::OpponentList, std::as_const(s)));
    EXPECT_EQ(Names(view), (Names_{"a", "d", "b", "c"}));
}

TEST(SortStatesTest, PointIntoTheSettings) {
    settings::AppSettings s;
    EXPECT_EQ(SortStates(ListId::YakuListOwn, s).data(), s.SortYaku1.data());
    EXPECT_EQ(SortStates(ListId::YakuListOther, s).data(), s.SortYaku2.data());
    EXPECT_EQ(SortStates(ListId::OpponentList, s).size(), 8u);
    EXPECT_EQ(SortStates(ListId::PeriodList, s).data(), s.SortPeriod.data());
    EXPECT_TRUE(SortStates(ListId::HourlyTable, s).empty());
    // A state for every column of a sortable list, and a sort for each column.
    for (const ListDef& def : AllListDefinitions()) {
        if (!IsSortable(def.id)) continue;
        EXPECT_EQ(SortStates(def.id, s).size(), def.columns.size()) << def.name;
        EXPECT_EQ(def.sorts.size(), def.columns.size()) << def.name;
    }
}

TEST(InMemorySortTest, LargeListStaysStable) {
    InMemoryListView view = YakuList({});
    std::mt19937 random(7);
    const int rows = 20000;
    for (int i = 0; i < rows; ++i) {
        int r = view.InsertRow(view.RowCount(), std::to_string(i));
        view.SetCell(r, 1, std::to_string(random() % 50));
    }
    SortList(ListId::YakuListOwn, 1, 1, view);
    for (int r = 1; r < rows; ++r) {
        long prevCount = std::stol(view.Cell(r - 1, 1)), count = std::stol(view.Cell(r, 1));
        ASSERT_GE(prevCount, count);
        if (prevCount == count) {
            ASSERT_LT(std::stol(view.Cell(r - 1, 0)), std::stol(view.Cell(r, 0)));
        }
    }
}

}  // namespace
}  // namespace obrenta::present
