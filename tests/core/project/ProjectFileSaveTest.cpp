// Saving a project file: the new file takes the old one's place in one step,
// never beside an old journal, with the old one's permissions, and a save
// that fails anywhere leaves the old file as it was. A file that another
// program is writing is waited for, then reported as in use.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/platform/FileError.h"
#include "core/project/ProjectFile.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/HotJournal.h"
#include "tests/support/OtherProcess.h"
#include "tests/support/SqlRows.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

std::vector<ProjectItem> Items(const std::string& name, int count) {
    std::vector<ProjectItem> items;
    for (int i = 0; i < count; ++i) {
        const std::string path = "/data/" + name + std::to_string(i);
        items.push_back({path, 0, {{path, 100.0 + i}}});
    }
    return items;
}

std::string FirstName(const std::string& file) {
    const auto data = ProjectFile::Read(file, RunSettings{});
    return data && !data->items.empty() ? data->items[0].name : "unreadable";
}

std::vector<std::string> FolderFiles(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

class ProjectFileSaveTest : public ::testing::Test {
  protected:
    test::TempFolder folder;
    std::string project = folder.File("p.mtb");
};

// A run killed while it wrote into the project leaves its journal; the next
// save must not put its file beside it, or SQLite rolls the old project's
// pages into the new one.
TEST_F(ProjectFileSaveTest, ASaveBesideALeftJournalKeepsWhatItSaved) {
    ASSERT_TRUE(ProjectFile::Write(project, Items("old", 50), RunSettings{}));
    ASSERT_EQ(test::Exec(project, "CREATE TABLE DISC_1_ID (GID INTEGER)"), SQLITE_OK);
    test::LeaveHotJournal(project);

    ASSERT_TRUE(ProjectFile::Write(project, Items("new", 3), RunSettings{}));
    EXPECT_FALSE(fs::exists(project + "-journal"));
    const auto data = ProjectFile::Read(project, RunSettings{});
    ASSERT_TRUE(data);
    EXPECT_EQ(data->items.size(), 3u);
    EXPECT_EQ(data->items[0].name, "/data/new0");
}

TEST_F(ProjectFileSaveTest, ASaveKeepsThePermissionsAndLeavesReadOnlyFiles) {
    const struct {
        mode_t mode;
        bool saved;
    } cases[] = {{0600, true}, {0640, true}, {0444, false}};
    for (const auto& c : cases) {
        fs::remove(project);
        ASSERT_TRUE(ProjectFile::Write(project, Items("old", 2), RunSettings{}));
        ASSERT_EQ(chmod(project.c_str(), c.mode), 0);
        Status why;
        EXPECT_EQ(ProjectFile::Write(project, Items("new", 2), RunSettings{}, &why), c.saved);
        if (!c.saved) {
            EXPECT_EQ(why.code(), FileError::ReadOnly);
        }
        struct stat status {};
        stat(project.c_str(), &status);
        EXPECT_EQ(status.st_mode & 07777, c.mode);
        EXPECT_EQ(FirstName(project), c.saved ? "/data/new0" : "/data/old0");
        EXPECT_EQ(FolderFiles(folder.Path()), std::vector<std::string>{"p.mtb"});
    }
}

// Every call of a save in turn fails, with one of the errors of a full, a
// forbidding or a broken disk: the old project stays whole (or, when only the
// folder could not be synced after the rename, the new one is there whole),
// and nothing else is left in the folder.
TEST_F(ProjectFileSaveTest, ASaveThatFailsAnywhereLeavesTheOldProject) {
    ASSERT_TRUE(ProjectFile::Write(project, Items("old", 20), RunSettings{}));
    const std::string old = test::ReadBytes(project);
    const std::string folderName = fs::path(folder.Path()).filename().string();
    for (int failAt = 1;; ++failAt) {
        test::WriteBytes(project, old);
        test::FaultyFiles disk(failAt, test::kDiskErrors[failAt % 3]);
        Status why;
        const bool saved = ProjectFile::Write(project, Items("new", 20), RunSettings{}, &why);
        if (!disk.Failed()) {
            EXPECT_TRUE(saved) << why.message();
            EXPECT_EQ(FirstName(project), "/data/new0");
            break;
        }
        const std::string call = disk.FailedCall();
        EXPECT_FALSE(saved) << call;
        EXPECT_FALSE(why.message().empty()) << call;
        EXPECT_EQ(FirstName(project), call == "fsync " + folderName ? "/data/new0" : "/data/old0")
            << call;
        EXPECT_EQ(FolderFiles(folder.Path()), std::vector<std::string>{"p.mtb"}) << call;
    }
}

TEST_F(ProjectFileSaveTest, AProjectThatAnotherProgramWritesIsInUse) {
    ASSERT_TRUE(ProjectFile::Write(project, Items("old", 2), RunSettings{}));
    test::OtherProcess writer([&] {
        sqlite3* db = nullptr;
        sqlite3_open(project.c_str(), &db);
        return sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
    });
    ASSERT_TRUE(writer.Holding());
    try {
        ProjectFile::Read(project, RunSettings{});
        ADD_FAILURE() << "read while another program held it";
    } catch (const ProjectFileError& error) {
        EXPECT_EQ(error.Number(), PlatformError::PermissionDenied().Number());
        EXPECT_NE(error.Detail().find("in use"), std::string::npos) << error.Detail();
    }
    writer.End();
    EXPECT_EQ(FirstName(project), "/data/old0");
}

}  // namespace
}  // namespace zv
