#include "ui/ListTreeView.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>

#include <algorithm>

#include "ui/ListModel.h"
#include "ui/UiStyle.h"

namespace obrenta::ui {

ListTreeView::ListTreeView(ListModel* model, QWidget* parent)
    : QTreeView(parent), model_(model), columnScale_(ColumnScale(UiFont()))
{
    setModel(model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(false);
    header()->setMinimumSectionSize(0);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    connect(model_, &ListModel::ColumnLayoutChanged, this, &ListTreeView::ApplyColumnLayout);
    // A reset re-creates the header's sections at their default size.
    connect(model_, &QAbstractItemModel::modelReset, this, &ListTreeView::ApplyColumnLayout);
    connect(model_, &ListModel::EnsureVisibleRequested, this, [this](int row) {
        scrollTo(model_->index(row, 0), QAbstractItemView::EnsureVisible);
    });
    ApplyColumnLayout();
}

void ListTreeView::ApplyColumnLayout()
{
    QHeaderView* head = header();
    head->setStretchLastSection(model_->FillsLastColumn());
    const int count = model_->ColumnCount();
    for (int column = 0; column < count; ++column) {
        const int width = model_->ColumnWidth(column);
        // A zero width hides a column that the table still carries.
        head->setSectionHidden(column, width == 0);
        if (width > 0) head->resizeSection(column, DrawnColumnWidth(column));
    }
    updateGeometry();
}

int ListTreeView::DrawnColumnWidth(int column) const
{
    return qRound(model_->ColumnWidth(column) * columnScale_);
}

void ListTreeView::ShowSortIndicator(int column, bool ascending)
{
    QHeaderView* head = header();
    if (column < 0) {
        head->setSortIndicatorShown(false);
        head->setSortIndicator(-1, Qt::AscendingOrder);
        return;
    }
    head->setSortIndicatorShown(true);
    head->setSortIndicator(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

QSize ListTreeView::sizeHint() const
{
    if (!preferredSize_.isValid()) return QTreeView::sizeHint();
    // Wide enough for every column and the scroll bar.
    int columns = 0;
    for (int column = 0; column < model_->ColumnCount(); ++column) columns += DrawnColumnWidth(column);
    const int chrome = 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return {std::max(preferredSize_.width(), columns + chrome), preferredSize_.height()};
}

QSize ListTreeView::minimumSizeHint() const
{
    return preferredSize_.isValid() ? QSize(40, 40) : QTreeView::minimumSizeHint();
}

int ListTreeView::SelectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListTreeView::SelectRow(int row)
{
    const QModelIndex target = model_->index(row, 0);
    if (!target.isValid()) return;
    setCurrentIndex(target);
    selectionModel()->select(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(target, QAbstractItemView::EnsureVisible);
}

QString ListTreeView::CopyText() const
{
    const int columns = model_->columnCount();
    auto line = [&](auto cell) {
        QStringList cells;
        for (int column = 0; column < columns; ++column) cells << cell(column);
        return cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    };
    QString text = line([&](int column) { return model_->headerData(column, Qt::Horizontal).toString(); });
    const int selected = SelectedRow();
    const int first = selected >= 0 ? selected : 0;
    const int last = selected >= 0 ? selected : model_->rowCount() - 1;
    for (int row = first; row <= last; ++row)
        text += line([&](int column) { return model_->index(row, column).data().toString(); });
    return text;
}

void ListTreeView::CopyToClipboard()
{
    QApplication::clipboard()->setText(CopyText());
}

void ListTreeView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        CopyToClipboard();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

}  // namespace obrenta::ui
