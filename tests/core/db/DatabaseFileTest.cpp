#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>

#include "core/db/DatabaseFile.h"
#include "core/platform/FileError.h"
#include "tests/support/HotJournal.h"
#include "tests/support/OtherProcess.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

void Exec(const std::string& file, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// The first column of the first row, or the error.
std::string Value(const std::string& file, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    std::string value = "no database";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        value = sqlite3_errmsg(db);
    } else if (sqlite3_step(statement) == SQLITE_ROW) {
        value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return value;
}

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
        sqlite3* db = nullptr;
        sqlite3_open(project.c_str(), &db);
        return sqlite3_exec(db, "BEGIN; UPDATE MainDB SET PATH = 'changing'", nullptr, nullptr,
                            nullptr) == SQLITE_OK;
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
