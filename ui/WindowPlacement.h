#pragma once

#include <QRect>

class QWidget;

namespace obrenta::ui {

// Whether a window with this frame would show enough of its title bar on some screen to be
// dragged back; a place saved on a screen that is gone is not.
bool ReachableOnScreen(const QRect& frame);

// The top-left corner that centres a window of size on the screen anchor is on (the primary
// screen when anchor is null or has none).
QPoint CentredOnScreenOf(const QWidget* anchor, const QSize& size);

}  // namespace obrenta::ui
