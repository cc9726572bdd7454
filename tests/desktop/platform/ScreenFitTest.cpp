#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "desktop/platform/ScreenFit.h"

namespace zv {
namespace {

// A frame stored on a larger screen shrinks and moves until its title bar
// and every edge are on the smaller one; one that fits stays as it is.
TEST(ScreenFitTest, AFrameFromALargerScreenFitsTheAvailableArea) {
    const QRect screen(0, 0, 1024, 740);  // 1024x768 less a panel
    const struct {
        QRect frame;
        QRect fitted;
    } cases[] = {
        {{100, 80, 600, 400}, {100, 80, 600, 400}},
        {{200, 150, 1500, 950}, {0, 30, 1024, 710}},
        {{900, 600, 600, 400}, {424, 340, 600, 400}},
        {{-50, 0, 600, 400}, {0, 30, 600, 400}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FittedFrame(c.frame, screen, 30), c.fitted) << c.frame.x() << "," << c.frame.y();
    EXPECT_EQ(FittedFrame({10, 10, 600, 400}, {1024, 0, 800, 600}, 0), QRect(1024, 10, 600, 400))
        << "a second screen to the right";
}

TEST(ScreenFitTest, ARestoredWindowIsNoLargerThanItsScreen) {
    QWidget window;
    window.setGeometry(0, 0, 20000, 20000);
    FitToScreen(window);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(window.width(), available.width());
    EXPECT_LT(window.height(), available.height());
    EXPECT_TRUE(available.contains(window.geometry()));
}

}  // namespace
}  // namespace zv
