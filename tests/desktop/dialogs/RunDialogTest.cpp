#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <algorithm>

#include "core/project/PlanRun.h"
#include "core/settings/AppState.h"
#include "desktop/dialogs/RunDialog.h"
#include "tests/desktop/dialogs/DialogChecks.h"
#include "tests/desktop/dialogs/YieldingUi.h"
#include "tests/support/TempFolder.h"

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

    // Items whose first medium of 1000 bytes takes a real search.
    static std::vector<ProjectItem> Items() {
        std::vector<ProjectItem> items;
        for (const double size : {900, 800, 700, 600, 500, 450, 300, 200, 120, 50}) {
            const std::string path = "/data/file" + std::to_string(items.size());
            items.push_back({path, 0, {{path, size}}});
        }
        return items;
    }
    static RunSettings Settings() {
        RunSettings settings;
        settings.MediaSize = "1000";
        settings.MediaNum = settings.MaxFile = 32766;
        return settings;
    }

    test::TempFolder folder_;
    test::YieldingUi ui_;
    RunDialog dialog_{nullptr};
};

TEST_F(RunDialogTest, EscapeCannotCloseItAndAPauseHoldsTheStatus) {
    EXPECT_FALSE(Button(2)->isEnabled()) << "until a search runs";
    QTest::keyClick(&dialog_, Qt::Key_Escape);
    EXPECT_TRUE(dialog_.isVisible());

    // What the run reports while paused waits for the resume.
    dialog_.TogglePause();
    dialog_.StatusChanged("更新を取得しています");
    EXPECT_EQ(StatusText(), "停止中...再開するには「再開」ボタンを押してください");
    dialog_.TogglePause();
    EXPECT_EQ(StatusText(), "更新を取得しています");
}

// A pause holds the run until it is resumed, finishing ends the search of a
// medium early and the run goes on; an abort ends the run.
TEST_F(RunDialogTest, PauseFinishAndAbortFromTheDialog) {
    for (const int button : {1, 2, 0}) {
        int clicks = 0;
        int waits = 0;
        ui_.onYield = [&](bool now) {
            if (clicks == 0 && Button(2)->isEnabled()) {
                ++clicks;
                QTest::mouseClick(Button(button), Qt::LeftButton);
                EXPECT_TRUE(button != 2 || (dialog_.Requests().finish && !Button(2)->isEnabled()))
                    << "offered once per search";
            } else if (dialog_.IsPaused() && now && ++waits == 3) {
                QTest::mouseClick(Button(1), Qt::LeftButton);
                EXPECT_EQ(StatusText(), "   1枚目の選定をしています．．．")
                    << "the status from before the pause";
            }
        };
        const PlanRunResult result = RunPlan(Items(), Settings(), dialog_.Requests(), dialog_, {});
        ASSERT_EQ(result.end, button != 0 ? RunEnd::Completed : RunEnd::Stopped) << button;
        EXPECT_EQ(clicks, 1);
        EXPECT_EQ(waits, button == 1 ? 3 : 0);
        EXPECT_FALSE(dialog_.Requests().finish);
        if (button == 0)
            break;
        EXPECT_EQ(std::count(result.media.begin(), result.media.end(), 0), 0)
            << "every item has its medium";
    }
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
        dialog_.ProgressChanged(i, {0, 200, 50, true});
        EXPECT_TRUE(caption->isVisible() && bar->isVisible());
        EXPECT_TRUE(bar->isTextVisible());
        EXPECT_EQ(bar->text(), QStringLiteral("25%"));
        dialog_.ProgressChanged(i, {0, 200, 50, false});
        EXPECT_FALSE(caption->isVisible() || bar->isVisible());
    }
}

}  // namespace
}  // namespace zv
