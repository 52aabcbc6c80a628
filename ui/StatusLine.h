#pragma once

#include <QStatusBar>

#include "present/StatusText.h"

class QLabel;

namespace obrenta::ui {

// The status line under the pages: the score log's path, shortened in the middle to the room
// left (the whole path in its tooltip), then what present/ says about the last Tally, and any
// notice. Warnings are drawn in a warning colour.
class StatusLine : public QStatusBar {
    Q_OBJECT

public:
    explicit StatusLine(QWidget* parent = nullptr);

    // logPath: the log's path, or what stands for several logs; toolTip: the label's tooltip
    // when it is not logPath itself.
    void Show(const QString& logPath, const present::StatusText& text, const QString& toolTip = QString());

    QString logPath() const { return logPath_; }
    // The path as drawn, after shortening.
    QString shownPath() const;
    QString logText() const;
    bool logWarning() const { return logWarning_; }
    QString notice() const;

private:
    QLabel* path_;
    QLabel* log_;
    QLabel* notice_;
    QString logPath_;
    bool logWarning_ = false;
};

}  // namespace obrenta::ui
