#pragma once

#include <QAbstractTableModel>
#include <deque>
#include <string>
#include <vector>

#include "present/ListView.h"

namespace obrenta::ui {

// The one item model behind every list of the pages. present/ writes it through the ListView
// interface (code page 932 text); Qt reads it as a flat table of display strings. Rows stay in
// exactly the order present/ gives them: the model never sorts on its own.
class ListModel : public QAbstractTableModel, public present::ListView {
    Q_OBJECT

public:
    explicit ListModel(QObject* parent = nullptr);

    // present::ListView
    void InsertColumn(int column, std::string_view heading, int width, present::Align align) override;
    int ColumnCount() const override { return static_cast<int>(columns_.size()); }
    std::string Heading(int column) const override;
    int ColumnWidth(int column) const override;
    void FillLastColumn() override;
    int InsertRow(int row, std::string_view text) override;
    void SetCell(int row, int column, std::string_view text) override;
    void DeleteAllRows() override;
    std::string Cell(int row, int column) const override;
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    void EnsureVisible(int row) override;
    void SetFirstHeading(std::string_view heading) override;
    void SetRedraw(bool on) override;
    void SortRows(const std::function<bool(int rowA, int rowB)>& less) override;

    // QAbstractItemModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    bool FillsLastColumn() const { return fillLast_; }
    // The drawn alignment: the first column is always left-aligned.
    present::Align ColumnAlign(int column) const;
    bool RedrawSuspended() const { return redrawOff_ > 0; }

signals:
    // The view applies the stored widths and the fill rule.
    void ColumnLayoutChanged();
    void EnsureVisibleRequested(int row);

private:
    struct Column {
        std::string heading;
        int width = 0;
        present::Align align = present::Align::Left;
    };
    bool Live() const { return redrawOff_ == 0; }

    std::vector<Column> columns_;
    // A deque: the refill inserts every new row at the top.
    std::deque<std::vector<std::string>> rows_;
    int redrawOff_ = 0;
    int pendingVisibleRow_ = -1;
    bool fillLast_ = false;
};

}  // namespace obrenta::ui
