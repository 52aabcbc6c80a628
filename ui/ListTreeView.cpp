#include "ui/ListTreeView.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <cstdlib>

#include "present/CsvWriter.h"
#include "ui/ExportFiles.h"
#include "ui/ListModel.h"
#include "ui/UiStyle.h"

namespace obrenta::ui {

ListTreeView::ListTreeView(ListModel* model, QWidget* parent)
    : QTreeView(parent), model_(model), columnScale_(ColumnScale(UiFont())) {
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
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, &ListTreeView::RememberViewState);
    // A reset re-creates the header's sections at their default size.
    connect(model_, &QAbstractItemModel::modelReset, this, &ListTreeView::ApplyColumnLayout);
    // A refill forgets the row an earlier refill wanted in view; it asks again after the reset.
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { pendingRow_ = -1; });
    connect(model_, &QAbstractItemModel::modelReset, this, &ListTreeView::RestoreViewState);
    // Only a drag by the user sets a width of its own: the layout's own resizes, and the stretch
    // of a filling last column, happen with no button held on the heading.
    header()->viewport()->installEventFilter(this);
    connect(header(), &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        if (!headingPressed_ || applyingLayout_) return;
        if (model_->FillsLastColumn() && column == model_->ColumnCount() - 1) return;
        userWidths_[column] = size;
    });
    connect(model_, &ListModel::EnsureVisibleRequested, this, &ListTreeView::KeepRowVisible);
    ApplyColumnLayout();
}

void ListTreeView::ApplyColumnLayout() {
    QHeaderView* head = header();
    head->setStretchLastSection(model_->FillsLastColumn());
    const int count = model_->ColumnCount();
    applyingLayout_ = true;
    for (int column = 0; column < count; ++column) {
        const int width = model_->ColumnWidth(column);
        // A zero width hides a column that the table still carries.
        head->setSectionHidden(column, width == 0);
        if (width == 0) continue;
        const auto dragged = userWidths_.find(column);
        head->resizeSection(column,
                            dragged != userWidths_.end() ? dragged->second : DrawnColumnWidth(column));
    }
    applyingLayout_ = false;
    updateGeometry();
}

int ListTreeView::DrawnColumnWidth(int column) const {
    return qRound(model_->ColumnWidth(column) * columnScale_);
}

void ListTreeView::ShowSortIndicator(int column, bool ascending) {
    QHeaderView* head = header();
    if (column < 0) {
        head->setSortIndicatorShown(false);
        head->setSortIndicator(-1, Qt::AscendingOrder);
        return;
    }
    head->setSortIndicatorShown(true);
    head->setSortIndicator(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

QSize ListTreeView::sizeHint() const {
    if (!preferredSize_.isValid()) return QTreeView::sizeHint();
    // Wide enough for every column and the scroll bar.
    int columns = 0;
    for (int column = 0; column < model_->ColumnCount(); ++column) columns += DrawnColumnWidth(column);
    const int chrome = 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return {std::max(preferredSize_.width(), columns + chrome), preferredSize_.height()};
}

QSize ListTreeView::minimumSizeHint() const {
    return preferredSize_.isValid() ? QSize(40, 40) : QTreeView::minimumSizeHint();
}

int ListTreeView::SelectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListTreeView::SelectRow(int row) {
    const QModelIndex target = model_->index(row, 0);
    if (!target.isValid()) return;
    setCurrentIndex(target);
    selectionModel()->select(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(target, QAbstractItemView::EnsureVisible);
}

void ListTreeView::RememberViewState() {
    viewState_.saved = true;
    viewState_.selectedRow = SelectedRow();
    viewState_.selectedKey = viewState_.selectedRow >= 0 ? model_->Cell(viewState_.selectedRow, 0) : "";
    viewState_.scroll = {horizontalScrollBar()->value(), verticalScrollBar()->value()};
    // A row still waiting to be scrolled into view on screen counts as followed.
    viewState_.atEnd = pendingRow_ >= 0 || verticalScrollBar()->value() >= verticalScrollBar()->maximum();
}

void ListTreeView::RestoreViewState() {
    if (!viewState_.saved) return;
    viewState_.saved = false;
    wasAtEnd_ = viewState_.atEnd;
    if (viewState_.selectedRow >= 0) {
        // Of the rows that start with the same text, the one nearest to where it was.
        int best = -1;
        for (int row = 0; row < model_->RowCount(); ++row) {
            if (model_->Cell(row, 0) != viewState_.selectedKey) continue;
            if (best < 0 || std::abs(row - viewState_.selectedRow) < std::abs(best - viewState_.selectedRow))
                best = row;
        }
        if (best >= 0) {
            const QModelIndex target = model_->index(best, 0);
            selectionModel()->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
            selectionModel()->select(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
    }
    // The scroll bars learn the new rows' extent from the layout, which would otherwise wait.
    executeDelayedItemsLayout();
    horizontalScrollBar()->setValue(viewState_.scroll.x());
    verticalScrollBar()->setValue(viewState_.scroll.y());
}

void ListTreeView::KeepRowVisible(int row) {
    if (keepScrollOnRefill_ && !wasAtEnd_) return;
    pendingRow_ = row;
    ScrollToPendingRow();
    if (isVisible()) FinishPendingRowLater();
}

void ListTreeView::ScrollToPendingRow() {
    if (pendingRow_ < 0 || pendingRow_ >= model_->RowCount()) return;
    scrollTo(model_->index(pendingRow_, 0), QAbstractItemView::EnsureVisible);
}

void ListTreeView::FinishPendingRowLater() {
    // The header's height and the scroll bars settle only once the event loop has run the
    // view's delayed layout; scroll once more then, and from there on leave the scrolling to the
    // user.
    if (finishQueued_ || pendingRow_ < 0) return;
    finishQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        finishQueued_ = false;
        if (!isVisible()) return;
        ScrollToPendingRow();
        pendingRow_ = -1;
    });
}

void ListTreeView::showEvent(QShowEvent* event) {
    QTreeView::showEvent(event);
    ScrollToPendingRow();
    FinishPendingRowLater();
}

void ListTreeView::resizeEvent(QResizeEvent* event) {
    QTreeView::resizeEvent(event);
    ScrollToPendingRow();
}

void ListTreeView::updateGeometries() {
    QTreeView::updateGeometries();
    ScrollToPendingRow();
}

QString ListTreeView::CopyText() const {
    const int columns = model_->columnCount();
    auto line = [&](auto cell) {
        QStringList cells;
        // A column of width 0 is hidden on screen and so is left out of the copy as well.
        for (int column = 0; column < columns; ++column) {
            if (!isColumnHidden(column)) cells << cell(column);
        }
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

void ListTreeView::CopyToClipboard() {
    QApplication::clipboard()->setText(CopyText());
}

void ListTreeView::SaveCsvAs() {
    const QString name = objectName().isEmpty() ? QStringLiteral("list") : objectName();
    const QString textForm = QStringLiteral("CSV (*.csv)");
    const QString valuesForm = QStringLiteral("CSV 数値 (*.csv)");
    QString chosen;
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("CSVで保存"), InLastSaveFolder(name + QStringLiteral(".csv")),
        valuesCsv ? textForm + QStringLiteral(";;") + valuesForm : textForm, &chosen);
    if (path.isEmpty()) return;
    RememberSaveFolder(path);
    const bool values = valuesCsv && chosen == valuesForm;
    if (!WriteFileBytes(path, values ? valuesCsv() : present::FormatCsv(*model_)))
        QMessageBox::warning(this, QStringLiteral("Obrenta"),
                             QStringLiteral("CSVを保存できませんでした: ") + path);
}

void ListTreeView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(QStringLiteral("コピー"), QKeySequence::Copy, this, &ListTreeView::CopyToClipboard);
    menu.addAction(QStringLiteral("CSVで保存..."), this, &ListTreeView::SaveCsvAs);
    menu.exec(event->globalPos());
}

bool ListTreeView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == header()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            headingPressed_ = true;
        } else if (event->type() == QEvent::MouseButtonRelease) {
            headingPressed_ = false;
        }
    }
    return QTreeView::eventFilter(watched, event);
}

void ListTreeView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        CopyToClipboard();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

}  // namespace obrenta::ui
