#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <functional>

#include "desktop/platform/QtTranslations.h"
#include "desktop/platform/QtUi.h"
#include "tests/support/ScriptedUi.h"

namespace zv {
namespace {

// Acts on the modal dialog of type D as soon as the event loop of its exec()
// runs. Whatever else shows instead is closed, so a wrong dialog fails the
// test rather than hanging it.
template <class D>
void WhenShown(std::function<void(D&)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<D*>(modal))
            return act(*dialog);
        ADD_FAILURE() << "the expected dialog did not show";
        if (modal)
            modal->close();
    });
}

// Qt's own buttons speak the program's language, whatever the locale.
TEST(QtUiTest, MessageBoxShowsTheRequestModallyInJapaneseAndReturnsTheButtonClicked) {
    ASSERT_TRUE(InstallQtTranslations(*QCoreApplication::instance()));
    QtUi ui;
    QWidget window;
    window.show();
    QApplication::setActiveWindow(&window);
    WhenShown<QMessageBox>([&window](QMessageBox& box) {
        EXPECT_EQ(box.parentWidget(), &window);
        EXPECT_EQ(box.windowModality(), Qt::WindowModal);
        EXPECT_EQ(box.text(), QStringLiteral("一行目\n二行目 <b>"));
        EXPECT_EQ(box.textFormat(), Qt::PlainText);
        EXPECT_EQ(box.windowTitle(), QString::fromStdString(AppTitle()));
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::No));
        EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
        EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
        box.button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(
        ShowMessage("一行目\r\n二行目 <b>", "", MsgButtons::YesNoCancel, MsgIcon::Question, 1),
        MsgResult::Yes);
}

// An error box carries the error icon even where its caller gave none; other
// boxes keep the icon asked for.
TEST(QtUiTest, AnErrorBoxCarriesTheErrorIcon) {
    QtUi ui;
    const std::pair<std::string, QMessageBox::Icon> boxes[] = {
        {"zarvopackｴﾗｰ 5", QMessageBox::Critical},
        {"ｴﾗｰ", QMessageBox::Critical},
        {"", QMessageBox::NoIcon},
    };
    for (const auto& [title, icon] : boxes) {
        WhenShown<QMessageBox>([icon](QMessageBox& box) {
            EXPECT_EQ(box.icon(), icon) << box.windowTitle().toStdString();
            box.button(QMessageBox::Ok)->click();
        });
        ShowMessage("text", title);
    }
}

// A window manager cuts a title that does not fit beside the title bar's icon
// and buttons: even a short box is wide enough for its title.
TEST(QtUiTest, EscapeAndTheCloseBoxChooseCancelOrNoWhereThereIsOne) {
    QtUi ui;
    const std::pair<MsgButtons, MsgResult> cases[] = {
        {MsgButtons::OK, MsgResult::OK},
        {MsgButtons::OKCancel, MsgResult::Cancel},
        {MsgButtons::YesNo, MsgResult::No},
        {MsgButtons::YesNoCancel, MsgResult::Cancel},
        {MsgButtons::RetryCancel, MsgResult::Cancel},
    };
    for (const auto& [buttons, expected] : cases) {
        WhenShown<QMessageBox>([](QMessageBox& box) {
            QFont bold = box.font();
            bold.setBold(true);
            const int bar = 3 * box.style()->pixelMetric(QStyle::PM_TitleBarHeight);
            EXPECT_GE(box.width(), QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + bar);
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&box, &escape);
        });
        EXPECT_EQ(ShowMessage("完了", "写真とビデオのバックアップ2025の保存", buttons,
                              MsgIcon::Exclamation, 0),
                  expected);
    }
    WhenShown<QMessageBox>([](QMessageBox& box) { box.close(); });
    EXPECT_EQ(ShowMessage("?", "題", MsgButtons::YesNo, MsgIcon::None, 0), MsgResult::No);
}

TEST(QtUiTest, InputBoxReturnsTheTextOrNothingOnCancel) {
    QtUi ui;
    WhenShown<QInputDialog>([](QInputDialog& dialog) {
        EXPECT_EQ(dialog.labelText(), QStringLiteral("名前"));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("題"));
        EXPECT_EQ(dialog.textValue(), QStringLiteral("名称未設定"));
        dialog.setTextValue(QStringLiteral("写真"));
        dialog.accept();
    });
    EXPECT_EQ(ui.InputBox("名前", "題", "名称未設定"), "写真");
    WhenShown<QInputDialog>([](QInputDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QString::fromStdString(AppTitle()));
        dialog.reject();
    });
    EXPECT_EQ(ui.InputBox("?", "", "x"), std::nullopt);
}

// The double the widget tests rely on: a box nobody expected, or an answer
// nobody used, must fail the test instead of passing unseen.
TEST(ScriptedUiTest, AnythingUnexpectedOrUnusedFailsTheTest) {
    ScriptedUi ui;
    MsgResult result = MsgResult::OK;
    std::optional<std::string> input = "typed";
    std::optional<std::string> file = "chosen";
    EXPECT_NONFATAL_FAILURE(
        result = ShowMessage("上書きしますか", "", MsgButtons::YesNo, MsgIcon::Exclamation, 1),
        "unexpected message box: 上書きしますか");
    EXPECT_NONFATAL_FAILURE(input = Ui().InputBox("名前", "", ""), "unexpected input box: 名前");
    EXPECT_NONFATAL_FAILURE(file = Ui().OpenFileDialog({"", "開く", ""}),
                            "unexpected open dialog: 開く");
    EXPECT_EQ(result, MsgResult::No) << "the default button";
    EXPECT_EQ(input, std::nullopt);
    EXPECT_EQ(file, std::nullopt);
    EXPECT_NONFATAL_FAILURE(ScriptedUi().Answer(MsgResult::Yes),
                            "1 message box answer(s) left unused");
    EXPECT_NONFATAL_FAILURE(ScriptedUi().AnswerInput("a"), "1 input box answer(s) left unused");
    EXPECT_NONFATAL_FAILURE(ScriptedUi().AnswerFile("b"), "1 file dialog answer(s) left unused");
}

}  // namespace
}  // namespace zv
