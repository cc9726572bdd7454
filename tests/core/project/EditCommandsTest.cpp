#include <filesystem>
#include <functional>

#include "core/project/EditCommands.h"
#include "core/project/Grouping.h"
#include "core/project/ItemEditing.h"
#include "core/project/ListRenderer.h"
#include "core/project/ResultListDrag.h"
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
        project.SetModified(false);
    }
    ListRedraw MakeGroupNamed(std::optional<std::string> name, const Texts& tags) {
        ui.AnswerInput(std::move(name));
        return MakeGroupCommand(project, tags);
    }
    void AddGroup(const std::string& name) {
        Add(project, {MakeFile("h1", 1), MakeFile("h2", 1)}, name);
        project.SetModified(false);
    }
    // Each name refused with its message, the list and its modified flag untouched.
    void ExpectRefused(const std::vector<std::pair<std::string, std::string>>& refusals,
                       const std::function<ListRedraw(const std::string&)>& act) {
        const Texts names = Names(project);
        for (const auto& [name, message] : refusals) {
            ui.Answer(MsgResult::OK);
            EXPECT_EQ(act(name), ListRedraw::None) << name;
            ExpectLastBox(message);
        }
        EXPECT_EQ(Names(project), names);
        EXPECT_FALSE(project.Modified());
    }

    ProjectDocument project;
    const std::string a = folder.File("a"), b = folder.File("b"), c = folder.File("c");
};

TEST_F(EditCommandsTest, DeleteAsksForOneRowByItsTagAndForSeveralByTheirNumber) {
    ui.Answer(MsgResult::Cancel);
    EXPECT_EQ(DeleteCommand(project, {"G"}), ListRedraw::None);
    ExpectBox(ui.Boxes()[0], "'G'をﾘｽﾄから消去してよろしいですか？", "ﾘｽﾄの消去",
              MsgButtons::OKCancel);
    EXPECT_EQ(project.Items().size(), 4u);
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(DeleteCommand(project, {a, "G", c}), ListRedraw::OpenedGroup);
    EXPECT_EQ(ui.Boxes()[1].text, "これらの3個の項目をﾘｽﾄから消去してよろしいですか？");
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
    // The delete's own question comes first.
    ui.Answer(MsgResult::OK);
    ui.Answer(MsgResult::Cancel);
    EXPECT_EQ(DeleteCommand(project, {a}), ListRedraw::None);
    ExpectLastBox(
        "この操作を実行するには結果情報をクリアする必要があります\r\n"
        "結果情報リストをクリアして操作を続行しますか？",
        "結果情報のクリア", MsgButtons::OKCancel);
    EXPECT_EQ(project.Items().size(), 4u);
    EXPECT_TRUE(project.HasResults());
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(PasteCommand(project), ListRedraw::OpenedGroup);
    EXPECT_FALSE(project.HasResults());
}

// Cut marks keep the order they were set in.
TEST_F(EditCommandsTest, MembersPastedIntoAnotherGroupAskBeforeMerging) {
    AddGroup("H");
    const auto cutBoth = [&] { CutCommand(project, {folder.File("m2"), folder.File("m1")}); };
    cutBoth();
    ui.Answer(MsgResult::Cancel);
    ui.Answer(MsgResult::OK);
    PasteCommand(project);
    ExpectBox(ui.Boxes()[0],
              "ｸﾞﾙｰﾌﾟ内にｸﾞﾙｰﾌﾟを含むﾌｧｲﾙ群を貼り付けようとしています\r\n"
              "これらの貼り付けるﾌｧｲﾙを貼り付け先のｸﾞﾙｰﾌﾟに統合しますか？",
              "ｸﾞﾙｰﾌﾟｱｲﾃﾑの追加", MsgButtons::OKCancel);
    ExpectLastBox("貼り付けに失敗しました");
    EXPECT_EQ(project.Items()[3].Files.size(), 2u);
    EXPECT_FALSE(project.Modified() || project.HasCutMarks());
    cutBoth();
    ui.Answer(MsgResult::OK);
    PasteCommand(project);
    EXPECT_EQ(Names(project), (Texts{a, b, c, "H"})) << "the emptied group leaves";
    EXPECT_EQ(project.Items()[3].PathList, folder.File("h1") + "\t" + folder.File("h2") + "\t" +
                                               folder.File("m2") + "\t" + folder.File("m1"));
}

// Cancel and an empty name say nothing; an existing folder with two dots in a
// row is refused for the dots. A name of 254 characters is taken, and one of a
// group that exists asks before joining it.
TEST_F(EditCommandsTest, MakeGroupRefusesNamesInTheirOrderOrTakesThemOrJoinsAGroup) {
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(MakeGroupCommand(project, {a}), ListRedraw::None);
    ExpectLastBox(
        "ｸﾞﾙｰﾌﾟを生成するには2つ以上のｱｲﾃﾑを選択する必要があります。\r\n"
        "既存のｸﾞﾙｰﾌﾟにｱｲﾃﾑを入れるには「コピー＆ペースト」を実行してください");
    const std::string forbidden = "「’」、「”」、「..」は名前に使用できません";
    ExpectRefused(
        {{"Tom's", forbidden},
         {"a..b", forbidden},
         {"say \"hi\"", forbidden},
         {folder.Path() + "/..", forbidden},
         {folder.Path(), "存在するファイル・フォルダの名前(パス)を指定することは出来ません"},
         {std::string(255, 'x'), "指定された文字は長すぎます"}},
        [&](const std::string& name) {
            return MakeGroupNamed(name, {a, b});
        });
    EXPECT_EQ(MakeGroupNamed(std::nullopt, {a, b}), ListRedraw::None);
    EXPECT_EQ(MakeGroupNamed("", {a, b}), ListRedraw::None);

    const std::string name = std::string(253, 'x') + "ｸ";
    EXPECT_EQ(MakeGroupNamed(name, {c, a}), ListRedraw::OpenedGroup);
    EXPECT_EQ(Names(project), (Texts{b, "G", name}));
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
// might: every file stays in the list.
TEST_F(EditCommandsTest, AFileGoneWhileTheNameIsAskedKeepsEveryFileInTheList) {
    struct DeletingUi : ScriptedUi {
        std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                            const std::string& proposed) override {
            std::filesystem::remove(path);
            return ScriptedUi::InputBox(prompt, title, proposed);
        }
        std::string path;
    } deleting;
    deleting.path = b;
    deleting.AnswerInput("New");
    deleting.Answer(MsgResult::OK);
    deleting.Answer(MsgResult::OK);
    EXPECT_EQ(MakeGroupCommand(project, {a, b}), ListRedraw::OpenedGroup);
    EXPECT_EQ(deleting.Boxes().back().text, "ｸﾞﾙｰﾌﾟの追加に失敗しました");
    EXPECT_EQ(Names(project), (Texts{a, b, c, "G"}));
}

// A row that is no group releases the opened group; the members go to the end.
TEST_F(EditCommandsTest, ReleaseAppendsTheMembersAtTheEndOrSaysWhatIsMissing) {
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(ReleaseGroupCommand(project, {}), ListRedraw::None);
    ExpectLastBox("ｸﾞﾙｰﾌﾟが選択されていません");
    AddGroup("H");
    EXPECT_EQ(ReleaseGroupCommand(project, {a}), ListRedraw::TopLevel);
    ui.Answer(MsgResult::OK);
    EXPECT_EQ(ReleaseGroupCommand(project, {"Nothing", "G"}), ListRedraw::TopLevel);
    ExpectLastBox("ｸﾞﾙｰﾌﾟの解除に失敗しました");
    EXPECT_EQ(Names(project), (Texts{a, b, c, folder.File("h1"), folder.File("h2"),
                                     folder.File("m1"), folder.File("m2")}));
}

// Each edit of the list is one step back and forward again, to the list as it
// was with its media and its opened group; what Cut marks is no step. A
// change not recorded yet is the first undone, and it ends the steps forward.
TEST_F(EditCommandsTest, UndoAndRedoStepThroughEveryEditOfTheList) {
    project.Items()[0].Medium = 1;
    project.ForgetEdits();
    const auto list = [this] {
        Texts rows{"open:" + project.GetOpenGroup()};
        for (const ItemRecord& item : project.Items())
            rows.push_back(item.Name + "|" + std::to_string(item.Medium) + "|" + item.PathList);
        return rows;
    };
    const std::string d = folder.File("d");
    const std::function<void()> edits[] = {
        [&] { Add(project, {MakeFile("d", 1)}); },
        [&] {
            ui.Answer(MsgResult::OK);
            ui.Answer(MsgResult::OK);
            DeleteCommand(project, {a});
        },
        [&] {
            CutCommand(project, {b});
            project.SetOpenGroup("G");
            PasteCommand(project);
        },
        [&] {
            project.SetOpenGroup("");
            MakeGroupNamed("H", {c, d});
        },
        [&] { ReleaseGroupCommand(project, {"G"}); },
        [&] { EndRename(project, "H", "Renamed", 1); },
    };
    std::vector<Texts> states{list()};
    for (const auto& edit : edits) {
        edit();
        project.RecordEdit();
        states.push_back(list());
        ASSERT_NE(states.back(), states[states.size() - 2]) << states.size();
    }
    for (std::size_t s = states.size() - 1; s > 0; --s) {
        project.SetModified(false);
        ASSERT_TRUE(project.Undo());
        EXPECT_EQ(list(), states[s - 1]) << s;
        EXPECT_TRUE(project.Modified());
    }
    EXPECT_FALSE(project.Undo());
    for (std::size_t s = 1; s < states.size(); ++s) {
        ASSERT_TRUE(project.Redo());
        EXPECT_EQ(list(), states[s]) << s;
    }
    EXPECT_FALSE(project.Redo());

    CutCommand(project, {"Renamed"});
    project.RecordEdit();
    ASSERT_TRUE(project.Undo());
    EXPECT_EQ(list(), states[states.size() - 2]) << "the cut was no step";
    EXPECT_FALSE(project.HasCutMarks());
    project.Items()[0].Medium = 2;
    ASSERT_TRUE(project.Undo());
    EXPECT_EQ(list(), states[states.size() - 2]);
    ASSERT_TRUE(project.Redo());
    EXPECT_EQ(project.Items()[0].Medium, 2);
    EXPECT_FALSE(project.CanRedo()) << "the rename was dropped";
}

// A member whose file has gone still holds its name.
TEST_F(EditCommandsTest, RenameRefusesTakenAndInvalidNamesAndTakesApostrophes) {
    AddGroup("Holiday");
    project.Items()[0].Medium = 1;
    std::filesystem::remove(folder.File("h1"));
    const std::string invalid =
        "無効なｸﾞﾙｰﾌﾟ名です\r\n"
        "既存のﾌｧｲﾙ・ﾌｫﾙﾀﾞ名や空欄または254文字以上に設定しようとしました";
    const std::string taken = "同名のﾌｧｲﾙもしくはｸﾞﾙｰﾌﾟが存在します";
    ExpectRefused({{a, invalid},
                   {folder.Path(), invalid},
                   {"", invalid},
                   {std::string(255, 'y'), invalid},
                   {"HOLIDAY", taken},
                   {folder.File("h1"), taken}},
                  [&](const std::string& name) { return EndRename(project, "G", name, 1); });
    EXPECT_EQ(EndRename(project, "G", "Other", 2), ListRedraw::None) << "two rows selected";
    EXPECT_EQ(EndRename(project, a, "Other", 1), ListRedraw::None) << "a file row";
    EXPECT_FALSE(project.Modified());
    EXPECT_EQ(EndRename(project, "g", "Tom's files", 1), ListRedraw::TopLevel);
    EXPECT_TRUE(project.Modified());
    EXPECT_TRUE(project.HasResults()) << "a name is no part of the plan";
    EXPECT_EQ(EndRename(project, "Tom's files", std::string(254, 'z'), 1), ListRedraw::TopLevel);
    EXPECT_EQ(project.Items()[3].Name, std::string(254, 'z'));
}

// a (1 byte) and b (2) single; group "G" of c (4), d (8), e (16); f (32) single.
class ItemEditingTest : public DocumentTest {
  protected:
    void SetUp() override {
        for (int i = 0; i < 6; ++i)
            files[i] = MakeFile(std::string(1, 'a' + i), 1 << i);
        Add(project, {a, b});
        Add(project, {c, d, e}, "G");
        Add(project, {f});
        project.SetOpenGroup("");
        project.SetModified(false);
    }
    ItemRecord& Group() { return project.Items()[2]; }
    std::string Paths(const std::vector<FileRef>& list) {
        std::string text;
        for (const FileRef& file : list)
            text += (text.empty() ? "" : "\t") + file.Path();
        return text;
    }

    ProjectDocument project;
    FileRef files[6];
    FileRef &a = files[0], &b = files[1], &c = files[2], &d = files[3], &e = files[4],
            &f = files[5];
};

// FindGroup takes the last group of the name before an item without files.
TEST_F(ItemEditingTest, FindItemAndFindGroupNeedTheWholePathAndGroupNamesInAnyCase) {
    const FileRef bak = MakeFile("c.bak", 1);
    Group().Files.insert(Group().Files.begin(), bak);
    const auto member = FindItem(project, c.Path());
    ASSERT_TRUE(member.has_value()) << "c behind c.bak";
    EXPECT_EQ(member->item * 10 + member->member, 21);
    EXPECT_EQ(FindItem(project, "g")->member, -1);
    EXPECT_EQ(FindItem(project, f.Path())->member, -1) << "a single file is whole";
    EXPECT_FALSE(FindItem(project, folder.File("c.")).has_value()) << "no part of a path";
    EXPECT_FALSE(FindItem(ProjectDocument(), "").has_value()) << "the placeholder is no item";
    Add(project, {MakeFile("g1", 1), MakeFile("g2", 1)}, "g");
    std::vector<ItemRecord> items = project.GetItems();
    EXPECT_EQ(FindGroup("G", items), 4);
    EXPECT_EQ(FindGroup(f.Path(), items), -1) << "a single file is no group";
    items.insert(items.begin() + 1, ItemRecord());
    EXPECT_EQ(FindGroup("G", items), -1);
}

// A name not found stops the taking out; what was taken out stays out.
TEST_F(ItemEditingTest, TakingOutMembersRecountsTheGroupAndTheLastMemberTakesTheGroup) {
    Group().Cut.MarkMember(1);
    ASSERT_TRUE(TakeOutItems(project, {c.Path(), e.Path()}));
    EXPECT_EQ(Group().Size, 8);
    EXPECT_EQ(Group().PathList, d.Path());
    EXPECT_TRUE(project.Modified() && !project.HasCutMarks());
    ASSERT_TRUE(TakeOutItems(project, {d.Path()}));
    EXPECT_EQ(Names(project), (Texts{a.Path(), b.Path(), f.Path()}));
    project.SetModified(false);
    EXPECT_FALSE(TakeOutItems(project, {a.Path(), folder.File("gone"), b.Path()}));
    EXPECT_EQ(Names(project), (Texts{b.Path(), f.Path()}));
    EXPECT_FALSE(project.Modified());
    ASSERT_TRUE(TakeOutItems(project, {b.Path(), f.Path()}));
    EXPECT_TRUE(project.IsEmpty()) << "the last item leaves the placeholder";
    EXPECT_EQ(project.Items().size(), 1u);
}

TEST_F(ItemEditingTest, CutFilesJoinAnOpenedGroupAndAPastedGroupFallsApartAtTheEnd) {
    MarkCut(project, {a.Path(), f.Path()});
    project.SetOpenGroup("g");
    ASSERT_TRUE(PasteCut(project));
    EXPECT_EQ(Names(project), (Texts{b.Path(), "G"}));
    EXPECT_EQ(project.Items()[1].PathList, Paths({c, d, e, a, f}));
    EXPECT_TRUE(project.Modified() && !project.HasCutMarks());
    project.SetOpenGroup("");
    MarkCut(project, {"g"});
    ASSERT_TRUE(PasteCut(project));
    EXPECT_EQ(Names(project), (Texts{b.Path(), c.Path(), d.Path(), e.Path(), a.Path(), f.Path()}));
    project.SetModified(false);
    ASSERT_TRUE(PasteCut(project)) << "nothing marked";
    EXPECT_FALSE(project.Modified());
}

// A link leading round to itself is neither there nor gone.
TEST_F(ItemEditingTest, ADragAwayKeepsOnlyFilesStillThere) {
    Group().Medium = 2;
    std::filesystem::remove(d.Path());
    std::filesystem::remove(a.Path());
    ASSERT_TRUE(KeepExistingMembers(project));
    EXPECT_EQ(Names(project), (Texts{b.Path(), "G", f.Path()}));
    EXPECT_EQ(project.Items()[1].Size, 20);
    EXPECT_EQ(project.Items()[1].PathList, Paths({c, e}));
    EXPECT_EQ(project.Items()[1].Medium, 2);
    std::filesystem::remove(c.Path());
    std::filesystem::create_symlink(c.Path(), c.Path());
    EXPECT_FALSE(KeepExistingMembers(project));
    EXPECT_EQ(project.Items()[1].PathList, Paths({c, e}));
}

// A file gone meanwhile puts the list back as it was.
TEST_F(ItemEditingTest, AddToGroupAppendsNewFilesOrMakesTheGroup) {
    Group().Cut.MarkWhole();
    const FileRef h = MakeFile("h", 64);
    ASSERT_TRUE(AddToGroup(project, "g", {d, h}));
    EXPECT_EQ(Group().PathList, Paths({c, d, e, h}));
    EXPECT_EQ(Group().Size, 92);
    EXPECT_EQ(project.GetOpenGroup(), "g");
    EXPECT_FALSE(project.HasCutMarks());
    EXPECT_FALSE(AddToGroup(project, "G", {c})) << "nothing new";
    EXPECT_FALSE(AddToGroup(project, "", {MakeFile("i", 1)})) << "no single files";
    ASSERT_TRUE(AddToGroup(project, "New", {MakeFile("j", 1)}));
    EXPECT_EQ(Names(project).back(), "New");
    const FileRef gone = MakeFile("gone", 3);
    std::filesystem::remove(gone.Path());
    ui.Answer(MsgResult::OK);
    EXPECT_FALSE(AddToGroup(project, "G", {MakeFile("k", 4), gone}));
    EXPECT_EQ(Group().Files.size(), 4u);
    EXPECT_EQ(Group().Size, 92);
}

// The main window at left 1200, top 900, 10200 high; rows 6000 wide. The
// window's band includes its edges.
TEST(ResultListDragTest, StartsOutsideTheWindowsBandOrPastTheFirstRow) {
    const WindowPlace window{1200, 900, 10200};
    const struct {
        int x, y;
        bool starts;
    } cases[] = {{1500, 900, false},  {6000, 11100, false}, {1500, 899, true},
                 {1500, 11101, true}, {1199, 2000, true},   {6001, 2000, true}};
    for (const auto& c : cases)
        EXPECT_EQ(StartsResultListDrag(c.x, c.y, window, 6000), c.starts) << c.x << "," << c.y;
    EXPECT_EQ(SizeText(999, UnitKilobytes) + SizeText(1500, UnitKilobytes), "1 KB2 KB");
    EXPECT_EQ(SizeText(2500, UnitKilobytes) + SizeText(4.7e12, UnitGigabytes), "2 KB4,700 GB");
}

// "small.txt" of 5 bytes, then a group named like its path of g1 (12,000) and
// g2 (345). Group rows keep their names when only file names are shown; a
// member that has gone shows its last size; the ".." row stays without one.
class ListRendererTest : public DocumentTest {
  protected:
    ListRendererTest() {
        Add(project, {MakeFile("small.txt", 5)});
        Add(project, {MakeFile("g1.txt", 12000), MakeFile("g2.txt", 345)}, small);
        project.SetOpenGroup("");
    }
    Texts Column(const ListContent& list, std::string ListRow::*field) {
        Texts column;
        for (const ListRow& row : list.rows)
            column.push_back(row.*field);
        return column;
    }

    std::string small = folder.File("small.txt");
    ProjectDocument project;
};

TEST_F(ListRendererTest, RowsArePaddedToTheLongestSizeAndGroupsShowFullPaths) {
    ListContent list = RenderList(project, 0, "", 0);
    EXPECT_EQ(Column(list, &ListRow::sizeText), (Texts{"     5", "12,345"}));
    EXPECT_EQ(Column(list, &ListRow::tag), (Texts{small, small}));
    EXPECT_EQ(list.rows.at(0).icon * 10 + list.rows.at(1).icon, IconFile * 10 + IconGroup);
    project.SetPathMode(FileNamesOnly);
    EXPECT_EQ(Column(RenderList(project, 0, "", 0), &ListRow::text), (Texts{"small.txt", small}));
    std::filesystem::remove(folder.File("g2.txt"));
    list = RenderList(project, 0, folder.File("SMALL.txt"), 0);
    EXPECT_TRUE(list.groupOpened);
    EXPECT_EQ(Column(list, &ListRow::text),
              (Texts{"..", folder.File("g1.txt"), folder.File("g2.txt")}));
    EXPECT_EQ(Column(list, &ListRow::sizeText), (Texts{"", "12,000", "   345"}));
}

// An unknown group falls back to the top level, or to the group that is open.
TEST_F(ListRendererTest, AnUnknownGroupFallsBackAndTheResultListShowsOneMedium) {
    project.SetOpenGroup("Gone");
    EXPECT_FALSE(RenderList(project, 0, "Gone", 0).groupOpened);
    EXPECT_EQ(project.GetOpenGroup(), "");
    project.SetOpenGroup(small);
    EXPECT_TRUE(RenderList(project, 0, "Elsewhere", 0).groupOpened);
    EXPECT_EQ(project.GetOpenGroup(), small);

    project.Items()[1].Medium = 1;
    const ListContent first = RenderList(project, 1, "", 1);
    EXPECT_EQ(first.rows.size() * 10 + first.itemCount, 11u);
    EXPECT_EQ(first.totalSize, 12345);
    EXPECT_EQ(Column(RenderList(project, 1, "", 0), &ListRow::sizeText), (Texts{"5"}));
    EXPECT_TRUE(RenderList(project, 1, "", 2).rows.empty());
    ProjectDocument empty;
    EXPECT_EQ(RenderList(empty, 1, "", 0).itemCount, 0) << "the placeholder is no item";
}

}  // namespace
}  // namespace zv
