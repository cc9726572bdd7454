#include "document/MediumChooser.h"
#include "tests/document/DocumentTest.h"

namespace zv {
namespace {

using test::DocumentTest;

TEST_F(DocumentTest, TheChooserListsEveryMediumThenTheUnplaced) {
    ProjectDocument project;
    EXPECT_EQ(MediumChooserEntries(project), std::vector<std::string>{" 未処理分"});
    Add(project, {MakeFile("a", 1), MakeFile("b", 1)});
    project.Items()[1].Medium = 3;
    EXPECT_EQ(MediumChooserEntries(project),
              (std::vector<std::string>{" 1枚目", " 2枚目", " 3枚目", " 未処理分"}));
    EXPECT_EQ(MediumOfEntry(1, " 2枚目"), 2);
    EXPECT_EQ(MediumOfEntry(3, " 未処理分"), 0);
}

}  // namespace
}  // namespace zv
