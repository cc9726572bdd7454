#include <QAbstractItemModel>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeView>
#include <filesystem>

#include "core/project/EditCommands.h"
#include "core/settings/IniFile.h"
#include "desktop/dialogs/AboutDialog.h"
#include "desktop/dialogs/AddFilesDialog.h"
#include "desktop/dialogs/ExportDialog.h"
#include "tests/desktop/dialogs/DialogChecks.h"
#include "tests/desktop/mainwindow/MainWindowFixture.h"
#include "tests/support/SqlRows.h"

namespace zv {
namespace {

class ShellCommandsTest : public test::MainWindowFixture {
  protected:
    void SetUp() override { Start(); }

    void Open(std::optional<std::string> answer) {
        ui_.AnswerFile(std::move(answer));
        QTest::mouseClick(Button("Open"), Qt::LeftButton);
    }
};

// A file a window holds already brings that window to the front; one missing,
// no project or failing part-way is reported and changes no window: a window
// opened for it would only stand empty.
TEST_F(ShellCommandsTest, OpenFillsOnlyAnEmptyWindowAndNeverReplacesAProject) {
    const std::string path = MakeProjectFile("backup.mtb");
    window_->RunCommand(Command::New);
    ProjectWindow* unmodified = window_->ActiveProject();
    EXPECT_FALSE(Item("sm_R(0)")->isEnabled());
    Open(std::nullopt);
    // The shortcut keys follow a window filled by a command at once: F5 once
    // did nothing until the Run menu had been opened.
    ui_.AnswerFile(path);
    window_->RunCommand(Command::Open);
    EXPECT_TRUE(Item("sm_R(0)")->isEnabled());
    EXPECT_EQ(window_->ProjectWindowCount(), 1);
    EXPECT_EQ(unmodified->Document().Items().size(), 2u);
    EXPECT_EQ(ui_.FileDialogs().back().request.filter,
              "Zarvoﾃﾞｰﾀﾌｧｲﾙ(*.mtb)|*.mtb|全てのﾌｧｲﾙ(*.*)|*.*")
        << "the filter names the files as the save dialog does";

    const std::string damaged = folder_.File("damaged.mtb");
    std::filesystem::copy_file(path, damaged);
    ASSERT_EQ(test::Exec(damaged, "UPDATE [MainDB] SET [CDNUMBER] = 'x'"), SQLITE_OK);
    const std::pair<std::string, std::string> failures[] = {
        {folder_.File("gone.mtb"),
         "登録されたファイルが見つかりません\r\n登録ファイルが存在しないか、登録後に名前が変わ"
         "っています\r\nファイルのオープンに失敗しました"},
        {MakeFile("notes.txt", 30),
         "指定されたﾌｧｲﾙはZarvoﾃﾞｰﾀﾌｧｲﾙではないか、壊れています\r\nﾌｧｲﾙのオープンに失敗しました"},
        {damaged, ""},  // the engine's error
    };
    for (const auto& [failed, message] : failures) {
        ui_.Answer(MsgResult::OK);
        Open(failed);
        if (message.empty())
            EXPECT_EQ(ui_.Boxes().back().title.rfind("ｴﾗｰ", 0), 0u) << ui_.Boxes().back().title;
        else
            test::ExpectBox(ui_.Boxes().back(), message, "Zarvopack");
        EXPECT_EQ(window_->ProjectWindowCount(), 1) << failed;
        EXPECT_EQ(window_->ActiveProject(), unmodified);
        EXPECT_EQ(unmodified->Document().FilePath(), path);
        EXPECT_EQ(unmodified->Document().Items().size(), 2u);
    }

    Open(MakeProjectFile("other.mtb"));
    EXPECT_EQ(window_->ProjectWindowCount(), 2);
    EXPECT_EQ(window_->ActiveProject()->windowTitle(), QStringLiteral("other"));
    EXPECT_EQ(unmodified->windowTitle(), QStringLiteral("backup"));

    ProjectWindow& modified = ProjectWith({"a.txt"});
    std::filesystem::create_symlink(path, folder_.File("link.mtb"));
    window_->RunCommand(Command::New);
    for (const std::string& same : {path, folder_.File("link.mtb")}) {
        Open(same);
        EXPECT_EQ(window_->ProjectWindowCount(), 4) << same;
        EXPECT_EQ(window_->ActiveProject(), unmodified) << same;
    }
    EXPECT_EQ(modified.Document().Items()[0].Name, folder_.File("a.txt"));
}

// Close takes the active window; Exit ends the program once every window is
// closed.
TEST_F(ShellCommandsTest, CloseCloseAllAndExitStopAtACancelledWindow) {
    ProjectWith({"a.txt"});
    window_->RunCommand(Command::New);
    window_->RunCommand(Command::New);
    window_->RunCommand(Command::Close);
    EXPECT_EQ(window_->ActiveProject()->windowTitle(), QStringLiteral("無題1*"))
        << "its file is unsaved";
    for (const Command command : {Command::CloseAll, Command::Exit}) {
        ui_.Answer(MsgResult::Cancel);
        window_->RunCommand(command);
        EXPECT_EQ(window_->ProjectWindowCount(), 2);
    }
    EXPECT_TRUE(window_->isVisible());
    ui_.Answer(MsgResult::No);
    window_->RunCommand(Command::CloseAll);
    EXPECT_EQ(window_->ProjectWindowCount(), 0);
    EXPECT_EQ(EnabledButtons(), (test::Texts{"New", "Open"}));

    QTimer::singleShot(0, window_.get(), [this] { Item("sm_F(16)")->trigger(); });
    // Should the program not end, the loop is ended with a failure code.
    const QObject guard;
    QTimer::singleShot(60'000, &guard, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(window_->isVisible());
    // The last window's closing asked for a quit of its own, still pending;
    // delivered outside any loop, it would make every later modal loop
    // return at once.
    QCoreApplication::removePostedEvents(QCoreApplication::instance(), QEvent::Quit);
}

// Add and Run ask before clearing results, but Run during a run (a resume)
// asks nothing. Add shows the add-files dialog; Save writes what it added.
TEST_F(ShellCommandsTest, AddAndRunAskBeforeClearingResultsAndSaveWritesTheProject) {
    ProjectWindow& project = ProjectWith({"a.txt", "b.txt"});
    project.Document().Items()[0].Medium = 1;
    CutCommand(project.Document(), {folder_.File("a.txt")});
    App().running = true;
    window_->RunCommand(Command::Run);
    App().running = false;
    window_->UpdateToolbar(false);

    ui_.Answer(MsgResult::Cancel);
    QTest::mouseClick(Button("Start"), Qt::LeftButton);
    EXPECT_TRUE(project.HasResults());

    std::filesystem::create_directory(folder_.File("incoming"));
    MakeFile("incoming/new.txt", 0);
    WriteSetting(settings_keys::LastAddFolder, folder_.File("incoming"));
    ui_.Answer(MsgResult::OK);
    test::WhenModal<AddFilesDialog>([](AddFilesDialog& dialog) {
        QCoreApplication::processEvents();
        QAbstractItemModel& rows = *dialog.findChild<QTreeView*>("objListView(0)")->model();
        ASSERT_EQ(rows.rowCount(), 1);
        rows.setData(rows.index(0, 0), Qt::Checked, Qt::CheckStateRole);
        dialog.findChild<QPushButton*>("objButton(1)")->click();
        dialog.close();
    });
    QTest::keyClick(window_.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_FALSE(project.HasResults());
    EXPECT_FALSE(project.HasCutMarks());
    EXPECT_EQ(project.Document().Items().back().Name, folder_.File("incoming/new.txt"));
    EXPECT_EQ(project.ListView(ProjectList::Files)->Model().rowCount(), 3);

    ASSERT_TRUE(Button("Save")->isEnabled());
    ui_.AnswerFile(folder_.File("plan.mtb"));
    QTest::mouseClick(Button("Save"), Qt::LeftButton);
    EXPECT_TRUE(ProjectFile::Read(folder_.File("plan.mtb"), RunSettings()).has_value());
    EXPECT_EQ(project.windowTitle(), QStringLiteral("plan"));
    EXPECT_FALSE(Button("Save")->isEnabled());
}

// Ctrl+Z takes back the list's last edit and Ctrl+Y does it again, from the
// keys as from the list menu, which offers each only while there is a step.
TEST_F(ShellCommandsTest, CtrlZAndCtrlYStepThroughTheEditsOfTheList) {
    ProjectWindow& project = ProjectWith({"a.txt", "b.txt", "c.txt"});
    ProjectListView& list = *project.ListView(ProjectList::Files);
    project.Document().ForgetEdits();
    window_->RefreshMenus();
    EXPECT_FALSE(Item("sm_L(8)")->isEnabled());
    Select(project, {0});
    ui_.Answer(MsgResult::OK);
    QTest::keyClick(&list, Qt::Key_Delete);
    ASSERT_EQ(list.Model().rowCount(), 2);
    Select(project, {0, 1});
    ui_.AnswerInput("Both");
    QTest::keyClick(&list, Qt::Key_F3);
    ASSERT_EQ(project.Document().Items().size(), 1u);
    EXPECT_TRUE(Item("sm_L(8)")->isEnabled());
    EXPECT_FALSE(Item("sm_L(9)")->isEnabled());

    const std::vector<std::size_t> back{2, 3}, forward{2, 1};
    for (const std::size_t items : back) {
        QTest::keyClick(&list, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(project.Document().Items().size(), items);
    }
    EXPECT_EQ(list.Model().rowCount(), 3);
    EXPECT_FALSE(Item("sm_L(8)")->isEnabled());
    for (const std::size_t items : forward) {
        QTest::keyClick(&list, Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(project.Document().Items().size(), items);
    }
    EXPECT_EQ(project.Document().Items()[0].Name, "Both");
    EXPECT_FALSE(Item("sm_L(9)")->isEnabled());
    EXPECT_TRUE(project.Document().Modified());
}

TEST_F(ShellCommandsTest, TheResultMenuExportsTheResultsWhereTheUserChooses) {
    ProjectWindow& project = ProjectWith({"a.txt", "b.txt"});
    project.Document().Items()[0].Medium = 1;
    project.Document().Items()[1].Medium = 2;
    project.SelectTab(ProjectTab::Result);
    ProjectListView& results = *project.ListView(ProjectList::Results);
    QTest::mouseClick(results.viewport(), Qt::RightButton, {}, QPoint(20, 20));
    auto* menu = window_->findChild<QMenu*>(QStringLiteral("objResultMenu"));
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->actions(), QList<QAction*>{Item("sm_F(17)")});
    EXPECT_TRUE(Item("sm_F(17)")->isEnabled());
    menu->hide();

    WriteSetting(settings_keys::LastFolder, folder_.Path());
    const std::string out = folder_.File("書き出し先");
    std::filesystem::create_directory(out);
    ui_.AnswerFile(out);
    ui_.Answer(MsgResult::OK);
    test::WhenModal<ExportDialog>([this](ExportDialog& dialog) {
        auto* folder = test::Control<QLineEdit>(dialog, "objText(0)");
        auto* exportButton = test::Control<QPushButton>(dialog, "objButton(1)");
        EXPECT_EQ(folder->text().toStdString(), folder_.Path()) << "where the user last was";
        folder->setText(QStringLiteral("relative"));
        EXPECT_FALSE(exportButton->isEnabled());
        test::Control<QPushButton>(dialog, "objButton(0)")->click();
        test::Control<QRadioButton>(dialog, "objOption(1)")->click();
        exportButton->click();
    });
    Item("sm_F(17)")->trigger();
    EXPECT_EQ(ui_.FileDialogs().at(0).request.proposedName, "relative");
    EXPECT_TRUE(std::filesystem::exists(out + "/無題1_02.quoted_path_list"));
    EXPECT_EQ(IniFile(folder_.Settings())
                  .Read(settings_keys::LastFolder.section, settings_keys::LastFolder.name),
              out);
}

TEST_F(ShellCommandsTest, HelpMenuOpensTheSupportPageAndOneVersionBox) {
    OpenMenu(5);
    Item("sm_H(4)")->trigger();
    EXPECT_EQ(ui_.Opened(), test::Texts{"https://zarvopack.example.org/support"});
    Item("sm_H(6)")->trigger();
    Item("sm_H(6)")->trigger();
    const auto boxes = window_->findChildren<AboutDialog*>();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0]->isVisible());
    EXPECT_FALSE(boxes[0]->isModal());
}

}  // namespace
}  // namespace zv
