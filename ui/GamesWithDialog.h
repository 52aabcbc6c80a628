#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "tally/SelectedGame.h"

namespace obrenta::ui {

class GameOpener;
class ListTreeView;

// The games with one opponent: one row per game, sortable by a click on a heading; Enter or a
// double click opens the row's game. It holds copies of the games it lists.
class GamesWithDialog : public QWidget {
    Q_OBJECT

public:
    GamesWithDialog(std::string opponent, std::vector<tally::SelectedGame> games, GameOpener* opener,
                    QWidget* parent = nullptr);

    ListTreeView* view() const { return view_; }
    // The game of a row as the list is sorted now.
    const tally::SelectedGame& GameAt(int row) const { return games_.at(order_.at(row)); }
    void SortBy(int column);

private:
    std::string opponent_;
    std::vector<tally::SelectedGame> games_;
    std::vector<int> order_;  // the game of each row
    GameOpener* opener_;
    ListTreeView* view_;
    int sortColumn_ = -1;
    bool ascending_ = true;
};

}  // namespace obrenta::ui
