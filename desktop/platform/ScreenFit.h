#pragma once

#include <QRect>

class QWidget;

namespace zv {

// Where a window restored from the settings file may stand: its frame made
// no larger than `available` and moved inside it, so that its title bar and
// buttons are on the screen even when the settings come from a larger one.
// `titleBar` is the height the window manager adds above the frame.
QRect FittedFrame(const QRect& frame, const QRect& available, int titleBar);

// Fits a window, before it shows, to the available area of the screen it
// will show on, and once more by its real frame when the window manager has
// put one around it.
void FitToScreen(QWidget& window);

}  // namespace zv
