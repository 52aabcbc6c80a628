#include "ui/AddUserIdDialog.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "settings/AppSettings.h"
#include "ui/NameSearch.h"
#include "ui/QtText.h"
#include "ui/UiStyle.h"

namespace obrenta::ui {

std::string StripIdBlanks(std::string_view cp932) {
    std::string noSpaces;
    for (char c : cp932) {
        if (c != ' ') noSpaces += c;
    }
    // 0x81 0x40 is only a full-width space where a character starts: 0x81 can be a trail byte.
    std::string noWide;
    for (std::size_t i = 0; i < noSpaces.size();) {
        if (IsCp932LeadByte(static_cast<unsigned char>(noSpaces[i])) && i + 1 < noSpaces.size()) {
            if (!(noSpaces[i] == '\x81' && noSpaces[i + 1] == '\x40')) noWide.append(noSpaces, i, 2);
            i += 2;
        } else {
            noWide += noSpaces[i++];
        }
    }
    std::string result;
    for (char c : noWide) {
        if (c != '\t') result += c;
    }
    return result;
}

AddUserIdDialog::AddUserIdDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("ユーザIDの追加"));
    setFont(UiFont());
    edit_ = new QLineEdit(this);
    edit_->setMinimumWidth(DialogUnitsX(font(), 90));
    message_ = new QLabel(this);
    message_->setWordWrap(true);
    message_->setStyleSheet(QStringLiteral("color: #b00000;"));
    message_->hide();
    auto* add = new QPushButton(QStringLiteral("追加"), this);
    add->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    connect(add, &QPushButton::clicked, this, &AddUserIdDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &AddUserIdDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edit_);
    layout->addWidget(message_);
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(add);
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AddUserIdDialog::accept() {
    const std::optional<std::string> converted = ToCp932(edit_->text());
    if (!converted) {
        message_->setText(QStringLiteral("Shift_JIS (コードページ932) にない文字は使えません。"));
        message_->show();
        edit_->setFocus();
        return;
    }
    std::string id = StripIdBlanks(*converted);
    if (id.size() > settings::kMaxUserIdBytes) {
        message_->setText(QStringLiteral("IDが長すぎます (%1バイト、127バイトまで)。").arg(id.size()));
        message_->show();
        edit_->setFocus();
        return;
    }
    userId_ = std::move(id);
    QDialog::accept();
}

}  // namespace obrenta::ui
