#pragma once

#include <QTreeView>
#include <functional>
#include <map>
#include <string>

namespace obrenta::ui {

class ListModel;

// A list view in report form over a ListModel: full-row single selection, no tree decoration,
// the model's column widths and alignment, and Ctrl+C copying as tab-separated text.
class ListTreeView : public QTreeView {
    Q_OBJECT

public:
    explicit ListTreeView(ListModel* model, QWidget* parent = nullptr);

    ListModel* listModel() const { return model_; }
    // Shows the sort arrow on column (ascending or not); column -1 hides it.
    void ShowSortIndicator(int column, bool ascending);
    // The selected row, or every row when none is selected, with the headings on top; only the
    // columns that are shown.
    QString CopyText() const;
    int SelectedRow() const;
    void SelectRow(int row);
    // The drawn width of a column: the model's width, widened for the face in use.
    int DrawnColumnWidth(int column) const;
    // The size the list asks the page's layout for (its place on the page template).
    void SetPreferredSize(QSize size) {
        preferredSize_ = size;
        updateGeometry();
    }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Scrolls row into view, now and again whenever the view is shown, resized or laid out,
    // until it has been done on screen: a hidden or not yet laid out view scrolls by a viewport
    // size it does not have yet.
    void KeepRowVisible(int row);
    // While on, a refill's request to bring a row into view is followed only when the list was
    // scrolled to its end (it follows the newest row); otherwise the user's position stays.
    void SetKeepScrollOnRefill(bool on) { keepScrollOnRefill_ = on; }
    // The list in the "数値" CSV form, when it has one; "CSVで保存..." then offers it beside the
    // text form.
    std::function<std::string()> valuesCsv;
    // The widths the user gave columns by dragging their heading edges, by column.
    const std::map<int, int>& userColumnWidths() const { return userWidths_; }

public slots:
    void ApplyColumnLayout();
    void CopyToClipboard();
    // Asks for a file and saves every row of the list there as CSV ("CSVで保存...").
    void SaveCsvAs();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;

private:
    // A refill rebuilds the rows; the view takes back the selected row (found by its first cell)
    // and the scroll position it had.
    struct ViewState {
        bool saved = false;
        int selectedRow = -1;
        std::string selectedKey;
        QPoint scroll;
        bool atEnd = false;
    };
    void RememberViewState();
    void RestoreViewState();
    void ScrollToPendingRow();
    void FinishPendingRowLater();

    ListModel* model_;
    int pendingRow_ = -1;
    bool finishQueued_ = false;
    QSize preferredSize_;
    double columnScale_;
    std::map<int, int> userWidths_;
    ViewState viewState_;
    bool headingPressed_ = false;
    bool applyingLayout_ = false;
    bool keepScrollOnRefill_ = false;
    bool wasAtEnd_ = true;
};

}  // namespace obrenta::ui
