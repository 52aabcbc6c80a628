#include "ui/FilterPanel.h"

#include <QAction>
#include <QBoxLayout>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <ctime>

#include "base/LocalTime.h"
#include "settings/AppSettings.h"
#include "ui/AddUserIdDialog.h"
#include "ui/NameSearch.h"
#include "ui/QtText.h"
#include "ui/UiStyle.h"

namespace obrenta::ui {

namespace {

constexpr int kMaxListEntries = settings::kMaxUserIds;

std::int64_t LocalSeconds(QDate date, int hour, int minute, int second) {
    return base::LocalToSeconds(date.year(), date.month(), date.day(), hour, minute, second);
}

QDate LocalDate(std::int64_t seconds) {
    const std::tm tm = base::SecondsToLocal(seconds).value_or(std::tm{});
    return QDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

QByteArray Bytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QListWidgetItem* NewIdItem(const std::string& cp932, bool enabled, QListWidget* list) {
    auto* item = new QListWidgetItem(ToQString(cp932), list);
    item->setData(Qt::UserRole, Bytes(cp932));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(enabled ? Qt::Checked : Qt::Unchecked);
    return item;
}

std::string EntryId(const QListWidgetItem* item) {
    const QByteArray bytes = item->data(Qt::UserRole).toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// A group box of four check boxes, one under the other.
QGroupBox* CheckGroup(const char* title, const std::array<const char*, 4>& texts,
                      std::array<QCheckBox*, 4>& boxes, const char* toolTip = "") {
    auto* group = new QGroupBox(QString::fromUtf8(title));
    group->setToolTip(QString::fromUtf8(toolTip));
    auto* layout = new QVBoxLayout(group);
    layout->setSpacing(1);
    layout->setContentsMargins(4, 2, 2, 2);
    for (int i = 0; i < 4; ++i) {
        boxes[i] = new QCheckBox(QString::fromUtf8(texts[i]));
        layout->addWidget(boxes[i]);
    }
    return group;
}

}  // namespace

FilterPanel::FilterPanel(QWidget* parent) : QGroupBox(QStringLiteral("フィルタ設定"), parent) {
    // Sized in dialog units of the window's font, which the panel inherits once it is placed.
    const QFont f = UiFont();
    setFixedWidth(DialogUnitsX(f, 100));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(DialogUnitsY(f, 3));

    layout->addWidget(new QLabel(QStringLiteral("ユーザID")));
    // Each ID's check box says whether its games are tallied; the selection is only what 削除
    // removes, so marking an entry never changes the tally and deleting never guesses.
    userIdList_ = new QListWidget();
    userIdList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    userIdList_->setToolTip(QStringLiteral("チェックしたIDの試合を集計します"));
    userIdList_->setFixedHeight(DialogUnitsY(f, 45));
    userIdList_->setMinimumWidth(DialogUnitsX(f, 69));
    layout->addWidget(userIdList_);

    auto* buttons = new QHBoxLayout();
    addButton_ = new QPushButton(QStringLiteral("追加"));
    deleteButton_ = new QPushButton(QStringLiteral("削除"));
    buttons->addWidget(addButton_);
    buttons->addWidget(deleteButton_);
    layout->addLayout(buttons);
    connect(addButton_, &QPushButton::clicked, this, &FilterPanel::OnAddUserId);
    connect(deleteButton_, &QPushButton::clicked, this, &FilterPanel::OnDeleteUserIds);
    connect(userIdList_, &QListWidget::itemSelectionChanged, this, &FilterPanel::UpdateIdButtons);
    connect(userIdList_->model(), &QAbstractItemModel::rowsInserted, this, &FilterPanel::UpdateIdButtons);
    connect(userIdList_->model(), &QAbstractItemModel::rowsRemoved, this, &FilterPanel::UpdateIdButtons);
    connect(userIdList_->model(), &QAbstractItemModel::modelReset, this, &FilterPanel::UpdateIdButtons);
    auto* deleteKey = new QAction(userIdList_);
    deleteKey->setShortcut(QKeySequence::Delete);
    deleteKey->setShortcutContext(Qt::WidgetShortcut);
    connect(deleteKey, &QAction::triggered, this, &FilterPanel::OnDeleteUserIds);
    userIdList_->addAction(deleteKey);

    auto dateRow = [&](QDateEdit*& edit, const char* text) {
        auto* row = new QHBoxLayout();
        edit = new QDateEdit();
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        row->addWidget(edit, 1);
        row->addWidget(new QLabel(QString::fromUtf8(text)));
        layout->addLayout(row);
    };
    dateRow(dateFrom_, "から");
    dateRow(dateTo_, "まで");
    // The range never turns empty by a slip: moving one end past the other takes it along.
    connect(dateFrom_, &QDateEdit::dateChanged, this, [this](QDate from) {
        if (dateTo_->date() < from) dateTo_->setDate(from);
    });
    connect(dateTo_, &QDateEdit::dateChanged, this, [this](QDate to) {
        if (dateFrom_->date() > to) dateFrom_->setDate(to);
    });

    auto* recentRow = new QHBoxLayout();
    recent_ = new QLineEdit();
    recent_->setAlignment(Qt::AlignCenter);
    recent_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,9}")), recent_));
    recent_->setFixedWidth(DialogUnitsX(f, 30));
    recentRow->addWidget(new QLabel(QStringLiteral("最近の")));
    recentRow->addWidget(recent_);
    recentRow->addWidget(new QLabel(QStringLiteral("試合")));
    recentRow->addStretch(1);
    layout->addLayout(recentRow);

    auto* upper = new QHBoxLayout();
    upper->addWidget(CheckGroup("卓種類", {"超ラン", "上ラン", "ラン卓", "その他"}, tableKindBoxes_));
    upper->addWidget(CheckGroup("順位", {"1位", "2位", "3位", "4位"}, rankBoxes_, "自分の最終順位"));
    layout->addLayout(upper);
    auto* lower = new QHBoxLayout();
    lower->addWidget(CheckGroup("対戦種類", {"4人打", "3人打", "東風戦", "東南戦"}, gameKindBoxes_));
    lower->addWidget(CheckGroup("R順位", {"1位", "2位", "3位", "4位"}, ratingRankBoxes_,
                                "卓の中での自分のR値の順位 (1位がいちばん高い)"));
    layout->addLayout(lower);
    layout->addStretch(1);
    UpdateIdButtons();
}

void FilterPanel::UpdateIdButtons() {
    addButton_->setEnabled(userIdList_->count() < kMaxListEntries);
    deleteButton_->setEnabled(!userIdList_->selectedItems().isEmpty());
}

FilterPanel::~FilterPanel() {
    // The list's model resets while QWidget deletes the children, after this object is gone.
    userIdList_->model()->disconnect(this);
    userIdList_->disconnect(this);
}

void FilterPanel::Load(const settings::AppSettings& settings) {
    userIdList_->clear();
    const int count = settings.UsableIdCount();
    for (int i = 0; i < count; ++i)
        NewIdItem(settings.userIds[i], settings.userIdEnabled[i] != 0, userIdList_);

    SetDateRange(settings.dateFrom, settings.dateTo);
    recent_->setText(
        QString::number(settings.recentCount < 0 ? settings::kDefaultRecentCount : settings.recentCount));

    for (int i = 0; i < 4; ++i) {
        tableKindBoxes_[i]->setChecked(settings.tableKindFilter[i] != 0);
        gameKindBoxes_[i]->setChecked(settings.gameKindFilter[i] != 0);
        rankBoxes_[i]->setChecked(settings.rankFilter[i] != 0);
        ratingRankBoxes_[i]->setChecked(settings.ratingRankFilter[i] != 0);
    }
}

void FilterPanel::Store(settings::AppSettings& settings) {
    const int entries = userIdList_->count();
    settings.userIdCount = entries;
    for (int i = 0; i < entries && i < kMaxListEntries; ++i) {
        const QListWidgetItem* item = userIdList_->item(i);
        settings.userIds[i] = CutAtCharBoundary(EntryId(item), settings::kMaxUserIdBytes);
        settings.userIdEnabled[i] = item->checkState() == Qt::Checked ? 1 : 0;
    }

    settings.dateFrom = LocalSeconds(dateFrom_->date(), 0, 0, 0);
    settings.dateTo = LocalSeconds(dateTo_->date(), 23, 59, 59);

    bool ok = false;
    const int recent = recent_->text().toInt(&ok);
    if (ok) {
        settings.recentCount = recent < 0 ? settings::kDefaultRecentCount : recent;
    } else {
        // An empty box keeps the count it had; show it again rather than run on a blank.
        recent_->setText(QString::number(settings.recentCount));
    }

    for (int i = 0; i < 4; ++i) {
        settings.tableKindFilter[i] = tableKindBoxes_[i]->isChecked() ? 1 : 0;
        settings.gameKindFilter[i] = gameKindBoxes_[i]->isChecked() ? 1 : 0;
        settings.rankFilter[i] = rankBoxes_[i]->isChecked() ? 1 : 0;
        settings.ratingRankFilter[i] = ratingRankBoxes_[i]->isChecked() ? 1 : 0;
    }
}

void FilterPanel::SetDateRange(const QDate& from, const QDate& to) {
    dateFrom_->setDate(from);
    dateTo_->setDate(to);
}

void FilterPanel::SetDateRange(std::int64_t from, std::int64_t to) {
    SetDateRange(LocalDate(from), LocalDate(to));
}

void FilterPanel::OnAddUserId() {
    if (userIdList_->count() >= kMaxListEntries) return;
    AddUserIdDialog dialog(window());
    if (dialog.exec() != QDialog::Accepted) return;
    AppendUserId(dialog.userId());
}

bool FilterPanel::AppendUserId(const std::string& cp932) {
    if (cp932.empty() || userIdList_->count() >= kMaxListEntries) return false;
    QListWidgetItem* item = NewIdItem(cp932, true, userIdList_);
    userIdList_->setCurrentItem(item, QItemSelectionModel::NoUpdate);
    return true;
}

void FilterPanel::OnDeleteUserIds() {
    QStringList names;
    for (int i = 0; i < userIdList_->count(); ++i) {
        if (userIdList_->item(i)->isSelected()) names.append(userIdList_->item(i)->text());
    }
    if (names.isEmpty()) return;
    QMessageBox box(
        QMessageBox::Question, QStringLiteral("ユーザIDの削除"),
        QStringLiteral("次のユーザIDを一覧から削除しますか？\n\n") + names.join(QLatin1Char('\n')),
        QMessageBox::NoButton, window());
    QPushButton* yes = box.addButton(QStringLiteral("削除"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.exec();
    if (box.clickedButton() != yes) return;
    for (int i = userIdList_->count() - 1; i >= 0; --i) {
        if (userIdList_->item(i)->isSelected()) delete userIdList_->takeItem(i);
    }
}

}  // namespace obrenta::ui
