#include "present/ListDefinitions.h"

#include <cmath>
#include <ctime>

#include "base/LocalTime.h"
#include "present/CellFormat.h"
#include "present/TextCodec.h"

namespace obrenta::present {

Cp932Text::Cp932Text(const char* utf8) : bytes(Cp932Literal(utf8)) {}
Cp932Text::Cp932Text(const std::string& utf8) : bytes(Cp932Literal(utf8)) {}

CellValue CellValue::Duration(std::int64_t seconds) {
    CellValue value(seconds);
    value.kind = Kind::Duration;
    return value;
}

CellValue CellValue::Pair(std::int64_t a, std::int64_t b) {
    CellValue value(a);
    value.kind = Kind::Pair;
    value.second = b;
    return value;
}

CellValue CellValue::LocalTime(std::int64_t seconds) {
    CellValue value(seconds);
    value.kind = Kind::LocalTime;
    return value;
}

CellValue CellValue::Text(std::string_view text) {
    CellValue value;
    value.kind = Kind::Text;
    value.text = text;
    return value;
}

CellValue CellValue::Period(std::int32_t year, std::int32_t month) {
    CellValue value = Pair(year, month);
    value.kind = Kind::Period;
    return value;
}

CellValue CellValue::Interval(double value, double halfWidth, bool hasInterval) {
    CellValue cell(value);
    cell.kind = Kind::Interval;
    cell.halfWidth = halfWidth;
    cell.hasInterval = hasInterval;
    return cell;
}

CellValue CellValue::Range(double value, double low, double high) {
    CellValue cell(value);
    cell.kind = Kind::Range;
    cell.low = low;
    cell.high = high;
    return cell;
}

CellValue CellValue::Dated(std::int64_t value, std::int64_t seconds) {
    CellValue cell(value);
    cell.kind = Kind::Dated;
    cell.second = seconds;
    return cell;
}

CellValue CellValue::Dashes() {
    CellValue value;
    value.kind = Kind::Dashes;
    return value;
}

namespace {

// A quotient whose divisor was 0 is shown as 0 in its cell's format, should a NaN ever reach here.
double Shown(double value) {
    return std::isnan(value) ? 0.0 : value;
}

std::string LocalTimeText(const char* format, std::int64_t seconds) {
    const std::tm local = base::SecondsToLocal(seconds).value_or(std::tm{});
    return FormatCell(format, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min);
}

// Below two games there is no deviation, so the half-width is dashes.
std::string IntervalText(const std::string& format, const CellValue& value) {
    if (value.hasInterval) return FormatCell(format.c_str(), Shown(value.decimal), Shown(value.halfWidth));
    static const std::string plusMinus = Cp932Literal(" ±");
    const std::string first = format.substr(0, format.find(plusMinus));
    return FormatCell(first.c_str(), Shown(value.decimal)) + plusMinus + "---";
}

std::string Formatted(const std::string& format, const CellValue& value) {
    const char* f = format.c_str();
    switch (value.kind) {
        case CellValue::Kind::None:
            return FormatCell(f, 0);
        case CellValue::Kind::Integer:
            if (format == "%d") return std::to_string(value.first);
            // All 64 bits, without relying on a C library's long long.
            if (format == "%lld" || format == "%+lld") {
                return (format[1] == '+' && value.first >= 0 ? "+" : "") + std::to_string(value.first);
            }
            return FormatCell(f, static_cast<int>(value.first));
        case CellValue::Kind::Decimal:
            return FormatCell(f, Shown(value.decimal));
        case CellValue::Kind::Duration:
            return FormatDuration(format, value.first);
        case CellValue::Kind::Pair:
            return FormatCell(f, static_cast<int>(value.first), static_cast<int>(value.second));
        case CellValue::Kind::LocalTime:
            return LocalTimeText(f, value.first);
        case CellValue::Kind::Text:
            return std::string(value.text);
        case CellValue::Kind::Dashes:
            return "---";
        case CellValue::Kind::Period:
            return value.second != 0
                       ? FormatCell(f, static_cast<int>(value.first), static_cast<int>(value.second))
                       : FormatCell("%04d", static_cast<int>(value.first));
        case CellValue::Kind::Interval:
            return IntervalText(format, value);
        case CellValue::Kind::Range:
            return FormatCell(f, Shown(value.decimal), Shown(value.low), Shown(value.high));
        case CellValue::Kind::Dated: {
            const std::tm local = base::SecondsToLocal(value.second).value_or(std::tm{});
            return FormatCell(f, static_cast<int>(value.first), local.tm_year + 1900, local.tm_mon + 1,
                              local.tm_mday, local.tm_hour, local.tm_min);
        }
    }
    return {};
}

}  // namespace

std::string CellText(const std::string& format, const CellValue& value) {
    if (value.kind == CellValue::Kind::Text) return Formatted(format, value);
    if (value.text.empty() && value.suffix.empty()) return Formatted(format, value);
    return std::string(value.text) + Formatted(format, value) + std::string(value.suffix);
}

namespace {

using R = tally::TallyResults;
constexpr Align L = Align::Left;
constexpr Align Rt = Align::Right;

// Value getters of the fixed rows, by where the value sits in the results.
template <auto field>
CellValue Get(const R& r, int) {
    return r.*field;
}
template <auto field>
CellValue Seconds(const R& r, int) {
    return CellValue::Duration(r.*field);
}
// The element of the row's index.
template <auto field>
CellValue At(const R& r, int i) {
    return (r.*field)[i];
}
template <auto field, int k>
CellValue AtK(const R& r, int) {
    return (r.*field)[k];
}
template <auto longest, auto current>
CellValue Streak(const R& r, int) {
    return CellValue::Pair(r.*longest, r.*current);
}
template <auto longest, auto current>
CellValue StreakAt(const R& r, int i) {
    return CellValue::Pair((r.*longest)[i], (r.*current)[i]);
}
template <auto field>
CellValue Hour(const R& r, int h) {
    return r.hourStats[h].*field;
}
template <int k>
CellValue HourRank(const R& r, int h) {
    return r.hourStats[h].rankCount[k];
}
template <auto field>
CellValue HourOrDashes(const R& r, int h) {
    const tally::HourStats& hour = r.hourStats[h];
    return hour.games == 0 ? CellValue::Dashes() : CellValue(hour.*field);
}
template <int g>
CellValue OutcomeCount(const R& r, int kind) {
    return r.handOutcome[g][kind].count;
}
template <int g, auto field>
CellValue OutcomeOrDashes(const R& r, int kind) {
    const tally::HandOutcomeStats& s = r.handOutcome[g][kind];
    return s.count == 0 ? CellValue::Dashes() : CellValue(s.*field);
}
template <int g, auto field>
CellValue OutcomeTotal(const R& r, int) {
    return r.handOutcomeTotal[g].*field;
}
// rankTransition[pre-last rank of the row][final rank f]
template <auto table, int f>
CellValue Transition(const R& r, int p) {
    return (r.*table)[p][f];
}
CellValue NoValue(const R&, int) {
    return {};
}

// An empty row that no refill writes.
RowDef Separator() {
    return {"", 0, {}};
}

using O = tally::HandOutcomeStats;
using H = tally::HourStats;

// Streak cells: "longest ( current )".
constexpr const char* kStreak = "%d ( %2d )";
constexpr const char* kStreakTip = "最長記録 ( 現在の連続数 )";
constexpr const char* kRateOfHands = "集計した全局数に対する割合";
constexpr const char* kRateOfWins = "和了した局数に対する割合";
constexpr auto RankStreak = StreakAt<&R::longestRankStreak, &R::currentRankStreak>;
constexpr auto NoRankStreak = StreakAt<&R::longestNoRankStreak, &R::currentNoRankStreak>;
constexpr auto YakitoriStreak = Streak<&R::longestYakitoriStreak, &R::currentYakitoriStreak>;
constexpr auto NoYakitoriStreak = Streak<&R::longestNoYakitoriStreak, &R::currentNoYakitoriStreak>;
constexpr auto BoxOutStreak = Streak<&R::longestBoxOutStreak, &R::currentBoxOutStreak>;
constexpr auto NoBoxOutStreak = Streak<&R::longestNoBoxOutStreak, &R::currentNoBoxOutStreak>;

// 打ち筋: the user's measure, the field's, and their difference with " *" after it when its
// interval excludes zero. A figure without its interval (a rate of nothing, a mean of fewer than
// two values, a difference of two means without variance) is dashes.
template <bool own>
CellValue StyleMeasureCell(const R& r, int row) {
    const tally::StyleLine& line = r.styleLines[static_cast<std::size_t>(row)];
    const tally::Estimate& m = own ? line.own : line.field;
    return m.hasInterval ? CellValue::Range(m.value, m.low, m.high) : CellValue::Dashes();
}
CellValue StyleDifferenceCell(const R& r, int row) {
    const tally::StyleLine& line = r.styleLines[static_cast<std::size_t>(row)];
    const tally::Estimate& d = line.difference;
    if (!d.hasInterval) return CellValue::Dashes();
    CellValue cell = CellValue::Range(d.value, d.low, d.high);
    if (line.significant) cell.suffix = " *";
    return cell;
}
template <auto field>
CellValue StyleRecordCell(const R& r, int) {
    const tally::StyleRecord& record = r.*field;
    return record.found ? CellValue::Dated(record.value, record.startTime) : CellValue::Dashes();
}

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

// --- the variable lists' columns ----------------------------------------------------------

CellValue RankWithMark(const RecentGame& game) {
    static const std::string boxedOut = Cp932Literal("箱 ");
    static const std::string yakitori = Cp932Literal("焼 ");
    CellValue value(game.user.rank);
    if (game.boxedOut) {
        value.text = boxedOut;
    } else if (game.yakitori) {
        value.text = yakitori;
    }
    return value;
}

template <class Entry>
CellValue Key(const Entry& entry) {
    return CellValue::Text(entry.first);
}
template <class Entry, auto field>
CellValue Stat(const Entry& entry) {
    return entry.second.*field;
}
template <auto field>
constexpr auto YakuStat = &Stat<YakuEntry, field>;
template <auto field>
constexpr auto OpponentStat = &Stat<OpponentEntry, field>;

template <class Record>
std::vector<ColumnDef> ColumnsOf(const std::vector<RecordColumn<Record>>& columns) {
    std::vector<ColumnDef> out;
    for (const auto& column : columns) out.push_back(column.column);
    return out;
}

std::vector<ListDef> MakeListDefs() {
    const std::vector<ColumnDef> hanColumns{{"飜数", 45, L},
                                            {"回数", 37, Rt, "この飜数での和了の回数"},
                                            {"%(全体)", 55, Rt, kRateOfHands},
                                            {"%(和了)", 55, Rt, kRateOfWins}};
    auto lastHandColumns = [](const char* first, const char* firstTip) {
        return std::vector<ColumnDef>{{first, 60, L, firstTip},
                                      {"回数", 60, Rt, "その順位でオーラスを迎えた試合数"},
                                      {"1位", 65, Rt, "そこから1位で終えた試合数"},
                                      {"2位", 65, Rt, "そこから2位で終えた試合数"},
                                      {"3位", 65, Rt, "そこから3位で終えた試合数"},
                                      {"4位", 65, Rt, "そこから4位で終えた試合数"},
                                      {"平均", 60, Rt, "順位の平均変化 (+ は順位が下がった)"}};
    };

    // In ListId order: name, size on the page (dialog units), whether the columns fill, whether
    // the rows are many, columns, fixed rows.
    return {
        {"GameSummaryTable",
         {134, 82},
         true,
         false,
         {{"対局情報", 70, L}, {"", 120, Rt}},
         {
             {"ゲーム数", 0, {{1, "%d", Get<&R::gameCount>}}},
             {"局数", 0, {{1, "%d", Get<&R::totalHandCount>}}},
             {"平均局数", 0, {{1, "%4.2f", Get<&R::avgHandsPerGame>}}},
             {"平均時間", 0, {{1, "%H : %M : %S", Seconds<&R::avgGameSeconds>}}},
             // The shortest and longest times show their seconds as a literal 00.
             {"最短時間", 0, {{1, "%H : %M : 00", Seconds<&R::shortestGameSeconds>}}},
             {"最長時間", 0, {{1, "%H : %M : 00", Seconds<&R::longestGameSeconds>}}},
             {"合計時間", 0, {{1, "%D日間 %H時間 %M分", Seconds<&R::totalGameSeconds>}}},
         }},
        {"RatingTable",
         {81, 63},
         true,
         false,
         {{"R値", 35, L}, {"自分", 50, Rt, "自分のR値"}, {"相手", 50, Rt, "同卓した相手のR値"}},
         {
             {"平均", 0, {{1, "%4.2f", Get<&R::ownRMean>}, {2, "%4.2f", Get<&R::opponentRMean>}}},
             {"偏差", 0, {{1, "%4.2f", Get<&R::ownRDeviation>}, {2, "%4.2f", Get<&R::opponentRDeviation>}}},
             {"最高", 0, {{1, "%d", Get<&R::ownRMax>}, {2, "%d", Get<&R::opponentRMax>}}},
             {"最低", 0, {{1, "%d", Get<&R::ownRMin>}, {2, "%d", Get<&R::opponentRMin>}}},
             {"最終", 0, {{1, "%d", Get<&R::ownRLast>}}},
         }},
        {"PointsTable",
         {50, 63},
         true,
         false,
         {{"得点", 38, L}, {"", 40, Rt}},
         {
             {"平均", 0, {{1, "%6.3f", Get<&R::pointsMean>}}},
             {"偏差", 0, {{1, "%6.3f", Get<&R::pointsDeviation>}}},
             {"最高", 0, {{1, "%d", Get<&R::pointsMax>}}},
             {"最低", 0, {{1, "%d", Get<&R::pointsMin>}}},
             {"合計", 0, {{1, "%d", Get<&R::pointsTotal>}}},
         }},
        {"RankTable",
         {110, 94},
         true,
         false,
         {{"順位", 60, L}, {"回数", 60, Rt}, {"割合", 60, Rt}},
         {
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
         }},
        {"StreakTable",
         {148, 94},
         true,
         false,
         {{"連続記録", 60, L}, {"", 60, Rt, kStreakTip}, {"連続なし", 60, L}, {"", 60, Rt, kStreakTip}},
         {
             // Column 2 holds fixed labels.
             {"連続1位", 1, {{1, kStreak, RankStreak}, {2, "1位なし"}, {3, kStreak, NoRankStreak}}},
             {"連続2位", 2, {{1, kStreak, RankStreak}, {2, "2位なし"}, {3, kStreak, NoRankStreak}}},
             {"連続3位", 3, {{1, kStreak, RankStreak}, {2, "3位なし"}, {3, kStreak, NoRankStreak}}},
             {"連続4位", 4, {{1, kStreak, RankStreak}, {2, "4位なし"}, {3, kStreak, NoRankStreak}}},
             Separator(),
             {"連続焼鳥", 0, {{1, kStreak, YakitoriStreak}, {2, "焼鳥なし"}, {3, kStreak, NoYakitoriStreak}}},
             {"連続箱割", 0, {{1, kStreak, BoxOutStreak}, {2, "箱割なし"}, {3, kStreak, NoBoxOutStreak}}},
         }},
        {"RecentGamesList", {124, 150}, false, true, ColumnsOf(RecentGameColumns()), {}},
        {"HanTableOwn",
         {113, 101},
         true,
         false,
         hanColumns,
         HanRows<&R::ownHanCount, &R::ownHanRateOfHands, &R::ownHanRateOfWins, &R::ownWinCount,
                 &R::ownWinRate>()},
        {"HanTableOther",
         {113, 101},
         true,
         false,
         hanColumns,
         HanRows<&R::otherHanCount, &R::otherHanRateOfHands, &R::otherHanRateOfWins, &R::otherWinCount,
                 &R::otherWinRate>()},
        {"YakuListOwn", {142, 101}, false, true, ColumnsOf(YakuColumns()), {}, "役( %d種類 )"},
        {"YakuListOther", {142, 101}, false, true, ColumnsOf(YakuColumns()), {}, "役( %d種類 )"},
        {"HourlyTable",
         {261, 249},
         true,
         true,
         {{"時間", 60, L},
          {"試合数", 60, Rt},
          {"1位", 50, Rt},
          {"2位", 50, Rt},
          {"3位", 50, Rt},
          {"4位", 50, Rt},
          {"平均順位", 60, Rt},
          {"平均得点", 60, Rt}},
         HourRows()},
        {"HandOutcomeTable",
         {261, 122},
         true,
         true,
         // Only the first column of each group has a heading; column 6, the average change of the
         // hands that left the score as it was, is hidden.
         {{"", 60, L, "局の終わり方"},
          {"得点", 40, Rt, "自分の点数が増えた局の数"},
          {"", 50, Rt, "点数が増えた局の全局に対する割合"},
          {"", 50, Rt, "点数が増えた局での平均増減点"},
          {"なし", 50, Rt, "自分の点数が変わらなかった局の数"},
          {"", 50, Rt, "点数が変わらなかった局の全局に対する割合"},
          {"", 0, Rt},
          {"失点", 50, Rt, "自分の点数が減った局の数"},
          {"", 50, Rt, "点数が減った局の全局に対する割合"},
          {"", 50, Rt, "点数が減った局での平均増減点"}},
         HandOutcomeRows()},
        {"LastHandTable",
         {261, 59},
         true,
         true,
         lastHandColumns("オーラス", "オーラスを迎えたときの自分の順位"),
         LastHandRows<&R::preLastRankCount, &R::rankTransition, &R::avgRankChange, &R::rankCount,
                      &R::gameCount, &R::avgRankChangeAll>()},
        {"LastHandWonTable",
         {261, 59},
         true,
         true,
         lastHandColumns("和了時", "オーラスで和了した試合の、オーラスを迎えたときの自分の順位"),
         LastHandRows<&R::preLastRankWonCount, &R::rankTransitionWon, &R::avgRankChangeWon,
                      &R::lastHandWinByFinalRank, &R::lastHandWinCount, &R::avgRankChangeAllWon>()},
        {"OpponentList", {261, 232}, false, true, ColumnsOf(OpponentColumns()), {}, "名前( %d人 )"},
        {"PeriodList", {261, 150}, false, true, ColumnsOf(PeriodColumns()), {}},
        {"FormTable", {261, 40}, false, false, ColumnsOf(FormColumns()), {}},
        {"StyleTable",
         {261, 150},
         false,
         false,
         {{"項目", 80, L},
          {"自分", 138, Rt, "自分の値 (95%信頼区間)"},
          {"同卓者", 114, Rt, "同じ試合の他の席の値 (95%信頼区間)"},
          {"差", 134, Rt, "自分 − 同卓者 (95%信頼区間) (* は区間が0を含まない)"}},
         StyleRows()},
    };
}

}  // namespace

const std::vector<RecordColumn<RecentGame>>& RecentGameColumns() {
    static const std::vector<RecordColumn<RecentGame>> columns{
        {{"開始日時", 75, L},
         "%02d/%02d  %02d:%02d",
         [](const RecentGame& g) { return CellValue::LocalTime(g.startTime); }},
        {{"得点", 40, Rt}, "%d", [](const RecentGame& g) { return CellValue(g.user.points); }},
        {{"R", 40, Rt, "その試合での自分のR値"},
         "%d",
         [](const RecentGame& g) { return CellValue(g.user.rating); }},
        // "箱 " or else "焼 " in front of the rank.
        {{"順位", 40, Rt, "最終順位 (箱: 箱割れ、焼: 焼鳥)"}, "%d", RankWithMark},
    };
    return columns;
}

const std::vector<RecordColumn<YakuEntry>>& YakuColumns() {
    using Y = tally::YakuStats;
    // The heading of column 0 gives way to the number of yaku at the first refill.
    static const std::vector<RecordColumn<YakuEntry>> columns{
        {{"役(0種類)", 80, L}, "", Key<YakuEntry>},
        {{"回数", 37, Rt, "この役が付いた和了の回数"}, "%d", YakuStat<&Y::count>},
        {{"%(全体)", 55, Rt, kRateOfHands}, "%6.2f %%", YakuStat<&Y::rateOfHands>},
        {{"%(和了)", 55, Rt, kRateOfWins}, "%6.2f %%", YakuStat<&Y::rateOfWins>},
    };
    return columns;
}

const std::vector<RecordColumn<OpponentEntry>>& OpponentColumns() {
    using S = tally::OpponentStats;
    static const std::vector<RecordColumn<OpponentEntry>> columns{
        {{"名前", 90, L}, "", Key<OpponentEntry>},
        {{"試合数", 50, Rt, "この相手と同卓した試合数"}, "%d", OpponentStat<&S::games>},
        {{"勝", 35, Rt, "自分の順位が相手より上だった試合数"}, "%d", OpponentStat<&S::wins>},
        {{"負", 35, Rt, "自分の順位が相手より下だった試合数"}, "%d", OpponentStat<&S::losses>},
        {{"分", 35, Rt, "自分と相手が同じ順位だった試合数"}, "%d", OpponentStat<&S::ties>},
        {{"平均R", 50, Rt, "同卓したときの相手の平均R値"}, "%7.2f", OpponentStat<&S::avgOpponentR>},
        {{"平均順位", 60, Rt, "同卓したときの相手の平均順位"}, "%6.3f", OpponentStat<&S::avgOpponentRank>},
        {{"U平均順位", 70, Rt, "同卓したときの自分 (ユーザ) の平均順位"},
         "%6.3f",
         OpponentStat<&S::avgUserRank>},
    };
    return columns;
}

namespace {

template <auto field>
CellValue PeriodField(const tally::PeriodStats& period) {
    return period.*field;
}

}  // namespace

const std::vector<RecordColumn<tally::PeriodStats>>& PeriodColumns() {
    using P = tally::PeriodStats;
    static const std::vector<RecordColumn<P>> columns{
        {{"期間", 55, L, "対局を開始した月または年 (ローカル時刻)"},
         "%04d/%02d",
         [](const P& p) { return CellValue::Period(p.year, p.month); }},
        {{"試合数", 45, Rt}, "%d", PeriodField<&P::games>},
        {{"平均順位", 90, Rt, "平均順位 ± 95%信頼区間の幅 (2試合以上)"},
         "%5.3f ±%5.3f",
         [](const P& p) { return CellValue::Interval(p.avgRank, p.rankHalfWidth, p.hasInterval); }},
        {{"1位", 60, Rt}, "%6.3f %%", [](const P& p) { return CellValue(p.rankRate[1]); }},
        {{"2位", 60, Rt}, "%6.3f %%", [](const P& p) { return CellValue(p.rankRate[2]); }},
        {{"3位", 60, Rt}, "%6.3f %%", [](const P& p) { return CellValue(p.rankRate[3]); }},
        {{"4位", 60, Rt}, "%6.3f %%", [](const P& p) { return CellValue(p.rankRate[4]); }},
        {{"焼鳥", 60, Rt}, "%6.3f %%", PeriodField<&P::yakitoriRate>},
        {{"箱割", 60, Rt}, "%6.3f %%", PeriodField<&P::boxOutRate>},
        {{"平均得点", 60, Rt}, "%6.3f", PeriodField<&P::pointsMean>},
        {{"合計得点", 60, Rt}, "%d", PeriodField<&P::pointsTotal>},
        {{"R(初)", 45, Rt, "期間の最初の試合での自分のR値"}, "%d", PeriodField<&P::firstR>},
        {{"R(終)", 45, Rt, "期間の最後の試合での自分のR値"}, "%d", PeriodField<&P::lastR>},
        {{"R増減", 45, Rt, "R(終) − R(初)"}, "%+lld", PeriodField<&P::rChange>},
        {{"予想R", 100, Rt, "期間の平均順位と相手の平均R値から予想したR値 ± 95%信頼区間の幅"},
         "%7.2f ±%.2f",
         [](const P& p) { return CellValue::Interval(p.predictedR, p.predictedRHalfWidth, p.hasInterval); }},
    };
    return columns;
}

namespace {

// A side of the form box with no game shows dashes after its count.
template <class Value>
CellValue UnlessEmpty(const FormSide& side, Value value) {
    return side.stats.games > 0 ? CellValue(value) : CellValue::Dashes();
}

}  // namespace

const std::vector<RecordColumn<FormSide>>& FormColumns() {
    static const std::vector<RecordColumn<FormSide>> columns{
        {{"直近の調子", 80, L, "直近の試合とそれ以前の試合の比較"},
         "",
         [](const FormSide& s) { return CellValue::Text(s.label); }},
        {{"試合数", 45, Rt}, "%d", [](const FormSide& s) { return CellValue(s.stats.games); }},
        {{"平均順位", 95, Rt, "平均順位 ± 95%信頼区間の幅"},
         "%5.3f ±%5.3f",
         [](const FormSide& s) {
             return s.stats.games > 0
                        ? CellValue::Interval(s.stats.avgRank, s.stats.rankHalfWidth, s.stats.hasInterval)
                        : CellValue::Dashes();
         }},
        {{"1位率", 60, Rt},
         "%6.3f %%",
         [](const FormSide& s) { return UnlessEmpty(s, s.stats.rankRate[1]); }},
        {{"4位率", 60, Rt},
         "%6.3f %%",
         [](const FormSide& s) { return UnlessEmpty(s, s.stats.rankRate[4]); }},
        {{"予想R", 55, Rt}, "%7.2f", [](const FormSide& s) { return UnlessEmpty(s, s.stats.predictedR); }},
        {{"判定", 90, L, "差の95%信頼区間が0を含まなければ有意"},
         "",
         [](const FormSide&) { return CellValue(); }},
    };
    return columns;
}

std::string FormRecentLabel(std::int32_t games) {
    static const std::string format = Cp932Literal("直近 %d戦");
    return FormatCell(format.c_str(), static_cast<int>(games));
}

const std::string& FormEarlierLabel() {
    static const std::string label = Cp932Literal("それ以前");
    return label;
}

std::vector<std::string> FormDifferenceCells(const tally::FormComparison& form) {
    std::vector<std::string> cells(FormColumns().size());
    cells[0] = Cp932Literal("差");
    if (!form.comparable) {
        cells[2] = "---";
        cells[6] = "---";
        return cells;
    }
    cells[2] = CellText(Cp932Literal("%+6.3f ±%5.3f"),
                        CellValue::Interval(form.rankDifference, form.differenceHalfWidth, true));
    using V = tally::FormComparison::Verdict;
    cells[6] = Cp932Literal(form.verdict == V::Better  ? "有意な改善"
                            : form.verdict == V::Worse ? "有意な悪化"
                                                       : "偶然の範囲内");
    return cells;
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

const ListDef& Definition(ListId list) {
    static const std::vector<ListDef> defs = MakeListDefs();
    return defs.at(static_cast<std::size_t>(list));
}

const std::string& ColumnToolTip(ListId list, int column) {
    static const std::string none;
    const std::vector<ColumnDef>& columns = Definition(list).columns;
    if (column < 0 || column >= static_cast<int>(columns.size())) return none;
    return columns[static_cast<std::size_t>(column)].toolTip.bytes;
}

std::string_view ListName(ListId list) {
    return Definition(list).name;
}

bool ListColumnsFill(ListId list) {
    return Definition(list).fills;
}

bool IsSortable(ListId list) {
    return list == ListId::YakuListOwn || list == ListId::YakuListOther || list == ListId::OpponentList ||
           list == ListId::PeriodList;
}

ListSize ListSizeUnits(ListId list) {
    return Definition(list).size;
}

int ListWidthPixels(ListId list) {
    return static_cast<int>(std::lround(Definition(list).size.width * kPixelsPerDialogUnitX));
}

int RowOfLabel(ListId list, std::string_view label) {
    const std::string bytes = Cp932Literal(label);
    const std::vector<RowDef>& rows = Definition(list).rows;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (rows[r].label.bytes == bytes) return static_cast<int>(r);
    }
    return -1;
}

}  // namespace obrenta::present
