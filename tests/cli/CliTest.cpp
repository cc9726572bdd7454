// The command-line tool as a person or a script uses it: the real program,
// started in a folder of its own with its own settings file.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/platform/FileLock.h"
#include "tests/support/SqlRows.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

struct Result {
    int status;
    std::string out;
    std::string err;
};

using test::Rows;

class CliTest : public ::testing::Test {
  protected:
    CliTest() {
        fs::copy_file(ZV_CLI_PROGRAM, program);
        test::WriteBytes(folder.Settings(),
                         "[MSizeSet]\n0=Small#1000\n1=Tiny#700\n"
                         "[DEFAULT_SET_RUN]\nMediaSize=Small\nDiffSize=0\nMediaNum=32766\n"
                         "MaxFile=32766\nMinFile=0\nMaxSpeed=0\n");
    }

    Result Cli(const std::string& args, const std::string& input = "") {
        test::WriteBytes(folder.File("in"), input);
        const std::string command =
            "cd " + folder.Path() + " && " + runner + "./zarvopack-cli " + args + " <in >out 2>err";
        const int status = std::system(command.c_str());
        return {WEXITSTATUS(status), test::ReadBytes(folder.File("out")),
                test::ReadBytes(folder.File("err"))};
    }

    std::string MakeFile(const std::string& name, size_t size) {
        const std::string path = folder.File(name);
        fs::create_directories(fs::path(path).parent_path());
        test::WriteBytes(path, std::string(size, 'x'));
        return path;
    }

    // Runs the program as a user whom permissions stop: root reads everything.
    void WithoutPrivileges() {
        fs::permissions(folder.Path(), fs::perms::all, fs::perm_options::add);
        if (geteuid() == 0)
            runner = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    }

    test::TempFolder folder;
    std::string program = folder.File("zarvopack-cli");
    std::string runner;
};

TEST_F(CliTest, PlansListedSizesAsJson) {
    const Result r =
        Cli("plan --sizes - --media-size 700 --tolerance 0 --json", "400 a\n300 b\n300 c\n200 d\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("\"completed\": true, \"message\": null, \"media\": [{\"number\": 1, "
                         "\"total\": 600, \"search_steps\": "),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"items\": [{\"name\": \"a\", \"size\": 400, \"files\": [\"a\"]}, "
                         "{\"name\": \"d\", \"size\": 200, \"files\": [\"d\"]}]}, {\"number\": 2"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("{\"name\": \"b\", \"size\": 300, \"files\": [\"b\"]}, {\"name\": \"c\""),
              std::string::npos);
    EXPECT_NE(r.out.find("\"unplaced\": []}\n"), std::string::npos);
    EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << "one JSON object on one line";
}

TEST_F(CliTest, MessagesOfTheRunAreReported) {
    const Result r = Cli("plan --sizes - --media-size 700 --json", "800 a\n900 b\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("ﾒﾃﾞｨｱを１つも生成できませんでした"), std::string::npos) << r.err;
    EXPECT_NE(
        r.out.find("\"message\": {\"id\": 40025, \"text\": \"ﾒﾃﾞｨｱを１つも生成できませんでした"
                   "\\r\\n全てのﾌｧｲﾙがﾒﾃﾞｨｱ容量を超えている可能性が有ります\"}"),
        std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"media\": [], \"unplaced\": [{\"name\": \"a\", \"size\": 800"),
              std::string::npos);
}

TEST_F(CliTest, DefaultsAndPresetsComeFromTheSettingsFile) {
    // MediaSize "Small" is a preset of 1000 bytes in this folder's settings,
    // "Tiny" one of 700.
    Result r = Cli("plan --sizes - --json", "500 a\n300 b\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"media\": [{\"number\": 1, \"total\": 800"), std::string::npos) << r.out;

    r = Cli("plan --sizes - --media-size Tiny --json", "500 a\n300 b\n");
    EXPECT_NE(r.out.find("{\"number\": 2, \"total\": 500"), std::string::npos) << r.out;
}

// The method comes from the settings file unless --method names one.
TEST_F(CliTest, MethodChoosesHowTheMediaAreFilled) {
    // Taking the first combination within the tolerance, one medium after the
    // other, needs a fourth medium here.
    const std::string sizes = "8 a\n5 b\n5 c\n6 d\n3 e\n1 f\n";
    auto media = [&](const std::string& args) {
        const Result r = Cli("plan --sizes - --media-size 10 --tolerance 1 " + args, sizes);
        EXPECT_EQ(r.status, 0) << r.err;
        int count = 0;
        for (size_t at = r.out.find("\"number\": "); at != std::string::npos;
             at = r.out.find("\"number\": ", at + 1))
            ++count;
        return count;
    };
    EXPECT_EQ(media("--json"), 4);
    EXPECT_EQ(media("--json --method fewest"), 3);
    test::WriteBytes(folder.Settings(), test::ReadBytes(folder.Settings()) + "Method=1\n");
    EXPECT_EQ(media("--json"), 3);
    EXPECT_EQ(media("--json --method sequential"), 4);
}

// The settings file counts only for what the command line leaves to it, and
// one that cannot be read is not taken for one without settings.
TEST_F(CliTest, SettingsThatCannotBeUsedFailOnlyWhereTheyAreNeeded) {
    std::string settings = test::ReadBytes(folder.Settings());
    settings.replace(settings.find("MediaNum=32766"), 14, "MediaNum=many");
    test::WriteBytes(folder.Settings(), settings);
    Result r = Cli("plan --sizes - --json", "500 a\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "zarvopack-cli: the settings file '" + folder.Settings() +
                  "' holds a value that does not convert: [DEFAULT_SET_RUN] MediaNum=many\n");
    r = Cli("plan --sizes - --media-count 5 --json", "500 a\n");
    EXPECT_EQ(r.status, 0) << r.err;

    fs::permissions(folder.Settings(), fs::perms::none);
    WithoutPrivileges();
    r = Cli("plan --sizes - --media-count 5", "500 a\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zarvopack-cli: cannot read the settings file '" + folder.Settings() +
                         "' (Permission denied) for [DEFAULT_SET_RUN] MediaSize\n");
    r =
        Cli("plan --sizes - --media-size 700 --media-count 5 --max-items 9 --min-items 0 "
            "--no-fast --method sequential --medium-time-limit 0 --fs-allowance none",
            "500 a\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
}

TEST_F(CliTest, UsageErrorsExitWithTwoAndOneLine) {
    for (const std::string args :
         {"frobnicate", "plan", "plan --media-size Huge x", "plan --media-count 0 x",
          "plan --tolerance 1000 --media-size 1000 x", "plan --min-items 5 --max-items 5 x",
          "plan --max-items 40000 x", "show", "run a.mtb b.mtb", "show --fast p.mtb",
          "plan missing-file", "plan --sizes -", "plan --method best x", "show --verbose=no p.mtb",
          "plan --sizes .", "export p.mtb", "export --format zip p.mtb", "export --to p.mtb",
          "show --format links p.mtb"}) {
        const Result r = Cli(args, "12 a\nnot-a-number b\n");
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
        EXPECT_EQ(r.err.rfind("zarvopack-cli: ", 0), 0u) << args;
    }
    EXPECT_NE(Cli("plan --sizes -", "12 a\nnot-a-number b\n").err.find("standard input:2:"),
              std::string::npos);
    EXPECT_NE(Cli("plan --sizes .").err.find("'.' is a folder"), std::string::npos);
    EXPECT_EQ(Cli("--version").out, "zarvopack-cli " ZV_VERSION "\n");
    EXPECT_NE(Cli("--help").out.find("zarvopack-cli export --format"), std::string::npos);
}

// A saved plan keeps the tables the desktop program reads, opens with show
// and exports its media.
TEST_F(CliTest, ASavedPlanKeepsItsTablesAndExportsItsMedia) {
    MakeFile("data/one.bin", 600);
    MakeFile("data/two.bin", 300);
    MakeFile("data/sub/three.bin", 350);
    MakeFile("data/sub/four.bin", 100);
    ASSERT_EQ(Cli("plan --media-size 1000 --save p.mtb data").status, 0);
    const std::string project = folder.File("p.mtb");

    // Items in path order: data/one.bin, data/sub/four.bin, data/sub/three.bin, data/two.bin.
    const std::pair<const char*, std::vector<std::string>> tables[] = {
        {"SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name",
         {"DISC_1_ID", "DISC_1_SIZE", "DISC_2_ID", "DISC_2_SIZE", "GP", "MainDB", "SetUp"}},
        {"SELECT [GROUP], SIZE, RATE, PRIORITY, CDNUMBER, PATH = GROUPNAME FROM MainDB",
         {"0|600.0|0|0|1|1", "1|100.0|0|0|1|1", "2|350.0|0|0|2|1", "3|300.0|0|0|1|1"}},
        {"SELECT * FROM SetUp", {"1000|1.0|32766|32766|0|0||0|0"}},
        {"SELECT GID, SIZE FROM DISC_1_ID", {"0|600.0", "3|300.0", "1|100.0"}},
        {"SELECT SIZE FROM DISC_1_SIZE", {"1000.0"}},
        {"SELECT GID FROM DISC_2_ID", {"2"}},
        {"SELECT * FROM GP", {}},
    };
    for (const auto& [sql, rows] : tables)
        EXPECT_EQ(Rows(project, sql), rows) << sql;
    EXPECT_FALSE(fs::exists(project + ".TMP"));

    const Result shown = Cli("show --verbose p.mtb");
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_NE(shown.out.find("     1      3               1,000                   0  100.0%"),
              std::string::npos)
        << shown.out;
    EXPECT_NE(shown.out.find(folder.File("data/sub/three.bin")), std::string::npos);

    Result r = Cli("export --format links --to media p.mtb");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "media/p_01\nmedia/p_02\n");
    EXPECT_TRUE(
        fs::equivalent(folder.File("media/p_02/sub/three.bin"), folder.File("data/sub/three.bin")));
    EXPECT_TRUE(fs::exists(folder.File("media/p_01/SHA256SUMS")));

    // The catalog goes beside the project, and only --force writes it again.
    const std::string csv =
        "medium,path,size\r\n1,one.bin,600\r\n1,sub/four.bin,100\r\n2,sub/three.bin,350\r\n"
        "1,two.bin,300\r\n";
    for (const auto& [args, status] :
         {std::pair{"", 0}, std::pair{"", 1}, std::pair{" --force", 0}}) {
        r = Cli(std::string("export --format catalog") + args + " p.mtb");
        EXPECT_EQ(r.status, status) << args << r.err;
        if (status == 1) {
            EXPECT_NE(r.err.find("p_catalog.csv': exists already\n"), std::string::npos) << r.err;
        }
        EXPECT_EQ(test::ReadBytes(folder.File("p_catalog.csv")), csv);
    }
    EXPECT_EQ(r.err, "");

    fs::remove(folder.File("data/two.bin"));
    r = Cli("export --format lists p.mtb");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "zarvopack-cli: '" + folder.File("data/two.bin") + "': the file does not exist\n");
    EXPECT_FALSE(fs::exists(folder.File("p_01.pathlist")));
}

// A file or folder that is there but cannot be read fails the plan naming it:
// a runtime failure, not a wrong command line, and no file is left out.
TEST_F(CliTest, UnreadablePathsFailNamingThem) {
    MakeFile("tree/open/a", 10);
    MakeFile("tree/shut/b", 10);
    MakeFile("blind/c", 10);
    MakeFile("secret", 10);
    fs::permissions(folder.File("tree/shut"), fs::perms::none);
    fs::permissions(folder.File("blind"),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(folder.File("secret"), fs::perms::none);
    WithoutPrivileges();
    for (const auto& [args, named] :
         std::vector<std::pair<std::string, std::string>>{{"plan tree", "tree/shut"},
                                                          {"plan tree/shut", "tree/shut"},
                                                          {"plan tree/shut/b", "tree/shut/b"},
                                                          {"plan blind", "blind/c"},
                                                          {"plan blind/c", "blind/c"},
                                                          {"plan --sizes secret", "secret"}}) {
        const Result r = Cli(args);
        EXPECT_EQ(r.status, 1) << args;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
        EXPECT_NE(r.err.find(named + "'"), std::string::npos) << args << ": " << r.err;
    }
    fs::permissions(folder.File("tree/shut"), fs::perms::owner_all);
    fs::permissions(folder.File("blind"), fs::perms::owner_all);
}

// The table is for people: a name cannot redraw the terminal or pass for two
// lines. JSON escapes on its own terms.
TEST_F(CliTest, TableShowsControlCharactersOfNamesEscaped) {
    MakeFile("data/two\nlines", 10);
    MakeFile("data/clear\x1b[2J", 10);
    const Result r = Cli("plan --verbose data");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("/data/two\\nlines\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("/data/clear\\x1b[2J\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find('\x1b'), std::string::npos);
    EXPECT_NE(Cli("plan --json data").out.find("/data/two\\nlines\""), std::string::npos);
}

TEST_F(CliTest, GroupFoldersKeepsEachFolderTogether) {
    MakeFile("a/x", 300);
    MakeFile("a/y", 300);
    MakeFile("b/z", 500);
    const Result r = Cli("plan --group-folders --media-size 1000 --json a b");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("{\"name\": \"a\", \"size\": 600, \"files\": [\"" + folder.File("a/x") +
                         "\", \"" + folder.File("a/y") + "\"]}"),
              std::string::npos)
        << r.out;
}

// Items of a size list keep the sizes the list gave, whatever file of their
// name the current folder holds; files named by their full path are measured
// again.
TEST_F(CliTest, RunMeasuresOnlyFilesNamedByTheirPath) {
    const std::string file = MakeFile("data/x", 300);
    ASSERT_EQ(Cli("plan --sizes - --save p.mtb data", "5 listed\n").status, 0);
    MakeFile("listed", 900);
    MakeFile("data/x", 600);
    const Result r = Cli("run --json p.mtb");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("{\"name\": \"listed\", \"size\": 5,"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("{\"name\": \"" + file + "\", \"size\": 600,"), std::string::npos)
        << r.out;
}

// A save replaces only a project unless --force is given, never what is no
// regular file, and writes through a symbolic link to its target.
TEST_F(CliTest, SaveReplacesOnlyProjects) {
    test::WriteBytes(folder.File("list"), "400 a\n300 b\n");
    test::WriteBytes(folder.File("notes.txt"), "notes\n");
    ASSERT_EQ(mkfifo(folder.File("fifo").c_str(), 0600), 0);
    ASSERT_EQ(Cli("plan --sizes list --save p.mtb").status, 0);
    fs::create_symlink("p.mtb", folder.File("link.mtb"));
    // Reading the FIFO would wait for a writer; it must stay a FIFO.
    for (const std::string name : {"notes.txt", "list", "fifo"}) {
        const std::string before = name == "fifo" ? "" : test::ReadBytes(folder.File(name));
        for (const std::string force : {"", " --force"}) {
            if (name == "list" && !force.empty())
                continue;
            const Result r = Cli("plan --sizes list --save " + name + force);
            EXPECT_EQ(r.status, name == "fifo" || force.empty() ? 1 : 0) << name << force;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), r.status) << r.err;
        }
        if (name == "notes.txt") {
            EXPECT_EQ(Rows(folder.File(name), "SELECT GROUPNAME FROM MainDB").size(), 2u);
        } else if (name == "list") {
            EXPECT_EQ(test::ReadBytes(folder.File(name)), before);
        }
    }
    EXPECT_TRUE(fs::is_fifo(folder.File("fifo")));

    ASSERT_EQ(Cli("plan --sizes - --save link.mtb", "100 c\n").status, 0);
    EXPECT_TRUE(fs::is_symlink(folder.File("link.mtb")));
    EXPECT_EQ(Rows(folder.File("p.mtb"), "SELECT GROUPNAME FROM MainDB"),
              (std::vector<std::string>{"c"}));
    ASSERT_EQ(Cli("run link.mtb").status, 0);
    EXPECT_TRUE(fs::is_symlink(folder.File("link.mtb")));
    EXPECT_EQ(Rows(folder.File("p.mtb"), "SELECT CDNUMBER FROM MainDB"),
              (std::vector<std::string>{"1"}));
}

// A run that fails says why on standard error and exits with 1 in every
// output mode.
TEST_F(CliTest, FailedRunsSayWhy) {
    ASSERT_EQ(Cli("plan --sizes - --save p.mtb", "400 a\n").status, 0);
    const std::string before = test::ReadBytes(folder.File("p.mtb"));
    // Nothing can be built where the run's project would first go.
    fs::create_directories(folder.File("p.mtb.saving/inside"));
    for (const std::string mode : {"--json", "--verbose"}) {
        const Result r = Cli("run " + mode + " p.mtb");
        EXPECT_EQ(r.status, 1) << mode;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << mode << ": " << r.err;
        EXPECT_NE(r.err.find("ﾃﾞｰﾀの更新処理に失敗しました"), std::string::npos) << r.err;
    }
    EXPECT_NE(Cli("run --json p.mtb").out.find("\"completed\": false"), std::string::npos);
    EXPECT_EQ(test::ReadBytes(folder.File("p.mtb")), before);
}

// A run stores its media numbers and settings in the project. A run cut off
// at any moment leaves files beside the project (earlier versions even left
// the project moved aside); the next run clears them away.
TEST_F(CliTest, ARunClearsAwayWhatAnInterruptedRunLeft) {
    const std::string project = folder.File("p.mtb");
    const std::string sizes = "400 a\n300 b\n300 c\n200 d\n";
    for (const bool movedAside : {false, true}) {
        ASSERT_EQ(Cli("plan --sizes - --media-size 700 --media-count 1 --save p.mtb", sizes).status,
                  0);
        EXPECT_EQ(Rows(project, "SELECT GROUPNAME, CDNUMBER FROM MainDB"),
                  (std::vector<std::string>{"a|1", "b|0", "c|0", "d|1"}));
        for (const std::string left :
             {".TMP", ".TMP.TMP", ".saving", ".saving-journal", ".saving.TMP", ".saving.lock"})
            test::WriteBytes(project + left, "left over");
        if (movedAside)
            fs::rename(project, project + ".TMP.TMP");
        const Result r = Cli("run --media-count 2 p.mtb");
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(Rows(project, "SELECT GROUPNAME, CDNUMBER FROM MainDB"),
                  (std::vector<std::string>{"a|1", "b|2", "c|2", "d|1"}));
        for (const std::string left : {".TMP", ".TMP.TMP", ".saving", ".saving-journal",
                                       ".saving.TMP", ".saving.lock", ".lock"})
            EXPECT_FALSE(fs::exists(project + left)) << left;
        EXPECT_EQ(Rows(project, "SELECT MEDIASIZE, MEDIANUM FROM SetUp"),
                  (std::vector<std::string>{"700|2"}));
    }
}

// A project whose write permission is taken away, or that another run or save
// holds (another command, or the desktop program), is neither saved over nor
// run; any other keeps its permissions.
TEST_F(CliTest, ReadOnlyProjectsAndProjectsInUseAreLeftAsTheyAre) {
    const std::string project = folder.File("p.mtb");
    for (const std::string obstacle : {"", "read-only", "in use"}) {
        fs::remove(project);
        ASSERT_EQ(Cli("plan --sizes - --media-size 700 --save p.mtb", "400 a\n").status, 0);
        const mode_t mode = obstacle == "read-only" ? 0444 : 0640;
        ASSERT_EQ(chmod(project.c_str(), mode), 0);
        const std::string before = test::ReadBytes(project);
        FileLock otherRun(project);
        if (obstacle == "in use") {
            ASSERT_TRUE(otherRun.Take().ok());
        }
        for (const std::string command : {"plan --sizes - --save p.mtb", "run p.mtb"}) {
            const Result r = Cli(command, "300 b\n");
            EXPECT_EQ(r.status, obstacle.empty() ? 0 : 1) << obstacle << ": " << command << r.err;
            if (!obstacle.empty()) {
                EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
                EXPECT_NE(r.err.find(obstacle), std::string::npos) << r.err;
                EXPECT_EQ(test::ReadBytes(project), before) << command;
            }
            struct stat status {};
            stat(project.c_str(), &status);
            EXPECT_EQ(status.st_mode & 07777, mode) << command;
        }
    }
    EXPECT_EQ(Cli("run p.mtb").status, 0) << "the lock went with its holder";
}

TEST_F(CliTest, FilesThatAreNoProjectFailAndStayUntouched) {
    ASSERT_EQ(Cli("plan --sizes - --media-size 700 --save p.mtb", "400 a\n300 b\n").status, 0);
    const std::string good = test::ReadBytes(folder.File("p.mtb"));

    test::WriteBytes(folder.File("text.mtb"), "just some text\n");
    test::WriteBytes(folder.File("truncated.mtb"), good.substr(0, good.size() / 2));
    ASSERT_EQ(test::Exec(folder.File("other.mtb"), "CREATE TABLE Other (X INTEGER)"), SQLITE_OK);
    // A view in the place of the items' table could run a query of its own for ever.
    ASSERT_EQ(
        test::Exec(folder.File("view.mtb"),
                   "CREATE VIEW MainDB AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT "
                   "i + 1 FROM n) SELECT i AS PATH, i AS SIZE, 0 AS [GROUP], '' AS GROUPNAME, "
                   "0 AS RATE, 0 AS PRIORITY, 0 AS CDNUMBER FROM n ORDER BY 1"),
        SQLITE_OK);
    for (const auto& [name, change] :
         {std::pair{"gap.mtb", "UPDATE MainDB SET [GROUP] = 2 WHERE [GROUP] = 1"},
          std::pair{"negative.mtb", "UPDATE MainDB SET CDNUMBER = -1"}}) {
        fs::copy_file(folder.File("p.mtb"), folder.File(name));
        ASSERT_EQ(test::Exec(folder.File(name), change), SQLITE_OK);
    }
    for (const std::string name : {"text.mtb", "truncated.mtb", "other.mtb", "view.mtb", "gap.mtb",
                                   "negative.mtb", "none.mtb"}) {
        const std::string before = test::ReadBytes(folder.File(name));
        for (const std::string command : {"show ", "run "}) {
            const Result r = Cli(command + name);
            EXPECT_EQ(r.status, 1) << command << name;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << command << name << r.err;
            EXPECT_NE(r.err.find(name), std::string::npos) << r.err;
            EXPECT_EQ(test::ReadBytes(folder.File(name)), before) << command << name;
        }
    }
}

// A plan made with the file system's allowance gives images that fit; one
// made without it may not, and its image is refused with its real size.
TEST_F(CliTest, IsoImagesFitWhenThePlanLeftRoomForTheFileSystem) {
    for (int i = 0; i < 6; ++i)
        MakeFile("data/sub/file" + std::to_string(i) + ".bin", 300'000);
    for (const auto& [allowance, status] : {std::pair{"iso9660", 0}, std::pair{"none", 1}}) {
        ASSERT_EQ(Cli(std::string("plan --media-size 1000000 --fs-allowance ") + allowance +
                      " --force --save p.mtb data")
                      .status,
                  0)
            << allowance;
        fs::remove_all(folder.File("media"));
        const Result r = Cli("export --format iso --to media p.mtb");
        EXPECT_EQ(r.status, status) << allowance << r.err;
        for (const auto& entry : fs::directory_iterator(folder.File("media"))) {
            EXPECT_EQ(status, 0) << entry.path() << " left by a failed export";
            if (entry.path().extension() == ".iso") {
                EXPECT_LE(fs::file_size(entry.path()), 1'000'000u) << entry.path();
            }
        }
        if (status != 0) {
            EXPECT_NE(r.err.find("more than the medium's capacity of 1000000 bytes"),
                      std::string::npos)
                << r.err;
        }
    }
    EXPECT_EQ(Cli("plan --fs-allowance some data").status, 2);
}

// The settings' after-run action follows a plan that is kept; what it wrote
// before is replaced only with --force.
TEST_F(CliTest, TheAfterRunActionFollowsAKeptPlan) {
    MakeFile("data/one.bin", 600);
    MakeFile("data/two.bin", 300);
    test::WriteBytes(folder.Settings(), test::ReadBytes(folder.Settings()) +
                                            "AfterRun=1\nAfterPath=" + folder.File("media") + "\n");
    Result r = Cli("plan --media-size 1000 --json data");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(fs::exists(folder.File("media"))) << "a plan not kept has no action";

    for (const auto& [args, status] :
         {std::pair{"", 0}, std::pair{"", 1}, std::pair{" --force", 0}}) {
        r = Cli(std::string("plan --media-size 1000 --save p.mtb") + args + " data");
        EXPECT_EQ(r.status, status) << args << r.err;
        EXPECT_TRUE(fs::exists(folder.File("media/p_01/SHA256SUMS")));
    }
    EXPECT_NE(r.err.find("wrote " + folder.File("media/p_01")), std::string::npos) << r.err;
    r = Cli("run p.mtb");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("p_01': exists already (--force replaces it)"), std::string::npos)
        << r.err;
}

}  // namespace
}  // namespace zv
