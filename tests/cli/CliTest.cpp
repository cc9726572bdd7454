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
          "\"unplaced\": [], \"skipped\": [], \"totals\": {\"items\": 4, "})
        EXPECT_NE(r.out.find(part), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << "one JSON object on one line";

    r = Cli("plan --sizes - --media-size 700 --json", "800 a\n900 b\n");
    EXPECT_EQ(r.status, 3);
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
                                   "plan --max-items 1000000 x",
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
                                   "plan --fs-allowance some x",
                                   "show --allow-unplaced p.mtb"}) {
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

// A saved plan keeps its media in the project, opens with show
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
         {"Integrity", "MainDB", "Media", "Plan", "SetUp"}},
        {"SELECT MEDIUM, ITEM FROM Plan ORDER BY ITEM", {"1|0", "1|1", "2|2", "1|3"}},
        {"SELECT [GROUP], SIZE, RATE, PRIORITY, CDNUMBER, PATH = GROUPNAME FROM MainDB",
         {"0|600.0|0|0|1|1", "1|100.0|0|0|1|1", "2|350.0|0|0|2|1", "3|300.0|0|0|1|1"}},
        {"SELECT * FROM SetUp", {"1000|1.0|32766|32766|0|0||0|0"}}};
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
                  "medium,path,kind,size,sha256,link_target\n"
                  "1,one.bin,file,600,"
                  "5130b33e6b87fbf5316ed9049e98924eb110800bcbaaad8050f642fba6df37c9,\n"
                  "1,sub/four.bin,file,100,"
                  "09ecb6ebc8bcefc733f6f2ec44f791abeed6a99edf0cc31519637898aebd52d8,\n"
                  "2,sub/three.bin,file,350,"
                  "77f3755240a62fffc0e518bb29e0b6a83d8493523c7a30f8ccc063917b9a8026,\n"
                  "1,two.bin,file,300,"
                  "0d4e2ca9e9cbced7a7a5380eb29e1a3783b9b6d0db72de36a1051038e1c1fbc7,\n");
    }
    EXPECT_EQ(r.err, "");

    fs::remove(folder.File("data/two.bin"));
    r = Cli("export --format lists p.mtb");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "zarvopack-cli: '" + folder.File("data/two.bin") + "': the file does not exist\n");
    EXPECT_FALSE(fs::exists(folder.File("p_01.quoted_path_list")));
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
              3);
    EXPECT_EQ(Rows(project, "SELECT GROUPNAME, CDNUMBER FROM MainDB"),
              (Texts{"a|1", "b|0", "c|0", "d|1"}));
    for (const std::string left : {".TMP", ".saving"})
        fs::copy_file(project, project + left);
    test::WriteBytes(project + ".saving-journal", "left over");
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

// What a plan leaves on no medium is named with the reason, and plan, run and
// export exit with 3 unless the user says it is expected.
TEST_F(CliTest, UnplacedItemsAreNamedWithTheirReasonAndExitWithThree) {
    const struct {
        std::string args, sizes, said;
    } cases[] = {
        {"--media-size 300 --fs-allowance none", "500 a\n100 b\n100 c\n",
         "zarvopack-cli: not placed 'a': larger than a medium (500 bytes, a medium holds 300 "
         "bytes)\nzarvopack-cli: 1 item of 500 bytes on no medium\n"},
        {"--media-size 700 --tolerance 0 --media-count 1 --fs-allowance none",
         "400 a\n300 b\n300 c\n200 d\n",
         "not placed 'b': the media count of 1 is reached (--media-count)\n"},
        {"--media-size 1000 --min-items 1 --fs-allowance none", "400 a\n",
         "not placed 'a': the items of a medium are limited to more than 1 (--min-items)"},
        {"--media-size 700 --fs-allowance iso9660", "400 a\n",
         "not placed 'a': a medium of 700 bytes is too small for its ISO 9660 file system alone "
         "(--fs-allowance none leaves no room for one)\n"},
    };
    for (const auto& c : cases) {
        for (const auto& [allow, status] : {std::pair{"", 3}, {" --allow-unplaced", 0}}) {
            const Result r = Cli("plan --sizes - " + c.args + allow, c.sizes);
            EXPECT_EQ(r.status, status) << c.args << allow;
            EXPECT_TRUE(r.Says(c.said)) << c.args << ": " << r.err;
        }
    }

    for (const auto& [name, size] : {std::pair{"a", 400}, {"b", 300}, {"c", 300}, {"d", 200}})
        MakeFile(std::string("data/") + name, size);
    ASSERT_EQ(Cli("plan --media-size 700 --tolerance 0 --fs-allowance none --media-count 1 "
                  "--save p.mtb data")
                  .status,
              3);
    EXPECT_EQ(Cli("run --media-count 2 p.mtb").status, 0);
    ASSERT_EQ(Cli("run --media-count 1 p.mtb").status, 3);
    for (const auto& [args, status] : {std::pair{"", 3}, {" --force --allow-unplaced", 0}}) {
        const Result r = Cli(std::string("export --format catalog") + args + " p.mtb");
        EXPECT_EQ(r.status, status) << args << r.err;
        EXPECT_TRUE(r.Says("/data/c': the media count of 1 is reached")) << r.err;
        EXPECT_TRUE(fs::exists(folder.File("p_catalog.csv")));
    }
}

TEST_F(CliTest, JsonGivesEachMediumsFillAndThePlansTotals) {
    const Result r =
        Cli("plan --sizes - --media-size 1000 --tolerance 0 --fs-allowance none --json",
            "600 a\n300 b\n500 c\n2000 d\n");
    EXPECT_EQ(r.status, 3);
    for (const char* part :
         {"{\"number\": 1, \"total\": 900, \"search_steps\": ",
          "\"capacity\": 1000, \"free\": 100, \"fill\": 0.9, \"items\": [{\"name\": \"a\"",
          "{\"number\": 2, \"total\": 500, \"search_steps\": ",
          "\"capacity\": 1000, \"free\": 500, \"fill\": 0.5, \"items\": [{\"name\": \"c\"",
          "\"totals\": {\"items\": 4, \"bytes\": 3400, \"media\": 2, \"placed_bytes\": 1400, "
          "\"unplaced\": 1, \"unplaced_bytes\": 2000}}\n",
          "\"unplaced\": [{\"name\": \"d\", \"size\": "
          "2000, \"files\": [\"d\"], \"reason\": \"larger_than_medium\"}], \"skipped\": []"})
        EXPECT_TRUE(r.Says(part)) << part << "\n" << r.out;
}

// Every kind of entry of a tree is either an item that a disc recreates or
// named as skipped: nothing vanishes.
TEST_F(CliTest, LinksAndEmptyFoldersAreItemsAndWhatNoDiscHoldsIsNamed) {
    MakeFile("tree/one.bin", 100);
    MakeFile("tree/sub/two.bin", 200);
    fs::create_directories(folder.File("tree/empty"));
    fs::create_directories(folder.File("tree/pipes"));
    ASSERT_EQ(mkfifo(folder.File("tree/pipes/fifo").c_str(), 0600), 0);
    fs::create_symlink("one.bin", folder.File("tree/to-file"));
    fs::create_symlink("sub", folder.File("tree/to-folder"));
    fs::create_symlink("missing", folder.File("tree/nowhere"));
    fs::create_directory_symlink(folder.File("tree"), folder.File("link-to-tree"));

    for (const std::string named : {"tree", "link-to-tree"}) {
        const Result r = Cli("plan --media-size 100000 --fs-allowance none --json " + named);
        EXPECT_EQ(r.status, 3) << named;
        EXPECT_EQ(r.err, "zarvopack-cli: skipped '" + folder.File(named + "/pipes/fifo") +
                             "': it is a FIFO, which no disc holds\n");
        EXPECT_TRUE(r.Says("\"skipped\": [{\"path\": \"" + folder.File(named + "/pipes/fifo") +
                           "\", \"kind\": \"a FIFO\"}]"))
            << r.out;
        for (const auto& [entry, size] : {std::pair{"empty", 0},
                                          {"pipes", 0},
                                          {"to-file", 0},
                                          {"to-folder", 0},
                                          {"nowhere", 0},
                                          {"one.bin", 100},
                                          {"sub/two.bin", 200}}) {
            const std::string path = folder.File(named + "/" + entry);
            EXPECT_TRUE(r.Says("{\"name\": \"" + path + "\", \"size\": " + std::to_string(size)))
                << entry << "\n"
                << r.out;
        }
        EXPECT_FALSE(r.Says("to-folder/two.bin")) << "a link to a folder is not walked";
        EXPECT_TRUE(r.Says("\"totals\": {\"items\": 7, ")) << r.out;
    }
    // A run measures the files again, and a link still only as itself.
    ASSERT_EQ(Cli("plan --allow-unplaced --fs-allowance none --save p.mtb tree").status, 0);
    const Result r = Cli("run --json p.mtb");
    EXPECT_EQ(r.status, 0) << "the project holds no FIFO";
    EXPECT_TRUE(r.Says("{\"name\": \"" + folder.File("tree/to-file") + "\", \"size\": 0,"))
        << r.out;
    EXPECT_EQ(Cli("plan --allow-unplaced tree/pipes/fifo").status, 1) << "nothing to plan";
    EXPECT_EQ(Cli("plan --allow-unplaced --media-size 100000 --fs-allowance none tree").status, 0);
}

TEST_F(CliTest, CapacitiesTakeUnitsAndDiscsAndRefuseWhatNoMediumIs) {
    const struct {
        std::string size;
        int status;
        std::string err;
    } cases[] = {
        {"4.7G", 0, "zarvopack-cli: media size '4.7G': 4,700,000,000 bytes\n"},
        {"25GB", 0, "zarvopack-cli: media size '25GB': 25,000,000,000 bytes\n"},
        {"dvd", 0, "zarvopack-cli: media size 'dvd': 4,700,372,992 bytes\n"},
        {"dvd --quiet", 0, ""},
        {"Small", 0, ""},
        {"1000", 0, ""},
        {"99999999999999999999", 2,
         "zarvopack-cli: the media size '99999999999999999999' is more than any medium holds (at "
         "most 1P, 10^15 bytes) (see zarvopack-cli --help)\n"},
        {"2P", 2, "is more than any medium holds"},
        {"4.7X", 2,
         "is neither a number of bytes, a capacity such as 4.7G or dvd, nor a size "
         "preset (presets: 'Small', 'Tiny')"},
    };
    for (const auto& c : cases) {
        const Result r =
            Cli("plan --sizes - --fs-allowance none --media-size " + c.size, "100 a\n");
        EXPECT_EQ(r.status, c.status) << c.size << r.err;
        EXPECT_EQ(c.err.empty() ? r.err.empty() : r.Says(c.err), true) << c.size << ": " << r.err;
    }
}

TEST_F(CliTest, ABareCallShowsTheUsageAndExitsWithTwo) {
    const Result r = Cli("");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("usage: zarvopack-cli plan", 0), 0u) << r.err;
    EXPECT_TRUE(Cli("--help").Says("  3    done, but something is on no medium"));
}

// Progress goes to a terminal only, and --quiet keeps it away there too.
TEST_F(CliTest, ProgressShowsOnlyOnATerminal) {
    MakeFile("data/a", 10);
    for (const auto& [quiet, shown] : {std::pair{"", true}, {" --quiet", false}}) {
        const std::string command = "cd " + folder.Path() +
                                    " && script -qec './zarvopack-cli plan --fs-allowance none" +
                                    quiet + " data >/dev/null' /dev/null >terminal 2>&1 </dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << quiet;
        const std::string screen = test::ReadBytes(folder.File("terminal"));
        EXPECT_EQ(screen.find("looking at the files: 1 entries, 10 bytes") != std::string::npos,
                  shown)
            << quiet << ": " << screen;
        EXPECT_EQ(screen.find("medium 1: ") != std::string::npos, shown) << screen;
    }
    EXPECT_EQ(Cli("plan --fs-allowance none data").err, "") << "no terminal, no progress";
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

// A project whose contents do not match its checksum is refused, and loaded
// as it is only where --force asks for it.
TEST_F(CliTest, AProjectThatDoesNotMatchItsChecksumLoadsOnlyWithForce) {
    MakeFile("data/one.bin", 600);
    ASSERT_EQ(Cli("plan --media-size 1000 --save p.mtb data").status, 0);
    ASSERT_EQ(test::Exec(project, "UPDATE [Plan] SET [MEDIUM] = 2"), SQLITE_OK);
    Result r = Cli("show p.mtb");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.Says("'p.mtb': the file's contents do not match its checksum")) << r.err;
    r = Cli("export --format lists --to media --force p.mtb");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.Says("do not match its checksum; loaded as it is (--force)")) << r.err;
    EXPECT_EQ(r.out, "media/p_02.quoted_path_list\n");
}

}  // namespace
}  // namespace zv
