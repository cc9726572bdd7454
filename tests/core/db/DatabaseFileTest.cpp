#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>

#include "core/db/DatabaseFile.h"
#include "core/platform/FileError.h"
#include "tests/support/HotJournal.h"
#include "tests/support/OtherProcess.h"
#include "tests/support/SqlRows.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

using test::Exec;
using test::Value;

// A database whose MainDB holds one path.
void MakeDatabase(const std::string& file, const std::string& path) {
    Exec(file,
         "CREATE TABLE MainDB (PATH VARCHAR(255)); INSERT INTO MainDB VALUES('" + path + "')");
}

class DatabaseFileTest : public ::testing::Test {
  protected:
    test::TempFolder folder;
    std::string project = folder.File("p.mtb");
    std::string saving = folder.File("p.mtb.saving");
};

// A journal of a change that another process is making right now is its own.
TEST_F(DatabaseFileTest, AFileThatAnotherProcessWritesIsInUse) {
    MakeDatabase(project, "old");
    test::OtherProcess writer([&] {
        return Exec(project, "BEGIN; UPDATE MainDB SET PATH = 'changing'",
                    test::AfterExec::KeepOpen) == SQLITE_OK;
    });
    ASSERT_TRUE(writer.Holding());
    ASSERT_TRUE(fs::exists(project + "-journal"));
    MakeDatabase(saving, "new");
    EXPECT_EQ(PlaceDatabaseFile(saving, project).code(), FileError::InUse);
    EXPECT_TRUE(fs::exists(project + "-journal"));
    EXPECT_TRUE(fs::exists(saving));
    writer.End();
    EXPECT_EQ(Value(project, "SELECT PATH FROM MainDB"), "old");
}

// A file whose own change never ended is not put anywhere.
TEST_F(DatabaseFileTest, AFileLeftInTheMiddleOfAChangeIsNotPlaced) {
    MakeDatabase(project, "old");
    MakeDatabase(saving, "new");
    test::LeaveHotJournal(saving);
    EXPECT_FALSE(PlaceDatabaseFile(saving, project).ok());
    EXPECT_EQ(Value(project, "SELECT PATH FROM MainDB"), "old");
}

}  // namespace
}  // namespace zv
