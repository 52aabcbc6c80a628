#include "ui/LogListDialog.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>

#include "settings/AppSettings.h"
#include "ui/UiStyle.h"

namespace obrenta::ui {

namespace {

enum Column { kPath, kGames, kState };

}  // namespace

LogListDialog::LogListDialog(const QStringList& logs, Describe describe, QWidget* parent)
    : QDialog(parent), describe_(std::move(describe)) {
    setWindowTitle(QStringLiteral("ログの管理"));
    setFont(UiFont());
    auto* note =
        new QLabel(QStringLiteral("ログはすべて一つとして集計します。同じ対局は一度だけ数えます。"), this);
    note->setWordWrap(true);
    list_ = new QTreeWidget(this);
    list_->setColumnCount(3);
    list_->setHeaderLabels({QStringLiteral("ログ"), QStringLiteral("試合"), QStringLiteral("状態")});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(kPath, QHeaderView::Stretch);
    list_->header()->setSectionResizeMode(kGames, QHeaderView::ResizeToContents);
    list_->header()->setSectionResizeMode(kState, QHeaderView::ResizeToContents);
    list_->setMinimumSize(DialogUnitsX(font(), 300), list_->fontMetrics().height() * 8);

    add_ = new QPushButton(QStringLiteral("追加..."), this);
    remove_ = new QPushButton(QStringLiteral("削除"), this);
    up_ = new QPushButton(QStringLiteral("上へ"), this);
    down_ = new QPushButton(QStringLiteral("下へ"), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(add_, &QPushButton::clicked, this, &LogListDialog::OnAdd);
    connect(remove_, &QPushButton::clicked, this, &LogListDialog::OnRemove);
    connect(up_, &QPushButton::clicked, this, [this] { Move(-1); });
    connect(down_, &QPushButton::clicked, this, [this] { Move(1); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::currentItemChanged, this, &LogListDialog::UpdateButtons);

    auto* side = new QVBoxLayout();
    for (QPushButton* button : {add_, remove_, up_, down_}) side->addWidget(button);
    side->addStretch(1);
    auto* middle = new QHBoxLayout();
    middle->addWidget(list_, 1);
    middle->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(middle, 1);
    layout->addWidget(buttons);

    for (const QString& path : logs) AddRow(path);
    if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));
    UpdateButtons();
}

QStringList LogListDialog::paths() const {
    QStringList paths;
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        paths.push_back(list_->topLevelItem(i)->data(kPath, Qt::UserRole).toString());
    return paths;
}

void LogListDialog::AddRow(const QString& path) {
    const LogInfo info = describe_ ? describe_(path) : LogInfo{};
    auto* item = new QTreeWidgetItem(list_);
    item->setText(kPath, QDir::toNativeSeparators(path));
    item->setToolTip(kPath, QDir::toNativeSeparators(path));
    item->setData(kPath, Qt::UserRole, path);
    item->setText(kGames, info.games ? QLocale(QLocale::English).toString(*info.games) : QStringLiteral("―"));
    item->setTextAlignment(kGames, Qt::AlignRight | Qt::AlignVCenter);
    item->setText(kState, info.state);
    if (info.warning) item->setForeground(kState, QColor(0xc0, 0x20, 0x10));
}

void LogListDialog::AddLogs(const QStringList& paths) {
    for (const QString& given : paths) {
        const QString path = QFileInfo(given).absoluteFilePath();
        const int at = static_cast<int>(this->paths().indexOf(path));
        if (at < 0 && list_->topLevelItemCount() >= settings::kMaxScoreLogs) break;
        if (at < 0) AddRow(path);
        list_->setCurrentItem(list_->topLevelItem(at < 0 ? list_->topLevelItemCount() - 1 : at));
    }
    UpdateButtons();
}

void LogListDialog::OnAdd() {
    const QStringList current = paths();
    const QString folder = current.isEmpty() ? QDir::homePath() : QFileInfo(current.back()).absolutePath();
    AddLogs(QFileDialog::getOpenFileNames(this, QString(), folder,
                                          QStringLiteral("スコアファイル(*.txt);;すべてのファイル(*)")));
}

void LogListDialog::OnRemove() {
    if (list_->topLevelItemCount() < 2) return;
    delete list_->currentItem();
    UpdateButtons();
}

void LogListDialog::Move(int by) {
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    const int to = row + by;
    if (row < 0 || to < 0 || to >= list_->topLevelItemCount()) return;
    QTreeWidgetItem* item = list_->takeTopLevelItem(row);
    list_->insertTopLevelItem(to, item);
    list_->setCurrentItem(item);
    UpdateButtons();
}

void LogListDialog::UpdateButtons() {
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    const int count = list_->topLevelItemCount();
    add_->setEnabled(count < settings::kMaxScoreLogs);
    remove_->setEnabled(row >= 0 && count > 1);
    up_->setEnabled(row > 0);
    down_->setEnabled(row >= 0 && row + 1 < count);
}

}  // namespace obrenta::ui
