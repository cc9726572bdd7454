#include <gtest/gtest.h>

#include <string>

#include "core/project/UnplacedNotice.h"
#include "tests/core/project/DocumentTest.h"

namespace zv {
namespace {

using namespace test;

// A project on media of 1,000 bytes: files of 2,000 bytes that fit none, and a
// small one placed on medium 1.
class UnplacedNoticeTest : public DocumentTest {
  protected:
    void Plan(int unplacedFiles) {
        Add(project, {MakeFile("small", 10)});
        for (int i = 0; i < unplacedFiles; ++i)
            Add(project, {MakeFile("big" + std::to_string(i), 2000)});
        RunSettings settings = project.GetRunSettings();
        settings.MediaSize = "1000";
        project.SetRunSettings(settings);
        project.Items()[0].Medium = 1;
        project.SetFilePath(folder.File("p.mtb"));
    }
    std::string Big(int i) const { return folder.File("big" + std::to_string(i)); }

    ProjectDocument project;
};

// Five items are named and the rest counted; a project not run, or one with
// every item placed, has nothing to say.
TEST_F(UnplacedNoticeTest, TheNoticeNamesFiveAndCountsTheRest) {
    Plan(7);
    const std::string notice = UnplacedNotice(project.ToProjectItems(), project.GetRunSettings());
    std::string expected = "次の項目はどのﾒﾃﾞｨｱにも入っていないため、書き出していません：\r\n";
    for (int i = 0; i < 5; ++i)
        expected += Big(i) + " … ﾒﾃﾞｨｱ1枚より大きいため入りません\r\n";
    EXPECT_EQ(notice, expected + "ほか2個\r\n");

    project.Items()[0].Medium = 0;
    EXPECT_EQ(UnplacedNotice(project.ToProjectItems(), project.GetRunSettings()), "");
    for (ItemRecord& item : project.Items())
        item.Medium = 1;
    EXPECT_EQ(UnplacedNotice(project.ToProjectItems(), project.GetRunSettings()), "");
}

}  // namespace
}  // namespace zv
