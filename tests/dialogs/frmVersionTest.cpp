#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include "dialogs/VersionTexts.h"
#include "dialogs/frmVersion.h"
#include "platform/Twips.h"

namespace zv {
namespace {

TEST(VersionTextTest, RevisionHasAtLeastTwoDigits) {
    EXPECT_EQ(VersionText(1, 1, 4), "Version 1.104");
    EXPECT_EQ(VersionText(1, 0, 0), "Version 1.000");
    EXPECT_EQ(VersionText(2, 3, 123), "Version 2.3123");
}

QString LabelText(const QWidget& box, int index) {
    const auto* label = box.findChild<QLabel*>(QStringLiteral("objLabel(%1)").arg(index));
    return label ? label->text() : QStringLiteral("<missing>");
}

TEST(frmVersionTest, ShowsNameVersionRightsAndDisclaimer) {
    QWidget owner;
    owner.show();
    auto* box = new frmVersion(&owner);
    box->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box));

    EXPECT_EQ(box->windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(LabelText(*box, 0), QStringLiteral("Zarvopack"));
    EXPECT_EQ(LabelText(*box, 1).toStdString(),
              VersionText(ZV_VERSION_MAJOR, ZV_VERSION_MINOR, ZV_VERSION_REVISION));
    EXPECT_EQ(LabelText(*box, 2), QStringLiteral("Copyright (C) 2026 Zarvopackの作者"));
    EXPECT_EQ(LabelText(*box, 3),
              QStringLiteral("これはフリーウェアです\n"
                             "このソフトウェアを使用することによる如何なる損害も\n"
                             "Zarvopackの作者はその責任を負いかねます"));
    const auto* picture = box->findChild<QLabel*>(QStringLiteral("objPicture"));
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(picture->pixmap().isNull());

    EXPECT_FALSE(box->isModal());
    EXPECT_TRUE(box->windowFlags().testFlag(Qt::Tool));
    EXPECT_GE(box->width(), TwipsToPixelsX(5010));
    EXPECT_GE(box->height(), TwipsToPixelsY(3045));
    EXPECT_EQ(box->minimumSize(), box->maximumSize());
}

TEST(frmVersionTest, OkClosesTheBox) {
    QWidget owner;
    QPointer<frmVersion> box = new frmVersion(&owner);
    box->show();
    auto* ok = box->findChild<QPushButton*>(QStringLiteral("objButton(0)"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_TRUE(ok->isDefault());

    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(box && box->isVisible());
}

}  // namespace
}  // namespace zv
