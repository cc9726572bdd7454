#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QWidget>

#include "desktop/platform/BoxText.h"
#include "desktop/platform/QtFileFilter.h"
#include "desktop/platform/ScreenFit.h"
#include "desktop/platform/Twips.h"

namespace zv {
namespace {

// The offscreen screen reports 96 DPI both ways: 15 twips to the pixel.
TEST(TwipsTest, FifteenTwipsToThePixelRoundedToTheNearest) {
    EXPECT_EQ(PixelsToTwipsX(640), 9600);
    EXPECT_EQ(PixelsToTwipsY(480), 7200);
    EXPECT_EQ(TwipsToPixelsY(-1500), -100);
    EXPECT_EQ(TwipsToPixelsX(1507), 100);
    EXPECT_EQ(TwipsToPixelsX(1508), 101);
    EXPECT_EQ(TwipsToPixelsY(8), 1);
}

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

TEST(QtFileFilterTest, EachEntryShowsItsPatternOnceAndAStrayDescriptionIsDropped) {
    const std::pair<const char*, QString> cases[] = {
        {"Zarvoﾃﾞｰﾀﾌｧｲﾙ(*.mtb)|*.mtb|全てのﾌｧｲﾙ(*.*)|*.*",
         QStringLiteral("Zarvoﾃﾞｰﾀﾌｧｲﾙ(*.mtb);;全てのﾌｧｲﾙ(*)")},
        {"Pictures|*.png;*.jpg|Text (plain)|*.txt",
         QStringLiteral("Pictures (*.png *.jpg);;Text (plain) (*.txt)")},
        {"Data|*.mtb|Stray", QStringLiteral("Data (*.mtb)")},
        {"", QString()},
    };
    for (const auto& [filter, expected] : cases)
        EXPECT_EQ(QtFileFilter(filter), expected) << filter;
}

TEST(BoxTextTest, LongLinesBreakInsidePathsOnlyAfterTheirSeparators) {
    const QFontMetrics metrics(QApplication::font());
    const int width = metrics.averageCharWidth() * 30;
    const QString quoted = QStringLiteral(
        "/home/user/写真とビデオのバックアップ/京都旅行 2025 秋/IMG_0001 (コピー).JPG");
    const QString alone = QStringLiteral("/srv/共有フォルダ/my documents/tax return 2025.pdf");
    const struct {
        QString line;
        QString path;
    } cases[] = {
        {QStringLiteral("'") + quoted + QStringLiteral("'をﾘｽﾄから消去してよろしいですか？"),
         quoted},
        {alone, alone},
    };
    for (const auto& c : cases) {
        const QStringList lines =
            BrokenForBox(QStringLiteral("短い行\n") + c.line, metrics, width).split('\n');
        ASSERT_GE(lines.size(), 3) << c.line.toStdString();
        EXPECT_EQ(lines.front(), QStringLiteral("短い行"));
        EXPECT_EQ(lines.mid(1).join(QString()), c.line) << "every character kept";
        const qsizetype pathStart = c.line.indexOf(c.path);
        qsizetype at = 0;
        for (const QString& line : lines.mid(1)) {
            at += line.size();
            EXPECT_LE(metrics.horizontalAdvance(line), width) << line.toStdString();
            if (at > pathStart && at < pathStart + c.path.size()) {
                EXPECT_TRUE(line.endsWith('/')) << line.toStdString();
            }
        }
    }
}

}  // namespace
}  // namespace zv
