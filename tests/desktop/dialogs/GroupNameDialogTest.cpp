#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "core/project/ProjectDocument.h"
#include "desktop/dialogs/GroupNameDialog.h"
#include "tests/desktop/dialogs/DialogChecks.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

class GroupNameDialogTest : public ::testing::Test {
  protected:
    // The project the files are for holds the group "Photos".
    GroupNameDialogTest() {
        std::vector<FileRef> files;
        for (const char* name : {"a.jpg", "b.jpg"}) {
            test::WriteBytes(folder_.File(name), "x");
            files.push_back(FileRef::Get(folder_.File(name)));
        }
        ProjectDocument project;
        EXPECT_TRUE(project.AddFiles(files, "Photos"));
        items_ = project.GetItems();
        dialog_ = std::make_unique<GroupNameDialog>(nullptr, items_);
        dialog_->show();
    }

    QRadioButton* Option(int i) {
        return test::Control<QRadioButton>(*dialog_, QStringLiteral("objOption(%1)").arg(i));
    }
    QLineEdit* NameBox() { return test::Control<QLineEdit>(*dialog_, "objText(0)"); }
    QPushButton* Ok() { return test::Control<QPushButton>(*dialog_, "objButton(0)"); }

    // Chooses "はい(&Y)", types the name and presses OK.
    void Confirm(const QString& name) {
        QTest::mouseClick(Option(1), Qt::LeftButton);
        NameBox()->setText(name);
        QTest::mouseClick(Ok(), Qt::LeftButton);
    }

    test::TempFolder folder_;
    ScriptedUi ui_;
    std::vector<ItemRecord> items_;
    std::unique_ptr<GroupNameDialog> dialog_;
};

// The name box, greyed until "yes" is chosen, takes the focus then; "no"
// never looks at it.
TEST_F(GroupNameDialogTest, TheNameBoxOpensWithYesAndNoNeverLooksAtIt) {
    EXPECT_TRUE(Option(0)->isChecked());
    EXPECT_FALSE(NameBox()->isEnabled());
    QTest::mouseClick(Option(1), Qt::LeftButton);
    EXPECT_EQ(dialog_->focusWidget(), NameBox());
    NameBox()->setText(QStringLiteral("Tom's"));
    QTest::mouseClick(Option(0), Qt::LeftButton);
    EXPECT_FALSE(NameBox()->isEnabled());
    QTest::mouseClick(Ok(), Qt::LeftButton);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->ChosenName(), "");
}

TEST_F(GroupNameDialogTest, RefusedNamesCloseWithoutANameButAnEmptyOneIsAskedFor) {
    const std::string existing = "存在するファイル・フォルダの名前(パス)を指定することは出来ません";
    const std::string forbidden = "「’」、「”」、「..」は名前に使用できません";
    // An existing folder is refused for being there before its two dots count.
    const struct {
        std::string name;
        std::string message;
        bool staysOpen;
    } refusals[] = {
        {"", "ｸﾞﾙｰﾌﾟ名を決定してください", true},
        {folder_.Path(), existing, false},
        {folder_.File("a.jpg"), existing, false},
        {folder_.Path() + "/..", existing, false},
        {"a..b", forbidden, false},
        {"Tom's", forbidden, false},
        {"\"quoted\"", forbidden, false},
    };
    for (const auto& [name, message, staysOpen] : refusals) {
        dialog_->show();
        ui_.Answer(MsgResult::OK);
        Confirm(QString::fromStdString(name));
        test::ExpectBox(ui_.Boxes().back(), message, "Zarvopack");
        EXPECT_EQ(dialog_->isVisible(), staysOpen) << name;
        EXPECT_TRUE(!staysOpen || dialog_->focusWidget() == NameBox()) << name;
        EXPECT_EQ(dialog_->ChosenName(), "") << name;
    }
}

TEST_F(GroupNameDialogTest, AnExistingGroupIsConfirmedWithYesOrCorrectedAfterNo) {
    ui_.Answer(MsgResult::No);
    Confirm(QStringLiteral("PHOTOS"));
    test::ExpectBox(ui_.Boxes().at(0),
                    "既に、同名のｸﾞﾙｰﾌﾟが存在します\r\n既存のｸﾞﾙｰﾌﾟにこのｱｲﾃﾑを追加しますか？",
                    "ｸﾞﾙｰﾌﾟの作成", MsgButtons::YesNo);
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(NameBox()->selectedText(), QStringLiteral("PHOTOS"));
    EXPECT_EQ(dialog_->focusWidget(), NameBox());
    EXPECT_EQ(dialog_->ChosenName(), "");

    ui_.Answer(MsgResult::Yes);
    QTest::mouseClick(Ok(), Qt::LeftButton);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->ChosenName(), "PHOTOS");
}

}  // namespace
}  // namespace zv
