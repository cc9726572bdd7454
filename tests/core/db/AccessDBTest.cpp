#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "core/db/AccessDB.h"
#include "core/db/SqlText.h"
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
        ASSERT_TRUE(db.DBCreate(file, kItems).ok());
        ASSERT_TRUE(db.DBOpen(file).ok());
        for (const char* row : {"'a', 10, 0", "'b', 30, 1", "'c', 20, 1", "'it''s', 5, 2"})
            ASSERT_TRUE(db.Execute(std::string("INSERT INTO [ITEMS] VALUES(") + row + ")").ok());
        ASSERT_EQ(Error(db), "");
    }
    // The first field of the first row the statement gives.
    FieldValue First(const std::string& sql) { return db.Run(sql, adOpenDynamic)->Field(0); }

    test::TempFolder folder;
    std::string file = folder.File("a.mtb");
    AccessDB db;
};

TEST_F(AccessDBTest, CreateDeclaresColumnsAndLeavesNoFileWhenItFails) {
    ASSERT_TRUE(db.DBCreate(file, kItems).ok());
    ASSERT_TRUE(db.DBOpen("").ok());
    EXPECT_EQ(First("SELECT sql FROM sqlite_master WHERE name = 'ITEMS'").ToText(),
              "CREATE TABLE [ITEMS] ([NAME] VARCHAR(255), [SIZE] DOUBLE, [GROUP] INTEGER)");
    int16_t major = 0, minor = 0, revision = 0;
    EXPECT_EQ(db.zVersion(major, minor, revision), "1.25");
    EXPECT_EQ(major * 100 + minor * 10 + revision, 125);

    AccessDB other;
    EXPECT_FALSE(other.DBCreate(folder.File("empty.mtb"), TableDef{"EMPTY", {}}).ok());
    EXPECT_EQ(Error(other).substr(0, 8), "ADDC-99 ");
    EXPECT_FALSE(std::filesystem::exists(folder.File("empty.mtb")));
    EXPECT_FALSE(other.DBCreate(folder.File("missing/a.mtb"), kItems).ok());
    EXPECT_EQ(Error(other).substr(0, 7), "ADDC-99");
    EXPECT_FALSE(AccessDB().DBCreate("", kItems).ok());
}

TEST_F(AccessDBTest, OpenRefusesFilesThatAreNoDatabase) {
    CreateItems();
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(
            db.Execute("INSERT INTO [ITEMS] VALUES('" + std::string(500, 'x') + "', 1, 1)").ok());
    db.DBClose();
    const std::string whole = test::ReadBytes(file);
    test::WriteBytes(folder.File("truncated.mtb"), whole.substr(0, whole.size() / 2));
    test::WriteBytes(folder.File("text.mtb"), "This is a plain text file and no database.\n");

    for (const char* name : {"truncated.mtb", "text.mtb"}) {
        AccessDB other;
        EXPECT_FALSE(other.DBOpen(folder.File(name)).ok()) << name;
        EXPECT_EQ(Error(other).substr(0, 8), "ADDO-99 ") << name;
        EXPECT_FALSE(other.IsOpen());
    }
}

// The file name is everything after the first "Data Source=" of the
// connection text, even when the name itself holds that text.
TEST_F(AccessDBTest, OpensTheWholePathOfTheConnectionText) {
    const std::string odd = folder.File("x;Data Source=y.mtb");
    ASSERT_TRUE(db.DBCreate(odd, kItems).ok());
    EXPECT_TRUE(std::filesystem::exists(odd));
    EXPECT_FALSE(std::filesystem::exists(folder.File("y.mtb")));
    EXPECT_TRUE(db.DBOpen("").ok());
}

TEST_F(AccessDBTest, RunKeepsThePreviousStatementUntilCleared) {
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
    EXPECT_TRUE(db.Run("SELECT * FROM [ITEMS]", adOpenDynamic)->IsOpen());
    EXPECT_EQ(db.SQL(), "SELECT * FROM [ITEMS]");
}

TEST_F(AccessDBTest, TableCreationKeepsEarlierTables) {
    ASSERT_TRUE(db.DBCreate(file, TableDef{}).ok());
    ASSERT_TRUE(db.DBOpen(file).ok());
    const TableDef gp{"GP", {{"GID", ColumnType::Integer, 0}, {"GSIZE", ColumnType::Double, 0}}};
    EXPECT_FALSE(db.TBCreate({gp, gp, kItems}).ok());
    EXPECT_EQ(Error(db), "ADTC-99 table [GP] already exists");
    // A database made without a table held none; GP stays, ITEMS never came.
    auto tables = db.Run("SELECT name FROM sqlite_master", adOpenDynamic);
    EXPECT_EQ(tables->RecordCount(), 1);
    EXPECT_EQ(tables->Field(0).ToText(), "GP");
}

// Every failure comes back as a status of its kind, with the message that
// LastErr keeps (until ErrClear); Execute's status is its own statement's,
// whatever failed before it. A failed open or create leaves the path alone.
TEST_F(AccessDBTest, FailuresComeBackAsStatusesOfTheirKind) {
    struct Case {
        std::function<Status()> call;
        DbError kind;
        std::string error;  // how it begins
    };
    const std::vector<Case> closed = {
        {[&] { return db.Execute(""); }, DbError::NoStatement, "ADRN-01 SQL文が指定されていません"},
        {[&] { return db.DBOpen(""); }, DbError::NoFileName, "ADGN-01"},
        {[&] { return db.DBOpen(file); }, DbError::FileMissing,
         "ADGN-02 指定されたファイルが存在していません"},
        {[&] { return db.DBOpen(folder.Path()); }, DbError::FileMissing, "ADGN-02"},
        {[&] { return db.TBCreate({kItems}); }, DbError::NotOpen, "ADTC-01"},
        {[&] { return db.BeginTrans(); }, DbError::NotOpen, "ADTR-99"},
        {[&] { return db.Execute("DELETE FROM [ITEMS]"); }, DbError::NotOpen,
         "ADRN-02 データベースが開かれていません"},
    };
    const std::vector<Case> open = {
        {[&] { return db.DBOpen(file); }, DbError::AlreadyOpen,
         "ADDO-02 既にデータベースは開かれています"},
        {[&] { return db.DBCreate(file, kItems); }, DbError::FileExists,
         "ADGN-02 指定されたファイルが既に存在しています"},
        {[&] { return db.TBCreate({}); }, DbError::NoTables,
         "ADTC-02 テーブルが指定されていません"},
        {[&] { return db.Execute("INSERT INTO [NOSUCH] VALUES(1)"); }, DbError::Refused,
         "ADRN-99 no such table: NOSUCH"},
        {[&] { return db.CommitTrans(); }, DbError::Refused, "ADTR-99 "},
    };
    auto check = [&](const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            const Status status = c.call();
            std::string message;
            db.LastErr(message);
            EXPECT_EQ(Error(db).substr(0, c.error.size()), c.error);
            EXPECT_EQ(status.code(), c.kind) << c.error;
            EXPECT_EQ(status.message(), message) << c.error;
        }
    };
    check(closed);
    db.SetPath("kept.mtb");
    EXPECT_FALSE(db.DBOpen(file).ok());
    EXPECT_EQ(db.Path(), "kept.mtb");
    db.ErrClear();
    EXPECT_EQ(Error(db), "");
    CreateItems();
    const std::string before = test::ReadBytes(file);
    check(open);
    EXPECT_TRUE(db.IsOpen());
    AccessDB other;
    other.SetPath("kept.mtb");
    EXPECT_FALSE(other.DBCreate(file, kItems).ok());
    EXPECT_EQ(other.Path(), "kept.mtb");
    EXPECT_EQ(test::ReadBytes(file), before);
    EXPECT_TRUE(db.Execute("DELETE FROM [ITEMS] WHERE [GROUP] = 2").ok());
    EXPECT_EQ(Error(db).substr(0, 7), "ADTR-99") << "kept until ErrClear";
}

TEST_F(AccessDBTest, TransactionsCommitAndRollBack) {
    CreateItems();
    ASSERT_TRUE(db.BeginTrans().ok());
    ASSERT_TRUE(db.Execute("DELETE FROM [ITEMS]").ok());
    ASSERT_TRUE(db.RollbackTrans().ok());
    ASSERT_TRUE(db.BeginTrans().ok());
    ASSERT_TRUE(db.Execute("INSERT INTO [ITEMS] VALUES('e', 1, 3)").ok());
    ASSERT_TRUE(db.CommitTrans().ok());
    EXPECT_FALSE(db.CommitTrans().ok());
    EXPECT_EQ(Error(db).substr(0, 8), "ADTR-99 ");

    // A transaction left open is dropped by closing.
    ASSERT_TRUE(db.BeginTrans().ok());
    ASSERT_TRUE(db.Execute("INSERT INTO [ITEMS] VALUES('f', 1, 3)").ok());
    db.DBClose();
    ASSERT_TRUE(db.DBOpen("").ok());
    EXPECT_EQ(First("SELECT count(*) FROM [ITEMS]").ToInt32(), 5);
}

// SQLite reads some decimal texts a unit in the last place off; the exact
// form of a number must come back as the very same double.
TEST_F(AccessDBTest, ExactNumbersReadBackAsTheSameDouble) {
    CreateItems();
    EXPECT_EQ(SqlExactNumber(700), "700");
    EXPECT_EQ(SqlExactNumber(0.75), "(CAST(3 AS REAL) / 4)");
    for (const double value :
         {4.778310865974296e-299, 0.1, -1234.567, 1048576.5, 1e20, 1e300,
          std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max()}) {
        EXPECT_EQ(First("SELECT " + SqlExactNumber(value)).ToDouble(), value) << value;
    }
}

// A file of unknown origin may ask for any amount of work or memory: under
// limits a statement that would go beyond them fails, and views are off.
TEST_F(AccessDBTest, CostLimitsStopEndlessQueriesHugeValuesAndViews) {
    CreateItems();
    ASSERT_TRUE(db.Execute("CREATE VIEW [ALL_ITEMS] AS SELECT * FROM [ITEMS]").ok());
    db.DBClose();
    AccessDB limited;
    limited.LimitCost({1000, 1'000'000});
    ASSERT_TRUE(limited.DBOpen(file).ok());
    EXPECT_TRUE(limited.Run("SELECT count(*) FROM [ITEMS]", adOpenDynamic)->IsOpen());
    for (const char* statement :
         {"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) SELECT count(*) FROM n",
          "SELECT zeroblob(2000)", "SELECT * FROM [ALL_ITEMS]"}) {
        EXPECT_FALSE(limited.Run(statement, adOpenDynamic)->IsOpen()) << statement;
    }
}

}  // namespace
}  // namespace zv
