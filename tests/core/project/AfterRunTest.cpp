// The run settings as the settings file and the project file keep them, and
// the export an after-run action makes.

#include <filesystem>

#include "core/project/AfterRun.h"
#include "tests/core/project/DocumentTest.h"
#include "tests/support/SqlRows.h"

namespace zv {
namespace {

using namespace test;
namespace fs = std::filesystem;

// Files older than a setting take the behaviour they were made with.
TEST_F(DocumentTest, RunSettingsAreKeptAndOlderFilesKeepTheirBehaviour) {
    RunSettings settings;
    settings.Method = PackingMethod::FewestMedia;
    settings.FsAllowance = FileSystemAllowance::Iso9660;
    WriteBytes(folder.Settings(), "[DEFAULT_SET_RUN]\nMediaSize=700\n");
    EXPECT_TRUE(LoadDefaultRunSettings(settings));
    EXPECT_EQ(settings.Method, PackingMethod::Sequential);
    EXPECT_EQ(settings.FsAllowance, FileSystemAllowance::None);
    EXPECT_EQ(LoadMediumTimeLimit(), 0);

    WriteBytes(folder.Settings(),
               "[DEFAULT_SET_RUN]\nMediaSize=700\nMethod=1\nMediumTimeLimit=2.5\n"
               "FsAllowance=1\nAfterRun=3\nAfterPath=/media/burn\n");
    EXPECT_TRUE(LoadDefaultRunSettings(settings));
    EXPECT_EQ(settings.Method, PackingMethod::FewestMedia);
    EXPECT_EQ(settings.FsAllowance, FileSystemAllowance::Iso9660);
    EXPECT_EQ(settings.AfterRun, 3);
    EXPECT_EQ(LoadMediumTimeLimit(), 2.5);

    settings.MaxSpeed = false;  // which the project file does not keep
    const std::string path = folder.File("p.mtb");
    ASSERT_TRUE(ProjectFile::Write(path, {{"/d/a", 0, {{"/d/a", 10}}}}, settings));
    auto read = ProjectFile::Read(path, RunSettings{});
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->settings, settings);
    ASSERT_EQ(Exec(path, "ALTER TABLE SetUp DROP COLUMN METHOD"), SQLITE_OK);
    read = ProjectFile::Read(path, RunSettings{});
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->settings.Method, PackingMethod::Sequential);
    EXPECT_EQ(read->settings.FsAllowance, FileSystemAllowance::Iso9660);
    ASSERT_EQ(Exec(path, "ALTER TABLE SetUp DROP COLUMN FSALLOW"), SQLITE_OK);
    read = ProjectFile::Read(path, RunSettings{});
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->settings.FsAllowance, FileSystemAllowance::None);
    EXPECT_EQ(read->settings.MediaSize, "700");
    EXPECT_EQ(read->settings.AfterPath, "/media/burn");

    WriteBytes(folder.Settings(), "[DEFAULT_SET_RUN]\nMethod=2\nMediumTimeLimit=soon\n");
    ui.Answer(MsgResult::OK);
    ui.Answer(MsgResult::OK);
    EXPECT_FALSE(LoadDefaultRunSettings(settings));
    EXPECT_EQ(LoadMediumTimeLimit(), 0);
    EXPECT_EQ(ui.Boxes().size(), 2u);
}

TEST_F(DocumentTest, TheAfterRunActionExportsWhatTheSettingsAsk) {
    WriteBytes(folder.File("a.txt"), "a");
    const std::vector<ProjectItem> placed{{"a", 1, {{folder.File("a.txt"), 1}}}};
    const std::vector<ProjectItem> unplaced{{"a", 0, {{folder.File("a.txt"), 1}}}};
    const std::string out = folder.File("out");
    const struct {
        int16_t action;
        std::string path;
        const std::vector<ProjectItem>& items;
        std::vector<std::string> written;
        const char* error;
    } cases[] = {
        {0, out, placed, {}, nullptr},
        {9, out, placed, {}, nullptr},
        {1, out, unplaced, {}, nullptr},
        {2, "out", placed, {}, "must be given as a full path"},
        {3, out, placed, {}, "more than the medium's capacity of 1000 bytes"},
        {2, out, placed, {out + "/p_01.pathlist"}, nullptr},
        {1, out, placed, {out + "/p_01"}, nullptr},
    };
    for (const auto& c : cases) {
        RunSettings settings;
        settings.MediaSize = "1000";
        settings.AfterRun = c.action;
        settings.AfterPath = c.path;
        try {
            EXPECT_EQ(PerformAfterRun(c.items, "p", settings, false), c.written) << c.action;
            EXPECT_EQ(c.error, nullptr) << c.action;
        } catch (const MediumExportError& error) {
            ASSERT_NE(c.error, nullptr) << c.action << ": " << error.what();
            EXPECT_NE(std::string(error.what()).find(c.error), std::string::npos) << error.what();
        }
    }
    EXPECT_TRUE(fs::exists(out + "/p_01/SHA256SUMS"));
}

}  // namespace
}  // namespace zv
