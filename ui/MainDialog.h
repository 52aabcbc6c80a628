#pragma once

#include <QMainWindow>
#include <QUrl>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "present/PageContent.h"
#include "settings/AppSettings.h"
#include "tally/TallyEngine.h"

class QAction;
class QCheckBox;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTabBar;

namespace obrenta::ui {

class GraphWindow;
class ListModel;
class ListTreeView;
class QtChartControl;
class StatsPage;
class GeneralPage;
class GraphPage;
class WinsPage;
class HandInfoPage;
class HourlyPage;
class OpponentsPage;
class RatingDistPage;

struct MainDialogOptions {
    // The settings file (Obrenta.ini).
    std::string settingsPath;
    // Where the manual Obrenta.html lives: the executable's directory.
    QString programDir;
    // Opens files and web pages with the desktop's handler; QDesktopServices when empty.
    std::function<void(const QUrl&)> openUrl;
};

// The main window: the filter panel on the left, the eight statistics pages on the right, the
// menu commands, and the separate chart window. It owns the settings and the tally engine.
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
    };
    static constexpr int kCommandCount = 15;
    static constexpr int kTabCount = 8;

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
    QtChartControl& scoreChart() const;
    QtChartControl& windowScoreChart() const;
    QtChartControl& ownRatingDistChart() const;
    QtChartControl& opponentRatingDistChart() const;

    QTabBar* tabBar() const { return tabBar_; }
    QWidget* currentPage() const;
    // The page a tab index shows; GeneralPage for any index outside 0-7.
    StatsPage* PageForTab(int index) const;
    GeneralPage* generalPage() const { return generalPage_; }
    GraphPage* graphPage() const { return graphPage_; }
    WinsPage* winsPage() const { return winsPage_; }
    HandInfoPage* handInfoPage() const { return handInfoPage_; }
    HourlyPage* hourlyPage() const { return hourlyPage_; }
    OpponentsPage* opponentsPage() const { return opponentsPage_; }
    RatingDistPage* ratingDistPage(int which) const { return ratingDistPages_[which]; }
    GraphWindow* graphWindow() const { return graphWindow_.get(); }
    bool separateChartShown() const { return separateChart_; }

    QListWidget* userIdList() const { return userIdList_; }
    QPushButton* addUserIdButton() const { return addButton_; }
    QPushButton* deleteUserIdsButton() const { return deleteButton_; }
    QDateEdit* dateFromEdit() const { return dateFrom_; }
    QDateEdit* dateToEdit() const { return dateTo_; }
    QLineEdit* recentEdit() const { return recent_; }
    // The check boxes in the order of their settings arrays.
    const std::array<QCheckBox*, 4>& tableKindBoxes() const { return tableKindBoxes_; }
    const std::array<QCheckBox*, 4>& gameKindBoxes() const { return gameKindBoxes_; }
    const std::array<QCheckBox*, 4>& rankBoxes() const { return rankBoxes_; }
    const std::array<QCheckBox*, 4>& ratingRankBoxes() const { return ratingRankBoxes_; }

    // How many times the Tally command has run since the window was made.
    int tallyCount() const { return tallyCount_; }

public slots:
    void RunTally();
    void ReadFilterPanel();
    void FillFilterPanel();
    void ShowSelectedPage();

    void OnOpenScoreLog();
    void OpenScoreLog(const QString& path);
    void OnEditScoreLog();
    void OnRatingPrediction();
    void OnTodayOnly();
    void OnAllTime();
    void OnToggleRegressionLine(int series);
    void OnToggleSeparateChart();
    void OnHelp();
    void OnAbout();
    void OnAddUserId();
    void OnDeleteUserIds();
    // Appends a code page 932 ID and selects it; an empty ID or a full list is ignored.
    bool AppendUserId(const std::string& cp932);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenus();
    QWidget* BuildFilterPanel();
    QWidget* BuildPages();
    void SetUpPages();
    void RefillPages();
    void FlushCharts();
    void OpenUrl(const QUrl& url);

    MainDialogOptions options_;
    settings::AppSettings settings_;
    tally::TallyEngine engine_;
    scorelog::ReadOutcome lastRead_;
    settings::SaveOutcome lastSave_;

    std::array<QAction*, kCommandCount> actions_{};
    QListWidget* userIdList_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    QDateEdit* dateFrom_ = nullptr;
    QDateEdit* dateTo_ = nullptr;
    QLineEdit* recent_ = nullptr;
    std::array<QCheckBox*, 4> tableKindBoxes_{};
    std::array<QCheckBox*, 4> gameKindBoxes_{};
    std::array<QCheckBox*, 4> rankBoxes_{};
    std::array<QCheckBox*, 4> ratingRankBoxes_{};

    QTabBar* tabBar_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    GeneralPage* generalPage_ = nullptr;
    GraphPage* graphPage_ = nullptr;
    WinsPage* winsPage_ = nullptr;
    HandInfoPage* handInfoPage_ = nullptr;
    HourlyPage* hourlyPage_ = nullptr;
    OpponentsPage* opponentsPage_ = nullptr;
    std::array<RatingDistPage*, 2> ratingDistPages_{};
    std::unique_ptr<GraphWindow> graphWindow_;

    present::PageLists lists_;
    present::PageCharts charts_;
    bool separateChart_ = false;
    int tallyCount_ = 0;
};

}  // namespace obrenta::ui
