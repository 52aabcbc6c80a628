#include "present/GameDetail.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "base/LocalTime.h"
#include "present/CellFormat.h"
#include "present/Report.h"
#include "present/TextCodec.h"
#include "scorelog/HandLabels.h"
#include "tally/TallyFilter.h"

namespace obrenta::present {

namespace {

using scorelog::GameRecord;
using scorelog::HandRecord;

// A fixed word of the game's texts; by value, as several are joined in one expression.
std::string Text(std::string_view utf8) {
    return Cp932Literal(utf8);
}

std::string TableKindText(scorelog::TableKind kind) {
    switch (kind) {
        case scorelog::TableKind::Ranking:
            return Text("ランキング");
        case scorelog::TableKind::Advanced:
            return Text("上級");
        case scorelog::TableKind::SuperAdvanced:
            return Text("超上級");
        default:
            return Text("一般");
    }
}

std::string_view HandKindUtf8(scorelog::HandKind kind) {
    static constexpr std::array<std::string_view, scorelog::kHandKindCount> kNames{
        "その他",   "ツモ",     "ロン",     "流局",   "流し満貫", "チョンボ",
        "九種九牌", "四風連打", "四家立直", "三家和", "四開槓"};
    const auto index = static_cast<std::size_t>(kind);
    return index < kNames.size() ? kNames[index] : kNames[0];
}

void AddRow(ListStore& list, const std::vector<std::string>& cells) {
    const int row = list.InsertRow(list.RowCount(), cells.empty() ? std::string() : cells[0]);
    for (std::size_t c = 1; c < cells.size(); ++c) list.SetCell(row, static_cast<int>(c), cells[c]);
}

// Names, labels and words are left-aligned, numbers right-aligned.
void AddColumns(ListStore& list, const std::vector<std::pair<std::string, int>>& columns,
                std::initializer_list<int> textColumns) {
    for (const auto& [heading, width] : columns) {
        const int c = list.ColumnCount();
        const bool text = c == 0 || std::find(textColumns.begin(), textColumns.end(), c) != textColumns.end();
        list.InsertColumn(c, heading, width, text ? Align::Left : Align::Right);
    }
}

}  // namespace

std::string_view HanClassUtf8(scorelog::HanClass han) {
    static constexpr std::array<std::string_view, scorelog::kHanClassCount> kNames{
        "", "一飜", "二飜", "三飜", "四飜", "満貫", "ハネ満", "倍満", "３倍満", "役満"};
    const auto index = static_cast<std::size_t>(han);
    return index < kNames.size() ? kNames[index] : kNames[0];
}

std::string GameTimeText(std::int64_t seconds) {
    const std::optional<std::tm> t = base::SecondsToLocal(seconds);
    if (!t) return "----/--/-- --:--";
    return FormatCell("%04d/%02d/%02d %02d:%02d", t->tm_year + 1900, t->tm_mon + 1, t->tm_mday, t->tm_hour,
                      t->tm_min);
}

std::string GameKindText(const GameRecord& game) {
    std::string text = TableKindText(game.tableKind);
    text += ' ';
    text += Text(game.eastSouth ? "東南戦" : "東風戦");
    if (game.playerCount == 3) text += Text(" 三人");
    return text;
}

GameDetail MakeGameDetail(const GameRecord& game, int userSeat, const std::vector<std::string>* labels) {
    GameDetail detail;
    detail.startTime = game.startTime;
    detail.title = Text("対局の詳細 - ") + GameTimeText(game.startTime) + ' ' + GameKindText(game);
    const int seatCount = std::clamp(game.playerCount, 0, 4);

    AddColumns(detail.info, {{Text("項目"), 60}, {Text("内容"), 160}}, {1});
    AddRow(detail.info, {Text("卓"), GameKindText(game)});
    AddRow(detail.info, {Text("開始"), GameTimeText(game.startTime)});
    AddRow(detail.info, {Text("終了"), GameTimeText(game.endTime)});
    AddRow(detail.info, {Text("時間"), FormatDuration("%H:%M", game.GameSeconds())});
    AddRow(detail.info, {Text("持点"), FormatCell("%d", game.startPoints)});
    AddRow(detail.info, {Text("局数"), FormatCell("%d", static_cast<int>(game.Hands().size()))});

    AddColumns(detail.seats,
               {{Text("席"), 30},
                {Text("名前"), 110},
                {"R", 50},
                {Text("順位"), 40},
                {Text("得点"), 50},
                {Text("自分"), 40}},
               {1, 5});
    for (int k = 0; k < seatCount; ++k) {
        const scorelog::SeatResult& seat = game.seats[k];
        AddRow(detail.seats,
               {FormatCell("%d", k + 1), std::string(game.SeatName(k)), FormatCell("%d", seat.rating),
                FormatCell("%d", seat.rank), FormatCell("%d", seat.points),
                k == userSeat ? std::string("*") : std::string()});
    }

    std::vector<std::pair<std::string, int>> columns{{Text("局"), 35},   {Text("表記"), 130},
                                                     {Text("種別"), 60}, {Text("和了者"), 90},
                                                     {Text("翻"), 50},   {Text("役"), 200}};
    for (int k = 0; k < seatCount; ++k) {
        const std::string mark = k == userSeat ? std::string("*") : std::string();
        columns.push_back({mark + std::string(game.SeatName(k)), 70});
        columns.push_back({mark + Text("持点"), 60});
    }
    columns.push_back({Text("席外"), 120});
    AddColumns(detail.hands, columns, {1, 2, 3, 4, 5, static_cast<int>(columns.size()) - 1});
    std::array<std::int64_t, 4> score{};
    score.fill(game.startPoints);
    const scorelog::HandList& hands = game.Hands();
    for (std::size_t h = 0; h < hands.size(); ++h) {
        const HandRecord& hand = hands[h];
        std::vector<std::string> cells{FormatCell("%d", static_cast<int>(h + 1))};
        cells.push_back(labels != nullptr && h < labels->size() ? (*labels)[h] : std::string());
        cells.push_back(Text(HandKindUtf8(hand.kind)));
        const int entries = std::clamp(hand.entryCount, 0, 4);
        cells.push_back(hand.IsWin() && entries > 0 ? std::string(game.Name(hand.entryNames[0]))
                                                    : std::string());
        cells.push_back(hand.IsWin() ? Text(HanClassUtf8(hand.hanClass)) : std::string());
        std::string yaku;
        for (scorelog::NameId id : hand.yaku) {
            if (!yaku.empty()) yaku += ' ';
            yaku += game.Name(id);
        }
        cells.push_back(yaku);
        // An entry counts for the first seat of its name; one naming no seat is shown apart.
        std::array<std::int64_t, 4> change{};
        std::array<bool, 4> named{};
        std::string unseated;
        for (int e = 0; e < entries; ++e) {
            const int seat = game.FindSeatByName(hand.entryNames[e]);
            if (seat >= 0 && seat < seatCount) {
                change[seat] += hand.entryDeltas[e];
                named[seat] = true;
            } else {
                if (!unseated.empty()) unseated += ' ';
                unseated += game.Name(hand.entryNames[e]);
                unseated += FormatCell(" %+d", hand.entryDeltas[e]);
            }
        }
        for (int k = 0; k < seatCount; ++k) {
            score[k] += change[k];
            cells.push_back(named[k] ? FormatCell("%+lld", static_cast<long long>(change[k]))
                                     : std::string());
            cells.push_back(FormatCell("%lld", static_cast<long long>(score[k])));
        }
        cells.push_back(unseated);
        AddRow(detail.hands, cells);
    }
    return detail;
}

GameDetail MakeGameDetail(const GameRecord& game, int userSeat, const std::vector<std::string>& logPaths) {
    for (const std::string& path : logPaths) {
        if (const std::optional<std::vector<std::string>> labels = scorelog::ReadHandLabels(path, game))
            return MakeGameDetail(game, userSeat, &*labels);
    }
    return MakeGameDetail(game, userSeat, nullptr);
}

std::optional<std::int64_t> ParseGameMinute(std::string_view text) {
    // Exactly "dddd/dd/dd dd:dd".
    static constexpr std::string_view kShape = "0000/00/00 00:00";
    if (text.size() != kShape.size()) return std::nullopt;
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kShape[i] == '0' ? !digit : text[i] != kShape[i]) return std::nullopt;
    }
    auto number = [&](std::size_t at, std::size_t length) {
        int value = 0;
        for (std::size_t i = at; i < at + length; ++i) value = value * 10 + (text[i] - '0');
        return value;
    };
    const int month = number(5, 2);
    const int day = number(8, 2);
    const int hour = number(11, 2);
    const int minute = number(14, 2);
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59) return std::nullopt;
    return base::LocalToSeconds(number(0, 4), month, day, hour, minute);
}

std::string FormatGameSection(const GameDetail& detail) {
    std::string out = "# Game\n";
    for (const auto& [name, list] : {std::pair<const char*, const ListStore*>{"Info", &detail.info},
                                     {"Seats", &detail.seats},
                                     {"Hands", &detail.hands}}) {
        // "## Info" and so on: the list section's own lines under a second-level name.
        out += '#';
        out += FormatListSection(name, *list);
    }
    return out;
}

std::string RenderGameSections(const tally::TallyEngine& engine, const settings::AppSettings& settings,
                               std::int64_t minute) {
    std::string out;
    for (const GameRecord& game : engine.games()) {
        if (game.startTime != minute) continue;
        const tally::UserSeat user = tally::FindUserSeat(game, settings);
        out += FormatGameSection(MakeGameDetail(game, user.found ? user.seat : -1, settings.ScoreLogPaths()));
    }
    return out;
}

}  // namespace obrenta::present
