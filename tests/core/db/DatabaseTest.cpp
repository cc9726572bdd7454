#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/db/Database.h"
#include "core/db/Statement.h"
#include "core/db/Transaction.h"
#include "core/platform/FileError.h"
#include "tests/support/OtherProcess.h"
#include "tests/support/SqlRows.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

class DatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(db.open(file, OpenMode::Create).ok());
        ASSERT_TRUE(db.execute("CREATE TABLE T (NAME TEXT, SIZE DOUBLE, N INTEGER)").ok());
    }
    Status Insert(std::string_view name, double size, int64_t n) {
        Statement insert;
        if (Status status = db.prepare("INSERT INTO T VALUES(?, ?, ?)", insert); !status.ok())
            return status;
        if (Status status = insert.bind(1, name); !status.ok())
            return status;
        if (Status status = insert.bind(2, size); !status.ok())
            return status;
        if (Status status = insert.bind(3, n); !status.ok())
            return status;
        return insert.run();
    }

    test::TempFolder folder;
    std::string file = folder.File("a.db");
    Database db;
};

// Bound values arrive as they were, quotes and zero bytes included, and come
// back through the typed getters; a step past the last row is Done.
TEST_F(DatabaseTest, BoundValuesComeBackAsTheyWere) {
    const std::string odd("it's \"x\"\0y", 10);
    ASSERT_TRUE(Insert(odd, 4.778310865974296e-299, INT64_MAX).ok());
    Statement select;
    ASSERT_TRUE(db.prepare("SELECT NAME, SIZE, N, NULL FROM T", select).ok());
    ASSERT_EQ(select.step(), StepResult::Row);
    EXPECT_EQ(select.columnText(0), odd);
    EXPECT_EQ(select.columnDouble(1), 4.778310865974296e-299);
    EXPECT_EQ(select.columnInt(2), INT64_MAX);
    EXPECT_EQ(select.columnKind(3), ColumnKind::Null);
    EXPECT_EQ(select.step(), StepResult::Done);
}

// A failure carries SQLite's own words and the file's name.
TEST_F(DatabaseTest, FailuresNameTheFileAndSQLitesReason) {
    Statement statement;
    const Status missing = db.prepare("SELECT * FROM NOSUCH", statement);
    EXPECT_NE(missing.message().find("no such table: NOSUCH"), std::string::npos);
    EXPECT_NE(missing.message().find(file), std::string::npos) << missing.message();
    ASSERT_TRUE(db.execute("CREATE UNIQUE INDEX U ON T (N)").ok());
    ASSERT_TRUE(Insert("a", 1, 1).ok());
    const Status twice = Insert("b", 1, 1);
    EXPECT_NE(twice.message().find("UNIQUE constraint failed"), std::string::npos);

    Database other;
    EXPECT_EQ(other.open(file, OpenMode::Create).code(), std::errc::file_exists);
    test::WriteBytes(folder.File("text.db"), "This is a plain text file and no database.\n");
    const Status text = other.open(folder.File("text.db"), OpenMode::ReadOnly);
    EXPECT_NE(text.message().find("file is not a database"), std::string::npos) << text.message();
    EXPECT_FALSE(other.open(folder.File("missing/a.db"), OpenMode::Create).ok());
    EXPECT_FALSE(fs::exists(folder.File("missing")));
}

// Leaving the scope without commit rolls the change back.
TEST_F(DatabaseTest, ATransactionKeepsOnlyWhatWasCommitted) {
    {
        Transaction transaction(db);
        ASSERT_TRUE(transaction.begin().ok());
        ASSERT_TRUE(Insert("dropped", 1, 1).ok());
    }
    {
        Transaction transaction(db);
        ASSERT_TRUE(transaction.begin().ok());
        ASSERT_TRUE(Insert("kept", 1, 2).ok());
        ASSERT_TRUE(transaction.commit().ok());
    }
    db.close();
    EXPECT_EQ(test::Rows(file, "SELECT NAME FROM T"), std::vector<std::string>{"kept"});
}

TEST_F(DatabaseTest, AFileThatAnotherProcessWritesIsInUse) {
    db.close();
    test::OtherProcess writer(
        [&] { return test::Exec(file, "BEGIN EXCLUSIVE", test::AfterExec::KeepOpen) == 0; });
    ASSERT_TRUE(writer.Holding());
    EXPECT_EQ(db.open(file, OpenMode::ReadWrite).code(), FileError::InUse);
}

// A file of unknown origin may ask for any amount of work or memory: under
// limits a statement that would go beyond them fails, and views are off.
TEST_F(DatabaseTest, CostLimitsStopEndlessQueriesHugeValuesAndViews) {
    ASSERT_TRUE(db.execute("CREATE VIEW V AS SELECT * FROM T").ok());
    db.close();
    ASSERT_TRUE(db.open(file, OpenMode::ReadOnly, CostLimits{1000, 1'000'000}).ok());
    EXPECT_TRUE(db.execute("SELECT count(*) FROM T").ok());
    for (const char* statement :
         {"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) SELECT count(*) FROM n",
          "SELECT zeroblob(2000)", "SELECT * FROM V"}) {
        EXPECT_FALSE(db.execute(statement).ok()) << statement;
    }
}

}  // namespace
}  // namespace zv
