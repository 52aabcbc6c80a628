#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "present/ListStore.h"
#include "scorelog/GameRecord.h"
#include "settings/AppSettings.h"
#include "tally/TallyEngine.h"

namespace obrenta::present {

// One game as its window and the report show it. Every text is made when the game is opened, so
// a detail is a copy of the game: it stays whole when the log it came from is read again.
struct GameDetail {
    std::int64_t startTime = 0;
    std::string title;  // code page 932: "対局の詳細 - 2019/01/12 15:06 上級 東南戦"
    ListStore info;     // 項目, 内容: the table, the times, the start points
    ListStore seats;    // 席, 名前, R, 順位, 得点, 自分
    ListStore hands;    // 局, 表記, 種別, 和了者, 翻, 役, per seat its change and score, 席外
};

// The detail of game, userSeat marked (-1: none). labels: each hand's label as logged, or null
// when they could not be read again (the label cells stay empty).
GameDetail MakeGameDetail(const scorelog::GameRecord& game, int userSeat,
                          const std::vector<std::string>* labels);
// The same with the labels read again from the first of the logs (the settings' logs, in order)
// that holds the game.
GameDetail MakeGameDetail(const scorelog::GameRecord& game, int userSeat,
                          const std::vector<std::string>& logPaths);

// A start or end time as "YYYY/MM/DD HH:MM", local.
std::string GameTimeText(std::int64_t seconds);
// The label of a value class as the 和了 page's han tables write it (UTF-8); "" for none.
std::string_view HanClassUtf8(scorelog::HanClass han);
// The table and game kind: "上級 東南戦", with " 三人" for three players (code page 932).
std::string GameKindText(const scorelog::GameRecord& game);

// "YYYY/MM/DD HH:MM" as local time, in seconds; nothing when the text has another form.
std::optional<std::int64_t> ParseGameMinute(std::string_view text);

// The section "# Game" of one game: its three tables, each as "## name", headings and rows.
std::string FormatGameSection(const GameDetail& detail);

// Every game of the engine's log starting at minute (local seconds), in log order, each with the
// seat of the user's ID in use (-1 when none), as "# Game" sections; empty when none starts then.
std::string RenderGameSections(const tally::TallyEngine& engine, const settings::AppSettings& settings,
                               std::int64_t minute);

}  // namespace obrenta::present
