#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "db/AccessDB.h"
#include "document/ProjectFile.h"
#include "platform/PlatformError.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

// The rows of one query on the file, read with a connection of its own.
std::shared_ptr<RecordSet> Query(const std::string& file, const std::string& statement) {
    AccessDB db;
    EXPECT_TRUE(db.DBOpen(file));
    return db.Run(statement, adOpenDynamic);
}

void Execute(const std::string& file, const std::string& statement) {
    AccessDB db;
    ASSERT_TRUE(db.DBOpen(file));
    db.Run(statement, adOpenDynamic);
    std::string message;
    ASSERT_EQ(db.LastErr(message), "") << message;
}

RunSettings Settings() {
    RunSettings s;
    s.MediaSize = "CD-R 700MB";
    s.DiffSize = 1048576.5;
    s.MediaNum = 3;
    s.MaxFile = 100;
    s.MinFile = 1;
    s.AfterRun = 2;
    s.AfterPath = "/media/out";
    return s;
}

class ProjectFileTest : public ::testing::Test {
  protected:
    std::vector<ProjectItem> SingleAndGroup() const {
        return {{"/data/a.iso", 2, {{"/data/a.iso", 4700000000.0}}},
                {"Photos", 0, {{"/data/p/1.jpg", 100}, {"/data/p/2.jpg", 200}}}};
    }

    int ErrorReading() const {
        try {
            ProjectFile::Read(file, RunSettings{});
        } catch (const PlatformError& e) {
            return e.Number();
        }
        return 0;
    }

    test::TempFolder folder;
    std::string file = folder.File("p.mtb");
};

TEST_F(ProjectFileTest, WritesOneRowPerMemberAndOneSetUpRow) {
    ASSERT_TRUE(ProjectFile::Write(file, SingleAndGroup(), Settings()));
    EXPECT_FALSE(fs::exists(file + ".saving"));

    auto rows = Query(file, "SELECT * FROM [MainDB]");
    ASSERT_EQ(rows->RecordCount(), 3);
    const struct {
        const char* path;
        double size;
        int group;
        const char* name;
        int medium;
    } expected[] = {{"/data/a.iso", 4700000000.0, 0, "/data/a.iso", 2},
                    {"/data/p/1.jpg", 100, 1, "Photos", 0},
                    {"/data/p/2.jpg", 200, 1, "Photos", 0}};
    for (const auto& row : expected) {
        EXPECT_EQ(rows->Field("PATH").ToText(), row.path);
        EXPECT_EQ(rows->Field("SIZE").ToDouble(), row.size);
        EXPECT_EQ(rows->Field("GROUP").ToInt32(), row.group);
        EXPECT_EQ(rows->Field("GROUPNAME").ToText(), row.name);
        EXPECT_EQ(rows->Field("RATE").ToInt32(), 0);
        EXPECT_EQ(rows->Field("PRIORITY").ToInt32(), 0);
        EXPECT_EQ(rows->Field("CDNUMBER").ToInt32(), row.medium);
        rows->MoveNext();
    }

    auto setUp = Query(file, "SELECT * FROM [SetUp]");
    ASSERT_EQ(setUp->RecordCount(), 1);
    EXPECT_EQ(setUp->Field("SIZEDIFF").ToDouble(), 1048576.5);
    EXPECT_EQ(setUp->Field("AFTERFLG").ToInt32(), 2);

    auto schema = Query(file, "SELECT sql FROM sqlite_master ORDER BY name");
    EXPECT_EQ(schema->Field(0).ToText(),
              "CREATE TABLE [MainDB] ([PATH] VARCHAR(255), [SIZE] DOUBLE, [GROUP] INTEGER, "
              "[GROUPNAME] VARCHAR(255), [RATE] INTEGER, [PRIORITY] INTEGER, [CDNUMBER] INTEGER)");
    schema->MoveNext();
    EXPECT_EQ(schema->Field(0).ToText(),
              "CREATE TABLE [SetUp] ([MEDIASIZE] VARCHAR(50), [SIZEDIFF] DOUBLE, [MEDIANUM] "
              "INTEGER, [MAXFILE] INTEGER, [MINFILE] INTEGER, [AFTERFLG] INTEGER, [AFTERPATH] "
              "VARCHAR(255))");
}

TEST_F(ProjectFileTest, ReadsBackTextsWithApostrophesAndKeepsFastMode) {
    std::vector<ProjectItem> items = SingleAndGroup();
    items[0].name = items[0].members[0].path = "/data/it's/O'Neil.txt";
    items[1].name = "John's 'best' 写真";
    RunSettings settings = Settings();
    settings.MediaSize = "Bob's DVD";
    settings.AfterPath = "/mnt/o'clock";
    settings.MaxSpeed = false;
    ASSERT_TRUE(ProjectFile::Write(file, items, settings));

    RunSettings current;
    current.MaxSpeed = true;
    const auto data = ProjectFile::Read(file, current);
    ASSERT_TRUE(data);
    ASSERT_EQ(data->items.size(), 2u);
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(data->items[i].name, items[i].name);
        EXPECT_EQ(data->items[i].medium, items[i].medium);
        ASSERT_EQ(data->items[i].members.size(), items[i].members.size());
        for (size_t m = 0; m < items[i].members.size(); ++m) {
            EXPECT_EQ(data->items[i].members[m].path, items[i].members[m].path);
            EXPECT_EQ(data->items[i].members[m].size, items[i].members[m].size);
        }
    }
    settings.MaxSpeed = true;
    EXPECT_EQ(data->settings, settings);
}

TEST_F(ProjectFileTest, EmptyProjectAndEmptySetUp) {
    ASSERT_TRUE(ProjectFile::Write(file, {ProjectItem{}}, Settings()));
    EXPECT_EQ(Query(file, "SELECT * FROM [MainDB]")->RecordCount(), 0);
    EXPECT_EQ(Query(file, "SELECT * FROM [SetUp]")->RecordCount(), 1);
    auto data = ProjectFile::Read(file, RunSettings{});
    ASSERT_TRUE(data);
    EXPECT_TRUE(data->items.empty());
    EXPECT_EQ(data->settings, Settings());

    ASSERT_TRUE(ProjectFile::Write(file, SingleAndGroup(), Settings()));
    Execute(file, "DELETE FROM [SetUp]");
    RunSettings current;
    current.MediaSize = "650";
    data = ProjectFile::Read(file, current);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->items.size(), 2u);
    EXPECT_EQ(data->settings, current);
}

TEST_F(ProjectFileTest, SavingOverARunResultKeepsOnlyTheProjectTables) {
    ASSERT_TRUE(ProjectFile::Write(file, SingleAndGroup(), Settings()));
    AccessDB db;
    ASSERT_TRUE(db.DBOpen(file));
    ASSERT_TRUE(db.TBCreate({{"GP", {{"GID", ColumnType::Integer, 0}}},
                             {"DISC_1_ID", {{"GID", ColumnType::Integer, 0}}}}));
    db.DBClose();

    ASSERT_TRUE(ProjectFile::Write(file, SingleAndGroup(), Settings()));
    auto tables = Query(file, "SELECT name FROM sqlite_master ORDER BY name");
    ASSERT_EQ(tables->RecordCount(), 2);
    EXPECT_EQ(tables->Field(0).ToText(), "MainDB");
    tables->MoveNext();
    EXPECT_EQ(tables->Field(0).ToText(), "SetUp");
}

TEST_F(ProjectFileTest, ItemNumbersMustRunWithoutGapsWithinRange) {
    ASSERT_TRUE(ProjectFile::Write(file, SingleAndGroup(), Settings()));
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
    ASSERT_TRUE(ProjectFile::Write(file, many, Settings()));
    const std::string whole = test::ReadBytes(file);
    test::WriteBytes(file, whole.substr(0, whole.size() / 2));
    EXPECT_FALSE(ProjectFile::Read(file, RunSettings{}));

    fs::remove(file);
    ASSERT_TRUE(AccessDB().DBCreate(file, {"SetUp", {{"MEDIASIZE", ColumnType::WChar, 50}}}));
    EXPECT_FALSE(ProjectFile::Read(file, RunSettings{}));
}

TEST_F(ProjectFileTest, FailedSaveLeavesTheOldFileAsItWas) {
    ASSERT_TRUE(ProjectFile::Write(file, SingleAndGroup(), Settings()));
    const std::string before = test::ReadBytes(file);

    // A size that is no number makes its row fail.
    std::vector<ProjectItem> items = SingleAndGroup();
    items[1].members[1].size = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(ProjectFile::Write(file, items, Settings()));
    EXPECT_EQ(test::ReadBytes(file), before);
    EXPECT_FALSE(fs::exists(file + ".saving"));

    // Nothing can be built where the new file would go.
    fs::create_directories(file + ".saving/inside");
    EXPECT_FALSE(ProjectFile::Write(file, SingleAndGroup(), Settings()));
    EXPECT_EQ(test::ReadBytes(file), before);
    EXPECT_TRUE(fs::is_directory(file + ".saving/inside"));

    const std::string folderTarget = folder.File("target");
    fs::create_directories(folderTarget + "/inside");
    EXPECT_FALSE(ProjectFile::Write(folderTarget, SingleAndGroup(), Settings()));
    EXPECT_TRUE(fs::is_directory(folderTarget + "/inside"));
    EXPECT_FALSE(fs::exists(folderTarget + ".saving"));

    EXPECT_FALSE(ProjectFile::Write(folder.File("missing/p.mtb"), SingleAndGroup(), Settings()));
}

TEST_F(ProjectFileTest, LeftoverOfAnInterruptedSaveIsReplaced) {
    test::WriteBytes(file + ".saving", "half a file");
    ASSERT_TRUE(ProjectFile::Write(file, SingleAndGroup(), Settings()));
    EXPECT_FALSE(fs::exists(file + ".saving"));
    EXPECT_EQ(ProjectFile::Read(file, RunSettings{})->items.size(), 2u);
}

}  // namespace
}  // namespace zv
