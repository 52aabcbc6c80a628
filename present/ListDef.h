#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "present/CellFormat.h"
#include "present/ListView.h"
#include "present/TextCodec.h"
#include "settings/AppSettings.h"
#include "tally/TallyEngine.h"

namespace obrenta::present {

// Every list of the pages, in the order the report prints them. Each has one definition (a
// ListDef of that id, in TableDefinitions.cpp or RecordColumns.cpp).
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
    // The 打ち筋 page; the report prints it after the 推移 lists.
    StyleTable,
    // The 放銃 page, printed last. Keep PointsPerHand the last id: kListCount follows from it.
    DealInBreakdown,
    DealInYaku,
    DealInOpponents,
    DealInLargest,
    PointsPerHand,
};
inline constexpr int kListCount = static_cast<int>(ListId::PointsPerHand) + 1;

// A fixed text of the lists: written in UTF-8 in the definitions, kept as code page 932 bytes.
struct Cp932Text {
    Cp932Text(const char* utf8) : bytes(Cp932Literal(utf8)) {}
    Cp932Text(const std::string& utf8) : bytes(Cp932Literal(utf8)) {}
    std::string bytes;
};

struct ColumnDef {
    Cp932Text heading;
    int width;  // pixels
    Align align;
    // What the column holds, for a heading that is abbreviated or empty; "" when it says enough.
    Cp932Text toolTip = "";
};

// The tool tips of the rate columns that the han tables and the yaku lists share.
inline constexpr const char* kRateOfHandsTip = "集計した全局数に対する割合";
inline constexpr const char* kRateOfWinsTip = "和了した局数に対する割合";

// An estimate as a cell of value, low and high; dashes when it has no interval.
inline CellValue EstimateCell(const tally::Estimate& estimate) {
    return estimate.hasInterval ? CellValue::Range(estimate.value, estimate.low, estimate.high)
                                : CellValue::Dashes();
}
// A difference the same way, followed by " *" when its interval excludes zero.
inline CellValue DifferenceCell(const tally::Estimate& difference, bool significant) {
    CellValue cell = EstimateCell(difference);
    if (difference.hasInterval && significant) cell.suffix = " *";
    return cell;
}

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

// --- sorting of the record lists ------------------------------------------------------------
// How a column's rows compare when its heading is clicked. The keys are read from the shown
// texts: Text as unsigned bytes, a prefix first; Integer and Decimal by their leading number
// (LeadingInteger, LeadingDouble), the largest first.
enum class SortBy {
    None,  // a column of a list that is not sortable
    Text,
    Integer,
    Decimal,
};

// A column's sort as a list applies it: its kind and the column whose shown texts are the keys
// (the column itself, or the one named by its RecordColumn's SortKey).
struct ColumnSort {
    SortBy by = SortBy::None;
    int keyColumn = 0;
};

// Where a sortable list keeps the sort state of each column (0 unsorted, 1 first order, 2
// reverse) inside the settings.
using SortStatesOf = std::span<std::int32_t> (*)(settings::AppSettings& settings);
template <auto member>
std::span<std::int32_t> SortStatesIn(settings::AppSettings& settings) {
    return settings.*member;
}

// --- the rows of a record list -----------------------------------------------------------------
// One cell of a record list's row: the column's format and the record's value.
struct RecordCell {
    const std::string* format;
    CellValue value;
};

// Takes a record list's rows one at a time, top to bottom, while their records are alive.
class RowSink {
public:
    virtual void Row(std::span<const RecordCell> cells) = 0;
    // A row of finished texts (the form box's difference row).
    virtual void TextRow(std::span<const std::string> texts) = 0;

protected:
    ~RowSink() = default;
};

// Hands a record list's rows, before any sort, to a sink.
using RecordRows = void (*)(const tally::TallyEngine& engine, const settings::AppSettings& settings,
                            RowSink& sink);

// Where a list sits on its page, in dialog units.
struct ListSize {
    int width = 0;
    int height = 0;
};

struct ListDef {
    ListId id;
    std::string_view name;  // the report's section name
    ListSize size;
    bool columnsFill = false;  // the last column is widened to the list's width after set-up
    bool manyRows = false;     // written with redrawing suspended
    std::vector<ColumnDef> columns = {};
    std::vector<RowDef> rows = {};  // none for the record lists
    // The record lists' heading of column 0 after a refill, of their number of rows.
    Cp932Text countHeading = "";
    // The sortable lists' states in the settings; null for a list that is not sortable.
    SortStatesOf sortStates = nullptr;
    // One per column of a sortable list (see RecordList in RecordColumns.h).
    std::vector<ColumnSort> sorts = {};
    // A record list's rows; null for a fixed-row list.
    RecordRows records = nullptr;
    // A refill shows the last row (the newest game or period).
    bool showsLastRow = false;
    // The order of column 0 in which a refill leaves a sortable list before its saved sort
    // applies, as a sort direction (1 the first order, 2 the reverse); a click sorts from it.
    int filledIn = 1;
};

}  // namespace obrenta::present
