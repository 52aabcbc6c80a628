#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "present/CellFormat.h"
#include "present/ListDef.h"
#include "scorelog/GameRecord.h"
#include "tally/TallyEngine.h"

namespace obrenta::present {

// What a record list's column sorts by: a kind, and, for a column ordered by another column's
// value, that column's heading (UTF-8); "" for the column's own texts.
struct SortKey {
    SortKey() = default;
    SortKey(SortBy by, std::string_view keyHeading = "") : by(by), keyHeading(keyHeading) {}
    SortBy by = SortBy::None;
    std::string_view keyHeading;
};

// A column of a record list: one row per record, each column with its value.
template <class Record>
struct RecordColumn {
    ColumnDef column;
    Cp932Text format;
    CellValue (*value)(const Record& record);
    // Every column of a sortable list says what it sorts by; the others leave it None.
    SortKey sortBy = {};
};

// One selected game as the recent-games list shows it: the tally found the user's seat and the
// game's marks while it selected and walked the game.
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

// 放銃: the yaku of the hands the user dealt into, the opponents, and the largest deal-ins.
using DealInYakuEntry = tally::DealInYakuMap::value_type;
using DealInOpponentEntry = tally::DealInOpponentMap::value_type;
const std::vector<RecordColumn<DealInYakuEntry>>& DealInYakuColumns();
const std::vector<RecordColumn<DealInOpponentEntry>>& DealInOpponentColumns();
// Whether the opponent list shows an opponent: every one when the settings say so, else those
// of kDealInOpponentHands shared hands or more.
bool DealInOpponentShown(const tally::DealInOpponentStats& stats, const settings::AppSettings& settings);
// A row of the largest deal-ins: its place, the record and its texts (code page 932).
struct LargestDealIn {
    std::int32_t place = 0;
    const tally::DealInRecord* record = nullptr;
    std::string hanClass;
    std::string yaku;  // the winner's yaku, separated by a space

    static LargestDealIn Of(std::int32_t place, const tally::DealInRecord& record);
};
const std::vector<RecordColumn<LargestDealIn>>& DealInLargestColumns();

// The definitions of the record lists (the recent games, the yaku, opponent, period and form
// lists), in no particular order.
std::vector<ListDef> RecordListDefs();

}  // namespace obrenta::present
