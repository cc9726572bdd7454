#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <functional>

#include "core/project/ProjectFile.h"
#include "desktop/dialogs/dlgPinDock.h"
#include "desktop/dialogs/dlgRunSetting.h"
#include "tests/desktop/PlannedByTool.h"
#include "tests/desktop/dialogs/DialogChecks.h"
#include "tests/desktop/dialogs/YieldingUi.h"
#include "tests/desktop/mainwindow/MainWindowFixture.h"

namespace zv {
namespace {

using test::ExpectBox;
using Media = std::vector<int16_t>;
using Texts = std::vector<std::string>;

// The main window with services that let the test act while a run yields, as
// a user does; they take over from the fixture's own.
class RunCommandsTest : public test::MainWindowFixture {
  protected:
    void SetUp() override {
        for (const SettingsKey& key : {settings_keys::MediaNum, settings_keys::MaxFile})
            WriteSetting(key.section, key.name, "32766");
        WriteSetting(settings_keys::MaxSpeed.section, settings_keys::MaxSpeed.name, "0");
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

    // The project in a new window; the keys act on the menu states as they
    // were last worked out, here when the empty window became active.
    frmNested& Opened(const std::string& path) {
        window_->RunCommand(Command::New);
        frmNested& project = *window_->ActiveProject();
        EXPECT_TRUE(project.LoadProject(path));
        window_->RefreshMenus();
        window_->UpdateToolbar(false);
        return project;
    }

    // Acts in the run settings dialog, which opens modally, and presses OK.
    static void WhenSettingsOpen(std::function<void(dlgRunSetting&)> act = {}) {
        test::WhenModal<dlgRunSetting>([act](dlgRunSetting& dialog) {
            if (act)
                act(dialog);
            QTest::mouseClick(test::Control(dialog, "objButton(3)"), Qt::LeftButton);
        });
    }

    dlgPinDock* RunDialog() const { return window_->findChild<dlgPinDock*>(); }
    std::string RunStatus() const {
        return RunDialog()->findChild<QLabel*>(QStringLiteral("objLabel(0)"))->text().toStdString();
    }
    bool Searching() const {
        return RunDialog() != nullptr &&
               RunDialog()->findChild<QPushButton*>(QStringLiteral("objButton(2)"))->isEnabled();
    }
    static Media MediaOf(const frmNested& project) {
        Media media;
        for (const ItemRecord& item : project.Document().Items())
            media.push_back(item.Medium);
        return media;
    }
    // The run is over and its dialog gone.
    void ExpectEnded() {
        EXPECT_FALSE(App().running);
        EXPECT_EQ(RunDialog(), nullptr);
    }

    test::YieldingUi run_;
};

TEST_F(RunCommandsTest, F5RunsTheProjectThroughTheDialogsAsTheCommandLineToolDoes) {
    const std::string project = PlannedProject("desktop.mtb");
    const std::string copy = folder_.File("tool.mtb");
    std::filesystem::copy_file(project, copy);
    test::RunTool(folder_.Path(), {"run", "--no-fast", QString::fromStdString(copy)});
    const std::optional<ProjectData> byTool = ProjectFile::Read(copy, RunSettings());
    ASSERT_TRUE(byTool.has_value());

    const std::string other = PlannedProject("other.mtb");
    frmNested& window = Opened(project);
    ASSERT_TRUE(window.HasResults());
    window.Document().SetModified(false);
    run_.Answer(MsgResult::OK);
    run_.Answer(MsgResult::OK);
    bool tried = false;
    bool sawRun = false;
    run_.onYield = [&](bool) {
        sawRun = sawRun || (App().running && RunDialog() != nullptr);
        if (tried || RunDialog() == nullptr)
            return;
        tried = true;
        // The run dialog is up but the running flag not yet set: the project
        // stays with its run all the same.
        EXPECT_FALSE(App().running);
        run_.Answer(MsgResult::OK);
        EXPECT_FALSE(window_->CloseProjectWindow(window));
        EXPECT_EQ(run_.Boxes().back().text, "実行中は閉じることは出来ません");
        run_.AnswerFile(other);
        window_->RunCommand(Command::Open);
        EXPECT_EQ(window_->ProjectWindowCount(), 2);
        EXPECT_EQ(MediaOf(window), Media(10, 0));
    };
    WhenSettingsOpen();
    QTest::keyClick(window_.get(), Qt::Key_F5);

    EXPECT_TRUE(tried && sawRun);
    ASSERT_EQ(run_.Boxes().size(), 3u);
    EXPECT_EQ(run_.Boxes()[0].title, "結果情報のクリア");
    ExpectBox(run_.Boxes()[2], "実行は完了しました", AppTitle());
    EXPECT_EQ(window.windowTitle().toStdString(), "desktop");
    Media expected;
    for (const ProjectItem& item : byTool->items)
        expected.push_back(item.medium);
    EXPECT_EQ(MediaOf(window), expected);
    EXPECT_GE(*std::max_element(expected.begin(), expected.end()), 4);
    EXPECT_EQ(window.CurrentTab(), ProjectTab::Result);
    EXPECT_TRUE(window.Document().Modified());
    ExpectEnded();
}

TEST_F(RunCommandsTest, PauseResumeStopAndQuitFollowTheRunDialog) {
    frmNested& window = Opened(PlannedProject("stopped.mtb"));
    window.ClearResults();
    Texts steps;
    run_.onYield = [&](bool) {
        if (!Searching() || !steps.empty())
            return;
        steps.push_back("searching");
        // The run dialog is the active window now; the commands are reached
        // through the menu items their keys belong to and the tool bar.
        Item("sm_R(2)")->trigger();
        EXPECT_TRUE(RunDialog()->IsPaused());
        EXPECT_EQ(RunStatus(), "停止中...再開するには「再開」ボタンを押してください");
        QTest::mouseClick(Button("Start"), Qt::LeftButton);
        EXPECT_FALSE(RunDialog()->IsPaused());
        EXPECT_EQ(RunStatus(), "   1枚目の選定をしています．．．");
        Item("sm_R(2)")->trigger();
        Item("sm_R(3)")->trigger();
        EXPECT_FALSE(RunDialog()->IsPaused());
        run_.Answer(MsgResult::OK);
        EXPECT_FALSE(window_->close());
        EXPECT_EQ(run_.Boxes().back().text, "実行中は終了できません");
        Item("sm_R(4)")->trigger();
        EXPECT_TRUE(RunDialog()->Requests().abort);
        steps.push_back("stopped");
    };
    run_.Answer(MsgResult::OK);
    WhenSettingsOpen();
    QTest::keyClick(window_.get(), Qt::Key_F5);

    EXPECT_EQ(steps, (Texts{"searching", "stopped"}));
    EXPECT_EQ(run_.Boxes().back().text, "実行は失敗しました");
    EXPECT_EQ(MediaOf(window), Media(10, 0));
    ExpectEnded();
    EXPECT_EQ(EnabledButtons(), (Texts{"New", "Open", "Size", "Path", "Add", "Start", "Setup"}));
}

TEST_F(RunCommandsTest, CtrlEShowsTheRunSettingsOfTheActiveProject) {
    frmNested& window = ProjectWith({"a", "b"});
    window.Document().SetModified(false);
    WhenSettingsOpen([](dlgRunSetting& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("objText(1)"))->setText(QStringLiteral("3"));
    });
    QTest::keyClick(window_.get(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(window.GetRunSettings().MediaNum, 3);
    EXPECT_TRUE(window.Document().Modified());
    EXPECT_TRUE(Button("Save")->isEnabled());
}

// The after-run action follows a run that ended normally, with its progress
// in a run dialog; what it wrote before is replaced only when the user agrees.
TEST_F(RunCommandsTest, TheAfterRunActionExportsTheMediaAfterTheRun) {
    frmNested& window = Opened(PlannedProject("after.mtb"));
    const std::string out = folder_.File("out");
    bool sawExport = false;
    run_.onYield = [&](bool) {
        sawExport = sawExport || (RunDialog() != nullptr &&
                                  RunStatus().find("を書き出しています") != std::string::npos);
    };
    for (const MsgResult answer : {MsgResult::OK, MsgResult::No}) {
        for (const MsgResult each : {MsgResult::OK, MsgResult::OK, answer})
            run_.Answer(each);
        WhenSettingsOpen([&](dlgRunSetting& dialog) {
            dialog.findChild<QComboBox*>(QStringLiteral("objCombo(2)"))->setCurrentIndex(1);
            dialog.findChild<QLineEdit*>(QStringLiteral("objText(4)"))
                ->setText(QString::fromStdString(out));
        });
        window_->RunCommand(Command::Run);
        ASSERT_EQ(run_.Boxes().size(), answer == MsgResult::OK ? 3u : 6u);
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

}  // namespace
}  // namespace zv
