#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <thread>

#include "desktop/dialogs/ExportProgressWindow.h"
#include "desktop/dialogs/QueuedRunObserver.h"
#include "desktop/dialogs/RunDialog.h"
#include "tests/support/ScriptedUi.h"

namespace zv {
namespace {

class RunDialogTest : public ::testing::Test {
  protected:
    RunDialogTest() {
        dialog_.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog_));
    }

    QPushButton* Button(int i) const {
        return dialog_.findChild<QPushButton*>(QStringLiteral("objButton(%1)").arg(i));
    }
    std::string StatusText() const {
        return dialog_.findChild<QLabel*>(QStringLiteral("objLabel(0)"))->text().toStdString();
    }

    ScriptedUi ui_;
    RunDialog dialog_{nullptr};
};

TEST_F(RunDialogTest, EscapeCannotCloseItAndAPauseHoldsTheStatus) {
    EXPECT_FALSE(Button(2)->isEnabled()) << "until a search runs";
    QTest::keyClick(&dialog_, Qt::Key_Escape);
    EXPECT_TRUE(dialog_.isVisible());

    // What the run reports while paused waits for the resume.
    dialog_.TogglePause();
    dialog_.ShowStatus("更新を取得しています");
    EXPECT_EQ(StatusText(), "停止中...再開するには「再開」ボタンを押してください");
    dialog_.TogglePause();
    EXPECT_EQ(StatusText(), "更新を取得しています");
}

// What a run on another thread reports arrives in the dialog; finishing a
// medium early is offered while its search runs, once.
TEST_F(RunDialogTest, ReportsFromTheWorkerThreadArriveAndFinishIsOfferedPerSearch) {
    QueuedRunObserver observer(dialog_);
    std::thread worker([&observer] {
        observer.StatusChanged("   1枚目の選定をしています．．．");
        observer.ProgressChanged(0, {0, 200, 50, true});
        observer.DetailChanged("1枚目 0.1秒");
        observer.SearchRunning(true);
    });
    worker.join();
    auto* bar = dialog_.findChild<QProgressBar*>(QStringLiteral("objProgress(0)"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return Button(2)->isEnabled(); }, 5000));
    EXPECT_EQ(StatusText(), "   1枚目の選定をしています．．．");
    EXPECT_EQ(bar->value(), 50);
    EXPECT_EQ(dialog_.findChild<QLabel*>(QStringLiteral("objLabel(1)"))->text(),
              QStringLiteral("1枚目 0.1秒"));

    QTest::mouseClick(Button(2), Qt::LeftButton);
    EXPECT_TRUE(dialog_.Requests().finish);
    EXPECT_FALSE(Button(2)->isEnabled());
    QTest::mouseClick(Button(0), Qt::LeftButton);
    EXPECT_TRUE(dialog_.Requests().abort);
}

// The bars are the platform's own, each shown with what it measures and how
// far it has come, and only while the run reports it.
TEST_F(RunDialogTest, EachBarShowsWhatItMeasuresAndHowFar) {
    const char* captions[] = {"このﾒﾃﾞｨｱの探索：", "読込と試した容量："};
    for (int i = 0; i < 2; ++i) {
        auto* bar = dialog_.findChild<QProgressBar*>(QStringLiteral("objProgress(%1)").arg(i));
        auto* caption = dialog_.findChild<QLabel*>(QStringLiteral("objBarCaption(%1)").arg(i));
        EXPECT_EQ(caption->text().toStdString(), captions[i]);
        EXPECT_EQ(caption->buddy(), bar);
        EXPECT_TRUE(bar->styleSheet().isEmpty()) << "the platform draws it";
        EXPECT_FALSE(caption->isVisible());
        dialog_.ShowProgress(i, {0, 200, 50, true});
        EXPECT_TRUE(caption->isVisible() && bar->isVisible());
        EXPECT_TRUE(bar->isTextVisible());
        EXPECT_EQ(bar->text(), QStringLiteral("25%"));
        dialog_.ShowProgress(i, {0, 200, 50, false});
        EXPECT_FALSE(caption->isVisible() || bar->isVisible());
    }
}

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
