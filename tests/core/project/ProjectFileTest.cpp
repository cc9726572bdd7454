#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <charconv>
#include <filesystem>
#include <limits>

#include "core/platform/FileError.h"
#include "core/platform/FileLock.h"
#include "core/project/ProjectDocument.h"
#include "core/project/ProjectFile.h"
#include "tests/support/ErrorNumber.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/HotJournal.h"
#include "tests/support/OtherProcess.h"
#include "tests/support/SqlRows.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;
using test::Exec;

// The rows of a query, a line each, their fields joined by "|".
std::string Rows(const std::string& file, const std::string& sql) {
    std::string text;
    for (const std::string& row : test::Rows(file, sql))
        text += row + "\n";
    return text;
}

// Items as one text: name, medium and each member's path and exact size.
std::string Summary(const std::vector<ProjectItem>& items) {
    std::string text;
    for (const ProjectItem& item : items) {
        text += item.name + "|" + std::to_string(item.medium);
        for (const ProjectMember& member : item.members) {
            char size[32];
            text += "|" + member.path + ":" +
                    std::string(size, std::to_chars(size, size + 32, member.size).ptr);
        }
        text += "\n";
    }
    return text;
}

std::vector<ProjectItem> Items(const std::string& name, int count) {
    std::vector<ProjectItem> items;
    for (int i = 0; i < count; ++i) {
        const std::string path = "/data/" + name + std::to_string(i);
        items.push_back({path, 0, {{path, 100.0 + i}}});
    }
    return items;
}

const RunSettings kSettings{"CD-R 700MB", 1048576.5, 3, 100, 1, false, 2, "/media/out"};

class ProjectFileTest : public ::testing::Test {
  protected:
    std::optional<ProjectData> Read(const RunSettings& current = RunSettings()) {
        return ProjectFile::Read(file, current);
    }
    bool Save(const std::string& name, int count, Status* why = nullptr) {
        return ProjectFile::Write(file, Items(name, count), RunSettings{}, why);
    }
    // The first item's name and the number of items, or "unreadable".
    std::string Content() {
        const auto data = Read();
        return data && !data->items.empty()
                   ? data->items[0].name + " of " + std::to_string(data->items.size())
                   : "unreadable";
    }
    // The files in the folder, which should be the project file alone.
    std::vector<std::string> FolderFiles() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.Path()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    std::vector<ProjectItem> items{{"/data/a.iso", 2, {{"/data/a.iso", 4700000000.0}}},
                                   {"Photos", 0, {{"/data/p/1.jpg", 100}, {"/data/p/2.jpg", 200}}}};
    test::TempFolder folder;
    std::string file = folder.File("p.mtb");
    const std::vector<std::string> alone{"p.mtb"};
};

// Saving over a run's result keeps only the project's tables.
TEST_F(ProjectFileTest, WritesOneRowPerMemberAndOneSetUpRow) {
    ASSERT_TRUE(ProjectFile::Write(file, items, kSettings));
    ASSERT_EQ(Exec(file, "CREATE TABLE GP (GID INTEGER); CREATE TABLE DISC_1_ID (GID INTEGER)"),
              SQLITE_OK);
    ASSERT_TRUE(ProjectFile::Write(file, items, kSettings));
    EXPECT_EQ(Rows(file, "SELECT * FROM [MainDB]"),
              "/data/a.iso|4700000000.0|0|/data/a.iso|0|0|2\n"
              "/data/p/1.jpg|100.0|1|Photos|0|0|0\n"
              "/data/p/2.jpg|200.0|1|Photos|0|0|0\n");
    EXPECT_EQ(Rows(file, "SELECT * FROM [SetUp]"),
              "CD-R 700MB|1048576.5|3|100|1|2|/media/out|0|0\n");
    EXPECT_EQ(Rows(file, "SELECT * FROM [Plan]") + Rows(file, "SELECT * FROM [Media]"),
              "2|0\n2|1|4700000000.0\n");
    EXPECT_EQ(Rows(file, "SELECT length(SHA256) FROM [Integrity]"), "64\n");
    EXPECT_EQ(Rows(file, "PRAGMA user_version"), "1\n");
    EXPECT_EQ(Rows(file, "SELECT sql FROM sqlite_master ORDER BY name"),
              "CREATE TABLE [Integrity] ([SHA256] TEXT)\n"
              "CREATE TABLE [MainDB] ([PATH] VARCHAR(255), [SIZE] DOUBLE, [GROUP] INTEGER, "
              "[GROUPNAME] VARCHAR(255), [RATE] INTEGER, [PRIORITY] INTEGER, [CDNUMBER] INTEGER)\n"
              "CREATE TABLE [Media] ([MEDIUM] INTEGER PRIMARY KEY, [ITEMS] INTEGER, [BYTES] "
              "DOUBLE)\n"
              "CREATE TABLE [Plan] ([MEDIUM] INTEGER, [ITEM] INTEGER)\n"
              "CREATE TABLE [SetUp] ([MEDIASIZE] VARCHAR(50), [SIZEDIFF] DOUBLE, [MEDIANUM] "
              "INTEGER, [MAXFILE] INTEGER, [MINFILE] INTEGER, [AFTERFLG] INTEGER, [AFTERPATH] "
              "VARCHAR(255), [METHOD] INTEGER, [FSALLOW] INTEGER)\n");
    ASSERT_TRUE(ProjectFile::Write(file, {ProjectItem{}}, kSettings));
    EXPECT_EQ(Rows(file, "SELECT * FROM [MainDB]"), "");
    EXPECT_TRUE(Read()->items.empty());
}

// Members come back in the order written, which is not the order of their
// paths; texts with apostrophes come back whole; fast mode is the window's.
TEST_F(ProjectFileTest, ReadsBackWhatWasWrittenAndKeepsFastMode) {
    items[0].name = items[0].members[0].path = "/data/it's/O'Neil.txt";
    items[1].name = "John's 'best' 写真";
    for (int i = 3000; i > 0; --i)
        items[1].members.push_back({"/m/" + std::to_string(i), 1});
    RunSettings settings = kSettings;
    settings.MediaSize = "Bob's DVD", settings.AfterPath = "/mnt/o'clock";
    settings.Method = PackingMethod::FewestMedia,
    settings.FsAllowance = FileSystemAllowance::Iso9660;
    // Numbers whose decimal text SQLite reads a unit in the last place off.
    settings.DiffSize = 4.778310865974296e-299;
    items[0].members[0].size = 2387.571240046301;
    ASSERT_TRUE(ProjectFile::Write(file, items, settings));
    RunSettings fast;
    fast.MaxSpeed = true;
    auto data = Read(fast);
    ASSERT_TRUE(data);
    EXPECT_EQ(Summary(data->items), Summary(items));
    settings.MaxSpeed = true;
    EXPECT_EQ(data->settings, settings);

    // Files older than a setting take the behaviour they were made with, and
    // without a SetUp row the settings are those the window has.
    ASSERT_EQ(Exec(file, "ALTER TABLE SetUp DROP COLUMN METHOD"), SQLITE_OK);
    EXPECT_EQ(Read()->settings.Method, PackingMethod::Sequential);
    EXPECT_EQ(Read()->settings.FsAllowance, FileSystemAllowance::Iso9660);
    ASSERT_EQ(Exec(file, "ALTER TABLE SetUp DROP COLUMN FSALLOW"), SQLITE_OK);
    EXPECT_EQ(Read()->settings.FsAllowance, FileSystemAllowance::None);
    ASSERT_EQ(Exec(file, "DELETE FROM [SetUp]"), SQLITE_OK);
    EXPECT_EQ(Read(kSettings)->settings, kSettings);
}

// Item numbers run without gaps from 0 to 999,999; a value a run cannot use
// fails the load naming its row and field, rather than being rounded into
// another item or hiding its item.
TEST_F(ProjectFileTest, ValuesARunCannotUseFailTheLoad) {
    const struct {
        const char* statement;
        int number;
        const char* detail;
    } cases[] = {
        {"UPDATE [MainDB] SET [GROUP] = 2 WHERE [GROUP] = 1", 9, ""},
        {"UPDATE [MainDB] SET [GROUP] = -1 WHERE [GROUP] = 0", 9, ""},
        {"UPDATE [MainDB] SET [GROUP] = 3e9 WHERE [GROUP] = 1", 6, ""},
        {"UPDATE [MainDB] SET [GROUP] = 1000000 WHERE [GROUP] = 1", 9,
         "MainDB row 2: GROUP is 1000000, not from 0 to 999999"},
        {"UPDATE [Plan] SET [ITEM] = 2", 9, "Plan row 1: ITEM is 2, not from 0 to 1"},
        {"PRAGMA user_version = 2", 9,
         "the file has layout version 2; this build reads versions 0 to 1"},
        {"UPDATE [MainDB] SET [CDNUMBER] = 'x'", 13, ""},
        {"UPDATE [MainDB] SET [CDNUMBER] = -1 WHERE [GROUP] = 1", 9,
         "MainDB row 2: CDNUMBER is -1"},
        {"UPDATE [MainDB] SET [GROUP] = 0.4 WHERE [GROUP] = 1", 13, "MainDB row 2: GROUP is 0.4"},
        {"UPDATE [MainDB] SET [SIZE] = -100 WHERE [GROUP] = 0", 9, "MainDB row 1: SIZE is -100"},
        {"UPDATE [MainDB] SET [SIZE] = 1e999 WHERE [GROUP] = 0", 9, "MainDB row 1: SIZE is"},
        {"UPDATE [MainDB] SET [SIZE] = 1e19 WHERE [GROUP] = 1", 6,
         "MainDB row 2: SIZE is 10000000000000000000, not below"},
        {"UPDATE [MainDB] SET [SIZE] = 1e300 WHERE [GROUP] = 1", 6, "MainDB row 2: SIZE is"},
        {"UPDATE [MainDB] SET [SIZE] = 9007199254740992 WHERE [GROUP] = 0", 6,
         "MainDB row 1: SIZE is 9007199254740992, not below 2^53"},
        {"UPDATE [SetUp] SET [SIZEDIFF] = 1e30", 6, "SetUp: SIZEDIFF is"},
        {"UPDATE [SetUp] SET [METHOD] = 7", 9, "SetUp: METHOD is 7, not one of the values"},
        {"UPDATE [SetUp] SET [FSALLOW] = -2", 9, "SetUp: FSALLOW is -2, not one of the values"},
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
        ASSERT_EQ(Exec(file, c.statement), SQLITE_OK) << c.statement;
        try {
            Read();
            ADD_FAILURE() << c.statement;
        } catch (const ProjectFileError& error) {
            EXPECT_EQ(error.Number(), c.number) << c.statement;
            EXPECT_EQ(error.Detail().rfind(c.detail, 0), 0u) << error.Detail();
        }
    }
}

// What the reader would refuse is not written, and the refusal names the
// item; nor is a project put where SQLite cannot open it.
TEST_F(ProjectFileTest, WhatCouldNotBeReadIsNotWritten) {
    ASSERT_TRUE(Save("old", 2));
    const std::string before = test::ReadBytes(file);
    const std::string longText((1 << 20) + 1, 'n');
    RunSettings zeroByte = kSettings;
    zeroByte.AfterPath = std::string("/media\0x", 8);
    const struct {
        std::vector<ProjectItem> items;
        RunSettings settings;
        std::string says;
    } cases[] = {
        {{{"/a", 0, {{"/a", 1}}}, {longText, 0, {{"/b", 1}}}}, kSettings, "item 2 'nnn"},
        {{{"/a", 0, {{"/a", 1}, {"/" + longText, 1}}}}, kSettings, "item 1 '/a': the path '/nnn"},
        {{{"/a", 0, {{"/a", 9007199254740992.0}}}},
         kSettings,
         "item 1 '/a': the size of '/a' is no number of bytes from 0 to 2^53"},
        {{{"/a", 0, {{"/a", 1}}}}, zeroByte, "the media size or the after-run folder"},
        {{{"/a", 0, {{"/a", 1}}}, {"/b", 0, {}}, {"/c", 0, {{"/c", 1}}}},
         kSettings,
         "item 2 has no files, and items with files follow it"},
    };
    for (const auto& c : cases) {
        Status why;
        EXPECT_FALSE(ProjectFile::Write(file, c.items, c.settings, &why)) << c.says;
        EXPECT_NE(why.message().find(c.says), std::string::npos) << why.message().substr(0, 300);
        EXPECT_EQ(test::ReadBytes(file), before);
        EXPECT_EQ(FolderFiles(), alone);
    }

    fs::path deep = folder.Path();
    for (const char part : {'d', 'e', 'f'})
        deep /= std::string(200, part);
    fs::create_directories(deep);
    const std::string far = (deep / "p.mtb").string();
    const std::string limit = "SQLite opens project files of at most 501 bytes";
    Status why;
    EXPECT_FALSE(ProjectFile::Write(far, items, kSettings, &why));
    EXPECT_NE(why.message().find(limit), std::string::npos) << why.message();
    fs::copy_file(file, far);
    try {
        ProjectFile::Read(far, RunSettings{});
        ADD_FAILURE() << "a path SQLite cannot open";
    } catch (const ProjectFileError& error) {
        EXPECT_NE(error.Detail().find(limit), std::string::npos) << error.Detail();
    }
}

// Files that are no project, or could run a query of their own making or hand
// over values of any size, read as nothing, and soon.
TEST_F(ProjectFileTest, OnlyPlainTablesWithTheProjectColumnsAreRead) {
    EXPECT_FALSE(Read()) << "no file";
    test::WriteBytes(file, "PATH,SIZE\n/data/a.iso,1\n");
    EXPECT_FALSE(Read());
    fs::remove(file);
    ASSERT_TRUE(ProjectFile::Write(file, Items(std::string(200, 'f'), 300), kSettings));
    const std::string whole = test::ReadBytes(file);
    test::WriteBytes(file, whole.substr(0, whole.size() / 2));
    EXPECT_FALSE(Read()) << "cut in half";
    const std::string columns = "PATH, SIZE, [GROUP], GROUPNAME, RATE, PRIORITY";
    const std::string endless =
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) SELECT i AS PATH, i AS "
        "SIZE, 0 AS [GROUP], '' AS GROUPNAME, 0 AS RATE, 0 AS PRIORITY, 0 AS CDNUMBER";
    const std::string mainDB = "CREATE TABLE MainDB(" + columns + ", CDNUMBER);";
    for (const std::string& schema : std::vector<std::string>{
             "CREATE TABLE SetUp(MEDIASIZE VARCHAR(50));",
             "CREATE VIEW MainDB AS " + endless + " FROM n ORDER BY 1 DESC;",
             "CREATE VIEW MainDB AS SELECT zeroblob(900000000) AS PATH, 1 AS SIZE, 0 AS [GROUP], "
             "'' AS GROUPNAME, 0 AS RATE, 0 AS PRIORITY, 0 AS CDNUMBER;",
             "CREATE TABLE MainDB(" + columns + ", CDNUMBER AS (length(PATH)));",
             "CREATE TABLE MainDB(" + columns + ");",
             mainDB + "CREATE VIEW SetUp AS " + endless + " FROM n ORDER BY 1 DESC;",
             mainDB +
                 "INSERT INTO MainDB VALUES(printf('%.*c', 2000000, 'x'), 1, 0, '', 0, 0, 0);"}) {
        fs::remove(file);
        EXPECT_EQ(Exec(file, schema), SQLITE_OK) << schema;
        EXPECT_FALSE(Read()) << schema;
    }
}

// A half file left by an interrupted save goes; a row that cannot be written
// (a size that is no number), a folder where the new file would go and a
// folder as the target each fail the save and leave what was there.
TEST_F(ProjectFileTest, FailedSaveLeavesTheOldFileAsItWas) {
    ASSERT_TRUE(ProjectFile::Write(file, items, kSettings));
    const std::string before = test::ReadBytes(file);
    // The first page of a save cut short carries the program's mark.
    test::WriteBytes(file + ".saving", before.substr(0, 100) + "half a file");
    ASSERT_TRUE(ProjectFile::Write(file, items, kSettings));
    EXPECT_EQ(FolderFiles(), alone);
    std::vector<ProjectItem> broken = items;
    broken[1].members[1].size = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(ProjectFile::Write(file, broken, kSettings));
    EXPECT_EQ(FolderFiles(), alone);
    fs::create_directories(file + ".saving/inside");
    EXPECT_FALSE(ProjectFile::Write(file, items, kSettings));
    EXPECT_EQ(test::ReadBytes(file), before);
    EXPECT_TRUE(fs::is_directory(file + ".saving/inside"));
    const std::string folderTarget = folder.File("target");
    fs::create_directories(folderTarget + "/inside");
    EXPECT_FALSE(ProjectFile::Write(folderTarget, items, kSettings));
    EXPECT_TRUE(fs::is_directory(folderTarget + "/inside"));
    EXPECT_FALSE(fs::exists(folderTarget + ".saving"));
}

// A run killed while it wrote into the file leaves its journal; a save
// beside it would have SQLite roll the old pages into the new file.
TEST_F(ProjectFileTest, ASaveBesideALeftJournalKeepsWhatItSaved) {
    ASSERT_TRUE(Save("old", 50));
    ASSERT_EQ(test::Exec(file, "CREATE TABLE DISC_1_ID (GID INTEGER)"), SQLITE_OK);
    test::LeaveHotJournal(file);
    ASSERT_TRUE(Save("new", 3));
    EXPECT_EQ(Content(), "/data/new0 of 3");
    EXPECT_EQ(FolderFiles(), alone);
}

TEST_F(ProjectFileTest, ASaveKeepsThePermissionsAndLeavesReadOnlyFiles) {
    for (const mode_t mode : {0600, 0640, 0444}) {
        fs::remove(file);
        ASSERT_TRUE(Save("old", 2));
        ASSERT_EQ(chmod(file.c_str(), mode), 0);
        Status why;
        const bool writable = mode != 0444;
        EXPECT_EQ(Save("new", 2, &why), writable);
        EXPECT_EQ(why.code() == FileError::ReadOnly, !writable);
        struct stat status {};
        stat(file.c_str(), &status);
        EXPECT_EQ(status.st_mode & 07777, mode);
        EXPECT_EQ(Content(), writable ? "/data/new0 of 2" : "/data/old0 of 2");
        EXPECT_EQ(FolderFiles(), alone);
    }
}

// Every call of a save in turn fails, as on a full, a forbidding or a broken
// disk: the old file stays whole (or, when only the folder could not be
// synced after the rename, the new one is there whole), and nothing is left
// beside it.
TEST_F(ProjectFileTest, ASaveThatFailsAnywhereLeavesTheOldProject) {
    ASSERT_TRUE(Save("old", 20));
    const std::string old = test::ReadBytes(file);
    const std::string syncFolder = "fsync " + fs::path(folder.Path()).filename().string();
    for (int failAt = 1;; ++failAt) {
        test::WriteBytes(file, old);
        test::FaultyFiles disk(failAt, test::kDiskErrors[failAt % 3]);
        Status why;
        const bool saved = Save("new", 20, &why);
        if (!disk.Failed()) {
            EXPECT_TRUE(saved) << why.message();
            EXPECT_EQ(Content(), "/data/new0 of 20");
            break;
        }
        const std::string call = disk.FailedCall();
        // A folder not synced after the rename leaves the new file saved.
        EXPECT_EQ(saved, call == syncFolder) << call;
        EXPECT_FALSE(why.ok() || why.message().empty()) << call;
        EXPECT_EQ(Content(), call == syncFolder ? "/data/new0 of 20" : "/data/old0 of 20") << call;
        EXPECT_EQ(FolderFiles(), alone) << call;
    }
}

TEST_F(ProjectFileTest, AProjectThatAnotherProgramWritesIsInUse) {
    ASSERT_TRUE(Save("old", 2));
    test::OtherProcess writer(
        [&] { return Exec(file, "BEGIN EXCLUSIVE", test::AfterExec::KeepOpen) == SQLITE_OK; });
    ASSERT_TRUE(writer.Holding());
    try {
        Read();
        ADD_FAILURE() << "read while another program held it";
    } catch (const ProjectFileError& error) {
        EXPECT_EQ(error.Number(), PlatformError::PermissionDenied().Number());
        EXPECT_NE(error.Detail().find("in use"), std::string::npos) << error.Detail();
    }
    writer.End();
    EXPECT_EQ(Content(), "/data/old0 of 2");
}

// Projects saved by builds before the plan had tables of its own open with
// the same media, items, members and settings; their run's tables go with
// the next save, which builds of then still read through CDNUMBER.
TEST_F(ProjectFileTest, FilesOfEarlierBuildsOpenAsTheyWereAndAreSavedInTheNewLayout) {
    const std::string src = "/tmp/h1/fx/src/";
    const std::string singles = src + "a.bin|1|" + src + "a.bin:600\n" + src + "b.bin|1|" + src +
                                "b.bin:300\n" + src + "c.bin|2|" + src + "c.bin:450\n" + src +
                                "d.bin|2|" + src + "d.bin:250\n" + src + "e.bin|1|" + src +
                                "e.bin:100\n";
    const std::string groups = "photos|2|" + src + "photos/1.jpg:120|" + src +
                               "photos/2.jpg:80\ndocs|0|" + src + "docs/huge.pdf:2000|" + src +
                               "docs/note.txt:50\n" + src + "a.bin|1|" + src + "a.bin:600\n" + src +
                               "b.bin|1|" + src + "b.bin:300\n";
    const RunSettings sequential{"1000", 0, 32766, 32766, 0, false, 0, ""};
    RunSettings fewest = sequential;
    fewest.Method = PackingMethod::FewestMedia;
    const struct {
        const char* name;
        std::string items;
        RunSettings settings;
    } cases[] = {{"seq.mtb", singles, sequential},
                 {"fewest.mtb", singles, fewest},
                 {"groups.mtb", groups, fewest},
                 {"oldsetup.mtb", singles, sequential}};
    for (const auto& c : cases) {
        fs::copy_file(fs::path(ZV_FIXTURES) / c.name, file, fs::copy_options::overwrite_existing);
        auto data = Read(kSettings);
        ASSERT_TRUE(data) << c.name;
        EXPECT_EQ(Summary(data->items), c.items) << c.name;
        EXPECT_EQ(data->settings, c.settings) << c.name;
        ASSERT_TRUE(ProjectFile::Write(file, data->items, data->settings));
        EXPECT_EQ(Rows(file, "SELECT count(*) FROM sqlite_master WHERE name LIKE 'DISC%'"), "0\n");
        EXPECT_EQ(Summary(Read()->items), c.items) << c.name;
        EXPECT_EQ(
            Rows(file, "SELECT group_concat(CDNUMBER) FROM MainDB"),
            Rows(fs::path(ZV_FIXTURES) / c.name, "SELECT group_concat(CDNUMBER) FROM MainDB"));
    }
}

// Items or a plan changed behind the program's back are not taken as they
// are, unless the caller asks for them knowing they differ.
TEST_F(ProjectFileTest, ContentsThatDoNotMatchTheChecksumAreReportedAsSuch) {
    for (const char* change :
         {"UPDATE [MainDB] SET [PATH] = '/data/p/9.jpg' WHERE [PATH] = '/data/p/2.jpg'",
          "UPDATE [MainDB] SET [SIZE] = 101 WHERE [SIZE] = 100",
          "UPDATE [MainDB] SET [GROUPNAME] = 'Photoz' WHERE [GROUP] = 1",
          "UPDATE [Plan] SET [MEDIUM] = 3", "UPDATE [MainDB] SET [CDNUMBER] = 1",
          "INSERT INTO [Plan] VALUES(1, 1)", "DELETE FROM [Integrity]",
          "PRAGMA user_version = 0; UPDATE [MainDB] SET [SIZE] = 101 WHERE [SIZE] = 100"}) {
        ASSERT_TRUE(ProjectFile::Write(file, items, kSettings));
        ASSERT_EQ(Exec(file, change), SQLITE_OK) << change;
        EXPECT_THROW(Read(), ChecksumMismatchError) << change;
        const auto data = ProjectFile::Read(file, RunSettings{}, true);
        ASSERT_TRUE(data) << change;
        EXPECT_TRUE(data->checksumMismatch) << change;
    }
}

// A project reached through a link in another folder is locked, built and
// replaced beside the file the link leads to, so another program holding the
// file itself keeps the save out, and nothing is left beside the link.
TEST_F(ProjectFileTest, AProjectReachedThroughALinkIsSavedBesideItsFile) {
    ASSERT_TRUE(Save("old", 1));
    const fs::path links = folder.File("links");
    fs::create_directory(links);
    const std::string link = (links / "p.mtb").string();
    fs::create_symlink(file, link);
    {
        test::OtherProcess other([&] {
            static FileLock held(file);
            return held.Take().ok();
        });
        ASSERT_TRUE(other.Holding());
        Status why;
        EXPECT_FALSE(ProjectFile::Write(link, Items("new", 2), RunSettings{}, &why));
        EXPECT_EQ(why.code(), FileError::InUse) << why.message();
    }
    ASSERT_TRUE(ProjectFile::Write(link, Items("new", 2), RunSettings{}));
    EXPECT_EQ(Content(), "/data/new0 of 2");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(std::distance(fs::directory_iterator(links), {}), 1);
}

// Damage that turns a file with a checksum into one that looks older than
// checksums, hiding the tables of its layout, is found as damage: the mark
// of the layout stays, SQLite finds pages nothing uses, or a table is left
// that older files never had.
TEST_F(ProjectFileTest, AFileThatLostItsLayoutVersionIsNotTakenForAnOlderOne) {
    const std::string older = "PRAGMA user_version = 0; PRAGMA application_id = 1515606091; ";
    const std::string changed = "; UPDATE [MainDB] SET [SIZE] = 101 WHERE [SIZE] = 100";
    for (const std::string& change :
         {"PRAGMA user_version = 0; ALTER TABLE [Plan] RENAME TO [P]; ALTER TABLE [Integrity] "
          "RENAME TO [I]" +
              changed,
          older +
              "PRAGMA writable_schema = ON; DELETE FROM sqlite_master WHERE name IN ('Plan', "
              "'Media', 'Integrity')" +
              changed,
          older + "ALTER TABLE [Plan] RENAME TO [P]; ALTER TABLE [Integrity] RENAME TO [I]" +
              changed}) {
        ASSERT_TRUE(ProjectFile::Write(file, items, kSettings));
        ASSERT_EQ(Exec(file, change), SQLITE_OK) << change;
        std::optional<ProjectData> data;
        try {
            data = Read();
        } catch (const ProjectFileError& error) {
            EXPECT_NE(error.Detail().find("damaged"), std::string::npos) << error.Detail();
        }
        EXPECT_FALSE(data) << change;
    }
}

}  // namespace
}  // namespace zv
