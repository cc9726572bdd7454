#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "tests/support/ScriptedUi.h"

namespace zv {
namespace {

TEST(ScriptedUiTest, RecordsEachBoxAndAnswersInTurn) {
    ScriptedUi ui;
    ui.Answer(MsgResult::No);
    ui.Answer(MsgResult::Retry);
    EXPECT_EQ(ShowMessage("保存しますか", "", MsgButtons::YesNoCancel, MsgIcon::Question, 2),
              MsgResult::No);
    EXPECT_EQ(ShowMessage("再試行", "ｴﾗｰ", MsgButtons::RetryCancel), MsgResult::Retry);

    ASSERT_EQ(ui.Boxes().size(), 2u);
    EXPECT_EQ(ui.Boxes()[0].text, "保存しますか");
    EXPECT_EQ(ui.Boxes()[0].title, AppTitle());
    EXPECT_EQ(ui.Boxes()[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(ui.Boxes()[0].icon, MsgIcon::Question);
    EXPECT_EQ(ui.Boxes()[0].defaultButton, 2);
    EXPECT_EQ(ui.Boxes()[1].title, "ｴﾗｰ");
}

TEST(ScriptedUiTest, EachKindOfDialogHasItsOwnQueue) {
    ScriptedUi ui;
    ui.AnswerFile("/media/a.mtb");
    ui.AnswerInput("写真");
    ui.AnswerFile(std::nullopt);
    ui.AnswerInput(std::nullopt);

    EXPECT_EQ(Ui().InputBox("ｸﾞﾙｰﾌﾟ名を決定してください", "", "名称未設定"), "写真");
    EXPECT_EQ(Ui().SaveFileDialog({"filter", "保存", "/home/無題1"}), "/media/a.mtb");
    EXPECT_EQ(Ui().OpenFileDialog({"filter", "開く", ""}), std::nullopt);
    EXPECT_EQ(Ui().InputBox("prompt", "ｸﾞﾙｰﾌﾟ名", ""), std::nullopt);

    ASSERT_EQ(ui.Inputs().size(), 2u);
    EXPECT_EQ(ui.Inputs()[0].title, AppTitle());
    EXPECT_EQ(ui.Inputs()[0].proposed, "名称未設定");
    ASSERT_EQ(ui.FileDialogs().size(), 2u);
    EXPECT_EQ(ui.FileDialogs()[0].kind, ScriptedUi::DialogKind::Save);
    EXPECT_EQ(ui.FileDialogs()[0].request.proposedName, "/home/無題1");
    EXPECT_EQ(ui.FileDialogs()[1].kind, ScriptedUi::DialogKind::Open);
}

TEST(ScriptedUiTest, OpeningSucceedsUntilToldOtherwise) {
    ScriptedUi ui;
    EXPECT_TRUE(Ui().OpenWithAssociatedProgram("/home/a.txt"));
    ui.SetOpenSucceeds(false);
    EXPECT_FALSE(Ui().OpenWithAssociatedProgram("https://example.org/"));
    EXPECT_EQ(ui.Opened(), (std::vector<std::string>{"/home/a.txt", "https://example.org/"}));
}

TEST(ScriptedUiTest, AnythingUnexpectedFailsTheTestAndTakesTheDefaultOrCancels) {
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
    EXPECT_EQ(result, MsgResult::No);
    EXPECT_EQ(input, std::nullopt);
    EXPECT_EQ(file, std::nullopt);
}

TEST(ScriptedUiTest, AnswersLeftUnusedFailTheTest) {
    EXPECT_NONFATAL_FAILURE(ScriptedUi().Answer(MsgResult::Yes),
                            "1 message box answer(s) left unused");
    EXPECT_NONFATAL_FAILURE(ScriptedUi().AnswerInput("a"), "1 input box answer(s) left unused");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUi ui;
            ui.AnswerFile("b");
            ui.AnswerFile("c");
        },
        "2 file dialog answer(s) left unused");
}

TEST(ScriptedUiTest, ServesTheProcessOnlyWhileItLives) {
    {
        ScriptedUi ui;
        EXPECT_EQ(&Ui(), &ui);
    }
    // Back to the headless services: no failure, the default button.
    EXPECT_EQ(ShowMessage("?", "", MsgButtons::OKCancel, MsgIcon::None, 1), MsgResult::Cancel);
}

}  // namespace
}  // namespace zv
