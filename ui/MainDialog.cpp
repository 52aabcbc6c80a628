#include "ui/MainDialog.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>
#include <algorithm>
#include <ctime>

#include "base/RegularFile.h"
#include "present/CsvWriter.h"
#include "present/StatusText.h"
#include "present/ValuesCsv.h"
#include "ui/BarChartView.h"
#include "ui/ExportFiles.h"
#include "ui/FilterPanel.h"
#include "ui/GameWindow.h"
#include "ui/GraphWindow.h"
#include "ui/LineChartView.h"
#include "ui/ListModel.h"
#include "ui/ListTreeView.h"
#include "ui/LogListDialog.h"
#include "ui/LogWatcher.h"
#include "ui/PeriodChartView.h"
#include "ui/QtText.h"
#include "ui/RatingPredictionDialog.h"
#include "ui/StatsPage.h"
#include "ui/StatusLine.h"
#include "ui/UiStyle.h"
#include "ui/WindowPlacement.h"

#ifndef OBRENTA_MANUAL_DIR
#define OBRENTA_MANUAL_DIR "../share/doc/obrenta"
#endif
#ifndef OBRENTA_VERSION
#define OBRENTA_VERSION ""
#endif

namespace obrenta::ui {

namespace {

template <class P>
StatsPage* MakePage() {
    return new P();
}

// The pages in tab order.
const struct PageRow {
    const char* tab;
    // The page's object name, and its file name in the documentation's screenshots.
    const char* name;
    StatsPage* (*make)();
    // The name its chart's picture is saved under, for a page that does not name it itself.
    const char* pictureName = nullptr;
    // Where present/ fills the page's chart; the window fills the others.
    present::ChartControl* present::PageCharts::*chart = nullptr;
} kPages[] = {
    {"全般", "general", MakePage<GeneralPage>},
    {"グラフ", "graph", MakePage<GraphPage>, "ScoreChart", &present::PageCharts::scoreChart},
    {"和了", "wins", MakePage<WinsPage>},
    {"局情報", "handinfo", MakePage<HandInfoPage>},
    {"時間別", "hourly", MakePage<HourlyPage>},
    {"対戦相手", "opponents", MakePage<OpponentsPage>},
    {"R分布(自分)", "ratingdist-own", MakePage<RatingDistPage>, "OwnRatingDist",
     &present::PageCharts::ownRatingDist},
    {"R分布(相手)", "ratingdist-opponents", MakePage<RatingDistPage>, "OpponentRatingDist",
     &present::PageCharts::opponentRatingDist},
    {"推移", "trend", MakePage<TrendPage>},
    {"打ち筋", "style", MakePage<StylePage>},
    {"放銃", "dealin", MakePage<DealInPage>},
};

void InvalidateLayouts(QLayout* layout) {
    if (layout == nullptr) return;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->layout() != nullptr) InvalidateLayouts(item->layout());
        if (item->widget() != nullptr) InvalidateLayouts(item->widget()->layout());
    }
    layout->invalidate();
}

}  // namespace

MainDialog::MainDialog(MainDialogOptions options, QWidget* parent)
    : QMainWindow(parent),
      options_(std::move(options)),
      settings_(options_.settingsPath),
      engine_(settings_) {
    // Before the first tally saves the settings.
    const bool noSettingsFile = !QFileInfo(FromLocalPath(options_.settingsPath)).isFile();
    setFont(UiFont());
    setWindowTitle(QStringLiteral("Obrenta  Murvellスコア集計ツール"));
    setWindowIcon(AppIcon());
    setAcceptDrops(true);

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    const int margin = DialogUnitsX(font(), 7);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(DialogUnitsX(font(), 5));
    filterPanel_ = new FilterPanel();
    layout->addWidget(filterPanel_);
    layout->addWidget(BuildPages(), 1);
    setCentralWidget(central);
    statusLine_ = new StatusLine();
    setStatusBar(statusLine_);
    refreshSoon_ = new QTimer(this);
    refreshSoon_->setSingleShot(true);
    refreshSoon_->setInterval(0);
    connect(refreshSoon_, &QTimer::timeout, this, &MainDialog::RefreshFromLog);
    logWatcher_ = new LogWatcher(this);
    connect(logWatcher_, &LogWatcher::LogChanged, refreshSoon_, qOverload<>(&QTimer::start));
    BuildMenus();

    separateChart_ = false;
    SetUpPages();
    // Games open from the lists and charts that show them.
    new GameOpener(this);
    for (int i = 0; i < present::kListCount; ++i) {
        const auto id = static_cast<present::ListId>(i);
        if (ListTreeView* view = listView(id)) {
            view->valuesCsv = [this, id, view] {
                return present::FormatValuesCsv(id, *view->listModel(), engine_, settings_);
            };
        }
    }

    // The lists learnt their columns after the page layouts were built; nested layouts keep their
    // old size hints until invalidated, and the smallest window size is taken from those hints.
    for (int i = 0; i < stack_->count(); ++i) InvalidateLayouts(stack_->widget(i)->layout());
    InvalidateLayouts(central->layout());
    adjustSize();
    RestorePlacement(sizeHint());
    QTimer::singleShot(0, this,
                       [this, noSettingsFile] { RunFirstStart(*this, noSettingsFile, options_.firstStart); });
}

void MainDialog::RestorePlacement(const QSize& smallest) {
    setMinimumSize(smallest);
    resize(smallest);
    // A hidden widget lays out its children only when it shows: each layout down to the tab
    // bar's is run here, from the top, so that the bar has the width it will have.
    for (QLayout* each : {layout(), centralWidget()->layout(), tabBar_->parentWidget()->layout()}) {
        each->invalidate();
        each->activate();
    }
    // By default wide enough for every tab label without the scroll arrows, and a little taller
    // than the smallest size so that the lists show more rows.
    const int tabsMissing = std::max(0, tabBar_->sizeHint().width() - tabBar_->width());
    QSize size(smallest.width() + tabsMissing + DialogUnitsX(font(), 8), smallest.height() * 9 / 8);
    if (settings_.MainW > 0 && settings_.MainH > 0)
        size = QSize(settings_.MainW, settings_.MainH).expandedTo(smallest);
    resize(size);
    // A place on a screen that is no longer there would leave the window out of reach. Moved
    // before the window exists, its frame's corner lands on the saved place (see GraphWindow).
    if (ReachableOnScreen(QRect(QPoint(settings_.X, settings_.Y), size))) move(settings_.X, settings_.Y);
    if (settings_.MainMaximized != 0) setWindowState(windowState() | Qt::WindowMaximized);
}

MainDialog::~MainDialog() = default;

namespace {

// The menus a command can be in; a command without one is an item of the menu bar itself.
constexpr const char* kFileMenu = "ファイル";
constexpr const char* kSettingsMenu = "設定";
constexpr const char* kHelpMenu = "ヘルプ";
constexpr QKeyCombination kNoKey = QKeyCombination::fromCombined(0);
enum CommandFlags : unsigned {
    kSeparatorBefore = 1,
    kCheckable = 2,
    // The key works in the separate chart window as well.
    kChartWindowToo = 4,
};

struct CommandRow {
    MainDialog::Command command;
    const char* menu;
    const char* text;
    void (*run)(MainDialog& window);
    QKeyCombination key = kNoKey;
    unsigned flags = 0;
};

template <std::size_t N>
constexpr bool EveryCommandOnce(const CommandRow (&rows)[N]) {
    for (int command = 0; command < MainDialog::kCommandCount; ++command) {
        int found = 0;
        for (const CommandRow& row : rows) found += static_cast<int>(row.command) == command ? 1 : 0;
        if (found != 1) return false;
    }
    return N == MainDialog::kCommandCount;
}

}  // namespace

void MainDialog::BuildMenus() {
    using enum Command;
    using W = MainDialog;
    // The menus as they read, top to bottom.
    static constexpr CommandRow kCommands[] = {
        {Open, kFileMenu, "開く", [](W& w) { w.OnOpenScoreLog(); }, Qt::CTRL | Qt::Key_O, kChartWindowToo},
        {ManageLogs, kFileMenu, "ログの管理...", [](W& w) { w.OnManageLogs(); }},
        {Edit, kFileMenu, "編集", [](W& w) { w.OnEditScoreLog(); }, Qt::Key_F4, kChartWindowToo},
        {Tally, kFileMenu, "集計", [](W& w) { w.RunTally(); }, Qt::Key_F5, kChartWindowToo},
        {RatingPrediction, kFileMenu, "R予測", [](W& w) { w.OnRatingPrediction(); }, Qt::CTRL | Qt::Key_R,
         kSeparatorBefore | kChartWindowToo},
        {SaveChartImage, kFileMenu, "画像として保存...", [](W& w) { w.OnSaveChartImage(); }, kNoKey,
         kSeparatorBefore},
        {ExportAll, kFileMenu, "すべてエクスポート...", [](W& w) { w.OnExportAll(); }},
        {Exit, kFileMenu, "終了", [](W& w) { w.close(); }, kNoKey, kSeparatorBefore},
        {MenuBarTally, nullptr, "集計", [](W& w) { w.RunTally(); }},
        {RegressionR, kSettingsMenu, "回帰直線( R値 )", [](W& w) { w.OnToggleRegressionLine(1); }, kNoKey,
         kCheckable},
        {RegressionPoints, kSettingsMenu, "回帰直線( 得点 )", [](W& w) { w.OnToggleRegressionLine(2); },
         kNoKey, kCheckable},
        {TodayOnly, kSettingsMenu, "今日だけ", [](W& w) { w.OnTodayOnly(); }, Qt::Key_F7,
         kSeparatorBefore | kChartWindowToo},
        {AllTime, kSettingsMenu, "ずっと", [](W& w) { w.OnAllTime(); }, Qt::Key_F8, kChartWindowToo},
        {SeparateChart, kSettingsMenu, "別グラフ", [](W& w) { w.OnToggleSeparateChart(); }, Qt::Key_F9,
         kSeparatorBefore | kCheckable | kChartWindowToo},
        {AutoTally, kSettingsMenu, "ログの変更を自動で集計", [](W& w) { w.OnToggleAutoTally(); }, kNoKey,
         kSeparatorBefore | kCheckable},
        {Help, kHelpMenu, "ヘルプ", [](W& w) { w.OnHelp(); }, Qt::Key_F1, kChartWindowToo},
        {About, kHelpMenu, "Obrentaについて", [](W& w) { w.OnAbout(); }},
        {AuthorPage, kHelpMenu, "作者のHPへ", [](W& w) { w.OpenUrl(QUrl(w.options_.authorUrl)); }, kNoKey,
         kSeparatorBefore},
        {ServicePage, kHelpMenu, "MurvellのHPへ", [](W& w) { w.OpenUrl(QUrl(w.options_.serviceUrl)); }},
    };
    static_assert(EveryCommandOnce(kCommands), "every command has exactly one row");

    QMenu* menu = nullptr;
    for (const CommandRow& row : kCommands) {
        auto* action = new QAction(QString::fromUtf8(row.text), this);
        if (row.key.toCombined() != 0) {
            action->setShortcut(row.key);
            action->setShortcutContext(Qt::WindowShortcut);
        }
        action->setCheckable((row.flags & kCheckable) != 0);
        connect(action, &QAction::triggered, this, [this, run = row.run] { run(*this); });
        actions_[static_cast<int>(row.command)] = action;
        if ((row.flags & kChartWindowToo) != 0) chartWindowKeys_.append(action);
        if (row.menu == nullptr) {
            menu = nullptr;
            menuBar()->addAction(action);
            continue;
        }
        if (menu == nullptr || menu->title() != QString::fromUtf8(row.menu)) {
            menu = menuBar()->addMenu(QString::fromUtf8(row.menu));
        } else if ((row.flags & kSeparatorBefore) != 0) {
            menu->addSeparator();
        }
        menu->addAction(action);
    }
    // Only a page with a chart has a picture to save.
    for (QObject* holder : action(SaveChartImage)->associatedObjects()) {
        if (auto* inMenu = qobject_cast<QMenu*>(holder)) {
            connect(inMenu, &QMenu::aboutToShow, this, [this] {
                action(SaveChartImage)
                    ->setEnabled(PageForTab(tabBar_->currentIndex())->pagePicture().view != nullptr);
            });
        }
    }
    action(AuthorPage)->setEnabled(!options_.authorUrl.isEmpty());
    action(ServicePage)->setEnabled(!options_.serviceUrl.isEmpty());
    action(Help)->setEnabled(!ManualPath().isEmpty() || !options_.readmeUrl.isEmpty());

    // Enter and Esc run the tally like F5, so that neither ever closes the window; Alt+F4 goes
    // through the same close handling as "終了".
    auto* tallyKeys = new QAction(this);
    tallyKeys->setShortcuts(
        {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter), QKeySequence(Qt::Key_Escape)});
    tallyKeys->setShortcutContext(Qt::WindowShortcut);
    connect(tallyKeys, &QAction::triggered, this, &MainDialog::RunTally);
    addAction(tallyKeys);
    auto* exitKey = new QAction(this);
    exitKey->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    exitKey->setShortcutContext(Qt::WindowShortcut);
    connect(exitKey, &QAction::triggered, this, &QWidget::close);
    addAction(exitKey);

    // Ctrl+Tab and Ctrl+PgDn step to the next page, Ctrl+Shift+Tab and Ctrl+PgUp to the one
    // before, as tabbed windows do everywhere.
    auto pageKeys = [this](QList<QKeySequence> keys, int step) {
        auto* keyAction = new QAction(this);
        keyAction->setShortcuts(keys);
        keyAction->setShortcutContext(Qt::WindowShortcut);
        connect(keyAction, &QAction::triggered, this, [this, step] { SwitchPage(step); });
        addAction(keyAction);
    };
    pageKeys({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, +1);
    pageKeys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
             -1);

    chartWindowKeys_.prepend(tallyKeys);
}

QWidget* MainDialog::BuildPages() {
    auto* area = new QWidget();
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    tabBar_ = new QTabBar();
    tabBar_->setDrawBase(true);
    tabBar_->setExpanding(false);
    // At the smallest window size the tabs are wider than the pages: the bar scrolls there
    // rather than widen the window; the default size shows them all.
    tabBar_->setUsesScrollButtons(true);
    tabBar_->setSizePolicy(QSizePolicy::Ignored, tabBar_->sizePolicy().verticalPolicy());
    layout->addWidget(tabBar_);
    auto* frame = new QFrame();
    frame->setFrameShape(QFrame::StyledPanel);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(1, 1, 1, 1);
    stack_ = new QStackedWidget();
    frameLayout->addWidget(stack_);
    layout->addWidget(frame, 1);
    return area;
}

void MainDialog::SetUpPages() {
    for (const PageRow& row : kPages) {
        StatsPage* page = row.make();
        page->setObjectName(QString::fromLatin1(row.name));
        if (row.pictureName != nullptr)
            page->pageChart()->setObjectName(QString::fromLatin1(row.pictureName));
        if (row.chart != nullptr) charts_.*row.chart = page->pageChart();
        for (const auto& [id, view] : page->lists()) lists_.views[static_cast<int>(id)] = view->listModel();
        tabBar_->addTab(QString::fromUtf8(row.tab));
        stack_->addWidget(page);
        pages_.push_back(page);
    }
    graphWindow_ = std::make_unique<GraphWindow>();
    graphWindow_->SetPlacement(QRect(settings_.GraphX, settings_.GraphY, settings_.GraphW, settings_.GraphH),
                               this);
    // The same actions, so that the keys work in either window.
    graphWindow_->addActions(chartWindowKeys_);
    connect(graphWindow_.get(), &GraphWindow::ClosedByUser, this, [this] {
        separateChart_ = false;
        action(Command::SeparateChart)->setChecked(false);
    });
    connect(tabBar_, &QTabBar::currentChanged, this, &MainDialog::ShowSelectedPage);
    charts_.windowScoreChart = &graphWindow_->chart();

    FillFilterPanel();
    present::SetUpPages(lists_, charts_, settings_);
    action(Command::RegressionR)->setChecked(settings_.StatLine1 != 0);
    action(Command::RegressionPoints)->setChecked(settings_.StatLine2 != 0);
    action(Command::AutoTally)->setChecked(settings_.AutoTally != 0);
    SetWatchersEnabled(settings_.AutoTally != 0);
    for (StatsPage* page : pages_) page->AttachSettings(&settings_);
    TrendPage* trend = page<TrendPage>();
    trend->ShowChoices(settings_.PeriodYearly != 0, settings_.FormGames);
    connect(trend, &TrendPage::PeriodChoiceChanged, this, [this](bool yearly) {
        settings_.PeriodYearly = yearly ? 1 : 0;
        present::FillList(present::ListId::PeriodList, list(present::ListId::PeriodList), engine_, settings_);
        RefillTrendPage();
    });
    connect(trend, &TrendPage::FormGamesChanged, this, [this](int games) {
        settings_.FormGames = games;
        present::FillList(present::ListId::FormTable, list(present::ListId::FormTable), engine_, settings_);
    });
    DealInPage* dealIn = page<DealInPage>();
    dealIn->ShowAllOpponents(settings_.DealInAllOpponents != 0);
    connect(dealIn, &DealInPage::AllOpponentsChanged, this, [this](bool all) {
        settings_.DealInAllOpponents = all ? 1 : 0;
        present::FillList(present::ListId::DealInOpponents, list(present::ListId::DealInOpponents), engine_,
                          settings_);
    });
    RunTally();
}

ListTreeView* MainDialog::listView(present::ListId list) const {
    for (StatsPage* page : pages_) {
        if (ListTreeView* view = page->listView(list)) return view;
    }
    return nullptr;
}

ListModel& MainDialog::list(present::ListId list) const {
    return *listView(list)->listModel();
}

LineChartView& MainDialog::scoreChart() const {
    return static_cast<LineChartView&>(*charts_.scoreChart);
}

LineChartView& MainDialog::windowScoreChart() const {
    return graphWindow_->chart();
}

BarChartView& MainDialog::ownRatingDistChart() const {
    return static_cast<BarChartView&>(*charts_.ownRatingDist);
}

BarChartView& MainDialog::opponentRatingDistChart() const {
    return static_cast<BarChartView&>(*charts_.opponentRatingDist);
}

QWidget* MainDialog::currentPage() const {
    return stack_->currentWidget();
}

StatsPage* MainDialog::PageForTab(int index) const {
    return pages_[index >= 0 && index < static_cast<int>(pages_.size()) ? index : 0];
}

void MainDialog::OnSaveChartImage() {
    const StatsPage::Picture picture = PageForTab(tabBar_->currentIndex())->pagePicture();
    if (picture.view != nullptr) SaveChartImageAs(picture.view, picture.name);
}

void MainDialog::OnExportAll() {
    const QString folder =
        QFileDialog::getExistingDirectory(this, QStringLiteral("エクスポート先のフォルダ"), LastSaveFolder());
    if (folder.isEmpty()) return;
    RememberSaveFolder(folder);
    std::vector<ExportItem> items;
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        const StatsPage* page = pages_[i];
        for (const auto& [id, view] : page->lists()) {
            const ListModel* model = view->listModel();
            items.push_back({view->objectName() + QStringLiteral(".csv"), [model](const QString& path) {
                                 return WriteFileBytes(path, present::FormatCsv(*model));
                             }});
            if (view->valuesCsv) {
                items.push_back(
                    {view->objectName() + QStringLiteral(".values.csv"),
                     [view](const QString& path) { return WriteFileBytes(path, view->valuesCsv()); }});
            }
        }
        if (const StatsPage::Picture picture = page->pagePicture(); picture.view != nullptr) {
            const QString name = picture.name.isEmpty() ? QStringLiteral("Chart%1").arg(i) : picture.name;
            items.push_back({name + QStringLiteral(".png"), [view = picture.view](const QString& path) {
                                 return SaveChartImage(view, path);
                             }});
        }
    }
    const ExportResult result = ExportFiles(this, folder, items);
    QString told = QStringLiteral("%1 に %2 個のファイルを書き出しました。")
                       .arg(QDir::toNativeSeparators(folder))
                       .arg(result.written);
    if (result.skipped > 0)
        told += QStringLiteral("\n既にあった %1 個のファイルはそのままです。").arg(result.skipped);
    if (result.cancelled) told += QStringLiteral("\n途中で中止しました。");
    if (!result.failed.isEmpty()) {
        QMessageBox::warning(
            this, QStringLiteral("すべてエクスポート"),
            told + QStringLiteral("\n\n書き込めなかったファイル:\n") + result.failed.join(QLatin1Char('\n')));
    } else {
        QMessageBox::information(this, QStringLiteral("すべてエクスポート"), told);
    }
}

void MainDialog::SwitchPage(int step) {
    const int count = tabBar_->count();
    if (count == 0) return;
    tabBar_->setCurrentIndex(((tabBar_->currentIndex() + step) % count + count) % count);
}

void MainDialog::ShowSelectedPage() {
    stack_->setCurrentWidget(PageForTab(tabBar_->currentIndex()));
}

void MainDialog::FillFilterPanel() {
    settings_.LoadSettings();
    filterPanel_->Load(settings_);
    if (settings_.Tab >= 0 && settings_.Tab < tabBar_->count()) tabBar_->setCurrentIndex(settings_.Tab);
    ShowSelectedPage();
}

void MainDialog::ReadFilterPanel() {
    filterPanel_->Store(settings_);
    settings_.Tab = tabBar_->currentIndex();
}

void MainDialog::RunTally() {
    ReadFilterPanel();
    lastSave_ = settings_.SaveSettings();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Watched from before the read, so that a change during the read is not missed.
    WatchLogs();
    TallyAfterRead(engine_.ReadScoreLogs());
    QApplication::restoreOverrideCursor();
}

void MainDialog::RefreshFromLog() {
    // Logs changed together are all taken in by the read of the first report; the reports of the
    // others then find every log unchanged, and the window is refreshed once.
    WatchLogs();
    const std::vector<scorelog::ReadOutcome> reads = engine_.ReadScoreLogs();
    if (std::all_of(reads.begin(), reads.end(), [](const scorelog::ReadOutcome& read) {
            return read.status == scorelog::ReadOutcome::Status::Unchanged;
        })) {
        return;
    }
    refreshingFromLog_ = true;
    ReadFilterPanel();
    lastSave_ = settings_.SaveSettings();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TallyAfterRead(reads);
    QApplication::restoreOverrideCursor();
    refreshingFromLog_ = false;
}

void MainDialog::TallyAfterRead(const std::vector<scorelog::ReadOutcome>& reads) {
    lastRead_ = scorelog::CombineOutcomes(reads);
    if (lastRead_.status == scorelog::ReadOutcome::Status::Read) lastReadTime_ = std::time(nullptr);
    if (engine_.Tally()) RefillPages();
    ShowStatus();
    ++tallyCount_;
}

void MainDialog::RefillPages() {
    for (int i = 0; i < present::kListCount; ++i) {
        if (ListTreeView* view = listView(static_cast<present::ListId>(i)))
            view->SetKeepScrollOnRefill(refreshingFromLog_);
    }
    present::RefillPages(engine_, settings_, lists_, charts_);
    for (StatsPage* page : pages_) page->UpdateSortIndicators();
    RefillTrendPage();
}

void MainDialog::RefillTrendPage() {
    // The period list itself is filled with every other list; the chart follows the same choice.
    TrendPage* trend = page<TrendPage>();
    trend->chart().SetContent(present::FillPeriodChart(engine_, settings_.PeriodYearly != 0));
    trend->UpdateSortIndicators();
}

QString MainDialog::ScoreLogPath() const {
    return QFileInfo(FromLocalPath(settings_.ScoreLogPath())).absoluteFilePath();
}

void MainDialog::ShowStatus() {
    present::StatusFacts facts;
    facts.read = lastRead_;
    facts.lastReadTime = lastReadTime_;
    facts.gamesRead = engine_.games().size();
    const scorelog::LogSet& logs = engine_.logs();
    facts.logCount = logs.size();
    for (std::size_t k = 0; k < logs.size() && logs.size() > 1; ++k) {
        if (logs.outcome(k).ok()) continue;
        const QString name = QFileInfo(FromLocalPath(logs.path(k))).fileName();
        facts.failedLogs.push_back({ToCp932(name).value_or("?"), logs.outcome(k)});
    }
    facts.gamesSelected = engine_.selectedGames.size();
    facts.now = std::time(nullptr);
    facts.save = lastSave_;
    facts.singleInstanceUnchecked = options_.singleInstanceUnchecked;
    if (logs.size() > 1) {
        QStringList paths;
        for (std::size_t k = 0; k < logs.size(); ++k)
            paths.push_back(QDir::toNativeSeparators(FromLocalPath(logs.path(k))));
        statusLine_->Show(ToQString(present::LogCountText(logs.size())), present::MakeStatusText(facts),
                          paths.join(QLatin1Char('\n')));
    } else {
        statusLine_->Show(ScoreLogPath(), present::MakeStatusText(facts));
    }
}

void MainDialog::WatchLogs() {
    const std::vector<std::string> paths = settings_.ScoreLogPaths();
    logWatcher_->Watch(ScoreLogPath());
    while (furtherWatchers_.size() + 1 > paths.size()) {
        delete furtherWatchers_.back();
        furtherWatchers_.pop_back();
    }
    while (furtherWatchers_.size() + 1 < paths.size()) {
        auto* watcher = new LogWatcher(this);
        watcher->SetEnabled(logWatcher_->enabled());
        connect(watcher, &LogWatcher::LogChanged, refreshSoon_, qOverload<>(&QTimer::start));
        furtherWatchers_.push_back(watcher);
    }
    for (std::size_t k = 1; k < paths.size(); ++k)
        furtherWatchers_[k - 1]->Watch(QFileInfo(FromLocalPath(paths[k])).absoluteFilePath());
}

void MainDialog::SetWatchersEnabled(bool on) {
    logWatcher_->SetEnabled(on);
    for (LogWatcher* watcher : furtherWatchers_) watcher->SetEnabled(on);
}

void MainDialog::OnManageLogs() {
    QStringList paths;
    for (const std::string& path : settings_.ScoreLogPaths())
        paths.push_back(QFileInfo(FromLocalPath(path)).absoluteFilePath());
    const scorelog::LogSet& logs = engine_.logs();
    // A log of the last read shows what that read found; another, what a look at the file finds.
    const auto describe = [&logs](const QString& path) {
        LogListDialog::LogInfo info;
        for (std::size_t k = 0; k < logs.size(); ++k) {
            if (QFileInfo(FromLocalPath(logs.path(k))).absoluteFilePath() != path) continue;
            if (logs.log(k).readCount() > 0) info.games = logs.log(k).games().size();
            info.state = ToQString(present::LogStateText(logs.outcome(k)));
            info.warning = !logs.outcome(k).ok();
            return info;
        }
        const base::RegularFile file(ToLocalPath(path));
        if (file.ok()) {
            info.state = QStringLiteral("未読込");
            return info;
        }
        using Status = scorelog::ReadOutcome::Status;
        static constexpr Status kStatus[] = {Status::Read, Status::NotFound, Status::NotRegularFile,
                                             Status::PermissionDenied, Status::IoError};
        info.state =
            ToQString(present::LogStateText({kStatus[static_cast<int>(file.problem())], file.error()}));
        info.warning = true;
        return info;
    };
    LogListDialog dialog(paths, describe, this);
    if (dialog.exec() != QDialog::Accepted) return;
    SetScoreLogs(dialog.paths());
}

void MainDialog::SetScoreLogs(const QStringList& paths) {
    if (paths.isEmpty()) return;
    settings_.MJSFileName = ToLocalPath(QFileInfo(paths.front()).absoluteFilePath());
    settings_.extraLogs.clear();
    for (qsizetype k = 1; k < paths.size(); ++k)
        settings_.extraLogs.push_back(ToLocalPath(QFileInfo(paths[k]).absoluteFilePath()));
    RunTally();
}

bool MainDialog::OpenUrl(const QUrl& url) {
    const bool opened = options_.openUrl ? options_.openUrl(url) : QDesktopServices::openUrl(url);
    if (!opened) {
        const QString what = url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toString();
        QMessageBox::warning(this, QStringLiteral("Obrenta"),
                             QStringLiteral("開けませんでした。開くためのプログラム (ブラウザやエディタ) "
                                            "が設定されていないようです。\n\n%1")
                                 .arg(what));
    }
    return opened;
}

void MainDialog::OnOpenScoreLog() {
    const QString folder = QFileInfo(ScoreLogPath()).absolutePath();
    const QString path = QFileDialog::getOpenFileName(
        this, QString(), folder, QStringLiteral("スコアファイル(*.txt);;すべてのファイル(*)"));
    if (path.isEmpty()) return;
    OpenScoreLog(path);
}

void MainDialog::OpenScoreLog(const QString& path) {
    settings_.MJSFileName = ToLocalPath(QFileInfo(path).absoluteFilePath());
    RunTally();
}

void MainDialog::OnEditScoreLog() {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Obrenta"),
                    QStringLiteral("テキストエディタで直接編集しようとしています。いいですか？"),
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    if (box.exec() != QMessageBox::Ok) return;
    OpenUrl(QUrl::fromLocalFile(QFileInfo(FromLocalPath(settings_.ScoreLogPath())).absoluteFilePath()));
}

void MainDialog::OnRatingPrediction() {
    RatingPredictionDialog dialog(engine_.opponentRMean, engine_.avgRank, this);
    dialog.exec();
}

void MainDialog::OnTodayOnly() {
    const QDate today = QDate::currentDate();
    filterPanel_->SetDateRange(today, today);
    RunTally();
}

void MainDialog::OnAllTime() {
    filterPanel_->SetDateRange(settings::DefaultDateFrom(), settings::DefaultDateTo());
    RunTally();
}

void MainDialog::OnToggleRegressionLine(int series) {
    const bool on = present::ToggleRegressionLine(series, settings_, charts_);
    action(series == 1 ? Command::RegressionR : Command::RegressionPoints)->setChecked(on);
}

void MainDialog::OnToggleSeparateChart() {
    separateChart_ = !separateChart_;
    if (separateChart_) {
        graphWindow_->show();
        graphWindow_->raise();
    } else {
        graphWindow_->hide();
    }
    action(Command::SeparateChart)->setChecked(separateChart_);
}

void MainDialog::OnToggleAutoTally() {
    settings_.AutoTally = settings_.AutoTally != 0 ? 0 : 1;
    action(Command::AutoTally)->setChecked(settings_.AutoTally != 0);
    SetWatchersEnabled(settings_.AutoTally != 0);
}

QString MainDialog::ManualPath() const {
    if (options_.programDir.isEmpty()) return {};
    const QDir program(options_.programDir);
    // Beside the program in a build tree; under the installed data folder otherwise.
    for (const QString& candidate : {program.filePath(QStringLiteral("Obrenta.html")),
                                     program.filePath(QStringLiteral(OBRENTA_MANUAL_DIR "/Obrenta.html"))}) {
        if (QFileInfo(candidate).isFile()) return QDir::cleanPath(candidate);
    }
    return {};
}

void MainDialog::OnHelp() {
    // Each failure is told once: no handler for the manual is no browser for the readme either.
    if (const QString manual = ManualPath(); !manual.isEmpty()) {
        if (!OpenUrl(QUrl::fromLocalFile(manual))) return;
    }
    if (!options_.readmeUrl.isEmpty()) OpenUrl(QUrl(options_.readmeUrl));
}

void MainDialog::OnAbout() {
    QMessageBox box(this);
    box.setWindowTitle(QStringLiteral("Obrentaについて"));
    box.setIconPixmap(AppIcon().pixmap(48, 48));
    box.setTextFormat(Qt::RichText);
    box.setText(QStringLiteral("<b>Obrenta</b> バージョン %1<br>Murvellスコア集計ツール")
                    .arg(QStringLiteral(OBRENTA_VERSION)));
    QString details = QStringLiteral("ライセンス: MIT License<br>作者: Obrenta 開発チーム");
    const QString authorUrl = options_.authorUrl;
    if (!authorUrl.isEmpty())
        details += QStringLiteral("<br><a href=\"%1\">%1</a>").arg(authorUrl.toHtmlEscaped());
    box.setInformativeText(details);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

void MainDialog::closeEvent(QCloseEvent* event) {
    // The frame's corner, as it is restored. A maximised or minimised window keeps the place it
    // had and saves the size it comes back to.
    const bool normal =
        (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) == 0;
    if (normal) {
        settings_.X = frameGeometry().x();
        settings_.Y = frameGeometry().y();
    }
    if (const QRect inside = normal ? geometry() : normalGeometry(); inside.isValid()) {
        settings_.MainW = inside.width();
        settings_.MainH = inside.height();
    }
    settings_.MainMaximized = isMaximized() ? 1 : 0;
    const QRect chart = graphWindow_->Placement();
    settings_.GraphX = chart.x();
    settings_.GraphY = chart.y();
    settings_.GraphW = chart.width();
    settings_.GraphH = chart.height();
    ReadFilterPanel();
    lastSave_ = settings_.SaveSettings();
    graphWindow_->hide();
    event->accept();
}

namespace {

QString DroppedScoreLog(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls()) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() && path.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive)) return path;
    }
    return {};
}

}  // namespace

void MainDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedScoreLog(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainDialog::dropEvent(QDropEvent* event) {
    const QString path = DroppedScoreLog(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    OpenScoreLog(path);
}

}  // namespace obrenta::ui
