#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <filesystem>

#include "core/engine/RunEngine.h"
#include "core/project/ProjectFile.h"
#include "core/project/RunResults.h"
#include "core/settings/AppState.h"
#include "desktop/dialogs/dlgPinDock.h"
#include "tests/desktop/dialogs/DialogChecks.h"
#include "tests/desktop/dialogs/YieldingUi.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

using Media = std::vector<int16_t>;

class dlgPinDockTest : public ::testing::Test {
  protected:
    dlgPinDockTest() {
        dialog_.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog_));
    }

    QLabel* Status() const { return dialog_.findChild<QLabel*>(QStringLiteral("objLabel(0)")); }
    QPushButton* Button(int i) const {
        return dialog_.findChild<QPushButton*>(QStringLiteral("objButton(%1)").arg(i));
    }
    QProgressBar* Bar(int i) const {
        return dialog_.findChild<QProgressBar*>(QStringLiteral("objProgress(%1)").arg(i));
    }
    std::string StatusText() const { return Status()->text().toStdString(); }

    // A project file of items with the given sizes and the parameters of a
    // normal run on it.
    RunParameters Project(const std::string& name, const std::vector<double>& sizes,
                          double mediaSize) {
        std::vector<ProjectItem> items;
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            const std::string path = "/data/file" + std::to_string(i);
            items.push_back({path, 0, {{path, sizes[i]}}});
        }
        RunParameters params;
        params.mediaSize = mediaSize;
        params.mediaCount = 32766;
        params.maxItems = 32766;
        params.projectFolder = folder_.Path();
        params.projectFileName = name;
        EXPECT_TRUE(ProjectFile::Write(params.ProjectFilePath(), items, RunSettings()));
        return params;
    }

    Media Results(const RunParameters& params, std::size_t items) {
        Media media(items, 0);
        EXPECT_TRUE(ReadRunResults(params.ProjectFilePath(), media));
        return media;
    }

    test::TempFolder folder_;
    test::YieldingUi ui_;
    dlgPinDock dialog_{nullptr};
};

// Sizes whose first medium of 1000 bytes takes a real search.
const std::vector<double> kSearched{900, 800, 700, 600, 500, 450, 300, 200, 120, 50};

TEST_F(dlgPinDockTest, BarsStartHiddenABarWithNoRoomIsFullAndAPauseHoldsTheStatus) {
    EXPECT_FALSE(Button(2)->isEnabled());
    EXPECT_FALSE(Bar(0)->isVisible());
    EXPECT_FALSE(Bar(1)->isVisible());
    const RunRequests& requests = dialog_.Requests();
    EXPECT_FALSE(requests.pause || requests.abort || requests.finish);
    QTest::keyClick(&dialog_, Qt::Key_Escape);
    EXPECT_TRUE(dialog_.isVisible()) << "Escape cannot close it";

    dialog_.ProgressChanged(0, {7, 7, 7, true});
    EXPECT_TRUE(Bar(0)->isVisible());
    EXPECT_EQ(Bar(0)->value(), Bar(0)->maximum());
    EXPECT_LT(Bar(0)->minimum(), Bar(0)->maximum());
    dialog_.ProgressChanged(0, {0, 3, 1, false});
    EXPECT_FALSE(Bar(0)->isVisible());

    // What the run reports while paused waits for the resume.
    dialog_.TogglePause();
    dialog_.StatusChanged("更新を取得しています");
    EXPECT_EQ(StatusText(), "停止中...再開するには「再開」ボタンを押してください");
    dialog_.TogglePause();
    EXPECT_EQ(StatusText(), "更新を取得しています");
}

TEST_F(dlgPinDockTest, ARunPausedFromTheDialogWaitsAndGoesOnWhereItWas) {
    const RunParameters plain = Project("plain.mtb", kSearched, 1000);
    {
        dlgPinDock undisturbed(nullptr);
        ASSERT_TRUE(RunEngine(plain, undisturbed.Requests(), undisturbed));
    }

    const RunParameters paused = Project("paused.mtb", kSearched, 1000);
    int waits = 0;
    std::string whilePaused;
    std::string resumed;
    ui_.onYield = [&](bool now) {
        if (waits == 0 && !dialog_.IsPaused() && Button(2)->isEnabled()) {
            QTest::mouseClick(Button(1), Qt::LeftButton);
        } else if (dialog_.IsPaused() && now && ++waits == 3) {
            whilePaused = StatusText();
            QTest::mouseClick(Button(1), Qt::LeftButton);
            resumed = StatusText();
        }
    };
    EXPECT_TRUE(RunEngine(paused, dialog_.Requests(), dialog_));
    EXPECT_EQ(waits, 3);
    EXPECT_EQ(whilePaused, "停止中...再開するには「再開」ボタンを押してください");
    EXPECT_EQ(resumed, "   1枚目の選定をしています．．．") << "the status from before the pause";
    EXPECT_EQ(Results(paused, kSearched.size()), Results(plain, kSearched.size()));
}

// Finishing a medium early keeps the run going, an abort ends it.
TEST_F(dlgPinDockTest, FinishAndAbortFromTheDialog) {
    for (const int button : {2, 0}) {
        const RunParameters params = Project(std::to_string(button) + ".mtb", kSearched, 1000);
        int clicks = 0;
        ui_.onYield = [&](bool) {
            if (clicks > 0 || !Button(2)->isEnabled())
                return;
            ++clicks;
            QTest::mouseClick(Button(button), Qt::LeftButton);
            EXPECT_TRUE(button == 2 ? dialog_.Requests().finish : dialog_.Requests().abort);
            EXPECT_TRUE(button != 2 || !Button(2)->isEnabled()) << "offered once per search";
        };
        ASSERT_EQ(RunEngine(params, dialog_.Requests(), dialog_), button == 2);
        EXPECT_EQ(clicks, 1);
        EXPECT_FALSE(dialog_.Requests().finish);
        if (button == 0) {
            EXPECT_FALSE(std::filesystem::exists(params.WorkDatabasePath()));
            break;
        }
        // Every item still found its medium, the first one ended at once.
        const Media media = Results(params, kSearched.size());
        EXPECT_EQ(std::count(media.begin(), media.end(), 0), 0);
        EXPECT_GE(*std::max_element(media.begin(), media.end()), 2);
    }
}

}  // namespace
}  // namespace zv
