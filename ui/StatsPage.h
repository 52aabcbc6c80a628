#pragma once

#include <QWidget>
#include <utility>
#include <vector>

#include "present/PageContent.h"

class QChartView;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace obrenta::settings {
struct AppSettings;
}

namespace obrenta::ui {

class ListModel;
class BarChartView;
class ChartView;
class LineChartView;
class ListTreeView;
class PeriodChartView;

// One tab page of the main window. A page owns its lists (a model and a view each) and charts;
// what they show comes from present/ through the model and the chart adapter.
class StatsPage : public QWidget {
    Q_OBJECT

public:
    explicit StatsPage(QWidget* parent = nullptr);

    const std::vector<std::pair<present::ListId, ListTreeView*>>& lists() const { return lists_; }
    ListTreeView* listView(present::ListId id) const;

    // The sortable lists of the page keep their sort states in settings; until this is called
    // their headings do nothing.
    void AttachSettings(settings::AppSettings* settings);
    // Shows each sortable list's order as a sort arrow in its heading.
    void UpdateSortIndicators();
    void OnColumnClick(present::ListId id, int column);
    // The page's chart, for saving it as a picture; none on a page of lists.
    virtual ChartView* pageChart() const { return nullptr; }
    // The chart that ファイル > 画像として保存 and the export save for this page, with the file
    // name it is saved under; no view when the page has no chart.
    struct Picture {
        QChartView* view = nullptr;
        QString name;
    };
    virtual Picture pagePicture() const;

protected:
    // A list of the page, sized by its place on the page.
    ListTreeView* AddList(present::ListId id);
    // The list with its caption under it when it has one (present::ListCaption), else the list.
    QWidget* AddCaptionedList(present::ListId id);

private:
    std::vector<std::pair<present::ListId, ListTreeView*>> lists_;
    settings::AppSettings* settings_ = nullptr;
};

class GeneralPage : public StatsPage {
    Q_OBJECT
public:
    explicit GeneralPage(QWidget* parent = nullptr);
};

// One chart filling the page: the score chart, or a rating histogram.
class ChartPage : public StatsPage {
    Q_OBJECT
public:
    ChartView* pageChart() const override { return pageChart_; }

protected:
    using StatsPage::StatsPage;
    void FillWithChart(ChartView& chart);

private:
    ChartView* pageChart_ = nullptr;
};

class GraphPage : public ChartPage {
    Q_OBJECT
public:
    explicit GraphPage(QWidget* parent = nullptr);
    LineChartView& chart() const { return *chart_; }

private:
    LineChartView* chart_;
};

class RatingDistPage : public ChartPage {
    Q_OBJECT
public:
    explicit RatingDistPage(QWidget* parent = nullptr);
    BarChartView& chart() const { return *chart_; }

private:
    BarChartView* chart_;
};

class WinsPage : public StatsPage {
    Q_OBJECT
public:
    explicit WinsPage(QWidget* parent = nullptr);
};

class HandInfoPage : public StatsPage {
    Q_OBJECT
public:
    explicit HandInfoPage(QWidget* parent = nullptr);
};

class HourlyPage : public StatsPage {
    Q_OBJECT
public:
    explicit HourlyPage(QWidget* parent = nullptr);
};

class OpponentsPage : public StatsPage {
    Q_OBJECT
public:
    explicit OpponentsPage(QWidget* parent = nullptr);

    QLineEdit* searchEdit() const { return searchEdit_; }
    QPushButton* searchDownButton() const { return downButton_; }
    QPushButton* searchUpButton() const { return upButton_; }
    // Says when a search found no name; empty otherwise.
    QLabel* searchMessage() const { return searchMessage_; }

public slots:
    // Selects the next opponent (direction +1 down, -1 up) whose name holds the search text.
    void FindOpponent(int direction);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* searchEdit_;
    QPushButton* downButton_;
    QPushButton* upButton_;
    QLabel* searchMessage_;
};

// 推移: results by month or year with their intervals, and the recent games against the earlier.
class TrendPage : public StatsPage {
    Q_OBJECT
public:
    explicit TrendPage(QWidget* parent = nullptr);

    PeriodChartView& chart() const { return *chart_; }
    QRadioButton* monthlyButton() const { return monthly_; }
    QRadioButton* yearlyButton() const { return yearly_; }
    QSpinBox* formGamesBox() const { return formGames_; }
    // Shows the saved choices without announcing them.
    void ShowChoices(bool yearly, int formGames);
    Picture pagePicture() const override;

signals:
    void PeriodChoiceChanged(bool yearly);
    void FormGamesChanged(int games);

private:
    QRadioButton* monthly_;
    QRadioButton* yearly_;
    QSpinBox* formGames_;
    PeriodChartView* chart_;
};

// 打ち筋: the user's rates and hand values beside those of the other seats at the same tables.
class StylePage : public StatsPage {
    Q_OBJECT
public:
    explicit StylePage(QWidget* parent = nullptr);
};

// 放銃: where the user's points go. The deal-ins beside the field's, the points per hand by how
// the hand ended, the yaku and the players the deal-ins went to, and the largest of them.
class DealInPage : public StatsPage {
    Q_OBJECT
public:
    explicit DealInPage(QWidget* parent = nullptr);

    // Checked: every opponent in the opponent list; else those met in enough hands.
    QCheckBox* allOpponentsBox() const { return allOpponents_; }
    // Shows the saved choice without announcing it.
    void ShowAllOpponents(bool all);

signals:
    void AllOpponentsChanged(bool all);

private:
    QCheckBox* allOpponents_;
};

}  // namespace obrenta::ui
