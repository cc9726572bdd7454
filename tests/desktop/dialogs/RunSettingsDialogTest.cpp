#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>

#include "core/project/DefaultRunSettings.h"
#include "core/project/ProjectDocument.h"
#include "core/settings/IniFile.h"
#include "core/settings/SettingsKeys.h"
#include "desktop/dialogs/RunSettingRules.h"
#include "desktop/dialogs/RunSettingsDialog.h"
#include "tests/desktop/dialogs/DialogChecks.h"
#include "tests/support/ErrorNumber.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

using Names = std::vector<std::string>;
using R = RunSettingRules;
using test::ErrorNumber;

class RunSettingRulesTest : public ::testing::Test {
  protected:
    void Write(const std::string& key, const std::string& value,
               const char* section = settings_keys::kSizePresets) {
        ASSERT_TRUE(IniFile(folder_.Settings()).Write(section, key, value));
    }
    // The stored defaults, blank-separated, the method first.
    std::string Stored() {
        std::string all;
        const IniFile settings(folder_.Settings());
        for (const SettingsKey& key :
             {settings_keys::Method, settings_keys::MediaSize, settings_keys::DiffSize,
              settings_keys::MediaNum, settings_keys::MaxFile, settings_keys::MinFile,
              settings_keys::MaxSpeed, settings_keys::FsAllowance, settings_keys::AfterRun,
              settings_keys::AfterPath})
            all += (all.empty() ? "" : " ") + settings.Read(key.section, key.name).value_or("");
        return all;
    }
    Names PresetNames() {
        rules_.LoadPresets();
        Names names;
        for (const SizePreset& preset : rules_.Presets())
            names.push_back(preset.name);
        return names;
    }

    test::TempFolder folder_;
    ScriptedUi ui_;
    RunSettingRules rules_;
};

TEST_F(RunSettingRulesTest, PresetsEndAtTheFirstMissingKeyAndEmptyCapacitiesGiveWay) {
    EXPECT_EQ(PresetNames(), Names{""});
    Write("0", "CD#650000000");
    Write("1", "DVD#4700000000");
    Write("3", "BD#25000000000");
    EXPECT_EQ(PresetNames(), (Names{"CD", "DVD"}));
    EXPECT_EQ(rules_.Presets()[1].capacity, 4700000000.0);
    // A first preset without a capacity is overwritten by the next one.
    Write("0", "none#0");
    Write("1", "also none#-5");
    Write("2", "DVD#4700000000");
    Write("3", "zero#0");
    EXPECT_EQ(PresetNames(), (Names{"DVD", "zero"}));

    // One that cannot be read fails; the presets before it are still offered.
    Write("0", "DVD#4700000000");
    Write("1", "BD");
    EXPECT_EQ(ErrorNumber([this] { rules_.LoadPresets(); }), 5);
    EXPECT_EQ(rules_.Presets().size(), 1u);
    Write("0", "CD#lots");
    EXPECT_EQ(ErrorNumber([this] { rules_.LoadPresets(); }), 13);
}

TEST_F(RunSettingRulesTest, BoxesTakeDigitsShowPlainNumbersWhileFocusedAndFormatThemAfter) {
    for (const char* typed : {"0", "9", "\b", "", "\x16", "\x7f"})
        EXPECT_TRUE(R::AcceptsTyped(typed)) << typed;
    for (const char* typed : {"a", ",", ".", "-", " ", "１", "ab"})
        EXPECT_FALSE(R::AcceptsTyped(typed)) << typed;

    const std::pair<const char*, const char*> focused[] = {{"650,000,000", "650000000"},
                                                           {"1,234.9", "1234"},
                                                           {"-12.5", "-12"},
                                                           {"1e24", "1000000000000000000000000"},
                                                           {"DVD-R (4.7GB)", "DVD-R (4.7GB)"}};
    for (const auto& [text, shown] : focused)
        EXPECT_EQ(R::FocusedText(text), shown);

    // Counts are capped; sizes from one yotta byte on are refused as typed.
    const struct {
        SettingBox box;
        const char* text;
        const char* left;
        bool refused;
    } left[] = {
        {SettingBox::MinFile, "4000000", "999,999", false},
        {SettingBox::MediaNum, "1e30", nullptr, false},
        {SettingBox::MediaSize, "1000000000000000000000000", "1000000000000000000000000", true},
        {SettingBox::DiffSize, "999999999999999", "999,999,999,999,999", false},
        {SettingBox::MediaSize, "DVD", "DVD", false},
        {SettingBox::MediaNum, "", "", false},
    };
    for (const auto& c : left) {
        const LeftBoxText shown = R::LeftText(c.box, c.text);
        EXPECT_EQ(shown.refused, c.refused) << c.text;
        EXPECT_TRUE(!c.left || shown.text == c.left) << c.text << ": " << shown.text;
    }

    EXPECT_EQ(ErrorNumber([] { R::RecordOf({"DVD", "", "1", "1", "0", false}); }), 13);
    EXPECT_EQ(ErrorNumber([] { R::RecordOf({"DVD", "0", "3000000000", "1", "0", false}); }), 6);
}

TEST_F(RunSettingRulesTest, RulesAreCheckedInOrderAndNameTheirBox) {
    Write("0", "CD#650000000");
    // The rules of a run, in their order, are the engine's; here each field
    // leads to its box, and the after-run folder is checked last. Each case
    // breaks the rule it names and every rule after it; "Cd" is no preset name
    // (nor a disc's, which are in small letters), which is told as it is looked up.
    const struct {
        RunSettings settings;  // capacity, tolerance, media, most and fewest items, ...
        int message;           // 0: taken
        SettingBox focus;
    } cases[] = {
        {{"0", 10, 0, 2, 2, false, 1, "out"}, 41035, SettingBox::MediaSize},
        {{"1,000", 10, 0, 2, 2, false, 1, "out"}, 41036, SettingBox::MediaNum},
        {{"1,000", -1, -1, 2, 2, false, 1, "out"}, 41420, SettingBox::DiffSize},
        {{"1,000", 999, -1, 2, 2, false, 1, "out"}, 41038, SettingBox::MaxFile},
        {{"1,000", 999, -1, 2, 1, false, 1, "out"}, 41146, SettingBox::AfterPath},
        {{"1,000", 999, -1, 2, 1, false, 1, "/out"}, 0, SettingBox::MediaSize},
        {{"CD", 649999999, 1, 2, 1, false, 0, ""}, 0, SettingBox::MediaSize},
        {{"Cd", 10, 1, 2, 1, false, 0, ""}, 41035, SettingBox::MediaSize},
    };
    ui_.Answer(MsgResult::OK);
    for (const auto& c : cases) {
        const auto refusal = R::Check(c.settings);
        EXPECT_EQ(refusal ? refusal->message : 0, c.message) << c.settings.MediaSize;
        EXPECT_EQ(refusal ? refusal->focus : c.focus, c.focus) << c.message;
    }
    EXPECT_EQ(ui_.OnlyBoxText(), "ｻｲｽﾞﾃﾞｰﾀの取得に失敗しました");
}

TEST_F(RunSettingRulesTest, AutoProposesAThousandthOfTheCapacityRoundedDown) {
    Write("0", "CD-R 74分 (650MB)#681984000");
    rules_.LoadPresets();
    const std::pair<const char*, const char*> cases[] = {{"650,000,000", "650,000"},
                                                         {"999", "0"},
                                                         {"CD-R 74分 (650MB)", "681,984"},
                                                         {"cd-r 74分 (650MB)", "0"},
                                                         {"", "0"}};
    for (const auto& [capacity, tolerance] : cases)
        EXPECT_EQ(rules_.AutoTolerance(capacity), tolerance) << capacity;
}

TEST_F(RunSettingRulesTest, DefaultsAreStoredAsShownAndAnEmptyBoxLeavesItsKey) {
    Write(settings_keys::DiffSize.name, "12345", settings_keys::kRunDefaults);
    EXPECT_TRUE(R::StoreDefaults({"DVD", "", "32,766", "1,000", "0", true,
                                  PackingMethod::FewestMedia, true, 3, "/media/burn"}));
    EXPECT_EQ(Stored(), "1 DVD 12345 32,766 1,000 0 1 1 3 /media/burn");
    EXPECT_TRUE(R::StoreDefaults({"", "5", "", "", "", false}));
    EXPECT_EQ(Stored(), "0 DVD 5 32,766 1,000 0 0 0 0 /media/burn");
}

// The boxes by their place in the dialog: the capacity, then objText(0) to (4).
constexpr int kCapacity = -1;
constexpr int kCancel = 0, kApply = 2, kOk = 3, kDefaults = 5;

// The dialog over a project and two presets.
class RunSettingsDialogTest : public RunSettingRulesTest {
  protected:
    RunSettingsDialogTest() {
        Write("0", "CD-R 74分 (650MB)#681984000");
        Write("1", "DVD-R (4.7GB)#4707319808");
        project_.LoadRunSettings(loaded_);
        project_.SetModified(false);
    }

    // The dialog as its openers show it, but without blocking the test.
    void Open() {
        dialog_ = std::make_unique<RunSettingsDialog>(nullptr, project_);
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

    const RunSettings loaded_ = RunSettings("DVD-R (4.7GB)", 4707319.5, 99, 32766, 0, true, 3,
                                            "/media/backup", PackingMethod::FewestMedia);
    ProjectDocument project_;
    std::unique_ptr<RunSettingsDialog> dialog_;
};

// A preset that cannot be read is reported and the settings still show. The
// label under the mouse explains its field; the settings file may say it
// otherwise, a unit label changes nothing and the background takes it away.
TEST_F(RunSettingsDialogTest, APresetErrorIsToldAndTheFieldUnderTheMouseIsExplained) {
    Write("1", "DVD-R");
    Write("7", "枚数の上限です", settings_keys::kSettingComments);
    ui_.Answer(MsgResult::OK);
    Open();
    test::ExpectBox(ui_.Boxes().at(0), "プロシージャの呼び出し、または引数が不正です。",
                    "zarvopackｴﾗｰ 5");
    EXPECT_EQ(Edit(0)->text(), QStringLiteral("4,707,319"));
    const std::pair<QWidget*, std::string> hovers[] = {
        {Label(5), "ﾒﾃﾞｨｱの欠損量の許容量を指定します。(0 ～ <∞)\n"},
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
    // The keyboard reaches the same help: that of the field with the focus.
    for (const auto& [widget, help] : hovers) {
        const auto* label = qobject_cast<const QLabel*>(widget);
        if (label == nullptr || label->buddy() == nullptr)
            continue;
        label->buddy()->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(Label(14)->text().toStdString().substr(0, help.size()), help);
    }
}

// A size of a yotta byte or more keeps the focus in its box, and the click on
// OK that took the focus goes no further; a refused rule takes the user to its
// box. Nothing is applied until the settings are right.
TEST_F(RunSettingsDialogTest, RefusedValuesKeepOrTakeTheFocusUntilTheSettingsAreRight) {
    Open();
    TypeInto(0, QStringLiteral("1000000000000000000000000"));
    for (const bool click : {false, true}) {
        ui_.Answer(MsgResult::OK);
        if (click)
            Click(kOk);
        else
            QTest::keyClick(Edit(0), Qt::Key_Tab);
        ExpectRefused("1ヨッタ以上を指定することは出来ません", 0);
    }
    EXPECT_TRUE(dialog_->isVisible());
    QCoreApplication::processEvents();  // the refused click is over

    TypeInto(0, QStringLiteral("650000000"));
    // A capacity past any medium is refused before a run could take it.
    TypeInto(kCapacity, QStringLiteral("99999999999999999999"));
    ui_.Answer(MsgResult::OK);
    Click(kOk);
    ExpectRefused(
        "ﾒﾃﾞｨｱ容量が大きすぎます\r\n1PB (1,000,000,000,000,000ﾊﾞｲﾄ) "
        "以下の容量を指定してください",
        kCapacity);

    TypeInto(kCapacity, QStringLiteral("650000000"));
    ui_.Answer(MsgResult::OK);
    Click(kApply);
    ExpectRefused("ﾒﾃﾞｨｱ容量以上の許容差を設定することは出来ません", kCapacity);
    EXPECT_EQ(Edit(0)->text(), QStringLiteral("650,000,000")) << "the box left formats it";

    // A tolerance one byte below the capacity is taken.
    TypeInto(0, QStringLiteral("649999999"));
    Click(kApply);
    EXPECT_TRUE(dialog_->Applied());
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(project_.GetRunSettings().MediaSize, "650,000,000");
    EXPECT_EQ(project_.GetRunSettings().DiffSize, 649999999);
    EXPECT_TRUE(project_.Modified());
}

TEST_F(RunSettingsDialogTest, TheDefaultsButtonStoresTheBoxesAsShownAndSaysSo) {
    Open();
    for (const char* said : {"設定しました", "設定に失敗しました"}) {
        ui_.Answer(MsgResult::OK);
        Click(kDefaults);
        test::ExpectBox(ui_.Boxes().back(), said, "Zarvopack");
        if (std::filesystem::is_regular_file(folder_.Settings())) {
            EXPECT_EQ(Stored(), "1 DVD-R (4.7GB) 4,707,319 99 32,766 0 1 0 3 /media/backup");
            std::filesystem::remove(folder_.Settings());
            std::filesystem::create_directory(folder_.Settings());
        }
    }
    EXPECT_FALSE(project_.Modified());
}

TEST_F(RunSettingsDialogTest, OkAndEnterApplyTheSettingsShownWhileEscapeAndCancelApplyNothing) {
    // The sequential search's time limit is the program's, in the settings file.
    Write(settings_keys::MediumTimeLimit.name, "10", settings_keys::kRunDefaults);
    RunSettings expected = loaded_;
    expected.DiffSize = 4707319;  // the tolerance shows whole bytes
    for (const bool change : {false, true}) {
        Open();
        EXPECT_EQ(Capacity()->count(), 2);
        auto* limit = Control<QDoubleSpinBox>("objTimeLimit");
        EXPECT_EQ(limit->value(), 10);
        EXPECT_FALSE(limit->isEnabled()) << "fewest media has no limit";
        if (change) {
            Control<QCheckBox>("objCheck(0)")->setChecked(false);
            Control<QComboBox>("objCombo(1)")->setCurrentIndex(0);
            limit->setFocus(Qt::TabFocusReason);
            EXPECT_TRUE(Label(14)->text().startsWith(QStringLiteral("「1枚ずつ順に」で1枚の")));
            limit->selectAll();
            QTest::keyClicks(limit, QStringLiteral("2.5"));
            Control<QComboBox>("objCombo(2)")->setCurrentIndex(1);
            Control<QCheckBox>("objCheck(1)")->setChecked(true);
            TypeInto(2, QStringLiteral("100"));
            // Enter on a button reached with Tab is still OK, not Auto.
            QWidget* autoButton = Control(QStringLiteral("objButton(6)"));
            autoButton->setFocus(Qt::TabFocusReason);
            QTest::keyClick(autoButton, Qt::Key_Return);
            expected.MaxSpeed = false;
            expected.Method = PackingMethod::Sequential;
            expected.AfterRun = 1;
            expected.FsAllowance = FileSystemAllowance::Iso9660;
            expected.MaxFile = 100;
        } else {
            Click(kOk);
        }
        EXPECT_EQ(dialog_->result(), QDialog::Accepted);
        EXPECT_NE(QKeySequence::mnemonic(Label(R::kAfterPathLabel)->text()),
                  QKeySequence::mnemonic(Control<QPushButton>("objButton(3)")->text()));
        EXPECT_FALSE(dialog_->isVisible());
        EXPECT_EQ(project_.GetRunSettings(), expected);
        EXPECT_EQ(LoadMediumTimeLimit(), change ? 2.5 : 10);
    }
    EXPECT_TRUE(project_.Modified());
    project_.SetModified(false);

    for (const bool escape : {true, false}) {
        Open();
        TypeInto(1, QStringLiteral("3"));
        if (escape)
            QTest::keyClick(Edit(1), Qt::Key_Escape);
        else
            Click(kCancel);
        EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    }
    EXPECT_EQ(project_.GetRunSettings(), expected);
    EXPECT_FALSE(project_.Modified());
}

}  // namespace
}  // namespace zv
