#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLockFile>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <ctime>
#include <memory>

#include "UiTestSupport.h"
#include "base/LocalTime.h"
#include "present/Report.h"
#include "present/TextCodec.h"
#include "ui/AddUserIdDialog.h"
#include "ui/BarChartView.h"
#include "ui/ChartView.h"
#include "ui/FilterPanel.h"
#include "ui/GraphWindow.h"
#include "ui/LineChartView.h"
#include "ui/ListModel.h"
#include "ui/ListToolTips.h"
#include "ui/ListTreeView.h"
#include "ui/LogListDialog.h"
#include "ui/LogWatcher.h"
#include "ui/MainDialog.h"
#include "ui/ObrentaApp.h"
#include "ui/PeriodChartView.h"
#include "ui/QtText.h"
#include "ui/StatsPage.h"
#include "ui/StatusLine.h"

namespace obrenta::ui::test {

namespace {

using Command = MainDialog::Command;
using present::ListId;

std::int64_t LocalSeconds(int year, int month, int day, int hour, int minute, int second) {
    return base::LocalToSeconds(year, month, day, hour, minute, second);
}

std::string Sjis(const char* utf8) {
    return *present::Utf8ToCp932(utf8);
}

void ClickHeading(ListTreeView* view, int column) {
    QHeaderView* header = view->header();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

std::vector<std::string> Column(const ListModel& model, int column) {
    std::vector<std::string> cells;
    for (int r = 0; r < model.RowCount(); ++r) cells.push_back(model.Cell(r, column));
    return cells;
}

}  // namespace

class MainDialogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::vector<QUrl> openedUrls_;
    // What the desktop's handler answers: false as on a machine without a browser.
    bool urlsOpen_ = true;

    QString SettingsPath() const { return dir_->filePath(QStringLiteral("Obrenta.ini")); }

    // A window over the small test log with the user's one ID, plus any further settings lines.
    std::unique_ptr<MainDialog> MakeWindow(const QString& extraLines = QString(), bool withLog = true,
                                           const std::function<void(MainDialogOptions&)>& adjust = {}) {
        if (withLog) {
            WriteSettingsFile(SettingsPath(),
                              QStringLiteral("nUserID\t1\nUserID00\tさくら\nUseID00\t1\nMJSFileName\n%1\n%2")
                                  .arg(SmallLogPath(), extraLines));
        }
        MainDialogOptions options;
        options.settingsPath = SettingsPath().toStdString();
        options.programDir = dir_->path();
        options.openUrl = [this](const QUrl& url) {
            openedUrls_.push_back(url);
            return urlsOpen_;
        };
        options.authorUrl = QStringLiteral("https://author.example/");
        options.serviceUrl = QStringLiteral("https://service.example/");
        options.readmeUrl = QStringLiteral("https://author.example/readme.html");
        if (adjust) adjust(options);
        return std::make_unique<MainDialog>(std::move(options));
    }

    settings::AppSettings SavedSettings() const {
        return settings::AppSettings(SettingsPath().toStdString());
    }

    // Every list and chart of the window against the report's over a fresh engine.
    void CompareWithReport(const MainDialog* window) {
        settings::AppSettings settings = SavedSettings();
        tally::TallyEngine engine(settings);
        engine.ReadScoreLog();
        engine.Tally();
        present::InMemoryPages pages;
        present::SetUpPages(pages.lists, pages.charts, settings);
        present::RefillPages(engine, settings, pages.lists, pages.charts);
        for (int i = 0; i < present::kListCount; ++i) {
            const auto id = static_cast<ListId>(i);
            const std::string name(present::ListName(id));
            const std::string shown = present::FormatListSection(name, window->list(id));
            const std::string reported = present::FormatListSection(name, pages[id]);
            if (shown != reported)
                qWarning("%s differs:\n%s\n---\n%s", name.c_str(), shown.c_str(), reported.c_str());
            QCOMPARE(shown, reported);
        }
        const struct {
            const ChartView* shown;
            const present::InMemoryChart* reported;
        } charts[] = {{&window->scoreChart(), &pages.scoreChart},
                      {&window->windowScoreChart(), &pages.windowScoreChart},
                      {&window->ownRatingDistChart(), &pages.ownRatingDist},
                      {&window->opponentRatingDistChart(), &pages.opponentRatingDist}};
        for (const auto& chart : charts) {
            QCOMPARE(chart.shown->content().RowCount(), chart.reported->content.RowCount());
            QVERIFY(chart.shown->content() == chart.reported->content);
        }
        QCOMPARE(window->scoreChart().DrawnPointCount(1), window->engine().gameCount);
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        openedUrls_.clear();
        urlsOpen_ = true;
        QDir::setCurrent(dir_->path());
    }

    void cleanup() { dir_.reset(); }

    void keysRunTallyAndTheWindowStays() {
        auto window = MakeWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(window->tallyCount(), 1);
        struct {
            QWidget* target;
            Qt::Key key;
        } const presses[] = {
            {window.get(), Qt::Key_F5},
            {window->filterPanel()->recentEdit(), Qt::Key_Return},
            {window->filterPanel()->dateFromEdit(), Qt::Key_Return},
            {window->filterPanel()->dateToEdit(), Qt::Key_Enter},
            {window->filterPanel()->userIdList(), Qt::Key_Return},
            {window->filterPanel()->recentEdit(), Qt::Key_Escape},
            {window.get(), Qt::Key_Escape},
        };
        int expected = 1;
        for (const auto& press : presses) {
            press.target->setFocus();
            QTest::keyClick(press.target, press.key);
            QCOMPARE(window->tallyCount(), ++expected);
            QVERIFY(window->isVisible());
        }
        window->action(Command::MenuBarTally)->trigger();
        window->action(Command::Tally)->trigger();
        QCOMPARE(window->tallyCount(), expected + 2);
    }

    void menusAsSpecified() {
        auto window = MakeWindow();
        const struct {
            Command command;
            const char* text;
        } items[] = {
            {Command::Open, "開く\tCtrl+O"},
            {Command::ManageLogs, "ログの管理..."},
            {Command::Edit, "編集\tF4"},
            {Command::Tally, "集計\tF5"},
            {Command::RatingPrediction, "R予測\tCtrl+R"},
            {Command::Exit, "終了"},
            {Command::MenuBarTally, "集計"},
            {Command::RegressionR, "回帰直線( R値 )"},
            {Command::RegressionPoints, "回帰直線( 得点 )"},
            {Command::TodayOnly, "今日だけ\tF7"},
            {Command::AllTime, "ずっと\tF8"},
            {Command::SeparateChart, "別グラフ\tF9"},
            {Command::Help, "ヘルプ\tF1"},
            {Command::About, "Obrentaについて"},
            {Command::AuthorPage, "作者のHPへ"},
            {Command::ServicePage, "MurvellのHPへ"},
            {Command::AutoTally, "ログの変更を自動で集計"},
        };
        for (const auto& item : items) {
            QAction* action = window->action(item.command);
            QString shown = action->text();
            if (!action->shortcut().isEmpty()) shown += QLatin1Char('\t') + action->shortcut().toString();
            QCOMPARE(shown, QString::fromUtf8(item.text));
        }
        QVERIFY(window->action(Command::AuthorPage)->isEnabled());
        QVERIFY(window->action(Command::AutoTally)->isChecked());
        QCOMPARE(window->windowTitle(), QStringLiteral("Obrenta  Murvellスコア集計ツール"));
        QCOMPARE(window->tabBar()->count(), 11);
        QCOMPARE(window->tabBar()->tabText(9), QStringLiteral("打ち筋"));
        QCOMPARE(window->tabBar()->tabText(10), QStringLiteral("放銃"));
        QCOMPARE(window->tabBar()->tabText(6), QStringLiteral("R分布(自分)"));
    }

    void tabMapping_data() {
        QTest::addColumn<int>("savedTab");
        QTest::addColumn<int>("shownTab");
        QTest::addColumn<QString>("pageClass");
        QTest::newRow("3 is the hand info page") << 3 << 3 << "HandInfoPage";
        QTest::newRow("5 is the opponents page") << 5 << 5 << "OpponentsPage";
        QTest::newRow("7 is the second distribution page") << 7 << 7 << "RatingDistPage";
        QTest::newRow("8 is the trend page") << 8 << 8 << "TrendPage";
        QTest::newRow("9 is the style page") << 9 << 9 << "StylePage";
        QTest::newRow("10 is the deal-in page") << 10 << 10 << "DealInPage";
        QTest::newRow("11 shows the general page") << 11 << 0 << "GeneralPage";
        QTest::newRow("-1 shows the general page") << -1 << 0 << "GeneralPage";
    }
    void tabMapping() {
        QFETCH(int, savedTab);
        QFETCH(int, shownTab);
        QFETCH(QString, pageClass);
        auto window = MakeWindow(QStringLiteral("Tab\t%1\n").arg(savedTab));
        QCOMPARE(window->currentPage(), window->PageForTab(shownTab));
        QCOMPARE(QString::fromLatin1(window->currentPage()->metaObject()->className()),
                 QStringLiteral("obrenta::ui::") + pageClass);
        // Each distribution tab shows its own chart.
        QCOMPARE(window->PageForTab(6)->pageChart(), &window->ownRatingDistChart());
        QCOMPARE(window->PageForTab(7)->pageChart(), &window->opponentRatingDistChart());
        window->tabBar()->setCurrentIndex(1);
        QCOMPARE(window->currentPage(), static_cast<QWidget*>(window->page<GraphPage>()));
        window->RunTally();
        QCOMPARE(SavedSettings().Tab, 1);
    }

    void headingClicksSortAndSurviveTally() {
        auto window = MakeWindow();
        window->show();
        window->tabBar()->setCurrentIndex(2);
        ListTreeView* yaku = window->listView(ListId::YakuListOwn);
        ListModel& model = *yaku->listModel();
        QVERIFY(model.RowCount() >= 3);
        auto countsDescending = [&] {
            for (int r = 1; r < model.RowCount(); ++r) {
                if (std::stoi(model.Cell(r - 1, 1)) < std::stoi(model.Cell(r, 1))) return false;
            }
            return true;
        };
        QVERIFY(countsDescending());
        ClickHeading(yaku, 3);
        QCOMPARE(window->settings().SortYaku1, (std::array<std::int32_t, 4>{0, 0, 0, 1}));
        QVERIFY(countsDescending());
        ClickHeading(yaku, 1);
        ClickHeading(yaku, 0);
        QCOMPARE(window->settings().SortYaku1, (std::array<std::int32_t, 4>{1, 0, 0, 0}));
        auto names = Column(model, 0);
        QVERIFY(std::is_sorted(names.begin(), names.end()));
        QCOMPARE(yaku->header()->sortIndicatorSection(), 0);
        QVERIFY(yaku->header()->isSortIndicatorShown());
        QCOMPARE(yaku->header()->sortIndicatorOrder(), Qt::AscendingOrder);

        window->RunTally();
        QCOMPARE(Column(model, 0), names);
        QCOMPARE(yaku->header()->sortIndicatorSection(), 0);
        QCOMPARE(SavedSettings().SortYaku1, (std::array<std::int32_t, 4>{1, 0, 0, 0}));

        window->tabBar()->setCurrentIndex(5);
        ListTreeView* opponents = window->listView(ListId::OpponentList);
        ClickHeading(opponents, 5);
        ClickHeading(opponents, 5);
        QCOMPARE(window->settings().SortVs, (std::array<std::int32_t, 8>{0, 0, 0, 0, 0, 2, 0, 0}));
        const auto avgR = Column(*opponents->listModel(), 5);
        for (std::size_t r = 1; r < avgR.size(); ++r) QVERIFY(std::stod(avgR[r - 1]) <= std::stod(avgR[r]));
        QCOMPARE(opponents->header()->sortIndicatorSection(), 5);
        QCOMPARE(opponents->header()->sortIndicatorOrder(), Qt::AscendingOrder);

        // 放銃: its yaku and opponent lists sort the same way; the check box refills the opponents
        // in the order chosen, and both are kept and come back at the next start.
        window->tabBar()->setCurrentIndex(10);
        ListTreeView* dealInYaku = window->listView(ListId::DealInYaku);
        ClickHeading(dealInYaku, 0);
        QCOMPARE(window->settings().SortDealInYaku, (std::array<std::int32_t, 4>{1, 0, 0, 0}));
        const auto yakuNames = Column(*dealInYaku->listModel(), 0);
        QVERIFY(!yakuNames.empty() && std::is_sorted(yakuNames.begin(), yakuNames.end()));
        QCheckBox* all = window->page<DealInPage>()->allOpponentsBox();
        ListTreeView* vs = window->listView(ListId::DealInOpponents);
        QVERIFY(!all->isChecked());
        ClickHeading(vs, 3);
        QCOMPARE(window->settings().SortDealInVs, (std::array<std::int32_t, 8>{0, 0, 0, 1, 0, 0, 0, 0}));
        const auto lostDescending = [vs] {
            const auto lost = Column(*vs->listModel(), 3);
            return std::is_sorted(lost.begin(), lost.end(), [](const std::string& a, const std::string& b) {
                return std::stoi(a) > std::stoi(b);
            });
        };
        const int fewer = vs->listModel()->RowCount();
        QVERIFY(lostDescending());
        all->click();
        QVERIFY(vs->listModel()->RowCount() > fewer);
        QVERIFY(lostDescending());
        QCOMPARE(vs->header()->sortIndicatorSection(), 3);
        window->RunTally();
        QCOMPARE(SavedSettings().DealInAllOpponents, 1);
        QCOMPARE(SavedSettings().SortDealInVs, (std::array<std::int32_t, 8>{0, 0, 0, 1, 0, 0, 0, 0}));
        QCOMPARE(Column(*dealInYaku->listModel(), 0), yakuNames);
        const int every = vs->listModel()->RowCount();
        all->click();
        QCOMPARE(vs->listModel()->RowCount(), fewer);
        auto again = MakeWindow(QStringLiteral("DealInAllOpponents\t1\n"));
        QVERIFY(again->page<DealInPage>()->allOpponentsBox()->isChecked());
        QCOMPARE(again->list(ListId::DealInOpponents).RowCount(), every);

        // Headings of the other lists do nothing.
        const auto before = Column(window->list(ListId::HourlyTable), 1);
        ClickHeading(window->listView(ListId::HourlyTable), 1);
        QCOMPARE(Column(window->list(ListId::HourlyTable), 1), before);
    }

    void addAndDeleteUserIds() {
        auto window = MakeWindow();
        QListWidget* ids = window->filterPanel()->userIdList();
        QCOMPARE(ids->count(), 1);
        QPushButton* add = window->filterPanel()->addUserIdButton();
        QPushButton* remove = window->filterPanel()->deleteUserIdsButton();
        QVERIFY(add->isEnabled() && !remove->isEnabled());
        auto addThroughDialog = [&](const QString& typed, bool accept) {
            WhenModalOpens([typed, accept](QWidget* modal) {
                auto* dialog = qobject_cast<AddUserIdDialog*>(modal);
                QVERIFY(dialog != nullptr);
                QCOMPARE(dialog->windowTitle(), QStringLiteral("ユーザIDの追加"));
                dialog->edit()->setText(typed);
                accept ? dialog->accept() : dialog->reject();
            });
            window->filterPanel()->addUserIdButton()->click();
        };
        // Answers the question 削除 asks, after checking that it names exactly these IDs.
        auto deleteAnswering = [&](const QStringList& named, bool confirm,
                                   std::function<void()> ask = nullptr) {
            WhenModalOpens([named, confirm](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                QVERIFY(box != nullptr);
                QCOMPARE(box->text().split(QLatin1Char('\n')).mid(2), named);
                for (QAbstractButton* button : box->buttons()) {
                    if ((box->buttonRole(button) == QMessageBox::AcceptRole) == confirm) button->click();
                }
            });
            ask ? ask() : remove->click();
        };
        auto checkedIds = [&] {
            std::vector<int> checked;
            for (int i = 0; i < ids->count(); ++i)
                checked.push_back(ids->item(i)->checkState() == Qt::Checked);
            return checked;
        };
        addThroughDialog(QStringLiteral(" ab　c\t"), true);
        QCOMPARE(ids->count(), 2);
        QCOMPARE(ids->item(1)->text(), QStringLiteral("abc"));
        // Added and checked for the tally, but not marked for deletion.
        QCOMPARE(checkedIds(), (std::vector<int>{1, 1}));
        QVERIFY(ids->selectedItems().isEmpty() && !remove->isEnabled());

        // Marking the new entry and deleting it, once declined and once confirmed, removes that
        // entry and no other.
        ids->clearSelection();
        ids->item(1)->setSelected(true);
        const QString first = ids->item(0)->text();
        deleteAnswering({QStringLiteral("abc")}, false);
        QCOMPARE(ids->count(), 2);
        deleteAnswering({QStringLiteral("abc")}, true);
        QCOMPARE(ids->count(), 1);
        QCOMPARE(ids->item(0)->text(), first);
        QCOMPARE(checkedIds(), (std::vector<int>{1}));

        addThroughDialog(QStringLiteral("abc"), true);
        addThroughDialog(QStringLiteral("ignored"), false);
        addThroughDialog(QStringLiteral(" 　\t"), true);
        QCOMPARE(ids->count(), 2);
        for (const char* id : {"ID2", "ID3", "ID4"}) addThroughDialog(QString::fromUtf8(id), true);
        QCOMPARE(ids->count(), 5);
        QVERIFY(!add->isEnabled());

        // A full list opens no dialog at all.
        bool dialogOpened = false;
        QTimer::singleShot(300, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                dialogOpened = true;
                modal->close();
            }
        });
        window->filterPanel()->addUserIdButton()->click();
        QTest::qWait(400);
        QVERIFY(!dialogOpened);
        QCOMPARE(ids->count(), 5);

        // Delete entries 1 and 3: 0, 2 and 4 move up with their check boxes; unchecking one is
        // what leaves it out of the tally.
        ids->clearSelection();
        for (int i = 0; i < 5; ++i) ids->item(i)->setSelected(i == 1 || i == 3);
        deleteAnswering({QStringLiteral("abc"), QStringLiteral("ID3")}, true);
        QCOMPARE(ids->count(), 3);
        QVERIFY(!remove->isEnabled());
        ids->item(1)->setCheckState(Qt::Unchecked);
        window->RunTally();
        const settings::AppSettings saved = SavedSettings();
        QCOMPARE(saved.userIdCount, 3);
        QCOMPARE(saved.userIds[0], SmallLogUser());
        QCOMPARE(saved.userIds[1], std::string("ID2"));
        QCOMPARE(saved.userIds[2], std::string("ID4"));
        QCOMPARE(saved.userIdEnabled[0], 1);
        QCOMPARE(saved.userIdEnabled[1], 0);
        QCOMPARE(saved.userIdEnabled[2], 1);

        // The Delete key asks the same question.
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        ids->selectAll();
        ids->setFocus();
        const QStringList all{ids->item(0)->text(), QStringLiteral("ID2"), QStringLiteral("ID4")};
        deleteAnswering(all, true, [&] { QTest::keyClick(ids, Qt::Key_Delete); });
        QCOMPARE(ids->count(), 0);
        QVERIFY(add->isEnabled() && !remove->isEnabled());
        window->RunTally();
        QCOMPARE(SavedSettings().userIdCount, 0);
    }

    void trendPageChoicesAreKeptAndShown() {
        auto window = MakeWindow(QStringLiteral("PeriodYearly\t1\nFormGames\t2\n"));
        TrendPage* page = window->page<TrendPage>();
        QVERIFY(page->yearlyButton()->isChecked());
        QCOMPARE(page->formGamesBox()->value(), 2);
        const auto& engine = window->engine();
        QCOMPARE(window->list(ListId::PeriodList).RowCount(), static_cast<int>(engine.yearlyPeriods.size()));
        QCOMPARE(page->chart().BandPointCount(), static_cast<int>(engine.yearlyPeriods.size()));
        page->monthlyButton()->setChecked(true);
        QCOMPARE(window->list(ListId::PeriodList).RowCount(), static_cast<int>(engine.monthlyPeriods.size()));
        QCOMPARE(page->chart().BandPointCount(), static_cast<int>(engine.monthlyPeriods.size()));
        page->formGamesBox()->setValue(1);
        QCOMPARE(window->list(ListId::FormTable).Cell(0, 0), Sjis("直近 1戦"));
        window->RunTally();
        QCOMPARE(SavedSettings().PeriodYearly, 0);
        QCOMPARE(SavedSettings().FormGames, 1);
        CompareWithReport(window.get());

        // Its chart is the page's picture for 画像として保存 and the export.
        const StatsPage::Picture picture = page->pagePicture();
        QCOMPARE(picture.name, QStringLiteral("PeriodChart"));
        QTemporaryDir dir;
        QVERIFY(SaveChartImage(picture.view, dir.filePath(QStringLiteral("p.png"))));
        QVERIFY(!QImage(dir.filePath(QStringLiteral("p.png"))).isNull());
    }

    void opponentSearchWrapsAndStarts() {
        auto window = MakeWindow();
        window->show();
        window->tabBar()->setCurrentIndex(5);
        OpponentsPage* page = window->page<OpponentsPage>();
        ListTreeView* list = window->listView(ListId::OpponentList);
        const int n = list->listModel()->RowCount();
        QVERIFY(n >= 4);
        QCOMPARE(list->SelectedRow(), -1);
        page->searchDownButton()->click();
        QCOMPARE(list->SelectedRow(), 1);
        list->SelectRow(n - 1);
        page->searchDownButton()->click();
        QCOMPARE(list->SelectedRow(), 0);
        page->searchUpButton()->click();
        QCOMPARE(list->SelectedRow(), n - 1);

        // A full-width name found by part of it, from anywhere, both ways.
        int aki = -1;
        for (int r = 0; r < n; ++r) {
            if (list->listModel()->Cell(r, 0) == Sjis("Ａｋｉ")) aki = r;
        }
        QVERIFY(aki >= 0);
        page->searchEdit()->setText(QStringLiteral("ｋ"));
        page->searchDownButton()->click();
        QCOMPARE(list->SelectedRow(), aki);
        page->searchUpButton()->click();
        QCOMPARE(list->SelectedRow(), aki);
        QVERIFY(page->searchMessage()->text().isEmpty());
        page->searchEdit()->setText(QStringLiteral("nobody"));
        page->searchDownButton()->click();
        QCOMPARE(list->SelectedRow(), aki);
        QCOMPARE(page->searchMessage()->text(), QStringLiteral("見つかりません"));
        QTest::keyClicks(page->searchEdit(), QStringLiteral("x"));
        QVERIFY(page->searchMessage()->text().isEmpty());

        // Enter in the box searches down and keeps the focus there; F3 and Shift+F3 step on.
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        page->searchEdit()->setText(QString());
        page->searchEdit()->setFocus();
        const int tallies = window->tallyCount();
        QTest::keyClick(page->searchEdit(), Qt::Key_Return);
        QCOMPARE(list->SelectedRow(), (aki + 1) % n);
        QVERIFY(page->searchEdit()->hasFocus());
        QTest::keyClick(page->searchEdit(), Qt::Key_F3);
        QCOMPARE(list->SelectedRow(), (aki + 2) % n);
        QTest::keyClick(page->searchEdit(), Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(list->SelectedRow(), (aki + 1) % n);
        QCOMPARE(window->tallyCount(), tallies);
        QTest::keyClick(page->searchEdit(), Qt::Key_F5);
        QCOMPARE(window->tallyCount(), tallies + 1);
    }

    void todayOnlyAndAllTime() {
        auto window = MakeWindow();
        window->action(Command::TodayOnly)->trigger();
        const QDate today = QDate::currentDate();
        const std::int64_t midnight = LocalSeconds(today.year(), today.month(), today.day(), 0, 0, 0);
        QCOMPARE(window->settings().dateFrom, midnight);
        QCOMPARE(window->settings().dateTo, midnight + 86399);
        QCOMPARE(window->engine().gameCount, 0);

        window->action(Command::AllTime)->trigger();
        QCOMPARE(window->filterPanel()->dateFromEdit()->date(), QDate(1998, 1, 1));
        QCOMPARE(window->filterPanel()->dateToEdit()->date(), QDate(2037, 12, 31));
        QCOMPARE(window->settings().dateFrom, LocalSeconds(1998, 1, 1, 0, 0, 0));
        QCOMPARE(window->settings().dateTo, LocalSeconds(2037, 12, 31, 23, 59, 59));
        QVERIFY(window->engine().gameCount > 0);
        QCOMPARE(SavedSettings().dateTo, LocalSeconds(2037, 12, 31, 23, 59, 59));

        // Either picker moved past the other takes it along.
        QDateEdit* from = window->filterPanel()->dateFromEdit();
        QDateEdit* to = window->filterPanel()->dateToEdit();
        from->setDate(QDate(2040, 1, 2));
        QCOMPARE(to->date(), QDate(2040, 1, 2));
        to->setDate(QDate(1999, 5, 6));
        QCOMPARE(from->date(), QDate(1999, 5, 6));
    }

    // The panel's dates come back as they were saved, start after start, in zones with summer
    // time too.
    void panelDatesSurviveRestarts_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::newRow("Tokyo") << QByteArray("Asia/Tokyo") << QDate(2024, 3, 31) << QDate(2024, 7, 10);
        QTest::newRow("Berlin summer")
            << QByteArray("Europe/Berlin") << QDate(2024, 3, 31) << QDate(2024, 7, 10);
        QTest::newRow("Berlin default") << QByteArray("Europe/Berlin") << QDate() << QDate();
        QTest::newRow("Sydney default") << QByteArray("Australia/Sydney") << QDate() << QDate();
        QTest::newRow("Sydney winter")
            << QByteArray("Australia/Sydney") << QDate(2024, 4, 7) << QDate(2024, 7, 10);
    }
    void panelDatesSurviveRestarts() {
        QFETCH(QByteArray, zone);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        const QByteArray oldZone = qgetenv("TZ");
        qputenv("TZ", zone);
        ::tzset();
        auto seconds = [](QDate d, int h, int m, int s) {
            return LocalSeconds(d.year(), d.month(), d.day(), h, m, s);
        };
        QString dates;
        if (from.isValid()) {
            dates = QStringLiteral("Date1\t%1\nDate2\t%2\n")
                        .arg(seconds(from, 0, 0, 0))
                        .arg(seconds(to, 23, 59, 59));
        } else {
            from = QDate(1998, 1, 1);
            to = QDate(2037, 12, 31);
        }
        MakeWindow(dates);
        for (int start = 0; start < 3; ++start) {
            auto window = MakeWindow(QString(), false);
            QCOMPARE(window->filterPanel()->dateFromEdit()->date(), from);
            QCOMPARE(window->filterPanel()->dateToEdit()->date(), to);
            window->close();
            QCOMPARE(SavedSettings().dateFrom, seconds(from, 0, 0, 0));
            QCOMPARE(SavedSettings().dateTo, seconds(to, 23, 59, 59));
        }
        qputenv("TZ", oldZone);
        ::tzset();
    }

    void regressionToggles() {
        auto window = MakeWindow(QStringLiteral("StatLine2\t5\n"));
        QAction* rLine = window->action(Command::RegressionR);
        QAction* pointsLine = window->action(Command::RegressionPoints);
        QVERIFY(!rLine->isChecked());
        QVERIFY(pointsLine->isChecked());
        QVERIFY(window->scoreChart().DrawsRegressionLine(2));
        QVERIFY(window->windowScoreChart().DrawsRegressionLine(2));

        rLine->trigger();
        QVERIFY(rLine->isChecked());
        QCOMPARE(window->settings().StatLine1, 1);
        QVERIFY(window->scoreChart().DrawsRegressionLine(1));
        QVERIFY(window->windowScoreChart().DrawsRegressionLine(1));
        pointsLine->trigger();
        QVERIFY(!pointsLine->isChecked());
        QCOMPARE(window->settings().StatLine2, 0);
        QVERIFY(!window->scoreChart().DrawsRegressionLine(2));
        QVERIFY(!window->windowScoreChart().DrawsRegressionLine(2));

        // The toggle writes nothing by itself; the next tally does.
        QCOMPARE(SavedSettings().StatLine2, 5);
        window->RunTally();
        QCOMPARE(SavedSettings().StatLine1, 1);
        QCOMPARE(SavedSettings().StatLine2, 0);
        QVERIFY(window->scoreChart().DrawsRegressionLine(1));

        rLine->trigger();
        QVERIFY(!rLine->isChecked());
        QVERIFY(!window->scoreChart().DrawsRegressionLine(1));
        QVERIFY(!window->windowScoreChart().DrawsRegressionLine(1));
    }

    void separateChartTwiceAndCaptionClose() {
        auto window = MakeWindow();
        window->show();
        QAction* toggle = window->action(Command::SeparateChart);
        GraphWindow* graph = window->graphWindow();
        QVERIFY(!graph->isVisible());
        QCOMPARE(graph->windowTitle(), QStringLiteral("Obrenta グラフ"));
        QCOMPARE(graph->chart().DrawnPointCount(1), window->engine().gameCount);
        toggle->trigger();
        QVERIFY(graph->isVisible());
        QVERIFY(toggle->isChecked());
        toggle->trigger();
        QVERIFY(!graph->isVisible());
        QVERIFY(!toggle->isChecked());
        QVERIFY(!window->separateChartShown());

        toggle->trigger();
        graph->close();
        QVERIFY(!graph->isVisible());
        QVERIFY(!toggle->isChecked());
        QVERIFY(!window->separateChartShown());
        toggle->trigger();
        QVERIFY(graph->isVisible());

        // The command keys work in the chart window as well; F9 there hides it.
        graph->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(graph));
        const int tallies = window->tallyCount();
        QTest::keyClick(graph, Qt::Key_F5);
        QTest::keyClick(graph, Qt::Key_Escape);
        QCOMPARE(window->tallyCount(), tallies + 2);
        QTest::keyClick(graph, Qt::Key_F9);
        QVERIFY(!graph->isVisible());
        QVERIFY(!toggle->isChecked());
        toggle->trigger();
        window->close();
        QVERIFY(!graph->isVisible());
    }

    void windowPlaces_data() {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QRect>("graph");  // null: centred at the default size
        QTest::addColumn<QPoint>("main");  // null: left where it was put
        QTest::newRow("saved") << "X\t30\nY\t20\nGraphX\t40\nGraphY\t50\nGraphW\t300\nGraphH\t200\n"
                               << QRect(40, 50, 300, 200) << QPoint(30, 20);
        QTest::newRow("none saved") << "" << QRect() << QPoint(0, 0);
        QTest::newRow("off every screen")
            << "X\t-9000\nY\t20\nGraphX\t9000\nGraphY\t50\nGraphW\t300\nGraphH\t200\n"
            << QRect() << QPoint();
    }
    void windowPlaces() {
        QFETCH(QString, lines);
        QFETCH(QRect, graph);
        QFETCH(QPoint, main);
        auto window = MakeWindow(lines);
        QVERIFY(window->pos().x() > -1000);
        if (!main.isNull() || lines.isEmpty()) QCOMPARE(window->pos(), main);
        window->show();
        window->action(Command::SeparateChart)->trigger();
        GraphWindow* chart = window->graphWindow();
        QVERIFY(QTest::qWaitForWindowExposed(chart));
        const QRect screen = window->screen()->availableGeometry();
        if (graph.isNull()) {
            QVERIFY(qAbs(chart->frameGeometry().center().x() - screen.center().x()) <= 1);
        } else {
            QCOMPARE(QRect(chart->pos(), chart->size()), graph);
        }
        chart->move(60, 70);
        chart->resize(320, 220);
        window->close();
        const settings::AppSettings saved = SavedSettings();
        QCOMPARE(QRect(saved.GraphX, saved.GraphY, saved.GraphW, saved.GraphH), QRect(60, 70, 320, 220));

        // Started again on what was saved, both windows come back to the same places: the same
        // kind of rectangle is saved as is restored.
        auto again = MakeWindow(QString(), false);
        again->show();
        again->action(Command::SeparateChart)->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(again->graphWindow()));
        again->close();
        const settings::AppSettings resaved = SavedSettings();
        for (auto field :
             {&settings::AppSettings::X, &settings::AppSettings::Y, &settings::AppSettings::GraphX,
              &settings::AppSettings::GraphY, &settings::AppSettings::GraphW, &settings::AppSettings::GraphH})
            QCOMPARE(resaved.*field, saved.*field);
    }

    // The window grows and is maximised; it opens wide enough for every tab label, never smaller
    // than the layout, and comes back at the size it was closed at.
    void windowGrowsAndKeepsItsSize() {
        auto window = MakeWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QSize smallest = window->minimumSize();
        QVERIFY(window->maximumSize().width() > smallest.width() * 2);
        QVERIFY(window->tabBar()->width() >= window->tabBar()->sizeHint().width());
        QVERIFY(window->width() > smallest.width());

        window->resize(smallest + QSize(300, 200));
        QTRY_COMPARE(window->size(), smallest + QSize(300, 200));
        // The lists and charts take the room.
        QVERIFY(window->listView(ListId::RecentGamesList)->width() > 0);
        window->tabBar()->setCurrentIndex(1);
        QTRY_VERIFY(window->scoreChart().view()->width() > window->currentPage()->width() - 20);
        window->close();
        settings::AppSettings saved = SavedSettings();
        QCOMPARE(QSize(saved.MainW, saved.MainH), smallest + QSize(300, 200));
        QCOMPARE(saved.MainMaximized, 0);

        auto again = MakeWindow(QStringLiteral("MainW\t%1\nMainH\t%2\n").arg(saved.MainW).arg(saved.MainH));
        QCOMPARE(again->size(), smallest + QSize(300, 200));
        auto maximised = MakeWindow(QStringLiteral("MainMaximized\t1\n"));
        QVERIFY(maximised->windowState() & Qt::WindowMaximized);
        // A size below the layout's, written by hand, opens at the smallest size.
        auto small = MakeWindow(QStringLiteral("MainW\t10\nMainH\t10\n"));
        QCOMPARE(small->size(), smallest);
    }

    void openDialogStartsInTheLogsFolder() {
        auto window = MakeWindow();
        WhenModalOpens([](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->directory().absolutePath(), QFileInfo(SmallLogPath()).absolutePath());
            QCOMPARE(dialog->nameFilters().size(), 2);
            dialog->reject();
        });
        window->action(Command::Open)->trigger();
        QCOMPARE(window->tallyCount(), 1);
    }

    void relativeLogIsFoundFromTheSettingsFolder() {
        QDir(dir_->path()).mkpath(QStringLiteral("logs"));
        WriteFile(dir_->filePath(QStringLiteral("logs/mjscore.txt")), MakeScoreLog(3));
        WriteSettingsFile(
            SettingsPath(),
            QStringLiteral("nUserID\t1\nUserID00\tさくら\nUseID00\t1\nMJSFileName\nlogs/mjscore.txt\n"));
        QDir::setCurrent(QDir::rootPath());
        QCOMPARE(MakeWindow(QString(), false)->engine().gameCount, 3);
    }

    void headingAndCutCellToolTips() {
        auto window = MakeWindow();
        window->show();
        window->tabBar()->setCurrentIndex(5);
        ListTreeView* list = window->listView(ListId::OpponentList);
        const auto* tips = list->findChild<ListToolTips*>();
        QVERIFY(tips != nullptr);
        QCOMPARE(tips->HeadingToolTip(7), QStringLiteral("同卓したときの自分 (ユーザ) の平均順位"));
        const QModelIndex name = list->listModel()->index(0, 0);
        QCOMPARE(tips->CellToolTip(name), QString());
        list->header()->resizeSection(0, 8);
        QCOMPARE(tips->CellToolTip(name), name.data().toString());
        QVERIFY(tips->HeadingToolTip(0).startsWith(QStringLiteral("名前(")));
    }

    void closeSavesPanelPositionAndSettings_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("close box") << 0;
        QTest::newRow("終了") << 1;
        QTest::newRow("Alt+F4") << 2;
    }
    void closeSavesPanelPositionAndSettings() {
        QFETCH(int, how);
        auto window = MakeWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->move(33, 44);
        QTest::qWait(20);
        const QPoint at = window->pos();
        window->filterPanel()->tableKindBoxes()[3]->setChecked(false);
        window->filterPanel()->gameKindBoxes()[2]->setChecked(false);
        window->filterPanel()->recentEdit()->setText(QStringLiteral("25"));
        window->tabBar()->setCurrentIndex(4);
        if (how == 0) window->close();
        if (how == 1) window->action(Command::Exit)->trigger();
        if (how == 2) QTest::keyClick(window.get(), Qt::Key_F4, Qt::AltModifier);
        QVERIFY(!window->isVisible());
        const settings::AppSettings saved = SavedSettings();
        QCOMPARE(saved.X, at.x());
        QCOMPARE(saved.Y, at.y());
        QCOMPARE(saved.tableKindFilter, (std::array<std::int32_t, 4>{1, 1, 1, 0}));
        QCOMPARE(saved.gameKindFilter, (std::array<std::int32_t, 4>{1, 1, 0, 1}));
        QCOMPARE(saved.recentCount, 25);
        QCOMPARE(saved.Tab, 4);

        // And the next window starts from all of it.
        auto next = MakeWindow(QString(), false);
        QCOMPARE(next->pos(), at);
        QVERIFY(!next->filterPanel()->tableKindBoxes()[3]->isChecked());
        QCOMPARE(next->filterPanel()->recentEdit()->text(), QStringLiteral("25"));
        QCOMPARE(next->currentPage(), static_cast<QWidget*>(next->page<HourlyPage>()));
    }

    void secondInstanceExitsAtOnce() {
        auto lock = AcquireInstanceLock();
        QCOMPARE(lock.status, InstanceLock::Status::Acquired);
        QProcess second;
        second.start(QStringLiteral(OBRENTA_EXECUTABLE), {});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(second.readAllStandardOutput(), QByteArray());
        QCOMPARE(second.readAllStandardError(), QByteArray());
        QCOMPARE(AcquireInstanceLock().status, InstanceLock::Status::HeldByAnother);
    }

    void lockOfADeadHolderIsTakenOver() {
        QProcess holder;
        holder.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hold-lock"), dir_->path()});
        QVERIFY(holder.waitForReadyRead(10000));
        QCOMPARE(holder.readLine().trimmed(), QByteArray("locked"));
        QCOMPARE(AcquireInstanceLock(dir_->path()).status, InstanceLock::Status::HeldByAnother);
        holder.kill();
        QVERIFY(holder.waitForFinished(10000));
        QCOMPARE(AcquireInstanceLock(dir_->path()).status, InstanceLock::Status::Acquired);

        // A lock that cannot be taken at all is no second copy: the program starts unchecked.
        const QString notAFolder = dir_->filePath(QStringLiteral("file"));
        WriteFile(notAFolder, "x");
        for (const QString& folder : {notAFolder, dir_->filePath(QStringLiteral("missing/deeper"))})
            QCOMPARE(AcquireInstanceLock(folder).status, InstanceLock::Status::Unchecked);
    }

    void missingLogAndSettingsGiveAnEmptyWorkingWindow() {
        auto window = MakeWindow(QString(), false);
        window->show();
        QCOMPARE(window->tallyCount(), 1);
        QCOMPARE(window->filterPanel()->userIdList()->count(), 2);
        QCOMPARE(window->engine().gameCount, 0);
        QCOMPARE(window->list(ListId::GameSummaryTable).Cell(0, 1), std::string("0"));
        QCOMPARE(window->list(ListId::OpponentList).RowCount(), 0);
        QCOMPARE(window->list(ListId::OpponentList).headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("名前( 0人 )"));
        QCOMPARE(window->scoreChart().content().RowCount(), 0);
        QCOMPARE(window->scoreChart().content().valueMinimum, 1500);
        QVERIFY(QFile::exists(SettingsPath()));
        QTest::keyClick(window.get(), Qt::Key_F5);
        QVERIFY(window->isVisible());
    }

    // settings: none, or one naming log with the user ID "さくら" or "nobody"; chosenLog answers
    // the log question, pick the ID question (an index, -1 for none).
    void firstStartFindsTheLogAndTheId_data() {
        QTest::addColumn<QString>("settingsId");
        QTest::addColumn<QString>("settingsLog");
        QTest::addColumn<QString>("chosenLog");
        QTest::addColumn<int>("pick");
        QTest::addColumn<QString>("askedLog");  // "-" when not asked
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QStringList>("ids");
        const QString small = SmallLogPath();
        // The most frequent first, equal counts in code page 932 byte order.
        const QStringList names{QStringLiteral("さくら"), QStringLiteral("Guest042"),
                                QStringLiteral("mame_x")};
        QTest::newRow("no settings: the log, then the ID")
            << QString() << QString() << small << 0 << QStringLiteral("mjscore.txt") << names
            << QStringList{QStringLiteral("さくら")};
        QTest::newRow("settings and a log the ID plays in")
            << QStringLiteral("さくら") << small << QString() << 0 << QStringLiteral("-") << QStringList()
            << QStringList{QStringLiteral("さくら")};
        QTest::newRow("missing log, declined")
            << QStringLiteral("さくら") << QStringLiteral("gone.txt") << QString() << 0
            << QStringLiteral("gone.txt") << QStringList() << QStringList{QStringLiteral("さくら")};
        QTest::newRow("no ID plays, none picked")
            << QStringLiteral("nobody") << small << QString() << -1 << QStringLiteral("-") << names
            << QStringList{QStringLiteral("nobody")};
        QTest::newRow("no ID plays, one picked")
            << QStringLiteral("nobody") << small << QString() << 1 << QStringLiteral("-") << names
            << QStringList{QStringLiteral("nobody"), QStringLiteral("Guest042")};
    }

    void firstStartFindsTheLogAndTheId() {
        QFETCH(QString, settingsId);
        QFETCH(QString, settingsLog);
        QFETCH(QString, chosenLog);
        QFETCH(int, pick);
        QFETCH(QString, askedLog);
        QFETCH(QStringList, offered);
        QFETCH(QStringList, ids);
        if (!settingsId.isEmpty())
            WriteSettingsFile(SettingsPath(),
                              QStringLiteral("nUserID\t1\nUserID00\t%1\nUseID00\t1\nMJSFileName\n%2\n")
                                  .arg(settingsId, settingsLog));
        QString asked = QStringLiteral("-");
        bool askedWithoutSettings = false;
        QStringList offers;
        auto window = MakeWindow(QString(), false, [&](MainDialogOptions& options) {
            options.firstStart.askForLog = [&](QWidget*, const FirstStartPrompts::LogQuestion& question) {
                asked = QFileInfo(question.missingLog).fileName();
                askedWithoutSettings = question.noSettingsFile;
                return chosenLog;
            };
            options.firstStart.askForId = [&](QWidget*, const std::vector<tally::PlayerCount>& names) {
                for (const auto& name : names) offers << ToQString(name.name);
                return pick;
            };
        });
        // Nothing is asked before the window is up.
        QCOMPARE(asked, QStringLiteral("-"));
        window->show();
        QCoreApplication::processEvents();
        QCOMPARE(asked, askedLog);
        QCOMPARE(askedWithoutSettings, settingsId.isEmpty());
        QCOMPARE(offers.mid(0, offered.size()), offered);
        QStringList shown;
        for (int i = 0; i < window->filterPanel()->userIdList()->count(); ++i)
            shown << window->filterPanel()->userIdList()->item(i)->text();
        QCOMPARE(shown, ids);
        QCOMPARE(SavedSettings().UsableIdCount(), static_cast<int>(ids.size()));
    }

    void everyListEqualsTheReport() {
        auto window = MakeWindow(QStringLiteral("SortVs\t0 0 0 0 0 0 1 0\n"));
        QVERIFY(window->engine().gameCount >= 10);
        CompareWithReport(window.get());
        QVERIFY(window->opponentRatingDistChart().DrawnBarCount() > 1);
    }

    // A game appended to the watched log, and a new file renamed over it, are tallied by
    // themselves; the pages then equal the report of the grown log, and the tab and the selected
    // opponent stay.
    void changedLogIsTalliedByItself() {
        const QString log = dir_->filePath(QStringLiteral("mjscore.txt"));
        QFile::copy(SmallLogPath(), log);
        WriteSettingsFile(
            SettingsPath(),
            QStringLiteral("nUserID\t1\nUserID00\tさくら\nUseID00\t1\nMJSFileName\n%1\nTab\t5\n").arg(log));
        auto window = MakeWindow(QString(), false);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        ListTreeView* opponents = window->listView(ListId::OpponentList);
        opponents->SelectRow(2);
        const std::string selected = opponents->listModel()->Cell(2, 0);
        const int games = window->engine().gameCount;
        QFile file(log);
        QVERIFY(file.open(QIODevice::Append));
        file.write(MakeScoreLog(1));
        file.close();
        QTRY_COMPARE_WITH_TIMEOUT(window->engine().gameCount, games + 1, 20000);
        CompareWithReport(window.get());
        QCOMPARE(window->tabBar()->currentIndex(), 5);
        QCOMPARE(opponents->listModel()->Cell(opponents->SelectedRow(), 0), selected);

        WriteFile(log + QStringLiteral(".new"), MakeScoreLog(5));
        QVERIFY(std::rename(QFile::encodeName(log + QStringLiteral(".new")).constData(),
                            QFile::encodeName(log).constData()) == 0);
        QTRY_COMPARE_WITH_TIMEOUT(window->engine().gameCount, 5, 20000);
        CompareWithReport(window.get());

        // A log written to every 100 ms is never quiet for half a second; it is still followed.
        const int tallies = window->tallyCount();
        bool refreshedWhileWritten = false;
        for (int i = 0; i < 50 && !refreshedWhileWritten; ++i) {
            QVERIFY(file.open(QIODevice::Append));
            file.write(MakeScoreLog(1));
            file.close();
            QTest::qWait(100);
            refreshedWhileWritten = window->tallyCount() > tallies;
        }
        QVERIFY(refreshedWhileWritten);
    }

    void statusLineTellsTheRead_data() {
        QTest::addColumn<QString>("logName");
        QTest::addColumn<bool>("removedAfterARead");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("warning");
        QTest::newRow("normal read") << "mjscore.txt" << false
                                     << "― 1,234 試合中 1,000 試合を集計 \\(\\d\\d:\\d\\d 読込\\)" << false;
        QTest::newRow("missing log")
            << "absent.txt" << false
            << "― 見つかりません。ログはまだ読み込まれていません \\(ファイル > 開く で選択\\)" << true;
        QTest::newRow("folder as log") << "" << false << "― 通常のファイルではありません。.*" << true;
        QTest::newRow("missing after a read")
            << "mjscore.txt" << true
            << "― 見つかりません。表示は \\d\\d:\\d\\d に読み込んだ内容です \\(ファイル > 開く で選択\\)"
            << true;
    }
    void statusLineTellsTheRead() {
        QFETCH(QString, logName);
        QFETCH(bool, removedAfterARead);
        QFETCH(QString, expected);
        QFETCH(bool, warning);
        const QString log = dir_->filePath(logName);
        WriteFile(dir_->filePath(QStringLiteral("mjscore.txt")), MakeScoreLog(1234));
        WriteSettingsFile(SettingsPath(),
                          QStringLiteral("nUserID\t1\nUserID00\tさくら\nUseID00\t1\nMJSFileName\n%"
                                         "1\nRecent\t1000\n")
                              .arg(log));
        auto window = MakeWindow(QString(), false);
        if (removedAfterARead) {
            QFile::remove(log);
            window->RunTally();
            QCOMPARE(window->engine().gameCount, 1000);
        }
        const StatusLine* status = window->statusLine();
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(expected))
                     .match(status->logText())
                     .hasMatch(),
                 qPrintable(status->logText()));
        QCOMPARE(status->logWarning(), warning);
        QCOMPARE(status->logPath(), QFileInfo(log).absoluteFilePath());
        QVERIFY(status->notice().isEmpty());
    }

    void severalLogsAreReadAsOneAndFollowed() {
        const QString home = dir_->filePath(QStringLiteral("home.txt"));
        const QString backup = dir_->filePath(QStringLiteral("backup.txt"));
        WriteFile(home, MakeScoreLog(30));
        WriteFile(backup, MakeScoreLog(20));  // an older copy: the first 20 games again
        WriteSettingsFile(SettingsPath(),
                          QStringLiteral("nUserID\t1\nUserID00\tさくら\nUseID00\t1\nMJSFileName\n%1\n"
                                         "MJSFileName2\n%2\n")
                              .arg(home, backup));
        auto window = MakeWindow(QString(), false);
        const StatusLine* status = window->statusLine();
        QCOMPARE(window->engine().gameCount, 30);
        QCOMPARE(status->logPath(), QStringLiteral("2 件のログ"));
        QVERIFY2(QRegularExpression(QStringLiteral("^― 30 試合中 30 試合を集計 \\(\\d\\d:\\d\\d 読込\\)$"))
                     .match(status->logText())
                     .hasMatch(),
                 qPrintable(status->logText()));
        QVERIFY(!status->logWarning());
        CompareWithReport(window.get());
        QCOMPARE(window->furtherLogWatchers().size(), std::size_t(1));
        QCOMPARE(window->furtherLogWatchers()[0]->path(), QFileInfo(backup).absoluteFilePath());

        // A game that only the second log has is followed like one of the first.
        WriteFile(backup, MakeScoreLog(31));
        QTRY_COMPARE_WITH_TIMEOUT(window->engine().gameCount, 31, 20000);

        // Both logs changed, the second while the first settles: the first report's Tally takes
        // both in, and the second's finds nothing new.
        const int tallies = window->tallyCount();
        WriteFile(home, MakeScoreLog(32));
        QTest::qWait(LogWatcher::kSettleMs / 2);
        WriteFile(backup, MakeScoreLog(33));
        QTRY_COMPARE_WITH_TIMEOUT(window->engine().gameCount, 33, 20000);
        QTest::qWait(LogWatcher::kPollMs + LogWatcher::kMaxWaitMs);
        QCOMPARE(window->tallyCount(), tallies + 1);

        // A log gone is named; the dialog shows what each read found.
        QFile::remove(backup);
        window->RunTally();
        QVERIFY(status->logWarning());
        QVERIFY2(status->logText().endsWith(
                     QStringLiteral("。backup.txt: 見つかりません (ファイル > ログの管理 で変更)")),
                 qPrintable(status->logText()));
        WhenModalOpens([&](QWidget* modal) {
            auto* dialog = qobject_cast<LogListDialog*>(modal);
            QVERIFY(dialog != nullptr);
            QTreeWidget* list = dialog->list();
            QCOMPARE(list->topLevelItemCount(), 2);
            QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("32"));
            QCOMPARE(list->topLevelItem(0)->text(2), QStringLiteral("読込済み"));
            QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("33"));
            QCOMPARE(list->topLevelItem(1)->text(2), QStringLiteral("見つかりません"));
            QVERIFY(!dialog->upButton()->isEnabled());
            dialog->downButton()->click();
            QCOMPARE(dialog->paths(),
                     QStringList({QFileInfo(backup).absoluteFilePath(), QFileInfo(home).absoluteFilePath()}));
            QVERIFY(dialog->upButton()->isEnabled() && !dialog->downButton()->isEnabled());
            const QString added = dir_->filePath(QStringLiteral("added.txt"));
            dialog->AddLogs({home, added});
            QCOMPARE(list->topLevelItemCount(), 3);
            QCOMPARE(list->topLevelItem(2)->text(1), QStringLiteral("―"));
            QCOMPARE(list->topLevelItem(2)->text(2), QStringLiteral("見つかりません"));
            dialog->removeButton()->click();
            dialog->removeButton()->click();
            QCOMPARE(dialog->paths(), QStringList({QFileInfo(backup).absoluteFilePath()}));
            QVERIFY(!dialog->removeButton()->isEnabled());
            dialog->reject();
        });
        window->action(Command::ManageLogs)->trigger();
        QCOMPARE(window->settings().extraLogs.size(), std::size_t(1));

        window->SetScoreLogs({home});
        QCOMPARE(window->engine().gameCount, 32);
        QCOMPARE(status->logPath(), QFileInfo(home).absoluteFilePath());
        QVERIFY(window->furtherLogWatchers().empty());
        QVERIFY(SavedSettings().extraLogs.empty());
    }

    void editAsksFirst() {
        auto window = MakeWindow();
        for (auto button : {QMessageBox::Cancel, QMessageBox::Ok}) {
            WhenModalOpens([button](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                QVERIFY(box != nullptr);
                QCOMPARE(box->windowTitle(), QStringLiteral("Obrenta"));
                QCOMPARE(box->text(),
                         QStringLiteral("テキストエディタで直接編集しようとしています。いいですか？"));
                box->button(button)->click();
            });
            window->action(Command::Edit)->trigger();
        }
        QCOMPARE(openedUrls_.size(), std::size_t(1));
        QCOMPARE(openedUrls_[0], QUrl::fromLocalFile(SmallLogPath()));
    }

    void helpOpensManualThenReadme_data() {
        QTest::addColumn<QString>("programDir");
        QTest::addColumn<QString>("manual");
        QTest::addColumn<bool>("addresses");
        QTest::addColumn<bool>("browser");
        QTest::newRow("build tree") << "."
                                    << "Obrenta.html" << true << true;
        QTest::newRow("installed") << "bin"
                                   << "share/doc/obrenta/Obrenta.html" << true << true;
        QTest::newRow("no manual, readme only") << "bin"
                                                << "" << true << true;
        QTest::newRow("nothing: items disabled") << "bin"
                                                 << "" << false << true;
        QTest::newRow("no browser: told once") << "."
                                               << "Obrenta.html" << true << false;
    }
    void helpOpensManualThenReadme() {
        QFETCH(QString, programDir);
        QFETCH(QString, manual);
        QFETCH(bool, addresses);
        QFETCH(bool, browser);
        urlsOpen_ = browser;
        QDir(dir_->path()).mkpath(QStringLiteral("share/doc/obrenta"));
        QDir(dir_->path()).mkpath(programDir);
        if (!manual.isEmpty()) WriteFile(dir_->filePath(manual), "<html></html>");
        auto window = MakeWindow(QString(), true, [&](MainDialogOptions& options) {
            options.programDir = dir_->filePath(programDir);
            if (!addresses) options.authorUrl = options.serviceUrl = options.readmeUrl = QString();
        });
        for (Command command : {Command::Help, Command::AuthorPage, Command::ServicePage})
            QCOMPARE(window->action(command)->isEnabled(), addresses);
        QString told;
        if (!browser) {
            WhenModalOpens([&told](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                QVERIFY(box != nullptr);
                told = box->text();
                box->accept();
            });
        }
        window->action(Command::Help)->trigger();
        std::vector<QUrl> expected;
        if (!manual.isEmpty()) expected.push_back(QUrl::fromLocalFile(dir_->filePath(manual)));
        if (addresses && browser)
            expected.push_back(QUrl(QStringLiteral("https://author.example/readme.html")));
        QCOMPARE(openedUrls_, expected);
        // Without a handler the user is told which file could not be opened.
        QCOMPARE(told.contains(QDir::toNativeSeparators(dir_->filePath(manual))), !browser);
    }

    void droppedTextFileIsOpened() {
        auto window = MakeWindow(QString(), false);
        QCOMPARE(window->engine().gameCount, 0);
        window->filterPanel()->userIdList()->clear();
        window->filterPanel()->AppendUserId(SmallLogUser());
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(SmallLogPath())});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &drop);
        QVERIFY(window->engine().gameCount > 0);
        QCOMPARE(QString::fromStdString(window->settings().MJSFileName), SmallLogPath());

        QMimeData other;
        other.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/picture.png"))});
        QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
        refused.setAccepted(false);
        QApplication::sendEvent(window.get(), &refused);
        QVERIFY(!refused.isAccepted());
    }

    // The recent games list ends on the newest game, in view, after every refill: also when the
    // refill ran before the window was shown or while another page was on top.
    void recentGamesShowTheNewestRow_data() {
        QTest::addColumn<int>("savedTab");
        QTest::addColumn<bool>("tallyOnAnotherPage");
        QTest::addColumn<bool>("generalShownBefore");
        QTest::newRow("start-up on 全般") << 0 << false << false;
        QTest::newRow("start-up on another page, then 全般") << 1 << false << false;
        QTest::newRow("tally on another page, then 全般") << 5 << true << false;
        QTest::newRow("scrolled up, tally on another page, then 全般") << 5 << true << true;
    }
    void recentGamesShowTheNewestRow() {
        QFETCH(int, savedTab);
        QFETCH(bool, tallyOnAnotherPage);
        QFETCH(bool, generalShownBefore);
        const QString log = dir_->filePath(QStringLiteral("mjscore.txt"));
        WriteFile(log, MakeScoreLog(60));
        WriteSettingsFile(
            SettingsPath(),
            QStringLiteral("nUserID\t1\nUserID00\tさくら\nUseID00\t1\nMJSFileName\n%1\nTab\t%2\n")
                .arg(log)
                .arg(savedTab));
        auto window = MakeWindow(QString(), false);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        ListTreeView* recent = window->listView(ListId::RecentGamesList);
        if (generalShownBefore) {
            window->tabBar()->setCurrentIndex(0);
            QTest::qWait(10);
            recent->scrollToTop();
            window->tabBar()->setCurrentIndex(savedTab);
        }
        if (tallyOnAnotherPage) {
            window->filterPanel()->recentEdit()->setText(QStringLiteral("45"));
            window->RunTally();
        }
        const int rows = recent->listModel()->RowCount();
        QCOMPARE(rows, tallyOnAnotherPage ? 45 : 60);
        window->tabBar()->setCurrentIndex(0);
        QTRY_VERIFY(recent->isVisible());
        QTest::qWait(10);
        const QRect viewport = recent->viewport()->rect();
        // Enough rows that the list has to scroll at all.
        QVERIFY(!viewport.contains(recent->visualRect(recent->listModel()->index(0, 0))));
        const QRect last = recent->visualRect(recent->listModel()->index(rows - 1, 0));
        QVERIFY2(viewport.contains(last),
                 qPrintable(QStringLiteral("last row at y %1 height %2, viewport height %3")
                                .arg(last.y())
                                .arg(last.height())
                                .arg(viewport.height())));
    }

    void ctrlCCopiesTheSelectedRow() {
        auto window = MakeWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        ListTreeView* ranks = window->listView(ListId::RankTable);
        ranks->setFocus();
        ranks->SelectRow(0);
        QTest::keyClick(ranks, Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QStringLiteral("順位\t回数\t割合"));
        QVERIFY(lines.value(1).startsWith(QStringLiteral("1位\t")));

        // The hand outcome table's hidden column stays out of the copy.
        window->tabBar()->setCurrentIndex(3);
        ListTreeView* outcomes = window->listView(ListId::HandOutcomeTable);
        outcomes->setFocus();
        outcomes->SelectRow(0);
        QTest::keyClick(outcomes, Qt::Key_C, Qt::ControlModifier);
        const QStringList copied = QApplication::clipboard()->text().split(QLatin1Char('\n'));
        QCOMPARE(copied.value(0).count(QLatin1Char('\t')), 8);
        QCOMPARE(
            copied.value(1).split(QLatin1Char('\t')).value(6),
            QString::fromStdString(present::Cp932ToUtf8(window->list(ListId::HandOutcomeTable).Cell(0, 7))));
    }

    void pageKeysAndHelpKey() {
        auto window = MakeWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        const struct {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            int tab;
        } presses[] = {
            {Qt::Key_Tab, Qt::ControlModifier, 1},
            {Qt::Key_PageDown, Qt::ControlModifier, 2},
            {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 1},
            {Qt::Key_PageUp, Qt::ControlModifier, 0},
            {Qt::Key_PageUp, Qt::ControlModifier, 10},
            {Qt::Key_Tab, Qt::ControlModifier, 0},
        };
        window->listView(ListId::RankTable)->setFocus();
        for (const auto& press : presses) {
            QTest::keyClick(QApplication::focusWidget(), press.key, press.modifiers);
            QCOMPARE(window->tabBar()->currentIndex(), press.tab);
        }
        QCOMPARE(window->tallyCount(), 1);
        QTest::keyClick(window.get(), Qt::Key_F1);
        QCOMPARE(openedUrls_.size(), std::size_t(1));
    }
};

static RegisterSuite<MainDialogTest> registerMainDialogTest("MainDialogTest");

}  // namespace obrenta::ui::test

#include "MainDialogTest.moc"
