#include <gtest/gtest.h>

#include <filesystem>

#include "db/AccessDB.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

const TableDef kItems{"ITEMS",
                      {{"NAME", ColumnType::WChar, 255},
                       {"SIZE", ColumnType::Double, 0},
                       {"GROUP", ColumnType::Integer, 0}}};

std::string Code(const AccessDB& db, std::string* message = nullptr) {
    std::string text;
    std::string code = db.LastErr(text);
    if (message != nullptr) {
        *message = text;
    }
    return code;
}

class AccessDBTest : public ::testing::Test {
  protected:
    // A database holding ITEMS with four rows, opened on db.
    void CreateItems() {
        ASSERT_TRUE(db.DBCreate(file, kItems));
        ASSERT_TRUE(db.DBOpen(file));
        for (const char* row : {"'a', 10, 0", "'b', 30, 1", "'c', 20, 1", "'it''s', 5, 2"}) {
            db.Run(std::string("INSERT INTO [ITEMS] VALUES(") + row + ")", adOpenDynamic);
        }
        ASSERT_EQ(Code(db), "");
    }

    test::TempFolder folder;
    std::string file = folder.File("a.mtb");
    AccessDB db;
};

TEST_F(AccessDBTest, CreateDeclaresColumnsAndRefusesAnExistingFile) {
    ASSERT_TRUE(db.DBCreate(file, kItems));
    EXPECT_EQ(db.Path(), file);
    ASSERT_TRUE(db.DBOpen(""));
    auto schema = db.Run("SELECT sql FROM sqlite_master WHERE name = 'ITEMS'", adOpenDynamic);
    EXPECT_EQ(schema->Field(0).ToText(),
              "CREATE TABLE [ITEMS] ([NAME] VARCHAR(255), [SIZE] DOUBLE, [GROUP] INTEGER)");
    db.DBClose();

    const std::string before = test::ReadBytes(file);
    AccessDB other;
    other.SetPath("kept.mtb");
    std::string message;
    EXPECT_FALSE(other.DBCreate(file, kItems));
    EXPECT_EQ(Code(other, &message), "ADGN-02");
    EXPECT_EQ(message, "指定されたファイルが既に存在しています");
    EXPECT_EQ(other.Path(), "kept.mtb");
    EXPECT_EQ(test::ReadBytes(file), before);
}

TEST_F(AccessDBTest, CreateWithoutTableNameMakesAnEmptyDatabase) {
    ASSERT_TRUE(db.DBCreate(file, TableDef{}));
    ASSERT_TRUE(db.DBOpen(file));
    EXPECT_EQ(db.Run("SELECT count(*) FROM sqlite_master", adOpenDynamic)->Field(0).ToInt32(), 0);
}

TEST_F(AccessDBTest, FailedCreateLeavesNoFile) {
    std::string message;
    EXPECT_FALSE(db.DBCreate(file, TableDef{"EMPTY", {}}));
    EXPECT_EQ(Code(db, &message), "ADDC-99");
    EXPECT_FALSE(message.empty());
    EXPECT_FALSE(std::filesystem::exists(file));

    EXPECT_FALSE(db.DBCreate(folder.File("missing/a.mtb"), kItems));
    EXPECT_EQ(Code(db), "ADDC-99");

    AccessDB unnamed;
    EXPECT_FALSE(unnamed.DBCreate("", kItems));
    EXPECT_EQ(Code(unnamed, &message), "ADGN-01");
    EXPECT_EQ(message, "ファイル名は指定されていません");
}

TEST_F(AccessDBTest, OpenChecksInOrder) {
    std::string message;
    db.SetPath("before.mtb");
    EXPECT_FALSE(db.DBOpen(file));
    EXPECT_EQ(Code(db, &message), "ADGN-02");
    EXPECT_EQ(message, "指定されたファイルが存在していません");
    EXPECT_EQ(db.Path(), "before.mtb");

    // A folder is not a file.
    EXPECT_FALSE(db.DBOpen(folder.File("")));
    EXPECT_EQ(Code(db), "ADGN-02");

    ASSERT_TRUE(AccessDB().DBCreate(file, kItems));
    EXPECT_TRUE(db.DBOpen(file));
    EXPECT_FALSE(db.DBOpen(file));
    EXPECT_EQ(Code(db, &message), "ADDO-02");
    EXPECT_EQ(message, "既にデータベースは開かれています");
    EXPECT_TRUE(db.IsOpen());
}

TEST_F(AccessDBTest, OpenRefusesFilesThatAreNoDatabase) {
    CreateItems();
    for (int i = 0; i < 200; ++i) {
        db.Run("INSERT INTO [ITEMS] VALUES('" + std::string(500, 'x') + "', 1, 1)", adOpenDynamic);
    }
    db.DBClose();
    const std::string truncated = folder.File("truncated.mtb");
    const std::string whole = test::ReadBytes(file);
    test::WriteBytes(truncated, whole.substr(0, whole.size() / 2));
    const std::string text = folder.File("text.mtb");
    test::WriteBytes(text, "This is a plain text file and no database at all.\n");

    for (const std::string& path : {truncated, text}) {
        AccessDB other;
        std::string message;
        EXPECT_FALSE(other.DBOpen(path)) << path;
        EXPECT_EQ(Code(other, &message), "ADDO-99") << path;
        EXPECT_FALSE(message.empty());
        EXPECT_FALSE(other.IsOpen());
    }
}

// The file name is everything after the first "Data Source=" of the
// connection text, even when the name itself holds that text.
TEST_F(AccessDBTest, OpensTheWholePathOfTheConnectionText) {
    const std::string odd = folder.File("x;Data Source=y.mtb");
    ASSERT_TRUE(db.DBCreate(odd, kItems));
    EXPECT_TRUE(std::filesystem::exists(odd));
    EXPECT_FALSE(std::filesystem::exists(folder.File("y.mtb")));
    EXPECT_TRUE(db.DBOpen(""));
}

TEST_F(AccessDBTest, RunBeforeOpenAndWithoutStatement) {
    std::string message;
    auto rows = db.Run("", adOpenDynamic);
    EXPECT_FALSE(rows->IsOpen());
    EXPECT_EQ(Code(db, &message), "ADRN-01");
    EXPECT_EQ(message, "SQL文が指定されていません");

    rows = db.Run("SELECT * FROM [ITEMS]", adOpenDynamic);
    EXPECT_FALSE(rows->IsOpen());
    EXPECT_EQ(Code(db, &message), "ADRN-02");
    EXPECT_EQ(message, "データベースが開かれていません");

    db.ErrClear();
    EXPECT_EQ(Code(db, &message), "");
    EXPECT_EQ(message, "");
}

TEST_F(AccessDBTest, FailedRunKeepsThePreviousStatementUntilCleared) {
    CreateItems();
    const std::string count = "SELECT count(*) FROM [ITEMS]";
    ASSERT_TRUE(db.Run(count, adOpenDynamic)->IsOpen());
    // An empty statement runs the last one again.
    EXPECT_EQ(db.Run("", adOpenDynamic)->Field(0).ToInt32(), 4);

    std::string message;
    EXPECT_FALSE(db.Run("SELECT * FROM [NOSUCH]", adOpenDynamic)->IsOpen());
    EXPECT_EQ(Code(db, &message), "ADRN-99");
    EXPECT_EQ(message, "no such table: NOSUCH");
    EXPECT_EQ(db.SQL(), count);

    // The uncleared failure also takes back a statement that worked.
    EXPECT_TRUE(db.Run("SELECT * FROM [ITEMS]", adOpenDynamic)->IsOpen());
    EXPECT_EQ(db.SQL(), count);

    db.ErrClear();
    db.Run("SELECT * FROM [ITEMS]", adOpenDynamic);
    EXPECT_EQ(db.SQL(), "SELECT * FROM [ITEMS]");
}

TEST_F(AccessDBTest, TableCreationChecksAndKeepsEarlierTables) {
    std::string message;
    EXPECT_FALSE(db.TBCreate({kItems}));
    EXPECT_EQ(Code(db, &message), "ADTC-01");
    EXPECT_EQ(message, "データベースが開かれていません");

    ASSERT_TRUE(db.DBCreate(file, TableDef{}));
    ASSERT_TRUE(db.DBOpen(file));
    EXPECT_FALSE(db.TBCreate({}));
    EXPECT_EQ(Code(db, &message), "ADTC-02");
    EXPECT_EQ(message, "テーブルが指定されていません");

    const TableDef gp{"GP", {{"GID", ColumnType::Integer, 0}, {"GSIZE", ColumnType::Double, 0}}};
    EXPECT_FALSE(db.TBCreate({gp, gp, kItems}));
    EXPECT_EQ(Code(db, &message), "ADTC-99");
    EXPECT_EQ(message, "table [GP] already exists");
    auto tables = db.Run("SELECT name FROM sqlite_master", adOpenDynamic);
    EXPECT_EQ(tables->RecordCount(), 1);
    EXPECT_EQ(tables->Field(0).ToText(), "GP");

    EXPECT_FALSE(db.TBCreate({TableDef{"", kItems.columns}}));
    EXPECT_EQ(Code(db), "ADTC-99");
}

TEST_F(AccessDBTest, RunsTheStatementsOfAPackingRun) {
    CreateItems();
    auto sum = db.Run("SELECT SUM([SIZE]) FROM [ITEMS] WHERE [GROUP] = 1", adOpenDynamic);
    EXPECT_EQ(sum->Field(0).ToDouble(), 50);
    EXPECT_TRUE(db.Run("SELECT SUM([SIZE]) FROM [ITEMS] WHERE [GROUP] = 9", adOpenDynamic)
                    ->Field(0)
                    .IsNull());

    auto bySize = db.Run("SELECT * FROM [ITEMS] ORDER BY [SIZE] DESC", adOpenStatic);
    EXPECT_EQ(db.RecordSet(), bySize);
    bySize->MoveTo(2);
    EXPECT_EQ(bySize->Field("name").ToText(), "a");
    bySize->MoveTo(3);
    EXPECT_EQ(bySize->Field("NAME").ToText(), "it's");
    bySize->MoveTo(4);
    EXPECT_TRUE(bySize->AtEnd());

    auto deleted = db.Run("DELETE FROM [ITEMS] WHERE [GROUP] = 1", adOpenDynamic);
    EXPECT_FALSE(deleted->IsOpen());
    EXPECT_EQ(db.RecordSet(), deleted);
    EXPECT_EQ(Code(db), "");
    EXPECT_EQ(db.Run("SELECT * FROM [ITEMS]", adOpenDynamic)->RecordCount(), 2);
    // A text put into an integer column is stored as the number.
    db.Run("INSERT INTO [ITEMS] VALUES('d', 1, '7')", adOpenDynamic);
    EXPECT_EQ(db.Run("SELECT typeof([GROUP]) FROM [ITEMS] WHERE [NAME] = 'd'", adOpenDynamic)
                  ->Field(0)
                  .ToText(),
              "integer");
}

TEST_F(AccessDBTest, TransactionsCommitAndRollBack) {
    std::string message;
    EXPECT_FALSE(db.BeginTrans());
    EXPECT_EQ(Code(db, &message), "ADTR-99");
    EXPECT_EQ(message, "データベースが開かれていません");
    db.ErrClear();

    CreateItems();
    ASSERT_TRUE(db.BeginTrans());
    db.Run("DELETE FROM [ITEMS]", adOpenDynamic);
    ASSERT_TRUE(db.RollbackTrans());
    ASSERT_TRUE(db.BeginTrans());
    db.Run("INSERT INTO [ITEMS] VALUES('e', 1, 3)", adOpenDynamic);
    ASSERT_TRUE(db.CommitTrans());
    EXPECT_FALSE(db.CommitTrans());
    EXPECT_EQ(Code(db, &message), "ADTR-99");
    EXPECT_FALSE(message.empty());

    // A transaction left open is dropped by closing.
    ASSERT_TRUE(db.BeginTrans());
    db.Run("INSERT INTO [ITEMS] VALUES('f', 1, 3)", adOpenDynamic);
    EXPECT_TRUE(db.DBClose());
    EXPECT_FALSE(db.Run("SELECT * FROM [ITEMS]", adOpenDynamic)->IsOpen());

    ASSERT_TRUE(db.DBOpen(""));
    EXPECT_EQ(db.Run("SELECT count(*) FROM [ITEMS]", adOpenDynamic)->Field(0).ToInt32(), 5);
}

TEST(AccessDBVersion, IsOnePointTwentyFive) {
    int16_t major = 0, minor = 0, revision = 0;
    EXPECT_EQ(AccessDB().zVersion(major, minor, revision), "1.25");
    EXPECT_EQ(major, 1);
    EXPECT_EQ(minor, 2);
    EXPECT_EQ(revision, 5);
}

}  // namespace
}  // namespace zv
