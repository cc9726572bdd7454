#include "desktop/platform/ScreenFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace zv {

namespace {

const QScreen* ScreenOf(const QWidget& window) {
    const QScreen* screen = QGuiApplication::screenAt(window.geometry().center());
    if (screen == nullptr)
        screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen;
}

// Before a window shows, the frame the window manager will put around it is
// only guessed (a title bar's height); the borders and the real title bar can
// still push an edge off the screen. Once the frame is known, the window is
// fitted again by its real frame, and then left to the user.
class FrameFit : public QObject {
  public:
    static constexpr const char* kName = "frameFit";

    explicit FrameFit(QWidget& window) : QObject(&window), window_(window) {
        setObjectName(kName);
        window.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (watched != &window_ || (type != QEvent::Move && type != QEvent::Resize) ||
            !window_.isVisible())
            return false;
        const QRect frame = window_.frameGeometry();
        const QRect inner = window_.geometry();
        const QScreen* screen = ScreenOf(window_);
        if (frame == inner || screen == nullptr)
            return false;
        const QRect fitted = FittedFrame(frame, screen->availableGeometry(), 0);
        if (fitted != frame) {
            const QSize borders = frame.size() - inner.size();
            window_.resize((fitted.size() - borders).expandedTo(window_.minimumSize()));
            // A window's position is that of its frame.
            window_.move(fitted.topLeft());
        }
        window_.removeEventFilter(this);
        deleteLater();
        return false;
    }

  private:
    QWidget& window_;
};

}  // namespace

QRect FittedFrame(const QRect& frame, const QRect& available, int titleBar) {
    const QRect room = available.adjusted(0, titleBar, 0, 0);
    QRect fitted(frame.topLeft(), frame.size().boundedTo(room.size()).expandedTo(QSize(1, 1)));
    fitted.moveLeft(std::clamp(fitted.left(), room.left(), room.right() + 1 - fitted.width()));
    fitted.moveTop(std::clamp(fitted.top(), room.top(), room.bottom() + 1 - fitted.height()));
    return fitted;
}

void FitToScreen(QWidget& window) {
    const QScreen* screen = ScreenOf(window);
    if (screen == nullptr)
        return;
    const int titleBar = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    const QRect fitted = FittedFrame(window.geometry(), screen->availableGeometry(), titleBar);
    // A window whose minimum is larger than the screen keeps its minimum.
    window.resize(fitted.size().expandedTo(window.minimumSize()));
    // A dialog is placed over its owner when it shows.
    if (window.parentWidget() == nullptr)
        window.move(fitted.topLeft());
    // Only an X11 window manager makes a frame of its own after the window
    // shows. A window shown again before its frame was known keeps its one.
    if (QGuiApplication::platformName() == QLatin1String("xcb") &&
        window.findChild<QObject*>(FrameFit::kName, Qt::FindDirectChildrenOnly) == nullptr)
        new FrameFit(window);
}

}  // namespace zv
