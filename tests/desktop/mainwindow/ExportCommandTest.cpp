#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "desktop/dialogs/dlgExport.h"
#include "tests/desktop/dialogs/DialogChecks.h"
#include "tests/desktop/mainwindow/MainWindowFixture.h"

namespace zv {
namespace {

using ExportCommandTest = test::MainWindowFixture;

TEST_F(ExportCommandTest, TheResultMenuAndTheFileMenuExportTheResultsWhereTheUserChooses) {
    Start();
    frmNested& project = ProjectWith({"a.txt", "b.txt"});
    OpenMenu(0);
    EXPECT_FALSE(Item("sm_F(17)")->isEnabled()) << "nothing to export before a run";

    project.Document().Items()[0].Medium = 1;
    project.Document().Items()[1].Medium = 2;
    project.SelectTab(ProjectTab::Result);
    QTreeWidget& results = *project.ListView(ProjectList::Results);
    QTest::mouseClick(results.viewport(), Qt::RightButton, {}, QPoint(20, 20));
    auto* menu = window_->findChild<QMenu*>(QStringLiteral("objResultMenu"));
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->actions(), QList<QAction*>{Item("sm_F(17)")});
    EXPECT_TRUE(Item("sm_F(17)")->isEnabled());
    menu->hide();

    const SettingsKey& last = settings_keys::LastFolder;
    WriteSetting(last.section, last.name, folder_.Path());
    const std::string out = folder_.File("書き出し先");
    std::filesystem::create_directory(out);
    ui_.AnswerFile(out);
    ui_.Answer(MsgResult::OK);
    test::WhenModal<dlgExport>([this](dlgExport& dialog) {
        auto* folder = test::Control<QLineEdit>(dialog, "objText(0)");
        auto* exportButton = test::Control<QPushButton>(dialog, "objButton(1)");
        EXPECT_EQ(folder->text().toStdString(), folder_.Path()) << "where the user last was";
        EXPECT_TRUE(exportButton->isEnabled());
        folder->setText(QStringLiteral("relative"));
        EXPECT_FALSE(exportButton->isEnabled());
        test::Control<QPushButton>(dialog, "objButton(0)")->click();
        EXPECT_TRUE(exportButton->isEnabled());
        test::Control<QRadioButton>(dialog, "objOption(1)")->click();
        exportButton->click();
    });
    Item("sm_F(17)")->trigger();

    ASSERT_EQ(ui_.FileDialogs().size(), 1u);
    EXPECT_EQ(ui_.FileDialogs()[0].kind, ScriptedUi::DialogKind::Folder);
    EXPECT_EQ(ui_.FileDialogs()[0].request.title, "書き出し先のﾌｫﾙﾀﾞ");
    EXPECT_EQ(ui_.FileDialogs()[0].request.proposedName, "relative");
    EXPECT_EQ(ui_.OnlyBoxText(), "次のﾌｫﾙﾀﾞに書き出しました\r\n" + out +
                                     "\r\n無題1_01.pathlist\r\n無題1_02.pathlist\r\n");
    EXPECT_TRUE(std::filesystem::exists(out + "/無題1_02.pathlist"));
    std::string remembered;
    IniAccess(IniRead, last.section, last.name, remembered, folder_.Settings());
    EXPECT_EQ(remembered, out);
}

}  // namespace
}  // namespace zv
