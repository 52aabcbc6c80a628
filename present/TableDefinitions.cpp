#include "present/TableDefinitions.h"

#include "present/ResultGetters.h"

namespace obrenta::present {
namespace {

using namespace getters;
constexpr Align L = Align::Left;
constexpr Align Rt = Align::Right;

// An empty row that no refill writes.
RowDef Separator() {
    return {"", 0, {}};
}

using O = tally::HandOutcomeStats;
using H = tally::HourStats;

// Streak cells: "longest ( current )".
constexpr const char* kStreak = "%d ( %2d )";
constexpr const char* kStreakTip = "最長記録 ( 現在の連続数 )";
constexpr auto RankStreak = StreakAt<&R::longestRankStreak, &R::currentRankStreak>;
constexpr auto NoRankStreak = StreakAt<&R::longestNoRankStreak, &R::currentNoRankStreak>;
constexpr auto YakitoriStreak = Streak<&R::longestYakitoriStreak, &R::currentYakitoriStreak>;
constexpr auto NoYakitoriStreak = Streak<&R::longestNoYakitoriStreak, &R::currentNoYakitoriStreak>;
constexpr auto BoxOutStreak = Streak<&R::longestBoxOutStreak, &R::currentBoxOutStreak>;
constexpr auto NoBoxOutStreak = Streak<&R::longestNoBoxOutStreak, &R::currentNoBoxOutStreak>;

std::vector<RowDef> StyleRows() {
    using S = tally::StyleRow;
    struct Shape {
        const char* label;
        S row;
        const char* measure;
        const char* difference;
    };
    constexpr const char* kRate = "%5.2f %% (%5.2f - %5.2f)";
    constexpr const char* kRateDifference = "%+6.2f (%+6.2f - %+6.2f)";
    constexpr const char* kPoints = "%6.0f (%6.0f - %6.0f)";
    constexpr const char* kPointsDifference = "%+6.0f (%+6.0f - %+6.0f)";
    constexpr const char* kSmall = "%5.3f (%5.3f - %5.3f)";
    constexpr const char* kSmallDifference = "%+6.3f (%+6.3f - %+6.3f)";
    const Shape shapes[] = {
        {"和了率", S::WinRate, kRate, kRateDifference},
        {"ツモ率", S::TsumoRate, kRate, kRateDifference},
        {"放銃率", S::DealInRate, kRate, kRateDifference},
        {"被ツモ率", S::TsumoLossRate, kRate, kRateDifference},
        {"流局率", S::DrawRate, kRate, kRateDifference},
        {"流局時聴牌率", S::TenpaiAtDrawRate, kRate, kRateDifference},
        {"平均和了点", S::WinValue, kPoints, kPointsDifference},
        {"平均放銃点", S::DealInValue, kPoints, kPointsDifference},
        {"和了時ドラ", S::DoraPerWin, kSmall, kSmallDifference},
        {"裏ドラ率", S::UraRate, kRate, kRateDifference},
        {"役満/1000局", S::YakumanPerThousand, kSmall, kSmallDifference},
    };
    std::vector<RowDef> rows;
    for (const Shape& shape : shapes) {
        // 流局率 is the same for every seat of a hand: the user's only.
        if (shape.row == S::DrawRate) {
            rows.push_back(
                {shape.label, static_cast<int>(shape.row), {{1, shape.measure, StyleMeasureCell<true>}}});
            continue;
        }
        rows.push_back({shape.label,
                        static_cast<int>(shape.row),
                        {{1, shape.measure, StyleMeasureCell<true>},
                         {2, shape.measure, StyleMeasureCell<false>},
                         {3, shape.difference, StyleDifferenceCell}}});
    }
    constexpr const char* kDated = "%d (%04d/%02d/%02d %02d:%02d)";
    rows.push_back({"最大の和了", 0, {{1, kDated, StyleRecordCell<&R::styleLargestWin>}}});
    rows.push_back({"最大の放銃", 0, {{1, kDated, StyleRecordCell<&R::styleLargestDealIn>}}});
    rows.push_back({"最長の試合 (局数)", 0, {{1, kDated, StyleRecordCell<&R::styleLongestGame>}}});
    return rows;
}

// 放銃: the user's deal-ins beside the field's, by riichi and by the winner's value class.
template <bool own>
CellValue DealInCount(const R& r, int row) {
    const tally::DealInLine& line = r.dealInBreakdown.lines[static_cast<std::size_t>(row)];
    return (own ? line.own : line.field).count;
}
template <bool own>
CellValue DealInShare(const R& r, int row) {
    const tally::DealInLine& line = r.dealInBreakdown.lines[static_cast<std::size_t>(row)];
    return EstimateCell(own ? line.ownShare : line.fieldShare);
}
CellValue DealInDifference(const R& r, int row) {
    const tally::DealInLine& line = r.dealInBreakdown.lines[static_cast<std::size_t>(row)];
    return DifferenceCell(line.difference, line.significant);
}
template <bool own>
CellValue DealInMeanLost(const R& r, int row) {
    const tally::DealInLine& line = r.dealInBreakdown.lines[static_cast<std::size_t>(row)];
    const tally::MeanEstimate& mean = own ? line.ownMean : line.fieldMean;
    return mean.valid ? CellValue(mean.value) : CellValue::Dashes();
}

std::vector<RowDef> DealInRows() {
    using D = tally::DealInRow;
    constexpr const char* kShare = "%5.2f %% (%5.2f - %5.2f)";
    const std::vector<CellDef> cells{
        {1, "%lld", DealInCount<true>},     {2, kShare, DealInShare<true>},
        {3, kShare, DealInShare<false>},    {4, "%+6.2f (%+6.2f - %+6.2f)", DealInDifference},
        {5, "%6.0f", DealInMeanLost<true>}, {6, "%6.0f", DealInMeanLost<false>},
        {7, "%lld", DealInCount<false>}};
    return {
        {"放銃 (対全局)", static_cast<int>(D::All), cells},
        {"立直者へ", static_cast<int>(D::IntoRiichi), cells},
        {"満貫未満", static_cast<int>(D::BelowMangan), cells},
        {"満貫", static_cast<int>(D::Mangan), cells},
        {"跳満", static_cast<int>(D::Haneman), cells},
        {"倍満以上", static_cast<int>(D::BaimanOrMore), cells},
        {"役満", static_cast<int>(D::Yakuman), cells},
    };
}

// The user's and the field's points per hand, split by what the hand was for the seat; the row's
// index is its tally::HandPart, kHandPartCount for the whole.
template <bool own>
CellValue PartTotal(const R& r, int part) {
    const tally::PointsSplit& split = own ? r.pointsPerHand.own : r.pointsPerHand.field;
    return part < tally::kHandPartCount ? split.parts[static_cast<std::size_t>(part)] : split.total;
}
template <bool own, int scale>
CellValue PartMean(const R& r, int part) {
    const tally::PointsSplit& split = own ? r.pointsPerHand.own : r.pointsPerHand.field;
    if (split.hands == 0) return CellValue::Dashes();
    const double mean =
        part < tally::kHandPartCount ? split.means[static_cast<std::size_t>(part)] : split.meanTotal;
    return mean * scale;
}
template <bool own>
CellValue SplitHands(const R& r, int) {
    return (own ? r.pointsPerHand.own : r.pointsPerHand.field).hands;
}

std::vector<RowDef> PointsPerHandRows() {
    using P = tally::HandPart;
    const std::vector<CellDef> cells{{1, "%+lld", PartTotal<true>},
                                     {2, "%+8.1f", PartMean<true, 1>},
                                     {3, "%+9.0f", PartMean<true, 100>},
                                     {4, "%+8.1f", PartMean<false, 1>},
                                     {5, "%+9.0f", PartMean<false, 100>}};
    return {
        {"和了", static_cast<int>(P::Win), cells},
        {"放銃", static_cast<int>(P::DealIn), cells},
        {"ツモの支払い", static_cast<int>(P::TsumoPaid), cells},
        {"流局", static_cast<int>(P::ExhaustiveDraw), cells},
        {"その他", static_cast<int>(P::Rest), cells},
        {"合計", tally::kHandPartCount, cells},
        {"局数", 0, {{1, "%lld", SplitHands<true>}, {4, "%lld", SplitHands<false>}}},
    };
}

std::vector<RowDef> HourRows() {
    const std::vector<CellDef> hourCells{
        {1, "%d", Hour<&H::games>},
        {2, "%d", HourRank<1>},
        {3, "%d", HourRank<2>},
        {4, "%d", HourRank<3>},
        {5, "%d", HourRank<4>},
        {6, "%6.3f", HourOrDashes<&H::avgRank>},
        {7, "%6.3f", HourOrDashes<&H::avgPoints>},
    };
    std::vector<RowDef> rows;
    for (int h = 0; h < 24; ++h) rows.push_back({FormatCell("%02d - %02d", h, h + 1), h, hourCells});
    rows.push_back(Separator());
    rows.push_back({"計",
                    0,
                    {{1, "%d", Get<&R::gameCount>},
                     {2, "%d", AtK<&R::rankCount, 1>},
                     {3, "%d", AtK<&R::rankCount, 2>},
                     {4, "%d", AtK<&R::rankCount, 3>},
                     {5, "%d", AtK<&R::rankCount, 4>},
                     {6, "%6.3f", Get<&R::avgRank>},
                     {7, "%6.3f", Get<&R::pointsMean>}}});
    return rows;
}

// The rows of a han table; the row's index is its han class.
template <auto count, auto rateOfHands, auto rateOfWins, auto winCount, auto winRate>
std::vector<RowDef> HanRows() {
    const std::vector<CellDef> cells{
        {1, "%d", At<count>}, {2, "%6.2f %%", At<rateOfHands>}, {3, "%6.2f %%", At<rateOfWins>}};
    return {
        {"一飜", 1, cells},
        {"二飜", 2, cells},
        {"三飜", 3, cells},
        {"四飜", 4, cells},
        {"満貫", 5, cells},
        {"ハネ満", 6, cells},
        {"倍満", 7, cells},
        {"３倍満", 8, cells},
        {"役満", 9, cells},
        {"合計", 0, {{1, "%d", Get<winCount>}, {2, "%5.2f %%", Get<winRate>}, {3, "100.00 %%", NoValue}}},
    };
}

// The rows of a last-hand table; the row's index is the rank before the last hand.
template <auto preLastCount, auto transition, auto avgChange, auto byFinalRank, auto total, auto avgChangeAll>
std::vector<RowDef> LastHandRows() {
    const std::vector<CellDef> cells{
        {1, "%d", At<preLastCount>},          {2, "%d", Transition<transition, 1>},
        {3, "%d", Transition<transition, 2>}, {4, "%d", Transition<transition, 3>},
        {5, "%d", Transition<transition, 4>}, {6, "%+4.2f", At<avgChange>},
    };
    return {
        {"1位", 1, cells},
        {"2位", 2, cells},
        {"3位", 3, cells},
        {"4位", 4, cells},
        {"計",
         0,
         {{1, "%d", Get<total>},
          {2, "%d", AtK<byFinalRank, 1>},
          {3, "%d", AtK<byFinalRank, 2>},
          {4, "%d", AtK<byFinalRank, 3>},
          {5, "%d", AtK<byFinalRank, 4>},
          {6, "%+4.2f", Get<avgChangeAll>}}},
    };
}

std::vector<RowDef> HandOutcomeRows() {
    // Three groups of count, rate and average change: score gained, unchanged, lost.
    const std::vector<CellDef> cells{
        {1, "%d", OutcomeCount<0>},
        {2, "%5.2f%%", OutcomeOrDashes<0, &O::rate>},
        {3, "%d", OutcomeOrDashes<0, &O::avgPointChange>},
        {4, "%d", OutcomeCount<1>},
        {5, "%5.2f%%", OutcomeOrDashes<1, &O::rate>},
        {6, "%d", OutcomeOrDashes<1, &O::avgPointChange>},
        {7, "%d", OutcomeCount<2>},
        {8, "%5.2f%%", OutcomeOrDashes<2, &O::rate>},
        {9, "%d", OutcomeOrDashes<2, &O::avgPointChange>},
    };
    const std::vector<CellDef> totals{
        {1, "%d", OutcomeTotal<0, &O::count>},          {2, "%5.2f%%", OutcomeTotal<0, &O::rate>},
        {3, "%d", OutcomeTotal<0, &O::avgPointChange>}, {4, "%d", OutcomeTotal<1, &O::count>},
        {5, "%5.2f%%", OutcomeTotal<1, &O::rate>},      {6, "%d", OutcomeTotal<1, &O::avgPointChange>},
        {7, "%d", OutcomeTotal<2, &O::count>},          {8, "%5.2f%%", OutcomeTotal<2, &O::rate>},
        {9, "%d", OutcomeTotal<2, &O::avgPointChange>},
    };
    // The row's index is its hand kind.
    return {
        {"ツモ", 1, cells},
        {"ロン", 2, cells},
        {"流局", 3, cells},
        {"流し満貫", 4, cells},
        {"チョンボ", 5, cells},
        {"九種九牌", 6, cells},
        {"四風連打", 7, cells},
        {"四家立直", 8, cells},
        {"三家和", 9, cells},
        {"四開槓", 10, cells},
        Separator(),
        {"合計", 0, totals},
    };
}

std::vector<RowDef> GameSummaryRows() {
    return {
        {"ゲーム数", 0, {{1, "%d", Get<&R::gameCount>}}},
        {"局数", 0, {{1, "%d", Get<&R::totalHandCount>}}},
        {"平均局数", 0, {{1, "%4.2f", Get<&R::avgHandsPerGame>}}},
        {"平均時間", 0, {{1, "%H : %M : %S", Seconds<&R::avgGameSeconds>}}},
        // The shortest and longest times show their seconds as a literal 00.
        {"最短時間", 0, {{1, "%H : %M : 00", Seconds<&R::shortestGameSeconds>}}},
        {"最長時間", 0, {{1, "%H : %M : 00", Seconds<&R::longestGameSeconds>}}},
        {"合計時間", 0, {{1, "%D日間 %H時間 %M分", Seconds<&R::totalGameSeconds>}}},
    };
}

std::vector<RowDef> RatingRows() {
    return {
        {"平均", 0, {{1, "%4.2f", Get<&R::ownRMean>}, {2, "%4.2f", Get<&R::opponentRMean>}}},
        {"偏差", 0, {{1, "%4.2f", Get<&R::ownRDeviation>}, {2, "%4.2f", Get<&R::opponentRDeviation>}}},
        {"最高", 0, {{1, "%d", Get<&R::ownRMax>}, {2, "%d", Get<&R::opponentRMax>}}},
        {"最低", 0, {{1, "%d", Get<&R::ownRMin>}, {2, "%d", Get<&R::opponentRMin>}}},
        {"最終", 0, {{1, "%d", Get<&R::ownRLast>}}},
    };
}

std::vector<RowDef> PointsRows() {
    return {
        {"平均", 0, {{1, "%6.3f", Get<&R::pointsMean>}}},
        {"偏差", 0, {{1, "%6.3f", Get<&R::pointsDeviation>}}},
        {"最高", 0, {{1, "%d", Get<&R::pointsMax>}}},
        {"最低", 0, {{1, "%d", Get<&R::pointsMin>}}},
        {"合計", 0, {{1, "%d", Get<&R::pointsTotal>}}},
    };
}

std::vector<RowDef> RankRows() {
    return {
        {"1位", 1, {{1, "%d 回", At<&R::rankCount>}, {2, "%6.3f %%", At<&R::rankRate>}}},
        {"2位", 2, {{1, "%d 回", At<&R::rankCount>}, {2, "%6.3f %%", At<&R::rankRate>}}},
        {"3位", 3, {{1, "%d 回", At<&R::rankCount>}, {2, "%6.3f %%", At<&R::rankRate>}}},
        {"4位", 4, {{1, "%d 回", At<&R::rankCount>}, {2, "%6.3f %%", At<&R::rankRate>}}},
        Separator(),
        {"焼鳥", 0, {{1, "%d 回", Get<&R::yakitoriCount>}, {2, "%6.3f %%", Get<&R::yakitoriRate>}}},
        {"箱割", 0, {{1, "%d 回", Get<&R::boxOutCount>}, {2, "%6.3f %%", Get<&R::boxOutRate>}}},
        Separator(),
        // The predicted R stands in the rate column.
        {"平均順位", 0, {{1, "%6.3f", Get<&R::avgRank>}, {2, "%7.2f", Get<&R::predictedR>}}},
    };
}

std::vector<RowDef> StreakRows() {
    return {
        // Column 2 holds fixed labels.
        {"連続1位", 1, {{1, kStreak, RankStreak}, {2, "1位なし"}, {3, kStreak, NoRankStreak}}},
        {"連続2位", 2, {{1, kStreak, RankStreak}, {2, "2位なし"}, {3, kStreak, NoRankStreak}}},
        {"連続3位", 3, {{1, kStreak, RankStreak}, {2, "3位なし"}, {3, kStreak, NoRankStreak}}},
        {"連続4位", 4, {{1, kStreak, RankStreak}, {2, "4位なし"}, {3, kStreak, NoRankStreak}}},
        Separator(),
        {"連続焼鳥", 0, {{1, kStreak, YakitoriStreak}, {2, "焼鳥なし"}, {3, kStreak, NoYakitoriStreak}}},
        {"連続箱割", 0, {{1, kStreak, BoxOutStreak}, {2, "箱割なし"}, {3, kStreak, NoBoxOutStreak}}},
    };
}

}  // namespace

std::vector<ListDef> FixedRowListDefs() {
    const std::vector<ColumnDef> hanColumns{{"飜数", 45, L},
                                            {"回数", 37, Rt, "この飜数での和了の回数"},
                                            {"%(全体)", 55, Rt, kRateOfHandsTip},
                                            {"%(和了)", 55, Rt, kRateOfWinsTip}};
    auto lastHandColumns = [](const char* first, const char* firstTip) {
        return std::vector<ColumnDef>{{first, 60, L, firstTip},
                                      {"回数", 60, Rt, "その順位でオーラスを迎えた試合数"},
                                      {"1位", 65, Rt, "そこから1位で終えた試合数"},
                                      {"2位", 65, Rt, "そこから2位で終えた試合数"},
                                      {"3位", 65, Rt, "そこから3位で終えた試合数"},
                                      {"4位", 65, Rt, "そこから4位で終えた試合数"},
                                      {"平均", 60, Rt, "順位の平均変化 (+ は順位が下がった)"}};
    };

    return {
        {.id = ListId::GameSummaryTable,
         .name = "GameSummaryTable",
         .size = {134, 82},
         .columnsFill = true,
         .manyRows = false,
         .columns = {{"対局情報", 70, L}, {"", 120, Rt}},
         .rows = GameSummaryRows()},
        {.id = ListId::RatingTable,
         .name = "RatingTable",
         .size = {81, 63},
         .columnsFill = true,
         .manyRows = false,
         .columns = {{"R値", 35, L}, {"自分", 50, Rt, "自分のR値"}, {"相手", 50, Rt, "同卓した相手のR値"}},
         .rows = RatingRows()},
        {.id = ListId::PointsTable,
         .name = "PointsTable",
         .size = {50, 63},
         .columnsFill = true,
         .manyRows = false,
         .columns = {{"得点", 38, L}, {"", 40, Rt}},
         .rows = PointsRows()},
        {.id = ListId::RankTable,
         .name = "RankTable",
         .size = {110, 94},
         .columnsFill = true,
         .manyRows = false,
         .columns = {{"順位", 60, L}, {"回数", 60, Rt}, {"割合", 60, Rt}},
         .rows = RankRows()},
        {.id = ListId::StreakTable,
         .name = "StreakTable",
         .size = {148, 94},
         .columnsFill = true,
         .manyRows = false,
         .columns =
             {{"連続記録", 60, L}, {"", 60, Rt, kStreakTip}, {"連続なし", 60, L}, {"", 60, Rt, kStreakTip}},
         .rows = StreakRows()},
        {.id = ListId::HanTableOwn,
         .name = "HanTableOwn",
         .size = {113, 101},
         .columnsFill = true,
         .manyRows = false,
         .columns = hanColumns,
         .rows = HanRows<&R::ownHanCount, &R::ownHanRateOfHands, &R::ownHanRateOfWins, &R::ownWinCount,
                         &R::ownWinRate>()},
        {.id = ListId::HanTableOther,
         .name = "HanTableOther",
         .size = {113, 101},
         .columnsFill = true,
         .manyRows = false,
         .columns = hanColumns,
         .rows = HanRows<&R::otherHanCount, &R::otherHanRateOfHands, &R::otherHanRateOfWins,
                         &R::otherWinCount, &R::otherWinRate>()},
        {.id = ListId::HourlyTable,
         .name = "HourlyTable",
         .size = {261, 249},
         .columnsFill = true,
         .manyRows = true,
         .columns = {{"時間", 60, L},
                     {"試合数", 60, Rt},
                     {"1位", 50, Rt},
                     {"2位", 50, Rt},
                     {"3位", 50, Rt},
                     {"4位", 50, Rt},
                     {"平均順位", 60, Rt},
                     {"平均得点", 60, Rt}},
         .rows = HourRows()},
        {.id = ListId::HandOutcomeTable,
         .name = "HandOutcomeTable",
         .size = {261, 122},
         .columnsFill = true,
         .manyRows = true,
         // Only the first column of each group has a heading; column 6, the average change of the
         // hands that left the score as it was, is hidden.
         .columns = {{"", 60, L, "局の終わり方"},
                     {"得点", 40, Rt, "自分の点数が増えた局の数"},
                     {"", 50, Rt, "点数が増えた局の全局に対する割合"},
                     {"", 50, Rt, "点数が増えた局での平均増減点"},
                     {"なし", 50, Rt, "自分の点数が変わらなかった局の数"},
                     {"", 50, Rt, "点数が変わらなかった局の全局に対する割合"},
                     {"", 0, Rt},
                     {"失点", 50, Rt, "自分の点数が減った局の数"},
                     {"", 50, Rt, "点数が減った局の全局に対する割合"},
                     {"", 50, Rt, "点数が減った局での平均増減点"}},
         .rows = HandOutcomeRows()},
        {.id = ListId::LastHandTable,
         .name = "LastHandTable",
         .size = {261, 59},
         .columnsFill = true,
         .manyRows = true,
         .columns = lastHandColumns("オーラス", "オーラスを迎えたときの自分の順位"),
         .rows = LastHandRows<&R::preLastRankCount, &R::rankTransition, &R::avgRankChange, &R::rankCount,
                              &R::gameCount, &R::avgRankChangeAll>()},
        {.id = ListId::LastHandWonTable,
         .name = "LastHandWonTable",
         .size = {261, 59},
         .columnsFill = true,
         .manyRows = true,
         .columns = lastHandColumns("和了時", "オーラスで和了した試合の、オーラスを迎えたときの自分の順位"),
         .rows = LastHandRows<&R::preLastRankWonCount, &R::rankTransitionWon, &R::avgRankChangeWon,
                              &R::lastHandWinByFinalRank, &R::lastHandWinCount, &R::avgRankChangeAllWon>()},
        {.id = ListId::StyleTable,
         .name = "StyleTable",
         .size = {261, 150},
         .columnsFill = false,
         .manyRows = false,
         .columns = {{"項目", 80, L},
                     {"自分", 138, Rt, "自分の値 (95%信頼区間)"},
                     {"同卓者", 114, Rt, "同じ試合の他の席の値 (95%信頼区間)"},
                     {"差", 134, Rt, "自分 − 同卓者 (95%信頼区間) (* は区間が0を含まない)"}},
         .rows = StyleRows()},
        {.id = ListId::DealInBreakdown,
         .name = "DealInBreakdown",
         .size = {261, 80},
         .columnsFill = false,
         .manyRows = false,
         .columns = {{"放銃", 80, L, "自分の放銃と、同じ試合の他の席の放銃"},
                     {"回数", 40, Rt, "自分の放銃の回数"},
                     {"自分", 130, Rt, "自分の放銃に占める割合 (95%信頼区間)。最初の行は全局に対する放銃率"},
                     {"同卓者", 130, Rt,
                      "同卓者の放銃に占める割合 (95%信頼区間)。最初の行は全局に対する放銃率"},
                     {"差", 134, Rt, "自分 − 同卓者 (95%信頼区間) (* は区間が0を含まない)"},
                     {"平均失点", 55, Rt, "自分の放銃1回あたりの平均失点"},
                     {"同卓者平均", 65, Rt, "同卓者の放銃1回あたりの平均失点"},
                     {"同卓者回数", 65, Rt, "同卓者の放銃の回数"}},
         .rows = DealInRows()},
        {.id = ListId::PointsPerHand,
         .name = "PointsPerHand",
         .size = {261, 70},
         .columnsFill = false,
         .manyRows = false,
         .columns = {{"収支", 80, L, "局の終わり方ごとの点数の増減"},
                     {"自分 合計", 90, Rt, "自分の点数の増減の合計 (局数の行は自分の局数)"},
                     {"自分 1局", 65, Rt, "自分の1局あたりの増減 (全局数で割った値)"},
                     {"自分 100局", 75, Rt, "自分の100局あたりの増減"},
                     {"同卓者 1局", 70, Rt, "同卓者の1局あたりの増減 (局数の行は同卓者の延べ局数)"},
                     {"同卓者 100局", 80, Rt, "同卓者の100局あたりの増減"}},
         .rows = PointsPerHandRows()},
    };
}

const std::string& StylePageNote() {
    static const std::string note = Cp932Literal(
        "記録にはリーチ宣言も鳴きも残らないため、リーチ率・副露率は出せません。"
        "放銃は点数の増減から判定します。ロン局で和了者以外のうち最も点数が減った席を放銃とし、"
        "ほかに点数が減った席はリーチ棒を出しただけと見なします。"
        "* は差の95%信頼区間が0を含まないことを示しますが、11行あるため、"
        "本当は差がなくても各行に5%の確率で偶然 * が付くことがあります。");
    return note;
}

const std::string& DealInPageNote() {
    static const std::string note = Cp932Literal(
        "記録に鳴きもダマも残らないため、和了者の手で分かるのは立直の有無 (立直者へ: 和了者の役に立直) "
        "だけです。放銃は点数の増減から判定します (ロン局で和了者以外の最も点数が減った席。"
        "ダブロンは記録に書かれたとおりに数えます)。割合は、1行目が全局に対する放銃率、"
        "ほかの行が放銃に対する割合です。* は差の95%信頼区間が0を含まない行ですが、"
        "7行あるので偶然付くこともあります。");
    return note;
}

}  // namespace obrenta::present
