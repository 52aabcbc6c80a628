#pragma once

#include <QObject>
#include <QWidget>
#include <cstdint>

#include "present/GameDetail.h"
#include "tally/SelectedGame.h"

namespace obrenta::ui {

class MainDialog;
class ListTreeView;

// "対局の詳細": one game, its seats and every hand. It holds its own copy of the game's texts, so
// it stays as it is when the log is read again; several may be open at once.
class GameWindow : public QWidget {
    Q_OBJECT

public:
    explicit GameWindow(present::GameDetail detail, QWidget* parent = nullptr);

    const present::GameDetail& detail() const { return detail_; }
    ListTreeView* handsView() const { return hands_; }
    ListTreeView* seatsView() const { return seats_; }

private:
    present::GameDetail detail_;
    ListTreeView* seats_ = nullptr;
    ListTreeView* hands_ = nullptr;
};

// Opens games from where the main window shows them: a row of 最近の対局, a record row of 打ち筋,
// a row of 最大の放銃 (放銃), a point of the score charts, a row of 対戦相手 (that opponent's
// games); and gives the rows of 最近の対局 and 最大の放銃 their game's full start time and kind as
// hover text.
class GameOpener : public QObject {
    Q_OBJECT

public:
    explicit GameOpener(MainDialog* dialog);

    // Opens a window on the game; the window is the caller's to show (returned shown).
    GameWindow* OpenGame(const tally::SelectedGame& selected);
    // The first selected game starting at seconds, or null.
    const tally::SelectedGame* SelectedAt(std::int64_t seconds) const;
    // The selected game of a row of 最近の対局, or null.
    const tally::SelectedGame* RecentGameAt(int row) const;
    // Opens the game of a row of 打ち筋 when it is a record row; false otherwise.
    bool OpenStyleRecord(int row);
    // The selected game of a row of 最大の放銃, or null.
    const tally::SelectedGame* LargestDealInAt(int row) const;
    // Opens the list of the games with the opponent of a row of 対戦相手.
    QWidget* OpenGamesWith(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MainDialog* dialog_;
    // The recent games list's viewport, whose hover texts this answers. Events reach the filter
    // while the main window is being taken apart, so it looks at nothing of the window before
    // it knows the event is one of these.
    QWidget* recentViewport_ = nullptr;
    QWidget* largestDealInViewport_ = nullptr;
};

}  // namespace obrenta::ui
