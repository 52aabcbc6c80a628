#pragma once

#include <QGroupBox>
#include <array>
#include <cstdint>
#include <string>

class QCheckBox;
class QDate;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace obrenta::settings {
struct AppSettings;
}

namespace obrenta::ui {

// The filter panel on the left of the main window: the user ID list with its buttons, the date
// range, the recent-games count and the four groups of check boxes. It shows and takes back the
// filter fields of AppSettings and knows nothing of the tally or the pages.
class FilterPanel : public QGroupBox {
    Q_OBJECT

public:
    explicit FilterPanel(QWidget* parent = nullptr);
    ~FilterPanel() override;

    // Shows the settings' IDs, dates, recent count and filter flags.
    void Load(const settings::AppSettings& settings);
    // Writes what the panel shows back into the settings' filter fields. An empty recent box
    // keeps the stored count and shows it again.
    void Store(settings::AppSettings& settings);

    // Sets both date pickers, for "今日だけ" and "ずっと".
    void SetDateRange(const QDate& from, const QDate& to);
    // The same with the local dates of two times.
    void SetDateRange(std::int64_t from, std::int64_t to);

    // Appends a code page 932 ID, checked for the tally; an empty ID or a full list is ignored.
    bool AppendUserId(const std::string& cp932);

    QListWidget* userIdList() const { return userIdList_; }
    QPushButton* addUserIdButton() const { return addButton_; }
    QPushButton* deleteUserIdsButton() const { return deleteButton_; }
    QDateEdit* dateFromEdit() const { return dateFrom_; }
    QDateEdit* dateToEdit() const { return dateTo_; }
    QLineEdit* recentEdit() const { return recent_; }
    // The check boxes in the order of their settings arrays.
    const std::array<QCheckBox*, 4>& tableKindBoxes() const { return tableKindBoxes_; }
    const std::array<QCheckBox*, 4>& gameKindBoxes() const { return gameKindBoxes_; }
    const std::array<QCheckBox*, 4>& rankBoxes() const { return rankBoxes_; }
    const std::array<QCheckBox*, 4>& ratingRankBoxes() const { return ratingRankBoxes_; }

public slots:
    void OnAddUserId();
    // Removes the selected IDs after asking, naming them.
    void OnDeleteUserIds();
    // 追加 while the list has room, 削除 while an entry is selected.
    void UpdateIdButtons();

private:
    QListWidget* userIdList_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    QDateEdit* dateFrom_ = nullptr;
    QDateEdit* dateTo_ = nullptr;
    QLineEdit* recent_ = nullptr;
    std::array<QCheckBox*, 4> tableKindBoxes_{};
    std::array<QCheckBox*, 4> gameKindBoxes_{};
    std::array<QCheckBox*, 4> rankBoxes_{};
    std::array<QCheckBox*, 4> ratingRankBoxes_{};
};

}  // namespace obrenta::ui
