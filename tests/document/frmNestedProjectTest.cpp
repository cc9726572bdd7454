#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>
#include <array>
#include <filesystem>

#include "document/SaveProject.h"
#include "document/frmNested.h"
#include "platform/ScriptedUi.h"
#include "shell/AppState.h"
#include "tests/document/ListViewRows.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

using test::ColumnTexts;
using test::RowTags;
using Texts = std::vector<std::string>;

std::string TextOf(const QWidget& window, const std::string& name) {
    const QString objectName = QString::fromStdString(name);
    if (const auto* label = window.findChild<QLabel*>(objectName))
        return label->text().toStdString();
    if (const auto* box = window.findChild<QLineEdit*>(objectName))
        return box->text().toStdString();
    ADD_FAILURE() << "no text control " << name;
    return {};
}

// The ten value texts of the information tab, objLabel(11) to objLabel(20).
Texts Figures(const QWidget& window) {
    Texts figures;
    for (int k = 11; k <= 20; ++k)
        figures.push_back(TextOf(window, "objLabel(" + std::to_string(k) + ")"));
    return figures;
}

Texts ChooserEntries(const QComboBox& chooser) {
    Texts entries;
    for (int i = 0; i < chooser.count(); ++i)
        entries.push_back(chooser.itemText(i).toStdString());
    return entries;
}

void ClickTab(frmNested& window, int tab) {
    auto* bar = window.findChild<QTabBar*>();
    ASSERT_NE(bar, nullptr);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
}

// Keeps the program's running flag set for one test.
struct RunInProgress {
    RunInProgress() { App().running = true; }
    ~RunInProgress() { App().running = false; }
};

class frmNestedProjectTest : public ::testing::Test {
  protected:
    std::string MakeFile(const std::string& name, std::size_t bytes) {
        const std::string path = folder_.File(name);
        test::WriteBytes(path, std::string(bytes, 'x'));
        return path;
    }

    // A project planned and saved by the command-line tool: media of 700
    // bytes, no tolerance, the files of `names` already made in the folder.
    std::string PlannedProject(const QStringList& names) {
        const std::string project = folder_.File("planned.mtb");
        QProcess tool;
        tool.setWorkingDirectory(QString::fromStdString(folder_.Path()));
        tool.start(QStringLiteral(ZARVOPACK_CLI),
                   QStringList{"plan", "--media-size", "700", "--tolerance", "0", "--save",
                               QString::fromStdString(project)} +
                       names);
        EXPECT_TRUE(tool.waitForFinished(-1));
        EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
        return project;
    }

    std::string PlannedFourFiles() {
        MakeFile("a", 400);
        MakeFile("b", 300);
        MakeFile("c", 300);
        MakeFile("d", 200);
        return PlannedProject({"a", "b", "c", "d"});
    }

    void Show(frmNested& window) {
        window.resize(640, 480);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QComboBox& Chooser(const frmNested& window) {
        return *window.findChild<QComboBox*>(QStringLiteral("objCombo(0)"));
    }

    test::TempFolder folder_;
    ScriptedUi ui_;
};

TEST_F(frmNestedProjectTest, ProjectPlannedByTheToolOpensWithItsResultsAndFigures) {
    const std::string project = PlannedFourFiles();
    frmNested window;
    Show(window);
    ASSERT_TRUE(window.LoadProject(project));
    EXPECT_EQ(window.windowTitle().toStdString(), "planned");

    ClickTab(window, 1);
    QComboBox& chooser = Chooser(window);
    EXPECT_EQ(ChooserEntries(chooser), (Texts{" 1枚目", " 2枚目", " 未処理分"}));
    EXPECT_EQ(window.ChosenMedium(), 1);
    EXPECT_EQ(RowTags(*window.ListView(1)), (Texts{folder_.File("a"), folder_.File("d")}));
    EXPECT_EQ(TextOf(window, "objText(1)"), "2");
    EXPECT_EQ(TextOf(window, "objText(2)"), "600");

    QTest::keyClick(&chooser, Qt::Key_Down);
    EXPECT_EQ(window.ChosenMedium(), 2);
    EXPECT_EQ(RowTags(*window.ListView(1)), (Texts{folder_.File("b"), folder_.File("c")}));
    EXPECT_EQ(ColumnTexts(*window.ListView(1), 1), (Texts{"300", "300"}));

    ClickTab(window, 2);
    EXPECT_EQ(Figures(window),
              (Texts{"表示数： 4 登録数： 4 ", "0 ", "1,200 ﾊﾞｲﾄ", "400 ﾊﾞｲﾄ", "200 ﾊﾞｲﾄ",
                     "300 ﾊﾞｲﾄ", "2 ", "1,400 ﾊﾞｲﾄ", "1,200 ﾊﾞｲﾄ", "200 ﾊﾞｲﾄ"}));
}

TEST_F(frmNestedProjectTest, ResultTabListsTheUnplacedItems) {
    MakeFile("a", 400);
    MakeFile("b", 300);
    MakeFile("c", 300);
    MakeFile("d", 200);
    MakeFile("e", 900);  // larger than a medium
    const std::string project = PlannedProject({"a", "b", "c", "d", "e"});
    frmNested window;
    ASSERT_TRUE(window.LoadProject(project));

    window.SelectTab(1);
    QComboBox& chooser = Chooser(window);
    EXPECT_EQ(ChooserEntries(chooser), (Texts{" 1枚目", " 2枚目", " 未処理分"}));
    QTest::keyClick(&chooser, Qt::Key_End);
    EXPECT_EQ(window.ChosenMedium(), 0);
    EXPECT_EQ(RowTags(*window.ListView(1)), (Texts{folder_.File("e")}));
    EXPECT_EQ(TextOf(window, "objText(1)"), "1");
    EXPECT_EQ(TextOf(window, "objText(2)"), "900");
}

TEST_F(frmNestedProjectTest, ResultTabWithoutResultsShowsEveryItemAsUnplaced) {
    frmNested fresh;
    fresh.SelectTab(1);
    EXPECT_EQ(ChooserEntries(Chooser(fresh)), (Texts{" 未処理分"}));
    EXPECT_EQ(fresh.ListView(1)->topLevelItemCount(), 0);
    EXPECT_EQ(TextOf(fresh, "objText(1)"), "0");
    EXPECT_EQ(TextOf(fresh, "objText(2)"), "0");

    // Results cleared after they were shown: the result list must not keep
    // showing medium 1.
    frmNested window;
    ASSERT_TRUE(window.LoadProject(PlannedFourFiles()));
    window.SelectTab(1);
    window.SelectTab(0);
    window.ClearResults();
    window.SelectTab(1);
    EXPECT_EQ(ChooserEntries(Chooser(window)), (Texts{" 未処理分"}));
    EXPECT_EQ(window.ChosenMedium(), 0);
    EXPECT_EQ(RowTags(*window.ListView(1)),
              (Texts{folder_.File("a"), folder_.File("b"), folder_.File("c"), folder_.File("d")}));
    EXPECT_EQ(TextOf(window, "objText(1)"), "4");
    EXPECT_EQ(TextOf(window, "objText(2)"), "1,200");

    window.SelectTab(2);
    const Texts figures = Figures(window);
    EXPECT_EQ(figures[6], "未実行");
    EXPECT_EQ(figures[7], "0 ﾊﾞｲﾄ");
    EXPECT_EQ(figures[8], "0 ﾊﾞｲﾄ");
    EXPECT_EQ(figures[9], "0 ﾊﾞｲﾄ");
}

TEST_F(frmNestedProjectTest, SaveAndLoadCarryTheCaption) {
    const std::string a = MakeFile("a", 10);
    const std::string b = MakeFile("b", 20);
    frmNested window;
    ASSERT_TRUE(window.AddFiles({FileRef::Get(a), FileRef::Get(b)}, ""));

    const std::string project = folder_.File("Proj.MTB");
    ui_.AnswerFile(project);
    EXPECT_TRUE(window.SaveProject(kSaveToPath, false));
    ASSERT_EQ(ui_.FileDialogs().size(), 1u);
    EXPECT_EQ(ui_.FileDialogs()[0].request.title, "zarvopack保存");
    EXPECT_EQ(window.windowTitle().toStdString(), "Proj");
    EXPECT_FALSE(window.Document().Modified());

    // A copy saved with the caption kept leaves the caption alone.
    ui_.AnswerFile(folder_.File("copy.mtb"));
    EXPECT_TRUE(window.SaveProject(kSaveAs, true));
    EXPECT_EQ(window.windowTitle().toStdString(), "Proj");

    frmNested loaded;
    ASSERT_TRUE(loaded.LoadProject(project));
    EXPECT_EQ(loaded.windowTitle().toStdString(), "Proj");
    EXPECT_EQ(RowTags(*loaded.ListView(0)), (Texts{a, b}));
    EXPECT_NE(loaded.cursor().shape(), Qt::WaitCursor);

    // A file that is no project empties the window, list included.
    const std::string junk = folder_.File("junk.mtb");
    test::WriteBytes(junk, "no database here");
    EXPECT_FALSE(loaded.LoadProject(junk));
    EXPECT_EQ(loaded.ListView(0)->topLevelItemCount(), 0);
    EXPECT_TRUE(loaded.Document().IsEmpty());
}

TEST_F(frmNestedProjectTest, ClosingUnsavedChangesAsksToSave) {
    const std::string question = "は変更されています\r\n保存しますか？";
    const std::string saved = folder_.File("kept.mtb");
    {
        frmNested window;
        ASSERT_TRUE(window.AddFiles({FileRef::Get(MakeFile("a", 10))}, ""));
        const std::string caption = window.windowTitle().toStdString();
        QSignalSpy changes(&window, &frmNested::StateChanged);
        ui_.Answer(MsgResult::Yes);
        ui_.AnswerFile(saved);
        EXPECT_TRUE(window.close());
        ASSERT_EQ(ui_.Boxes().size(), 1u);
        const MessageBoxRequest& box = ui_.Boxes()[0];
        EXPECT_EQ(box.text, " " + caption + question);
        EXPECT_EQ(box.title, "zarvopackの保存");
        EXPECT_EQ(box.buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(box.icon, MsgIcon::None);
        EXPECT_TRUE(std::filesystem::exists(saved));
        EXPECT_EQ(changes.count(), 1);
    }
    {
        frmNested window;
        ASSERT_TRUE(window.AddFiles({FileRef::Get(MakeFile("b", 10))}, ""));
        ui_.Answer(MsgResult::No);
        EXPECT_TRUE(window.close());
        EXPECT_EQ(ui_.Boxes().size(), 2u);
        EXPECT_EQ(ui_.FileDialogs().size(), 1u);
    }
    {
        frmNested window;
        ASSERT_TRUE(window.AddFiles({FileRef::Get(MakeFile("c", 10))}, ""));
        QSignalSpy changes(&window, &frmNested::StateChanged);
        App().closeCancelled = false;
        ui_.Answer(MsgResult::Cancel);
        EXPECT_FALSE(window.close());
        EXPECT_TRUE(App().closeCancelled);
        EXPECT_FALSE(window.Document().IsEmpty());
        EXPECT_EQ(changes.count(), 1);
        App().closeCancelled = false;
    }
}

TEST_F(frmNestedProjectTest, ClosingDuringARunIsRefused) {
    frmNested window;
    ASSERT_TRUE(window.AddFiles({FileRef::Get(MakeFile("a", 10))}, ""));
    QSignalSpy changes(&window, &frmNested::StateChanged);
    RunInProgress run;
    ui_.Answer(MsgResult::OK);
    EXPECT_FALSE(window.close());
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_EQ(ui_.Boxes()[0].text, "実行中は閉じることは出来ません");
    EXPECT_EQ(ui_.Boxes()[0].title, "Zarvopack");
    EXPECT_EQ(ui_.Boxes()[0].buttons, MsgButtons::OK);
    EXPECT_EQ(changes.count(), 1);
}

}  // namespace
}  // namespace zv
