#include <filesystem>

#include "core/project/Grouping.h"
#include "core/project/ItemEditing.h"
#include "tests/core/project/DocumentTest.h"

namespace zv {
namespace {

using namespace test;

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
    std::string Paths(const std::vector<FileRef>& files) {
        std::string list;
        for (const FileRef& file : files)
            list += (list.empty() ? "" : "\t") + file.Path();
        return list;
    }

    ProjectDocument project;
    FileRef a, b, c, d, e, f;
};

TEST_F(ItemEditingTest, FindItemAndFindGroupNeedTheWholePathAndGroupNamesInAnyCase) {
    const FileRef bak = MakeFile("c.bak", 1);
    Group().Files.insert(Group().Files.begin(), bak);
    Group().PathList = bak.Path() + "\t" + Group().PathList;

    const auto member = FindItem(project, c.Path());
    ASSERT_TRUE(member.has_value()) << "c behind c.bak";
    EXPECT_EQ(member->item * 10 + member->member, 21);
    EXPECT_EQ(FindItem(project, "g")->member, -1);
    EXPECT_EQ(FindItem(project, f.Path())->member, -1) << "a single file is whole";
    EXPECT_FALSE(FindItem(project, folder.File("c.")).has_value()) << "no part of a path";
    EXPECT_FALSE(FindItem(ProjectDocument(), "").has_value()) << "the placeholder is no item";
    ASSERT_TRUE(TakeOutItems(project, {c.Path()}));
    EXPECT_EQ(Group().PathList, Paths({bak, d, e}));

    // FindGroup takes the last group of the name before an item without files.
    Add(project, {MakeFile("g1", 1), MakeFile("g2", 1)}, "g");
    std::vector<ItemRecord> items = project.GetItems();
    EXPECT_EQ(FindGroup("G", items), 4);
    EXPECT_EQ(FindGroup(f.Path(), items), -1) << "a single file is no group";
    items.insert(items.begin() + 1, ItemRecord());
    EXPECT_EQ(FindGroup("G", items), -1);
}

TEST_F(ItemEditingTest, TakingOutMembersRecountsTheGroupAndTheLastMemberTakesTheGroup) {
    Group().Cut.MarkMember(1);
    ASSERT_TRUE(TakeOutItems(project, {c.Path(), e.Path()}));
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

TEST_F(ItemEditingTest, CutFilesJoinAnOpenedGroupAndAPastedGroupFallsApartAtTheEnd) {
    MarkCut(project, {a.Path(), f.Path()});
    EXPECT_TRUE(project.Items()[0].Cut.IsWhole());
    project.SetOpenGroup("g");
    ASSERT_TRUE(PasteCut(project));
    EXPECT_EQ(Names(project), (Texts{b.Path(), "G"}));
    EXPECT_EQ(project.Items()[1].PathList, Paths({c, d, e, a, f}));
    EXPECT_EQ(project.Items()[1].Size, 61);
    EXPECT_TRUE(project.Modified());
    EXPECT_FALSE(project.HasCutMarks());

    project.SetOpenGroup("");
    MarkCut(project, {"g"});
    ASSERT_TRUE(PasteCut(project));
    EXPECT_EQ(Names(project), (Texts{b.Path(), c.Path(), d.Path(), e.Path(), a.Path(), f.Path()}));
    project.SetModified(false);
    ASSERT_TRUE(PasteCut(project)) << "nothing marked";
    EXPECT_FALSE(project.Modified());
}

TEST_F(ItemEditingTest, ADragAwayKeepsOnlyFilesStillThere) {
    Group().Medium = 2;
    std::filesystem::remove(d.Path());
    std::filesystem::remove(a.Path());
    ASSERT_TRUE(KeepExistingMembers(project));
    EXPECT_EQ(Names(project), (Texts{b.Path(), "G", f.Path()}));
    EXPECT_EQ(project.Items()[1].Size, 20);
    EXPECT_EQ(project.Items()[1].PathList, Paths({c, e}));
    EXPECT_EQ(project.Items()[1].Medium, 2);

    // A link leading round to itself is neither there nor gone.
    std::filesystem::remove(c.Path());
    std::filesystem::create_symlink(c.Path(), c.Path());
    EXPECT_FALSE(KeepExistingMembers(project));
    EXPECT_EQ(project.Items()[1].PathList, Paths({c, e}));
}

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

    // A file gone meanwhile puts the list back as it was.
    const FileRef gone = MakeFile("gone", 3);
    std::filesystem::remove(gone.Path());
    ui.Answer(MsgResult::OK);
    EXPECT_FALSE(AddToGroup(project, "G", {MakeFile("k", 4), gone}));
    EXPECT_EQ(ui.Boxes()[0].title, "zarvopackｴﾗｰ 53");
    EXPECT_EQ(Group().Files.size(), 4u);
    EXPECT_EQ(Group().Size, 92);
}

}  // namespace
}  // namespace zv
