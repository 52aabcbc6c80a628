#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "present/ListView.h"
#include "scorelog/GameRecord.h"
#include "tally/TallyEngine.h"

namespace obrenta::present {

// Every list of the pages, in the order the report prints them.
enum class ListId {
    GameSummaryTable,
    RatingTable,
    PointsTable,
    RankTable,
    StreakTable,
    RecentGamesList,
    HanTableOwn,
    HanTableOther,
    YakuListOwn,
    YakuListOther,
    HourlyTable,
    HandOutcomeTable,
    LastHandTable,
    LastHandWonTable,
    OpponentList,
    // The 推移 page; the report prints them after every chart.
    PeriodList,
    FormTable,
    // The 打ち筋 page; the report prints it last.
    StyleTable,
};
inline constexpr int kListCount = 18;

// A fixed text of the lists: written in UTF-8 in the definitions, kept as code page 932 bytes.
struct Cp932Text {
    Cp932Text(const char* utf8);
    Cp932Text(const std::string& utf8);
    std::string bytes;
};

// What a cell shows, before the cell's format turns it into text.
struct CellValue {
    enum class Kind {
        None,       // the format alone, with no argument
        Integer,    // "%d" of first; "%lld" and "%+lld" take all its 64 bits
        Decimal,    // the format of decimal
        Duration,   // a duration format of first seconds
        Pair,       // the format of first and second
        LocalTime,  // the format of month, day, hour and minute of first seconds, in local time
        Text,       // text as it is
        Dashes,     // "---": a rate or average of nothing
        Period,     // first the year, second the month: "%04d/%02d", or "%04d" for a month of 0
        Interval,   // decimal and halfWidth by a format of two; " ±---" for the second without one
        Range,      // decimal, low and high by a format of three
        Dated,      // "%d" of first, then year, month, day, hour and minute of second seconds, local
    };

    CellValue() = default;
    CellValue(std::int32_t value) : kind(Kind::Integer), first(value) {}
    CellValue(std::int64_t value) : kind(Kind::Integer), first(value) {}
    CellValue(double value) : kind(Kind::Decimal), decimal(value) {}
    static CellValue Duration(std::int64_t seconds);
    static CellValue Pair(std::int64_t a, std::int64_t b);
    static CellValue LocalTime(std::int64_t seconds);
    static CellValue Text(std::string_view text);
    static CellValue Dashes();
    static CellValue Period(std::int32_t year, std::int32_t month);
    static CellValue Interval(double value, double halfWidth, bool hasInterval);
    static CellValue Range(double value, double low, double high);
    static CellValue Dated(std::int64_t value, std::int64_t seconds);

    Kind kind = Kind::None;
    std::int64_t first = 0;
    std::int64_t second = 0;
    double decimal = 0;
    double halfWidth = 0;
    bool hasInterval = false;
    double low = 0;
    double high = 0;
    // The cell of Kind::Text; for the other kinds, put in front of the formatted value.
    std::string_view text;
    // Put after the formatted value (not for Kind::Text).
    std::string_view suffix;
};

// The text of a cell: its format (code page 932) applied to its value.
std::string CellText(const std::string& format, const CellValue& value);

// --- fixed-row lists: each row with its label and its value cells -------------------------
// A value of the tally; index is the row's own (a rank, a han class, an hour, a hand kind).
using ResultGetter = CellValue (*)(const tally::TallyResults& results, int index);

struct CellDef {
    int column;
    Cp932Text format;  // a fixed label when value is null, written at set-up
    ResultGetter value = nullptr;
};

struct RowDef {
    Cp932Text label;  // column 0
    int index = 0;
    std::vector<CellDef> cells;
};

struct ColumnDef {
    Cp932Text heading;
    int width;  // pixels
    Align align;
    // What the column holds, for a heading that is abbreviated or empty; "" when it says enough.
    Cp932Text toolTip = "";
};

// --- variable lists: one row per record, each column with its value -----------------------
template <class Record>
struct RecordColumn {
    ColumnDef column;
    Cp932Text format;
    CellValue (*value)(const Record& record);
};

// One selected game as the recent-games list shows it.
struct RecentGame {
    std::int64_t startTime = 0;
    scorelog::SeatResult user;
    bool boxedOut = false;
    bool yakitori = false;

    static RecentGame Of(const tally::SelectedGame& selected) {
        return {selected.game.startTime, selected.user(), selected.boxedOut, selected.yakitori};
    }
};
// The recent-games list shows this many of the newest selected games.
inline constexpr std::size_t kRecentGamesShown = 100;
using YakuEntry = tally::YakuMap::value_type;
using OpponentEntry = tally::OpponentMap::value_type;

const std::vector<RecordColumn<RecentGame>>& RecentGameColumns();
const std::vector<RecordColumn<YakuEntry>>& YakuColumns();
const std::vector<RecordColumn<OpponentEntry>>& OpponentColumns();
const std::vector<RecordColumn<tally::PeriodStats>>& PeriodColumns();

// One side of the form box: its label (code page 932) and its games.
struct FormSide {
    std::string label;
    tally::PeriodStats stats;
};
const std::vector<RecordColumn<FormSide>>& FormColumns();
// The label of the recent side, of the number of games asked for: "直近 100戦".
std::string FormRecentLabel(std::int32_t games);
const std::string& FormEarlierLabel();
// The cells of the difference row, column 0 included.
std::vector<std::string> FormDifferenceCells(const tally::FormComparison& form);

// The note under the 打ち筋 list (code page 932): what the figures can't say and how to read the
// marks.
const std::string& StylePageNote();

// Where a list sits on its page, in dialog units.
struct ListSize {
    int width = 0;
    int height = 0;
};

struct ListDef {
    std::string_view name;
    ListSize size;
    bool fills;     // the last column is widened to the list's width after set-up
    bool manyRows;  // written with redrawing suspended
    std::vector<ColumnDef> columns;
    std::vector<RowDef> rows;  // none for the variable lists
    // The variable lists' heading of column 0 after a refill, of their number of rows.
    Cp932Text countHeading = "";
};

const ListDef& Definition(ListId list);

// "GameSummaryTable", ...
std::string_view ListName(ListId list);
// Whether the list's last column is widened to the list's width after set-up.
bool ListColumnsFill(ListId list);
// The yaku lists and the opponent list.
bool IsSortable(ListId list);
ListSize ListSizeUnits(ListId list);
// The fixed ratio at which the report and the tests turn a list's dialog-unit width into the
// pixel width that FillLastColumn fills (a 9-point proportional Gothic font gives about this).
inline constexpr double kPixelsPerDialogUnitX = 1.5;
int ListWidthPixels(ListId list);
// The explanation of a column's heading (code page 932), or "" when it has none.
const std::string& ColumnToolTip(ListId list, int column);
// The row of a fixed-row list labelled label (UTF-8), or -1.
int RowOfLabel(ListId list, std::string_view label);

}  // namespace obrenta::present
