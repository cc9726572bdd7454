#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "tests/support/ScriptedUi.h"

namespace zv {
namespace {

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
