#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "core/project/ProjectDocument.h"
#include "core/settings/IniAccess.h"
#include "desktop/dialogs/dlgRunSetting.h"
#include "tests/desktop/dialogs/DialogChecks.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

// The boxes by their place in the dialog: the capacity, then objText(0) to (3).
constexpr int kCapacity = -1;
constexpr int kCancel = 0, kApply = 2, kOk = 3;

class dlgRunSettingTest : public ::testing::Test {
  protected:
    dlgRunSettingTest() {
        WriteSetting("MSizeSet", "0", "CD-R 74分 (650MB)#681984000");
        WriteSetting("MSizeSet", "1", "DVD-R (4.7GB)#4707319808");
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

    template <class Widget = QWidget>
    Widget* Control(const QString& name) const {
        return test::Control<Widget>(*dialog_, name);
    }
    QLabel* Label(int i) const { return Control<QLabel>(QStringLiteral("objLabel(%1)").arg(i)); }
    QComboBox* Capacity() const { return Control<QComboBox>("objCombo(0)"); }
    QWidget* Box(int i) const {
        return i == kCapacity ? Capacity() : Control(QStringLiteral("objText(%1)").arg(i));
    }
    QLineEdit* Edit(int i) const {
        return i == kCapacity ? Capacity()->lineEdit() : static_cast<QLineEdit*>(Box(i));
    }
    std::string Text(int i) const { return Edit(i)->text().toStdString(); }
    void Click(int button) {
        QTest::mouseClick(Control(QStringLiteral("objButton(%1)").arg(button)), Qt::LeftButton);
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
    const RunSettings loaded_{.MediaSize = "DVD-R (4.7GB)",
                              .DiffSize = 4707319.5,
                              .MediaNum = 32766,
                              .MaxFile = 32766,
                              .MinFile = 0,
                              .MaxSpeed = true,
                              .AfterRun = 3,
                              .AfterPath = "/media/backup",
                              .Method = PackingMethod::FewestMedia};
    ProjectDocument project_;
    std::unique_ptr<dlgRunSetting> dialog_;
};

TEST_F(dlgRunSettingTest, APresetThatCannotBeReadIsReportedAndTheSettingsStillShow) {
    WriteSetting("MSizeSet", "1", "DVD-R");
    ui_.Answer(MsgResult::OK);
    Open();
    test::ExpectBox(ui_.Boxes().at(0), "プロシージャの呼び出し、または引数が不正です。",
                    "zarvopackｴﾗｰ 5");
    EXPECT_EQ(Text(0), "4,707,319");
}

// The label under the mouse explains its field; the settings file may say it
// otherwise, a unit label changes nothing and the background takes it away.
TEST_F(dlgRunSettingTest, TheFieldUnderTheMouseIsExplained) {
    WriteSetting("SettingComments", "7", "枚数の上限です");
    Open();
    const std::pair<QWidget*, std::string> hovers[] = {
        {Label(5), "ﾒﾃﾞｨｱの欠損量の許容量を指定します。(0 ～ <∞)\n"},
        {Label(15), "検索速度が最大限に上がり検出ﾌｧｲﾙ数が気持ち多くなります。"},
        {Label(16), "ﾒﾃﾞｨｱの詰め方を選びます。\n"},
        {Label(7), "枚数の上限です"},
        {Label(8), "枚数の上限です"},
        {dialog_.get(), ""},
    };
    for (const auto& [widget, help] : hovers) {
        QTest::mouseMove(widget, widget == dialog_.get() ? QPoint(1, 1) : QPoint());
        EXPECT_EQ(Label(14)->text().toStdString().substr(0, help.size()), help);
    }
    EXPECT_EQ(Label(14)->text(), QString());
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
    const struct {
        std::vector<std::pair<int, QString>> typed;
        std::string message;
        int focus;
    } cases[] = {
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
    for (const auto& refused : cases) {
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

// Shown and taken back unchanged, then with every choice changed.
TEST_F(dlgRunSettingTest, OkAppliesTheSettingsShown) {
    RunSettings expected = loaded_;
    expected.DiffSize = 4707319;  // the tolerance shows whole bytes
    for (const bool change : {false, true}) {
        Open();
        EXPECT_EQ(Capacity()->count(), 2);
        if (change) {
            Control<QCheckBox>("objCheck(0)")->setChecked(false);
            Control<QComboBox>("objCombo(1)")->setCurrentIndex(0);
            Control<QComboBox>("objCombo(2)")->setCurrentIndex(1);
            Control<QCheckBox>("objCheck(1)")->setChecked(true);
            expected.MaxSpeed = false;
            expected.Method = PackingMethod::Sequential;
            expected.AfterRun = 1;
            expected.FsAllowance = FileSystemAllowance::Iso9660;
        }
        Click(kOk);
        EXPECT_EQ(dialog_->result(), QDialog::Accepted);
        EXPECT_FALSE(dialog_->isVisible());
        EXPECT_EQ(project_.GetRunSettings(), expected);
    }
    EXPECT_TRUE(project_.Modified());
}

TEST_F(dlgRunSettingTest, EnterPressesOkWhileEscapeAndCancelApplyNothing) {
    Open();
    TypeInto(2, QStringLiteral("100"));
    QTest::keyClick(Edit(2), Qt::Key_Return);
    EXPECT_TRUE(dialog_->Applied());
    EXPECT_EQ(project_.GetRunSettings().MaxFile, 100);
    project_.SetModified(false);

    for (const bool escape : {true, false}) {
        Open();
        TypeInto(1, QStringLiteral("3"));
        if (escape)
            QTest::keyClick(Edit(1), Qt::Key_Escape);
        else
            Click(kCancel);
        EXPECT_EQ(dialog_->result(), QDialog::Rejected);
        EXPECT_FALSE(dialog_->Applied());
    }
    EXPECT_EQ(project_.GetRunSettings().MediaNum, 32766);
    EXPECT_FALSE(project_.Modified());
}

}  // namespace
}  // namespace zv
