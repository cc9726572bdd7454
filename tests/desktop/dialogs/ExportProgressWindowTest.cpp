#include <gtest/gtest.h>

#include <QPushButton>

#include "desktop/dialogs/ExportProgressWindow.h"
#include "tests/support/ScriptedUi.h"

namespace zv {
namespace {

TEST(ExportProgressWindowTest, ShowsTheOutputFromTheFirstReportToTheEndAndHearsCancel) {
    ScriptedUi ui;
    QWidget owner;
    owner.show();
    ExportProgressWindow progress(&owner);
    QProgressDialog& window = progress.Window();
    EXPECT_FALSE(window.isVisible());
    progress.Progress("写真_01", 0.25);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowModality(), Qt::WindowModal);
    EXPECT_EQ(window.labelText(), QStringLiteral("書き出しています．．．\n写真_01"));
    EXPECT_EQ(window.value(), 250);
    EXPECT_TRUE(progress.KeepGoing());

    window.findChild<QPushButton*>()->click();
    EXPECT_FALSE(progress.KeepGoing());
    progress.Ended();
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace zv
