#pragma once

#include <QList>
#include <QMainWindow>
#include <QUrl>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "present/PageContent.h"
#include "settings/AppSettings.h"
#include "tally/TallyEngine.h"
#include "ui/FirstStart.h"

class QAction;
class QStackedWidget;
class QTabBar;
class QTimer;

namespace obrenta::ui {

class FilterPanel;
class BarChartView;
class ChartView;
class GraphWindow;
class LineChartView;
class ListModel;
class ListTreeView;
class LogWatcher;
class StatusLine;
class StatsPage;

struct MainDialogOptions {
    // The settings file (Obrenta.ini).
    std::string settingsPath;
    // The executable's directory: the manual Obrenta.html lies beside it in a build tree and
    // in ../share/doc/obrenta once installed.
    QString programDir;
    // The web pages of the ヘルプ menu; an empty address disables its item.
    QString authorUrl;
    QString serviceUrl;
    QString readmeUrl;
    // Opens files and web pages with the desktop's handler, false when none took it;
    // QDesktopServices when empty.
    std::function<bool(const QUrl&)> openUrl;
    // The single-instance lock could not be taken for a reason other than a running copy; the
    // status line says that a second copy would not be detected.
    bool singleInstanceUnchecked = false;
    // What to ask once the window is shown when there is no settings file, no log or no ID that
    // plays in it (ui/FirstStart.h); questions left empty, as in tests, are never asked.
    FirstStartPrompts firstStart;
};

// The main window: the filter panel on the left, the statistics pages on the right, the menu
// commands, and the separate chart window. It owns the settings and the tally engine and
// wires the panel, the pages and the menus together; each of those draws itself.
class MainDialog : public QMainWindow {
    Q_OBJECT

public:
    enum class Command {
        Open,
        Edit,
        Tally,
        RatingPrediction,
        Exit,
        MenuBarTally,
        RegressionR,
        RegressionPoints,
        TodayOnly,
        AllTime,
        SeparateChart,
        Help,
        About,
        AuthorPage,
        ServicePage,
        AutoTally,
        SaveChartImage,
        ExportAll,
        ManageLogs,
        // Not a command: how many there are.
        Count,
    };
    static constexpr int kCommandCount = static_cast<int>(Command::Count);

    explicit MainDialog(MainDialogOptions options, QWidget* parent = nullptr);
    ~MainDialog() override;

    settings::AppSettings& settings() { return settings_; }
    const tally::TallyEngine& engine() const { return engine_; }
    // How the latest score log read and settings save went (for the status bar).
    const scorelog::ReadOutcome& lastReadOutcome() const { return lastRead_; }
    const settings::SaveOutcome& lastSaveOutcome() const { return lastSave_; }
    QAction* action(Command command) const { return actions_[static_cast<int>(command)]; }

    ListTreeView* listView(present::ListId list) const;
    ListModel& list(present::ListId list) const;
    LineChartView& scoreChart() const;
    LineChartView& windowScoreChart() const;
    BarChartView& ownRatingDistChart() const;
    BarChartView& opponentRatingDistChart() const;

    QTabBar* tabBar() const { return tabBar_; }
    QWidget* currentPage() const;
    // The page a tab index shows; the first page for an index that has no tab.
    StatsPage* PageForTab(int index) const;
    // The first page, in tab order, that is a P (a class of ui/StatsPage.h); null when none is.
    template <class P>
    P* page() const {
        for (StatsPage* each : pages_) {
            if (auto* typed = qobject_cast<P*>(each)) return typed;
        }
        return nullptr;
    }
    GraphWindow* graphWindow() const { return graphWindow_.get(); }
    bool separateChartShown() const { return separateChart_; }

    FilterPanel* filterPanel() const { return filterPanel_; }
    StatusLine* statusLine() const { return statusLine_; }
    // The watcher of the first log, and those of the further logs in their order.
    LogWatcher* logWatcher() const { return logWatcher_; }
    const std::vector<LogWatcher*>& furtherLogWatchers() const { return furtherWatchers_; }
    // The score log as the engine reads it, made absolute.
    QString ScoreLogPath() const;
    const MainDialogOptions& options() const { return options_; }
    // The manual to open, or an empty path when there is none.
    QString ManualPath() const;

    // How many times the Tally command has run since the window was made.
    int tallyCount() const { return tallyCount_; }

public slots:
    void RunTally();
    void ReadFilterPanel();
    void FillFilterPanel();
    void ShowSelectedPage();

    void OnOpenScoreLog();
    void OpenScoreLog(const QString& path);
    // ファイル > ログの管理: the dialog of the logs read as one; OK takes its list and tallies.
    void OnManageLogs();
    // Makes paths (the first replacing MJSFileName) the logs read, and tallies.
    void SetScoreLogs(const QStringList& paths);
    void OnEditScoreLog();
    void OnRatingPrediction();
    void OnTodayOnly();
    void OnAllTime();
    void OnToggleRegressionLine(int series);
    void OnToggleSeparateChart();
    void OnToggleAutoTally();
    void OnHelp();
    void OnAbout();
    // Saves the chart of the page shown as a picture.
    void OnSaveChartImage();
    // Asks for a folder and writes every list as CSV and every chart as PNG into it.
    void OnExportAll();
    // Shows the page step tabs to the right (negative: to the left), wrapping around.
    void SwitchPage(int step);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenus();
    QWidget* BuildPages();
    void SetUpPages();
    void RefillPages();
    // The period chart as the month/year choice says, and the period list's sort arrows.
    void RefillTrendPage();
    // The Tally the watcher starts when the log changed: it keeps the lists where the user left them.
    void RefreshFromLog();
    // What every Tally does once the logs are read: the tally, the pages and the status line.
    void TallyAfterRead(const std::vector<scorelog::ReadOutcome>& reads);
    void ShowStatus();
    // Watches every log the settings name, each with a watcher of its own.
    void WatchLogs();
    void SetWatchersEnabled(bool on);
    bool OpenUrl(const QUrl& url);
    // The size and place saved at the last close, or the default size for the first start.
    void RestorePlacement(const QSize& smallest);

    MainDialogOptions options_;
    settings::AppSettings settings_;
    tally::TallyEngine engine_;
    scorelog::ReadOutcome lastRead_;
    settings::SaveOutcome lastSave_;
    // When the log was last read successfully (seconds); none before that.
    std::optional<std::int64_t> lastReadTime_;

    std::array<QAction*, kCommandCount> actions_{};
    // The keyboard commands that also work while the separate chart window has the focus.
    QList<QAction*> chartWindowKeys_;
    FilterPanel* filterPanel_ = nullptr;
    StatusLine* statusLine_ = nullptr;
    LogWatcher* logWatcher_ = nullptr;
    std::vector<LogWatcher*> furtherWatchers_;
    // Changes that several watchers report at once start one Tally.
    QTimer* refreshSoon_ = nullptr;
    bool refreshingFromLog_ = false;

    QTabBar* tabBar_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    // In tab order, as the page table of MainDialog.cpp makes them; the stack holds them so too.
    std::vector<StatsPage*> pages_;
    std::unique_ptr<GraphWindow> graphWindow_;

    present::PageLists lists_;
    present::PageCharts charts_;
    bool separateChart_ = false;
    int tallyCount_ = 0;
};

}  // namespace obrenta::ui
