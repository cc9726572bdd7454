#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "core/db/AccessDB.h"
#include "core/project/ProjectFile.h"
#include "tests/support/ErrorNumber.h"
#include "tests/support/SqlRows.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

// The rows of one query on the file, read with a connection of its own: one
// line per row, its fields as text joined by "|".
std::string Rows(const std::string& file, const std::string& statement) {
    AccessDB db;
    EXPECT_TRUE(db.DBOpen(file).ok());
    std::string text;
    for (auto rows = db.Run(statement, adOpenDynamic); !rows->AtEnd(); rows->MoveNext()) {
        for (int i = 0; i < rows->FieldCount(); ++i)
            text += rows->Field(i).ToText() + (i + 1 < rows->FieldCount() ? "|" : "\n");
    }
    return text;
}

void Execute(const std::string& file, const std::string& statement) {
    AccessDB db;
    ASSERT_TRUE(db.DBOpen(file).ok());
    const Status status = db.Execute(statement);
    ASSERT_TRUE(status.ok()) << status.message();
}

// Items as one text: name, medium and each member's path and size.
std::string Summary(const std::vector<ProjectItem>& items) {
    std::string text;
    for (const ProjectItem& item : items) {
        text += item.name + "|" + std::to_string(item.medium);
        for (const ProjectMember& member : item.members)
            text += "|" + member.path + ":" + std::to_string(member.size);
        text += "\n";
    }
    return text;
}

const RunSettings kSettings{"CD-R 700MB", 1048576.5, 3, 100, 1, false, 2, "/media/out"};

class ProjectFileTest : public ::testing::Test {
  protected:
    std::vector<ProjectItem> items{{"/data/a.iso", 2, {{"/data/a.iso", 4700000000.0}}},
                                   {"Photos", 0, {{"/data/p/1.jpg", 100}, {"/data/p/2.jpg", 200}}}};

    int ErrorReading() const {
        return test::ErrorNumber([&] { ProjectFile::Read(file, RunSettings{}); });
    }

    test::TempFolder folder;
    std::string file = folder.File("p.mtb");
};

TEST_F(ProjectFileTest, WritesOneRowPerMemberAndOneSetUpRow) {
    ASSERT_TRUE(ProjectFile::Write(file, items, kSettings));
    EXPECT_FALSE(fs::exists(file + ".saving"));
    EXPECT_EQ(Rows(file, "SELECT * FROM [MainDB]"),
              "/data/a.iso|4700000000|0|/data/a.iso|0|0|2\n"
              "/data/p/1.jpg|100|1|Photos|0|0|0\n"
              "/data/p/2.jpg|200|1|Photos|0|0|0\n");
    EXPECT_EQ(Rows(file, "SELECT * FROM [SetUp]"),
              "CD-R 700MB|1048576.5|3|100|1|2|/media/out|0|0\n");
    EXPECT_EQ(Rows(file, "SELECT sql FROM sqlite_master ORDER BY name"),
              "CREATE TABLE [MainDB] ([PATH] VARCHAR(255), [SIZE] DOUBLE, [GROUP] INTEGER, "
              "[GROUPNAME] VARCHAR(255), [RATE] INTEGER, [PRIORITY] INTEGER, [CDNUMBER] INTEGER)\n"
              "CREATE TABLE [SetUp] ([MEDIASIZE] VARCHAR(50), [SIZEDIFF] DOUBLE, [MEDIANUM] "
              "INTEGER, [MAXFILE] INTEGER, [MINFILE] INTEGER, [AFTERFLG] INTEGER, [AFTERPATH] "
              "VARCHAR(255), [METHOD] INTEGER, [FSALLOW] INTEGER)\n");
}

// Members read back in the order written, which is not the order of their
// paths; texts with apostrophes come back whole.
TEST_F(ProjectFileTest, ReadsBackWhatWasWrittenAndKeepsFastMode) {
    items[0].name = items[0].members[0].path = "/data/it's/O'Neil.txt";
    items[1].name = "John's 'best' 写真";
    for (int i = 3000; i > 0; --i)
        items[1].members.push_back({"/m/" + std::to_string(i), 1});
    RunSettings settings = kSettings;
    settings.MediaSize = "Bob's DVD";
    settings.AfterPath = "/mnt/o'clock";
    // Numbers whose decimal text SQLite reads a unit in the last place off.
    settings.DiffSize = 4.778310865974296e-299;
    items[0].members[0].size = 2387.571240046301;
    ASSERT_TRUE(ProjectFile::Write(file, items, settings));

    RunSettings current;
    current.MaxSpeed = true;
    const auto data = ProjectFile::Read(file, current);
    ASSERT_TRUE(data);
    EXPECT_EQ(Summary(data->items), Summary(items));
    EXPECT_EQ(data->items[0].members[0].size, items[0].members[0].size);
    settings.MaxSpeed = true;
    EXPECT_EQ(data->settings, settings);
}

TEST_F(ProjectFileTest, EmptyProjectAndEmptySetUp) {
    ASSERT_TRUE(ProjectFile::Write(file, {ProjectItem{}}, kSettings));
    EXPECT_EQ(Rows(file, "SELECT * FROM [MainDB]"), "");
    auto data = ProjectFile::Read(file, RunSettings{});
    ASSERT_TRUE(data);
    EXPECT_TRUE(data->items.empty());
    EXPECT_EQ(data->settings, kSettings);

    // Without a SetUp row the settings are those the window has.
    ASSERT_TRUE(ProjectFile::Write(file, items, kSettings));
    Execute(file, "DELETE FROM [SetUp]");
    RunSettings current;
    current.MediaSize = "650";
    data = ProjectFile::Read(file, current);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->items.size(), 2u);
    EXPECT_EQ(data->settings, current);
}

TEST_F(ProjectFileTest, SavingOverARunResultKeepsOnlyTheProjectTables) {
    ASSERT_TRUE(ProjectFile::Write(file, items, kSettings));
    AccessDB db;
    ASSERT_TRUE(db.DBOpen(file).ok());
    ASSERT_TRUE(db.TBCreate({{"GP", {{"GID", ColumnType::Integer, 0}}},
                             {"DISC_1_ID", {{"GID", ColumnType::Integer, 0}}}})
                    .ok());
    db.DBClose();

    ASSERT_TRUE(ProjectFile::Write(file, items, kSettings));
    EXPECT_EQ(Rows(file, "SELECT name FROM sqlite_master ORDER BY name"), "MainDB\nSetUp\n");
}

TEST_F(ProjectFileTest, ItemNumbersMustRunWithoutGapsWithinRange) {
    ASSERT_TRUE(ProjectFile::Write(file, items, kSettings));
    Execute(file, "UPDATE [MainDB] SET [GROUP] = 2 WHERE [GROUP] = 1");
    EXPECT_EQ(ErrorReading(), 9);
    Execute(file, "UPDATE [MainDB] SET [GROUP] = -1 WHERE [GROUP] = 0");
    EXPECT_EQ(ErrorReading(), 9);
    Execute(file, "UPDATE [MainDB] SET [GROUP] = 0 WHERE [GROUP] = -1");
    Execute(file, "UPDATE [MainDB] SET [GROUP] = 40000 WHERE [GROUP] = 2");
    EXPECT_EQ(ErrorReading(), 6);
    Execute(file, "UPDATE [MainDB] SET [CDNUMBER] = 'x'");
    EXPECT_EQ(ErrorReading(), 13);
}

// A value that a run cannot use fails the load naming its row and field,
// rather than being rounded into another item or hiding its item.
TEST_F(ProjectFileTest, ValuesARunCannotUseFailTheLoad) {
    const struct {
        const char* statement;
        int number;
        const char* detail;
    } cases[] = {
        {"UPDATE [MainDB] SET [CDNUMBER] = -1 WHERE [GROUP] = 1", 9,
         "MainDB row 2: CDNUMBER is -1"},
        {"UPDATE [MainDB] SET [GROUP] = 0.4 WHERE [GROUP] = 1", 13, "MainDB row 2: GROUP is 0.4"},
        {"UPDATE [MainDB] SET [SIZE] = -100 WHERE [GROUP] = 0", 9, "MainDB row 1: SIZE is -100"},
        {"UPDATE [MainDB] SET [SIZE] = 1e999 WHERE [GROUP] = 0", 9, "MainDB row 1: SIZE is"},
        {"UPDATE [MainDB] SET [PATH] = NULL WHERE [GROUP] = 0", 94, "MainDB row 1: PATH"},
        {"UPDATE [MainDB] SET [GROUPNAME] = CAST(x'410042' AS TEXT) WHERE [GROUP] = 1", 13,
         "MainDB row 2: GROUPNAME holds a zero byte"},
        {"UPDATE [SetUp] SET [SIZEDIFF] = -1", 9, "SetUp: SIZEDIFF is -1"},
        {"UPDATE [SetUp] SET [MEDIANUM] = -3", 9, "SetUp: MEDIANUM is -3"},
        {"UPDATE [SetUp] SET [MAXFILE] = -1", 9, "SetUp: MAXFILE is -1"},
        {"UPDATE [SetUp] SET [MINFILE] = 1.5", 13, "SetUp: MINFILE is 1.5"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(ProjectFile::Write(file, items, kSettings));
        Execute(file, c.statement);
        try {
            ProjectFile::Read(file, RunSettings{});
            ADD_FAILURE() << c.statement;
        } catch (const ProjectFileError& error) {
            EXPECT_EQ(error.Number(), c.number) << c.statement;
            EXPECT_EQ(error.Detail().rfind(c.detail, 0), 0u)
                << c.statement << ": " << error.Detail();
        }
    }
}

TEST_F(ProjectFileTest, AProjectHoldsAtMost32767Items) {
    std::vector<ProjectItem> many(32768, ProjectItem{"/f", 0, {{"/f", 1}}});
    ASSERT_TRUE(ProjectFile::Write(file, many, kSettings));
    EXPECT_EQ(ErrorReading(), 9);
    Execute(file, "DELETE FROM [MainDB] WHERE [GROUP] = 32767");
    const auto data = ProjectFile::Read(file, RunSettings{});
    ASSERT_TRUE(data);
    EXPECT_EQ(data->items.size(), 32767u);
}

TEST_F(ProjectFileTest, FilesThatAreNoProjectReadAsNothing) {
    EXPECT_FALSE(ProjectFile::Read(file, RunSettings{}));

    test::WriteBytes(file, "PATH,SIZE\n/data/a.iso,1\n");
    EXPECT_FALSE(ProjectFile::Read(file, RunSettings{}));

    fs::remove(file);
    std::vector<ProjectItem> many;
    for (int i = 0; i < 300; ++i) {
        const std::string path = "/data/" + std::string(200, 'f') + std::to_string(i);
        many.push_back({path, 0, {{path, 1}}});
    }
    ASSERT_TRUE(ProjectFile::Write(file, many, kSettings));
    const std::string whole = test::ReadBytes(file);
    test::WriteBytes(file, whole.substr(0, whole.size() / 2));
    EXPECT_FALSE(ProjectFile::Read(file, RunSettings{}));

    fs::remove(file);
    ASSERT_TRUE(AccessDB().DBCreate(file, {"SetUp", {{"MEDIASIZE", ColumnType::WChar, 50}}}).ok());
    EXPECT_FALSE(ProjectFile::Read(file, RunSettings{}));
}

// Files that could run a query of their own making, or hand over values of
// any size, read as no project, and soon.
TEST_F(ProjectFileTest, OnlyPlainTablesWithTheProjectColumnsAreRead) {
    const std::string columns = "PATH, SIZE, [GROUP], GROUPNAME, RATE, PRIORITY";
    const std::string endless =
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) SELECT i AS PATH, i AS "
        "SIZE, 0 AS [GROUP], '' AS GROUPNAME, 0 AS RATE, 0 AS PRIORITY, 0 AS CDNUMBER";
    const std::string mainDB = "CREATE TABLE MainDB(" + columns + ", CDNUMBER);";
    for (const std::string& schema : std::vector<std::string>{
             "CREATE VIEW MainDB AS " + endless + " FROM n ORDER BY 1 DESC;",
             "CREATE VIEW MainDB AS SELECT zeroblob(900000000) AS PATH, 1 AS SIZE, 0 AS [GROUP], "
             "'' AS GROUPNAME, 0 AS RATE, 0 AS PRIORITY, 0 AS CDNUMBER;",
             "CREATE TABLE MainDB(" + columns + ", CDNUMBER AS (length(PATH)));",
             "CREATE TABLE MainDB(" + columns + ");",
             mainDB + "CREATE VIEW SetUp AS " + endless + " FROM n ORDER BY 1 DESC;",
             mainDB +
                 "INSERT INTO MainDB VALUES(printf('%.*c', 2000000, 'x'), 1, 0, '', 0, 0, 0);"}) {
        fs::remove(file);
        EXPECT_EQ(test::Exec(file, schema), SQLITE_OK) << schema;
        EXPECT_FALSE(ProjectFile::Read(file, RunSettings{})) << schema;
    }
}

TEST_F(ProjectFileTest, FailedSaveLeavesTheOldFileAsItWas) {
    test::WriteBytes(file + ".saving", "half a file left by an interrupted save");
    ASSERT_TRUE(ProjectFile::Write(file, items, kSettings));
    EXPECT_FALSE(fs::exists(file + ".saving"));
    const std::string before = test::ReadBytes(file);

    // A size that is no number makes its row fail.
    std::vector<ProjectItem> broken = items;
    broken[1].members[1].size = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(ProjectFile::Write(file, broken, kSettings));
    EXPECT_EQ(test::ReadBytes(file), before);
    EXPECT_FALSE(fs::exists(file + ".saving"));

    // Nothing can be built where the new file would go.
    fs::create_directories(file + ".saving/inside");
    EXPECT_FALSE(ProjectFile::Write(file, items, kSettings));
    EXPECT_EQ(test::ReadBytes(file), before);
    EXPECT_TRUE(fs::is_directory(file + ".saving/inside"));

    const std::string folderTarget = folder.File("target");
    fs::create_directories(folderTarget + "/inside");
    EXPECT_FALSE(ProjectFile::Write(folderTarget, items, kSettings));
    EXPECT_TRUE(fs::is_directory(folderTarget + "/inside"));
    EXPECT_FALSE(fs::exists(folderTarget + ".saving"));

    EXPECT_FALSE(ProjectFile::Write(folder.File("missing/p.mtb"), items, kSettings));
}

}  // namespace
}  // namespace zv
