#include <filesystem>

#include "document/EditCommands.h"
#include "document/ItemEditing.h"
#include "tests/document/DocumentTest.h"

namespace zv {
namespace {

using test::ExpectBox;
using Texts = std::vector<std::string>;

const char* const kClearResults =
    "この操作を実行するには結果情報をクリアする必要があります\r\n"
    "結果情報リストをクリアして操作を続行しますか？";

Texts Names(const ProjectDocument& project) {
    Texts names;
    for (const ItemRecord& item : project.Items())
        names.push_back(item.Name);
    return names;
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

class EditCommandsTest : public test::DocumentTest {
  protected:
    // Single files a, b, c; group "G" of m1, m2.
    void SetUp() override {
        Add(project, {MakeFile("a", 1), MakeFile("b", 2), MakeFile("c", 4)});
        Add(project, {MakeFile("m1", 8), MakeFile("m2", 16)}, "G");
        project.SetOpenGroup("");
        project.SetModified(false);
    }

    std::string A() const { return folder.File("a"); }
    std::string B() const { return folder.File("b"); }
    std::string C() const { return folder.File("c"); }

    ListRedraw MakeGroupNamed(std::optional<std::string> name, const Texts& tags) {
        ui.AnswerInput(std::move(name));
        return MakeGroupCommand(project, tags);
    }

    void ExpectMessage(std::size_t box, const std::string& text) {
        ASSERT_GT(ui.Boxes().size(), box);
        ExpectBox(ui.Boxes()[box], text, "Zarvopack");
    }

    ProjectDocument project;
};

TEST_F(EditCommandsTest, DeleteAsksForOneRowByItsTagAndForSeveralByTheirNumber) {
    ui.Answer(MsgResult::Cancel);
    EXPECT_EQ(DeleteCommand(project, {"G"}), ListRedraw::None);
    ExpectBox(ui.Boxes()[0], "'G'ををﾘｽﾄから消去してよろしいですか？", "ﾘｽﾄの消去",
              MsgButtons::OKCancel);
    EXPECT_EQ(project.Items().size(), 4u);

    ui.Answer(MsgResult::OK);
    EXPECT_EQ(DeleteCommand(project, {A(), "G", C()}), ListRedraw::OpenedGroup);
    ExpectBox(ui.Boxes()[1], "これらの3個の項目ををﾘｽﾄから消去してよろしいですか？", "ﾘｽﾄの消去",
              MsgButtons::OKCancel);
    EXPECT_EQ(Names(project), (Texts{B()}));
    EXPECT_TRUE(project.Modified());

    EXPECT_EQ(DeleteCommand(project, {}), ListRedraw::OpenedGroup) << "nothing asked";
    ui.Answer(MsgResult::OK);
    ui.Answer(MsgResult::OK);
    DeleteCommand(project, {folder.File("nowhere")});
    ExpectMessage(3, "削除に失敗しました");
}

TEST_F(EditCommandsTest, DeletingTheOnlyMemberOfAnOpenedGroupRemovesTheGroup) {
    Add(project, {MakeFile("solo", 1)}, "Solo");
    ui.Answer(MsgResult::OK);
    DeleteCommand(project, {folder.File("solo")});
    EXPECT_EQ(Names(project), (Texts{A(), B(), C(), "G"}));
}

TEST_F(EditCommandsTest, ResultsAreClearedOnlyWhenTheUserAgrees) {
    project.Items()[0].Medium = 1;
    ui.Answer(MsgResult::Cancel);
    EXPECT_EQ(DeleteCommand(project, {A()}), ListRedraw::None);
    ExpectBox(ui.Boxes()[0], kClearResults, "結果情報のクリア", MsgButtons::OKCancel);
    EXPECT_TRUE(project.HasResults());
    EXPECT_EQ(ui.Boxes().size(), 1u) << "no delete question after Cancel";

    ui.Answer(MsgResult::Cancel);
    EXPECT_FALSE(RenameCommand(project));
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(PasteCommand(project), ListRedraw::OpenedGroup);
    EXPECT_FALSE(project.HasResults());
    EXPECT_EQ(ui.Boxes().size(), 3u);
}

TEST_F(EditCommandsTest, DecliningTheMergeMakesThePasteFail) {
    Add(project, {MakeFile("h1", 1), MakeFile("h2", 1)}, "H");
    CutCommand(project, {folder.File("m1")});
    ui.Answer(MsgResult::Cancel);
    ui.Answer(MsgResult::OK);
    PasteCommand(project);
    ExpectMessage(1, "貼り付けに失敗しました");
    EXPECT_EQ(project.Items()[3].Files.size(), 2u);
    EXPECT_EQ(project.Items()[4].Files.size(), 2u);
}

TEST_F(EditCommandsTest, MakeGroupRefusesNamesInTheirOrderAndLeavesTheListAsItWas) {
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(MakeGroupCommand(project, {A()}), ListRedraw::None);
    ExpectMessage(0,
                  "ｸﾞﾙｰﾌﾟを生成するには2つ以上のｱｲﾃﾑを選択する必要があります。\r\n"
                  "既存のｸﾞﾙｰﾌﾟにｱｲﾃﾑを入れるには「コピー＆ペースト」を実行してください");
    EXPECT_TRUE(ui.Inputs().empty());

    const std::string forbidden = "「’」、「”」、「..」は名前に使用できません";
    const std::vector<std::pair<std::string, std::string>> refusals{
        {"Tom's", forbidden},
        {"a..b", forbidden},
        {"say \"hi\"", forbidden},
        // An existing folder whose path has two dots in a row is refused for
        // the characters first.
        {folder.Path() + "/..", forbidden},
        {folder.Path(), "存在するファイル・フォルダの名前(パス)を指定することは出来ません"},
        {std::string(255, 'x'), "指定された文字は長すぎます"},
    };
    for (const auto& [name, message] : refusals) {
        ui.Answer(MsgResult::OK);
        EXPECT_EQ(MakeGroupNamed(name, {A(), B()}), ListRedraw::None) << name;
        EXPECT_EQ(ui.Boxes().back().text, message) << name;
    }
    EXPECT_EQ(MakeGroupNamed(std::nullopt, {A(), B()}), ListRedraw::None);
    EXPECT_EQ(MakeGroupNamed("", {A(), B()}), ListRedraw::None);
    EXPECT_EQ(ui.Boxes().size(), 1 + refusals.size()) << "cancel and empty say nothing";
    EXPECT_EQ(Names(project), (Texts{A(), B(), C(), "G"}));
    EXPECT_FALSE(project.Modified());

    const ScriptedUi::Input& input = ui.Inputs().front();
    EXPECT_EQ(input.prompt, "ｸﾞﾙｰﾌﾟ名を決定してください");
    EXPECT_EQ(input.title, "ｸﾞﾙｰﾌﾟ名");
    EXPECT_EQ(input.proposed, "名称未設定");
}

TEST_F(EditCommandsTest, MakeGroupTakesANameOf254CharactersAndOpensTheGroup) {
    const std::string name = std::string(253, 'x') + "ｸ";
    EXPECT_EQ(MakeGroupNamed(name, {C(), A()}), ListRedraw::OpenedGroup);
    EXPECT_EQ(Names(project), (Texts{B(), "G", name}));
    EXPECT_EQ(project.GetOpenGroup(), name);
    EXPECT_EQ(project.Items()[2].PathList, C() + "\t" + A());
    EXPECT_TRUE(ui.Boxes().empty());
}

TEST_F(EditCommandsTest, AnExistingGroupNameAsksBeforeAddingToThatGroup) {
    ui.Answer(MsgResult::Cancel);
    EXPECT_EQ(MakeGroupNamed("g", {A(), B()}), ListRedraw::None);
    ExpectBox(ui.Boxes()[0],
              "既に、同名のｸﾞﾙｰﾌﾟが存在します\r\n既存のｸﾞﾙｰﾌﾟにこのｱｲﾃﾑを追加しますか？",
              "ｸﾞﾙｰﾌﾟの作成", MsgButtons::OKCancel);
    EXPECT_EQ(project.Items().size(), 4u);

    ui.Answer(MsgResult::OK);
    EXPECT_EQ(MakeGroupNamed("g", {A(), B()}), ListRedraw::OpenedGroup);
    EXPECT_EQ(Names(project), (Texts{C(), "G"}));
    EXPECT_EQ(project.Items()[1].Files.size(), 4u);
}

TEST_F(EditCommandsTest, AFileGoneWhileTheNameIsAskedKeepsEveryFileInTheList) {
    FileDeletingUi deleting(B());
    deleting.AnswerInput("New");
    deleting.Answer(MsgResult::OK);  // the common error box
    deleting.Answer(MsgResult::OK);
    EXPECT_EQ(MakeGroupCommand(project, {A(), B()}), ListRedraw::OpenedGroup);
    ASSERT_EQ(deleting.Boxes().size(), 2u);
    EXPECT_EQ(deleting.Boxes()[0].title, "zarvopackｴﾗｰ 53");
    ExpectBox(deleting.Boxes()[1], "ｸﾞﾙｰﾌﾟの追加に失敗しました", "Zarvopack");
    EXPECT_EQ(Names(project), (Texts{A(), B(), C(), "G"}));
}

TEST_F(EditCommandsTest, ReleaseSaysWhatIsMissing) {
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(ReleaseGroupCommand(project, {}), ListRedraw::None);
    ExpectMessage(0, "ｸﾞﾙｰﾌﾟが選択されていません");

    ui.Answer(MsgResult::OK);
    EXPECT_EQ(ReleaseGroupCommand(project, {"Nothing", "G"}), ListRedraw::TopLevel);
    ExpectMessage(1, "ｸﾞﾙｰﾌﾟの解除に失敗しました");
    EXPECT_EQ(ui.Boxes().size(), 2u) << "the second group was released";
    EXPECT_EQ(Names(project).back(), folder.File("m2"));
}

TEST_F(EditCommandsTest, RenameRefusesTakenAndInvalidNames) {
    Add(project, {MakeFile("h1", 1), MakeFile("h2", 1)}, "Holiday");
    project.SetModified(false);
    const std::string invalid =
        "無効なｸﾞﾙｰﾌﾟ名です\r\n"
        "既存のﾌｧｲﾙ・ﾌｫﾙﾀﾞ名や空欄または254文字以上に設定しようとしました";
    for (const std::string& text : {A(), folder.Path(), std::string(), std::string(255, 'y')}) {
        ui.Answer(MsgResult::OK);
        EXPECT_EQ(EndRename(project, "G", text, 1), ListRedraw::None);
        ExpectBox(ui.Boxes().back(), invalid, "Zarvopack");
    }
    // A member whose file has gone still holds its name.
    std::filesystem::remove(folder.File("h1"));
    for (const std::string& text : {std::string("HOLIDAY"), folder.File("h1")}) {
        ui.Answer(MsgResult::OK);
        EXPECT_EQ(EndRename(project, "G", text, 1), ListRedraw::None);
        ExpectBox(ui.Boxes().back(), "同名のﾌｧｲﾙもしくはｸﾞﾙｰﾌﾟが存在します", "Zarvopack");
    }
    EXPECT_EQ(EndRename(project, "G", "Other", 2), ListRedraw::None) << "two rows selected";
    EXPECT_EQ(EndRename(project, A(), "Other", 1), ListRedraw::None) << "a file row";
    EXPECT_EQ(ui.Boxes().size(), 6u);
    EXPECT_EQ(Names(project), (Texts{A(), B(), C(), "G", "Holiday"}));
    EXPECT_FALSE(project.Modified());
}

TEST_F(EditCommandsTest, RenameTakesApostrophesAnd254Characters) {
    EXPECT_EQ(EndRename(project, "g", "Tom's files", 1), ListRedraw::TopLevel);
    EXPECT_EQ(project.Items()[3].Name, "Tom's files");
    EXPECT_TRUE(project.Modified());
    const std::string longest(254, 'z');
    EXPECT_EQ(EndRename(project, "Tom's files", longest, 1), ListRedraw::TopLevel);
    EXPECT_EQ(project.Items()[3].Name, longest);
}

}  // namespace
}  // namespace zv
