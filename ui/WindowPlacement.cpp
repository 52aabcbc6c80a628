#include "ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace obrenta::ui {

namespace {

// How much of the title bar must lie on a screen: enough to take hold of it.
constexpr int kGripWidth = 48;
constexpr int kGripHeight = 8;
constexpr int kTitleBarHeight = 24;

}  // namespace

bool ReachableOnScreen(const QRect& frame) {
    const QRect titleBar(frame.topLeft(), QSize(std::max(frame.width(), kGripWidth), kTitleBarHeight));
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect shown = screen->availableGeometry().intersected(titleBar);
        if (shown.width() >= kGripWidth && shown.height() >= kGripHeight) return true;
    }
    return false;
}

QPoint CentredOnScreenOf(const QWidget* anchor, const QSize& size) {
    const QScreen* screen = anchor != nullptr ? anchor->screen() : nullptr;
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return {};
    QRect frame(QPoint(), size);
    frame.moveCenter(screen->availableGeometry().center());
    return frame.topLeft();
}

}  // namespace obrenta::ui
