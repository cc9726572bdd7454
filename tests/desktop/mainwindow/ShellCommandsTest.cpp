#include <QAbstractItemModel>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <filesystem>
#include <functional>

#include "core/project/EditCommands.h"
#include "core/project/ProjectFile.h"
#include "desktop/dialogs/dlgAdd.h"
#include "desktop/dialogs/frmVersion.h"
#include "tests/desktop/dialogs/DialogChecks.h"
#include "tests/desktop/mainwindow/MainWindowFixture.h"

namespace zv {
namespace {

using test::ExpectBox;

class ShellCommandsTest : public test::MainWindowFixture {
  protected:
    void SetUp() override { Start(); }

    // A project file with two single files.
    std::string MakeProjectFile(const std::string& name) {
        const std::string a = MakeFile("p1.txt", 10);
        const std::string b = MakeFile("p2.txt", 20);
        EXPECT_TRUE(ProjectFile::Write(folder_.File(name), {{a, 0, {{a, 10}}}, {b, 0, {{b, 20}}}},
                                       RunSettings()));
        return folder_.File(name);
    }

    void Open(std::optional<std::string> answer) {
        ui_.AnswerFile(std::move(answer));
        QTest::mouseClick(Button("Open"), Qt::LeftButton);
    }

    // Lets `act` work on the add-files dialog once it has listed its folder.
    static void WhenAddOpens(std::function<void(dlgAdd&)> act) {
        test::WhenModal<dlgAdd>([act](dlgAdd& dialog) {
            QCoreApplication::processEvents();
            act(dialog);
            dialog.close();
        });
    }
};

// Open loads a project file into the active window unless that one holds
// unsaved changes.
TEST_F(ShellCommandsTest, OpenReusesAnUnmodifiedWindowAndSparesAModifiedOne) {
    const std::string path = MakeProjectFile("backup.mtb");
    window_->RunCommand(Command::New);
    frmNested* unmodified = window_->ActiveProject();
    Open(std::nullopt);
    EXPECT_EQ(unmodified->windowTitle(), QStringLiteral("無題1"));
    Open(path);
    EXPECT_EQ(ui_.FileDialogs().back().kind, ScriptedUi::DialogKind::Open);
    EXPECT_EQ(window_->ProjectWindowCount(), 1);
    EXPECT_EQ(window_->ActiveProject(), unmodified);
    EXPECT_EQ(unmodified->windowTitle(), QStringLiteral("backup"));
    EXPECT_EQ(unmodified->Document().Items().size(), 2u);

    frmNested& modified = ProjectWith({"a.txt"});
    Open(path);
    EXPECT_EQ(window_->ProjectWindowCount(), 3);
    EXPECT_EQ(modified.Document().Items()[0].Name, folder_.File("a.txt"));
    EXPECT_TRUE(modified.Document().Modified());
}

TEST_F(ShellCommandsTest, OpeningAMissingFileOrNoProjectSaysSoAndKeepsTheWindow) {
    Open(MakeProjectFile("backup.mtb"));
    frmNested& project = *window_->ActiveProject();
    const std::pair<std::string, std::string> failures[] = {
        {folder_.File("gone.mtb"),
         "登録されたファイルが見つかりません\r\n登録ファイルが存在しないか、登録後に名前が変わ"
         "っています\r\nファイルのオープンに失敗しました"},
        {MakeFile("notes.txt", 30),
         "指定されたﾌｧｲﾙはZarvoﾃﾞｰﾀﾌｧｲﾙではないか、壊れています\r\nﾌｧｲﾙのオープンに失敗しました"},
    };
    for (const auto& [path, message] : failures) {
        ui_.Answer(MsgResult::OK);
        Open(path);
        ExpectBox(ui_.Boxes().back(), message, "Zarvopack");
        EXPECT_EQ(window_->ProjectWindowCount(), 1);
        EXPECT_EQ(project.windowTitle(), QStringLiteral("backup"));
        EXPECT_EQ(project.Document().Items().size(), 2u);
    }
}

TEST_F(ShellCommandsTest, CloseTakesTheActiveWindowAndCloseAllStopsAtACancelledOne) {
    ProjectWith({"a.txt"});
    window_->RunCommand(Command::New);
    window_->RunCommand(Command::New);
    window_->RunCommand(Command::Close);
    EXPECT_EQ(window_->ProjectWindowCount(), 2);
    EXPECT_EQ(window_->ActiveProject()->windowTitle(), QStringLiteral("無題1"));

    ui_.Answer(MsgResult::Cancel);
    window_->RunCommand(Command::CloseAll);
    EXPECT_EQ(window_->ProjectWindowCount(), 2);
    ui_.Answer(MsgResult::No);
    window_->RunCommand(Command::CloseAll);
    EXPECT_EQ(window_->ProjectWindowCount(), 0);
}

// Add and Run ask before clearing results, but Run during a run (a resume)
// asks nothing.
TEST_F(ShellCommandsTest, AddAndRunAskBeforeClearingResults) {
    frmNested& project = ProjectWith({"a.txt", "b.txt"});
    project.Document().Items()[0].Medium = 1;
    CutCommand(project.Document(), {folder_.File("b.txt")});
    window_->UpdateToolbar(false);
    App().running = true;
    window_->RunCommand(Command::Run);
    App().running = false;
    EXPECT_TRUE(ui_.Boxes().empty());
    window_->UpdateToolbar(false);

    ui_.Answer(MsgResult::Cancel);
    QTest::mouseClick(Button("Start"), Qt::LeftButton);
    EXPECT_EQ(ui_.Boxes().at(0).title, "結果情報のクリア");
    EXPECT_TRUE(project.HasResults());

    ui_.Answer(MsgResult::OK);
    bool opened = false;
    WhenAddOpens([&](dlgAdd&) { opened = true; });
    QTest::mouseClick(Button("Add"), Qt::LeftButton);
    EXPECT_TRUE(opened);
    EXPECT_EQ(ui_.Boxes().size(), 2u);
    EXPECT_FALSE(project.HasResults());
    EXPECT_FALSE(project.HasCutMarks());
}

TEST_F(ShellCommandsTest, AddOpensTheAddFilesDialogForTheActiveProjectAndSaveWritesIt) {
    frmNested& project = ProjectWith({});
    std::filesystem::create_directory(folder_.File("incoming"));
    MakeFile("incoming/new.txt", 0);
    WriteSetting(settings_keys::LastAddFolder.section, settings_keys::LastAddFolder.name,
                 folder_.File("incoming"));
    WhenAddOpens([&](dlgAdd& dialog) {
        EXPECT_EQ(dialog.parentWidget(), window_.get());
        QAbstractItemModel& rows = *dialog.findChild<QTreeView*>("objListView(0)")->model();
        ASSERT_EQ(rows.rowCount(), 1);
        rows.setData(rows.index(0, 0), Qt::Checked, Qt::CheckStateRole);
        dialog.findChild<QPushButton*>("objButton(1)")->click();
    });
    QTest::keyClick(window_.get(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_FALSE(project.Document().IsEmpty());
    EXPECT_EQ(project.Document().Items()[0].Name, folder_.File("incoming/new.txt"));
    EXPECT_EQ(project.ListView(ProjectList::Files)->topLevelItemCount(), 1);
    ASSERT_TRUE(Button("Save")->isEnabled());
    ui_.AnswerFile(folder_.File("plan.mtb"));
    QTest::mouseClick(Button("Save"), Qt::LeftButton);
    EXPECT_TRUE(ProjectFile::Read(folder_.File("plan.mtb"), RunSettings()).has_value());
    EXPECT_EQ(project.windowTitle(), QStringLiteral("plan"));
    EXPECT_FALSE(Button("Save")->isEnabled());
}

TEST_F(ShellCommandsTest, SizeButtonPopsUpTheUnitsBelowTheBar) {
    frmNested& project = ProjectWith({"a.txt"});
    QToolButton* size = Button("Size");
    auto* bar = window_->findChild<QToolBar*>(QStringLiteral("objToolB"));
    QPoint shownAt;
    QTimer::singleShot(0, window_.get(), [&] {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(popup, nullptr);
        shownAt = popup->pos();
        QTest::mouseClick(popup, Qt::LeftButton, {},
                          popup->actionGeometry(Item("sm_VS(1)")).center());
    });
    QTest::mouseClick(size, Qt::LeftButton);
    EXPECT_EQ(project.GetSizeUnit(), UnitMegabytes);
    EXPECT_EQ(shownAt, bar->mapToGlobal(QPoint(size->geometry().left(), bar->height())));
}

TEST_F(ShellCommandsTest, HelpMenuOpensTheSupportPageAndOneVersionBox) {
    OpenMenu(5);
    Item("sm_H(4)")->trigger();
    const std::string page = "https://zarvopack.example.org/support";
    EXPECT_EQ(ui_.Opened(), std::vector<std::string>{page});
    // Without a browser the user is told instead of nothing happening.
    ui_.SetOpenSucceeds(false);
    ui_.Answer(MsgResult::OK);
    Item("sm_H(4)")->trigger();
    ExpectBox(ui_.Boxes().back(),
              "次のﾌｧｲﾙまたはｱﾄﾞﾚｽを開くﾌﾟﾛｸﾞﾗﾑが見つかりませんでした\r\n" + page, "Zarvopack",
              MsgButtons::OK, MsgIcon::Exclamation);

    Item("sm_H(6)")->trigger();
    Item("sm_H(6)")->trigger();
    const auto boxes = window_->findChildren<frmVersion*>();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0]->isVisible());
    EXPECT_FALSE(boxes[0]->isModal());
    EXPECT_EQ(boxes[0]->parentWidget(), window_.get());
}

}  // namespace
}  // namespace zv
