#include <filesystem>

#include "document/Grouping.h"
#include "document/ItemEditing.h"
#include "tests/document/DocumentTest.h"

namespace zv {
namespace {

using test::DocumentTest;
using test::ExpectBox;
using Texts = std::vector<std::string>;

Texts Names(const ProjectDocument& project) {
    Texts names;
    for (const ItemRecord& item : project.Items())
        names.push_back(item.Name);
    return names;
}

Texts Members(const ItemRecord& item) {
    Texts paths;
    for (const FileRef& file : item.Files)
        paths.push_back(file.Path());
    return paths;
}

class ItemEditingTest : public DocumentTest {
  protected:
    // a (1 byte) and b (2) single; group "G" of c (4), d (8), e (16); f (32) single.
    void SetUp() override {
        a = MakeFile("a", 1), b = MakeFile("b", 2), c = MakeFile("c", 4);
        d = MakeFile("d", 8), e = MakeFile("e", 16), f = MakeFile("f", 32);
        Add(project, {a, b});
        Add(project, {c, d, e}, "G");
        Add(project, {f});
        project.SetOpenGroup("");
        project.SetModified(false);
    }

    ItemRecord& Group() { return project.Items()[2]; }

    ProjectDocument project;
    FileRef a, b, c, d, e, f;
};

TEST_F(ItemEditingTest, FindItemNeedsTheWholePathAndGroupNamesInAnyCase) {
    ProjectDocument other;
    const FileRef bak = MakeFile("x.txt.bak", 1);
    const FileRef x = MakeFile("x.txt", 1);
    Add(other, {bak, x}, "Backups");
    Add(other, {MakeFile("y.txt", 1)});

    const auto member = FindItem(other, x.Path());
    ASSERT_TRUE(member.has_value()) << "x.txt behind x.txt.bak";
    EXPECT_EQ(member->item, 0);
    EXPECT_EQ(member->member, 1);
    const auto group = FindItem(other, "BACKUPS");
    ASSERT_TRUE(group.has_value());
    EXPECT_EQ(group->member, -1);
    EXPECT_EQ(FindItem(other, folder.File("y.txt"))->member, -1) << "a single file is whole";
    EXPECT_FALSE(FindItem(other, folder.File("x")).has_value()) << "no part of a path";
    EXPECT_FALSE(FindItem(ProjectDocument(), "").has_value()) << "the placeholder is no item";

    // Deleting the row of x.txt takes out x.txt, not x.txt.bak.
    ASSERT_TRUE(TakeOutItems(other, {x.Path()}));
    EXPECT_EQ(Members(other.Items()[0]), (Texts{bak.Path()}));
}

TEST_F(ItemEditingTest, TakingOutMembersRecountsTheGroupAndTheLastMemberTakesTheGroup) {
    Group().CutMarks = {1};
    ASSERT_TRUE(TakeOutItems(project, {c.Path(), e.Path()}));
    EXPECT_EQ(Members(Group()), (Texts{d.Path()}));
    EXPECT_EQ(Group().Size, 8);
    EXPECT_EQ(Group().PathList, d.Path());
    EXPECT_TRUE(project.Modified());
    EXPECT_FALSE(project.HasCutMarks());

    ASSERT_TRUE(TakeOutItems(project, {d.Path()}));
    EXPECT_EQ(Names(project), (Texts{a.Path(), b.Path(), f.Path()}));

    // A name not found stops there; what was taken out stays out.
    project.SetModified(false);
    EXPECT_FALSE(TakeOutItems(project, {a.Path(), folder.File("gone"), b.Path()}));
    EXPECT_EQ(Names(project), (Texts{b.Path(), f.Path()}));
    EXPECT_FALSE(project.Modified());

    ASSERT_TRUE(TakeOutItems(project, {b.Path(), f.Path()}));
    EXPECT_TRUE(project.IsEmpty()) << "the last item leaves the placeholder";
    EXPECT_EQ(project.Items().size(), 1u);
}

TEST_F(ItemEditingTest, CutFilesPastedIntoAnOpenedGroupJoinItWithoutAQuestion) {
    MarkCut(project, {a.Path(), f.Path()});
    EXPECT_EQ(project.Items()[0].CutMarks, (std::vector<int16_t>{-1}));
    project.SetOpenGroup("g");
    ASSERT_TRUE(PasteCut(project));
    EXPECT_EQ(Names(project), (Texts{b.Path(), "G"}));
    EXPECT_EQ(Members(project.Items()[1]),
              (Texts{c.Path(), d.Path(), e.Path(), a.Path(), f.Path()}));
    EXPECT_EQ(project.Items()[1].Size, 61);
    EXPECT_TRUE(project.Modified());
    EXPECT_FALSE(project.HasCutMarks());
    EXPECT_TRUE(ui.Boxes().empty());
}

TEST_F(ItemEditingTest, MembersOfAnotherGroupAskBeforeMergingAndCancelChangesNothing) {
    Add(project, {MakeFile("h", 64), MakeFile("i", 128)}, "H");
    MarkCut(project, {e.Path(), c.Path()});
    EXPECT_EQ(Group().CutMarks, (std::vector<int16_t>{2, 0}));
    const std::vector<ItemRecord> before = project.Items();
    project.SetModified(false);

    ui.Answer(MsgResult::Cancel);
    EXPECT_FALSE(PasteCut(project));
    ASSERT_EQ(ui.Boxes().size(), 1u);
    ExpectBox(ui.Boxes()[0],
              "ｸﾞﾙｰﾌﾟ内にｸﾞﾙｰﾌﾟを含むﾌｧｲﾙ群を貼り付けようとしています\r\n"
              "これらの貼り付けるﾌｧｲﾙを貼り付け先のｸﾞﾙｰﾌﾟに統合しますか？",
              "ｸﾞﾙｰﾌﾟｱｲﾃﾑの追加", MsgButtons::OKCancel);
    EXPECT_EQ(Names(project), (Texts{a.Path(), b.Path(), "G", f.Path(), "H"}));
    EXPECT_EQ(Members(Group()), Members(before[2]));
    EXPECT_EQ(Members(project.Items()[4]), Members(before[4]));
    EXPECT_FALSE(project.Modified());
    EXPECT_FALSE(project.HasCutMarks());

    MarkCut(project, {e.Path(), c.Path()});
    ui.Answer(MsgResult::OK);
    ASSERT_TRUE(PasteCut(project));
    EXPECT_EQ(Members(Group()), (Texts{d.Path()}));
    EXPECT_EQ(Members(project.Items()[4]).back(), c.Path()) << "in mark order";
    EXPECT_EQ(Members(project.Items()[4]).size(), 4u);
}

TEST_F(ItemEditingTest, AGroupPastedAtTheTopLevelFallsApartAtTheEnd) {
    MarkCut(project, {"g"});
    ASSERT_TRUE(PasteCut(project));
    EXPECT_EQ(Names(project), (Texts{a.Path(), b.Path(), f.Path(), c.Path(), d.Path(), e.Path()}));
    EXPECT_TRUE(ui.Boxes().empty());

    project.SetModified(false);
    ASSERT_TRUE(PasteCut(project)) << "nothing marked";
    EXPECT_FALSE(project.Modified());
}

TEST_F(ItemEditingTest, ADragAwayKeepsOnlyFilesStillThere) {
    project.Items()[2].Medium = 2;
    std::filesystem::remove(d.Path());
    std::filesystem::remove(a.Path());
    ASSERT_TRUE(KeepExistingMembers(project));
    EXPECT_EQ(Names(project), (Texts{b.Path(), "G", f.Path()}));
    EXPECT_EQ(Members(project.Items()[1]), (Texts{c.Path(), e.Path()}));
    EXPECT_EQ(project.Items()[1].Size, 20);
    EXPECT_EQ(project.Items()[1].PathList, c.Path() + "\t" + e.Path());
    EXPECT_EQ(project.Items()[1].Medium, 2);

    // A link leading round to itself is neither there nor gone.
    std::filesystem::remove(c.Path());
    std::filesystem::create_symlink(c.Path(), c.Path());
    EXPECT_FALSE(KeepExistingMembers(project));
    EXPECT_EQ(project.Items()[1].PathList, c.Path() + "\t" + e.Path());
}

}  // namespace
}  // namespace zv
