#include "ui/ListToolTips.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>

#include "ui/ListModel.h"
#include "ui/ListTreeView.h"
#include "ui/QtText.h"

namespace obrenta::ui {

namespace {

// Whether text, drawn with the view's font and the item margins of its style, needs more than
// width pixels.
bool IsCut(const QWidget* view, const QString& text, int width) {
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    return view->fontMetrics().horizontalAdvance(text) + 2 * margin > width;
}

}  // namespace

ListToolTips::ListToolTips(ListTreeView* view, present::ListId id) : QObject(view), view_(view), id_(id) {
    view_->viewport()->installEventFilter(this);
    view_->header()->viewport()->installEventFilter(this);
}

QString ListToolTips::HeadingToolTip(int column) const {
    if (column < 0 || column >= view_->listModel()->ColumnCount()) return {};
    const QString explained = ToQString(present::ColumnToolTip(id_, column));
    const QString heading = view_->listModel()->headerData(column, Qt::Horizontal).toString();
    if (!heading.isEmpty() && IsCut(view_->header(), heading, view_->header()->sectionSize(column))) {
        return explained.isEmpty() ? heading : heading + QLatin1Char('\n') + explained;
    }
    return explained;
}

QString ListToolTips::CellToolTip(const QModelIndex& index) const {
    if (!index.isValid()) return {};
    const QString text = index.data().toString();
    if (text.isEmpty() || !IsCut(view_, text, view_->visualRect(index).width())) return {};
    return text;
}

bool ListToolTips::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QObject::eventFilter(watched, event);
    const auto* help = static_cast<QHelpEvent*>(event);
    QString text;
    QRect area;
    if (watched == view_->header()->viewport()) {
        const int column = view_->header()->logicalIndexAt(help->pos());
        text = HeadingToolTip(column);
        area = QRect(view_->header()->sectionViewportPosition(column), 0,
                     view_->header()->sectionSize(column), view_->header()->height());
    } else {
        const QModelIndex index = view_->indexAt(help->pos());
        text = CellToolTip(index);
        area = view_->visualRect(index);
    }
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(help->globalPos(), text, static_cast<QWidget*>(watched), area);
    }
    return true;
}

}  // namespace obrenta::ui
