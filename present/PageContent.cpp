#include "present/PageContent.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <string>
#include <vector>

#include "present/CellFormat.h"
#include "present/TextCodec.h"

namespace obrenta::present {
namespace {

using tally::TallyEngine;

struct ColumnDef {
    const char* heading;
    int width;
    Align align;
};

struct ListDef {
    std::string_view name;
    ListPlace place;
    bool fills;
    std::vector<ColumnDef> columns;
    std::vector<std::string> rows;           // fixed row labels, UTF-8
    std::vector<std::string> column2Labels;  // fixed labels of column 2, UTF-8
};

constexpr Align L = Align::Left;
constexpr Align R = Align::Right;

std::vector<std::string> HourLabels() {
    std::vector<std::string> rows;
    for (int h = 0; h < 24; ++h) rows.push_back(FormatCell("%02d - %02d", h, h + 1));
    rows.push_back("");
    rows.push_back("計");
    return rows;
}

std::vector<ListDef> MakeListDefs() {
    const std::vector<ColumnDef> hanColumns{
        {"飜数", 45, L}, {"回数", 37, R}, {"%(全体)", 55, R}, {"%(和了)", 55, R}};
    const std::vector<std::string> hanRows{"一飜",   "二飜", "三飜",   "四飜", "満貫",
                                           "ハネ満", "倍満", "３倍満", "役満", "合計"};
    const std::vector<ColumnDef> yakuColumns{
        {"役(0種類)", 80, L}, {"回数", 37, R}, {"%(全体)", 55, R}, {"%(和了)", 55, R}};
    auto lastHandColumns = [](const char* first) {
        return std::vector<ColumnDef>{{first, 60, L}, {"回数", 60, R}, {"1位", 65, R}, {"2位", 65, R},
                                      {"3位", 65, R}, {"4位", 65, R},  {"平均", 60, R}};
    };
    const std::vector<std::string> lastHandRows{"1位", "2位", "3位", "4位", "計"};

    // In ListId order.
    return {
        {"GameSummaryTable",
         {1026, 7, 7, 134, 82},
         true,
         {{"対局情報", 70, L}, {"", 120, R}},
         {"ゲーム数", "局数", "平均局数", "平均時間", "最短時間", "最長時間", "合計時間"},
         {}},
        {"RatingTable",
         {1027, 7, 94, 81, 63},
         true,
         {{"R値", 35, L}, {"自分", 50, R}, {"相手", 50, R}},
         {"平均", "偏差", "最高", "最低", "最終"},
         {}},
        {"PointsTable",
         {1030, 91, 94, 50, 63},
         true,
         {{"得点", 38, L}, {"", 40, R}},
         {"平均", "偏差", "最高", "最低", "合計"},
         {}},
        {"RankTable",
         {1029, 7, 162, 110, 94},
         true,
         {{"順位", 60, L}, {"回数", 60, R}, {"割合", 60, R}},
         {"1位", "2位", "3位", "4位", "", "焼鳥", "箱割", "", "平均順位"},
         {}},
        {"StreakTable",
         {1028, 120, 162, 148, 94},
         true,
         {{"連続記録", 60, L}, {"", 60, R}, {"連続なし", 60, L}, {"", 60, R}},
         {"連続1位", "連続2位", "連続3位", "連続4位", "", "連続焼鳥", "連続箱割"},
         {"1位なし", "2位なし", "3位なし", "4位なし", "", "焼鳥なし", "箱割なし"}},
        {"RecentGamesList",
         {1031, 144, 7, 124, 150},
         false,
         {{"開始日時", 75, L}, {"得点", 40, R}, {"R", 40, R}, {"順位", 40, R}},
         {},
         {}},
        {"HanTableOwn", {1028, 8, 20, 113, 101}, true, hanColumns, hanRows, {}},
        {"HanTableOther", {1029, 8, 148, 113, 101}, true, hanColumns, hanRows, {}},
        {"YakuListOwn", {1030, 124, 20, 142, 101}, false, yakuColumns, {}, {}},
        {"YakuListOther", {1031, 124, 148, 142, 101}, false, yakuColumns, {}, {}},
        {"HourlyTable",
         {1030, 7, 7, 261, 249},
         true,
         {{"時間", 60, L},
          {"試合数", 60, R},
          {"1位", 50, R},
          {"2位", 50, R},
          {"3位", 50, R},
          {"4位", 50, R},
          {"平均順位", 60, R},
          {"平均得点", 60, R}},
         HourLabels(),
         {}},
        {"HandOutcomeTable",
         {1032, 7, 7, 261, 122},
         true,
         {{"", 60, L},
          {"得点", 40, R},
          {"", 50, R},
          {"", 50, R},
          {"なし", 50, R},
          {"", 50, R},
          {"", 0, R},
          {"失点", 50, R},
          {"", 50, R},
          {"", 50, R}},
         {"ツモ", "ロン", "流局", "流し満貫", "チョンボ", "九種九牌", "四風連打", "四家立直", "三家和",
          "四開槓", "", "合計"},
         {}},
        {"LastHandTable", {1033, 7, 134, 261, 59}, true, lastHandColumns("オーラス"), lastHandRows, {}},
        {"LastHandWonTable", {1035, 7, 197, 261, 59}, true, lastHandColumns("和了時"), lastHandRows, {}},
        {"OpponentList",
         {1035, 7, 7, 261, 232},
         false,
         {{"名前", 90, L},
          {"試合数", 50, R},
          {"勝", 35, R},
          {"負", 35, R},
          {"分", 35, R},
          {"平均R", 50, R},
          {"平均順位", 60, R},
          {"U平均順位", 70, R}},
         {},
         {}},
    };
}

// The lists' definitions with every text already in code page 932.
const std::vector<ListDef>& ListDefs() {
    static const std::vector<ListDef> defs = [] {
        std::vector<ListDef> lists = MakeListDefs();
        for (ListDef& list : lists) {
            for (std::string& row : list.rows) row = Cp932Literal(row);
            for (std::string& label : list.column2Labels) label = Cp932Literal(label);
        }
        return lists;
    }();
    return defs;
}

const ListDef& Def(ListId list) {
    return ListDefs().at(static_cast<std::size_t>(list));
}

// The fixed texts of the refill, in code page 932.
struct RefillTexts {
    std::string timesFormat = Cp932Literal("%d 回");
    std::string totalTimeFormat = Cp932Literal("%D日間 %H時間 %M分");
    std::string boxedOutMark = Cp932Literal("箱 ");
    std::string yakitoriMark = Cp932Literal("焼 ");
    std::string yakuHeading = Cp932Literal("役( %d種類 )");
    std::string opponentHeading = Cp932Literal("名前( %d人 )");
    std::string ratingSeries = Cp932Literal("R値");
    std::string pointsSeries = Cp932Literal("得点");
};

const RefillTexts& Texts() {
    static const RefillTexts texts;
    return texts;
}

// A quotient whose divisor was 0 is shown as 0 in its cell's format, should a NaN ever reach here.
double Shown(double value) {
    return std::isnan(value) ? 0.0 : value;
}

std::string Int(std::int64_t value) {
    return std::to_string(value);
}
std::string Fixed(const char* format, double value) {
    return FormatCell(format, Shown(value));
}

void FillGameSummary(ListView& view, const TallyEngine& e) {
    view.SetCell(0, 1, Int(e.gameCount));
    view.SetCell(1, 1, Int(e.totalHandCount));
    view.SetCell(2, 1, Fixed("%4.2f", e.avgHandsPerGame));
    view.SetCell(3, 1, FormatDuration("%H : %M : %S", e.avgGameSeconds));
    view.SetCell(4, 1, FormatDuration("%H : %M : 00", e.shortestGameSeconds));
    view.SetCell(5, 1, FormatDuration("%H : %M : 00", e.longestGameSeconds));
    view.SetCell(6, 1, FormatDuration(Texts().totalTimeFormat, e.totalGameSeconds));
}

void FillRating(ListView& view, const TallyEngine& e) {
    view.SetCell(0, 1, Fixed("%4.2f", e.ownRMean));
    view.SetCell(0, 2, Fixed("%4.2f", e.opponentRMean));
    view.SetCell(1, 1, Fixed("%4.2f", e.ownRDeviation));
    view.SetCell(1, 2, Fixed("%4.2f", e.opponentRDeviation));
    view.SetCell(2, 1, Int(e.ownRMax));
    view.SetCell(2, 2, Int(e.opponentRMax));
    view.SetCell(3, 1, Int(e.ownRMin));
    view.SetCell(3, 2, Int(e.opponentRMin));
    view.SetCell(4, 1, Int(e.ownRLast));
}

void FillPoints(ListView& view, const TallyEngine& e) {
    view.SetCell(0, 1, Fixed("%6.3f", e.pointsMean));
    view.SetCell(1, 1, Fixed("%6.3f", e.pointsDeviation));
    view.SetCell(2, 1, Int(e.pointsMax));
    view.SetCell(3, 1, Int(e.pointsMin));
    view.SetCell(4, 1, Int(e.pointsTotal));
}

void FillRank(ListView& view, const TallyEngine& e) {
    const char* times = Texts().timesFormat.c_str();
    for (int r = 0; r < 4; ++r) {
        view.SetCell(r, 1, FormatCell(times, e.rankCount[r + 1]));
        view.SetCell(r, 2, Fixed("%6.3f %%", e.rankRate[r + 1]));
    }
    view.SetCell(5, 1, FormatCell(times, e.yakitoriCount));
    view.SetCell(5, 2, Fixed("%6.3f %%", e.yakitoriRate));
    view.SetCell(6, 1, FormatCell(times, e.boxOutCount));
    view.SetCell(6, 2, Fixed("%6.3f %%", e.boxOutRate));
    view.SetCell(8, 1, Fixed("%6.3f", e.avgRank));
    view.SetCell(8, 2, Fixed("%7.2f", e.predictedR));
}

std::string Streak(std::int32_t longest, std::int32_t current) {
    return FormatCell("%d ( %2d )", longest, current);
}

void FillStreak(ListView& view, const TallyEngine& e) {
    for (int r = 0; r < 4; ++r) {
        view.SetCell(r, 1, Streak(e.longestRankStreak[r + 1], e.currentRankStreak[r + 1]));
        view.SetCell(r, 3, Streak(e.longestNoRankStreak[r + 1], e.currentNoRankStreak[r + 1]));
    }
    view.SetCell(5, 1, Streak(e.longestYakitoriStreak, e.currentYakitoriStreak));
    view.SetCell(5, 3, Streak(e.longestNoYakitoriStreak, e.currentNoYakitoriStreak));
    view.SetCell(6, 1, Streak(e.longestBoxOutStreak, e.currentBoxOutStreak));
    view.SetCell(6, 3, Streak(e.longestNoBoxOutStreak, e.currentNoBoxOutStreak));
}

constexpr std::size_t kRecentGamesShown = 100;

std::string StartTimeText(std::int64_t startTime) {
    std::time_t t = static_cast<std::time_t>(startTime);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) local = std::tm{};
    return FormatCell("%02d/%02d  %02d:%02d", local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min);
}

void FillRecentGames(ListView& view, const TallyEngine& e, const settings::AppSettings& /*settings*/) {
    view.SetRedraw(false);
    view.DeleteAllRows();
    const auto& games = e.selectedGames;
    std::size_t shown = std::min(games.size(), kRecentGamesShown);
    for (std::size_t i = 0; i < shown; ++i) {
        const tally::SelectedGame& game = games[games.size() - 1 - i];
        const scorelog::SeatResult& seat = game.user();
        int row = view.InsertRow(0, StartTimeText(game.game.startTime));
        view.SetCell(row, 1, Int(seat.points));
        view.SetCell(row, 2, Int(seat.rating));
        std::string rank = Int(seat.rank);
        if (game.boxedOut) {
            rank = Texts().boxedOutMark + rank;
        } else if (game.yakitori) {
            rank = Texts().yakitoriMark + rank;
        }
        view.SetCell(row, 3, rank);
    }
    if (view.RowCount() > 0) view.EnsureVisible(view.RowCount() - 1);
    view.SetRedraw(true);
}

void FillHanTable(ListView& view, const std::array<std::int32_t, scorelog::kHanClassCount>& count,
                  const std::array<double, scorelog::kHanClassCount>& rateOfHands,
                  const std::array<double, scorelog::kHanClassCount>& rateOfWins, std::int32_t winCount,
                  double winRate) {
    for (int r = 0; r < 9; ++r) {
        view.SetCell(r, 1, Int(count[r + 1]));
        view.SetCell(r, 2, Fixed("%6.2f %%", rateOfHands[r + 1]));
        view.SetCell(r, 3, Fixed("%6.2f %%", rateOfWins[r + 1]));
    }
    view.SetCell(9, 1, Int(winCount));
    view.SetCell(9, 2, Fixed("%5.2f %%", winRate));
    view.SetCell(9, 3, FormatCell("100.00 %%"));
}

void FillYakuList(ListId list, ListView& view, const tally::YakuMap& yaku,
                  const settings::AppSettings& settings) {
    view.SetRedraw(false);
    view.DeleteAllRows();
    view.SetFirstHeading(FormatCell(Texts().yakuHeading.c_str(), static_cast<int>(yaku.size())));
    for (const auto& [name, stats] : yaku) {
        int row = view.InsertRow(0, name);
        view.SetCell(row, 1, Int(stats.count));
        view.SetCell(row, 2, Fixed("%6.2f %%", stats.rateOfHands));
        view.SetCell(row, 3, Fixed("%6.2f %%", stats.rateOfWins));
    }
    ApplySavedSort(list, view, SortStates(list, settings));
    view.SetRedraw(true);
}

void FillHourly(ListView& view, const TallyEngine& e) {
    view.SetRedraw(false);
    for (int h = 0; h < 24; ++h) {
        const tally::HourStats& hour = e.hourStats[h];
        view.SetCell(h, 1, Int(hour.games));
        for (int r = 1; r <= 4; ++r) view.SetCell(h, 1 + r, Int(hour.rankCount[r]));
        view.SetCell(h, 6, hour.games == 0 ? std::string("---") : Fixed("%6.3f", hour.avgRank));
        view.SetCell(h, 7, hour.games == 0 ? std::string("---") : Fixed("%6.3f", hour.avgPoints));
    }
    view.SetCell(25, 1, Int(e.gameCount));
    for (int r = 1; r <= 4; ++r) view.SetCell(25, 1 + r, Int(e.rankCount[r]));
    view.SetCell(25, 6, Fixed("%6.3f", e.avgRank));
    view.SetCell(25, 7, Fixed("%6.3f", e.pointsMean));
    view.SetRedraw(true);
}

void FillHandOutcome(ListView& view, const TallyEngine& e) {
    view.SetRedraw(false);
    for (int g = 0; g < tally::kPointChangeCount; ++g) {
        int base = 1 + 3 * g;
        for (int r = 0; r < 10; ++r) {
            const tally::HandOutcomeStats& s = e.handOutcome[g][r + 1];
            view.SetCell(r, base, Int(s.count));
            view.SetCell(r, base + 1, s.count == 0 ? std::string("---") : Fixed("%5.2f%%", s.rate));
            view.SetCell(r, base + 2, s.count == 0 ? std::string("---") : Int(s.avgPointChange));
        }
        const tally::HandOutcomeStats& total = e.handOutcomeTotal[g];
        view.SetCell(11, base, Int(total.count));
        view.SetCell(11, base + 1, Fixed("%5.2f%%", total.rate));
        view.SetCell(11, base + 2, Int(total.avgPointChange));
    }
    view.SetRedraw(true);
}

void FillLastHand(ListView& view, const std::array<std::int32_t, 5>& preLastCount,
                  const std::array<std::array<std::int32_t, 5>, 5>& transition,
                  const std::array<double, 5>& avgChange, const std::array<std::int32_t, 5>& totalByFinal,
                  std::int32_t total, double avgChangeAll) {
    view.SetRedraw(false);
    for (int p = 1; p <= 4; ++p) {
        view.SetCell(p - 1, 1, Int(preLastCount[p]));
        for (int f = 1; f <= 4; ++f) view.SetCell(p - 1, 1 + f, Int(transition[p][f]));
        view.SetCell(p - 1, 6, Fixed("%+4.2f", avgChange[p]));
    }
    for (int f = 1; f <= 4; ++f) view.SetCell(4, 1 + f, Int(totalByFinal[f]));
    view.SetCell(4, 1, Int(total));
    view.SetCell(4, 6, Fixed("%+4.2f", avgChangeAll));
    view.SetRedraw(true);
}

void FillOpponents(ListView& view, const TallyEngine& e, const settings::AppSettings& settings) {
    view.SetRedraw(false);
    view.DeleteAllRows();
    view.SetFirstHeading(
        FormatCell(Texts().opponentHeading.c_str(), static_cast<int>(e.opponentStats.size())));
    for (const auto& [name, s] : e.opponentStats) {
        int row = view.InsertRow(0, name);
        view.SetCell(row, 1, Int(s.games));
        view.SetCell(row, 2, Int(s.wins));
        view.SetCell(row, 3, Int(s.losses));
        view.SetCell(row, 4, Int(s.ties));
        view.SetCell(row, 5, Fixed("%7.2f", s.avgOpponentR));
        view.SetCell(row, 6, Fixed("%6.3f", s.avgOpponentRank));
        view.SetCell(row, 7, Fixed("%6.3f", s.avgUserRank));
    }
    ApplySavedSort(ListId::OpponentList, view, SortStates(ListId::OpponentList, settings));
    view.SetRedraw(true);
}

// --- sorting -------------------------------------------------------------------------------

enum class KeyKind { Text, Integer, Decimal };

}  // namespace

std::string_view ListName(ListId list) {
    return Def(list).name;
}

bool ListColumnsFill(ListId list) {
    return Def(list).fills;
}

bool IsSortable(ListId list) {
    return list == ListId::YakuListOwn || list == ListId::YakuListOther || list == ListId::OpponentList;
}

ListPlace ListPlacement(ListId list) {
    return Def(list).place;
}

int ListWidthPixels(ListId list) {
    return static_cast<int>(std::lround(Def(list).place.width * kPixelsPerDialogUnitX));
}

void SetUpList(ListId list, ListView& view) {
    const ListDef& def = Def(list);
    for (std::size_t c = 0; c < def.columns.size(); ++c) {
        const ColumnDef& column = def.columns[c];
        view.InsertColumn(static_cast<int>(c), Cp932Literal(column.heading), column.width, column.align);
    }
    for (std::size_t r = 0; r < def.rows.size(); ++r) view.InsertRow(static_cast<int>(r), def.rows[r]);
    for (std::size_t r = 0; r < def.column2Labels.size(); ++r) {
        view.SetCell(static_cast<int>(r), 2, def.column2Labels[r]);
    }
    if (def.fills) view.FillLastColumn();
}

void SetUpPages(PageLists& lists, PageCharts& charts, const settings::AppSettings& settings) {
    for (ListId list : {ListId::GameSummaryTable, ListId::RatingTable, ListId::PointsTable, ListId::RankTable,
                        ListId::StreakTable, ListId::RecentGamesList, ListId::HanTableOwn,
                        ListId::HanTableOther, ListId::YakuListOwn, ListId::YakuListOther}) {
        SetUpList(list, lists[list]);
    }
    if (charts.scoreChart) SetUpScoreChart(*charts.scoreChart);
    if (charts.windowScoreChart) SetUpScoreChart(*charts.windowScoreChart);
    for (ListId list : {ListId::HourlyTable, ListId::HandOutcomeTable, ListId::LastHandTable,
                        ListId::LastHandWonTable, ListId::OpponentList}) {
        SetUpList(list, lists[list]);
    }
    if (charts.scoreChart) ApplyRegressionSettings(*charts.scoreChart, settings);
    if (charts.windowScoreChart) ApplyRegressionSettings(*charts.windowScoreChart, settings);
}

void RefillPages(const TallyEngine& engine, const settings::AppSettings& settings, PageLists& lists,
                 PageCharts& charts) {
    FillGameSummary(lists[ListId::GameSummaryTable], engine);
    FillRating(lists[ListId::RatingTable], engine);
    FillPoints(lists[ListId::PointsTable], engine);
    FillRank(lists[ListId::RankTable], engine);
    FillStreak(lists[ListId::StreakTable], engine);
    FillRecentGames(lists[ListId::RecentGamesList], engine, settings);
    FillHanTable(lists[ListId::HanTableOwn], engine.ownHanCount, engine.ownHanRateOfHands,
                 engine.ownHanRateOfWins, engine.ownWinCount, engine.ownWinRate);
    FillHanTable(lists[ListId::HanTableOther], engine.otherHanCount, engine.otherHanRateOfHands,
                 engine.otherHanRateOfWins, engine.otherWinCount, engine.otherWinRate);
    FillYakuList(ListId::YakuListOwn, lists[ListId::YakuListOwn], engine.ownYaku, settings);
    FillYakuList(ListId::YakuListOther, lists[ListId::YakuListOther], engine.otherYaku, settings);
    if (charts.scoreChart) FillScoreChart(*charts.scoreChart, engine, settings);
    if (charts.windowScoreChart) FillScoreChart(*charts.windowScoreChart, engine, settings);
    FillHourly(lists[ListId::HourlyTable], engine);
    FillHandOutcome(lists[ListId::HandOutcomeTable], engine);
    FillLastHand(lists[ListId::LastHandTable], engine.preLastRankCount, engine.rankTransition,
                 engine.avgRankChange, engine.rankCount, engine.gameCount, engine.avgRankChangeAll);
    FillLastHand(lists[ListId::LastHandWonTable], engine.preLastRankWonCount, engine.rankTransitionWon,
                 engine.avgRankChangeWon, engine.lastHandWinByFinalRank, engine.lastHandWinCount,
                 engine.avgRankChangeAllWon);
    FillOpponents(lists[ListId::OpponentList], engine, settings);
    if (charts.ownRatingDist) FillRatingDistChart(*charts.ownRatingDist, engine.ownRHistogram);
    if (charts.opponentRatingDist) FillRatingDistChart(*charts.opponentRatingDist, engine.opponentRHistogram);
}

// --- sorting -------------------------------------------------------------------------------

std::span<std::int32_t> SortStates(ListId list, settings::AppSettings& settings) {
    switch (list) {
        case ListId::YakuListOwn:
            return settings.SortYaku1;
        case ListId::YakuListOther:
            return settings.SortYaku2;
        case ListId::OpponentList:
            return settings.SortVs;
        default:
            return {};
    }
}

std::span<const std::int32_t> SortStates(ListId list, const settings::AppSettings& settings) {
    switch (list) {
        case ListId::YakuListOwn:
            return settings.SortYaku1;
        case ListId::YakuListOther:
            return settings.SortYaku2;
        case ListId::OpponentList:
            return settings.SortVs;
        default:
            return {};
    }
}

void OnColumnClick(ListId list, int column, ListView& view, settings::AppSettings& settings) {
    std::span<std::int32_t> states = SortStates(list, settings);
    if (column < 0 || static_cast<std::size_t>(column) >= states.size()) return;
    std::int32_t old = states[column];
    std::fill(states.begin(), states.end(), 0);
    if (old == 0 || old == 2) {
        states[column] = 1;
    } else if (old == 1) {
        states[column] = 2;
    }
    SortList(list, column, states[column], view);
}

void SortList(ListId list, int column, int direction, ListView& view) {
    if (!IsSortable(list) || column < 0 || column >= view.ColumnCount()) return;
    KeyKind kind = KeyKind::Text;
    int keyColumn = column;
    if (column > 0) {
        if (list == ListId::OpponentList) {
            kind = column <= 4 ? KeyKind::Integer : KeyKind::Decimal;
        } else {
            // Both rate columns are the count over one common base, so the count orders them.
            kind = KeyKind::Integer;
            keyColumn = 1;
        }
    }
    const bool firstOrder = direction == 1;
    const int rows = view.RowCount();
    // Keys are read once from the shown texts, so the order is that of the values as shown.
    if (kind == KeyKind::Text) {
        std::vector<std::string> keys(rows);
        for (int r = 0; r < rows; ++r) keys[r] = view.Cell(r, keyColumn);
        // std::string compares as unsigned bytes, a prefix first.
        view.SortRows([&](int a, int b) { return firstOrder ? keys[a] < keys[b] : keys[b] < keys[a]; });
    } else if (kind == KeyKind::Integer) {
        std::vector<std::int64_t> keys(rows);
        for (int r = 0; r < rows; ++r) keys[r] = LeadingInteger(view.Cell(r, keyColumn));
        view.SortRows([&](int a, int b) { return firstOrder ? keys[a] > keys[b] : keys[a] < keys[b]; });
    } else {
        std::vector<double> keys(rows);
        for (int r = 0; r < rows; ++r) keys[r] = LeadingDouble(view.Cell(r, keyColumn));
        view.SortRows([&](int a, int b) { return firstOrder ? keys[a] > keys[b] : keys[a] < keys[b]; });
    }
}

void ApplySavedSort(ListId list, ListView& view, std::span<const std::int32_t> states) {
    int columns = std::min(static_cast<int>(states.size()), view.ColumnCount());
    for (int c = 0; c < columns; ++c) {
        if (states[c] != 0) SortList(list, c, states[c], view);
    }
}

// --- charts --------------------------------------------------------------------------------

void SetUpScoreChart(ChartControl& chart) {
    chart.SetRowCount(1);
    chart.SetSeriesLegendText(1, Texts().ratingSeries);
    chart.SetSeriesLegendText(2, Texts().pointsSeries);
}

namespace {

int LabelSpacing(std::size_t games) {
    if (games < 500) return 50;
    if (games < 1000) return 100;
    if (games < 2000) return 200;
    if (games < 5000) return 500;
    return 1000;
}

}  // namespace

void FillScoreChart(ChartControl& chart, const TallyEngine& engine,
                    const settings::AppSettings& /*settings*/) {
    const auto& games = engine.selectedGames;
    chart.SetRedraw(false);
    chart.SetRowCount(static_cast<int>(games.size()));
    std::int32_t first = games.empty() ? 1500 : games.front().user().rating;
    // Integer division truncates toward zero, as the bounds always have.
    std::int64_t lo = static_cast<std::int64_t>(first) / 100 * 100;
    std::int64_t hi = lo + 100;
    chart.SetValueMinimum(static_cast<double>(lo));
    chart.SetValueMaximum(static_cast<double>(hi));
    std::int64_t sum = 0;
    int d = 1;
    for (const tally::SelectedGame& game : games) {
        const scorelog::SeatResult& seat = game.user();
        chart.SetRow(d);
        chart.SetColumn(1);
        chart.SetData(Int(seat.rating));
        sum += seat.points;
        chart.SetColumn(2);
        chart.SetData(Int(sum));
        // Each bound moves by at most 100 per game, whatever the jump.
        if (seat.rating > hi) {
            hi += 100;
            chart.SetValueMaximum(static_cast<double>(hi));
        }
        if (seat.rating < lo) {
            lo -= 100;
            chart.SetValueMinimum(static_cast<double>(lo));
        }
        chart.SetRowLabel(Int(d - 1));
        ++d;
    }
    int spacing = LabelSpacing(games.size());
    chart.SetCategoryScaleAuto(false);
    chart.SetLabelTick(true);
    chart.SetDivisionsPerLabel(spacing);
    chart.SetDivisionsPerTick(spacing);
    chart.SetShowLegend(false);
    chart.SetRedraw(true);
    chart.Invalidate();
}

void FillRatingDistChart(ChartControl& chart,
                         const std::array<std::int32_t, tally::kHistogramBins>& histogram) {
    int first = -1;
    int last = -1;
    for (int b = 0; b < tally::kHistogramBins; ++b) {
        if (histogram[b] == 0) continue;
        if (first < 0) first = b;
        last = b;
    }
    if (first < 0 || first == last) {
        chart.SetRowCount(0);
        return;
    }
    chart.SetRowCount(last - first + 1);
    for (int b = first; b <= last; ++b) {
        chart.SetRow(b - first + 1);
        chart.SetColumn(1);
        chart.SetData(Int(histogram[b]));
        chart.SetRowLabel(Int(10 * b));
    }
    chart.SetTickLength(Axis::Category, 1.0f);
    chart.SetTickStyle(Axis::Category, 0);
    chart.SetColumnSpacing(0.0f);
}

void SetRegressionLine(ChartControl& chart, int series, bool on) {
    chart.SetStatLineFlag(series, on ? kStatLineRegression : 0);
}

void ApplyRegressionSettings(ChartControl& chart, const settings::AppSettings& settings) {
    chart.SetStatLineStyle(1, kStatLineRegression, kPenSolid);
    chart.SetStatLineStyle(2, kStatLineRegression, kPenSolid);
    SetRegressionLine(chart, 1, settings.StatLine1 != 0);
    SetRegressionLine(chart, 2, settings.StatLine2 != 0);
}

bool ToggleRegressionLine(int series, settings::AppSettings& settings, PageCharts& charts) {
    if (series != 1 && series != 2) return false;
    std::int32_t& state = series == 1 ? settings.StatLine1 : settings.StatLine2;
    state = state == 0 ? 1 : 0;
    bool on = state != 0;
    if (charts.scoreChart) SetRegressionLine(*charts.scoreChart, series, on);
    if (charts.windowScoreChart) SetRegressionLine(*charts.windowScoreChart, series, on);
    return on;
}

}  // namespace obrenta::present
