#include "present/RecordColumns.h"

#include <stdexcept>

#include "present/GameDetail.h"
#include "present/TextCodec.h"

namespace obrenta::present {
namespace {

constexpr Align L = Align::Left;
constexpr Align Rt = Align::Right;

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
    // The heading of column 0 gives way to the number of yaku at the first refill. Both rates are
    // the count over one common base, so the count orders them.
    static const std::vector<RecordColumn<YakuEntry>> columns{
        {{"役(0種類)", 80, L}, "", Key<YakuEntry>, SortBy::Text},
        {{"回数", 37, Rt, "この役が付いた和了の回数"}, "%d", YakuStat<&Y::count>, SortBy::Integer},
        {{"%(全体)", 55, Rt, kRateOfHandsTip},
         "%6.2f %%",
         YakuStat<&Y::rateOfHands>,
         {SortBy::Integer, "回数"}},
        {{"%(和了)", 55, Rt, kRateOfWinsTip},
         "%6.2f %%",
         YakuStat<&Y::rateOfWins>,
         {SortBy::Integer, "回数"}},
    };
    return columns;
}

const std::vector<RecordColumn<OpponentEntry>>& OpponentColumns() {
    using S = tally::OpponentStats;
    static const std::vector<RecordColumn<OpponentEntry>> columns{
        {{"名前", 90, L}, "", Key<OpponentEntry>, SortBy::Text},
        {{"試合数", 50, Rt, "この相手と同卓した試合数"}, "%d", OpponentStat<&S::games>, SortBy::Integer},
        {{"勝", 35, Rt, "自分の順位が相手より上だった試合数"}, "%d", OpponentStat<&S::wins>, SortBy::Integer},
        {{"負", 35, Rt, "自分の順位が相手より下だった試合数"},
         "%d",
         OpponentStat<&S::losses>,
         SortBy::Integer},
        {{"分", 35, Rt, "自分と相手が同じ順位だった試合数"}, "%d", OpponentStat<&S::ties>, SortBy::Integer},
        {{"平均R", 50, Rt, "同卓したときの相手の平均R値"},
         "%7.2f",
         OpponentStat<&S::avgOpponentR>,
         SortBy::Decimal},
        {{"平均順位", 60, Rt, "同卓したときの相手の平均順位"},
         "%6.3f",
         OpponentStat<&S::avgOpponentRank>,
         SortBy::Decimal},
        {{"U平均順位", 70, Rt, "同卓したときの自分 (ユーザ) の平均順位"},
         "%6.3f",
         OpponentStat<&S::avgUserRank>,
         SortBy::Decimal},
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
    // Periods are zero-padded, so their texts order as their dates.
    static const std::vector<RecordColumn<P>> columns{
        {{"期間", 55, L, "対局を開始した月または年 (ローカル時刻)"},
         "%04d/%02d",
         [](const P& p) { return CellValue::Period(p.year, p.month); },
         SortBy::Text},
        {{"試合数", 45, Rt}, "%d", PeriodField<&P::games>, SortBy::Integer},
        {{"平均順位", 90, Rt, "平均順位 ± 95%信頼区間の幅 (2試合以上)"},
         "%5.3f ±%5.3f",
         [](const P& p) { return CellValue::Interval(p.avgRank, p.rankHalfWidth, p.hasInterval); },
         SortBy::Decimal},
        {{"1位", 60, Rt}, "%6.3f %%", [](const P& p) { return CellValue(p.rankRate[1]); }, SortBy::Decimal},
        {{"2位", 60, Rt}, "%6.3f %%", [](const P& p) { return CellValue(p.rankRate[2]); }, SortBy::Decimal},
        {{"3位", 60, Rt}, "%6.3f %%", [](const P& p) { return CellValue(p.rankRate[3]); }, SortBy::Decimal},
        {{"4位", 60, Rt}, "%6.3f %%", [](const P& p) { return CellValue(p.rankRate[4]); }, SortBy::Decimal},
        {{"焼鳥", 60, Rt}, "%6.3f %%", PeriodField<&P::yakitoriRate>, SortBy::Decimal},
        {{"箱割", 60, Rt}, "%6.3f %%", PeriodField<&P::boxOutRate>, SortBy::Decimal},
        {{"平均得点", 60, Rt}, "%6.3f", PeriodField<&P::pointsMean>, SortBy::Decimal},
        {{"合計得点", 60, Rt}, "%d", PeriodField<&P::pointsTotal>, SortBy::Integer},
        {{"R(初)", 45, Rt, "期間の最初の試合での自分のR値"}, "%d", PeriodField<&P::firstR>, SortBy::Integer},
        {{"R(終)", 45, Rt, "期間の最後の試合での自分のR値"}, "%d", PeriodField<&P::lastR>, SortBy::Integer},
        {{"R増減", 45, Rt, "R(終) − R(初)"}, "%+lld", PeriodField<&P::rChange>, SortBy::Integer},
        {{"予想R", 100, Rt, "期間の平均順位と相手の平均R値から予想したR値 ± 95%信頼区間の幅"},
         "%7.2f ±%.2f",
         [](const P& p) { return CellValue::Interval(p.predictedR, p.predictedRHalfWidth, p.hasInterval); },
         SortBy::Decimal},
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

const std::vector<RecordColumn<DealInYakuEntry>>& DealInYakuColumns() {
    using Y = tally::DealInYakuStats;
    static const std::vector<RecordColumn<DealInYakuEntry>> columns{
        {{"役(0種類)", 80, L}, "", Key<DealInYakuEntry>, SortBy::Text},
        {{"回数", 37, Rt, "この役が付いた和了に放銃した回数"},
         "%lld",
         Stat<DealInYakuEntry, &Y::count>,
         SortBy::Integer},
        // Both rates are the count over one common base, so the count orders them.
        {{"%(放銃)", 55, Rt, "自分の放銃の回数に対する割合"},
         "%6.2f %%",
         Stat<DealInYakuEntry, &Y::rateOfDealIns>,
         {SortBy::Integer, "回数"}},
        {{"%(全体)", 55, Rt, kRateOfHandsTip},
         "%6.2f %%",
         Stat<DealInYakuEntry, &Y::rateOfHands>,
         {SortBy::Integer, "回数"}},
    };
    return columns;
}

const std::vector<RecordColumn<DealInOpponentEntry>>& DealInOpponentColumns() {
    using S = tally::DealInOpponentStats;
    using E = DealInOpponentEntry;
    static const std::vector<RecordColumn<E>> columns{
        {{"名前", 90, L}, "", Key<E>, SortBy::Text},
        {{"局数", 45, Rt, "この相手と同卓した局数"}, "%lld", Stat<E, &S::hands>, SortBy::Integer},
        {{"放銃", 40, Rt, "自分がこの相手に放銃した回数"}, "%lld", Stat<E, &S::dealInsTo>, SortBy::Integer},
        {{"放銃点", 55, Rt, "この相手への放銃で失った点数の合計"},
         "%lld",
         Stat<E, &S::pointsLostTo>,
         SortBy::Integer},
        {{"被放銃", 45, Rt, "この相手が自分に放銃した回数"},
         "%lld",
         Stat<E, &S::dealInsFrom>,
         SortBy::Integer},
        {{"被放銃点", 60, Rt, "この相手の放銃で得た点数の合計"},
         "%lld",
         Stat<E, &S::pointsWonFrom>,
         SortBy::Integer},
        {{"差引", 55, Rt, "被放銃点 − 放銃点"},
         "%+lld",
         [](const E& e) { return CellValue(e.second.pointsWonFrom - e.second.pointsLostTo); },
         SortBy::Integer},
        {{"放銃率", 130, Rt, "この相手への放銃の、同卓した局数に対する割合 (95%信頼区間)"},
         "%5.2f %% (%5.2f - %5.2f)",
         [](const E& e) { return EstimateCell(e.second.dealInRate); },
         SortBy::Decimal},
    };
    return columns;
}

bool DealInOpponentShown(const tally::DealInOpponentStats& stats, const settings::AppSettings& settings) {
    return settings.DealInAllOpponents != 0 || stats.hands >= settings::kDealInOpponentHands;
}

LargestDealIn LargestDealIn::Of(std::int32_t place, const tally::DealInRecord& record) {
    LargestDealIn row{place, &record, Cp932Literal(HanClassUtf8(record.hanClass)), {}};
    for (const std::string& yaku : record.yaku) {
        if (!row.yaku.empty()) row.yaku += ' ';
        row.yaku += yaku;
    }
    return row;
}

const std::vector<RecordColumn<LargestDealIn>>& DealInLargestColumns() {
    using D = LargestDealIn;
    static const std::vector<RecordColumn<D>> columns{
        {{"順位", 35, Rt}, "%d", [](const D& d) { return CellValue(d.place); }},
        {{"開始日時", 100, L, "その試合を開始した日時 (ローカル時刻)"},
         "%04d/%02d/%02d %02d:%02d",
         [](const D& d) { return CellValue::DateTime(d.record->startTime); }},
        {{"局", 30, Rt, "その試合の何局目か"},
         "%d",
         [](const D& d) { return CellValue(d.record->handNumber); }},
        {{"和了者", 90, L}, "", [](const D& d) { return CellValue::Text(d.record->winnerName); }},
        {{"失点", 50, Rt}, "%lld", [](const D& d) { return CellValue(d.record->pointsLost); }},
        {{"点数", 50, L, "和了の点数の区分"}, "", [](const D& d) { return CellValue::Text(d.hanClass); }},
        {{"役", 200, L, "和了者の役"}, "", [](const D& d) { return CellValue::Text(d.yaku); }},
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

namespace {

// Hands one record to the sink as a row of its columns' cells.
template <class Record>
void Emit(RowSink& sink, const std::vector<RecordColumn<Record>>& columns, const Record& record) {
    std::vector<RecordCell> cells;
    cells.reserve(columns.size());
    for (const RecordColumn<Record>& column : columns)
        cells.push_back({&column.format.bytes, column.value(record)});
    sink.Row(cells);
}

// A map's entries that shown() takes, by key descending (each put on top of the earlier ones
// when the lists were first written, which their saved sorts start from).
template <class Map, class Shown>
void EmitDescending(RowSink& sink, const Map& map,
                    const std::vector<RecordColumn<typename Map::value_type>>& columns, Shown shown) {
    for (auto entry = map.rbegin(); entry != map.rend(); ++entry) {
        if (shown(*entry)) Emit(sink, columns, *entry);
    }
}
constexpr auto Every = [](const auto&) { return true; };

// The newest kRecentGamesShown selected games, the oldest of them on top.
void RecentGameRows(const tally::TallyEngine& engine, const settings::AppSettings&, RowSink& sink) {
    const auto& games = engine.selectedGames;
    const std::size_t shown = std::min(games.size(), kRecentGamesShown);
    for (std::size_t i = games.size() - shown; i < games.size(); ++i)
        Emit(sink, RecentGameColumns(), RecentGame::Of(games[i]));
}

void OwnYakuRows(const tally::TallyEngine& engine, const settings::AppSettings&, RowSink& sink) {
    EmitDescending(sink, engine.ownYaku, YakuColumns(), Every);
}

void OtherYakuRows(const tally::TallyEngine& engine, const settings::AppSettings&, RowSink& sink) {
    EmitDescending(sink, engine.otherYaku, YakuColumns(), Every);
}

void OpponentRows(const tally::TallyEngine& engine, const settings::AppSettings&, RowSink& sink) {
    EmitDescending(sink, engine.opponentStats, OpponentColumns(), Every);
}

// The months or years as the settings choose, oldest on top.
void PeriodRows(const tally::TallyEngine& engine, const settings::AppSettings& settings, RowSink& sink) {
    for (const tally::PeriodStats& period :
         settings.PeriodYearly != 0 ? engine.yearlyPeriods : engine.monthlyPeriods)
        Emit(sink, PeriodColumns(), period);
}

// The newest FormGames selected games, the earlier ones, then their difference.
void FormRows(const tally::TallyEngine& engine, const settings::AppSettings& settings, RowSink& sink) {
    const tally::FormComparison form = tally::CompareForm(engine.selectedGames, settings.FormGames);
    Emit(sink, FormColumns(), FormSide{FormRecentLabel(form.recentGames), form.recent});
    Emit(sink, FormColumns(), FormSide{FormEarlierLabel(), form.earlier});
    sink.TextRow(FormDifferenceCells(form));
}

void DealInYakuRows(const tally::TallyEngine& engine, const settings::AppSettings&, RowSink& sink) {
    EmitDescending(sink, engine.dealInYaku, DealInYakuColumns(), Every);
}

void DealInOpponentRows(const tally::TallyEngine& engine, const settings::AppSettings& settings,
                        RowSink& sink) {
    EmitDescending(sink, engine.dealInOpponents, DealInOpponentColumns(),
                   [&](const DealInOpponentEntry& e) { return DealInOpponentShown(e.second, settings); });
}

// The largest first.
void LargestDealInRows(const tally::TallyEngine& engine, const settings::AppSettings&, RowSink& sink) {
    const std::vector<tally::DealInRecord>& records = engine.dealInLargest;
    for (std::size_t i = 0; i < records.size(); ++i)
        Emit(sink, DealInLargestColumns(), LargestDealIn::Of(static_cast<std::int32_t>(i + 1), records[i]));
}

// A record list's definition: its columns, and, for a sortable list, each column's sort with the
// column it names resolved to its number.
template <class Record>
ListDef RecordList(ListDef def, const std::vector<RecordColumn<Record>>& columns) {
    for (const RecordColumn<Record>& column : columns) def.columns.push_back(column.column);
    if (def.sortStates == nullptr) return def;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const SortKey& key = columns[c].sortBy;
        ColumnSort sort{key.by, static_cast<int>(c)};
        if (!key.keyHeading.empty()) {
            const std::string heading = Cp932Literal(key.keyHeading);
            sort.keyColumn = -1;
            for (std::size_t k = 0; k < columns.size(); ++k) {
                if (columns[k].column.heading.bytes == heading) sort.keyColumn = static_cast<int>(k);
            }
        }
        if (sort.by == SortBy::None || sort.keyColumn < 0) {
            throw std::logic_error("a column of " + std::string(def.name) + " sorts by nothing");
        }
        def.sorts.push_back(sort);
    }
    return def;
}

}  // namespace

// A yaku or opponent list is filled from its map, each entry put on top of the earlier ones.
constexpr int kFilledByNameDescending = 2;

std::vector<ListDef> RecordListDefs() {
    using settings::AppSettings;
    return {
        RecordList({.id = ListId::RecentGamesList,
                    .name = "RecentGamesList",
                    .size = {124, 150},
                    .columnsFill = false,
                    .manyRows = true,
                    .records = RecentGameRows,
                    .showsLastRow = true},
                   RecentGameColumns()),
        RecordList({.id = ListId::YakuListOwn,
                    .name = "YakuListOwn",
                    .size = {142, 101},
                    .columnsFill = false,
                    .manyRows = true,
                    .countHeading = "役( %d種類 )",
                    .sortStates = SortStatesIn<&AppSettings::SortYaku1>,
                    .records = OwnYakuRows,
                    .filledIn = kFilledByNameDescending},
                   YakuColumns()),
        RecordList({.id = ListId::YakuListOther,
                    .name = "YakuListOther",
                    .size = {142, 101},
                    .columnsFill = false,
                    .manyRows = true,
                    .countHeading = "役( %d種類 )",
                    .sortStates = SortStatesIn<&AppSettings::SortYaku2>,
                    .records = OtherYakuRows,
                    .filledIn = kFilledByNameDescending},
                   YakuColumns()),
        RecordList({.id = ListId::OpponentList,
                    .name = "OpponentList",
                    .size = {261, 232},
                    .columnsFill = false,
                    .manyRows = true,
                    .countHeading = "名前( %d人 )",
                    .sortStates = SortStatesIn<&AppSettings::SortVs>,
                    .records = OpponentRows,
                    .filledIn = kFilledByNameDescending},
                   OpponentColumns()),
        RecordList({.id = ListId::PeriodList,
                    .name = "PeriodList",
                    .size = {261, 150},
                    .columnsFill = false,
                    .manyRows = true,
                    .sortStates = SortStatesIn<&AppSettings::SortPeriod>,
                    .records = PeriodRows,
                    .showsLastRow = true},
                   PeriodColumns()),
        RecordList({.id = ListId::FormTable,
                    .name = "FormTable",
                    .size = {261, 40},
                    .columnsFill = false,
                    .manyRows = false,
                    .records = FormRows},
                   FormColumns()),
        RecordList({.id = ListId::DealInYaku,
                    .name = "DealInYaku",
                    .size = {142, 36},
                    .columnsFill = false,
                    .manyRows = true,
                    .countHeading = "役( %d種類 )",
                    .sortStates = SortStatesIn<&AppSettings::SortDealInYaku>,
                    .records = DealInYakuRows,
                    .filledIn = kFilledByNameDescending},
                   DealInYakuColumns()),
        RecordList({.id = ListId::DealInOpponents,
                    .name = "DealInOpponents",
                    .size = {261, 24},
                    .columnsFill = false,
                    .manyRows = true,
                    .countHeading = "名前( %d人 )",
                    .sortStates = SortStatesIn<&AppSettings::SortDealInVs>,
                    .records = DealInOpponentRows,
                    .filledIn = kFilledByNameDescending},
                   DealInOpponentColumns()),
        RecordList({.id = ListId::DealInLargest,
                    .name = "DealInLargest",
                    .size = {261, 30},
                    .columnsFill = false,
                    .manyRows = false,
                    .records = LargestDealInRows},
                   DealInLargestColumns()),
    };
}

}  // namespace obrenta::present
