#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QStringList>

#include "desktop/platform/BoxText.h"

namespace zv {
namespace {

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
