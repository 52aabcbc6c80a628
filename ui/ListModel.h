#pragma once

#include <QAbstractTableModel>

#include "present/ListStore.h"

namespace obrenta::ui {

// The one item model behind every list of the pages: present/'s list store, with the Qt model
// signals around each change. present/ writes it through the ListView interface (code page 932
// text); Qt reads it as a flat table of display strings. Rows stay in exactly the order present/
// gives them: the model never sorts on its own.
class ListModel : public QAbstractTableModel, public present::ListStore {
    Q_OBJECT

public:
    explicit ListModel(QObject* parent = nullptr);

    // present::ListView, where Qt must hear of the change
    void InsertColumn(int column, std::string_view heading, int width, present::Align align) override;
    void FillLastColumn() override;
    int InsertRow(int row, std::string_view text) override;
    void SetCell(int row, int column, std::string_view text) override;
    void DeleteAllRows() override;
    void EnsureVisible(int row) override;
    void SetFirstHeading(std::string_view heading) override;
    void SetRedraw(bool on) override;
    void SortRows(const std::function<bool(int rowA, int rowB)>& less) override;

    // QAbstractItemModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    bool RedrawSuspended() const { return redrawOff_ > 0; }

signals:
    // The view applies the stored widths and the fill rule.
    void ColumnLayoutChanged();
    void EnsureVisibleRequested(int row);

private:
    bool Live() const { return redrawOff_ == 0; }
    // The first change of rows or columns while redrawing is suspended starts the one reset.
    void BeginSuspendedReset();

    int redrawOff_ = 0;
    bool resetBegun_ = false;
    bool cellsChanged_ = false;
    bool headingChanged_ = false;
    int pendingVisibleRow_ = -1;
};

}  // namespace obrenta::ui
