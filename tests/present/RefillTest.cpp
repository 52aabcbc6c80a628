#include <gtest/gtest.h>

#include <limits>

#include "PresentTestSupport.h"
#include "present/Report.h"

namespace obrenta::present {
namespace {

using test::MyGame;
using test::Sj;
using test::U8;

class RefillTest : public ::testing::Test {
protected:
    RefillTest() : settings_(test::MeSettings()), engine_(settings_) {}

    void Refill() {
        SetUpPages(pages_.lists, pages_.charts, settings_);
        RefillPages(engine_, settings_, pages_.lists, pages_.charts);
    }
    std::string Cell(ListId list, int row, int column) { return U8(pages_[list].Cell(row, column)); }

    settings::AppSettings settings_;
    tally::TallyEngine engine_;
    InMemoryPages pages_;
    scorelog::NamePoolPtr pool_ = std::make_shared<scorelog::NamePool>();
};

TEST_F(RefillTest, EmptySelection) {
    Refill();
    EXPECT_EQ(Cell(ListId::GameSummaryTable, 0, 1), "0");
    EXPECT_EQ(Cell(ListId::GameSummaryTable, 1, 1), "0");
    EXPECT_EQ(Cell(ListId::GameSummaryTable, 2, 1), "0.00");
    EXPECT_EQ(Cell(ListId::GameSummaryTable, 3, 1), "00 : 00 : 00");
    EXPECT_EQ(Cell(ListId::GameSummaryTable, 4, 1), "00 : 00 : 00");
    EXPECT_EQ(Cell(ListId::GameSummaryTable, 5, 1), "00 : 00 : 00");
    EXPECT_EQ(Cell(ListId::GameSummaryTable, 6, 1), "0日間 00時間 00分");
    EXPECT_EQ(Cell(ListId::RatingTable, 4, 2), "");
    EXPECT_EQ(Cell(ListId::PointsTable, 0, 1), " 0.000");
    EXPECT_EQ(Cell(ListId::RankTable, 0, 1), "0 回");
    EXPECT_EQ(Cell(ListId::RankTable, 0, 2), " 0.000 %");
    EXPECT_EQ(Cell(ListId::RankTable, 4, 1), "");
    EXPECT_EQ(Cell(ListId::RankTable, 8, 2), "   0.00");
    EXPECT_EQ(Cell(ListId::StreakTable, 0, 1), "0 (  0 )");
    EXPECT_EQ(Cell(ListId::StreakTable, 4, 3), "");
    for (ListId list :
         {ListId::RecentGamesList, ListId::YakuListOwn, ListId::YakuListOther, ListId::OpponentList}) {
        EXPECT_EQ(pages_[list].RowCount(), 0) << ListName(list);
    }
    EXPECT_EQ(U8(pages_[ListId::YakuListOwn].Heading(0)), "役( 0種類 )");
    EXPECT_EQ(U8(pages_[ListId::YakuListOther].Heading(0)), "役( 0種類 )");
    EXPECT_EQ(U8(pages_[ListId::OpponentList].Heading(0)), "名前( 0人 )");
    for (int h = 0; h < 24; ++h) {
        EXPECT_EQ(Cell(ListId::HourlyTable, h, 6), "---");
        EXPECT_EQ(Cell(ListId::HourlyTable, h, 7), "---");
    }
    EXPECT_EQ(Cell(ListId::HourlyTable, 25, 6), " 0.000");
    EXPECT_EQ(Cell(ListId::HanTableOwn, 0, 2), "  0.00 %");
    EXPECT_EQ(Cell(ListId::HanTableOwn, 9, 2), " 0.00 %");
    EXPECT_EQ(Cell(ListId::HanTableOwn, 9, 3), "100.00 %");
    EXPECT_EQ(Cell(ListId::HanTableOther, 9, 3), "100.00 %");
    EXPECT_EQ(Cell(ListId::HandOutcomeTable, 0, 1), "0");
    EXPECT_EQ(Cell(ListId::HandOutcomeTable, 0, 2), "---");
    EXPECT_EQ(Cell(ListId::HandOutcomeTable, 0, 3), "---");
    EXPECT_EQ(Cell(ListId::HandOutcomeTable, 11, 2), " 0.00%");
    EXPECT_EQ(Cell(ListId::HandOutcomeTable, 11, 3), "0");
    EXPECT_EQ(Cell(ListId::LastHandTable, 0, 6), "+0.00");
    EXPECT_EQ(Cell(ListId::LastHandWonTable, 4, 6), "+0.00");
}

TEST_F(RefillTest, RecentGamesShowTheNewestHundredOldestFirst) {
    for (int i = 1; i <= 250; ++i) {
        engine_.selectedGames.push_back(
            {MyGame(pool_, 1500 + i, i, 1 + i % 4, test::LocalSeconds(2024, 1, 1, 0, 0) + 60 * i)});
    }
    Refill();
    const InMemoryListView& view = pages_[ListId::RecentGamesList];
    ASSERT_EQ(view.RowCount(), 100);
    EXPECT_EQ(view.Cell(0, 1), "151");  // points i of game i
    EXPECT_EQ(view.Cell(99, 1), "250");
    EXPECT_EQ(view.Cell(99, 2), "1750");
    EXPECT_EQ(view.Cell(0, 0), "01/01  02:31");
    EXPECT_EQ(view.Cell(99, 0), "01/01  04:10");
    EXPECT_EQ(view.EnsuredVisibleRow(), 99);
    EXPECT_TRUE(view.RedrawOn());
}

TEST_F(RefillTest, RecentGamesMarkBoxOutBeforeYakitori) {
    struct Case {
        bool boxedOut;
        bool yakitori;
        const char* rank;
    };
    const Case cases[] = {
        {false, false, "3"}, {false, true, "焼 3"}, {true, false, "箱 3"}, {true, true, "箱 3"}};
    for (const Case& c : cases) {
        scorelog::GameRecord game = MyGame(pool_, 1600, -12, 3, test::LocalSeconds(2024, 12, 31, 23, 59));
        engine_.selectedGames.push_back({game, 0, c.yakitori, c.boxedOut});
    }
    Refill();
    const InMemoryListView& view = pages_[ListId::RecentGamesList];
    ASSERT_EQ(view.RowCount(), 4);
    for (int r = 0; r < 4; ++r) EXPECT_EQ(U8(view.Cell(r, 3)), cases[r].rank);
    EXPECT_EQ(view.Cell(0, 0), "12/31  23:59");
    EXPECT_EQ(view.Cell(0, 1), "-12");
}

TEST_F(RefillTest, SummaryFormats) {
    engine_.gameCount = 4;
    engine_.avgHandsPerGame = 9.126;
    engine_.avgGameSeconds = 86400 + 3661;
    engine_.shortestGameSeconds = 1500;
    engine_.longestGameSeconds = -61;
    engine_.totalGameSeconds = 86400 + 3661;
    engine_.rankCount = {0, 1, 1, 1, 1};
    engine_.rankRate = {0, 25, 25, 25, 25};
    engine_.avgRank = 2;
    engine_.predictedR = 1799.99;
    engine_.pointsMean = -3.25;
    engine_.longestRankStreak[1] = 12;
    engine_.currentRankStreak[1] = 3;
    engine_.ownWinRate = 3.5;
    engine_.ownHanRateOfHands[1] = 3.5;
    engine_.hourStats[7].games = 2;
    engine_.hourStats[7].avgRank = 2;
    engine_.hourStats[7].avgPoints = 12.5;
    engine_.handOutcome[0][2] = {3, 3.5, 5566};
    engine_.handOutcome[2][1] = {0, 0, 0};
    engine_.handOutcomeTotal[2] = {0, 0, 0};
    engine_.avgRankChange[3] = -2;
    engine_.avgRankChangeAll = 0.25;
    Refill();
    EXPECT_EQ(Cell(ListId::GameSummaryTable, 2, 1), "9.13");
    EXPECT_EQ(Cell(ListId::GameSummaryTable, 3, 1), "01 : 01 : 01");
    EXPECT_EQ(Cell(ListId::GameSummaryTable, 4, 1), "00 : 25 : 00");
    EXPECT_EQ(Cell(ListId::GameSummaryTable, 5, 1), "-00 : 01 : 00");
    EXPECT_EQ(Cell(ListId::GameSummaryTable, 6, 1), "1日間 01時間 01分");
    EXPECT_EQ(Cell(ListId::RankTable, 0, 2), "25.000 %");
    const int avgRankRow = RowOfLabel(ListId::RankTable, "平均順位");
    EXPECT_EQ(Cell(ListId::RankTable, avgRankRow, 1), " 2.000");
    EXPECT_EQ(Cell(ListId::RankTable, avgRankRow, 2), "1799.99");
    EXPECT_EQ(Cell(ListId::PointsTable, 0, 1), "-3.250");
    EXPECT_EQ(Cell(ListId::StreakTable, 0, 1), "12 (  3 )");
    EXPECT_EQ(Cell(ListId::HanTableOwn, 0, 2), "  3.50 %");
    EXPECT_EQ(Cell(ListId::HanTableOwn, 9, 2), " 3.50 %");
    EXPECT_EQ(Cell(ListId::HourlyTable, 7, 6), " 2.000");
    EXPECT_EQ(Cell(ListId::HourlyTable, 7, 7), "12.500");
    EXPECT_EQ(Cell(ListId::HourlyTable, 25, 1), "4");
    EXPECT_EQ(Cell(ListId::HandOutcomeTable, 1, 1), "3");
    EXPECT_EQ(Cell(ListId::HandOutcomeTable, 1, 2), " 3.50%");
    EXPECT_EQ(Cell(ListId::HandOutcomeTable, 1, 3), "5566");
    EXPECT_EQ(Cell(ListId::HandOutcomeTable, 0, 8), "---");
    EXPECT_EQ(Cell(ListId::HandOutcomeTable, 11, 8), " 0.00%");
    EXPECT_EQ(Cell(ListId::HandOutcomeTable, 11, 9), "0");
    EXPECT_EQ(Cell(ListId::HandOutcomeTable, 10, 1), "");
    EXPECT_EQ(Cell(ListId::LastHandTable, 2, 6), "-2.00");
    EXPECT_EQ(Cell(ListId::LastHandTable, 4, 6), "+0.25");
    EXPECT_EQ(Cell(ListId::LastHandTable, 4, 0), "計");
}

TEST_F(RefillTest, ZeroDivisorCellsShowZeroInTheirFormat) {
    engine_.gameCount = 1;
    engine_.avgRankChange[2] = std::numeric_limits<double>::quiet_NaN();
    engine_.ownHanRateOfHands[3] = std::numeric_limits<double>::quiet_NaN();
    Refill();
    EXPECT_EQ(Cell(ListId::LastHandTable, 1, 6), "+0.00");
    EXPECT_EQ(Cell(ListId::HanTableOwn, 2, 2), "  0.00 %");
}

TEST_F(RefillTest, VariableListsAreRebuiltAndSorted) {
    engine_.ownYaku[Sj("立直")] = {2, 25, 100};
    engine_.ownYaku[Sj("ドラ2")] = {1, 12.5, 50};
    engine_.ownYaku["A"] = {3, 37.5, 150};
    engine_.opponentStats["b"] = {1, 2, 3, 1523.456, 1, 0, 0};
    engine_.opponentStats["a"] = {2, 2.5, 2.5, 1600, 1, 1, 0};
    settings_.SortYaku1 = {0, 0, 0, 0};
    settings_.SortVs = {0, 0, 0, 0, 0, 0, 0, 0};
    Refill();
    const InMemoryListView& yaku = pages_[ListId::YakuListOwn];
    EXPECT_EQ(U8(yaku.Heading(0)), "役( 3種類 )");
    ASSERT_EQ(yaku.RowCount(), 3);
    // Unsorted: descending byte order, from the insertions at the top.
    EXPECT_EQ(U8(yaku.Cell(0, 0)), "立直");
    EXPECT_EQ(U8(yaku.Cell(1, 0)), "ドラ2");
    EXPECT_EQ(yaku.Cell(2, 0), "A");
    EXPECT_EQ(yaku.Cell(2, 2), " 37.50 %");
    EXPECT_EQ(yaku.Cell(2, 3), "150.00 %");
    const InMemoryListView& opponents = pages_[ListId::OpponentList];
    EXPECT_EQ(U8(opponents.Heading(0)), "名前( 2人 )");
    EXPECT_EQ(opponents.Cell(0, 0), "b");
    EXPECT_EQ(opponents.Cell(0, 5), "1523.46");
    EXPECT_EQ(opponents.Cell(0, 6), " 3.000");
    EXPECT_EQ(opponents.Cell(0, 7), " 2.000");
    EXPECT_EQ(opponents.Cell(1, 1), "2");

    // A second refill starts from nothing, with the saved order applied.
    settings_.SortYaku1 = {0, 1, 0, 0};
    engine_.ownYaku.erase("A");
    RefillPages(engine_, settings_, pages_.lists, pages_.charts);
    ASSERT_EQ(yaku.RowCount(), 2);
    EXPECT_EQ(U8(yaku.Cell(0, 0)), "立直");
    EXPECT_EQ(U8(yaku.Heading(0)), "役( 2種類 )");
}

TEST_F(RefillTest, FixedLabelsSurviveARefill) {
    Refill();
    RefillPages(engine_, settings_, pages_.lists, pages_.charts);
    EXPECT_EQ(Cell(ListId::StreakTable, 6, 2), "箱割なし");
    EXPECT_EQ(Cell(ListId::HourlyTable, 25, 0), "計");
    EXPECT_EQ(pages_[ListId::HourlyTable].RowCount(), 26);
}

}  // namespace
}  // namespace obrenta::present
