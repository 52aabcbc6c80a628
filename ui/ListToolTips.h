#pragma once

#include <QObject>
#include <QString>

#include "present/ListDefinitions.h"

class QModelIndex;

namespace obrenta::ui {

class ListTreeView;

// The tooltips of one list: a heading tells what its column holds (the texts are present/'s),
// and a heading or cell whose text does not fit its column shows the whole text.
class ListToolTips : public QObject {
    Q_OBJECT

public:
    ListToolTips(ListTreeView* view, present::ListId id);

    // The tooltip of a heading, or an empty text when it needs none.
    QString HeadingToolTip(int column) const;
    // The whole text of a cell that is cut, or an empty text when it fits.
    QString CellToolTip(const QModelIndex& index) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ListTreeView* view_;
    present::ListId id_;
};

}  // namespace obrenta::ui
