#include "ui/RatingPredictionDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QValidator>

#include "ui/UiStyle.h"

namespace obrenta::ui {

namespace {

// Takes every keystroke on the way to a number the box accepts; refuses the others.
class TypedNumberValidator : public QValidator {
public:
    TypedNumberValidator(present::RatingBox box, QObject* parent) : QValidator(parent), box_(box) {}
    State validate(QString& input, int&) const override {
        switch (present::CheckTypedText(box_, input.toStdString())) {
            case present::TypedText::kAcceptable:
                return Acceptable;
            case present::TypedText::kIntermediate:
                return Intermediate;
            case present::TypedText::kInvalid:
                break;
        }
        return Invalid;
    }

private:
    present::RatingBox box_;
};

}  // namespace

RatingPredictionDialog::RatingPredictionDialog(double opponentRMean, double avgRank, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Rの予測"));
    setFont(UiFont());
    auto* layout = new QGridLayout(this);
    const char* labels[3] = {"対戦相手の平均R値", "平均順位", "予測されるR値"};
    for (int i = 0; i < 3; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setAlignment(Qt::AlignCenter);
        edit->setFixedWidth(DialogUnitsX(font(), 50));
        layout->addWidget(new QLabel(QString::fromUtf8(labels[i]), this), i, 0);
        layout->addWidget(edit, i, 1);
        boxes_[i] = edit;
    }
    message_ = new QLabel(this);
    message_->setStyleSheet(QStringLiteral("color: #b00000;"));
    message_->hide();
    layout->addWidget(message_, 3, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    boxes_[present::kBoxK]->setToolTip(QStringLiteral("1から4まで"));
    prediction_ = present::OpenRatingCalculator(opponentRMean, avgRank);
    for (int i = 0; i < 3; ++i) {
        boxes_[i]->setText(QString::fromStdString(prediction_.texts[i]));
        boxes_[i]->setValidator(new TypedNumberValidator(static_cast<present::RatingBox>(i), boxes_[i]));
    }
    for (int i = 0; i < 3; ++i) {
        connect(boxes_[i], &QLineEdit::textChanged, this, [this, i] { OnEdited(i); });
    }
}

void RatingPredictionDialog::OnEdited(int which) {
    ++recomputeCount_;
    for (int i = 0; i < 3; ++i) prediction_.texts[i] = boxes_[i]->text().toStdString();
    Show(which == present::kBoxP
             ? present::RecomputeAverageRank(prediction_)
             : present::RecomputePredictedR(prediction_, static_cast<present::RatingBox>(which)));
}

void RatingPredictionDialog::Show(const present::RatingUpdate& update) {
    for (int i = 0; i < 3; ++i) {
        const QString text = QString::fromStdString(prediction_.texts[i]);
        if (!update.changed[i] || boxes_[i]->text() == text) continue;
        // Our own rewrite is no edit: it must not start another recomputation.
        const QSignalBlocker blocker(boxes_[i]);
        const int cursor = boxes_[i]->cursorPosition();
        boxes_[i]->setText(text);
        boxes_[i]->setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
    }
    if (update.notANumber) {
        message_->setText(*update.notANumber == present::kBoxK
                              ? QStringLiteral("平均順位は1から4までの数値を入力してください。")
                              : QStringLiteral("数値を入力してください。"));
        message_->show();
    } else {
        message_->hide();
    }
}

}  // namespace obrenta::ui
