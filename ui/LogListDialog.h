#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QPushButton;
class QTreeWidget;

namespace obrenta::ui {

// ファイル > ログの管理: the score logs read as one, in their order. Each row shows a log's path,
// the games its last read found and its state (読込済み, or why it could not be read). 追加...
// adds logs chosen in the file dialog, 削除 removes the selected one (one log always stays), 上へ
// and 下へ move it. OK hands the list back; the first log is the one ファイル > 開く replaces.
class LogListDialog : public QDialog {
    Q_OBJECT

public:
    // What a row shows of a log.
    struct LogInfo {
        std::optional<qulonglong> games;  // none for a log not read yet
        QString state;
        bool warning = false;
    };
    using Describe = std::function<LogInfo(const QString& path)>;

    // logs: absolute paths; describe tells each row's games and state, for added logs as well.
    LogListDialog(const QStringList& logs, Describe describe, QWidget* parent = nullptr);

    // The logs in the list's order.
    QStringList paths() const;
    QTreeWidget* list() const { return list_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* removeButton() const { return remove_; }
    QPushButton* upButton() const { return up_; }
    QPushButton* downButton() const { return down_; }
    // Adds logs at the end (a log already listed is only selected, and none beyond the most that
    // are read); what 追加... does with the files chosen.
    void AddLogs(const QStringList& paths);

private:
    void AddRow(const QString& path);
    void OnAdd();
    void OnRemove();
    void Move(int by);
    void UpdateButtons();

    QTreeWidget* list_;
    QPushButton* add_;
    QPushButton* remove_;
    QPushButton* up_;
    QPushButton* down_;
    Describe describe_;
};

}  // namespace obrenta::ui
