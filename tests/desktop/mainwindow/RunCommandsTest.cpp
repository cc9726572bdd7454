#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <functional>

#include "core/project/ProjectFile.h"
#include "desktop/dialogs/RunDialog.h"
#include "desktop/dialogs/RunSettingsDialog.h"
#include "tests/desktop/PlannedByTool.h"
#include "tests/desktop/dialogs/DialogChecks.h"
#include "tests/desktop/dialogs/YieldingUi.h"
#include "tests/desktop/mainwindow/MainWindowFixture.h"

namespace zv {
namespace {

using test::ExpectBox;
using Media = std::vector<int16_t>;
using test::Texts;

// The main window with services that let the test act while a run yields, as
// a user does; they take over from the fixture's own.
class RunCommandsTest : public test::MainWindowFixture {
  protected:
    void SetUp() override {
        for (const SettingsKey& key : {settings_keys::MediaNum, settings_keys::MaxFile})
            WriteSetting(key, "32766");
        WriteSetting(settings_keys::MaxSpeed, "0");
        Start();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }

    // A project of ten files for media of 1000 bytes, planned medium after
    // medium and saved by the command-line tool, so that it holds results.
    std::string PlannedProject(const std::string& name) {
        QStringList files{"--no-fast"};
        for (const int size : {900, 800, 700, 600, 500, 450, 300, 200, 120, 50})
            files << QString::fromStdString(MakeFile("f" + std::to_string(size), size));
        test::PlanWithTool(folder_.Path(), folder_.File(name), 1000, files);
        return folder_.File(name);
    }

    // The project opened as the user does, into a new window.
    ProjectWindow& Opened(const std::string& path) {
        run_.AnswerFile(path);
        window_->RunCommand(Command::Open);
        return *window_->ActiveProject();
    }

    // Acts in the run settings dialog, which opens modally, and presses OK.
    static void WhenSettingsOpen(std::function<void(RunSettingsDialog&)> act = {}) {
        test::WhenModal<RunSettingsDialog>([act](RunSettingsDialog& dialog) {
            if (act)
                act(dialog);
            QTest::mouseClick(test::Control(dialog, "objButton(3)"), Qt::LeftButton);
        });
    }

    // Sets the after-run action to link folders in `folder`, through Ctrl+E as
    // the user does.
    void ExportLinkFoldersAfterRunsInto(const std::string& folder) {
        WhenSettingsOpen([&](RunSettingsDialog& dialog) {
            dialog.findChild<QComboBox*>(QStringLiteral("objCombo(2)"))->setCurrentIndex(1);
            dialog.findChild<QLineEdit*>(QStringLiteral("objText(4)"))
                ->setText(QString::fromStdString(folder));
        });
        QTest::keyClick(window_.get(), Qt::Key_E, Qt::ControlModifier);
    }

    RunDialog* ShownRunDialog() const { return window_->findChild<RunDialog*>(); }
    bool Searching() const {
        return ShownRunDialog() != nullptr &&
               ShownRunDialog()
                   ->findChild<QPushButton*>(QStringLiteral("objButton(2)"))
                   ->isEnabled();
    }
    static Media MediaOf(const ProjectWindow& project) {
        Media media;
        for (const ItemRecord& item : project.Document().Items())
            media.push_back(item.Medium);
        return media;
    }
    // The run is over and its dialog gone.
    void ExpectEnded() { EXPECT_TRUE(!App().running && ShownRunDialog() == nullptr); }

    test::YieldingUi run_;
};

// While the run dialog is the active window, the commands are reached through
// the menu items their keys belong to and the tool bar.
TEST_F(RunCommandsTest, F5RunsTheProjectAsTheCommandLineToolDoesAndTheRunDialogRulesMeanwhile) {
    const std::string project = PlannedProject("desktop.mtb");
    const std::string copy = folder_.File("tool.mtb");
    std::filesystem::copy_file(project, copy);
    test::RunTool(folder_.Path(), {"run", "--no-fast", QString::fromStdString(copy)});
    const std::optional<ProjectData> byTool = ProjectFile::Read(copy, RunSettings());
    ASSERT_TRUE(byTool.has_value());

    const std::string other = PlannedProject("other.mtb");
    ProjectWindow& window = Opened(project);
    window.Document().SetModified(false);
    for (int answers = 0; answers < 6; ++answers)
        run_.Answer(MsgResult::OK);
    bool opened = false, paused = false, second = false, stopped = false;
    run_.onYield = [&](bool) {
        if (!opened && ShownRunDialog() != nullptr) {
            opened = true;
            // The run dialog is up but the running flag not yet set: the
            // project stays with its run all the same.
            EXPECT_FALSE(window_->CloseProjectWindow(window));
            run_.AnswerFile(other);
            window_->RunCommand(Command::Open);
            EXPECT_EQ(window_->ProjectWindowCount(), 2);
            EXPECT_EQ(MediaOf(window), Media(10, 0));
        } else if (!paused && Searching()) {
            paused = true;
            Item("sm_R(2)")->trigger();
            EXPECT_TRUE(ShownRunDialog()->IsPaused());
            EXPECT_EQ(EnabledButtons(), (Texts{"New", "Open", "Start", "Stop"}));
            QTest::mouseClick(Button("Start"), Qt::LeftButton);
            EXPECT_FALSE(ShownRunDialog()->IsPaused());
            Item("sm_R(2)")->trigger();
            Item("sm_R(3)")->trigger();
            EXPECT_FALSE(ShownRunDialog()->IsPaused());
            EXPECT_FALSE(window_->close());
            ExpectBox(run_.Boxes().back(), "実行中です\r\n実行を中止して終了しますか？",
                      "Zarvopack", MsgButtons::YesNo, MsgIcon::Question, 1);
        } else if (second && !stopped && Searching()) {
            stopped = true;
            Item("sm_R(4)")->trigger();
        }
    };
    WhenSettingsOpen();
    QTest::keyClick(window_.get(), Qt::Key_F5);
    Media expected;
    for (const ProjectItem& item : byTool->items)
        expected.push_back(item.medium);
    EXPECT_EQ(MediaOf(window), expected);
    EXPECT_GE(*std::max_element(expected.begin(), expected.end()), 4);
    EXPECT_EQ(window.CurrentTab(), ProjectTab::Result);
    EXPECT_TRUE(window.Document().Modified());
    ExpectEnded();

    // Stopped, the other project's run leaves it without results.
    const ProjectWindow& stoppedProject = *window_->ActiveProject();
    second = true;
    WhenSettingsOpen();
    window_->RunCommand(Command::Run);
    EXPECT_TRUE(paused && stopped);
    EXPECT_EQ(MediaOf(stoppedProject), Media(10, 0));
    ExpectEnded();
    EXPECT_EQ(EnabledButtons(), (Texts{"New", "Open", "Size", "Path", "Add", "Start", "Setup"}));
}

// A run stopped from the result tab says that the user stopped it and leaves
// no medium of the plan it cleared on view. Files dropped onto the project
// meanwhile are refused: the run reads its results back into its items.
TEST_F(RunCommandsTest, AStoppedRunSaysSoAndShowsNoOldMedium) {
    ProjectWindow& window = Opened(PlannedProject("stop.mtb"));
    window.SelectTab(ProjectTab::Result);
    const auto* chooser = window.findChild<QComboBox*>(QStringLiteral("objCombo(0)"));
    ASSERT_GE(chooser->count(), 2);
    const std::string late = MakeFile("late", 10);
    run_.Answer(MsgResult::OK);
    bool stopped = false;
    run_.onYield = [&](bool) {
        if (stopped || !Searching())
            return;
        stopped = true;
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(late))});
        QWidget* list = window.ListView(ProjectList::Files)->viewport();
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(list, &enter);
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(list, &drop);
        run_.Answer(MsgResult::OK);
        QCoreApplication::processEvents();
        ExpectBox(run_.Boxes().back(),
                  "実行中はﾌｧｲﾙを追加できません\r\n実行が終わってから、もう一度ﾄﾞﾛｯﾌﾟしてください",
                  "Zarvopack");
        run_.Answer(MsgResult::OK);
        Item("sm_R(4)")->trigger();
    };
    WhenSettingsOpen();
    QTest::keyClick(window_.get(), Qt::Key_F5);
    ASSERT_TRUE(stopped);
    ExpectBox(run_.Boxes().back(), "実行を中止しました\r\n振り分けの結果はありません", "Zarvopack");
    EXPECT_EQ(window.Document().Items().size(), 10u);
    EXPECT_EQ(MediaOf(window), Media(10, 0));
    EXPECT_EQ(chooser->count(), 1);
    EXPECT_EQ(window.ListView(ProjectList::Results)->Model().rowCount(), 10);
    ExpectEnded();
}

// Quitting during a run asks first; "はい" stops the run, and the program
// ends once the run is over.
TEST_F(RunCommandsTest, QuittingDuringARunStopsItFirst) {
    Opened(PlannedProject("quit.mtb"));
    run_.Answer(MsgResult::OK);
    bool asked = false;
    run_.onYield = [&](bool) {
        if (asked || !Searching())
            return;
        asked = true;
        run_.Answer(MsgResult::No);
        EXPECT_FALSE(window_->close());
        run_.Answer(MsgResult::Yes);
        run_.Answer(MsgResult::OK);
        Item("sm_F(16)")->trigger();
        EXPECT_TRUE(window_->isVisible()) << "not before the run has ended";
    };
    WhenSettingsOpen();
    QTest::keyClick(window_.get(), Qt::Key_F5);
    ASSERT_TRUE(asked);
    ExpectBox(run_.Boxes().back(), "実行を中止しました\r\n振り分けの結果はありません", "Zarvopack");
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(window_->ProjectWindowCount(), 0);
}

// The after-run action, set with Ctrl+E, follows a run that ended normally,
// with its progress in a run dialog; what it wrote before is replaced only
// when the user agrees.
TEST_F(RunCommandsTest, TheAfterRunActionExportsTheMediaAfterTheRun) {
    ProjectWindow& window = Opened(PlannedProject("after.mtb"));
    const std::string out = folder_.File("out");
    ExportLinkFoldersAfterRunsInto(out);
    EXPECT_TRUE(window.Document().Modified());
    bool sawExport = false;
    run_.onYield = [&](bool) {
        const auto* status = window_->findChild<QLabel*>(QStringLiteral("objLabel(0)"));
        sawExport = sawExport || (status && status->text().contains("を書き出しています"));
    };
    for (const MsgResult answer : {MsgResult::OK, MsgResult::No}) {
        for (const MsgResult each : {MsgResult::OK, MsgResult::OK, answer})
            run_.Answer(each);
        WhenSettingsOpen();
        window_->RunCommand(Command::Run);
        if (answer == MsgResult::OK) {
            ExpectBox(run_.Boxes().back(), "次のﾌｫﾙﾀﾞに書き出しました\r\n" + out,
                      "実行後の書き出し", MsgButtons::OK, MsgIcon::Information);
        } else {
            ExpectBox(
                run_.Boxes().back(),
                "次のﾌｧｲﾙまたはﾌｫﾙﾀﾞは既に存在します\r\n" + out + "/after_01\r\n上書きしますか？",
                "実行後の書き出し", MsgButtons::YesNo, MsgIcon::Exclamation, 1);
        }
        test::WriteBytes(out + "/after_01/mine", "kept");
    }
    EXPECT_TRUE(sawExport);
    EXPECT_EQ(test::ReadBytes(out + "/after_01/mine"), "kept");
    EXPECT_TRUE(std::filesystem::exists(out + "/after_04/SHA256SUMS"));
    ExpectEnded();
    EXPECT_TRUE(window.HasResults());
}

// A file larger than a medium is on no disc after the after-run export: the
// box says so with a warning and names it.
TEST_F(RunCommandsTest, TheAfterRunBoxNamesTheFilesOnNoMedium) {
    QStringList files{"--no-fast", QString::fromStdString(MakeFile("huge", 1500))};
    for (const int size : {900, 100})
        files << QString::fromStdString(MakeFile("f" + std::to_string(size), size));
    test::PlanWithTool(folder_.Path(), folder_.File("big.mtb"), 1000, files);
    Opened(folder_.File("big.mtb"));
    const std::string out = folder_.File("out");
    ExportLinkFoldersAfterRunsInto(out);
    for (int answers = 0; answers < 3; ++answers)
        run_.Answer(MsgResult::OK);
    WhenSettingsOpen();
    window_->RunCommand(Command::Run);
    ExpectBox(run_.Boxes().back(),
              "次のﾌｫﾙﾀﾞに書き出しました\r\n" + out +
                  "\r\n次の項目はどのﾒﾃﾞｨｱにも入っていないため、書き出していません：\r\n" +
                  folder_.File("huge") + " … ﾒﾃﾞｨｱ1枚より大きいため入りません\r\n",
              "実行後の書き出し", MsgButtons::OK, MsgIcon::Exclamation);
    ExpectEnded();
}

}  // namespace
}  // namespace zv
