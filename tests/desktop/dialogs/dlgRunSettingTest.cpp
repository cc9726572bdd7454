#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <memory>

#include "core/project/ProjectDocument.h"
#include "core/settings/AppState.h"
#include "core/settings/IniAccess.h"
#include "desktop/dialogs/dlgRunSetting.h"
#include "tests/desktop/dialogs/DialogChecks.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

// The boxes by their place in the dialog: the capacity, then objText(0) to (3).
constexpr int kCapacity = -1;
constexpr int kCancel = 0, kApply = 2, kOk = 3, kDefaults = 5, kAuto = 6;

class dlgRunSettingTest : public ::testing::Test {
  protected:
    dlgRunSettingTest() {
        WriteSetting("MSizeSet", "0", "CD-R 74分 (650MB)#681984000");
        WriteSetting("MSizeSet", "1", "DVD-R (4.7GB)#4707319808");
        loaded_ = {.MediaSize = "DVD-R (4.7GB)",
                   .DiffSize = 4707319.5,
                   .MediaNum = 32766,
                   .MaxFile = 32766,
                   .MinFile = 0,
                   .MaxSpeed = true,
                   .AfterRun = 3,
                   .AfterPath = "/media/backup",
                   .Method = PackingMethod::FewestMedia};
        project_.LoadRunSettings(loaded_);
        project_.SetModified(false);
    }

    void WriteSetting(const std::string& section, const std::string& key, std::string value) {
        ASSERT_TRUE(IniAccess(IniWrite, section, key, value, folder_.Settings()));
    }

    // The dialog as its openers show it, but without blocking the test.
    void Open() {
        dialog_ = std::make_unique<dlgRunSetting>(nullptr, project_);
        dialog_->show();
        dialog_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
    }

    QLabel* Label(int i) const {
        return test::Control<QLabel>(*dialog_, QStringLiteral("objLabel(%1)").arg(i));
    }
    std::string Help() const { return Label(14)->text().toStdString(); }
    QComboBox* Capacity() const { return test::Control<QComboBox>(*dialog_, "objCombo(0)"); }
    QWidget* Box(int i) const {
        if (i == kCapacity)
            return Capacity();
        return test::Control(*dialog_, QStringLiteral("objText(%1)").arg(i));
    }
    QLineEdit* Edit(int i) const {
        return i == kCapacity ? Capacity()->lineEdit() : static_cast<QLineEdit*>(Box(i));
    }
    std::string Text(int i) const { return Edit(i)->text().toStdString(); }
    void Click(int button) {
        QTest::mouseClick(test::Control(*dialog_, QStringLiteral("objButton(%1)").arg(button)),
                          Qt::LeftButton);
    }

    // Types into a box as the user does: it takes the focus and everything in
    // it is replaced.
    void TypeInto(int box, const QString& text) {
        Box(box)->setFocus(Qt::TabFocusReason);
        Edit(box)->selectAll();
        QTest::keyClick(Edit(box), Qt::Key_Delete);
        QTest::keyClicks(Edit(box), text);
    }

    // The last box refused the settings and took the user back to `box`.
    void ExpectRefused(const std::string& text, int box) {
        ASSERT_FALSE(ui_.Boxes().empty());
        test::ExpectBox(ui_.Boxes().back(), text, "ｴﾗｰ");
        EXPECT_EQ(QApplication::focusWidget(), Box(box));
        EXPECT_EQ(Edit(box)->selectedText(), Edit(box)->text());
        EXPECT_FALSE(project_.Modified());
        EXPECT_FALSE(dialog_->Applied());
    }

    test::TempFolder folder_;
    ScriptedUi ui_;
    RunSettings loaded_;
    ProjectDocument project_;
    std::unique_ptr<dlgRunSetting> dialog_;
};

TEST_F(dlgRunSettingTest, APresetThatCannotBeReadIsReportedAndTheSettingsStillShow) {
    WriteSetting("MSizeSet", "1", "DVD-R");
    ui_.Answer(MsgResult::OK);
    Open();
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_EQ(ui_.Boxes()[0].text, "プロシージャの呼び出し、または引数が不正です。");
    EXPECT_EQ(ui_.Boxes()[0].title, "zarvopackｴﾗｰ 5");
    EXPECT_EQ(Text(0), "4,707,319");
    EXPECT_EQ(Label(3)->text().toStdString(), "容量(&S)：");
}

TEST_F(dlgRunSettingTest, TheFieldUnderTheMouseIsExplained) {
    WriteSetting("SettingComments", "7", "枚数の上限です");
    Open();
    QTest::mouseMove(Label(5));
    EXPECT_EQ(Help().rfind("ﾒﾃﾞｨｱの欠損量の許容量を指定します。(0 ～ <∞)\n", 0), 0u);
    QTest::mouseMove(Label(15));
    EXPECT_EQ(Help().rfind("検索速度が最大限に上がり検出ﾌｧｲﾙ数が気持ち多くなります。", 0), 0u);
    QTest::mouseMove(Label(16));
    EXPECT_EQ(Help().rfind("ﾒﾃﾞｨｱの詰め方を選びます。\n", 0), 0u);
    QTest::mouseMove(Label(7));
    EXPECT_EQ(Help(), "枚数の上限です");

    // A unit label changes nothing; the background takes the help away.
    QTest::mouseMove(Label(8));
    EXPECT_EQ(Help(), "枚数の上限です");
    QTest::mouseMove(dialog_.get(), QPoint(1, 1));
    EXPECT_EQ(Help(), "");
}

TEST_F(dlgRunSettingTest, AYottaByteOrMoreIsRefusedOnLeavingTheBox) {
    Open();
    TypeInto(0, QStringLiteral("1000000000000000000000000"));
    ui_.Answer(MsgResult::OK);
    QTest::keyClick(Edit(0), Qt::Key_Tab);
    ExpectRefused("1ヨッタ以上を指定することは出来ません", 0);
    EXPECT_EQ(Text(0), "1000000000000000000000000");

    // The click on OK that took the focus goes no further.
    ui_.Answer(MsgResult::OK);
    Click(kOk);
    EXPECT_EQ(ui_.Boxes().size(), 2u);
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_FALSE(dialog_->Applied());

    TypeInto(0, QStringLiteral("999999999999999"));
    QTest::keyClick(Edit(0), Qt::Key_Tab);
    EXPECT_EQ(Text(0), "999,999,999,999,999");
}

TEST_F(dlgRunSettingTest, EachRuleRefusesWithTheFocusOnItsBoxUntilTheSettingsAreRight) {
    struct Case {
        std::vector<std::pair<int, QString>> typed;
        std::string message;
        int focus;
    };
    const Case cases[] = {
        {{{4, "backup"}}, "実行後の書き出し先のﾌｫﾙﾀﾞをﾌﾙﾊﾟｽで指定してください", 4},
        {{{kCapacity, "0"}},
         "正しくない容量を指定しました\r\n0もしくは正しくない指定文字列を設定しようとしました",
         kCapacity},
        {{{1, "0"}}, "最大ﾒﾃﾞｨｱ枚数を0に設定することは出来ません", 1},
        {{{2, "5"}, {3, "5"}}, "最大ﾌｧｲﾙ数以上の最小ﾌｧｲﾙ数を設定することは出来ません", 2},
        {{{kCapacity, "650000000"}, {0, "650000000"}},
         "ﾒﾃﾞｨｱ容量異常の許容差を設定することは出来ません",
         kCapacity},
    };
    for (const Case& refused : cases) {
        Open();
        for (const auto& [box, text] : refused.typed)
            TypeInto(box, text);
        ui_.Answer(MsgResult::OK);
        Click(kApply);
        ExpectRefused(refused.message, refused.focus);
    }

    // A tolerance one byte below the capacity is taken.
    TypeInto(0, QStringLiteral("649999999"));
    Click(kApply);
    EXPECT_TRUE(dialog_->Applied());
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(project_.GetRunSettings().MediaSize, "650,000,000");
    EXPECT_EQ(project_.GetRunSettings().DiffSize, 649999999);
    EXPECT_TRUE(project_.Modified());
}

TEST_F(dlgRunSettingTest, OkAppliesTheSettingsShown) {
    Open();
    EXPECT_EQ(Text(kCapacity), "DVD-R (4.7GB)");
    EXPECT_EQ(Capacity()->count(), 2);
    EXPECT_EQ(Capacity()->itemText(0).toStdString(), "CD-R 74分 (650MB)");
    auto* fast = test::Control<QCheckBox>(*dialog_, "objCheck(0)");
    auto* method = test::Control<QComboBox>(*dialog_, "objCombo(1)");
    auto* afterRun = test::Control<QComboBox>(*dialog_, "objCombo(2)");
    auto* allowance = test::Control<QCheckBox>(*dialog_, "objCheck(1)");
    EXPECT_TRUE(fast->isChecked());
    EXPECT_EQ(method->currentIndex(), 1);
    EXPECT_EQ(Label(16)->buddy(), method);
    EXPECT_EQ(afterRun->currentIndex(), 3);
    EXPECT_EQ(Text(4), "/media/backup");
    EXPECT_FALSE(allowance->isChecked());
    fast->setChecked(false);
    method->setCurrentIndex(0);
    afterRun->setCurrentIndex(1);
    allowance->setChecked(true);
    Click(kOk);
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog_->isVisible());
    // The tolerance shows whole bytes.
    RunSettings expected = loaded_;
    expected.DiffSize = 4707319;
    expected.MaxSpeed = false;
    expected.Method = PackingMethod::Sequential;
    expected.AfterRun = 1;
    expected.FsAllowance = FileSystemAllowance::Iso9660;
    EXPECT_EQ(project_.GetRunSettings(), expected);
    EXPECT_TRUE(project_.Modified());
}

TEST_F(dlgRunSettingTest, EnterPressesOkWhileEscapeAndCancelApplyNothing) {
    Open();
    TypeInto(2, QStringLiteral("100"));
    QTest::keyClick(Edit(2), Qt::Key_Return);
    EXPECT_TRUE(dialog_->Applied());
    EXPECT_EQ(project_.GetRunSettings().MaxFile, 100);
    project_.SetModified(false);

    Open();
    TypeInto(2, QStringLiteral("7"));
    QTest::keyClick(Edit(2), Qt::Key_Escape);
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    Open();
    TypeInto(1, QStringLiteral("3"));
    Click(kCancel);
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog_->Applied());
    EXPECT_EQ(project_.GetRunSettings().MaxFile, 100);
    EXPECT_EQ(project_.GetRunSettings().MediaNum, 32766);
    EXPECT_FALSE(project_.Modified());
}

}  // namespace
}  // namespace zv
