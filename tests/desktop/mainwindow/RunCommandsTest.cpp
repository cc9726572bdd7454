#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>

#include "core/project/ProjectFile.h"
#include "desktop/dialogs/RunDialog.h"
#include "desktop/dialogs/RunSettingsDialog.h"
#include "tests/desktop/PlannedByTool.h"
#include "tests/desktop/dialogs/DialogChecks.h"
#include "tests/desktop/mainwindow/MainWindowFixture.h"

namespace zv {
namespace {

using test::ExpectBox;
using Media = std::vector<int32_t>;
using test::Texts;

// The main window with a project planned by the command-line tool; the test
// acts while a run goes on by pausing it before its worker starts.
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

    // A project of files named after their sizes, by default ten of them, for
    // media of 1000 bytes, planned medium after medium and saved by the
    // command-line tool, so that it holds results.
    std::string PlannedProject(const std::string& name,
                               std::initializer_list<int> sizes = {900, 800, 700, 600, 500, 450,
                                                                   300, 200, 120, 50}) {
        QStringList files{"--no-fast"};
        for (const int size : sizes)
            files << QString::fromStdString(MakeFile("f" + std::to_string(size), size));
        test::PlanWithTool(folder_.Path(), folder_.File(name), 1000, files);
        return folder_.File(name);
    }

    // The project opened as the user does, into a new window.
    ProjectWindow& Opened(const std::string& path) {
        ui_.AnswerFile(path);
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

    // Starts a run with F5 and pauses it from the Run menu before its worker
    // has taken a step.
    void StartPaused() {
        WhenSettingsOpen();
        QTest::keyClick(window_.get(), Qt::Key_F5);
        ASSERT_NE(ShownRunDialog(), nullptr);
        Item("sm_R(2)")->trigger();
        ASSERT_TRUE(ShownRunDialog()->IsPaused());
    }

    RunDialog* ShownRunDialog() const { return window_->findChild<RunDialog*>(); }
    // Lets the events run until the run is over and its dialog gone.
    void WaitForTheEnd() {
        ASSERT_TRUE(QTest::qWaitFor(
            [this] { return !App().running && ShownRunDialog() == nullptr; }, 60000));
    }
    // Runs the active project from the Run menu, its settings taken as shown.
    void RunToTheEnd() {
        WhenSettingsOpen();
        window_->RunCommand(Command::Run);
        WaitForTheEnd();
    }
};

// The run goes on its own thread: while it is paused the windows take the
// user's commands, the project stays with its run, and the commands follow
// the run; resumed, it places the media as the command-line tool does, but
// leaves the project file alone until the user saves.
TEST_F(RunCommandsTest, F5RunsTheProjectAsTheCommandLineToolDoesWhileTheWindowsStayUsable) {
    const std::string project = PlannedProject("desktop.mtb");
    const std::string copy = folder_.File("tool.mtb");
    std::filesystem::copy_file(project, copy);
    test::RunTool(folder_.Path(), {"run", "--no-fast", QString::fromStdString(copy)});
    const std::optional<ProjectData> byTool = ProjectFile::Read(copy, RunSettings());
    ASSERT_TRUE(byTool.has_value());

    const std::string before = test::ReadBytes(project);
    ProjectWindow& window = Opened(project);
    window.Document().SetModified(false);
    for (int answers = 0; answers < 4; ++answers)
        ui_.Answer(MsgResult::OK);
    StartPaused();
    EXPECT_EQ(EnabledButtons(), (Texts{"New", "Open", "Start", "Stop"}));
    EXPECT_FALSE(window_->CloseProjectWindow(window));
    ui_.AnswerFile(PlannedProject("other.mtb"));
    window_->RunCommand(Command::Open);
    EXPECT_EQ(window_->ProjectWindowCount(), 2);
    EXPECT_FALSE(window_->close());
    ExpectBox(ui_.Boxes().back(), "実行中です\r\n実行を中止して終了しますか？", "Zarvopack",
              MsgButtons::YesNo, MsgIcon::Question, 1);
    QTest::mouseClick(Button("Start"), Qt::LeftButton);
    EXPECT_FALSE(ShownRunDialog()->IsPaused());
    WaitForTheEnd();

    Media media, expected;
    for (const ItemRecord& item : window.Document().Items())
        media.push_back(item.Medium);
    for (const ProjectItem& item : byTool->items)
        expected.push_back(item.medium);
    EXPECT_EQ(media, expected);
    EXPECT_GE(*std::max_element(expected.begin(), expected.end()), 4);
    EXPECT_EQ(window.CurrentTab(), ProjectTab::Result);
    EXPECT_TRUE(window.Document().Modified());
    EXPECT_EQ(test::ReadBytes(project), before);
    ExpectBox(ui_.Boxes().back(), "実行は完了しました", "Zarvopack");
}

// A run stopped from the result tab leaves no medium of the plan it cleared on
// view. Meanwhile dropped files are refused and none leaves the result list.
TEST_F(RunCommandsTest, AStoppedRunSaysSoAndShowsNoOldMedium) {
    ProjectWindow& window = Opened(PlannedProject("stop.mtb"));
    window.SelectTab(ProjectTab::Result);
    const auto* chooser = window.findChild<QComboBox*>(QStringLiteral("objCombo(0)"));
    ASSERT_GE(chooser->count(), 2);
    ui_.Answer(MsgResult::OK);
    StartPaused();

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(MakeFile("late", 10)))});
    QWidget* list = window.ListView(ProjectList::Files)->viewport();
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(list, &enter);
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(list, &drop);
    ui_.Answer(MsgResult::OK);
    QCoreApplication::processEvents();
    ExpectBox(ui_.Boxes().back(),
              "実行中はﾌｧｲﾙを追加できません\r\n実行が終わってから、もう一度ﾄﾞﾛｯﾌﾟしてください",
              "Zarvopack");
    ProjectListView& results = *window.ListView(ProjectList::Results);
    results.SelectRow(0);
    EXPECT_TRUE(std::unique_ptr<QMimeData>(results.DragData())->urls().isEmpty())
        << "no file leaves the items of a run";
    ui_.Answer(MsgResult::OK);
    Item("sm_R(4)")->trigger();
    WaitForTheEnd();

    ExpectBox(ui_.Boxes().back(), "実行を中止しました\r\n振り分けの結果はありません", "Zarvopack");
    EXPECT_EQ(chooser->count(), 1);
    EXPECT_EQ(window.ListView(ProjectList::Results)->Model().rowCount(), 10);
    EXPECT_EQ(EnabledButtons(), (Texts{"New", "Open", "Save", "Size", "Path", "Start", "Setup"}));
}

// "はい" to the question at quitting stops the run; the program ends once the
// run is over.
TEST_F(RunCommandsTest, QuittingDuringARunStopsItFirst) {
    Opened(PlannedProject("quit.mtb"));
    ui_.Answer(MsgResult::OK);
    StartPaused();
    ui_.Answer(MsgResult::Yes);
    ui_.Answer(MsgResult::OK);
    // The plan cleared for the run is in no file: quitting asks to save it.
    ui_.Answer(MsgResult::No);
    Item("sm_F(16)")->trigger();
    EXPECT_TRUE(window_->isVisible()) << "not before the run has ended";
    WaitForTheEnd();
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(window_->ProjectWindowCount(), 0);
}

// The after-run action, set with Ctrl+E, follows a run that ended normally
// and exports the plan in the window; what it wrote before is replaced only
// when the user agrees.
TEST_F(RunCommandsTest, TheAfterRunActionExportsTheMediaAfterTheRun) {
    ProjectWindow& window = Opened(PlannedProject("after.mtb"));
    const std::string out = folder_.File("out");
    ExportLinkFoldersAfterRunsInto(out);
    EXPECT_TRUE(window.Document().Modified());
    for (const MsgResult answer : {MsgResult::OK, MsgResult::No}) {
        for (const MsgResult each : {MsgResult::OK, MsgResult::OK, answer})
            ui_.Answer(each);
        RunToTheEnd();
        if (answer == MsgResult::OK) {
            ExpectBox(ui_.Boxes().back(), "次のﾌｫﾙﾀﾞに書き出しました\r\n" + out, "実行後の書き出し",
                      MsgButtons::OK, MsgIcon::Information);
        } else {
            ExpectBox(
                ui_.Boxes().back(),
                "次のﾌｧｲﾙまたはﾌｫﾙﾀﾞは既に存在します\r\n" + out + "/after_01\r\n上書きしますか？",
                "実行後の書き出し", MsgButtons::YesNo, MsgIcon::Exclamation, 1);
        }
        test::WriteBytes(out + "/after_01/mine", "kept");
    }
    EXPECT_EQ(test::ReadBytes(out + "/after_01/mine"), "kept");
    EXPECT_TRUE(std::filesystem::exists(out + "/after_04/SHA256SUMS"));
    EXPECT_TRUE(window.HasResults());
}

// A file larger than a medium is on no disc after the after-run export: the
// box says so with a warning and names it.
TEST_F(RunCommandsTest, TheAfterRunBoxNamesTheFilesOnNoMedium) {
    Opened(PlannedProject("big.mtb", {1500, 900, 100}));
    const std::string out = folder_.File("out");
    ExportLinkFoldersAfterRunsInto(out);
    for (int answers = 0; answers < 3; ++answers)
        ui_.Answer(MsgResult::OK);
    RunToTheEnd();
    ExpectBox(ui_.Boxes().back(),
              "次のﾌｫﾙﾀﾞに書き出しました\r\n" + out +
                  "\r\n次の項目はどのﾒﾃﾞｨｱにも入っていないため、書き出していません：\r\n" +
                  folder_.File("f1500") + " … ﾒﾃﾞｨｱ1枚より大きいため入りません\r\n",
              "実行後の書き出し", MsgButtons::OK, MsgIcon::Exclamation);
}

}  // namespace
}  // namespace zv
