#include "ui/StatsPage.h"

#include <QAction>
#include <QBoxLayout>
#include <QChartView>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include "present/ListCaptions.h"
#include "present/TableDefinitions.h"
#include "settings/AppSettings.h"
#include "ui/BarChartView.h"
#include "ui/LineChartView.h"
#include "ui/ListModel.h"
#include "ui/ListToolTips.h"
#include "ui/ListTreeView.h"
#include "ui/NameSearch.h"
#include "ui/PeriodChartView.h"
#include "ui/QtText.h"
#include "ui/UiStyle.h"

namespace obrenta::ui {

namespace {

// The page templates leave 7 dialog units around and between their lists.
constexpr int kMarginUnits = 7;
constexpr int kGapUnits = 3;

void SetPageMargins(QBoxLayout* layout, const QFont& font) {
    const int x = DialogUnitsX(font, kMarginUnits);
    const int y = DialogUnitsY(font, kMarginUnits);
    layout->setContentsMargins(x, y, x, y);
    layout->setSpacing(DialogUnitsX(font, kGapUnits));
}

QBoxLayout* Row(const QFont& font) {
    auto* layout = new QHBoxLayout();
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(DialogUnitsX(font, kGapUnits));
    return layout;
}

QBoxLayout* Column(const QFont& font) {
    auto* layout = new QVBoxLayout();
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(DialogUnitsY(font, kGapUnits + 2));
    return layout;
}

// Lists share a page's height in the proportions of their places on the page.
int HeightUnits(present::ListId id) {
    return present::ListSizeUnits(id).height;
}

}  // namespace

StatsPage::StatsPage(QWidget* parent) : QWidget(parent) {
    setFont(UiFont());
}

StatsPage::Picture StatsPage::pagePicture() const {
    if (ChartView* chart = pageChart()) return {chart->view(), chart->objectName()};
    return {};
}

ListTreeView* StatsPage::AddList(present::ListId id) {
    auto* model = new ListModel(this);
    auto* view = new ListTreeView(model, this);
    const present::ListSize size = present::ListSizeUnits(id);
    view->SetPreferredSize(DialogUnits(font(), size.width, size.height));
    view->setObjectName(ToQString(present::ListName(id)));
    lists_.emplace_back(id, view);
    new ListToolTips(view, id);
    if (present::IsSortable(id)) {
        view->header()->setSectionsClickable(true);
        connect(view->header(), &QHeaderView::sectionClicked, this,
                [this, id](int column) { OnColumnClick(id, column); });
    }
    return view;
}

QWidget* StatsPage::AddCaptionedList(present::ListId id) {
    ListTreeView* view = AddList(id);
    const std::string& caption = present::ListCaption(id);
    if (caption.empty()) return view;
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(DialogUnitsY(font(), 1));
    layout->addWidget(view, 1);
    auto* label = new QLabel(ToQString(caption), box);
    label->setObjectName(view->objectName() + QStringLiteral("Caption"));
    label->setWordWrap(true);
    label->setForegroundRole(QPalette::PlaceholderText);
    layout->addWidget(label);
    return box;
}

ListTreeView* StatsPage::listView(present::ListId id) const {
    for (const auto& [listId, view] : lists_) {
        if (listId == id) return view;
    }
    return nullptr;
}

void StatsPage::AttachSettings(settings::AppSettings* settings) {
    settings_ = settings;
    UpdateSortIndicators();
}

void StatsPage::OnColumnClick(present::ListId id, int column) {
    ListTreeView* view = listView(id);
    if (settings_ == nullptr || view == nullptr) {
        // No order to keep yet: put the arrow back as it was.
        UpdateSortIndicators();
        return;
    }
    present::OnColumnClick(id, column, *view->listModel(), *settings_);
    UpdateSortIndicators();
}

void StatsPage::UpdateSortIndicators() {
    for (const auto& [id, view] : lists_) {
        if (!present::IsSortable(id)) continue;
        if (settings_ == nullptr) {
            view->ShowSortIndicator(-1, true);
            continue;
        }
        // The last column with a state decides the order the list ends up in.
        const auto states = present::SortStates(id, static_cast<const settings::AppSettings&>(*settings_));
        int column = -1;
        for (int k = 0; k < static_cast<int>(states.size()); ++k) {
            if (states[k] != 0) column = k;
        }
        if (column < 0) {
            view->ShowSortIndicator(-1, true);
            continue;
        }
        // The first order is ascending for the name column and largest first for numbers.
        const bool firstOrder = states[column] == 1;
        view->ShowSortIndicator(column, column == 0 ? firstOrder : !firstOrder);
    }
}

GeneralPage::GeneralPage(QWidget* parent) : StatsPage(parent) {
    using present::ListId;
    const QFont f = font();
    auto* page = new QVBoxLayout(this);
    SetPageMargins(page, f);

    auto* top = Row(f);
    auto* left = Column(f);
    // Widths follow each list's size hint (its place on the template, or its columns when
    // they need more); heights keep the template's proportions.
    left->addWidget(AddList(ListId::GameSummaryTable), HeightUnits(ListId::GameSummaryTable));
    auto* ratingPoints = Row(f);
    ratingPoints->addWidget(AddList(ListId::RatingTable));
    ratingPoints->addWidget(AddList(ListId::PointsTable));
    left->addLayout(ratingPoints, HeightUnits(ListId::RatingTable));
    top->addLayout(left);
    top->addWidget(AddList(ListId::RecentGamesList));
    page->addLayout(top, HeightUnits(ListId::RecentGamesList));

    auto* bottom = Row(f);
    bottom->addWidget(AddCaptionedList(ListId::RankTable));
    bottom->addWidget(AddList(ListId::StreakTable));
    page->addLayout(bottom, HeightUnits(ListId::RankTable));
}

void ChartPage::FillWithChart(ChartView& chart) {
    pageChart_ = &chart;
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(chart.view());
}

GraphPage::GraphPage(QWidget* parent) : ChartPage(parent) {
    chart_ = new LineChartView(this);
    FillWithChart(*chart_);
}

RatingDistPage::RatingDistPage(QWidget* parent) : ChartPage(parent) {
    chart_ = new BarChartView(this);
    FillWithChart(*chart_);
}

WinsPage::WinsPage(QWidget* parent) : StatsPage(parent) {
    using present::ListId;
    const QFont f = font();
    auto* page = new QVBoxLayout(this);
    SetPageMargins(page, f);
    const struct {
        const char* title;
        ListId han;
        ListId yaku;
    } groups[] = {{"自分", ListId::HanTableOwn, ListId::YakuListOwn},
                  {"相手", ListId::HanTableOther, ListId::YakuListOther}};
    for (const auto& group : groups) {
        auto* box = new QGroupBox(QString::fromUtf8(group.title), this);
        auto* inside = new QHBoxLayout(box);
        inside->setContentsMargins(DialogUnitsX(f, 4), DialogUnitsY(f, 4), DialogUnitsX(f, 4),
                                   DialogUnitsY(f, 4));
        inside->setSpacing(DialogUnitsX(f, kGapUnits));
        inside->addWidget(AddList(group.han));
        inside->addWidget(AddList(group.yaku), 1);
        page->addWidget(box);
    }
}

HandInfoPage::HandInfoPage(QWidget* parent) : StatsPage(parent) {
    using present::ListId;
    auto* page = new QVBoxLayout(this);
    SetPageMargins(page, font());
    page->addWidget(AddCaptionedList(ListId::HandOutcomeTable), HeightUnits(ListId::HandOutcomeTable));
    page->addWidget(AddCaptionedList(ListId::LastHandTable), HeightUnits(ListId::LastHandTable));
    page->addWidget(AddCaptionedList(ListId::LastHandWonTable), HeightUnits(ListId::LastHandWonTable));
}

HourlyPage::HourlyPage(QWidget* parent) : StatsPage(parent) {
    auto* page = new QVBoxLayout(this);
    SetPageMargins(page, font());
    page->addWidget(AddList(present::ListId::HourlyTable));
}

OpponentsPage::OpponentsPage(QWidget* parent) : StatsPage(parent) {
    const QFont f = font();
    auto* page = new QVBoxLayout(this);
    SetPageMargins(page, f);
    page->addWidget(AddList(present::ListId::OpponentList), 1);
    auto* search = Row(f);
    searchEdit_ = new QLineEdit(this);
    searchEdit_->setMinimumWidth(DialogUnitsX(f, 63));
    searchEdit_->setObjectName(QStringLiteral("opponentSearch"));
    downButton_ = new QPushButton(QStringLiteral("検索 (下)"), this);
    upButton_ = new QPushButton(QStringLiteral("検索 (上)"), this);
    search->addWidget(searchEdit_);
    search->addWidget(downButton_);
    search->addWidget(upButton_);
    searchMessage_ = new QLabel(this);
    search->addWidget(searchMessage_);
    search->addStretch(1);
    page->addLayout(search);
    connect(searchEdit_, &QLineEdit::textEdited, searchMessage_, &QLabel::clear);
    connect(downButton_, &QPushButton::clicked, this, [this] { FindOpponent(+1); });
    connect(upButton_, &QPushButton::clicked, this, [this] { FindOpponent(-1); });

    // Enter in the search box searches downward instead of running the tally, and leaves the
    // focus in the box, so that each further Enter finds the next name.
    searchEdit_->installEventFilter(this);
    connect(searchEdit_, &QLineEdit::returnPressed, this, [this] {
        FindOpponent(+1);
        searchEdit_->setFocus();
    });
    // F3 and Shift+F3 search on while the page is shown, wherever the focus is in the window.
    auto searchKey = [this](QKeySequence key, int direction) {
        auto* action = new QAction(this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, direction] { FindOpponent(direction); });
        addAction(action);
    };
    searchKey(QKeySequence(Qt::Key_F3), +1);
    searchKey(QKeySequence(Qt::SHIFT | Qt::Key_F3), -1);
}

bool OpponentsPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == searchEdit_ && event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Claimed here, the key reaches the box rather than the window's tally shortcut.
            event->accept();
            return true;
        }
    }
    return StatsPage::eventFilter(watched, event);
}

void OpponentsPage::FindOpponent(int direction) {
    ListTreeView* view = listView(present::ListId::OpponentList);
    const ListModel* model = view->listModel();
    // A character code page 932 lacks can be in no name.
    const std::optional<std::string> typed = ToCp932(searchEdit_->text());
    const int row = !typed ? -1
                           : FindMatchingRow(model->RowCount(), view->SelectedRow(), direction,
                                             CutAtCharBoundary(*typed, kMaxSearchBytes),
                                             [model](int r) { return model->Cell(r, 0); });
    if (row < 0) {
        searchMessage_->setText(QStringLiteral("見つかりません"));
        return;
    }
    searchMessage_->clear();
    view->setFocus();
    view->SelectRow(row);
}

TrendPage::TrendPage(QWidget* parent) : StatsPage(parent) {
    using present::ListId;
    const QFont f = font();
    auto* page = new QVBoxLayout(this);
    SetPageMargins(page, f);

    auto* choice = Row(f);
    monthly_ = new QRadioButton(QStringLiteral("月別"), this);
    yearly_ = new QRadioButton(QStringLiteral("年別"), this);
    monthly_->setChecked(true);
    choice->addWidget(monthly_);
    choice->addWidget(yearly_);
    choice->addStretch(1);
    page->addLayout(choice);
    // The period list has more columns than the page is wide: it scrolls sideways rather than
    // widen the window, whose size the other pages set.
    ListTreeView* periods = AddList(ListId::PeriodList);
    periods->setSizePolicy(QSizePolicy::Ignored, periods->sizePolicy().verticalPolicy());
    page->addWidget(periods, HeightUnits(ListId::PeriodList));
    chart_ = new PeriodChartView(this);
    chart_->setObjectName(QStringLiteral("periodChart"));
    page->addWidget(chart_, HeightUnits(ListId::PeriodList) * 4 / 3);

    auto* form = Row(f);
    form->addWidget(new QLabel(QStringLiteral("直近"), this));
    formGames_ = new QSpinBox(this);
    formGames_->setRange(1, 100000);
    formGames_->setValue(100);
    formGames_->setObjectName(QStringLiteral("formGames"));
    form->addWidget(formGames_);
    form->addWidget(
        new QLabel(QStringLiteral("戦をそれ以前と比較 (差の95%信頼区間が0を含まなければ有意)"), this));
    form->addStretch(1);
    page->addLayout(form);
    ListTreeView* formList = AddList(ListId::FormTable);
    formList->setSizePolicy(QSizePolicy::Ignored, formList->sizePolicy().verticalPolicy());
    page->addWidget(formList, HeightUnits(ListId::FormTable) * 5 / 2);

    connect(yearly_, &QRadioButton::toggled, this, [this](bool on) { emit PeriodChoiceChanged(on); });
    connect(formGames_, &QSpinBox::valueChanged, this, [this](int games) { emit FormGamesChanged(games); });
}

StatsPage::Picture TrendPage::pagePicture() const {
    return {chart_->view(), QStringLiteral("PeriodChart")};
}

void TrendPage::ShowChoices(bool yearly, int formGames) {
    const QSignalBlocker blockYearly(yearly_);
    const QSignalBlocker blockMonthly(monthly_);
    const QSignalBlocker blockGames(formGames_);
    (yearly ? yearly_ : monthly_)->setChecked(true);
    formGames_->setValue(formGames);
}

StylePage::StylePage(QWidget* parent) : StatsPage(parent) {
    auto* page = new QVBoxLayout(this);
    SetPageMargins(page, font());
    // Its intervals make the list wider than the page: it scrolls sideways instead.
    ListTreeView* style = AddList(present::ListId::StyleTable);
    style->setSizePolicy(QSizePolicy::Ignored, style->sizePolicy().verticalPolicy());
    page->addWidget(style, 1);
    auto* note = new QLabel(ToQString(present::StylePageNote()), this);
    note->setWordWrap(true);
    page->addWidget(note);
}

DealInPage::DealInPage(QWidget* parent) : StatsPage(parent) {
    using present::ListId;
    const QFont f = font();
    auto* page = new QVBoxLayout(this);
    SetPageMargins(page, f);
    // Five lists and a note share a page no taller than the others': each asks for a few rows
    // (their sizes in present/) and the room the window has beyond that goes to the lists that
    // have more rows to show. The wide ones scroll sideways rather than widen the window, as on
    // 打ち筋.
    auto add = [this](ListId id) {
        ListTreeView* view = AddList(id);
        if (id != ListId::DealInYaku)
            view->setSizePolicy(QSizePolicy::Ignored, view->sizePolicy().verticalPolicy());
        return view;
    };
    // The two tables' seven rows in full; they do not grow.
    page->addWidget(add(ListId::DealInBreakdown));
    auto* note = new QLabel(ToQString(present::DealInPageNote()), this);
    note->setObjectName(QStringLiteral("dealInNote"));
    note->setWordWrap(true);
    page->addWidget(note);
    page->addWidget(add(ListId::PointsPerHand));

    auto* middle = Row(f);
    middle->addWidget(add(ListId::DealInYaku));
    auto* opponents = new QVBoxLayout();
    opponents->setContentsMargins(0, 0, 0, 0);
    opponents->setSpacing(DialogUnitsY(f, 1));
    allOpponents_ = new QCheckBox(QStringLiteral("すべての相手を表示"), this);
    allOpponents_->setObjectName(QStringLiteral("dealInAllOpponents"));
    allOpponents_->setToolTip(QStringLiteral("チェックしないときは、同卓%1局以上の相手だけを表示します")
                                  .arg(settings::kDealInOpponentHands));
    auto* choice = Row(f);
    choice->addWidget(allOpponents_);
    auto* hint = new QLabel(
        QStringLiteral("(外すと同卓%1局以上の相手のみ)").arg(settings::kDealInOpponentHands), this);
    hint->setForegroundRole(QPalette::PlaceholderText);
    // Cut rather than widen the page when the window is at its smallest.
    hint->setSizePolicy(QSizePolicy::Ignored, hint->sizePolicy().verticalPolicy());
    choice->addWidget(hint, 1);
    opponents->addLayout(choice);
    opponents->addWidget(add(ListId::DealInOpponents), 1);
    middle->addLayout(opponents, 1);
    page->addLayout(middle, 3);

    page->addWidget(add(ListId::DealInLargest), 2);

    connect(allOpponents_, &QCheckBox::toggled, this, [this](bool on) { emit AllOpponentsChanged(on); });
}

void DealInPage::ShowAllOpponents(bool all) {
    const QSignalBlocker block(allOpponents_);
    allOpponents_->setChecked(all);
}

}  // namespace obrenta::ui
