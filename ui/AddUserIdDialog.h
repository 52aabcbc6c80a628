#pragma once

#include <QDialog>
#include <string>
#include <string_view>

class QLabel;
class QLineEdit;

namespace obrenta::ui {

// Removes every ASCII space, then every full-width space (only where a character starts), then
// every tab, from a code page 932 ID.
std::string StripIdBlanks(std::string_view cp932);

// "ユーザIDの追加": one edit box, "追加" and "キャンセル". It accepts only a text that converts to
// code page 932 and fits an ID slot once its blanks are gone; otherwise it stays open and says why.
class AddUserIdDialog : public QDialog {
    Q_OBJECT

public:
    explicit AddUserIdDialog(QWidget* parent = nullptr);

    // The accepted ID: code page 932, blanks removed; may be empty.
    const std::string& userId() const { return userId_; }
    QLineEdit* edit() const { return edit_; }
    QLabel* messageLabel() const { return message_; }

public slots:
    void accept() override;

private:
    QLineEdit* edit_;
    QLabel* message_;
    std::string userId_;
};

}  // namespace obrenta::ui
