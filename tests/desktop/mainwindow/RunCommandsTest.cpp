#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <functional>

#include "core/project/ProjectFile.h"
#include "core/settings/SettingsKeys.h"
#include "desktop/dialogs/dlgPinDock.h"
#include "desktop/dialogs/dlgRunSetting.h"
#include "tests/desktop/dialogs/YieldingUi.h"
#include "tests/desktop/mainwindow/MainWindowFixture.h"

namespace zv {
namespace {

using test::ExpectBox;

namespace fs = std::filesystem;

using Media = std::vector<int16_t>;
using Texts = std::vector<std::string>;

const char* const kClearResults =
    "この操作を実行するには結果情報をクリアする必要があります\r\n"
    "結果情報リストをクリアして操作を続行しますか？";
const char* const kPaused = "停止中...再開するには「再開」ボタンを押してください";

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

    void Tool(const QStringList& arguments) {
        QProcess tool;
        tool.setWorkingDirectory(QString::fromStdString(folder_.Path()));
        tool.start(QStringLiteral(ZARVOPACK_CLI), arguments);
        ASSERT_TRUE(tool.waitForFinished(-1));
        ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    }

    // A project of ten files for media of 1000 bytes, planned and saved by the
    // command-line tool, so that it already holds results.
    std::string PlannedProject(const std::string& name) {
        const std::string path = folder_.File(name);
        // Medium after medium: the run dialog's steps are those of the search.
        QStringList arguments{"plan",
                              "--media-size",
                              "1000",
                              "--tolerance",
                              "0",
                              "--no-fast",
                              "--method",
                              "sequential",
                              "--fs-allowance",
                              "none",
                              "--save",
                              QString::fromStdString(path)};
        for (const int size : {900, 800, 700, 600, 500, 450, 300, 200, 120, 50})
            arguments << QString::fromStdString(MakeFile("f" + std::to_string(size), size));
        Tool(arguments);
        return path;
    }

    frmNested& Opened(const std::string& path) {
        window_->RunCommand(Command::New);
        frmNested& project = *window_->ActiveProject();
        EXPECT_TRUE(project.LoadProject(path));
        // The keys act on the states of the menus as they were last worked
        // out, here when the empty window became active.
        window_->RefreshMenus();
        window_->UpdateToolbar(false);
        return project;
    }

    // What the run settings dialog does when it opens; it opens modally, so
    // the test acts from inside its event loop.
    void WhenSettingsOpen(std::function<void(dlgRunSetting&)> act) {
        QTimer::singleShot(0, window_.get(), [act] {
            auto* dialog = qobject_cast<dlgRunSetting*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
        });
    }
    static void Press(dlgRunSetting& dialog, int button) {
        QTest::mouseClick(
            dialog.findChild<QPushButton*>(QStringLiteral("objButton(%1)").arg(button)),
            Qt::LeftButton);
    }

    dlgPinDock* RunDialog() const { return window_->findChild<dlgPinDock*>(); }
    std::string RunStatus() const {
        return RunDialog()->findChild<QLabel*>(QStringLiteral("objLabel(0)"))->text().toStdString();
    }
    bool Searching() const {
        return RunDialog() != nullptr &&
               RunDialog()->findChild<QPushButton*>(QStringLiteral("objButton(2)"))->isEnabled();
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(window_.get(), static_cast<Qt::Key>(key), modifiers);
    }

    static Media MediaOf(const frmNested& project) {
        Media media;
        for (const ItemRecord& item : project.Document().Items())
            media.push_back(item.Medium);
        return media;
    }
    test::YieldingUi run_;
};

TEST_F(RunCommandsTest, F5RunsTheProjectThroughTheDialogsAsTheCommandLineToolDoes) {
    const std::string project = PlannedProject("desktop.mtb");
    const std::string copy = folder_.File("tool.mtb");
    fs::copy_file(project, copy);
    Tool({"run", "--no-fast", QString::fromStdString(copy)});
    const std::optional<ProjectData> byTool = ProjectFile::Read(copy, RunSettings());
    ASSERT_TRUE(byTool.has_value());

    frmNested& window = Opened(project);
    ASSERT_TRUE(window.HasResults());
    window.Document().SetModified(false);
    run_.Answer(MsgResult::OK);
    run_.Answer(MsgResult::OK);
    bool sawRun = false;
    run_.onYield = [&](bool) { sawRun = sawRun || (App().running && RunDialog() != nullptr); };
    WhenSettingsOpen([](dlgRunSetting& dialog) { Press(dialog, 3); });
    Key(Qt::Key_F5);

    EXPECT_TRUE(sawRun);
    ASSERT_EQ(run_.Boxes().size(), 2u);
    ExpectBox(run_.Boxes()[0], kClearResults, "結果情報のクリア", MsgButtons::OKCancel);
    ExpectBox(run_.Boxes()[1], "実行は完了しました", AppTitle());
    Media expected;
    for (const ProjectItem& item : byTool->items)
        expected.push_back(item.medium);
    EXPECT_EQ(MediaOf(window), expected);
    EXPECT_GE(*std::max_element(expected.begin(), expected.end()), 4);
    EXPECT_EQ(window.CurrentTab(), ProjectTab::Result);
    EXPECT_TRUE(window.Document().Modified());
    EXPECT_FALSE(App().running);
    EXPECT_EQ(RunDialog(), nullptr);
    EXPECT_EQ(EnabledButtons(), (Texts{"New", "Open", "Save", "Size", "Path", "Start", "Setup"}));
}

TEST_F(RunCommandsTest, PauseResumeAndStopFollowTheRunDialog) {
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
        EXPECT_EQ(RunStatus(), kPaused);
        QTest::mouseClick(Button("Start"), Qt::LeftButton);
        EXPECT_FALSE(RunDialog()->IsPaused());
        EXPECT_EQ(RunStatus(), "   1枚目の選定をしています．．．");
        Item("sm_R(2)")->trigger();
        Item("sm_R(3)")->trigger();
        EXPECT_FALSE(RunDialog()->IsPaused());
        // The program does not end during a run.
        run_.Answer(MsgResult::OK);
        EXPECT_FALSE(window_->close());
        EXPECT_EQ(run_.Boxes().back().text, "実行中は終了できません");
        Item("sm_R(4)")->trigger();
        EXPECT_TRUE(RunDialog()->Requests().abort);
        steps.push_back("stopped");
    };
    run_.Answer(MsgResult::OK);
    WhenSettingsOpen([](dlgRunSetting& dialog) { Press(dialog, 3); });
    Key(Qt::Key_F5);

    EXPECT_EQ(steps, (Texts{"searching", "stopped"}));
    EXPECT_EQ(run_.Boxes().back().text, "実行は失敗しました");
    EXPECT_EQ(MediaOf(window), Media(10, 0));
    EXPECT_FALSE(App().running);
    EXPECT_EQ(RunDialog(), nullptr);
    EXPECT_EQ(EnabledButtons(), (Texts{"New", "Open", "Size", "Path", "Add", "Start", "Setup"}));
}

TEST_F(RunCommandsTest, TheProjectOfARunStaysWithItsRun) {
    const std::string other = PlannedProject("other.mtb");
    frmNested& window = Opened(PlannedProject("running.mtb"));
    window.ClearResults();
    const Media cleared = MediaOf(window);
    bool tried = false;
    run_.onYield = [&](bool) {
        if (tried || RunDialog() == nullptr)
            return;
        tried = true;
        // The run dialog is up but the running flag not yet set.
        EXPECT_FALSE(App().running);
        run_.Answer(MsgResult::OK);
        EXPECT_FALSE(window_->CloseProjectWindow(window));
        EXPECT_EQ(run_.Boxes().back().text, "実行中は閉じることは出来ません");

        run_.AnswerFile(other);
        window_->RunCommand(Command::Open);
        EXPECT_EQ(window_->ProjectWindowCount(), 2);
        EXPECT_EQ(MediaOf(window), cleared);
    };
    run_.Answer(MsgResult::OK);
    WhenSettingsOpen([](dlgRunSetting& dialog) { Press(dialog, 3); });
    window_->RunCommand(Command::Run);

    EXPECT_TRUE(tried);
    EXPECT_EQ(run_.Boxes().back().text, "実行は完了しました");
    EXPECT_EQ(window.windowTitle().toStdString(), "running");
    EXPECT_TRUE(window.HasResults());
}

TEST_F(RunCommandsTest, CtrlEShowsTheRunSettingsOfTheActiveProject) {
    frmNested& window = ProjectWith({"a", "b"});
    window.Document().SetModified(false);
    WhenSettingsOpen([](dlgRunSetting& dialog) {
        auto* count = dialog.findChild<QLineEdit*>(QStringLiteral("objText(1)"));
        count->setText(QStringLiteral("3"));
        Press(dialog, 3);
    });
    Key(Qt::Key_E, Qt::ControlModifier);
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
    const std::string exists =
        "次のﾌｧｲﾙまたはﾌｫﾙﾀﾞは既に存在します\r\n" + out + "/after_01\r\n上書きしますか？";
    for (const MsgResult answer : {MsgResult::OK, MsgResult::No}) {
        run_.Answer(MsgResult::OK);
        run_.Answer(MsgResult::OK);
        run_.Answer(answer);
        WhenSettingsOpen([&](dlgRunSetting& dialog) {
            dialog.findChild<QComboBox*>(QStringLiteral("objCombo(2)"))->setCurrentIndex(1);
            dialog.findChild<QLineEdit*>(QStringLiteral("objText(4)"))
                ->setText(QString::fromStdString(out));
            Press(dialog, 3);
        });
        window_->RunCommand(Command::Run);
        ASSERT_EQ(run_.Boxes().size(), answer == MsgResult::OK ? 3u : 6u);
        if (answer == MsgResult::OK) {
            ExpectBox(run_.Boxes().back(), "次のﾌｫﾙﾀﾞに書き出しました\r\n" + out,
                      "実行後の書き出し", MsgButtons::OK, MsgIcon::Information);
        } else {
            ExpectBox(run_.Boxes().back(), exists, "実行後の書き出し", MsgButtons::YesNo,
                      MsgIcon::Exclamation, 1);
        }
        test::WriteBytes(out + "/after_01/mine", "kept");
    }
    EXPECT_TRUE(sawExport);
    EXPECT_EQ(test::ReadBytes(out + "/after_01/mine"), "kept");
    EXPECT_TRUE(fs::exists(out + "/after_04/SHA256SUMS"));
    EXPECT_FALSE(App().running);
    EXPECT_EQ(RunDialog(), nullptr);
    EXPECT_TRUE(window.HasResults());
}

}  // namespace
}  // namespace zv
