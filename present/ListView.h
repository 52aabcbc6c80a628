#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace obrenta::present {

enum class Align { Left, Right };

// A list view in report form, as the pages offer it. Texts are code page 932 bytes.
class ListView {
public:
    virtual ~ListView() = default;

    // Set-up. Columns are appended; the first column is always drawn left-aligned.
    virtual void InsertColumn(int column, std::string_view heading, int width, Align align) = 0;
    virtual int ColumnCount() const = 0;
    virtual std::string Heading(int column) const = 0;
    virtual int ColumnWidth(int column) const = 0;
    // Widens the last column to take the rest of the list's width.
    virtual void FillLastColumn() = 0;

    // Inserts a row at position row (0 = top) with its column-0 text; returns its index.
    virtual int InsertRow(int row, std::string_view text) = 0;
    virtual void SetCell(int row, int column, std::string_view text) = 0;
    virtual void DeleteAllRows() = 0;
    virtual std::string Cell(int row, int column) const = 0;
    virtual int RowCount() const = 0;
    virtual void EnsureVisible(int row) = 0;
    virtual void SetFirstHeading(std::string_view heading) = 0;
    virtual void SetRedraw(bool on) = 0;
    // Reorders the rows by less, which compares two rows by their current indexes. Rows that
    // compare equal keep their order.
    virtual void SortRows(const std::function<bool(int rowA, int rowB)>& less) = 0;
};

}  // namespace obrenta::present
