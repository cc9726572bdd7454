// Where the packing method and the medium time limit are kept: the settings
// file's defaults and the project file's SetUp row, old files included.

#include <sqlite3.h>

#include "core/project/DefaultRunSettings.h"
#include "tests/core/project/DocumentTest.h"

namespace zv {
namespace {

using namespace test;

TEST_F(DocumentTest, MethodAndTimeLimitComeFromTheSettingsFile) {
    RunSettings settings;
    settings.Method = PackingMethod::FewestMedia;
    WriteBytes(folder.Settings(), "[DEFAULT_SET_RUN]\nMediaSize=700\n");
    EXPECT_TRUE(LoadDefaultRunSettings(settings));
    EXPECT_EQ(settings.Method, PackingMethod::Sequential) << "older files pack as they did";
    EXPECT_EQ(LoadMediumTimeLimit(), 0);

    WriteBytes(folder.Settings(), "[DEFAULT_SET_RUN]\nMethod=1\nMediumTimeLimit=2.5\n");
    EXPECT_TRUE(LoadDefaultRunSettings(settings));
    EXPECT_EQ(settings.Method, PackingMethod::FewestMedia);
    EXPECT_EQ(LoadMediumTimeLimit(), 2.5);

    WriteBytes(folder.Settings(), "[DEFAULT_SET_RUN]\nMethod=2\nMediumTimeLimit=soon\n");
    ui.Answer(MsgResult::OK);
    ui.Answer(MsgResult::OK);
    EXPECT_FALSE(LoadDefaultRunSettings(settings));
    EXPECT_EQ(LoadMediumTimeLimit(), 0);
    EXPECT_EQ(ui.Boxes().size(), 2u);
}

TEST_F(DocumentTest, TheProjectFileKeepsTheMethodAndOldFilesPackSequentially) {
    const std::string path = folder.File("p.mtb");
    RunSettings settings;
    settings.MediaSize = "700";
    settings.Method = PackingMethod::FewestMedia;
    const std::vector<ProjectItem> items{{"/d/a", 0, {{"/d/a", 10}}}};
    ASSERT_TRUE(ProjectFile::Write(path, items, settings));
    auto read = ProjectFile::Read(path, RunSettings{});
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->settings, settings);

    // A file written before the column existed.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "ALTER TABLE SetUp DROP COLUMN METHOD", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    read = ProjectFile::Read(path, RunSettings{});
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->settings.Method, PackingMethod::Sequential);
    EXPECT_EQ(read->settings.MediaSize, "700");
}

}  // namespace
}  // namespace zv
