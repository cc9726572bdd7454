#include "desktop/platform/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace zv {

QRect FittedFrame(const QRect& frame, const QRect& available, int titleBar) {
    const QRect room = available.adjusted(0, titleBar, 0, 0);
    QRect fitted(frame.topLeft(), frame.size().boundedTo(room.size()).expandedTo(QSize(1, 1)));
    fitted.moveLeft(std::clamp(fitted.left(), room.left(), room.right() + 1 - fitted.width()));
    fitted.moveTop(std::clamp(fitted.top(), room.top(), room.bottom() + 1 - fitted.height()));
    return fitted;
}

void FitToScreen(QWidget& window) {
    const QScreen* screen = QGuiApplication::screenAt(window.geometry().center());
    if (screen == nullptr)
        screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const int titleBar = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    const QRect fitted = FittedFrame(window.geometry(), screen->availableGeometry(), titleBar);
    // A window whose minimum is larger than the screen keeps its minimum.
    window.resize(fitted.size().expandedTo(window.minimumSize()));
    // A dialog is placed over its owner when it shows.
    if (window.parentWidget() == nullptr)
        window.move(fitted.topLeft());
}

}  // namespace zv
