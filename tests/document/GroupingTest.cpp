#include <filesystem>

#include "document/Grouping.h"
#include "tests/document/DocumentTest.h"

namespace zv {
namespace {

using test::DocumentTest;
using Texts = std::vector<std::string>;

Texts Names(const ProjectDocument& project) {
    Texts names;
    for (const ItemRecord& item : project.Items())
        names.push_back(item.Name);
    return names;
}

TEST_F(DocumentTest, FindGroupTakesTheLastGroupOfThatNameBeforeThePlaceholder) {
    ProjectDocument project;
    const FileRef single = MakeFile("Photos", 1);
    Add(project, {single});
    Add(project, {MakeFile("a", 1), MakeFile("b", 1)}, "Photos");
    Add(project, {MakeFile("c", 1), MakeFile("d", 1)}, "PHOTOS");
    std::vector<ItemRecord> items = project.GetItems();

    EXPECT_EQ(FindGroup("photos", items), 2);
    EXPECT_EQ(FindGroup(single.Path(), items), -1) << "a single file is no group";
    EXPECT_EQ(FindGroup("", items), -1);
    items.insert(items.begin() + 1, ItemRecord());
    EXPECT_EQ(FindGroup("photos", items), -1) << "the scan ends at an item without files";
}

TEST_F(DocumentTest, AddToGroupAppendsNewFilesOrMakesTheGroup) {
    ProjectDocument project;
    const FileRef a = MakeFile("a", 1);
    const FileRef b = MakeFile("b", 2);
    Add(project, {a, b}, "G");
    Add(project, {MakeFile("c", 4)});
    project.Items()[0].CutMarks = {-1};

    ASSERT_TRUE(AddToGroup(project, "g", {b, MakeFile("d", 8)}));
    EXPECT_EQ(project.Items()[0].PathList, a.Path() + "\t" + b.Path() + "\t" + folder.File("d"));
    EXPECT_EQ(project.Items()[0].Size, 11);
    EXPECT_EQ(project.GetOpenGroup(), "g");
    EXPECT_FALSE(project.HasCutMarks());

    EXPECT_FALSE(AddToGroup(project, "G", {a})) << "nothing new";
    EXPECT_FALSE(AddToGroup(project, "", {MakeFile("e", 1)}));
    ASSERT_TRUE(AddToGroup(project, "New", {MakeFile("f", 1)}));
    EXPECT_EQ(Names(project), (Texts{"G", folder.File("c"), "New"}));
}

TEST_F(DocumentTest, AddToGroupPutsTheListBackWhenAFileHasGone) {
    ProjectDocument project;
    Add(project, {MakeFile("a", 1), MakeFile("b", 2)}, "G");
    const FileRef gone = MakeFile("gone", 3);
    std::filesystem::remove(gone.Path());

    ui.Answer(MsgResult::OK);
    EXPECT_FALSE(AddToGroup(project, "G", {MakeFile("c", 4), gone}));
    EXPECT_EQ(ui.Boxes()[0].title, "zarvopackｴﾗｰ 53");
    EXPECT_EQ(project.Items()[0].Files.size(), 2u);
    EXPECT_EQ(project.Items()[0].Size, 3);
}

TEST_F(DocumentTest, ReleasedMembersComeBackAtTheEnd) {
    ProjectDocument project;
    Add(project, {MakeFile("a", 1), MakeFile("b", 2), MakeFile("c", 3)}, "G");
    Add(project, {MakeFile("d", 4)});
    Add(project, {MakeFile("e", 5), MakeFile("f", 6)}, "H");

    ASSERT_TRUE(ReleaseGroup(project, "g"));
    EXPECT_EQ(Names(project),
              (Texts{folder.File("d"), "H", folder.File("a"), folder.File("b"), folder.File("c")}));
    // A name that is no group releases the opened group.
    project.SetOpenGroup("H");
    ASSERT_TRUE(ReleaseGroup(project, folder.File("e")));
    EXPECT_EQ(Names(project).back(), folder.File("f"));
    project.SetOpenGroup("");
    EXPECT_FALSE(ReleaseGroup(project, "H"));
}

}  // namespace
}  // namespace zv
