#include <gtest/gtest.h>

#include <filesystem>

#include "core/db/AccessDB.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

const TableDef kItems{"ITEMS",
                      {{"NAME", ColumnType::WChar, 255},
                       {"SIZE", ColumnType::Double, 0},
                       {"GROUP", ColumnType::Integer, 0}}};

// The code and message of the last failure as "code message", or the code
// alone when it came without a message.
std::string Error(const AccessDB& db) {
    std::string message;
    const std::string code = db.LastErr(message);
    return message.empty() ? code : code + " " + message;
}

class AccessDBTest : public ::testing::Test {
  protected:
    // A database holding ITEMS with four rows, opened on db.
    void CreateItems() {
        ASSERT_TRUE(db.DBCreate(file, kItems));
        ASSERT_TRUE(db.DBOpen(file));
        for (const char* row : {"'a', 10, 0", "'b', 30, 1", "'c', 20, 1", "'it''s', 5, 2"})
            db.Run(std::string("INSERT INTO [ITEMS] VALUES(") + row + ")", adOpenDynamic);
        ASSERT_EQ(Error(db), "");
    }
    // The first field of the first row the statement gives.
    FieldValue First(const std::string& sql) { return db.Run(sql, adOpenDynamic)->Field(0); }

    test::TempFolder folder;
    std::string file = folder.File("a.mtb");
    AccessDB db;
};

TEST_F(AccessDBTest, CreateDeclaresColumnsAndRefusesAnExistingFile) {
    ASSERT_TRUE(db.DBCreate(file, kItems));
    ASSERT_TRUE(db.DBOpen(""));
    EXPECT_EQ(First("SELECT sql FROM sqlite_master WHERE name = 'ITEMS'").ToText(),
              "CREATE TABLE [ITEMS] ([NAME] VARCHAR(255), [SIZE] DOUBLE, [GROUP] INTEGER)");
    db.DBClose();

    const std::string before = test::ReadBytes(file);
    AccessDB other;
    other.SetPath("kept.mtb");
    EXPECT_FALSE(other.DBCreate(file, kItems));
    EXPECT_EQ(Error(other), "ADGN-02 指定されたファイルが既に存在しています");
    EXPECT_EQ(other.Path(), "kept.mtb");
    EXPECT_EQ(test::ReadBytes(file), before);

    int16_t major = 0, minor = 0, revision = 0;
    EXPECT_EQ(db.zVersion(major, minor, revision), "1.25");
    EXPECT_EQ(major * 100 + minor * 10 + revision, 125);
}

TEST_F(AccessDBTest, FailedCreateLeavesNoFile) {
    EXPECT_FALSE(db.DBCreate(file, TableDef{"EMPTY", {}}));
    EXPECT_EQ(Error(db).substr(0, 8), "ADDC-99 ");
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_FALSE(db.DBCreate(folder.File("missing/a.mtb"), kItems));
    EXPECT_EQ(Error(db).substr(0, 7), "ADDC-99");
    EXPECT_FALSE(AccessDB().DBCreate("", kItems));
}

TEST_F(AccessDBTest, OpenChecksInOrder) {
    EXPECT_FALSE(db.DBOpen(""));
    EXPECT_EQ(Error(db), "ADGN-01 ファイル名は指定されていません");
    db.SetPath("before.mtb");
    EXPECT_FALSE(db.DBOpen(file));
    EXPECT_EQ(Error(db), "ADGN-02 指定されたファイルが存在していません");
    EXPECT_EQ(db.Path(), "before.mtb");
    db.ErrClear();
    EXPECT_FALSE(db.DBOpen(folder.File(""))) << "a folder is not a file";
    EXPECT_EQ(Error(db).substr(0, 7), "ADGN-02");

    ASSERT_TRUE(AccessDB().DBCreate(file, kItems));
    EXPECT_TRUE(db.DBOpen(file));
    EXPECT_FALSE(db.DBOpen(file));
    EXPECT_EQ(Error(db), "ADDO-02 既にデータベースは開かれています");
    EXPECT_TRUE(db.IsOpen());
}

TEST_F(AccessDBTest, OpenRefusesFilesThatAreNoDatabase) {
    CreateItems();
    for (int i = 0; i < 200; ++i)
        db.Run("INSERT INTO [ITEMS] VALUES('" + std::string(500, 'x') + "', 1, 1)", adOpenDynamic);
    db.DBClose();
    const std::string whole = test::ReadBytes(file);
    test::WriteBytes(folder.File("truncated.mtb"), whole.substr(0, whole.size() / 2));
    test::WriteBytes(folder.File("text.mtb"), "This is a plain text file and no database.\n");

    for (const char* name : {"truncated.mtb", "text.mtb"}) {
        AccessDB other;
        EXPECT_FALSE(other.DBOpen(folder.File(name))) << name;
        EXPECT_EQ(Error(other).substr(0, 8), "ADDO-99 ") << name;
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

TEST_F(AccessDBTest, RunChecksAndKeepsThePreviousStatementUntilCleared) {
    EXPECT_FALSE(db.Run("", adOpenDynamic)->IsOpen());
    EXPECT_EQ(Error(db), "ADRN-01 SQL文が指定されていません");
    EXPECT_FALSE(db.Run("SELECT * FROM [ITEMS]", adOpenDynamic)->IsOpen());
    EXPECT_EQ(Error(db), "ADRN-02 データベースが開かれていません");
    db.ErrClear();
    EXPECT_EQ(Error(db), "");

    CreateItems();
    const std::string count = "SELECT count(*) FROM [ITEMS]";
    ASSERT_TRUE(db.Run(count, adOpenDynamic)->IsOpen());
    EXPECT_EQ(First("").ToInt32(), 4) << "an empty statement runs the last one again";

    EXPECT_FALSE(db.Run("SELECT * FROM [NOSUCH]", adOpenDynamic)->IsOpen());
    EXPECT_EQ(Error(db), "ADRN-99 no such table: NOSUCH");
    EXPECT_EQ(db.SQL(), count);
    // The uncleared failure also takes back a statement that worked.
    EXPECT_TRUE(db.Run("SELECT * FROM [ITEMS]", adOpenDynamic)->IsOpen());
    EXPECT_EQ(db.SQL(), count);
    db.ErrClear();
    db.Run("SELECT * FROM [ITEMS]", adOpenDynamic);
    EXPECT_EQ(db.SQL(), "SELECT * FROM [ITEMS]");
}

TEST_F(AccessDBTest, TableCreationChecksAndKeepsEarlierTables) {
    EXPECT_FALSE(db.TBCreate({kItems}));
    EXPECT_EQ(Error(db), "ADTC-01 データベースが開かれていません");

    ASSERT_TRUE(db.DBCreate(file, TableDef{}));
    ASSERT_TRUE(db.DBOpen(file));
    EXPECT_FALSE(db.TBCreate({}));
    EXPECT_EQ(Error(db), "ADTC-02 テーブルが指定されていません");

    const TableDef gp{"GP", {{"GID", ColumnType::Integer, 0}, {"GSIZE", ColumnType::Double, 0}}};
    EXPECT_FALSE(db.TBCreate({gp, gp, kItems}));
    EXPECT_EQ(Error(db), "ADTC-99 table [GP] already exists");
    // A database made without a table held none; GP stays, ITEMS never came.
    auto tables = db.Run("SELECT name FROM sqlite_master", adOpenDynamic);
    EXPECT_EQ(tables->RecordCount(), 1);
    EXPECT_EQ(tables->Field(0).ToText(), "GP");
}

TEST_F(AccessDBTest, RunsTheStatementsOfAPackingRun) {
    CreateItems();
    EXPECT_EQ(First("SELECT SUM([SIZE]) FROM [ITEMS] WHERE [GROUP] = 1").ToDouble(), 50);
    EXPECT_TRUE(First("SELECT SUM([SIZE]) FROM [ITEMS] WHERE [GROUP] = 9").IsNull());

    auto bySize = db.Run("SELECT * FROM [ITEMS] ORDER BY [SIZE] DESC", adOpenStatic);
    EXPECT_EQ(db.RecordSet(), bySize);
    bySize->MoveTo(3);
    EXPECT_EQ(bySize->Field("name").ToText(), "it's");

    auto deleted = db.Run("DELETE FROM [ITEMS] WHERE [GROUP] = 1", adOpenDynamic);
    EXPECT_FALSE(deleted->IsOpen());
    EXPECT_EQ(db.RecordSet(), deleted);
    EXPECT_EQ(First("SELECT count(*) FROM [ITEMS]").ToInt32(), 2);
}

TEST_F(AccessDBTest, TransactionsCommitAndRollBack) {
    EXPECT_FALSE(db.BeginTrans());
    EXPECT_EQ(Error(db), "ADTR-99 データベースが開かれていません");
    db.ErrClear();

    CreateItems();
    ASSERT_TRUE(db.BeginTrans());
    db.Run("DELETE FROM [ITEMS]", adOpenDynamic);
    ASSERT_TRUE(db.RollbackTrans());
    ASSERT_TRUE(db.BeginTrans());
    db.Run("INSERT INTO [ITEMS] VALUES('e', 1, 3)", adOpenDynamic);
    ASSERT_TRUE(db.CommitTrans());
    EXPECT_FALSE(db.CommitTrans());
    EXPECT_EQ(Error(db).substr(0, 8), "ADTR-99 ");

    // A transaction left open is dropped by closing.
    ASSERT_TRUE(db.BeginTrans());
    db.Run("INSERT INTO [ITEMS] VALUES('f', 1, 3)", adOpenDynamic);
    EXPECT_TRUE(db.DBClose());
    ASSERT_TRUE(db.DBOpen(""));
    EXPECT_EQ(First("SELECT count(*) FROM [ITEMS]").ToInt32(), 5);
}

}  // namespace
}  // namespace zv
