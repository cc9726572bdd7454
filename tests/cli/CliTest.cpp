// The command-line tool as a person or a script uses it: the real program,
// started in a folder of its own with its own settings file.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/platform/FileLock.h"
#include "tests/support/SqlRows.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;
using test::Rows;

struct Result {
    int status;
    std::string out;
    std::string err;
    // The lines written to standard error.
    long ErrLines() const { return std::count(err.begin(), err.end(), '\n'); }
    bool Says(const std::string& text) const { return (out + err).find(text) != std::string::npos; }
};

class CliTest : public ::testing::Test {
  protected:
    CliTest() {
        fs::copy_file(ZV_CLI_PROGRAM, folder.File("zarvopack-cli"));
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
    void AddSettings(const std::string& lines) {
        test::WriteBytes(folder.Settings(), test::ReadBytes(folder.Settings()) + lines);
    }
    // Runs the program as a user whom permissions stop: root reads everything.
    void WithoutPrivileges() {
        fs::permissions(folder.Path(), fs::perms::all, fs::perm_options::add);
        if (geteuid() == 0)
            runner = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    }

    test::TempFolder folder;
    std::string project = folder.File("p.mtb");
    std::string runner;
};

TEST_F(CliTest, PlansAsJsonAndReportsTheRunsMessages) {
    Result r =
        Cli("plan --sizes - --media-size 700 --tolerance 0 --json", "400 a\n300 b\n300 c\n200 d\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    for (const char* part :
         {"\"completed\": true, \"message\": null, \"media\": [{\"number\": 1, \"total\": 600, "
          "\"search_steps\": ",
          "\"items\": [{\"name\": \"a\", \"size\": 400, \"files\": [\"a\"]}, {\"name\": \"d\", "
          "\"size\": 200, \"files\": [\"d\"]}]}, {\"number\": 2",
          "{\"name\": \"b\", \"size\": 300, \"files\": [\"b\"]}, {\"name\": \"c\"",
          "\"unplaced\": []}\n"})
        EXPECT_NE(r.out.find(part), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << "one JSON object on one line";

    r = Cli("plan --sizes - --media-size 700 --json", "800 a\n900 b\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("ﾒﾃﾞｨｱを１つも生成できませんでした"), std::string::npos) << r.err;
    EXPECT_NE(
        r.out.find("\"message\": {\"id\": 40025, \"text\": \"ﾒﾃﾞｨｱを１つも生成できませんでした"
                   "\\r\\n全てのﾌｧｲﾙがﾒﾃﾞｨｱ容量を超えている可能性が有ります\"}, \"media\": [], "
                   "\"unplaced\": [{\"name\": \"a\", \"size\": 800"),
        std::string::npos)
        << r.out;
}

// The media size, its presets and the method come from the settings file
// unless the command line names them. Taking the first combination within the
// tolerance, one medium after the other, needs a fourth medium where the
// fewest-media method needs three.
TEST_F(CliTest, SettingsAndOptionsChooseSizeAndMethod) {
    const std::string six = "8 a\n5 b\n5 c\n6 d\n3 e\n1 f\n";
    const std::string ten = " --media-size 10 --tolerance 1";
    const struct {
        std::string args, sizes, settings;
        int media;
    } cases[] = {
        {"", "500 a\n300 b\n", "", 1},
        {" --media-size Tiny", "500 a\n300 b\n", "", 2},
        {ten, six, "", 4},
        {ten + " --method fewest", six, "", 3},
        {ten, six, "Method=1\n", 3},
        {ten + " --method sequential", six, "", 4},
    };
    for (const auto& c : cases) {
        AddSettings(c.settings);
        const Result r = Cli("plan --sizes - --json" + c.args, c.sizes);
        EXPECT_EQ(r.status, 0) << r.err;
        int media = 0;
        for (size_t at = r.out.find("\"number\": "); at != std::string::npos;
             at = r.out.find("\"number\": ", at + 1))
            ++media;
        EXPECT_EQ(media, c.media) << c.args << r.out;
    }
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
    EXPECT_EQ(Cli("plan --sizes - --media-count 5 --json", "500 a\n").status, 0);

    fs::permissions(folder.Settings(), fs::perms::none);
    WithoutPrivileges();
    r = Cli("plan --sizes - --media-count 5", "500 a\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zarvopack-cli: cannot read the settings file '" + folder.Settings() +
                         "' (Permission denied) for [DEFAULT_SET_RUN] MediaSize\n");
    r =
        Cli("plan --sizes - --media-size 700 --media-count 5 --max-items 9 --min-items 0 --no-fast "
            "--method sequential --medium-time-limit 0 --fs-allowance none",
            "500 a\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
}

TEST_F(CliTest, UsageErrorsExitWithTwoAndOneLine) {
    MakeFile("x", 1);
    for (const std::string args : {"frobnicate",
                                   "plan",
                                   "plan --media-size Huge x",
                                   "plan --media-count 0 x",
                                   "plan --tolerance 1000 --media-size 1000 x",
                                   "plan --min-items 5 --max-items 5 x",
                                   "plan --max-items 40000 x",
                                   "show",
                                   "run a.mtb b.mtb",
                                   "show --fast p.mtb",
                                   "plan missing-file",
                                   "plan --sizes -",
                                   "plan --method best x",
                                   "show --verbose=no p.mtb",
                                   "plan --sizes .",
                                   "export p.mtb",
                                   "export --format zip p.mtb",
                                   "export --to p.mtb",
                                   "show --format links p.mtb",
                                   "plan --fs-allowance some x"}) {
        const Result r = Cli(args, "12 a\nnot-a-number b\n");
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_EQ(r.ErrLines(), 1) << args << ": " << r.err;
        EXPECT_EQ(r.err.rfind("zarvopack-cli: ", 0), 0u) << args;
    }
    EXPECT_TRUE(Cli("plan --sizes -", "12 a\nnot-a-number b\n").Says("standard input:2:"));
    EXPECT_TRUE(Cli("plan --sizes .").Says("'.' is a folder"));
    // Lines and names are bounded by the file system's limits, so a list costs
    // bounded memory whatever its lines.
    EXPECT_TRUE(Cli("plan --sizes -", "1 a\n1 " + std::string(5000, 'n') + "\n")
                    .Says("standard input:2: the line is longer than 4352 bytes"));
    const Result longName = Cli("plan --sizes -", "1 d/" + std::string(256, 'n') + "/e\n");
    EXPECT_EQ(longName.status, 2);
    EXPECT_TRUE(longName.Says("standard input:1: a name is longer than the file system's 4096"))
        << longName.err;
    EXPECT_EQ(Cli("plan --sizes -", "1 d/" + std::string(255, 'n') + "\n").status, 0);
    EXPECT_EQ(Cli("--version").out, "zarvopack-cli " ZV_VERSION "\n");
    EXPECT_TRUE(Cli("--help").Says("zarvopack-cli export --format"));
}

// A saved plan keeps the tables the desktop program reads, opens with show
// and exports its media; a file gone since fails the export naming it.
TEST_F(CliTest, ASavedPlanKeepsItsTablesAndExportsItsMedia) {
    MakeFile("data/one.bin", 600);
    MakeFile("data/two.bin", 300);
    MakeFile("data/sub/three.bin", 350);
    MakeFile("data/sub/four.bin", 100);
    ASSERT_EQ(Cli("plan --media-size 1000 --save p.mtb data").status, 0);
    // Items in path order: data/one.bin, data/sub/four.bin, data/sub/three.bin, data/two.bin.
    const std::pair<const char*, Texts> tables[] = {
        {"SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name",
         {"DISC_1_ID", "DISC_1_SIZE", "DISC_2_ID", "DISC_2_SIZE", "GP", "MainDB", "SetUp"}},
        {"SELECT [GROUP], SIZE, RATE, PRIORITY, CDNUMBER, PATH = GROUPNAME FROM MainDB",
         {"0|600.0|0|0|1|1", "1|100.0|0|0|1|1", "2|350.0|0|0|2|1", "3|300.0|0|0|1|1"}},
        {"SELECT * FROM SetUp", {"1000|1.0|32766|32766|0|0||0|0"}},
        {"SELECT GID, SIZE FROM DISC_1_ID", {"0|600.0", "3|300.0", "1|100.0"}},
        {"SELECT SIZE FROM DISC_1_SIZE", {"1000.0"}},
        {"SELECT GID FROM DISC_2_ID", {"2"}},
        {"SELECT * FROM GP", {}}};
    for (const auto& [sql, rows] : tables)
        EXPECT_EQ(Rows(project, sql), rows) << sql;
    EXPECT_FALSE(fs::exists(project + ".TMP"));

    Result r = Cli("show --verbose p.mtb");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.Says("     1      3               1,000                   0  100.0%")) << r.out;
    EXPECT_TRUE(r.Says(folder.File("data/sub/three.bin")));

    r = Cli("export --format links --to media p.mtb");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "media/p_01\nmedia/p_02\n");
    EXPECT_TRUE(
        fs::equivalent(folder.File("media/p_02/sub/three.bin"), folder.File("data/sub/three.bin")));
    EXPECT_TRUE(fs::exists(folder.File("media/p_01/SHA256SUMS")));

    // The catalog goes beside the project, and only --force writes it again.
    for (const auto& [args, status] : {std::pair{"", 0}, {"", 1}, {" --force", 0}}) {
        r = Cli(std::string("export --format catalog") + args + " p.mtb");
        EXPECT_EQ(r.status, status) << args << r.err;
        EXPECT_EQ(r.Says("p_catalog.csv': exists already\n"), status == 1) << r.err;
        EXPECT_EQ(test::ReadBytes(folder.File("p_catalog.csv")),
                  "medium,path,size\r\n1,one.bin,600\r\n1,sub/four.bin,100\r\n"
                  "2,sub/three.bin,350\r\n1,two.bin,300\r\n");
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
         std::vector<std::pair<std::string, std::string>>{{"tree", "tree/shut"},
                                                          {"tree/shut", "tree/shut"},
                                                          {"tree/shut/b", "tree/shut/b"},
                                                          {"blind", "blind/c"},
                                                          {"blind/c", "blind/c"},
                                                          {"--sizes secret", "secret"}}) {
        const Result r = Cli("plan " + args);
        EXPECT_EQ(r.status, 1) << args;
        EXPECT_EQ(r.ErrLines(), 1) << args << ": " << r.err;
        EXPECT_TRUE(r.Says(named + "'")) << args << ": " << r.err;
    }
    fs::permissions(folder.File("tree/shut"), fs::perms::owner_all);
    fs::permissions(folder.File("blind"), fs::perms::owner_all);
}

// The table is for people: a name cannot redraw the terminal or pass for two
// lines. JSON escapes on its own terms, and lists the files of a group.
TEST_F(CliTest, NamesShowEscapedAndGroupsKeepTheirFiles) {
    MakeFile("data/two\nlines", 10);
    MakeFile("data/clear\x1b[2J", 10);
    Result r = Cli("plan --verbose data");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.Says("/data/two\\nlines\n")) << r.out;
    EXPECT_TRUE(r.Says("/data/clear\\x1b[2J\n")) << r.out;
    EXPECT_EQ(r.out.find('\x1b'), std::string::npos);
    EXPECT_TRUE(Cli("plan --json data").Says("/data/two\\nlines\""));

    MakeFile("a/x", 300);
    MakeFile("a/y", 300);
    MakeFile("b/z", 500);
    r = Cli("plan --group-folders --media-size 1000 --json a b");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.Says("{\"name\": \"a\", \"size\": 600, \"files\": [\"" + folder.File("a/x") +
                       "\", \"" + folder.File("a/y") + "\"]}"))
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
    EXPECT_TRUE(r.Says("{\"name\": \"listed\", \"size\": 5,")) << r.out;
    EXPECT_TRUE(r.Says("{\"name\": \"" + file + "\", \"size\": 600,")) << r.out;
}

// A save replaces only a project unless --force is given, never what is no
// regular file, and writes through a symbolic link to its target, as a run does.
TEST_F(CliTest, SaveReplacesOnlyProjects) {
    test::WriteBytes(folder.File("list"), "400 a\n300 b\n");
    test::WriteBytes(folder.File("notes.txt"), "notes\n");
    ASSERT_EQ(mkfifo(folder.File("fifo").c_str(), 0600), 0);
    ASSERT_EQ(Cli("plan --sizes list --save p.mtb").status, 0);
    fs::create_symlink("p.mtb", folder.File("link.mtb"));
    // Reading the FIFO would wait for a writer; it must stay a FIFO.
    for (const auto& [name, force, status] : {std::tuple{"notes.txt", "", 1},
                                              {"fifo", "", 1},
                                              {"fifo", " --force", 1},
                                              {"list", "", 1},
                                              {"notes.txt", " --force", 0}}) {
        const bool fifo = name == std::string("fifo");
        const std::string before = fifo ? "" : test::ReadBytes(folder.File(name));
        const Result r = Cli(std::string("plan --sizes list --save ") + name + force);
        EXPECT_EQ(r.status, status) << name << force;
        EXPECT_EQ(r.ErrLines(), status) << r.err;
        if (status && !fifo) {
            EXPECT_EQ(test::ReadBytes(folder.File(name)), before) << name << force;
        }
    }
    EXPECT_EQ(Rows(folder.File("notes.txt"), "SELECT GROUPNAME FROM MainDB").size(), 2u);
    EXPECT_TRUE(fs::is_fifo(folder.File("fifo")));

    ASSERT_EQ(Cli("plan --sizes - --save link.mtb", "100 c\n").status, 0);
    EXPECT_TRUE(fs::is_symlink(folder.File("link.mtb")));
    EXPECT_EQ(Rows(project, "SELECT GROUPNAME FROM MainDB"), Texts{"c"});
    ASSERT_EQ(Cli("run link.mtb").status, 0);
    EXPECT_TRUE(fs::is_symlink(folder.File("link.mtb")));
    EXPECT_EQ(Rows(project, "SELECT CDNUMBER FROM MainDB"), Texts{"1"});
}

// Values of the settings file that a run cannot use fail the command naming
// the file and the key, with 1 as for any failure (no usage error); so does a
// settings file too large to be one.
TEST_F(CliTest, SettingsARunCannotUseNameTheSettingsFile) {
    const std::string base = test::ReadBytes(folder.Settings());
    const std::string named = "come from the settings file '" + folder.Settings() + "'";
    const struct {
        const char* key;
        const char* value;
        std::string says;
    } cases[] = {
        {"MinFile", "32766",
         "the minimum items must be smaller than the maximum items; the values not given on "
         "the command line " +
             named},
        {"MediaSize", "Huge", "the media size 'Huge' is neither"},
        {"MediumTimeLimit", "nan", "[DEFAULT_SET_RUN] MediumTimeLimit=nan"},
    };
    for (const auto& c : cases) {
        std::string settings = base;
        const std::size_t at = settings.find(std::string(c.key) + "=");
        if (at == std::string::npos)
            settings += std::string(c.key) + "=" + c.value + "\n";
        else
            settings.replace(at, settings.find('\n', at) - at, std::string(c.key) + "=" + c.value);
        test::WriteBytes(folder.Settings(), settings);
        const Result r = Cli("plan --sizes -", "500 a\n");
        EXPECT_EQ(r.status, 1) << c.key;
        EXPECT_TRUE(r.Says(c.says)) << r.err;
        EXPECT_TRUE(r.Says(folder.Settings())) << r.err;
    }
    test::WriteBytes(folder.Settings(), base + "; " + std::string(2 << 20, 'x') + "\n");
    const Result r = Cli("plan --sizes -", "500 a\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.Says("(larger than the 1 MiB a settings file may be)")) << r.err;
}

// A run that fails says why, with the system's cause, on standard error and
// exits with 1 in every output mode.
TEST_F(CliTest, FailedRunsSayWhy) {
    ASSERT_EQ(Cli("plan --sizes - --save p.mtb", "400 a\n").status, 0);
    const std::string before = test::ReadBytes(project);
    // No file may grow beyond 1 KiB: the run's project cannot be built.
    runner = "trap '' XFSZ; ulimit -f 1; ";
    for (const std::string mode : {"--json", "--verbose"}) {
        const Result r = Cli("run " + mode + " p.mtb");
        EXPECT_EQ(r.status, 1) << mode;
        EXPECT_EQ(r.ErrLines(), 1) << mode << ": " << r.err;
        EXPECT_TRUE(r.Says("ﾃﾞｰﾀの更新処理に失敗しました")) << r.err;
        EXPECT_TRUE(
            r.Says("cannot write '" + project + ".saving': disk I/O error (File too large)"))
            << r.err;
        EXPECT_EQ(r.Says("\"completed\": false"), mode == "--json") << r.out;
    }
    EXPECT_EQ(test::ReadBytes(project), before);
}

// Commands read files beside a project but remove or restore only those that
// are the program's own, and never beside a file that is no project or from
// a command that only reads. What stands in the way of a run is named.
TEST_F(CliTest, CommandsLeaveFilesBesideAProjectThatTheyDidNotWrite) {
    const std::string notes = MakeFile("notes.txt", 10);
    const Texts sides{".TMP",     ".TMP.TMP", ".saving", ".saving.TMP", ".saving-journal",
                      "-journal", "-wal"};
    for (const std::string& side : sides)
        test::WriteBytes(notes + side, "mine");
    for (const std::string command : {"show notes.txt", "export --format lists notes.txt",
                                      "run notes.txt", "plan --sizes - --save notes.txt"}) {
        EXPECT_EQ(Cli(command, "1 a\n").status, 1) << command;
        for (const std::string& side : sides)
            EXPECT_EQ(test::ReadBytes(notes + side), "mine") << command << ": " << side;
    }

    fs::create_directories(folder.File("sub"));
    const std::string target = folder.File("sub/p.mtb");
    ASSERT_EQ(Cli("plan --sizes - --save sub/p.mtb", "400 a\n").status, 0);
    fs::create_symlink(target, folder.File("link.mtb"));
    for (const std::string side : {".TMP", ".TMP.TMP"})
        test::WriteBytes(target + side, "mine");
    EXPECT_EQ(Cli("run link.mtb").status, 0);
    for (const std::string side : {".TMP", ".TMP.TMP"})
        EXPECT_EQ(test::ReadBytes(target + side), "mine") << side;
    for (const std::string side : {".saving", ".saving.TMP"}) {
        test::WriteBytes(target + side, "mine");
        const Result r = Cli("run link.mtb");
        EXPECT_EQ(r.status, 1) << side;
        EXPECT_TRUE(r.Says(target + side + "' is in the way")) << r.err;
        EXPECT_EQ(test::ReadBytes(target + side), "mine") << side;
        fs::remove(target + side);
    }
}

// A run stores its media numbers and settings in the project, after clearing
// away what a run cut off left (databases of the program's, and their
// journals), the project moved aside included.
TEST_F(CliTest, ARunStoresItsResultsAfterClearingWhatAnInterruptedRunLeft) {
    ASSERT_EQ(Cli("plan --sizes - --media-size 700 --media-count 1 --save p.mtb",
                  "400 a\n300 b\n300 c\n200 d\n")
                  .status,
              0);
    EXPECT_EQ(Rows(project, "SELECT GROUPNAME, CDNUMBER FROM MainDB"),
              (Texts{"a|1", "b|0", "c|0", "d|1"}));
    for (const std::string left : {".TMP", ".saving"})
        fs::copy_file(project, project + left);
    for (const std::string left : {".saving-journal", ".saving.lock"})
        test::WriteBytes(project + left, "left over");
    fs::rename(project, project + ".TMP.TMP");
    const Result r = Cli("run --media-count 2 p.mtb");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Rows(project, "SELECT GROUPNAME, CDNUMBER FROM MainDB"),
              (Texts{"a|1", "b|2", "c|2", "d|1"}));
    EXPECT_EQ(Rows(project, "SELECT MEDIASIZE, MEDIANUM FROM SetUp"), Texts{"700|2"});
    for (const auto& entry : fs::directory_iterator(folder.Path()))
        EXPECT_EQ(entry.path().string().find(".mtb."), std::string::npos) << entry.path();
}

// A project whose write permission is taken away, or that another run or save
// holds (another command, or the desktop program), is neither saved over nor
// run; any other keeps its permissions.
TEST_F(CliTest, ReadOnlyProjectsAndProjectsInUseAreLeftAsTheyAre) {
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
                EXPECT_EQ(r.ErrLines(), 1) << r.err;
                EXPECT_TRUE(r.Says(obstacle)) << r.err;
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
    const std::string good = test::ReadBytes(project);
    test::WriteBytes(folder.File("text.mtb"), "just some text\n");
    test::WriteBytes(folder.File("truncated.mtb"), good.substr(0, good.size() / 2));
    // A view in the place of the items' table could run a query of its own for ever.
    const std::pair<const char*, std::string> made[] = {
        {"other.mtb", "CREATE TABLE Other (X INTEGER)"},
        {"view.mtb",
         "CREATE VIEW MainDB AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) "
         "SELECT i AS PATH, i AS SIZE, 0 AS [GROUP], '' AS GROUPNAME, 0 AS RATE, 0 AS PRIORITY, "
         "0 AS CDNUMBER FROM n ORDER BY 1"},
        {"gap.mtb", "UPDATE MainDB SET [GROUP] = 2 WHERE [GROUP] = 1"},
        {"negative.mtb", "UPDATE MainDB SET CDNUMBER = -1"}};
    for (const auto& [name, sql] : made) {
        if (sql.starts_with("UPDATE"))
            fs::copy_file(project, folder.File(name));
        ASSERT_EQ(test::Exec(folder.File(name), sql), SQLITE_OK) << name;
    }
    for (const std::string name : {"text.mtb", "truncated.mtb", "other.mtb", "view.mtb", "gap.mtb",
                                   "negative.mtb", "none.mtb"}) {
        const std::string before = test::ReadBytes(folder.File(name));
        for (const std::string command : {"show ", "run "}) {
            const Result r = Cli(command + name);
            EXPECT_EQ(r.status, 1) << command << name;
            EXPECT_EQ(r.ErrLines(), 1) << command << name << r.err;
            EXPECT_TRUE(r.Says(name)) << r.err;
            EXPECT_EQ(test::ReadBytes(folder.File(name)), before) << command << name;
        }
    }
}

// A plan made with the file system's allowance gives images that fit; one
// made without it may not, and its image is refused with its real size.
TEST_F(CliTest, IsoImagesFitWhenThePlanLeftRoomForTheFileSystem) {
    for (int i = 0; i < 6; ++i)
        MakeFile("data/sub/file" + std::to_string(i) + ".bin", 300'000);
    for (const auto& [allowance, status] : {std::pair{"iso9660", 0}, {"none", 1}}) {
        const std::string plan = std::string("plan --media-size 1000000 --fs-allowance ") +
                                 allowance + " --force --save p.mtb data";
        ASSERT_EQ(Cli(plan).status, 0) << plan;
        fs::remove_all(folder.File("media"));
        const Result r = Cli("export --format iso --to media p.mtb");
        EXPECT_EQ(r.status, status) << allowance << r.err;
        for (const auto& entry : fs::directory_iterator(folder.File("media"))) {
            EXPECT_EQ(status, 0) << entry.path() << " left by a failed export";
            if (entry.path().extension() == ".iso") {
                EXPECT_LE(fs::file_size(entry.path()), 1'000'000u) << entry.path();
            }
        }
        EXPECT_EQ(r.Says("more than the medium's capacity of 1000000 bytes"), status != 0) << r.err;
    }
}

// The settings' after-run action follows a plan that is kept; what it wrote
// before is replaced only with --force.
TEST_F(CliTest, TheAfterRunActionFollowsAKeptPlan) {
    MakeFile("data/one.bin", 600);
    MakeFile("data/two.bin", 300);
    AddSettings("AfterRun=1\nAfterPath=" + folder.File("media") + "\n");
    Result r = Cli("plan --media-size 1000 --json data");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(fs::exists(folder.File("media"))) << "a plan not kept has no action";
    for (const auto& [args, status] : {std::pair{"", 0}, {"", 1}, {" --force", 0}}) {
        r = Cli(std::string("plan --media-size 1000 --save p.mtb") + args + " data");
        EXPECT_EQ(r.status, status) << args << r.err;
        EXPECT_TRUE(fs::exists(folder.File("media/p_01/SHA256SUMS")));
    }
    EXPECT_TRUE(r.Says("wrote " + folder.File("media/p_01"))) << r.err;
    r = Cli("run p.mtb");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.Says("p_01': exists already (--force replaces it)")) << r.err;
}

// An after-run action stored in a project runs only once it was confirmed for
// that file: with --after-run, which is remembered, or by the plan that took
// it from this machine's settings. A changed action asks again, and names from
// a size list are no files to export.
TEST_F(CliTest, AStoredAfterRunActionRunsOnlyOnceConfirmed) {
    MakeFile("data/one.bin", 600);
    ASSERT_EQ(Cli("plan --media-size 1000 --save p.mtb data").status, 0);
    const std::string media = folder.File("media");
    ASSERT_EQ(test::Exec(project, "UPDATE SetUp SET AFTERFLG = 1, AFTERPATH = '" + media + "'"),
              SQLITE_OK);
    Result r = Cli("run p.mtb");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.Says("it was not carried out")) << r.err;
    EXPECT_FALSE(fs::exists(media));
    r = Cli("run --after-run p.mtb");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.Says("writing a folder of links per medium into '" + media + "'")) << r.err;
    EXPECT_TRUE(fs::exists(media + "/p_01/SHA256SUMS"));
    fs::remove_all(media);
    EXPECT_EQ(Cli("run p.mtb").status, 0);
    EXPECT_TRUE(fs::exists(media + "/p_01/SHA256SUMS"));
    ASSERT_EQ(test::Exec(project, "UPDATE SetUp SET AFTERPATH = '" + media + "2'"), SQLITE_OK);
    EXPECT_EQ(Cli("run p.mtb").status, 0);
    EXPECT_FALSE(fs::exists(media + "2"));

    // The confirmations went into a section of their own at the end.
    std::string settings = test::ReadBytes(folder.Settings());
    settings.insert(settings.find("[DEFAULT_SET_RUN]\n") + 18,
                    "AfterRun=1\nAfterPath=" + media + "3\n");
    test::WriteBytes(folder.Settings(), settings);
    MakeFile("a", 5);
    r = Cli("plan --sizes - --media-size 1000 --save s.mtb", "5 a\n");
    EXPECT_EQ(r.status, 1) << r.err << r.out;
    EXPECT_TRUE(r.Says("'a': is a name, not a file's full path")) << r.err;
    EXPECT_FALSE(fs::exists(media + "3"));
}

}  // namespace
}  // namespace zv
