#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>

#include "core/project/SaveProject.h"
#include "tests/desktop/PlannedByTool.h"
#include "tests/desktop/projectwindow/WindowTest.h"

namespace zv {
namespace {

using namespace test;

std::string TextOf(const QWidget& window, const QString& name) {
    if (const auto* label = window.findChild<QLabel*>(name))
        return label->text().toStdString();
    return window.findChild<QLineEdit*>(name)->text().toStdString();
}

// The ten value texts of the information tab, objLabel(11) to objLabel(20).
Texts Figures(const QWidget& window) {
    Texts figures;
    for (int k = 11; k <= 20; ++k)
        figures.push_back(TextOf(window, QStringLiteral("objLabel(%1)").arg(k)));
    return figures;
}

// The entries of the medium chooser, the item count and total of the chosen
// medium, and the tags of its rows.
Texts ResultTab(const frmNested& window) {
    const auto* chooser = window.findChild<QComboBox*>(QStringLiteral("objCombo(0)"));
    Texts shown;
    for (int i = 0; i < chooser->count(); ++i)
        shown.push_back(chooser->itemText(i).toStdString());
    for (const char* box : {"objText(1)", "objText(2)"})
        shown.push_back(TextOf(window, QString::fromLatin1(box)));
    for (const std::string& tag : RowTags(*window.ListView(ProjectList::Results)))
        shown.push_back(tag);
    return shown;
}

class frmNestedProjectTest : public WindowTest {
  protected:
    // A project planned and saved by the command-line tool on media of 700
    // bytes without tolerance: a and d on medium 1, b and c on medium 2, e
    // larger than a medium.
    std::string PlannedProject() {
        MakeFile("a", 400), MakeFile("b", 300), MakeFile("c", 300), MakeFile("d", 200);
        MakeFile("e", 900);
        PlanWithTool(folder_.Path(), F("planned.mtb"), 700, {"a", "b", "c", "d", "e"});
        return F("planned.mtb");
    }
};

void ClickTab(frmNested& window, ProjectTab tab) {
    auto* bar = window.findChild<QTabBar*>();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(static_cast<int>(tab)).center());
}

TEST_F(frmNestedProjectTest, ProjectPlannedByTheToolOpensWithItsResultsAndFigures) {
    frmNested window;
    Show(window);
    ASSERT_TRUE(window.LoadProject(PlannedProject()));
    EXPECT_EQ(window.windowTitle().toStdString(), "planned");

    ClickTab(window, ProjectTab::Result);
    EXPECT_EQ(ResultTab(window),
              (Texts{" 1枚目", " 2枚目", " 未処理分", "2", "600", F("a"), F("d")}));
    auto* chooser = window.findChild<QComboBox*>(QStringLiteral("objCombo(0)"));
    QTest::keyClick(chooser, Qt::Key_Down);
    EXPECT_EQ(window.ChosenMedium(), 2);
    EXPECT_EQ(ColumnTexts(*window.ListView(ProjectList::Results), 1), (Texts{"300", "300"}));
    QTest::keyClick(chooser, Qt::Key_End);
    EXPECT_EQ(window.ChosenMedium(), 0);
    EXPECT_EQ(ResultTab(window), (Texts{" 1枚目", " 2枚目", " 未処理分", "1", "900", F("e")}));

    // Choosing a tab lets pending events run and tells the main window.
    QSignalSpy changes(&window, &frmNested::StateChanged);
    const int yields = ui_.YieldCount();
    ClickTab(window, ProjectTab::Info);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_GT(ui_.YieldCount(), yields);
    EXPECT_NE(window.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(Figures(window),
              (Texts{"表示数： 5 登録数： 5 ", "0 ", "2,100 ﾊﾞｲﾄ", "900 ﾊﾞｲﾄ", "200 ﾊﾞｲﾄ",
                     "420 ﾊﾞｲﾄ", "2 ", "1,400 ﾊﾞｲﾄ", "1,200 ﾊﾞｲﾄ", "200 ﾊﾞｲﾄ"}));

    // Results cleared after they were shown: the result list must not keep
    // showing a medium.
    window.SelectTab(ProjectTab::List);
    window.ClearResults();
    window.SelectTab(ProjectTab::Result);
    EXPECT_EQ(window.ChosenMedium(), 0);
    EXPECT_EQ(ResultTab(window),
              (Texts{" 未処理分", "5", "2,100", F("a"), F("b"), F("c"), F("d"), F("e")}));
    window.SelectTab(ProjectTab::Info);
    const Texts figures = Figures(window);
    EXPECT_EQ(Texts(figures.begin() + 6, figures.end()),
              (Texts{"未実行", "0 ﾊﾞｲﾄ", "0 ﾊﾞｲﾄ", "0 ﾊﾞｲﾄ"}));
}

// The caption follows the file saved or loaded; a file that is no project
// empties the window, list included.
TEST_F(frmNestedProjectTest, SaveAndLoadCarryTheCaption) {
    frmNested window;
    ASSERT_TRUE(window.AddFiles({File("a", 10), File("b", 20)}, ""));
    ui_.AnswerFile(F("Proj.MTB"));
    EXPECT_TRUE(window.SaveProject(kSaveToPath, false));
    EXPECT_EQ(window.windowTitle().toStdString(), "Proj");
    EXPECT_FALSE(window.Document().Modified());

    frmNested loaded;
    ASSERT_TRUE(loaded.LoadProject(F("Proj.MTB")));
    EXPECT_EQ(loaded.windowTitle().toStdString(), "Proj");
    EXPECT_EQ(RowTags(*loaded.ListView(ProjectList::Files)), (Texts{F("a"), F("b")}));
    EXPECT_NE(loaded.cursor().shape(), Qt::WaitCursor);
    test::WriteBytes(F("junk.mtb"), "no database here");
    EXPECT_FALSE(loaded.LoadProject(F("junk.mtb")));
    EXPECT_EQ(loaded.ListView(ProjectList::Files)->topLevelItemCount(), 0);
    EXPECT_TRUE(loaded.Document().IsEmpty());
    // Closing tells the main window, which brings its commands up to date.
    QSignalSpy changes(&loaded, &frmNested::StateChanged);
    EXPECT_TRUE(loaded.close());
    EXPECT_EQ(changes.count(), 1);
}

}  // namespace
}  // namespace zv
