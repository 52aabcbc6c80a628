#include "ui/GameWindow.h"

#include <QEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>
#include <QVBoxLayout>

#include "present/GamesWith.h"
#include "present/ListDefinitions.h"
#include "ui/GamesWithDialog.h"
#include "ui/LineChartView.h"
#include "ui/ListModel.h"
#include "ui/ListToolTips.h"
#include "ui/ListTreeView.h"
#include "ui/MainDialog.h"
#include "ui/QtText.h"
#include "ui/UiStyle.h"

namespace obrenta::ui {

namespace {

// A list view of the window showing a copy of list.
ListTreeView* ShowList(const present::ListStore& list, const QString& name, QWidget* parent) {
    auto* model = new ListModel(parent);
    for (int c = 0; c < list.ColumnCount(); ++c) {
        const present::ListStore::Column& column = list.ColumnAt(c);
        model->InsertColumn(c, column.heading, column.width, column.align);
    }
    model->SetRedraw(false);
    for (int r = 0; r < list.RowCount(); ++r) {
        model->InsertRow(r, list.Cell(r, 0));
        for (int c = 1; c < list.ColumnCount(); ++c) model->SetCell(r, c, list.Cell(r, c));
    }
    model->SetRedraw(true);
    auto* view = new ListTreeView(model, parent);
    view->setObjectName(name);
    return view;
}

}  // namespace

GameWindow::GameWindow(present::GameDetail detail, QWidget* parent)
    : QWidget(parent, Qt::Window), detail_(std::move(detail)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("GameWindow"));
    setFont(UiFont());
    setWindowTitle(ToQString(detail_.title));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout();
    ListTreeView* info = ShowList(detail_.info, QStringLiteral("GameInfo"), this);
    seats_ = ShowList(detail_.seats, QStringLiteral("GameSeats"), this);
    info->SetPreferredSize(QSize(260, 150));
    seats_->SetPreferredSize(QSize(380, 150));
    top->addWidget(info);
    top->addWidget(seats_, 1);
    layout->addLayout(top);
    hands_ = ShowList(detail_.hands, QStringLiteral("GameHands"), this);
    hands_->SetPreferredSize(QSize(1100, 360));
    layout->addWidget(hands_, 1);
    resize(1180, 600);
}

GameOpener::GameOpener(MainDialog* dialog) : QObject(dialog), dialog_(dialog) {
    using present::ListId;
    if (ListTreeView* recent = dialog->listView(ListId::RecentGamesList)) {
        connect(recent, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
            if (const tally::SelectedGame* game = RecentGameAt(index.row())) OpenGame(*game);
        });
        // Before the list's own hover texts, which only show cut cells.
        recentViewport_ = recent->viewport();
        recentViewport_->installEventFilter(this);
    }
    if (ListTreeView* style = dialog->listView(ListId::StyleTable)) {
        connect(style, &QAbstractItemView::activated, this,
                [this](const QModelIndex& index) { OpenStyleRecord(index.row()); });
    }
    if (ListTreeView* largest = dialog->listView(ListId::DealInLargest)) {
        connect(largest, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
            if (const tally::SelectedGame* game = LargestDealInAt(index.row())) OpenGame(*game);
        });
        largestDealInViewport_ = largest->viewport();
        largestDealInViewport_->installEventFilter(this);
    }
    if (ListTreeView* opponents = dialog->listView(ListId::OpponentList)) {
        connect(opponents, &QAbstractItemView::activated, this,
                [this](const QModelIndex& index) { OpenGamesWith(index.row()); });
    }
    for (LineChartView* chart : {&dialog->scoreChart(), &dialog->windowScoreChart()}) {
        connect(chart, &ChartView::RowActivated, this, [this, chart](int row) {
            const std::vector<std::int64_t>& times = chart->content().rowTimes;
            if (row < 0 || static_cast<std::size_t>(row) >= times.size()) return;
            if (const tally::SelectedGame* game = SelectedAt(times[row])) OpenGame(*game);
        });
    }
}

GameWindow* GameOpener::OpenGame(const tally::SelectedGame& selected) {
    auto* window = new GameWindow(present::MakeGameDetail(selected.game, selected.userSeat,
                                                          dialog_->engine().settings().ScoreLogPaths()),
                                  dialog_);
    window->show();
    return window;
}

const tally::SelectedGame* GameOpener::SelectedAt(std::int64_t seconds) const {
    for (const tally::SelectedGame& game : dialog_->engine().selectedGames) {
        if (game.game.startTime == seconds) return &game;
    }
    return nullptr;
}

const tally::SelectedGame* GameOpener::RecentGameAt(int row) const {
    // The list shows the newest selected games, oldest on top.
    const std::vector<tally::SelectedGame>& games = dialog_->engine().selectedGames;
    const int rows = dialog_->list(present::ListId::RecentGamesList).RowCount();
    if (row < 0 || row >= rows || static_cast<std::size_t>(rows) > games.size()) return nullptr;
    return &games[games.size() - static_cast<std::size_t>(rows) + static_cast<std::size_t>(row)];
}

bool GameOpener::OpenStyleRecord(int row) {
    const tally::TallyEngine& engine = dialog_->engine();
    const tally::StyleRecord* record = nullptr;
    if (row == present::RowOfLabel(present::ListId::StyleTable, "最大の和了")) {
        record = &engine.styleLargestWin;
    } else if (row == present::RowOfLabel(present::ListId::StyleTable, "最大の放銃")) {
        record = &engine.styleLargestDealIn;
    } else if (row == present::RowOfLabel(present::ListId::StyleTable, "最長の試合 (局数)")) {
        record = &engine.styleLongestGame;
    }
    if (record == nullptr || !record->found) return false;
    const tally::SelectedGame* game = SelectedAt(record->startTime);
    if (game == nullptr) return false;
    OpenGame(*game);
    return true;
}

const tally::SelectedGame* GameOpener::LargestDealInAt(int row) const {
    // The list shows the records in their order, the largest on top.
    const tally::TallyEngine& engine = dialog_->engine();
    const std::vector<tally::DealInRecord>& records = engine.dealInLargest;
    const int rows = dialog_->list(present::ListId::DealInLargest).RowCount();
    if (row < 0 || row >= rows || static_cast<std::size_t>(rows) != records.size()) return nullptr;
    const tally::DealInRecord& record = records[static_cast<std::size_t>(row)];
    // The index holds until the next tally; the start time makes sure it is still that game, and
    // finds it when it is not.
    const std::vector<tally::SelectedGame>& games = engine.selectedGames;
    if (record.gameIndex < games.size() && games[record.gameIndex].game.startTime == record.startTime)
        return &games[record.gameIndex];
    return SelectedAt(record.startTime);
}

QWidget* GameOpener::OpenGamesWith(int row) {
    const ListModel& opponents = dialog_->list(present::ListId::OpponentList);
    if (row < 0 || row >= opponents.RowCount()) return nullptr;
    const std::string name = opponents.Cell(row, 0);
    auto* window = new GamesWithDialog(name, present::GamesWith(dialog_->engine(), name), this, dialog_);
    window->show();
    return window;
}

bool GameOpener::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip || (watched != recentViewport_ && watched != largestDealInViewport_))
        return QObject::eventFilter(watched, event);
    const bool recentList = watched == recentViewport_;
    ListTreeView* view =
        dialog_->listView(recentList ? present::ListId::RecentGamesList : present::ListId::DealInLargest);
    if (view == nullptr) return QObject::eventFilter(watched, event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = view->indexAt(help->pos());
    const tally::SelectedGame* game = !index.isValid() ? nullptr
                                      : recentList     ? RecentGameAt(index.row())
                                                       : LargestDealInAt(index.row());
    QString text;
    if (game != nullptr)
        text =
            ToQString(present::GameTimeText(game->game.startTime) + ' ' + present::GameKindText(game->game));
    // The list's own hover text, the whole of a cut cell (a long yaku list), comes under it.
    if (const auto* tips =
            recentList ? nullptr : view->findChild<ListToolTips*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (const QString whole = tips->CellToolTip(index); !whole.isEmpty())
            text = text.isEmpty() ? whole : text + QLatin1Char('\n') + whole;
    }
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(help->globalPos(), text, view->viewport(), view->visualRect(index));
    }
    return true;
}

}  // namespace obrenta::ui
