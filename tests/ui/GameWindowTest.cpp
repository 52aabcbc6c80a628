#include <QApplication>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QHelpEvent>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <memory>

#include "UiTestSupport.h"
#include "present/GameDetail.h"
#include "present/ListDefinitions.h"
#include "present/ValuesCsv.h"
#include "ui/GameWindow.h"
#include "ui/GamesWithDialog.h"
#include "ui/LineChartView.h"
#include "ui/ListModel.h"
#include "ui/ListTreeView.h"
#include "ui/MainDialog.h"
#include "ui/QtText.h"

namespace obrenta::ui::test {

using present::ListId;

namespace {

std::vector<std::vector<std::string>> Rows(const ListModel& model) {
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < model.RowCount(); ++r) {
        rows.emplace_back();
        for (int c = 0; c < model.ColumnCount(); ++c) rows.back().push_back(model.Cell(r, c));
    }
    return rows;
}

}  // namespace

class GameWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;

    std::unique_ptr<MainDialog> MakeWindow(const QString& log) {
        const QString settings = dir_->filePath(QStringLiteral("Obrenta.ini"));
        WriteSettingsFile(
            settings, QStringLiteral("nUserID\t1\nUserID00\tさくら\nUseID00\t1\nMJSFileName\n%1\n").arg(log));
        MainDialogOptions options;
        options.settingsPath = settings.toStdString();
        options.programDir = dir_->path();
        options.openUrl = [](const QUrl&) { return true; };
        auto window = std::make_unique<MainDialog>(std::move(options));
        window->show();
        return window;
    }

    // The game windows opened since before (a set of windows open before).
    static std::vector<GameWindow*> NewGameWindows(const MainDialog& window,
                                                   const std::vector<GameWindow*>& before) {
        std::vector<GameWindow*> added;
        for (GameWindow* w : window.findChildren<GameWindow*>()) {
            if (std::find(before.begin(), before.end(), w) == before.end()) added.push_back(w);
        }
        return added;
    }

    static void Activate(ListTreeView* view, int row) {
        view->setFocus();
        view->SelectRow(row);
        QTest::keyClick(view, Qt::Key_Return);
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(dir_->path());
    }
    void cleanup() { dir_.reset(); }

    // Enter on a row of 最近の対局, a record row of 打ち筋 and a row of an opponent's games each
    // opens a window of its own on the right game; the windows keep their rows when the log grows
    // and is read again.
    void gamesOpenFromTheirRowsAndOutliveARead() {
        const QString log = dir_->filePath(QStringLiteral("mjscore.txt"));
        QVERIFY(QFile::copy(SmallLogPath(), log));
        auto window = MakeWindow(log);
        const tally::TallyEngine& engine = window->engine();
        QVERIFY(engine.selectedGames.size() >= 2);

        ListTreeView* recent = window->listView(ListId::RecentGamesList);
        const int last = recent->listModel()->RowCount() - 1;
        Activate(recent, last);
        std::vector<GameWindow*> open = NewGameWindows(*window, {});
        QCOMPARE(open.size(), std::size_t{1});
        const tally::SelectedGame newest = engine.selectedGames.back();
        GameWindow* game = open[0];
        QCOMPARE(game->detail().startTime, newest.game.startTime);
        const ListModel& hands = *game->handsView()->listModel();
        QCOMPARE(hands.RowCount(), newest.game.handCount);
        // The label as logged, read again from the file.
        if (hands.RowCount() > 0) QVERIFY(hands.Cell(0, 1).size() > 2);
        const auto rowsBefore = Rows(hands);
        // The row's hover text gives the year the list leaves out.
        const QRect cell = recent->visualRect(recent->listModel()->index(last, 0));
        QHelpEvent help(QEvent::ToolTip, cell.center(), recent->viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(recent->viewport(), &help);
        QVERIFY(QToolTip::text().startsWith(ToQString(present::GameTimeText(newest.game.startTime))));

        ListTreeView* style = window->listView(ListId::StyleTable);
        Activate(style, present::RowOfLabel(ListId::StyleTable, "最長の試合 (局数)"));
        std::vector<GameWindow*> more = NewGameWindows(*window, open);
        QCOMPARE(more.size(), std::size_t{1});
        QCOMPARE(more[0]->detail().startTime, engine.styleLongestGame.startTime);
        // A row that is no record opens nothing.
        Activate(style, 0);
        QCOMPARE(window->findChildren<GameWindow*>().size(), qsizetype{2});

        // A row of 最大の放銃 opens the game of that deal-in and names it in its hover text.
        window->tabBar()->setCurrentIndex(10);
        ListTreeView* largest = window->listView(ListId::DealInLargest);
        QVERIFY(largest->listModel()->RowCount() >= 2);
        Activate(largest, 1);
        more = NewGameWindows(*window, {open[0], more[0]});
        QCOMPARE(more.size(), std::size_t{1});
        QCOMPARE(more[0]->detail().startTime, engine.dealInLargest[1].startTime);
        const QRect dealIn = largest->visualRect(largest->listModel()->index(1, 1));
        QHelpEvent dealInHelp(QEvent::ToolTip, dealIn.center(),
                              largest->viewport()->mapToGlobal(dealIn.center()));
        QApplication::sendEvent(largest->viewport(), &dealInHelp);
        QVERIFY(
            QToolTip::text().startsWith(ToQString(present::GameTimeText(engine.dealInLargest[1].startTime))));
        window->tabBar()->setCurrentIndex(0);

        ListTreeView* opponents = window->listView(ListId::OpponentList);
        Activate(opponents, 0);
        auto* with = window->findChild<GamesWithDialog*>();
        QVERIFY(with != nullptr);
        const ListModel& rows = *with->view()->listModel();
        QCOMPARE(rows.RowCount(), std::stoi(opponents->listModel()->Cell(0, 1)));
        // Sorted by the user's points, each row still opens its own game.
        with->SortBy(3);
        for (int r = 1; r < rows.RowCount(); ++r)
            QVERIFY(std::stoi(rows.Cell(r - 1, 3)) <= std::stoi(rows.Cell(r, 3)));
        const QList<GameWindow*> all = window->findChildren<GameWindow*>();
        const std::vector<GameWindow*> before(all.begin(), all.end());
        Activate(with->view(), rows.RowCount() - 1);
        more = NewGameWindows(*window, before);
        QCOMPARE(more.size(), std::size_t{1});
        QCOMPARE(more[0]->detail().startTime, with->GameAt(rows.RowCount() - 1).game.startTime);
        QCOMPARE(std::to_string(with->GameAt(rows.RowCount() - 1).user().points),
                 rows.Cell(rows.RowCount() - 1, 3));

        // A double click on a point of the score chart opens the point's game.
        window->tabBar()->setCurrentIndex(1);
        LineChartView& chart = window->scoreChart();
        QVERIFY(chart.content().RowCount() > 0);
        const QList<GameWindow*> shown = window->findChildren<GameWindow*>();
        QTest::mouseDClick(chart.view()->viewport(), Qt::LeftButton, {}, chart.RowPosition(0));
        more = NewGameWindows(*window, std::vector<GameWindow*>(shown.begin(), shown.end()));
        QCOMPARE(more.size(), std::size_t{1});
        QCOMPARE(more[0]->detail().startTime, chart.content().rowTimes[0]);

        // A game added by a live refresh leaves the open windows as they were.
        const int games = engine.gameCount;
        QFile file(log);
        QVERIFY(file.open(QIODevice::Append));
        file.write(MakeScoreLog(1));
        file.close();
        QTRY_COMPARE_WITH_TIMEOUT(engine.gameCount, games + 1, 20000);
        QCOMPARE(Rows(hands), rowsBefore);
        QCOMPARE(game->detail().startTime, newest.game.startTime);
    }

    // Every list's "数値" CSV is the report's, its rows in the order shown after a sort.
    void valuesFormIsTheReports() {
        auto window = MakeWindow(SmallLogPath());
        ListTreeView* opponents = window->listView(ListId::OpponentList);
        QTest::mouseClick(opponents->header()->viewport(), Qt::LeftButton, {},
                          QPoint(opponents->header()->sectionViewportPosition(1) + 5, 5));
        window->RunTally();
        settings::AppSettings settings(window->settings());
        tally::TallyEngine engine(settings);
        engine.ReadScoreLog();
        engine.Tally();
        for (int i = 0; i < present::kListCount; ++i) {
            const auto id = static_cast<ListId>(i);
            ListTreeView* view = window->listView(id);
            if (view == nullptr) continue;
            QVERIFY(view->valuesCsv);
            QCOMPARE(view->valuesCsv(), present::RenderListValuesCsv(engine, settings, id));
        }
    }
};

static RegisterSuite<GameWindowTest> registerGameWindowTest("GameWindowTest");

}  // namespace obrenta::ui::test

#include "GameWindowTest.moc"
