#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "dialogs/dlgCheckGroup.h"
#include "document/ProjectDocument.h"
#include "platform/ScriptedUi.h"
#include "shell/AppState.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

class dlgCheckGroupTest : public ::testing::Test {
  protected:
    // The project the files are for holds the group "Photos".
    dlgCheckGroupTest() {
        App().chosenGroupName = "left over";
        std::vector<FileRef> files;
        for (const char* name : {"a.jpg", "b.jpg"}) {
            test::WriteBytes(folder_.File(name), "x");
            files.push_back(FileRef::Get(folder_.File(name)));
        }
        ProjectDocument project;
        EXPECT_TRUE(project.AddFiles(files, "Photos"));
        items_ = project.GetItems();
        dialog_ = std::make_unique<dlgCheckGroup>(nullptr, items_);
        dialog_->show();
    }

    template <class Widget>
    Widget* Control(const char* name) {
        auto* widget = dialog_->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QLineEdit* NameBox() { return Control<QLineEdit>("objText(0)"); }

    // Chooses "はい(&Y)", types the name and presses OK.
    void Confirm(const QString& name) {
        QTest::mouseClick(Control<QRadioButton>("objOption(1)"), Qt::LeftButton);
        NameBox()->setText(name);
        QTest::mouseClick(Control<QPushButton>("objButton(0)"), Qt::LeftButton);
    }

    void ExpectLastBox(const std::string& text, const std::string& title = "Zarvopack",
                       MsgButtons buttons = MsgButtons::OK) {
        ASSERT_FALSE(ui_.Boxes().empty());
        const MessageBoxRequest& box = ui_.Boxes().back();
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.title, title);
        EXPECT_EQ(box.buttons, buttons);
        EXPECT_EQ(box.icon, MsgIcon::None);
    }

    test::TempFolder folder_;
    ScriptedUi ui_;
    std::vector<ItemRecord> items_;
    std::unique_ptr<dlgCheckGroup> dialog_;
};

TEST_F(dlgCheckGroupTest, OpensWithNoChosenAndTheNameBoxClosed) {
    EXPECT_EQ(App().chosenGroupName, "");
    EXPECT_EQ(Control<QLabel>("objLabel(0)")->text().toStdString(),
              "複数のﾌｧｲﾙが選択されました\nこれらのﾌｧｲﾙをｸﾞﾙｰﾌﾟとして登録しますか？\n"
              "同一種類のﾌｧｲﾙ等、１つのﾒﾃﾞｨｱに一緒に入れておきたいﾌｧｲﾙ群をｸﾞﾙｰﾌﾟとして"
              "登録しておくことができます\n検索時に別々のﾒﾃﾞｨｱに振り分けられてしまうことを"
              "避けることができます");
    EXPECT_EQ(Control<QRadioButton>("objOption(1)")->text(), QStringLiteral("はい(&Y)"));
    EXPECT_EQ(Control<QRadioButton>("objOption(0)")->text(), QStringLiteral("いいえ(&N)"));
    EXPECT_TRUE(Control<QRadioButton>("objOption(0)")->isChecked());
    auto* ok = Control<QPushButton>("objButton(0)");
    EXPECT_EQ(ok->text(), QStringLiteral("OK(&O)"));
    EXPECT_TRUE(ok->isDefault());
    EXPECT_TRUE(dialog_->isModal());
    EXPECT_EQ(dialog_->minimumSize(), dialog_->maximumSize());
    EXPECT_TRUE(dialog_->windowFlags() & Qt::Tool);

    const QPalette colours = QApplication::palette();
    ASSERT_NE(colours.color(QPalette::Window), colours.color(QPalette::Base));
    EXPECT_FALSE(NameBox()->isEnabled());
    EXPECT_EQ(NameBox()->text(), QString());
    EXPECT_EQ(NameBox()->palette().color(QPalette::Base), colours.color(QPalette::Window));
    QTest::mouseClick(Control<QRadioButton>("objOption(1)"), Qt::LeftButton);
    EXPECT_TRUE(NameBox()->isEnabled());
    EXPECT_EQ(NameBox()->palette().color(QPalette::Base), colours.color(QPalette::Base));
    EXPECT_EQ(dialog_->focusWidget(), NameBox());
    QTest::mouseClick(Control<QRadioButton>("objOption(0)"), Qt::LeftButton);
    EXPECT_FALSE(NameBox()->isEnabled());
    EXPECT_EQ(NameBox()->palette().color(QPalette::Base), colours.color(QPalette::Window));
}

TEST_F(dlgCheckGroupTest, NoNeverLooksAtTheName) {
    QTest::mouseClick(Control<QRadioButton>("objOption(1)"), Qt::LeftButton);
    NameBox()->setText(QStringLiteral("Tom's"));
    QTest::mouseClick(Control<QRadioButton>("objOption(0)"), Qt::LeftButton);
    QTest::mouseClick(Control<QPushButton>("objButton(0)"), Qt::LeftButton);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(App().chosenGroupName, "");
    EXPECT_TRUE(ui_.Boxes().empty());
}

TEST_F(dlgCheckGroupTest, AnEmptyNameKeepsTheDialogOpen) {
    ui_.Answer(MsgResult::OK);
    Confirm(QString());
    ExpectLastBox("ｸﾞﾙｰﾌﾟ名を決定してください");
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(dialog_->focusWidget(), NameBox());
}

TEST_F(dlgCheckGroupTest, PathsAndForbiddenCharactersCloseWithoutAName) {
    const std::string existing = "存在するファイル・フォルダの名前(パス)を指定することは出来ません";
    const std::string forbidden = "「’」、「”」、「..」は名前に使用できません";
    // An existing folder is refused for being there before its two dots count.
    const std::vector<std::pair<std::string, std::string>> refusals{
        {folder_.Path(), existing},
        {folder_.File("a.jpg"), existing},
        {folder_.Path() + "/..", existing},
        {"a..b", forbidden},
        {"Tom's", forbidden},
        {"\"quoted\"", forbidden},
    };
    for (const auto& [name, message] : refusals) {
        dialog_->show();
        ui_.Answer(MsgResult::OK);
        Confirm(QString::fromStdString(name));
        ExpectLastBox(message);
        EXPECT_FALSE(dialog_->isVisible()) << name;
        EXPECT_EQ(App().chosenGroupName, "") << name;
    }
}

TEST_F(dlgCheckGroupTest, AnExistingGroupIsConfirmedWithYesOrCorrectedAfterNo) {
    const std::string question =
        "既に、同名のｸﾞﾙｰﾌﾟが存在します\r\n既存のｸﾞﾙｰﾌﾟにこのｱｲﾃﾑを追加しますか？";
    ui_.Answer(MsgResult::No);
    Confirm(QStringLiteral("PHOTOS"));
    ExpectLastBox(question, "ｸﾞﾙｰﾌﾟの作成", MsgButtons::YesNo);
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(NameBox()->selectedText(), QStringLiteral("PHOTOS"));
    EXPECT_EQ(dialog_->focusWidget(), NameBox());
    EXPECT_EQ(App().chosenGroupName, "");

    ui_.Answer(MsgResult::Yes);
    QTest::mouseClick(Control<QPushButton>("objButton(0)"), Qt::LeftButton);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(App().chosenGroupName, "PHOTOS");
}

TEST_F(dlgCheckGroupTest, AskShowsTheDialogModallyAndGivesTheNameConfirmed) {
    dialog_.reset();
    const std::string longName(300, 'n');
    QTimer::singleShot(0, [&] {
        auto* shown = qobject_cast<dlgCheckGroup*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        QTest::mouseClick(shown->findChild<QRadioButton*>(QStringLiteral("objOption(1)")),
                          Qt::LeftButton);
        auto* box = shown->findChild<QLineEdit*>(QStringLiteral("objText(0)"));
        box->setText(QString::fromStdString(longName));
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(dlgCheckGroup::Ask(nullptr, items_), longName) << "no length rule here";
}

}  // namespace
}  // namespace zv
