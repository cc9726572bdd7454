#include <filesystem>

#include "document/CloseRequest.h"
#include "tests/document/DocumentTest.h"

namespace zv {
namespace {

using test::ExpectBox;

class CloseRequestTest : public test::DocumentTest {
  protected:
    CloseRequestTest() { Add(project, {MakeFile("a.txt", 1)}); }

    ProjectDocument project;
};

TEST_F(CloseRequestTest, RefusedDuringARunAndOnCancel) {
    App().running = true;
    ui.Answer(MsgResult::OK);
    EXPECT_FALSE(CloseRequest(project));
    ExpectBox(ui.Boxes().at(0), "実行中は閉じることは出来ません", AppTitle());
    EXPECT_EQ(ui.Boxes().size(), 1u) << "no save question during a run";

    App().running = false;
    ui.Answer(MsgResult::Cancel);
    EXPECT_FALSE(CloseRequest(project));
    ExpectBox(ui.Boxes().at(1), " 無題1は変更されています\r\n保存しますか？", "zarvopackの保存",
              MsgButtons::YesNoCancel);
    EXPECT_TRUE(App().closeCancelled);
    EXPECT_FALSE(project.IsEmpty());
}

TEST_F(CloseRequestTest, ClosingDeletesTheTemporaryCopyAndEmptiesTheProject) {
    const std::string temporary = project.TemporaryProjectPath();
    test::WriteBytes(temporary, "left by a run");
    ui.Answer(MsgResult::No);
    EXPECT_TRUE(CloseRequest(project));
    EXPECT_FALSE(std::filesystem::exists(temporary));
    EXPECT_TRUE(project.IsEmpty());
    EXPECT_FALSE(App().closeCancelled);
}

}  // namespace
}  // namespace zv
