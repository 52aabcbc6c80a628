#include "ui/GamesWithDialog.h"

#include <QHeaderView>
#include <QVBoxLayout>

#include "present/CellFormat.h"
#include "present/GamesWith.h"
#include "ui/GameWindow.h"
#include "ui/ListModel.h"
#include "ui/ListTreeView.h"
#include "ui/QtText.h"
#include "ui/UiStyle.h"

namespace obrenta::ui {

GamesWithDialog::GamesWithDialog(std::string opponent, std::vector<tally::SelectedGame> games,
                                 GameOpener* opener, QWidget* parent)
    : QWidget(parent, Qt::Window), opponent_(std::move(opponent)), games_(std::move(games)), opener_(opener) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("GamesWithDialog"));
    setFont(UiFont());
    setWindowTitle(ToQString(present::GamesWithTitle(opponent_, games_.size())));
    auto* model = new ListModel(this);
    present::SetUpGamesWith(*model);
    present::FillGamesWith(*model, games_, opponent_);
    order_.resize(games_.size());
    for (std::size_t i = 0; i < order_.size(); ++i) order_[i] = static_cast<int>(i);
    view_ = new ListTreeView(model, this);
    view_->setObjectName(QStringLiteral("GamesWithList"));
    view_->SetPreferredSize(QSize(620, 360));
    view_->header()->setSectionsClickable(true);
    connect(view_->header(), &QHeaderView::sectionClicked, this, &GamesWithDialog::SortBy);
    connect(view_, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        if (opener_ != nullptr && index.isValid()) opener_->OpenGame(GameAt(index.row()));
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_);
    resize(660, 420);
}

void GamesWithDialog::SortBy(int column) {
    // A second click on the same heading turns the order round.
    ascending_ = column == sortColumn_ ? !ascending_ : true;
    sortColumn_ = column;
    ListModel* model = view_->listModel();
    const std::vector<int> order = present::GamesWithSortOrder(*model, column, ascending_);
    std::vector<int> games(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) games[i] = order_[static_cast<std::size_t>(order[i])];
    order_ = std::move(games);
    // The same comparison, so the rows move as the games did.
    const bool number = present::GamesWithColumnIsNumber(column);
    const bool ascending = ascending_;
    model->SortRows([model, column, number, ascending](int a, int b) {
        const std::string x = model->Cell(ascending ? a : b, column);
        const std::string y = model->Cell(ascending ? b : a, column);
        return number ? present::LeadingInteger(x) < present::LeadingInteger(y) : x < y;
    });
    view_->ShowSortIndicator(column, ascending_);
}

}  // namespace obrenta::ui
