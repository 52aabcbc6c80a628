#include "ui/StatusLine.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QResizeEvent>

#include "ui/QtText.h"

namespace obrenta::ui {

namespace {

// A path shortened in the middle to the label's width, whatever that turns out to be.
class PathLabel : public QLabel {
public:
    void SetPath(const QString& path) {
        path_ = path;
        setToolTip(path);
        Shorten();
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        Shorten();
    }

private:
    void Shorten() { setText(fontMetrics().elidedText(path_, Qt::ElideMiddle, contentsRect().width())); }

    QString path_;
};

// A dark red that reads on the light and the dark window colours alike.
void SetWarning(QLabel* label, bool warning) {
    QPalette palette;
    if (warning) palette.setColor(QPalette::WindowText, QColor(0xc0, 0x20, 0x10));
    label->setPalette(palette);
}

}  // namespace

StatusLine::StatusLine(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
    auto* line = new QWidget();
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(4, 0, 4, 0);
    path_ = new PathLabel();
    log_ = new QLabel();
    notice_ = new QLabel();
    // The path gives way first; it is shortened to whatever room the texts leave it.
    path_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    path_->setMinimumWidth(0);
    path_->setTextFormat(Qt::PlainText);
    log_->setTextFormat(Qt::PlainText);
    notice_->setTextFormat(Qt::PlainText);
    layout->addWidget(path_, 1);
    layout->addWidget(log_);
    layout->addWidget(notice_);
    addWidget(line, 1);
    SetWarning(notice_, true);
    notice_->hide();
}

void StatusLine::Show(const QString& logPath, const present::StatusText& text, const QString& toolTip) {
    logPath_ = logPath;
    log_->setText(ToQString(text.logText));
    log_->setToolTip(log_->text());
    logWarning_ = text.logWarning;
    SetWarning(log_, logWarning_);
    notice_->setText(ToQString(text.notice));
    notice_->setToolTip(notice_->text());
    notice_->setVisible(!text.notice.empty());
    static_cast<PathLabel*>(path_)->SetPath(logPath);
    if (!toolTip.isEmpty()) path_->setToolTip(toolTip);
}

QString StatusLine::shownPath() const {
    return path_->text();
}

QString StatusLine::logText() const {
    return log_->text();
}

QString StatusLine::notice() const {
    return notice_->text();
}

}  // namespace obrenta::ui
