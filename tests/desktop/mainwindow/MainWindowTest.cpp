#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "desktop/platform/Twips.h"
#include "tests/desktop/mainwindow/MainWindowFixture.h"

namespace zv {
namespace {

namespace keys = settings_keys;
using test::Texts;

class MainWindowTest : public test::MainWindowFixture {
  protected:
    static Texts Names(const ProjectWindow& project) {
        Texts names;
        for (const ItemRecord& item : project.Document().Items())
            names.push_back(item.Name);
        return names;
    }

    void Key(ProjectWindow& project, int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(project.ListView(ProjectList::Files), static_cast<Qt::Key>(key), modifiers);
    }
};

// A caption set in the settings file changes its item only. The recent files
// skip what has gone; choosing one opens it as Open does, and an opened
// project comes first.
TEST_F(MainWindowTest, MenusTakeTheirCaptionsAndRecentFilesFromTheSettings) {
    WriteSetting({keys::kMenuItem, "USR47"}, "パック開始(&L)...");
    const std::string first = MakeFile("first.mtb", 10);
    WriteSetting({keys::kHistory, "0"}, first);
    WriteSetting({keys::kHistory, "1"}, folder_.File("gone.mtb"));
    WriteSetting({keys::kHistory, "2"}, MakeProjectFile("R&D.mtb"));
    Start();
    EXPECT_EQ(Item("sm_R(0)")->text(), QStringLiteral("パック開始(&L)..."));
    EXPECT_NE(Item("sm_R(3)")->text(), Item("sm_R(0)")->text());
    EXPECT_TRUE(Item("sm_R(1)")->isSeparator());
    EXPECT_FALSE(Item("sm_F(8)")->isVisible());

    EXPECT_EQ(Item("sm_F(12)")->text().toStdString(), "&2: " + folder_.File("R&&D.mtb"));
    std::vector<bool> shown;
    for (const char* name : {"sm_F(9)", "sm_F(10)", "sm_F(11)", "sm_F(12)", "sm_F(13)"})
        shown.push_back(Item(name)->isVisible());
    EXPECT_EQ(shown, (std::vector<bool>{true, true, false, true, false}));
    OpenMenu(0);
    EXPECT_FALSE(Item("sm_F(11)")->isEnabled());
    Item("sm_F(12)")->trigger();
    EXPECT_EQ(window_->ActiveProject()->windowTitle(), QStringLiteral("R&D"));
    EXPECT_EQ(Item("sm_F(10)")->text().toStdString(), "&0: " + folder_.File("R&&D.mtb"));
    EXPECT_EQ(Item("sm_F(11)")->text().toStdString(), "&1: " + first);
    EXPECT_FALSE(Item("sm_F(12)")->isVisible());
}

// An empty frame says what to do first; a project window takes its place,
// and the hint comes back when the last one closes.
TEST_F(MainWindowTest, AnEmptyFrameSaysWhatToDoFirst) {
    Start();
    const auto* hint = window_->findChild<QLabel*>(QStringLiteral("objStartHint"));
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_TRUE(hint->text().startsWith(QStringLiteral("はじめに：\n1. ﾌｧｲﾙ → 新規作成 (Ctrl+N)")));
    window_->RunCommand(Command::New);
    EXPECT_FALSE(hint->isVisible());
    window_->RunCommand(Command::Close);
    EXPECT_TRUE(hint->isVisible());
}

// New windows once opened mostly outside the frame with their title bars hidden.
TEST_F(MainWindowTest, NewWindowsCascadeInsideTheVisibleArea) {
    Start();
    auto* area = window_->findChild<QMdiArea*>();
    for (int i = 0; i < 12; ++i) {
        window_->RunCommand(Command::New);
        EXPECT_TRUE(area->viewport()->rect().contains(area->activeSubWindow()->geometry())) << i;
    }
}

// Stored values move only their edge, a non-number is reported and the
// minimum size holds; the layout is stored in twips on close, in the normal
// state only.
TEST_F(MainWindowTest, WindowLayoutIsRememberedInTwips) {
    Start();
    const QRect designed(window_->pos(), window_->size());
    window_.reset();
    WriteSetting(keys::MainFormLeft, "4500");
    WriteSetting(keys::MainFormTop, "high");
    WriteSetting(keys::MainFormWidth, "3000");
    ui_.Answer(MsgResult::OK);
    Start();
    test::ExpectBox(ui_.Boxes().at(0), "型が一致しません。", "zarvopackｴﾗｰ 13");
    EXPECT_EQ(QRect(window_->pos(), window_->size()),
              QRect(TwipsToPixelsX(4500), designed.y(), TwipsToPixelsX(6880), designed.height()));
    window_->resize(100, 100);
    EXPECT_EQ(window_->size(), QSize(TwipsToPixelsX(6880), TwipsToPixelsY(6165)));

    window_->move(TwipsToPixelsX(3000), TwipsToPixelsY(1500));
    window_->resize(TwipsToPixelsX(12000), TwipsToPixelsY(9000));
    ASSERT_TRUE(window_->close());
    const auto stored = [this](const SettingsKey& key) {
        const auto value = IniFile(folder_.Settings()).Read(key.section, key.name);
        EXPECT_TRUE(value);
        return value.value_or("");
    };
    EXPECT_EQ(stored(keys::MainFormLeft), std::to_string(PixelsToTwipsX(window_->x())));
    EXPECT_EQ(stored(keys::MainFormTop), std::to_string(PixelsToTwipsY(window_->y())));
    EXPECT_EQ(stored(keys::MainFormWidth), "12000");
    EXPECT_EQ(stored(keys::MainFormHeight), "9000");
    WriteSetting(keys::MainFormWidth, "11000");
    Start();
    window_->showMaximized();
    ASSERT_TRUE(window_->close());
    EXPECT_EQ(stored(keys::MainFormWidth), "11000");
}

// The View menu's items act on the active window and show its state; a tab
// shown again is also the one shown.
TEST_F(MainWindowTest, ViewMenuFollowsTheWindow) {
    Start();
    ProjectWindow& project = ProjectWith({"a"});
    for (const char* item : {"sm_VS(1)", "sm_VP(1)", "sm_V(1)", "sm_VT(2)"})
        Item(item)->trigger();
    OpenMenu(1);
    EXPECT_EQ(project.GetSizeUnit(), UnitMegabytes);
    EXPECT_EQ(project.GetPathMode(), FileNamesOnly);
    EXPECT_FALSE(Item("sm_V(2)")->isEnabled()) << "the information tab is hidden";
    for (const char* item : {"sm_V(1)", "sm_VS(1)", "sm_VP(1)"})
        EXPECT_TRUE(Item(item)->isChecked()) << item;
    EXPECT_FALSE(Item("sm_VS(3)")->isChecked()) << "the unit a new project starts with";
    Item("sm_VT(2)")->trigger();
    EXPECT_EQ(project.CurrentTab(), ProjectTab::Info);
}

// The list commands as the user reaches them, keys, tool bar buttons and the
// right button; what each command does is tested with the project.
TEST_F(MainWindowTest, ListCommandsAnswerKeysButtonsAndTheRightButton) {
    Start();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    ProjectWindow& project = ProjectWith({"a", "b"}, "G");  // a, b, G
    const std::string a = folder_.File("a"), b = folder_.File("b");
    Select(project, {2});
    EXPECT_EQ(EnabledButtons(), (Texts{"New", "Open", "Save", "Size", "Path", "Add", "Delete",
                                       "Cut", "Release", "Start", "Setup"}));
    Select(project, {0, 1});
    ui_.AnswerInput("Pair");
    Key(project, Qt::Key_F3);
    EXPECT_EQ(Names(project), (Texts{"G", "Pair"}));
    EXPECT_EQ(project.GetOpenGroup(), "Pair");

    project.RenderList(ProjectList::Files, "", 0);
    Select(project, {1});
    Key(project, Qt::Key_F2);
    auto* editor = project.ListView(ProjectList::Files)->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("Holiday"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(Names(project), (Texts{"G", "Holiday"}));
    Select(project, {1});
    QTest::mouseClick(Button("Release"), Qt::LeftButton);
    EXPECT_EQ(Names(project), (Texts{"G", a, b}));

    // A second Cut replaces the marks: only a moves into the opened group.
    Select(project, {0, 2});
    Key(project, Qt::Key_X, Qt::ControlModifier);
    Select(project, {0});
    Key(project, Qt::Key_X, Qt::ControlModifier);
    project.RenderList(ProjectList::Files, "G", 0);
    Key(project, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Names(project), (Texts{"G", b}));
    EXPECT_FALSE(Button("Paste")->isEnabled());

    project.RenderList(ProjectList::Files, "", 0);
    Select(project, {0});
    ui_.Answer(MsgResult::OK);
    QTest::mouseClick(Button("Delete"), Qt::LeftButton);
    EXPECT_EQ(Names(project), (Texts{"G"}));
    EXPECT_FALSE(Button("Delete")->isEnabled()) << "nothing selected any more";

    ProjectListView& list = *project.ListView(ProjectList::Files);
    const QPoint at = list.RowRect(0).center();
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, at);
    auto* menu = window_->findChild<QMenu*>(QStringLiteral("hM(2)"));
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), list.viewport()->mapToGlobal(at));
    EXPECT_TRUE(Item("sm_L(1)")->isEnabled()) << "refreshed for the row under the pointer";
    menu->hide();
    project.SelectTab(ProjectTab::Result);
    OpenMenu(2);
    EXPECT_FALSE(Item("sm_L(0)")->isEnabled()) << "no list editing on the result tab";

    ui_.Answer(MsgResult::No);
    Key(project, Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(window_->ProjectWindowCount(), 0) << "Ctrl+F4 closes a project window";
    window_->RunCommand(Command::New);
    Key(*window_->ActiveProject(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(window_->ProjectWindowCount(), 0) << "so does Ctrl+W";
}

}  // namespace
}  // namespace zv
