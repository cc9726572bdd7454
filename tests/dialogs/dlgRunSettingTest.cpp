#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>

#include "dialogs/dlgRunSetting.h"
#include "document/frmNested.h"
#include "platform/ScriptedUi.h"
#include "shell/AppState.h"
#include "shell/IniAccess.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

using Texts = std::vector<std::string>;

const char* const kErrorTitle = "ｴﾗｰ";

template <typename Widget>
Widget* Find(const QWidget& dialog, const std::string& name) {
    auto* widget = dialog.findChild<Widget*>(QString::fromStdString(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

std::string Text(const QLabel* label) {
    return label->text().toStdString();
}

class dlgRunSettingTest : public ::testing::Test {
  protected:
    dlgRunSettingTest() {
        WriteSetting("MSizeSet", "0", "CD-R 74分 (650MB)#681984000");
        WriteSetting("MSizeSet", "1", "DVD-R (4.7GB)#4707319808");
        RunSettings settings;
        settings.MediaSize = "DVD-R (4.7GB)";
        settings.DiffSize = 4707319.5;
        settings.MediaNum = 32766;
        settings.MaxFile = 32766;
        settings.MinFile = 0;
        settings.MaxSpeed = true;
        settings.AfterRun = 3;
        settings.AfterPath = "/media/backup";
        project_.Document().LoadRunSettings(settings);
        project_.Document().SetModified(false);
    }

    void WriteSetting(const std::string& section, const std::string& key, std::string value) {
        ASSERT_TRUE(IniAccess(IniWrite, section, key, value, folder_.Settings()));
    }

    // The dialog as its openers show it, but without blocking the test.
    dlgRunSetting& Open() {
        dialog_ = std::make_unique<dlgRunSetting>(nullptr, project_);
        dialog_->show();
        dialog_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
        return *dialog_;
    }

    QLabel* Label(int i) const {
        return Find<QLabel>(*dialog_, "objLabel(" + std::to_string(i) + ")");
    }
    QLineEdit* Box(int i) const {
        return Find<QLineEdit>(*dialog_, "objText(" + std::to_string(i) + ")");
    }
    QComboBox* Capacity() const { return Find<QComboBox>(*dialog_, "objCombo(0)"); }
    QPushButton* Button(int i) const {
        return Find<QPushButton>(*dialog_, "objButton(" + std::to_string(i) + ")");
    }
    void Click(int button) { QTest::mouseClick(Button(button), Qt::LeftButton); }

    // Types into a box as the user does: it takes the focus, everything in it
    // is replaced, and the Tab key leaves it.
    void TypeInto(QWidget* box, const QString& text) {
        box->setFocus(Qt::TabFocusReason);
        QLineEdit* edit = box == Capacity() ? Capacity()->lineEdit() : static_cast<QLineEdit*>(box);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    std::string Selected(QWidget* box) {
        QLineEdit* edit = box == Capacity() ? Capacity()->lineEdit() : static_cast<QLineEdit*>(box);
        return edit->selectedText().toStdString();
    }

    void ExpectRefused(const std::string& text, QWidget* focus) {
        ASSERT_FALSE(ui_.Boxes().empty());
        const MessageBoxRequest& box = ui_.Boxes().back();
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.title, kErrorTitle);
        EXPECT_EQ(box.buttons, MsgButtons::OK);
        EXPECT_EQ(box.icon, MsgIcon::None);
        EXPECT_EQ(QApplication::focusWidget(),
                  focus == Capacity() ? static_cast<QWidget*>(Capacity()) : focus);
        QLineEdit* edit =
            focus == Capacity() ? Capacity()->lineEdit() : static_cast<QLineEdit*>(focus);
        EXPECT_EQ(edit->selectedText(), edit->text());
        EXPECT_FALSE(project_.Document().Modified());
        EXPECT_FALSE(dialog_->Applied());
    }

    test::TempFolder folder_;
    ScriptedUi ui_;
    frmNested project_;
    std::unique_ptr<dlgRunSetting> dialog_;
};

TEST_F(dlgRunSettingTest, OpensWithTheProjectsSettingsAndEveryCaption) {
    Open();
    EXPECT_EQ(dialog_->windowTitle().toStdString(), "実行設定");
    EXPECT_EQ(dialog_->minimumSize(), dialog_->maximumSize());
    Texts labels;
    for (const int i : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15})
        labels.push_back(Text(Label(i)));
    EXPECT_EQ(labels, (Texts{"ﾒﾃﾞｨｱの設定", "ﾌｧｲﾙの設定", "容量(&S)：", "ﾊﾞｲﾄ", "容量差(&Z)：",
                             "ﾊﾞｲﾄ", "最大枚数(&P)：", "枚", "最大ﾌｧｲﾙ数(&L):", "個",
                             "最小ﾌｧｲﾙ数(&M)", "個", " ", " "}));
    Texts buttons;
    for (const int i : {0, 2, 3, 5, 6})
        buttons.push_back(Button(i)->text().toStdString());
    EXPECT_EQ(buttons, (Texts{"ｷｬﾝｾﾙ(&D)", "適用(&S)", "OK(&O)", "ﾃﾞﾌｫﾙﾄに設定(&U)", "Auto"}));
    EXPECT_TRUE(Button(3)->isDefault());
    auto* check = Find<QCheckBox>(*dialog_, "objCheck(0)");
    EXPECT_EQ(check->text().toStdString(), "最速設定(&B)");
    EXPECT_TRUE(check->isChecked());

    EXPECT_EQ(Capacity()->currentText().toStdString(), "DVD-R (4.7GB)");
    Texts presets;
    for (int i = 0; i < Capacity()->count(); ++i)
        presets.push_back(Capacity()->itemText(i).toStdString());
    EXPECT_EQ(presets, (Texts{"CD-R 74分 (650MB)", "DVD-R (4.7GB)"}));
    EXPECT_EQ(Box(0)->text().toStdString(), "4,707,319");
    EXPECT_EQ(Box(1)->text().toStdString(), "32,766");
    EXPECT_EQ(Box(2)->text().toStdString(), "32,766");
    EXPECT_EQ(Box(3)->text().toStdString(), "0");
}

TEST_F(dlgRunSettingTest, WithoutPresetsTheListHoldsOneEmptyEntry) {
    std::filesystem::remove(folder_.Settings());
    Open();
    ASSERT_EQ(Capacity()->count(), 1);
    EXPECT_EQ(Capacity()->itemText(0), QString());
    EXPECT_EQ(Capacity()->currentText().toStdString(), "DVD-R (4.7GB)");
}

TEST_F(dlgRunSettingTest, APresetThatCannotBeReadIsReportedAndTheSettingsStillShow) {
    WriteSetting("MSizeSet", "1", "DVD-R");
    ui_.Answer(MsgResult::OK);
    Open();
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_EQ(ui_.Boxes()[0].text, "プロシージャの呼び出し、または引数が不正です。");
    EXPECT_EQ(ui_.Boxes()[0].title, "zarvopackｴﾗｰ 5");
    EXPECT_EQ(Box(0)->text().toStdString(), "4,707,319");
    EXPECT_EQ(Text(Label(3)), "容量(&S)：");
}

TEST_F(dlgRunSettingTest, TheFieldUnderTheMouseIsExplained) {
    WriteSetting("SettingComments", "7", "枚数の上限です");
    Open();
    QTest::mouseMove(Label(5));
    EXPECT_EQ(Text(Label(14)),
              "ﾒﾃﾞｨｱの欠損量の許容量を指定します。(0 ～ <∞)\n"
              "この数値を的確に指定することで検索精度は多少落ちますが、検索速度がとても向上します\n"
              "許容差を0に指定すると、設定や登録状態によってはかなり速度が低下します。\n"
              "通常は100や1kﾊﾞｲﾄ程度を指定してください。(Autoを押すとﾒﾃﾞｨｱ指定数の1/"
              "1000で自動計算されます)");
    QTest::mouseMove(Label(15));
    EXPECT_EQ(Text(Label(14)).rfind("検索速度が最大限に上がり検出ﾌｧｲﾙ数が気持ち多くなります。", 0),
              0u);
    QTest::mouseMove(Label(7));
    EXPECT_EQ(Text(Label(14)), "枚数の上限です");

    // Over a unit label nothing changes; over the background the help goes.
    QTest::mouseMove(Label(8));
    EXPECT_EQ(Text(Label(14)), "枚数の上限です");
    QTest::mouseMove(dialog_.get(), QPoint(1, 1));
    EXPECT_EQ(Text(Label(14)), "");
}

TEST_F(dlgRunSettingTest, NumberBoxesTakeOnlyDigits) {
    Open();
    TypeInto(Box(0), QStringLiteral("12a3,4.5"));
    EXPECT_EQ(Box(0)->text().toStdString(), "12345");
    QTest::keyClick(Box(0), Qt::Key_Backspace);
    EXPECT_EQ(Box(0)->text().toStdString(), "1234");
    TypeInto(Capacity(), QStringLiteral("DVD,1"));
    EXPECT_EQ(Capacity()->currentText().toStdString(), "DVD,1");
}

TEST_F(dlgRunSettingTest, FocusShowsPlainNumbersAndLeavingShowsSeparators) {
    Open();
    Box(0)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Box(0)->text().toStdString(), "4707319");
    EXPECT_EQ(Selected(Box(0)), "4707319");
    TypeInto(Box(1), QStringLiteral("40000"));
    QTest::keyClick(Box(1), Qt::Key_Tab);
    EXPECT_EQ(Box(1)->text().toStdString(), "32,766");
    EXPECT_EQ(Box(0)->text().toStdString(), "4,707,319");

    // The capacity keeps a preset name as it is and formats a number.
    Capacity()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Capacity()->currentText().toStdString(), "DVD-R (4.7GB)");
    TypeInto(Capacity(), QStringLiteral("650000000"));
    QTest::keyClick(Capacity()->lineEdit(), Qt::Key_Tab);
    EXPECT_EQ(Capacity()->currentText().toStdString(), "650,000,000");
    EXPECT_TRUE(ui_.Boxes().empty());
}

TEST_F(dlgRunSettingTest, AYottaByteOrMoreIsRefusedOnLeavingTheBox) {
    Open();
    TypeInto(Box(0), QStringLiteral("1000000000000000000000000"));
    ui_.Answer(MsgResult::OK);
    QTest::keyClick(Box(0), Qt::Key_Tab);
    ExpectRefused("1ヨッタ以上を指定することは出来ません", Box(0));
    EXPECT_EQ(Box(0)->text().toStdString(), "1000000000000000000000000");

    // The click on OK that took the focus away goes no further.
    ui_.Answer(MsgResult::OK);
    QTest::mouseClick(Button(3), Qt::LeftButton);
    EXPECT_EQ(ui_.Boxes().size(), 2u);
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_FALSE(dialog_->Applied());

    TypeInto(Box(0), QStringLiteral("999999999999999"));
    QTest::keyClick(Box(0), Qt::Key_Tab);
    EXPECT_EQ(Box(0)->text().toStdString(), "999,999,999,999,999");
}

TEST_F(dlgRunSettingTest, EachRuleRefusesWithTheFocusOnItsBox) {
    Open();
    TypeInto(Capacity(), QStringLiteral("0"));
    ui_.Answer(MsgResult::OK);
    Click(2);
    ExpectRefused(
        "正しくない容量を指定しました\r\n0もしくは正しくない指定文字列を設定しようとしました",
        Capacity());

    Open();
    TypeInto(Box(1), QStringLiteral("0"));
    ui_.Answer(MsgResult::OK);
    Click(2);
    ExpectRefused("最大ﾒﾃﾞｨｱ枚数を0に設定することは出来ません", Box(1));

    Open();
    TypeInto(Box(2), QStringLiteral("5"));
    TypeInto(Box(3), QStringLiteral("5"));
    ui_.Answer(MsgResult::OK);
    Click(2);
    ExpectRefused("最大ﾌｧｲﾙ数以上の最小ﾌｧｲﾙ数を設定することは出来ません", Box(2));
}

TEST_F(dlgRunSettingTest, AToleranceOfTheWholeCapacityIsRefusedAndOneByteLessTaken) {
    Open();
    TypeInto(Capacity(), QStringLiteral("650000000"));
    TypeInto(Box(0), QStringLiteral("650000000"));
    ui_.Answer(MsgResult::OK);
    Click(2);
    ExpectRefused("ﾒﾃﾞｨｱ容量異常の許容差を設定することは出来ません", Capacity());

    TypeInto(Box(0), QStringLiteral("649999999"));
    Click(2);
    EXPECT_TRUE(dialog_->Applied());
    EXPECT_TRUE(dialog_->isVisible());
    const RunSettings applied = project_.GetRunSettings();
    EXPECT_EQ(applied.MediaSize, "650,000,000");
    EXPECT_EQ(applied.DiffSize, 649999999);
    EXPECT_TRUE(project_.Document().Modified());
}

TEST_F(dlgRunSettingTest, ABoxThatDoesNotConvertStopsTheApply) {
    Open();
    TypeInto(Box(3), QString());
    Box(3)->insert(QStringLiteral("abc"));
    ui_.Answer(MsgResult::OK);
    Click(2);
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_EQ(ui_.Boxes()[0].text, "型が一致しません。");
    EXPECT_EQ(ui_.Boxes()[0].title, "ｴﾗｰ13");
    EXPECT_EQ(ui_.Boxes()[0].icon, MsgIcon::None);
    EXPECT_FALSE(dialog_->Applied());
    EXPECT_FALSE(project_.Document().Modified());
}

TEST_F(dlgRunSettingTest, OkAppliesAndClosesAndSwitchesTheAfterRunActionOff) {
    Open();
    Find<QCheckBox>(*dialog_, "objCheck(0)")->setChecked(false);
    Click(3);
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_TRUE(dialog_->Applied());
    RunSettings expected;
    expected.MediaSize = "DVD-R (4.7GB)";
    expected.DiffSize = 4707319;
    expected.MediaNum = 32766;
    expected.MaxFile = 32766;
    expected.MinFile = 0;
    expected.MaxSpeed = false;
    EXPECT_EQ(project_.GetRunSettings(), expected);
    EXPECT_TRUE(project_.Document().Modified());
}

TEST_F(dlgRunSettingTest, EnterPressesOkAndEscapeCancels) {
    Open();
    TypeInto(Box(2), QStringLiteral("100"));
    QTest::keyClick(Box(2), Qt::Key_Return);
    EXPECT_TRUE(dialog_->Applied());
    EXPECT_EQ(project_.GetRunSettings().MaxFile, 100);

    project_.Document().SetModified(false);
    Open();
    TypeInto(Box(2), QStringLiteral("7"));
    QTest::keyClick(Box(2), Qt::Key_Escape);
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog_->Applied());
    EXPECT_EQ(project_.GetRunSettings().MaxFile, 100);
    EXPECT_FALSE(project_.Document().Modified());
}

TEST_F(dlgRunSettingTest, CancelAppliesNothing) {
    Open();
    TypeInto(Box(1), QStringLiteral("3"));
    Click(0);
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    EXPECT_EQ(project_.GetRunSettings().MediaNum, 32766);
    EXPECT_EQ(project_.GetRunSettings().AfterRun, 3);
    EXPECT_FALSE(project_.Document().Modified());
}

TEST_F(dlgRunSettingTest, AutoProposesTheToleranceForTheCapacityShown) {
    Open();
    Click(6);
    EXPECT_EQ(Box(0)->text().toStdString(), "4,707,319");
    TypeInto(Capacity(), QStringLiteral("650,000,000"));
    Click(6);
    EXPECT_EQ(Box(0)->text().toStdString(), "650,000");
}

TEST_F(dlgRunSettingTest, TheShownValuesBecomeTheDefaults) {
    WriteSetting("DEFAULT_SET_RUN", "DiffSize", "100");
    Open();
    TypeInto(Box(0), QString());
    ui_.Answer(MsgResult::OK);
    Click(5);
    ASSERT_EQ(ui_.Boxes().size(), 1u);
    EXPECT_EQ(ui_.Boxes()[0].text, "設定しました");
    EXPECT_EQ(ui_.Boxes()[0].title, AppTitle());
    const auto stored = [this](const std::string& key) {
        std::string value;
        IniAccess(IniRead, "DEFAULT_SET_RUN", key, value, folder_.Settings());
        return value;
    };
    EXPECT_EQ(stored("MediaSize"), "DVD-R (4.7GB)");
    EXPECT_EQ(stored("DiffSize"), "100");
    EXPECT_EQ(stored("MediaNum"), "32,766");
    EXPECT_EQ(stored("MaxSpeed"), "1");
    EXPECT_FALSE(project_.Document().Modified());

    std::filesystem::remove(folder_.Settings());
    std::filesystem::create_directory(folder_.Settings());
    ui_.Answer(MsgResult::OK);
    Click(5);
    EXPECT_EQ(ui_.Boxes().back().text, "設定に失敗しました");
    EXPECT_EQ(ui_.Boxes().back().title, AppTitle());
}

}  // namespace
}  // namespace zv
