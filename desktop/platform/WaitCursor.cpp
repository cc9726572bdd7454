#include "desktop/platform/WaitCursor.h"

#include <QWidget>

namespace zv {

WaitCursor::WaitCursor(QWidget* widget)
    : widget_(widget),
      hadOwnCursor_(widget->testAttribute(Qt::WA_SetCursor)),
      previous_(widget->cursor()) {
    widget_->setCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    if (hadOwnCursor_)
        widget_->setCursor(previous_);
    else
        widget_->unsetCursor();
}

}  // namespace zv
