#include "present/GamesWith.h"

#include <algorithm>

#include "present/CellFormat.h"
#include "present/GameDetail.h"
#include "present/ListStore.h"
#include "present/Report.h"
#include "present/TextCodec.h"

namespace obrenta::present {

namespace {

// The first seat other than the user's named name, or -1.
int OpponentSeat(const tally::SelectedGame& selected, std::string_view name) {
    const scorelog::GameRecord& game = selected.game;
    const int seats = std::clamp(game.playerCount, 0, 4);
    for (int k = 0; k < seats; ++k) {
        if (k != selected.userSeat && game.SeatName(k) == name) return k;
    }
    return -1;
}

}  // namespace

std::vector<tally::SelectedGame> GamesWith(const tally::TallyEngine& engine, std::string_view name) {
    std::vector<tally::SelectedGame> games;
    if (name.empty()) return games;
    for (std::size_t i = engine.selectedGames.size(); i-- > 0;) {
        if (OpponentSeat(engine.selectedGames[i], name) >= 0) games.push_back(engine.selectedGames[i]);
    }
    return games;
}

void SetUpGamesWith(ListView& view) {
    const std::pair<std::string_view, int> columns[] = {{"日時", 110}, {"卓", 110},      {"順位", 40},
                                                        {"得点", 50},  {"相手順位", 60}, {"相手得点", 60},
                                                        {"先着", 40}};
    for (const auto& [heading, width] : columns) {
        const int c = view.ColumnCount();
        view.InsertColumn(c, Cp932Literal(heading), width, c < 2 || c == 6 ? Align::Left : Align::Right);
    }
}

void FillGamesWith(ListView& view, std::span<const tally::SelectedGame> games, std::string_view name) {
    static const std::string kUser = Cp932Literal("自分");
    static const std::string kOpponent = Cp932Literal("相手");
    static const std::string kTie = Cp932Literal("同順");
    view.SetRedraw(false);
    view.DeleteAllRows();
    for (const tally::SelectedGame& selected : games) {
        const int seat = OpponentSeat(selected, name);
        if (seat < 0) continue;
        const scorelog::SeatResult& user = selected.user();
        const scorelog::SeatResult& opponent = selected.game.seats[seat];
        const int row = view.InsertRow(view.RowCount(), GameTimeText(selected.game.startTime));
        view.SetCell(row, 1, GameKindText(selected.game));
        view.SetCell(row, 2, FormatCell("%d", user.rank));
        view.SetCell(row, 3, FormatCell("%d", user.points));
        view.SetCell(row, 4, FormatCell("%d", opponent.rank));
        view.SetCell(row, 5, FormatCell("%d", opponent.points));
        view.SetCell(row, 6,
                     user.rank < opponent.rank   ? kUser
                     : user.rank > opponent.rank ? kOpponent
                                                 : kTie);
    }
    view.SetRedraw(true);
}

bool GamesWithColumnIsNumber(int column) {
    return column >= 2 && column <= 5;
}

std::vector<int> GamesWithSortOrder(const ListView& view, int column, bool ascending) {
    std::vector<int> order(static_cast<std::size_t>(view.RowCount()));
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    const bool number = GamesWithColumnIsNumber(column);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const std::string x = view.Cell(ascending ? a : b, column);
        const std::string y = view.Cell(ascending ? b : a, column);
        return number ? LeadingInteger(x) < LeadingInteger(y) : x < y;
    });
    return order;
}

std::string GamesWithTitle(std::string_view name, std::size_t games) {
    return std::string(name) +
           FormatCell(Cp932Literal(" との対局 (%d 試合)").c_str(), static_cast<int>(games));
}

std::string RenderGamesWith(const tally::TallyEngine& engine, std::string_view nameCp932) {
    ListStore view;
    SetUpGamesWith(view);
    FillGamesWith(view, GamesWith(engine, nameCp932), nameCp932);
    return FormatListSection("GamesWith", view);
}

}  // namespace obrenta::present
