#pragma once

#include <QDialog>
#include <array>

#include "present/RatingCalculator.h"

class QLabel;
class QLineEdit;

namespace obrenta::ui {

// "Rの予測": the opponents' average R, the average rank and the R they predict. Editing either
// of the first two recomputes the prediction, editing the prediction recomputes the rank.
class RatingPredictionDialog : public QDialog {
    Q_OBJECT

public:
    RatingPredictionDialog(double opponentRMean, double avgRank, QWidget* parent = nullptr);

    QLineEdit* box(present::RatingBox which) const { return boxes_[which]; }
    QLabel* messageLabel() const { return message_; }
    int recomputeCount() const { return recomputeCount_; }

private:
    void OnEdited(int which);
    void Show(const present::RatingUpdate& update);

    present::RatingPrediction prediction_;
    std::array<QLineEdit*, 3> boxes_{};
    QLabel* message_;
    int recomputeCount_ = 0;
};

}  // namespace obrenta::ui
