#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QTest>

#include "desktop/dialogs/AboutDialog.h"
#include "desktop/dialogs/VersionTexts.h"
#include "tests/desktop/dialogs/DialogChecks.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

TEST(AboutDialogTest, ShowsTheBuiltVersionAndOkClosesIt) {
    EXPECT_EQ(VersionText(1, 1, 4), "Version 1.104") << "the revision has two digits";
    EXPECT_EQ(VersionText(2, 3, 12), "Version 2.312");
    QWidget owner;
    owner.show();
    QPointer<AboutDialog> box = new AboutDialog(&owner);
    box->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box));
    EXPECT_EQ(test::Control<QLabel>(*box, "objLabel(1)")->text().toStdString(),
              VersionText(ZV_VERSION_MAJOR, ZV_VERSION_MINOR, ZV_VERSION_REVISION));
    QTest::mouseClick(test::Control(*box, "objButton(0)"), Qt::LeftButton);
    EXPECT_FALSE(box && box->isVisible());
}

TEST(AboutDialogTest, NamesTheSettingsFileInUse) {
    EXPECT_EQ(SettingsFileText({"/home/u/.config/zarvopack/zarvopack.dat", false}),
              "設定ﾌｧｲﾙ：/home/u/.config/zarvopack/zarvopack.dat");
    EXPECT_EQ(SettingsFileText({"/media/stick/zarvopack.dat", true}),
              "設定ﾌｧｲﾙ：/media/stick/zarvopack.dat (ﾌﾟﾛｸﾞﾗﾑと同じﾌｫﾙﾀﾞ)");
    const test::TempFolder folder;
    QWidget owner;
    AboutDialog box(&owner);
    EXPECT_EQ(test::Control<QLabel>(box, "objLabel(4)")->text().toStdString(),
              "設定ﾌｧｲﾙ：" + folder.Settings() + " (ﾌﾟﾛｸﾞﾗﾑと同じﾌｫﾙﾀﾞ)");
}

}  // namespace
}  // namespace zv
