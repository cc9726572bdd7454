#include <filesystem>

#include "core/project/EditCommands.h"
#include "tests/core/project/DocumentTest.h"

namespace zv {
namespace {

using namespace test;

class EditCommandsTest : public DocumentTest {
  protected:
    // Single files a, b, c; group "G" of m1, m2.
    void SetUp() override {
        Add(project, {MakeFile("a", 1), MakeFile("b", 2), MakeFile("c", 4)});
        Add(project, {MakeFile("m1", 8), MakeFile("m2", 16)}, "G");
        project.SetOpenGroup("");
        project.SetModified(false);
    }

    ListRedraw MakeGroupNamed(std::optional<std::string> name, const Texts& tags) {
        ui.AnswerInput(std::move(name));
        return MakeGroupCommand(project, tags);
    }

    ProjectDocument project;
    const std::string a = folder.File("a"), b = folder.File("b"), c = folder.File("c");
};

TEST_F(EditCommandsTest, DeleteAsksForOneRowByItsTagAndForSeveralByTheirNumber) {
    ui.Answer(MsgResult::Cancel);
    EXPECT_EQ(DeleteCommand(project, {"G"}), ListRedraw::None);
    ExpectBox(ui.Boxes()[0], "'G'ををﾘｽﾄから消去してよろしいですか？", "ﾘｽﾄの消去",
              MsgButtons::OKCancel);
    EXPECT_EQ(project.Items().size(), 4u);

    ui.Answer(MsgResult::OK);
    EXPECT_EQ(DeleteCommand(project, {a, "G", c}), ListRedraw::OpenedGroup);
    EXPECT_EQ(ui.Boxes()[1].text, "これらの3個の項目ををﾘｽﾄから消去してよろしいですか？");
    EXPECT_EQ(Names(project), (Texts{b}));
    EXPECT_TRUE(project.Modified());

    EXPECT_EQ(DeleteCommand(project, {}), ListRedraw::OpenedGroup) << "nothing asked";
    ui.Answer(MsgResult::OK);
    ui.Answer(MsgResult::OK);
    DeleteCommand(project, {folder.File("nowhere")});
    ExpectLastBox("削除に失敗しました");
}

TEST_F(EditCommandsTest, ResultsAreClearedOnlyWhenTheUserAgrees) {
    project.Items()[0].Medium = 1;
    ui.Answer(MsgResult::Cancel);
    EXPECT_EQ(DeleteCommand(project, {a}), ListRedraw::None);
    ExpectLastBox(
        "この操作を実行するには結果情報をクリアする必要があります\r\n"
        "結果情報リストをクリアして操作を続行しますか？",
        "結果情報のクリア", MsgButtons::OKCancel);
    EXPECT_TRUE(project.HasResults()) << "and no delete question";

    ui.Answer(MsgResult::Cancel);
    EXPECT_FALSE(RenameCommand(project));
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(PasteCommand(project), ListRedraw::OpenedGroup);
    EXPECT_FALSE(project.HasResults());
}

TEST_F(EditCommandsTest, MembersPastedIntoAnotherGroupAskBeforeMerging) {
    Add(project, {MakeFile("h1", 1), MakeFile("h2", 1)}, "H");
    project.SetModified(false);
    const auto cutBoth = [&] { CutCommand(project, {folder.File("m2"), folder.File("m1")}); };
    cutBoth();
    EXPECT_EQ(project.Items()[3].Cut.Members(), (std::vector<int16_t>{1, 0}));
    ui.Answer(MsgResult::Cancel);
    ui.Answer(MsgResult::OK);
    PasteCommand(project);
    ExpectBox(ui.Boxes()[0],
              "ｸﾞﾙｰﾌﾟ内にｸﾞﾙｰﾌﾟを含むﾌｧｲﾙ群を貼り付けようとしています\r\n"
              "これらの貼り付けるﾌｧｲﾙを貼り付け先のｸﾞﾙｰﾌﾟに統合しますか？",
              "ｸﾞﾙｰﾌﾟｱｲﾃﾑの追加", MsgButtons::OKCancel);
    ExpectLastBox("貼り付けに失敗しました");
    EXPECT_EQ(project.Items()[3].Files.size(), 2u);
    EXPECT_FALSE(project.Modified());
    EXPECT_FALSE(project.HasCutMarks());

    cutBoth();
    ui.Answer(MsgResult::OK);
    PasteCommand(project);
    EXPECT_EQ(Names(project), (Texts{a, b, c, "H"})) << "the emptied group leaves";
    EXPECT_EQ(project.Items()[3].PathList, folder.File("h1") + "\t" + folder.File("h2") + "\t" +
                                               folder.File("m2") + "\t" + folder.File("m1"))
        << "in mark order";
}

TEST_F(EditCommandsTest, MakeGroupRefusesNamesInTheirOrderAndLeavesTheListAsItWas) {
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(MakeGroupCommand(project, {a}), ListRedraw::None);
    ExpectLastBox(
        "ｸﾞﾙｰﾌﾟを生成するには2つ以上のｱｲﾃﾑを選択する必要があります。\r\n"
        "既存のｸﾞﾙｰﾌﾟにｱｲﾃﾑを入れるには「コピー＆ペースト」を実行してください");
    EXPECT_TRUE(ui.Inputs().empty());

    const std::string forbidden = "「’」、「”」、「..」は名前に使用できません";
    const std::pair<std::string, std::string> refusals[] = {
        {"Tom's", forbidden},
        {"a..b", forbidden},
        {"say \"hi\"", forbidden},
        // An existing folder with two dots in a row is refused for the dots.
        {folder.Path() + "/..", forbidden},
        {folder.Path(), "存在するファイル・フォルダの名前(パス)を指定することは出来ません"},
        {std::string(255, 'x'), "指定された文字は長すぎます"},
    };
    for (const auto& [name, message] : refusals) {
        ui.Answer(MsgResult::OK);
        EXPECT_EQ(MakeGroupNamed(name, {a, b}), ListRedraw::None) << name;
        ExpectLastBox(message);
    }
    // Cancel and an empty name say nothing.
    EXPECT_EQ(MakeGroupNamed(std::nullopt, {a, b}), ListRedraw::None);
    EXPECT_EQ(MakeGroupNamed("", {a, b}), ListRedraw::None);
    EXPECT_EQ(Names(project), (Texts{a, b, c, "G"}));
    EXPECT_FALSE(project.Modified());
}

TEST_F(EditCommandsTest, MakeGroupTakes254CharactersAndAsksBeforeJoiningAGroupOfThatName) {
    const std::string name = std::string(253, 'x') + "ｸ";
    EXPECT_EQ(MakeGroupNamed(name, {c, a}), ListRedraw::OpenedGroup);
    EXPECT_EQ(Names(project), (Texts{b, "G", name}));
    EXPECT_EQ(project.GetOpenGroup(), name);
    EXPECT_EQ(project.Items()[2].PathList, c + "\t" + a);

    Add(project, {MakeFile("d", 1), MakeFile("e", 1)});
    const Texts de{folder.File("d"), folder.File("e")};
    ui.Answer(MsgResult::Cancel);
    EXPECT_EQ(MakeGroupNamed("g", de), ListRedraw::None);
    ExpectLastBox("既に、同名のｸﾞﾙｰﾌﾟが存在します\r\n既存のｸﾞﾙｰﾌﾟにこのｱｲﾃﾑを追加しますか？",
                  "ｸﾞﾙｰﾌﾟの作成", MsgButtons::OKCancel);
    EXPECT_EQ(project.Items().size(), 5u);
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(MakeGroupNamed("g", de), ListRedraw::OpenedGroup);
    EXPECT_EQ(Names(project), (Texts{b, "G", name}));
    EXPECT_EQ(project.Items()[1].Files.size(), 4u);
}

// The input box deletes a file while it is open, as a user in another program
// might.
class FileDeletingUi : public ScriptedUi {
  public:
    explicit FileDeletingUi(std::string path) : path_(std::move(path)) {}
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& proposed) override {
        std::filesystem::remove(path_);
        return ScriptedUi::InputBox(prompt, title, proposed);
    }

  private:
    std::string path_;
};

TEST_F(EditCommandsTest, AFileGoneWhileTheNameIsAskedKeepsEveryFileInTheList) {
    FileDeletingUi deleting(b);
    deleting.AnswerInput("New");
    deleting.Answer(MsgResult::OK);  // the common error box
    deleting.Answer(MsgResult::OK);
    EXPECT_EQ(MakeGroupCommand(project, {a, b}), ListRedraw::OpenedGroup);
    ASSERT_EQ(deleting.Boxes().size(), 2u);
    EXPECT_EQ(deleting.Boxes()[0].text, "ファイルが見つかりません。");
    EXPECT_EQ(deleting.Boxes()[1].text, "ｸﾞﾙｰﾌﾟの追加に失敗しました");
    EXPECT_EQ(Names(project), (Texts{a, b, c, "G"}));
}

TEST_F(EditCommandsTest, ReleaseAppendsTheMembersAtTheEndOrSaysWhatIsMissing) {
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(ReleaseGroupCommand(project, {}), ListRedraw::None);
    ExpectLastBox("ｸﾞﾙｰﾌﾟが選択されていません");

    // A row that is no group releases the opened group.
    Add(project, {MakeFile("h1", 1), MakeFile("h2", 1)}, "H");
    EXPECT_EQ(ReleaseGroupCommand(project, {a}), ListRedraw::TopLevel);
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(ReleaseGroupCommand(project, {"Nothing", "G"}), ListRedraw::TopLevel);
    ExpectLastBox("ｸﾞﾙｰﾌﾟの解除に失敗しました");
    EXPECT_EQ(Names(project), (Texts{a, b, c, folder.File("h1"), folder.File("h2"),
                                     folder.File("m1"), folder.File("m2")}));
}

TEST_F(EditCommandsTest, RenameRefusesTakenAndInvalidNamesAndTakesApostrophes) {
    Add(project, {MakeFile("h1", 1), MakeFile("h2", 1)}, "Holiday");
    project.SetModified(false);
    // A member whose file has gone still holds its name.
    std::filesystem::remove(folder.File("h1"));
    const std::string invalid =
        "無効なｸﾞﾙｰﾌﾟ名です\r\n"
        "既存のﾌｧｲﾙ・ﾌｫﾙﾀﾞ名や空欄または254文字以上に設定しようとしました";
    const std::pair<std::string, std::string> refusals[] = {
        {a, invalid},
        {folder.Path(), invalid},
        {"", invalid},
        {std::string(255, 'y'), invalid},
        {"HOLIDAY", "同名のﾌｧｲﾙもしくはｸﾞﾙｰﾌﾟが存在します"},
        {folder.File("h1"), "同名のﾌｧｲﾙもしくはｸﾞﾙｰﾌﾟが存在します"},
    };
    for (const auto& [text, message] : refusals) {
        ui.Answer(MsgResult::OK);
        EXPECT_EQ(EndRename(project, "G", text, 1), ListRedraw::None) << text;
        ExpectLastBox(message);
    }
    EXPECT_EQ(EndRename(project, "G", "Other", 2), ListRedraw::None) << "two rows selected";
    EXPECT_EQ(EndRename(project, a, "Other", 1), ListRedraw::None) << "a file row";
    EXPECT_EQ(Names(project), (Texts{a, b, c, "G", "Holiday"}));
    EXPECT_FALSE(project.Modified());

    EXPECT_EQ(EndRename(project, "g", "Tom's files", 1), ListRedraw::TopLevel);
    EXPECT_TRUE(project.Modified());
    EXPECT_EQ(EndRename(project, "Tom's files", std::string(254, 'z'), 1), ListRedraw::TopLevel);
    EXPECT_EQ(project.Items()[3].Name, std::string(254, 'z'));
}

}  // namespace
}  // namespace zv
